// The presenter: a frame handed over on another thread is shown by the main
// thread, and the window then holds exactly its pixels, under the dummy
// video driver and under X (when a display is there); a window of another
// size shows the frame as large as it fits with its proportions kept, with
// bars on the sides left over; handing frames over never waits for the
// main thread to show them; a frame equal to the newest one counts as shown
// without being drawn again, while one that differs in its last pixel only
// is shown.

#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

#include "platform/message_loop.h"
#include "platform/presenter.h"
#include "platform/presenter_pump.h"
#include "support/scoped_env.h"
#include "support/x_display.h"

namespace {

using test::PumpUntilShown;

std::uint32_t BlockColour(int bx, int by)
{
    return static_cast<std::uint32_t>(0x1E0000 * (bx + 1) | 0x002800 * (by + 1) | 0x40);
}

std::vector<std::uint32_t> TestFrame(int w, int h)
{
    std::vector<std::uint32_t> frame(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            frame[static_cast<std::size_t>(y) * w + x] =
                static_cast<std::uint32_t>((x * 37) & 0xFF) << 16 |
                static_cast<std::uint32_t>((y * 11) & 0xFF) << 8 |
                static_cast<std::uint32_t>((x ^ y) & 0xFF);
    return frame;
}

void ExpectWorkerFrameShown(int width, int height)
{
    plat::setMainThread();
    plat::Presenter presenter;
    plat::PresenterOptions options;
    options.titleUtf8 = "presenter test";
    options.width = width;
    options.height = height;
    ASSERT_TRUE(presenter.open(options)) << SDL_GetError();
    const auto frame = TestFrame(width, height);
    std::thread worker([&] { EXPECT_TRUE(presenter.present(frame.data(), width, height)); });
    EXPECT_TRUE(PumpUntilShown(presenter, 1));
    worker.join();
    std::vector<std::uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(presenter.readPixels(shown, w, h)) << SDL_GetError();
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    EXPECT_EQ(shown, frame);
    presenter.close();
}

TEST(Presenter, FrameFromAWorkerThreadIsShownExactly)
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already runs in this process";
    ExpectWorkerFrameShown(64, 48);
}

TEST(Presenter, FrameFromAWorkerThreadIsShownExactlyUnderX)
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already runs in this process";
    test::XDisplay x;
    if (!x.present()) GTEST_SKIP() << "no X display (the test script runs the tests under Xvfb)";
    ASSERT_TRUE(x.held()) << "another test kept the X display";
    // SDL's own renderer and window surface: the GL driver that X offers
    // loses memory of its own when it is unloaded, which the sanitized tests
    // would report.
    test::ScopedEnv software("SDL_RENDER_DRIVER", "software");
    test::ScopedEnv surface("SDL_FRAMEBUFFER_ACCELERATION", "0");
    ExpectWorkerFrameShown(64, 48);
}

TEST(Presenter, RefusesFramesOfAnotherSizeAndAfterClosing)
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already runs in this process";
    plat::setMainThread();
    plat::Presenter presenter;
    plat::PresenterOptions options;
    options.width = 8;
    options.height = 6;
    ASSERT_TRUE(presenter.open(options));
    const auto frame = TestFrame(8, 6);
    EXPECT_FALSE(presenter.present(frame.data(), 6, 8));
    EXPECT_TRUE(presenter.present(frame.data(), 8, 6));
    EXPECT_TRUE(presenter.service());
    EXPECT_FALSE(presenter.service()) << "nothing new to show";
    presenter.close();
    EXPECT_FALSE(presenter.present(frame.data(), 8, 6));
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_VIDEO)) << "the video it started is stopped again";
}

