#include "media/dd_output.h"

#include <bit>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

std::mutex g_SinkLock;
DDFrameSink g_Sink;

} // namespace

void DDSetFrameSink(DDFrameSink sink)
{
    std::lock_guard lock(g_SinkLock);
    g_Sink = std::move(sink);
}

void DDFrameToXrgb(const DDPixels& frame, const DDPALENTRY* palette, std::uint32_t* out)
{
    // The sizes held in locals: the pixels written could alias the frame's
    // int fields, so the compiler would otherwise read them again for every
    // pixel and leave the loops unvectorised.
    const int width = frame.width, height = frame.height;
    if (frame.format == DDFormat::P8) {
        std::uint64_t colours[256];
        for (int i = 0; i < 256; ++i) {
            const DDPALENTRY e = palette ? palette[i] : DDPALENTRY{};
            colours[i] = std::uint64_t{e.red} << 16 | std::uint64_t{e.green} << 8 | e.blue;
        }
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* row = frame.row(y);
            int x = 0;
            if constexpr (std::endian::native == std::endian::little) {
                // Eight indices read at once and two colours stored at once:
                // fewer memory operations per pixel than one of each.
                for (; x + 8 <= width; x += 8, out += 8) {
                    std::uint64_t v;
                    std::memcpy(&v, row + x, 8);
                    const std::uint64_t pairs[4] = {
                        colours[v & 0xFF] | colours[(v >> 8) & 0xFF] << 32,
                        colours[(v >> 16) & 0xFF] | colours[(v >> 24) & 0xFF] << 32,
                        colours[(v >> 32) & 0xFF] | colours[(v >> 40) & 0xFF] << 32,
                        colours[(v >> 48) & 0xFF] | colours[v >> 56] << 32};
                    std::memcpy(out, pairs, sizeof pairs);
                }
            }
            for (; x < width; ++x)
                *out++ = static_cast<std::uint32_t>(colours[row[x]]);
        }
        return;
    }
    if (frame.bytesPerPixel() == 4) {
        for (int y = 0; y < height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(frame.row(y));
            for (int x = 0; x < width; ++x)
                *out++ = row[x] & 0xFFFFFF;
        }
        return;
    }
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint16_t*>(frame.row(y));
        for (int x = 0; x < width; ++x)
            *out++ = DDToARGB(frame.format, row[x]) & 0xFFFFFF;
    }
}

void DDSendFrame(const DDPixels& frame, const DDPALENTRY* palette)
{
    std::lock_guard lock(g_SinkLock);
    if (!g_Sink || frame.width <= 0 || frame.height <= 0) return;
    static std::vector<std::uint32_t> converted;
    converted.resize(static_cast<std::size_t>(frame.width) * frame.height);
    DDFrameToXrgb(frame, palette, converted.data());
    g_Sink(converted.data(), frame.width, frame.height);
}
