#pragma once
// Runs the whole program in the test's process: GameMain on this (the
// main) thread, and a driver thread that waits for the game to run, does
// what the test asks while it runs, and then closes the window the way the
// player does.

#include "platform/game_window.h"
#include "shell/app_state.h"
#include "shell/entry.h"

#include <gtest/gtest.h>

#include <time.h>

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
    std::string endedWhy;   // why the program would have ended the process
};

// While the program runs in a test it may not end the test's process: its
// end (a worker that would not stop) is recorded instead, and fails the test
// naming the thread unless the test expects it (`expected` is then called).
class EndInTest {
public:
    explicit EndInTest(std::function<void()> expected = nullptr)
    {
        SetEndProcess([this, expected](int, const std::string& why) {
            this->why = why;
            if (expected) {
                expected();
            } else {
                ADD_FAILURE() << "the program would have ended the test's process: " << why;
            }
        });
    }
    ~EndInTest() { SetEndProcess(nullptr); }
    EndInTest(const EndInTest&) = delete;
    EndInTest& operator=(const EndInTest&) = delete;

    std::string why;
};

// GameMain as the program's main would call it, with the test's end.
inline int RunMain(int argc, char** argv)
{
    EndInTest end;
    return GameMain(argc, argv);
}

// How many times longer than its own processor time a thread of this
// process takes now: about 1 on a quiet machine, more on a busy one where
// threads wait for a processor. Measured by a short spin of the caller.
inline double MachineLoad()
{
    auto cpu = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    };
    constexpr auto kSpin = std::chrono::milliseconds(20);
    const auto wallStart = std::chrono::steady_clock::now();
    const auto cpuStart = cpu();
    while (cpu() - cpuStart < kSpin) {
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
    return wall / (cpu() - cpuStart);
}

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
// wait for the game to run: `whileRunning` starts with the program. A test
// that expects the program to give up on a worker passes `atProcessEnd`.
inline GameRun RunGame(std::vector<std::string> args,
                       const std::function<void()>& whileRunning = nullptr,
                       bool duringStartUp = false,
                       const std::function<void()>& atProcessEnd = nullptr)
{
    GameRun run;
    EndInTest processEnd(atProcessEnd);
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
    run.endedWhy = processEnd.why;
    if (closedAt) {
        run.closeToEndMs =
            static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::duration(end - closedAt.load()))
                                  .count());
    }
    return run;
}

} // namespace test
