#pragma once
// The 8-bit mode's blend tables, one per palette variant of the options
// (bmp\hbt\hbt00.dat to hbt23.dat). Entry a x 256 + b of a table is the
// palette number whose colour is nearest to the even mix of the colours of
// numbers a and b in that variant's palette: what a half-translucent pixel
// of colour a over colour b shows. A mix never gives the transparent colour
// (number 0) nor a colour that cycles (208 to 239).

#include <vector>

#include "tools/default_game/game_files.h"

namespace defgame {

inline constexpr int kPaletteVariants = 24;

// The files of all variants.
std::vector<GeneratedFile> blendTableFiles();

} // namespace defgame
