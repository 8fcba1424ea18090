#pragma once
// The generated game's look on a display of one back end, as the start-up
// sets it up: the palette and transparent colour of its palette picture,
// the four fonts with their digit strips in the game's face. The author's
// data must have been read first (the face comes from the system data).

#include <gtest/gtest.h>

#include <algorithm>

#include "data/ed_system.h"
#include "data/font_faces.h"
#include "media/bitmap_table.h"
#include "media/dd_palette.h"
#include "media/font.h"
#include "media/graphics_fixture.h"

namespace test {

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
    ReleaseGameFonts();
    for (DDSURFACEDATA& sd : g_BitmapSD)
        DDReleaseSurface(&sd);
    gfxtest::TearDownMode();
}

} // namespace test
