#pragma once
// Putting a freshly written game into the game folder. The generator writes
// the whole game into a staging folder beside the game folder and then
// replaces, one by one, the entries it owns (default\, the pictures, sounds
// and music, System.ini). What the runtime made there is kept: the player's
// user_data\, the run report, and data\, unless data\ is still an untouched
// copy of the old default\, in which case it becomes a copy of the new one.

#include <filesystem>
#include <string>
#include <vector>

namespace defgame {

// The top-level entries of the game folder that the generator writes.
const std::vector<std::string>& generatedEntries();

// Whether two folders hold the same files with the same bytes.
bool sameTree(const std::filesystem::path& a, const std::filesystem::path& b);

// Moves the generated entries of staging into game (made when missing),
// replacing what was there, and refreshes data\ as described above;
// staging is removed afterwards. Throws, before anything is replaced, when
// staging lacks an entry; and when an entry cannot be moved.
void installGame(const std::filesystem::path& staging, const std::filesystem::path& game);

} // namespace defgame
