#pragma once
// Every picture of the default game with the file it goes to: the pictures
// of the runtime's fixed bitmap table and those that the game's data names
// (effect, sword and background pictures).

#include <string>
#include <vector>

#include "tools/default_game/canvas.h"

namespace defgame {

struct Picture {
    std::string path; // game path
    Canvas canvas;
};

// Pictures named by the data.
inline constexpr const char* kBurstPicture = "bmp\\effect\\Burst.bmp";
inline constexpr const char* kSwordPicture = "bmp\\sword\\Sword.bmp";
inline constexpr const char* kMeadowPicture = "bmp\\back\\Meadow.bmp";
inline constexpr const char* kDuskPicture = "bmp\\back\\Dusk.bmp";

// The sheets of play: blocks, characters, shots, items, marks, the burst
// effect and the sword.
std::vector<Picture> playPictures();
// The screens: palette, debug chart, title, menu pictures, window, status
// bar, accessories, symbols, words and digits, and the stage backgrounds.
std::vector<Picture> screenPictures();
// The world map's chips and event signs.
std::vector<Picture> worldPictures();

} // namespace defgame
