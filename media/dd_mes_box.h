#pragma once
// A message box over the full-screen game.

#include <cstdint>

// Shows a box owned by the main window while the game owns the whole
// screen. Returns 1 when the box was shown, 0 when it could not be; the
// button pressed is not reported.
int DDMesBox(const char* text, const char* caption, std::uint32_t type);
