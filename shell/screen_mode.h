#pragma once
// The screen mode of the start-up: window or full screen, colour depth and
// vertical sync from System.ini's choices, the game's colour mode and the
// desktop's depth. Full screen covers the desktop without changing the
// display mode, and a window shows our own display, so the depth is the
// graphics layer's own: the desktop's only chooses an automatic depth in a
// window.

#include <cstdint>

struct ScreenMode {
    std::int32_t windowed = 1;
    std::int32_t bpp = 32;
    std::int32_t vsync = 0;
    // Empty when the mode can run; else the Shift-JIS message that says why not.
    const char* error = nullptr;
};

// direct3d is 0 or 1 here (the start-up dialog has resolved 2).
ScreenMode DecideScreenMode(int direct3d, int windowMode, int bpp, int vsync, int fullColour,
                            int desktopBpp);
