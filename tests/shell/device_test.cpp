// A lost Direct3D device: the frame's present asks the main window to
// rebuild it, and the digit strips, which come back empty, are drawn again.
#include "core/main_window_handle.h"
#include "media/bitmap_table.h"
#include "media/dd_device.h"
#include "media/font.h"
#include "media/graphics_fixture.h"
#include "platform/message_loop.h"
#include "scenes/scene_mgr.h"
#include "shell/main_window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::uint8_t> Pixels(const DDSURFACEDATA& sd)
{
    const DDPixels* p = sd.pixels();
    return p ? p->storage() : std::vector<std::uint8_t>{};
}

TEST(LostDevice, ThePresentRebuildsTheDeviceAndTheDigitStripsAreDrawnAgain)
{
    plat::setMainThread();
    ASSERT_TRUE(gfxtest::SetUpMode(gfxtest::AllModes()[0], 640, 480));
    g_hMainWnd = plat::createWindow(MainWndProc);
    InitFontDef();
    InitDigitBmp();
    ASSERT_TRUE(CreateFonts(g_Fonts.data(), g_FontDef.data(), 4));
    ASSERT_TRUE(CreateDigitStrips(g_DigitSD.data(), g_DigitBmp.data(), 4, g_Fonts.data(),
                                  g_FontDef.data()));
    const auto drawn = Pixels(g_DigitSD[2]);
    ASSERT_FALSE(drawn.empty());

    lpDevice->Lose();
    PresentFrame();
    EXPECT_FALSE(lpDevice->lost());
    EXPECT_EQ(Pixels(g_DigitSD[2]), drawn);

    for (Font& f : g_Fonts)
        f.Release();
    for (DDSURFACEDATA& strip : g_DigitSD)
        DDReleaseSurface(&strip);
    plat::destroyWindow(g_hMainWnd);
    g_hMainWnd = 0;
    plat::Message m;
    while (plat::peekMessage(m)) {
    }
    gfxtest::TearDownMode();
}

} // namespace
