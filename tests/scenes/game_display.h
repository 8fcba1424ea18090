#pragma once
// The display of the game folder's start-up on one back end, without a
// window: the palette and transparent colour of bmp\plt\Palette.bmp and the
// four fonts with their digit strips, as the start-up sets them up; and the
// back buffer read back as colours, to be compared or written as a picture.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/ed_system.h"
#include "data/font_faces.h"
#include "media/bmp_writer.h"
#include "media/dd_output.h"
#include "media/font.h"
#include "media/graphics_fixture.h"

namespace test {

// Sets the display up (call with ASSERT_NO_FATAL_FAILURE).
inline void SetUpGameDisplay(const gfxtest::Mode& mode)
{
    ASSERT_TRUE(gfxtest::SetUpMode(mode, 640, 480));
    ASSERT_TRUE(DDLoadPaletteFromFile(g_Palette.data(), g_BitmapTable[0].name.c_str()));
    g_ScreenPalette = g_Palette;
    ASSERT_TRUE(DDSetTransmitFromFile(g_BitmapTable[0].name.c_str()));
    InitFontDef();
    InitDigitBmp();
    const int face = std::clamp(g_System.nFontFace, 0, kFontFaceCount - 1);
    for (FONTDEF& def : g_FontDef)
        def.setFace(g_FontFaceNames[face]);
    ASSERT_TRUE(CreateFonts(g_Fonts.data(), g_FontDef.data(), 4));
    ASSERT_TRUE(CreateDigitStrips(g_DigitSD.data(), g_DigitBmp.data(), 4, g_Fonts.data(),
                                  g_FontDef.data()));
}

inline void TearDownGameDisplay()
{
    for (Font& font : g_Fonts)
        font.Release();
    for (DDSURFACEDATA& strip : g_DigitSD)
        DDReleaseSurface(&strip);
    for (DDSURFACEDATA& sd : g_BitmapSD)
        DDReleaseSurface(&sd);
    gfxtest::TearDownMode();
}

// The back buffer as it would be shown: one 0x00RRGGBB colour a pixel.
inline std::vector<std::uint32_t> ShownFrame()
{
    std::vector<std::uint32_t> xrgb(640 * 480);
    DDFrameToXrgb(*BackBuffer.pixels(), g_ScreenPalette.data(), xrgb.data());
    return xrgb;
}

// With RT_WRITE_FRAMES=<folder> set, writes the frame there as <name>.bmp,
// to be looked at.
inline void WriteFrame(const std::string& name, const std::vector<std::uint32_t>& xrgb)
{
    const char* folder = std::getenv("RT_WRITE_FRAMES");
    if (!folder || !*folder) return;
    std::filesystem::create_directories(folder);
    std::ofstream(std::string(folder) + "/" + name + ".bmp", std::ios::binary)
        << gfxtest::WriteBmp24(640, 480, xrgb);
}

} // namespace test
