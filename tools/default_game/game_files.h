#pragma once
// Writing the files of the game folder. Every path is a game path (Shift-JIS,
// backslashes) relative to the current folder, which the generator makes the
// game folder being written; missing folders on the way are made. A file that
// cannot be written throws, so that the build fails instead of shipping a
// game with a hole in it.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/ed_data.h"
#include "data/ed_database.h"

namespace defgame {

// A file the generator makes itself (a picture, a sound, a tune).
struct GeneratedFile {
    std::string path; // game path
    std::vector<std::uint8_t> bytes;
};

// The path in the default folder of an author's data file named by its path
// in the data folder: "data\System.dat" gives "default\System.dat".
std::string inDefault(std::string_view dataPath);

// Makes the folder that holds the file of a game path.
void makeParentFolder(std::string_view gamePath);

// Writes bytes as the whole file.
void writeGameFile(std::string_view gamePath, const std::vector<std::uint8_t>& bytes);

// Writes a record as a data file through the record's own save code.
void saveRecord(cEdData& record, std::string_view gamePath);

// Writes table number table of a database (0 AnimeSet to 9 Bgm) as its
// table file: the data version, the record count and each record, through
// the records' own save code.
void saveTable(cEdDatabase& database, int table, std::string_view gamePath);

} // namespace defgame
