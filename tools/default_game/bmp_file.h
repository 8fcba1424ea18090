#pragma once
// The bytes of a Windows BMP file of an 8-bit picture with the game's
// palette as its colour table: the file and info headers (40 bytes), 256
// colours, then the rows bottom-up, each padded to four bytes.

#include <cstdint>
#include <vector>

#include "tools/default_game/canvas.h"

namespace defgame {

std::vector<std::uint8_t> encodeBmp(const Canvas& picture);

} // namespace defgame
