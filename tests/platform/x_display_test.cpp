// The tests that need a screen wait for the shared virtual display until it
// takes them, and keep it from resetting while they run: an X server whose
// last client leaves resets, and refuses whoever comes meanwhile.
#include "support/own_x_server.h"
#include "support/scoped_env.h"
#include "support/x_display.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace {

TEST(XDisplayWait, ATestWaitsForADisplayThatAnswersLate)
{
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display (the test script runs Xvfb)";
    if (test::OwnXServer().display().empty()) GTEST_SKIP() << "Xvfb cannot be started";
    const int number = test::OwnXServer::freeNumber();
    test::ScopedEnv display("DISPLAY", ":" + std::to_string(number));
    std::unique_ptr<test::OwnXServer> server;
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        server = std::make_unique<test::OwnXServer>(number);
    });
    {
        test::XDisplay x(60);
        EXPECT_TRUE(x.held());
        EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        EXPECT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    late.join();
}

TEST(XDisplayWait, TheDisplayAnswersEachTimeATestOpensItsVideoAgain)
{
    test::XDisplay x;
    if (!x.present()) GTEST_SKIP() << "no X display (the test script runs Xvfb)";
    ASSERT_TRUE(x.held());
    int refused = 0;
    for (int i = 0; i < 100; ++i) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            ++refused;
            continue;
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    EXPECT_EQ(refused, 0) << SDL_GetError();
}

} // namespace
