#include "tools/default_game/bmp_file.h"

#include "tools/default_game/little_endian.h"

namespace defgame {

std::vector<std::uint8_t> encodeBmp(const Canvas& picture)
{
    constexpr std::uint32_t kHeaderBytes = 14 + 40 + 256 * 4;
    const int w = picture.width();
    const int h = picture.height();
    const std::uint32_t stride = (static_cast<std::uint32_t>(w) + 3u) & ~3u;
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(h);

    std::vector<std::uint8_t> out;
    out.reserve(kHeaderBytes + imageBytes);
    // File header.
    put8(out, 'B');
    put8(out, 'M');
    put32(out, kHeaderBytes + imageBytes);
    put32(out, 0);
    put32(out, kHeaderBytes);
    // Info header: size, width, height (bottom-up), 1 plane, 8 bits, no
    // compression, image size, 72 dpi, 256 colours, all important.
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(w));
    put32(out, static_cast<std::uint32_t>(h));
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);
    put32(out, imageBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 256);
    put32(out, 0);
    for (const Rgb& c : gamePalette()) {
        put8(out, c.b);
        put8(out, c.g);
        put8(out, c.r);
        put8(out, 0);
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x)
            put8(out, picture.at(x, y));
        for (int pad = w; pad < static_cast<int>(stride); ++pad)
            put8(out, 0);
    }
    return out;
}

} // namespace defgame
