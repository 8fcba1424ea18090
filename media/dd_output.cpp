#include "media/dd_output.h"

#include <mutex>
#include <vector>

namespace {

std::mutex g_SinkLock;
DDFrameSink g_Sink;

}  // namespace

void DDSetFrameSink(DDFrameSink sink)
{
    std::lock_guard lock(g_SinkLock);
    g_Sink = std::move(sink);
}

void DDFrameToXrgb(const DDPixels& frame, const DDPALENTRY* palette, std::uint32_t* out)
{
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            std::uint32_t p = frame.get(x, y);
            std::uint32_t c;
            if (frame.format == DDFormat::P8) {
                const DDPALENTRY& e = palette ? palette[p & 0xFF] : DDPALENTRY{};
                c = std::uint32_t{e.red} << 16 | std::uint32_t{e.green} << 8 | e.blue;
            } else {
                c = DDToARGB(frame.format, p) & 0xFFFFFF;
            }
            *out++ = c;
        }
    }
}

void DDSendFrame(const DDPixels& frame, const DDPALENTRY* palette, bool waitForVBlank)
{
    std::lock_guard lock(g_SinkLock);
    if (!g_Sink || frame.width <= 0 || frame.height <= 0)
        return;
    static std::vector<std::uint32_t> converted;
    converted.resize(static_cast<std::size_t>(frame.width) * frame.height);
    DDFrameToXrgb(frame, palette, converted.data());
    g_Sink(converted.data(), frame.width, frame.height, waitForVBlank);
}
