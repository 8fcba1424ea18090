#pragma once
// The default game's music: one short looping tune per record of the
// database's Bgm table, each a standard MIDI file.

#include <vector>

#include "tools/default_game/catalogue.h"
#include "tools/default_game/game_files.h"

namespace defgame {

// The file of a Bgm record ("" for record 0, which stops the music).
const char* musicFile(BgmRecord record);
// The name of a Bgm record (UTF-8).
const char* musicName(BgmRecord record);
// Every record of the Bgm table, 0 first.
const std::vector<BgmRecord>& musicRecords();

// The MIDI files of all tunes.
std::vector<GeneratedFile> musicFiles();

} // namespace defgame
