#pragma once
// What every layer may know of the display: whether the graphics layer is
// set up, whether the game runs in a window and its colour depth. The
// graphics set-up writes them on the main thread before the game thread
// starts; boxes and the run report read them.

#include <cstdint>

// 1 once the graphics layer has been set up, 0 before and after.
extern std::int32_t g_DDReady;
// 1 when the game runs in a window, 0 in full screen.
extern std::int32_t g_DDWindowed;
// Colour depth of the graphics layer: 8, 16 or 32 bits per pixel.
extern std::int32_t g_DDBpp;
