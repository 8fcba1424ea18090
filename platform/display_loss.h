#pragma once
// When the connection to the display breaks (the X server ended, or another
// program destroyed the window), Xlib calls exit(), which runs the
// destructors of the objects with static storage while the worker threads
// still use them. While a guard lives, a broken connection ends the process
// at once instead, without running any destructor: the player's files are
// whole at every moment (each is written aside and renamed), so nothing is
// lost.

#include <functional>

namespace plat {

class DisplayLossGuard {
public:
    // `ending` is told first. It runs on the thread that met the broken
    // connection, in the middle of what that thread was doing: it may write
    // a line to a file, nothing more (no waits, no windows).
    explicit DisplayLossGuard(std::function<void()> ending);
    ~DisplayLossGuard();
    DisplayLossGuard(const DisplayLossGuard&) = delete;
    DisplayLossGuard& operator=(const DisplayLossGuard&) = delete;
};

// The status the program ends with when its display goes.
inline constexpr int kDisplayLostStatus = 1;

namespace detail {
// Main thread, once SDL has connected to an X display: a broken connection
// then ends the program as the guard says (without a guard, as Xlib does).
void guardDisplayConnection();
} // namespace detail

} // namespace plat
