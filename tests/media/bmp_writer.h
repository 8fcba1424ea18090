#pragma once
// Writes BMP files byte by byte for the tests: every depth, both run-length
// compressions, channel masks, top-down rows and the old core header, so
// that the reader can be checked against pictures of known pixels.

#include <cstdint>
#include <string>
#include <vector>

namespace gfxtest {

struct BmpPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> colours; // colour table (0x00RRGGBB) for indexed pictures
    std::vector<int> indices;           // palette index per pixel, top-down (indexed)
    std::vector<std::uint32_t> rgb;     // colour per pixel, top-down (other depths)

    std::uint32_t colourAt(int x, int y) const
    {
        std::size_t i = static_cast<std::size_t>(y) * width + x;
        return colours.empty() ? rgb[i] : colours[static_cast<std::size_t>(indices[i])];
    }
};

struct BmpFormat {
    int bits = 24;
    int compression = 0; // 0 plain, 1 RLE8, 2 RLE4, 3 channel masks
    bool topDown = false;
    bool coreHeader = false;
    int headerSize = 40; // 40, 108 or 124 (masks inside the longer headers)
    std::uint32_t masks[3] = {0, 0, 0};
    int coloursUsed = 0; // 0: the full table
};

class ByteWriter {
public:
    void u8(unsigned v) { bytes.push_back(static_cast<char>(v & 0xFF)); }
    void u16(unsigned v)
    {
        u8(v);
        u8(v >> 8);
    }
    void u32(std::uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void pad4()
    {
        while (bytes.size() % 4)
            u8(0);
    }
    std::string bytes;
};

inline std::string EncodeRle(const BmpPicture& p, int bits)
{
    ByteWriter w;
    for (int row = 0; row < p.height; ++row) {
        const int y = p.height - 1 - row;
        int x = 0;
        while (x < p.width) {
            const int index = p.indices[static_cast<std::size_t>(y) * p.width + x];
            int run = 1;
            while (x + run < p.width && run < 255 &&
                   p.indices[static_cast<std::size_t>(y) * p.width + x + run] == index)
                ++run;
            if (run >= 3 || p.width - x < 3) {
                w.u8(static_cast<unsigned>(run));
                w.u8(bits == 8 ? static_cast<unsigned>(index)
                               : static_cast<unsigned>(index << 4 | index));
                x += run;
            } else {
                // A literal run of three.
                const int n = 3;
                w.u8(0);
                w.u8(n);
                if (bits == 8) {
                    for (int k = 0; k < n; ++k)
                        w.u8(static_cast<unsigned>(
                            p.indices[static_cast<std::size_t>(y) * p.width + x + k]));
                    w.u8(0); // to 16 bits
                } else {
                    int a = p.indices[static_cast<std::size_t>(y) * p.width + x];
                    int b = p.indices[static_cast<std::size_t>(y) * p.width + x + 1];
                    int c = p.indices[static_cast<std::size_t>(y) * p.width + x + 2];
                    w.u8(static_cast<unsigned>(a << 4 | b));
                    w.u8(static_cast<unsigned>(c << 4));
                }
                x += n;
            }
        }
        w.u8(0);
        w.u8(0); // end of row
    }
    w.u8(0);
    w.u8(1); // end of picture
    return w.bytes;
}

inline std::uint32_t PackMasked(std::uint32_t rgb, const std::uint32_t masks[3])
{
    std::uint32_t out = 0;
    const std::uint32_t channels[3] = {(rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF};
    for (int c = 0; c < 3; ++c) {
        std::uint32_t m = masks[c];
        if (!m) continue;
        int shift = __builtin_ctz(m);
        int bits = __builtin_popcount(m);
        out |= (channels[c] >> (8 - bits)) << shift;
    }
    return out;
}

inline std::string WriteBmp(const BmpPicture& p, const BmpFormat& f)
{
    std::string pixels;
    if (f.compression == 1 || f.compression == 2) {
        pixels = EncodeRle(p, f.bits);
    } else {
        ByteWriter w;
        for (int row = 0; row < p.height; ++row) {
            const int y = f.topDown ? row : p.height - 1 - row;
            std::size_t start = w.bytes.size();
            unsigned acc = 0;
            int filled = 0;
            for (int x = 0; x < p.width; ++x) {
                std::size_t i = static_cast<std::size_t>(y) * p.width + x;
                if (f.bits <= 8) {
                    acc = (acc << f.bits) | static_cast<unsigned>(p.indices[i]);
                    filled += f.bits;
                    if (filled == 8) {
                        w.u8(acc);
                        acc = 0;
                        filled = 0;
                    }
                } else if (f.bits == 16) {
                    static const std::uint32_t rgb555[3] = {0x7C00, 0x03E0, 0x001F};
                    w.u16(PackMasked(p.rgb[i], f.compression == 3 ? f.masks : rgb555));
                } else if (f.bits == 24) {
                    w.u8(p.rgb[i]);
                    w.u8(p.rgb[i] >> 8);
                    w.u8(p.rgb[i] >> 16);
                } else {
                    w.u32(f.compression == 3 ? PackMasked(p.rgb[i], f.masks)
                                             : p.rgb[i] | 0xAB000000u);
                }
            }
            if (filled) w.u8(acc << (8 - filled));
            while ((w.bytes.size() - start) % 4)
                w.u8(0);
        }
        pixels = w.bytes;
    }
    const int tableEntries = f.bits <= 8 ? (f.coloursUsed ? f.coloursUsed : 1 << f.bits) : 0;
    const int entrySize = f.coreHeader ? 3 : 4;
    const int headerSize = f.coreHeader ? 12 : f.headerSize;
    const int maskBytes = (f.compression == 3 && headerSize == 40) ? 12 : 0;
    const std::uint32_t offset = 14 + headerSize + maskBytes + tableEntries * entrySize;

    ByteWriter w;
    w.u8('B');
    w.u8('M');
    w.u32(offset + static_cast<std::uint32_t>(pixels.size()));
    w.u32(0);
    w.u32(offset);
    w.u32(static_cast<std::uint32_t>(headerSize));
    if (f.coreHeader) {
        w.u16(static_cast<unsigned>(p.width));
        w.u16(static_cast<unsigned>(p.height));
        w.u16(1);
        w.u16(static_cast<unsigned>(f.bits));
    } else {
        w.u32(static_cast<std::uint32_t>(p.width));
        w.u32(static_cast<std::uint32_t>(f.topDown ? -p.height : p.height));
        w.u16(1);
        w.u16(static_cast<unsigned>(f.bits));
        w.u32(static_cast<std::uint32_t>(f.compression));
        w.u32(static_cast<std::uint32_t>(pixels.size()));
        w.u32(2835);
        w.u32(2835);
        w.u32(static_cast<std::uint32_t>(f.coloursUsed));
        w.u32(0);
        if (headerSize > 40) {
            for (int c = 0; c < 3; ++c)
                w.u32(f.masks[c]);
            while (static_cast<int>(w.bytes.size()) < 14 + headerSize)
                w.u8(0);
        }
        if (maskBytes)
            for (int c = 0; c < 3; ++c)
                w.u32(f.masks[c]);
    }
    for (int i = 0; i < tableEntries; ++i) {
        std::uint32_t c = i < static_cast<int>(p.colours.size()) ? p.colours[i] : 0;
        w.u8(c);
        w.u8(c >> 8);
        w.u8(c >> 16);
        if (!f.coreHeader) w.u8(0);
    }
    return w.bytes + pixels;
}

// A plain 24-bit picture of the given colours.
inline std::string WriteBmp24(int width, int height, const std::vector<std::uint32_t>& rgb)
{
    BmpPicture p;
    p.width = width;
    p.height = height;
    p.rgb = rgb;
    return WriteBmp(p, BmpFormat{});
}

// An 8-bit picture with a colour table.
inline std::string WriteBmp8(int width, int height, const std::vector<std::uint32_t>& colours,
                             const std::vector<int>& indices)
{
    BmpPicture p;
    p.width = width;
    p.height = height;
    p.colours = colours;
    p.indices = indices;
    BmpFormat f;
    f.bits = 8;
    return WriteBmp(p, f);
}

} // namespace gfxtest
