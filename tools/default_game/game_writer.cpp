#include "tools/default_game/game_writer.h"

#include <string>

#include "data/ed_data.h"
#include "data/path_table.h"
#include "tools/default_game/blend_tables.h"
#include "tools/default_game/bmp_file.h"
#include "tools/default_game/game_data.h"
#include "tools/default_game/game_files.h"
#include "tools/default_game/music.h"
#include "tools/default_game/pictures.h"
#include "tools/default_game/sounds.h"
#include "tools/default_game/system_ini.h"

namespace defgame {

void writeGame()
{
    g_DataVersion = kDataVersion;

    // The author's data, in the order the runtime loads it: each part is
    // made live before the next is saved, since saving checks references.
    g_Database = gameDatabase();
    writeDatabase(g_Database);
    g_CommonPalette = gameCommonPalette();
    saveRecord(g_CommonPalette, inDefault(g_PathTable[PATH_COMMON_PALETTE]));
    g_System = gameSystem();
    saveRecord(g_System, inDefault(g_PathTable[PATH_SYSTEM]));
    g_WorldMap = gameWorldMap();
    saveRecord(g_WorldMap, inDefault(g_PathTable[PATH_WORLD_MAP]));
    writeStages();

    for (auto* pictures : {&playPictures, &screenPictures, &worldPictures})
        for (const Picture& p : (*pictures)())
            writeGameFile(p.path, encodeBmp(p.canvas));
    for (const GeneratedFile& f : blendTableFiles())
        writeGameFile(f.path, f.bytes);
    for (const GeneratedFile& f : soundFiles())
        writeGameFile(f.path, f.bytes);
    for (const GeneratedFile& f : musicFiles())
        writeGameFile(f.path, f.bytes);
    const std::string ini = systemIniText();
    writeGameFile("System.ini", std::vector<std::uint8_t>(ini.begin(), ini.end()));
}

} // namespace defgame
