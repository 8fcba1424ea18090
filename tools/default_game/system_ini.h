#pragma once
// System.ini: the player's choice of graphics back end, window, colour
// depth, vertical sync, frame-rate display and a stage to play at once. The
// system data holds the same six keys as their defaults.

#include <string>
#include <vector>

namespace defgame {

struct SystemIniKey {
    const char* name;
    int value;
    const char* text; // the value of a text key; null for a number key
};

// The six keys in their fixed order: Direct3D, WindowMode, Bpp, VSync,
// ShowFps, FreeStage. The default game starts with the texture back end in a
// window at the desktop's depth, without asking.
const std::vector<SystemIniKey>& systemIniKeys();

// The file: one "key=value" line per key, then "Exit".
std::string systemIniText();

} // namespace defgame
