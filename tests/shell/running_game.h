#pragma once
// Runs the whole program in the test's process: GameMain on this (the
// main) thread, and a driver thread that waits for the game to run, does
// what the test asks while it runs, and then closes the window the way the
// player does.

#include "platform/game_window.h"
#include "shell/app_state.h"
#include "shell/entry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace test {

struct GameRun {
    int status = -1;
    bool ran = false;       // the start-up succeeded and the game ran
    long closeToEndMs = -1; // from the close request to GameMain's return
};

// Waits for a condition for up to `seconds`; false when it never held.
inline bool WaitFor(const std::function<bool()>& done, int seconds = 20)
{
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Runs the program with the arguments. Once it runs, `whileRunning` is
// called on the driver thread, then the window is closed. A start-up that
// fails simply returns its status. With `duringStartUp` the driver does not
// wait for the game to run: `whileRunning` starts with the program.
inline GameRun RunGame(std::vector<std::string> args,
                       const std::function<void()>& whileRunning = nullptr,
                       bool duringStartUp = false)
{
    GameRun run;
    std::atomic<bool> returned{false};
    std::atomic<long long> closedAt{0};
    std::thread driver([&] {
        if (!duringStartUp) {
            if (!WaitFor([&] { return g_Initialised.load() == 1 || returned.load(); })) return;
            if (returned) return;
            run.ran = true;
        }
        if (whileRunning) whileRunning();
        closedAt = std::chrono::steady_clock::now().time_since_epoch().count();
        // Asked again until it ends: a close that meets the pause only stops it.
        while (!returned) {
            plat::requestWindowClose();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    std::vector<char*> argv{const_cast<char*>("quenholt")};
    for (std::string& a : args)
        argv.push_back(a.data());
    run.status = GameMain(static_cast<int>(argv.size()), argv.data());
    const auto end = std::chrono::steady_clock::now().time_since_epoch().count();
    returned = true;
    driver.join();
    if (closedAt) {
        run.closeToEndMs =
            static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::duration(end - closedAt.load()))
                                  .count());
    }
    return run;
}

} // namespace test
