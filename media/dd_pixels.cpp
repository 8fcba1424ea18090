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
    bytes.assign(static_cast<std::size_t>(pitch) * height, 0);
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
