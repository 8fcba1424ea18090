// A frame drawn by the graphics layer on a worker thread reaches the window
// through the presenter, and the window then holds exactly its pixels.

#include "media/graphics_fixture.h"

#include <SDL.h>

#include <chrono>
#include <thread>

#include "core/sjis_text.h"
#include "media/dd_blit.h"
#include "media/dd_output.h"
#include "media/dd_present.h"
#include "media/font.h"
#include "platform/message_loop.h"
#include "platform/presenter.h"
#include "platform/presenter_pump.h"

using namespace gfxtest;

namespace {

using test::PumpUntilShown;

class Screenshot : public testing::TestWithParam<Mode> {
protected:
    void SetUp() override
    {
        if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already runs in this process";
        plat::setMainThread();
        plat::PresenterOptions options;
        options.titleUtf8 = "screenshot";
        ASSERT_TRUE(presenter.open(options)) << SDL_GetError();
        ASSERT_TRUE(SetUpMode(GetParam(), 640, 480));
        DDSetFrameSink(
            [this](const std::uint32_t* xrgb, int w, int h) { presenter.present(xrgb, w, h); });
        if (!g_D3DState && g_DDBpp == 8) lpDDPalette->SetEntries(0, 256, g_Palette.data());
    }
    void TearDown() override
    {
        DDSetFrameSink(nullptr);
        font.Release();
        std::erase(g_FontList, &font);
        TearDownMode();
        presenter.close();
    }
    plat::Presenter presenter;
    Font font;
};

TEST_P(Screenshot, FrameDrawnOnAWorkerThreadIsWhatTheWindowShows)
{
    InitFontDef();
    const FONTDEF& d = g_FontDef[3];
    ASSERT_TRUE(font.Create(d.face.data(), 0, d.fontHeight, d.cellWidth, d.lineHeight, 33, nullptr,
                            1, 240, nullptr));
    std::vector<std::uint32_t> expected(640 * 480);
    std::thread worker([&] {
        DDClearPal(&BackBuffer, 5);
        DDBoxFillPal(&BackBuffer, 100, 80, 200, 120, 9);
        DDBoxFillPal(&BackBuffer, -20, 400, 100, 200, 17);
        font.DrawText(&BackBuffer, 120, 100, Sjis("漢字かなABC"), 1);
        // What the frame holds, as the window should show it.
        const DDPALENTRY* palette = g_D3DState ? nullptr : g_Palette.data();
        if (g_D3DState) {
            DDFrameToXrgb(*BackBuffer.pixels(), palette, expected.data());
            DDPresent();
        } else {
            DDFrameToXrgb(*BackBuffer.pixels(), palette, expected.data());
            if (g_DDWindowed)
                DDBltToPrimary();
            else
                DDFlipPrimary();
        }
    });
    worker.join();
    ASSERT_TRUE(PumpUntilShown(presenter, 1));
    std::vector<std::uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(presenter.readPixels(shown, w, h));
    ASSERT_EQ(w, 640);
    ASSERT_EQ(h, 480);
    EXPECT_TRUE(shown == expected) << "the window differs from the frame";
    EXPECT_NE(shown[100 * 640 + 150], shown[10 * 640 + 10]) << "the frame is not one colour";
}

INSTANTIATE_TEST_SUITE_P(Modes, Screenshot,
                         testing::Values(AllModes()[0], AllModes()[2], AllModes()[3],
                                         AllModes()[4]),
                         ModeName);

} // namespace
