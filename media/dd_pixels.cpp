#include "media/dd_pixels.h"

#include <algorithm>
#include <cstring>

namespace {

// A channel of `bits` bits widened to 8 bits by repeating its top bits.
std::uint32_t widen(std::uint32_t value, int bits)
{
    std::uint32_t v = value << (8 - bits);
    return v | (v >> bits);
}

} // namespace

int DDFormatBytes(DDFormat format)
{
    switch (format) {
    case DDFormat::P8:
        return 1;
    case DDFormat::R5G6B5:
    case DDFormat::X1R5G5B5:
    case DDFormat::A1R5G5B5:
        return 2;
    case DDFormat::X8R8G8B8:
    case DDFormat::A8R8G8B8:
        return 4;
    }
    return 4;
}

bool DDFormatHasAlpha(DDFormat format)
{
    return format == DDFormat::A1R5G5B5 || format == DDFormat::A8R8G8B8;
}

std::uint32_t DDToARGB(DDFormat format, std::uint32_t p)
{
    switch (format) {
    case DDFormat::P8:
        return p & 0xFF;
    case DDFormat::R5G6B5:
        return 0xFF000000u | widen((p >> 11) & 31, 5) << 16 | widen((p >> 5) & 63, 6) << 8 |
               widen(p & 31, 5);
    case DDFormat::X1R5G5B5:
    case DDFormat::A1R5G5B5: {
        std::uint32_t a = (format == DDFormat::X1R5G5B5 || (p & 0x8000)) ? 0xFF000000u : 0;
        return a | widen((p >> 10) & 31, 5) << 16 | widen((p >> 5) & 31, 5) << 8 | widen(p & 31, 5);
    }
    case DDFormat::X8R8G8B8:
        return 0xFF000000u | (p & 0xFFFFFF);
    case DDFormat::A8R8G8B8:
        return p;
    }
    return p;
}

std::uint32_t DDFromARGB(DDFormat format, std::uint32_t c)
{
    std::uint32_t r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF, a = c >> 24;
    switch (format) {
    case DDFormat::P8:
        return c & 0xFF;
    case DDFormat::R5G6B5:
        return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    case DDFormat::X1R5G5B5:
        return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    case DDFormat::A1R5G5B5:
        return (a >= 128 ? 0x8000u : 0u) | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    case DDFormat::X8R8G8B8:
    case DDFormat::A8R8G8B8:
        return c;
    }
    return c;
}

DDPixels::DDPixels(DDFormat format_, int width_, int height_)
    : format(format_), width(std::max(width_, 0)), height(std::max(height_, 0))
{
    pitch = width * DDFormatBytes(format);
    bytes_.assign(static_cast<std::size_t>(pitch) * height, 0);
}

std::uint32_t DDPixels::get(int x, int y) const
{
    const std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * bytesPerPixel();
    switch (bytesPerPixel()) {
    case 1:
        return *p;
    case 2: {
        std::uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
    }
    default: {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
    }
    }
}

void DDPixels::set(int x, int y, std::uint32_t value)
{
    std::uint8_t* p = row(y) + static_cast<std::size_t>(x) * bytesPerPixel();
    switch (bytesPerPixel()) {
    case 1:
        *p = static_cast<std::uint8_t>(value);
        break;
    case 2: {
        auto v = static_cast<std::uint16_t>(value);
        std::memcpy(p, &v, 2);
        break;
    }
    default:
        std::memcpy(p, &value, 4);
        break;
    }
}

void DDPixels::fill(std::uint32_t value)
{
    fillRect(0, 0, width, height, value);
}

void DDPixels::fillRect(int x, int y, int w, int h, std::uint32_t value)
{
    int left = std::max(x, 0), top = std::max(y, 0);
    int right = std::min<long long>(static_cast<long long>(x) + w, width);
    int bottom = std::min<long long>(static_cast<long long>(y) + h, height);
    if (left >= right || top >= bottom) return;
    changed();
    int bpp = bytesPerPixel();
    for (int yy = top; yy < bottom; ++yy) {
        std::uint8_t* p = row(yy) + static_cast<std::size_t>(left) * bpp;
        if (bpp == 1) {
            std::memset(p, static_cast<int>(value & 0xFF), static_cast<std::size_t>(right - left));
        } else if (bpp == 2) {
            auto v = static_cast<std::uint16_t>(value);
            for (int xx = left; xx < right; ++xx, p += 2)
                std::memcpy(p, &v, 2);
        } else {
            for (int xx = left; xx < right; ++xx, p += 4)
                std::memcpy(p, &value, 4);
        }
    }
}

namespace {

// The kind of one row of `count` values, each judged by which(v): 0 for
// "none" (alpha 0, the key), 2 for "full" (alpha full, not the key), 1 for
// anything in between. Written so that the compiler can vectorise it.
template <typename P, typename Which>
DDRowKind kindOf(const std::uint8_t* bytes, int count, Which which)
{
    const auto* p = reinterpret_cast<const P*>(bytes);
    std::uint32_t seen = 0; // bit w set when some value was judged w
    for (int x = 0; x < count; ++x)
        seen |= 1u << which(p[x]);
    if (seen & 2u) return DDRowKind::Mixed;
    if (seen == 1u) return DDRowKind::Empty;
    if (seen == 5u) return DDRowKind::Binary;
    return DDRowKind::Opaque; // all full, or a row of no pixels
}

} // namespace

DDRowKind DDPixels::rowKind(int y, std::uint32_t key) const
{
    const bool byKey = !DDFormatHasAlpha(format);
    if (byKey && key != kindsKey_) {
        kindsKey_ = key;
        ++generation_;
    }
    if (kinds_.size() != static_cast<std::size_t>(height)) {
        kinds_.assign(static_cast<std::size_t>(height), DDRowKind::Mixed);
        kindGenerations_.assign(static_cast<std::size_t>(height), 0);
    }
    const auto i = static_cast<std::size_t>(y);
    if (kindGenerations_[i] == generation_) return kinds_[i];
    const std::uint8_t* r = row(y);
    DDRowKind k = DDRowKind::Mixed;
    switch (format) {
    case DDFormat::A8R8G8B8:
        k = kindOf<std::uint32_t>(r, width, [](std::uint32_t v) {
            const std::uint32_t a = v >> 24;
            return a == 0 ? 0u : (a == 255 ? 2u : 1u);
        });
        break;
    case DDFormat::A1R5G5B5:
        k = kindOf<std::uint16_t>(r, width, [](std::uint32_t v) { return (v >> 15) * 2; });
        break;
    case DDFormat::P8:
        k = kindOf<std::uint8_t>(r, width, [key](std::uint32_t v) { return v == key ? 0u : 2u; });
        break;
    case DDFormat::R5G6B5:
    case DDFormat::X1R5G5B5:
        k = kindOf<std::uint16_t>(r, width, [key](std::uint32_t v) { return v == key ? 0u : 2u; });
        break;
    case DDFormat::X8R8G8B8:
        k = kindOf<std::uint32_t>(r, width, [key](std::uint32_t v) { return v == key ? 0u : 2u; });
        break;
    }
    kinds_[i] = k;
    kindGenerations_[i] = generation_;
    return k;
}
