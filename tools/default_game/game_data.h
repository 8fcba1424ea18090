#pragma once
// The author's data of the default game, each part built as the runtime's
// own records. Saving a record checks its references against the runtime's
// live tables (g_Database, g_CommonPalette), so the parts are made live in
// the order the runtime loads them before the next part is saved.

#include "data/ed_database.h"
#include "data/ed_palette.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"

namespace defgame {

// The ten database tables (catalogue.h names their records).
cEdDatabase gameDatabase();
// The common palette: the game's blocks, characters and items.
cEdPalette gameCommonPalette();
// The system data: title, sounds, music, menus, lives and the System.ini keys.
cEdSystem gameSystem();
// The world map with the story stages' entries.
cEdWorldMap gameWorldMap();

// Writes the database's table files into default\database\.
void writeDatabase(cEdDatabase& database);
// Writes every stage file into default\stg4\ (needs the common palette live).
void writeStages();

// The story stages in the order of the world map: their files (as the
// world map names them) and titles.
struct StoryStage {
    const char* file;  // data\stg4\..., the newest numbered file of the name is played
    const char* title; // UTF-8
};
const std::vector<StoryStage>& storyStages();
// The number of challenge stages.
int challengeStageCount();

} // namespace defgame
