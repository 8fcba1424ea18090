#pragma once
// The back buffer read back as the player would see it, to be compared or,
// with RT_WRITE_FRAMES=<folder> set, written there as a picture to be
// looked at.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "media/bmp_writer.h"
#include "media/dd_output.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"

namespace test {

// One 0x00RRGGBB colour a pixel.
inline std::vector<std::uint32_t> ShownFrame()
{
    std::vector<std::uint32_t> xrgb(640 * 480);
    DDFrameToXrgb(*BackBuffer.pixels(), g_ScreenPalette.data(), xrgb.data());
    return xrgb;
}

// Writes the frame as <name>.bmp into RT_WRITE_FRAMES when it is set.
inline void WriteFrame(const std::string& name, const std::vector<std::uint32_t>& xrgb)
{
    const char* folder = std::getenv("RT_WRITE_FRAMES");
    if (!folder || !*folder) return;
    std::filesystem::create_directories(folder);
    std::ofstream(std::string(folder) + "/" + name + ".bmp", std::ios::binary)
        << gfxtest::WriteBmp24(640, 480, xrgb);
}

} // namespace test
