#include "tools/default_game/bmp_file.h"

#include "data/byte_writer.h"

namespace defgame {

std::vector<std::uint8_t> encodeBmp(const Canvas& picture)
{
    constexpr std::uint32_t kHeaderBytes = 14 + 40 + 256 * 4;
    const int w = picture.width();
    const int h = picture.height();
    const std::uint32_t stride = (static_cast<std::uint32_t>(w) + 3u) & ~3u;
    const std::uint32_t imageBytes = stride * static_cast<std::uint32_t>(h);

    ByteWriter out;
    // File header.
    out.writeBytes("BM", 2);
    out.writeU32(kHeaderBytes + imageBytes);
    out.writeU32(0);
    out.writeU32(kHeaderBytes);
    // Info header: size, width, height (bottom-up), 1 plane, 8 bits, no
    // compression, image size, 72 dpi, 256 colours, all important.
    out.writeU32(40);
    out.writeI32(w);
    out.writeI32(h);
    out.writeU16(1);
    out.writeU16(8);
    out.writeU32(0);
    out.writeU32(imageBytes);
    out.writeU32(2835);
    out.writeU32(2835);
    out.writeU32(256);
    out.writeU32(0);
    for (const Rgb& c : gamePalette()) {
        const std::uint8_t quad[4] = {c.b, c.g, c.r, 0};
        out.writeBytes(quad, sizeof quad);
    }
    const std::uint8_t padding[3] = {};
    for (int y = h - 1; y >= 0; --y) {
        out.writeBytes(picture.pixels().data() + static_cast<std::size_t>(y) * w, w);
        out.writeBytes(padding, stride - static_cast<std::uint32_t>(w));
    }
    return out.take();
}

} // namespace defgame
