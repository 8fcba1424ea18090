// The question whether to make data\ from default\, drawn on X as the player
// meets it on a first start: closing the program while it is up (a close
// signal, the window's close box) ends the program at once and quietly, as
// does Escape (No); no error box follows.
#include "platform/game_window.h"
#include "platform/message_loop.h"
#include "shell/running_game.h"
#include "support/generated_game.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/x_display.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace {

// What the player does once the question is on the screen, run by the main
// thread between two of its frames.
std::mutex g_Lock;
std::function<void()> g_Action;
// The dialogs shown: each has an ImGui context of its own, counting its
// frames from 0.
int g_DialogsSeen = 0;
ImGuiContext* g_LastContext = nullptr;
int g_LastFrame = 0;

void OnPump()
{
    std::lock_guard lock(g_Lock);
    ImGuiContext* context = ImGui::GetCurrentContext();
    if (!context) return;
    if (context != g_LastContext || ImGui::GetFrameCount() < g_LastFrame) ++g_DialogsSeen;
    g_LastContext = context;
    g_LastFrame = ImGui::GetFrameCount();
    // A few frames in, so that the question is drawn and takes input.
    if (g_Action && ImGui::GetFrameCount() > 3) std::exchange(g_Action, nullptr)();
}

void Play(std::function<void()> action)
{
    static std::once_flag registered;
    std::call_once(registered, [] { plat::addMainThreadService(OnPump); });
    std::lock_guard lock(g_Lock);
    g_Action = std::move(action);
    g_DialogsSeen = 0;
    g_LastContext = nullptr;
    g_LastFrame = 0;
}

struct Close {
    const char* name;
    std::function<void()> action;
    const char* reportLine;
};

TEST(StartUpQuestion, ClosingTheProgramWhileTheQuestionIsUpEndsItAtOnceAndQuietly)
{
    test::XDisplay x;
    if (!x.present()) GTEST_SKIP() << "no X display (the test script runs the tests under Xvfb)";
    ASSERT_TRUE(x.held()) << "another test kept the X display";
    const char* closed = "start-up ended: the window was closed";
    const Close cases[] = {
        {"SIGTERM", [] { std::raise(SIGTERM); }, closed},
        {"SIGINT", [] { std::raise(SIGINT); }, closed},
        {"TheWindowsCloseBox",
         [] {
             SDL_Event e{};
             e.type = SDL_WINDOWEVENT;
             e.window.event = SDL_WINDOWEVENT_CLOSE;
             if (SDL_Window* shown = SDL_GetKeyboardFocus())
                 e.window.windowID = SDL_GetWindowID(shown);
             SDL_PushEvent(&e);
         },
         closed},
        {"Escape",
         [] {
             plat::pushKeyEvent(SDL_SCANCODE_ESCAPE, true);
             plat::pushKeyEvent(SDL_SCANCODE_ESCAPE, false);
         },
         "start-up ended: the player chose not to make the data folder"},
    };
    for (const Close& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir game;
        test::copyGeneratedGame(game.path());
        test::ScopedCurrentDir cwd(game.path());
        test::ScopedEnv runtimeDir("XDG_RUNTIME_DIR", game.path().string());
        Play(c.action);
        // A box left waiting for the player is closed after a while, so that
        // the test fails rather than waits for ever.
        std::atomic<bool> returned{false};
        std::atomic<bool> waitedTooLong{false};
        std::thread watchdog([&] {
            const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(120);
            while (!returned) {
                if (std::chrono::steady_clock::now() > limit) {
                    waitedTooLong = true;
                    plat::requestWindowClose();
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        const int status = test::RunMain(0, nullptr);
        returned = true;
        watchdog.join();
        EXPECT_FALSE(waitedTooLong) << "a box waited for the player";
        EXPECT_EQ(status, 0);
        {
            std::lock_guard lock(g_Lock);
            EXPECT_EQ(g_DialogsSeen, 1) << "only the question was shown";
            g_Action = nullptr;
        }
        EXPECT_NE(game.read("Report_Game.txt").find(std::string(c.reportLine) + "\n"),
                  std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(game.path() / "data")) << "nothing made";
    }
}

} // namespace
