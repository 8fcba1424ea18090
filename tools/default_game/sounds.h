#pragma once
// The default game's sound effects: the 17 system sounds that the system
// data names by slot, and the sounds of the database's Sound table.

#include <array>
#include <vector>

#include "tools/default_game/catalogue.h"
#include "tools/default_game/game_files.h"

namespace defgame {

// The file of each system sound slot 0 to 16.
const std::array<const char*, 17>& systemSoundFiles();
// The file of a record of the Sound table ("" for record 0, none).
const char* soundRecordFile(SoundRecord record);
// The name of a record of the Sound table (UTF-8).
const char* soundRecordName(SoundRecord record);
// Every record of the Sound table, 0 first.
const std::vector<SoundRecord>& soundRecords();

// The WAV files of all of them.
std::vector<GeneratedFile> soundFiles();

} // namespace defgame
