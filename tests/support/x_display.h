#pragma once
// The tests that need a real screen run on the X server that the test
// script starts (Xvfb); without one they are skipped.
//
// The test programs run side by side on that one server, which has no
// window manager: there SDL gives the keyboard to every window it shows,
// so another program's window would take it from a game under test (which
// then pauses and lets its keys go) or from a dialog. A test holds the
// display for itself while its windows are up.
//
// An X server started without -noreset (as xvfb-run starts it) resets when
// its last client leaves, and refuses the clients that come meanwhile: a
// test that closed SDL's video and opens it again would find the display
// "not available". A test keeps a connection of its own open while it holds
// the display, opened as soon as the server takes it.

#include "support/scoped_env.h"

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
    // it and the test's own connection is open.
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
        // Xlib as SDL's X driver finds it, kept loaded like the GL driver.
        xlib_ = dlopen("libX11.so.6", RTLD_NOW | RTLD_NODELETE);
        if (!xlib_) return;
        const auto open = reinterpret_cast<void* (*)(const char*)>(dlsym(xlib_, "XOpenDisplay"));
        if (!open) return;
        while (!(connection_ = open(nullptr))) {
            if (std::chrono::steady_clock::now() > limit) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~XDisplay()
    {
        if (connection_) {
            const auto close = reinterpret_cast<int (*)(void*)>(dlsym(xlib_, "XCloseDisplay"));
            if (close) close(connection_);
        }
        if (fd_ >= 0) ::close(fd_);
    }
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    // Whether there is a display to run on.
    bool present() const { return present_; }
    // Whether this test has it to itself, and it answers.
    bool held() const { return held_ && connection_; }

private:
    bool present_ = false;
    bool held_ = false;
    int fd_ = -1;
    void* xlib_ = nullptr;
    void* connection_ = nullptr; // the test's own, while it holds the display
    std::optional<ScopedEnv> driver_;
};

} // namespace test
