// The presenter: a frame handed over on another thread is shown by the main
// thread, and the window then holds exactly its pixels, under the dummy
// video driver and under X (when a display is there); larger windows show
// the frame scaled by whole multiples with bars around it.

#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/message_loop.h"
#include "platform/presenter.h"
#include "platform/presenter_pump.h"
#include "support/scoped_env.h"
#include "support/x_display.h"

namespace {

using test::PumpUntilShown;

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
    std::thread worker([&] { EXPECT_TRUE(presenter.present(frame.data(), width, height, true)); });
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
    EXPECT_FALSE(presenter.present(frame.data(), 6, 8, false));
    EXPECT_TRUE(presenter.present(frame.data(), 8, 6, false));
    EXPECT_TRUE(presenter.service());
    EXPECT_FALSE(presenter.service()) << "nothing new to show";
    presenter.close();
    EXPECT_FALSE(presenter.present(frame.data(), 8, 6, true));
    EXPECT_FALSE(SDL_WasInit(SDL_INIT_VIDEO)) << "the video it started is stopped again";
}

TEST(Presenter, LargerWindowShowsWholeMultiplesWithBars)
{
    if (SDL_WasInit(SDL_INIT_VIDEO)) GTEST_SKIP() << "video already runs in this process";
    plat::setMainThread();
    plat::Presenter presenter;
    plat::PresenterOptions options;
    options.width = 4;
    options.height = 3;
    ASSERT_TRUE(presenter.open(options));
    SDL_SetWindowSize(presenter.window(), 10, 7);
    const auto frame = TestFrame(4, 3);
    ASSERT_TRUE(presenter.present(frame.data(), 4, 3, false));
    ASSERT_TRUE(presenter.service());
    std::vector<std::uint32_t> shown;
    int w = 0, h = 0;
    ASSERT_TRUE(presenter.readPixels(shown, w, h));
    ASSERT_EQ(w, 10);
    ASSERT_EQ(h, 7);
    // Twice the size (8 x 6) in the middle: one column of bar each side,
    // and the one spare row.
    auto at = [&](int x, int y) { return shown[static_cast<std::size_t>(y) * w + x]; };
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(at(1 + x, y), frame[static_cast<std::size_t>(y / 2) * 4 + x / 2])
                << x << "," << y;
        }
    EXPECT_EQ(at(0, 0), 0u);
    EXPECT_EQ(at(9, 3), 0u);
    presenter.close();
}

} // namespace
