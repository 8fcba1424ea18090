#pragma once
// Writes every file of the default game into the current folder.

namespace defgame {

void writeGame();

} // namespace defgame
