#include "media/bmp_decoder.h"

#include <algorithm>
#include <bit>

namespace {

enum : std::uint32_t {
    BI_RGB = 0,
    BI_RLE8 = 1,
    BI_RLE4 = 2,
    BI_BITFIELDS = 3,
    BI_ALPHABITFIELDS = 6,
};

// Little-endian reads at an offset, checked against the bytes there are.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> b) : b_(b) {}
    std::size_t size() const { return b_.size(); }
    bool has(std::size_t offset, std::size_t count) const
    {
        return offset <= b_.size() && count <= b_.size() - offset;
    }
    std::uint8_t u8(std::size_t o) const { return b_[o]; }
    std::uint16_t u16(std::size_t o) const
    {
        return static_cast<std::uint16_t>(b_[o] | b_[o + 1] << 8);
    }
    std::uint32_t u32(std::size_t o) const
    {
        return std::uint32_t{b_[o]} | std::uint32_t{b_[o + 1]} << 8 |
               std::uint32_t{b_[o + 2]} << 16 | std::uint32_t{b_[o + 3]} << 24;
    }
    const std::uint8_t* at(std::size_t o) const { return b_.data() + o; }

private:
    std::span<const std::uint8_t> b_;
};

// One channel of a masked pixel, widened to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::countr_one(m >> shift);
        }
    }
    std::uint32_t get(std::uint32_t p) const
    {
        if (bits == 0) return 0;
        std::uint32_t v = (p & mask) >> shift;
        if (bits >= 8) return (v >> (bits - 8)) & 0xFF;
        // Repeat the top bits down to fill 8 bits (31 of 5 bits is 255).
        std::uint32_t out = 0;
        for (int filled = 0; filled < 8; filled += bits)
            out = (out << bits) | v;
        int total = ((8 + bits - 1) / bits) * bits;
        return (out >> (total - 8)) & 0xFF;
    }
};

// The header of each version of the format: the core header, the info header
// and its versions with channel masks, the OS/2 header, v4 and v5.
constexpr std::uint32_t kOs2HeaderSize = 64;

bool knownHeaderSize(std::uint32_t size)
{
    for (std::uint32_t known : {12u, 40u, 52u, 56u, kOs2HeaderSize, 108u, 124u})
        if (size == known) return true;
    return false;
}

bool fail(std::string& error, const char* why)
{
    error = why;
    return false;
}

// Run-length decoding of 8- or 4-bit indices into a bottom-up picture.
// Pixels the runs never reach keep index 0. Stops at the end of the data or
// at the end-of-picture code. Runs and moves are cut at the row's end, so the
// column never passes the width and the work done follows the picture's size
// and the file's length, never the lengths the codes claim.
bool decodeRle(const Bytes& in, std::size_t pos, std::size_t end, int bits, DDBitmapImage& img,
               std::string& error)
{
    const int w = img.width, h = img.height;
    int x = 0, y = 0; // y counts from the bottom row; 0 <= x <= w always
    auto index = [&](int i, std::uint8_t b) {
        return static_cast<std::uint8_t>(bits == 8 ? b : (i % 2 == 0 ? b >> 4 : b & 15));
    };
    auto row = [&] { return img.indices.data() + static_cast<std::size_t>(h - 1 - y) * w; };
    while (pos + 2 <= end && y < h) {
        std::uint8_t count = in.u8(pos), value = in.u8(pos + 1);
        pos += 2;
        if (count > 0) {
            const int n = std::min<int>(count, w - x);
            std::uint8_t* dst = row();
            for (int i = 0; i < n; ++i)
                dst[x + i] = index(i, value);
            x += n;
            continue;
        }
        switch (value) {
        case 0: // end of row
            x = 0;
            ++y;
            break;
        case 1: // end of picture
            return true;
        case 2: // move right and up
            if (pos + 2 > end) return fail(error, "truncated run-length delta");
            x = std::min<int>(x + in.u8(pos), w);
            y += in.u8(pos + 1);
            pos += 2;
            break;
        default: { // a literal run of `value` indices, padded to 16 bits
            const int n = value;
            std::size_t bytes =
                bits == 8 ? static_cast<std::size_t>(n) : static_cast<std::size_t>((n + 1) / 2);
            if (pos + bytes > end) return fail(error, "truncated run-length literal");
            const int kept = std::min(n, w - x);
            std::uint8_t* dst = row();
            for (int i = 0; i < kept; ++i)
                dst[x + i] = index(i, in.u8(pos + static_cast<std::size_t>(bits == 8 ? i : i / 2)));
            x += kept;
            pos += bytes + (bytes & 1);
            break;
        }
        }
    }
    return true;
}

} // namespace

