#pragma once
// The tests that need a real screen run on the X server that the test
// script starts (Xvfb); without one they are skipped.
//
// The test programs run side by side on that one server, which has no
// window manager: there SDL gives the keyboard to every window it shows,
// so another program's window would take it from a game under test (which
// then pauses and lets its keys go) or from a dialog. A test holds the
// display for itself while its windows are up. On a busy machine the
// server may be slow to take a new client: the test waits until it does.

#include "support/scoped_env.h"

#include <SDL.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

namespace test {

class XDisplay {
public:
    // With a display: the X server's software GL driver, which SDL loads,
    // is kept loaded (unloaded at SDL's shutdown it leaves memory behind,
    // which the leak check would blame on the test); SDL is sent to X; and
    // the display is waited for, up to `seconds`: until no other test holds
    // it and SDL can open it.
    explicit XDisplay(int seconds = 120)
    {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) return;
        present_ = true;
        for (const char* driver :
             {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "/usr/lib/dri/swrast_dri.so"})
            if (dlopen(driver, RTLD_NOW | RTLD_NODELETE)) break;
        driver_.emplace("SDL_VIDEODRIVER", "x11");
        std::string name = "/tmp/rt-x-display";
        for (const char* c = display; *c; ++c)
            name += (*c >= '0' && *c <= '9') ? *c : '-';
        fd_ = ::open((name + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0666);
        if (fd_ < 0) return;
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!(held_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0)) {
            if (std::chrono::steady_clock::now() > limit) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        while (!answers()) {
            if (std::chrono::steady_clock::now() > limit) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~XDisplay()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // Whether there is a display to run on.
    bool present() const { return present_; }
    // Whether this test has it to itself.
    bool held() const { return held_; }

private:
    // Whether SDL can start its video on the display now.
    static bool answers()
    {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return true;
    }

    bool present_ = false;
    bool held_ = false;
    int fd_ = -1;
    std::optional<ScopedEnv> driver_;
};

} // namespace test