TEST(Presenter, AFrameEqualToTheNewestIsNotDrawnAgainButOneChangedAnywhereIs)
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already runs in this process";
    plat::setMainThread();
    plat::Presenter presenter;
    plat::PresenterOptions options;
    ASSERT_TRUE(presenter.open(options));
    auto frame = TestFrame(640, 480);
    ASSERT_TRUE(presenter.present(frame.data(), 640, 480));
    ASSERT_TRUE(presenter.service());
    ASSERT_TRUE(presenter.present(frame.data(), 640, 480));
    EXPECT_FALSE(presenter.service()) << "the same picture drawn again";
    EXPECT_EQ(presenter.framesShown(), 2u);
    frame.back() ^= 0x010203;
    ASSERT_TRUE(presenter.present(frame.data(), 640, 480));
    ASSERT_TRUE(presenter.service());
    EXPECT_EQ(presenter.framesShown(), 3u);
    std::vector<std::uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(presenter.readPixels(shown, w, h));
    EXPECT_EQ(shown, frame);
    presenter.close();
}

// A frame of 8 x 6 blocks of 80 x 80 pixels, each block its own colour.
std::vector<std::uint32_t> BlockFrame()
{
    std::vector<std::uint32_t> frame(640 * 480);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            frame[static_cast<std::size_t>(y) * 640 + x] = BlockColour(x / 80, y / 80);
    return frame;
}

TEST(Presenter, AWindowOfAnotherShapeIsFilledKeepingTheFramesProportions)
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already runs in this process";
    plat::setMainThread();
    plat::Presenter presenter;
    plat::PresenterOptions options;
    ASSERT_TRUE(presenter.open(options));
    // A 16:10 desktop: the picture is 1066 or 1067 pixels wide and the
    // whole 800 high, centred, with bars of about 107 pixels each side.
    SDL_SetWindowSize(presenter.window(), 1280, 800);
    const auto frame = BlockFrame();
    ASSERT_TRUE(presenter.present(frame.data(), 640, 480));
    ASSERT_TRUE(presenter.service());
    std::vector<std::uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(presenter.readPixels(shown, w, h));
    ASSERT_EQ(w, 1280);
    ASSERT_EQ(h, 800);
    auto at = [&](int x, int y) { return shown[static_cast<std::size_t>(y) * w + x]; };
    const double scale = 800.0 / 480.0;
    const double left = (1280 - 640 * scale) / 2;
    for (int by = 0; by < 6; ++by)
        for (int bx = 0; bx < 8; ++bx) {
            const int x = static_cast<int>(left + (bx * 80 + 40) * scale);
            const int y = static_cast<int>((by * 80 + 40) * scale);
            EXPECT_EQ(at(x, y), BlockColour(bx, by)) << "block " << bx << "," << by;
        }
    for (int y : {0, 400, 799}) {
        EXPECT_EQ(at(110, y), BlockColour(0, y * 6 / 800)) << "left edge, row " << y;
        EXPECT_EQ(at(1169, y), BlockColour(7, y * 6 / 800)) << "right edge, row " << y;
        for (int x = 0; x < 105; ++x) {
            EXPECT_EQ(at(x, y), 0u) << x << "," << y;
            EXPECT_EQ(at(1279 - x, y), 0u) << 1279 - x << "," << y;
        }
    }
    presenter.close();
}

TEST(Presenter, HandingFramesOverNeverWaitsForTheDisplay)
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already runs in this process";
    plat::setMainThread();
    plat::Presenter presenter;
    plat::PresenterOptions options;
    options.width = 64;
    options.height = 48;
    options.vsync = true;
    ASSERT_TRUE(presenter.open(options));
    // The main thread shows nothing while the worker hands over a second's
    // worth of frames at 60 a second: the worker must not wait for it.
    const auto frame = TestFrame(64, 48);
    std::promise<void> handedOver;
    std::thread worker([&] {
        for (int i = 0; i < 60; ++i)
            EXPECT_TRUE(presenter.present(frame.data(), 64, 48));
        handedOver.set_value();
    });
    // Far more than sixty copies of a small frame take on any machine, and
    // far less than a display that each of them would wait for.
    const auto status = handedOver.get_future().wait_for(std::chrono::seconds(2));
    EXPECT_EQ(status, std::future_status::ready) << "the worker waited for the display";
    EXPECT_EQ(presenter.framesShown(), 0u);
    EXPECT_TRUE(PumpUntilShown(presenter, 60));
    worker.join();
    presenter.close();
}

} // namespace