bool DecodeBmp(std::span<const std::uint8_t> bytes, DDBitmapImage& out, std::string& error)
{
    out = DDBitmapImage{};
    Bytes in(bytes);
    if (!in.has(0, 18)) return fail(error, "too short for a BMP header");
    if (in.u8(0) != 'B' || in.u8(1) != 'M') return fail(error, "not a BMP file");
    const std::uint32_t dataOffset = in.u32(10);
    const std::uint32_t headerSize = in.u32(14);
    if (!knownHeaderSize(headerSize)) return fail(error, "unknown header size");
    if (!in.has(14, headerSize)) return fail(error, "header runs past the end of the file");

    std::int64_t width, height;
    int bitCount;
    std::uint32_t compression = BI_RGB, coloursUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    std::size_t tableOffset = 14 + headerSize;
    int tableEntrySize = 4;
    if (headerSize == 12) {
        width = in.u16(18);
        height = static_cast<std::int16_t>(in.u16(20));
        if (in.u16(22) != 1) return fail(error, "plane count is not 1");
        bitCount = in.u16(24);
        tableEntrySize = 3;
    } else {
        width = static_cast<std::int32_t>(in.u32(18));
        height = static_cast<std::int32_t>(in.u32(22));
        if (in.u16(26) != 1) return fail(error, "plane count is not 1");
        bitCount = in.u16(28);
        compression = in.u32(30);
        coloursUsed = in.u32(46);
        // Compression 3 of an OS/2 header, or of a 1-bit picture, is Huffman
        // coding, not channel masks.
        if (compression == BI_BITFIELDS && (headerSize == kOs2HeaderSize || bitCount == 1))
            return fail(error, "unsupported compression");
        if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
            // Masks inside a longer header, or right after the 40-byte one.
            std::size_t maskOffset = 54;
            if (headerSize < 52) {
                std::size_t maskBytes = compression == BI_ALPHABITFIELDS ? 16 : 12;
                if (!in.has(maskOffset, maskBytes))
                    return fail(error, "channel masks run past the end of the file");
                tableOffset += maskBytes;
            }
            for (int c = 0; c < 3; ++c)
                masks[c] = in.u32(maskOffset + 4 * c);
        }
    }

    bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0) return fail(error, "empty or negative picture size");
    if (width > BMP_MAX_SIDE || height > BMP_MAX_SIDE || width * height > BMP_MAX_PIXELS)
        return fail(error, "picture too large");

    switch (compression) {
    case BI_RGB:
        if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
            bitCount != 32)
            return fail(error, "unsupported bits per pixel");
        break;
    case BI_RLE8:
    case BI_RLE4:
        if (bitCount != (compression == BI_RLE8 ? 8 : 4))
            return fail(error, "run-length compression with the wrong bits per pixel");
        if (topDown) return fail(error, "run-length pictures cannot be top-down");
        break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
        if (bitCount != 16 && bitCount != 32)
            return fail(error, "channel masks need 16 or 32 bits per pixel");
        break;
    default:
        return fail(error, "unsupported compression");
    }

    // The colour table of an indexed picture.
    std::size_t tableEntries = 0;
    if (bitCount <= 8) {
        std::uint32_t full = 1u << bitCount;
        if (coloursUsed > full)
            return fail(error, "colour table larger than the bits per pixel allow");
        tableEntries = coloursUsed ? coloursUsed : full;
        if (!in.has(tableOffset, tableEntries * tableEntrySize))
            return fail(error, "colour table runs past the end of the file");
        out.colours.assign(full, 0);
        for (std::size_t i = 0; i < tableEntries; ++i) {
            std::size_t o = tableOffset + i * tableEntrySize;
            out.colours[i] =
                std::uint32_t{in.u8(o + 2)} << 16 | std::uint32_t{in.u8(o + 1)} << 8 | in.u8(o);
        }
    }
    const std::size_t headersEnd = tableOffset + tableEntries * tableEntrySize;
    if (dataOffset < headersEnd) return fail(error, "pixel data offset points into the headers");
    if (dataOffset > in.size()) return fail(error, "pixel data offset past the end of the file");

    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.bitCount = bitCount;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (bitCount <= 8) out.indices.assign(count, 0);
    out.pixels.assign(count, 0);

    if (compression == BI_RLE8 || compression == BI_RLE4) {
        std::size_t end = in.size();
        if (headerSize >= 40) {
            std::uint32_t sizeImage = in.u32(34);
            if (sizeImage != 0) {
                if (!in.has(dataOffset, sizeImage))
                    return fail(error, "compressed data runs past the end of the file");
                end = dataOffset + sizeImage;
            }
        }
        if (!decodeRle(in, dataOffset, end, bitCount, out, error)) return false;
    } else {
        const std::size_t stride = ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
        if (!in.has(dataOffset, stride * static_cast<std::size_t>(height)))
            return fail(error, "pixel data runs past the end of the file");
        Channel r(masks[0]), g(masks[1]), b(masks[2]);
        if (compression == BI_RGB && bitCount == 16) {
            r = Channel(0x7C00);
            g = Channel(0x03E0);
            b = Channel(0x001F);
        }
        for (std::int64_t row = 0; row < height; ++row) {
            const std::int64_t y = topDown ? row : height - 1 - row;
            const std::uint8_t* src = in.at(dataOffset + static_cast<std::size_t>(row) * stride);
            std::uint32_t* dst = out.pixels.data() + static_cast<std::size_t>(y) * width;
            std::uint8_t* idx =
                bitCount <= 8 ? out.indices.data() + static_cast<std::size_t>(y) * width : nullptr;
            for (std::int64_t x = 0; x < width; ++x) {
                switch (bitCount) {
                case 1:
                    idx[x] = (src[x / 8] >> (7 - x % 8)) & 1;
                    break;
                case 4:
                    idx[x] = (x % 2 == 0) ? src[x / 2] >> 4 : src[x / 2] & 15;
                    break;
                case 8:
                    idx[x] = src[x];
                    break;
                case 16: {
                    std::uint32_t p = src[2 * x] | src[2 * x + 1] << 8;
                    dst[x] = r.get(p) << 16 | g.get(p) << 8 | b.get(p);
                    break;
                }
                case 24:
                    dst[x] = std::uint32_t{src[3 * x + 2]} << 16 |
                             std::uint32_t{src[3 * x + 1]} << 8 | src[3 * x];
                    break;
                case 32: {
                    const std::uint8_t* q = src + 4 * x;
                    std::uint32_t p = std::uint32_t{q[0]} | std::uint32_t{q[1]} << 8 |
                                      std::uint32_t{q[2]} << 16 | std::uint32_t{q[3]} << 24;
                    if (compression == BI_RGB)
                        dst[x] = p & 0xFFFFFF;
                    else
                        dst[x] = r.get(p) << 16 | g.get(p) << 8 | b.get(p);
                    break;
                }
                }
            }
        }
    }
    if (bitCount <= 8) {
        for (std::size_t i = 0; i < count; ++i)
            out.pixels[i] = out.colours[out.indices[i]];
    }
    return true;
}
