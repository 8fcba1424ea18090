// Writes the seed corpus of the database fuzz target into the folder given
// on the command line: every file kind as the records' own save code writes
// it, default and filled, and the same bytes stamped with older versions so
// that the upgrade paths are reached.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/ed_database.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "database_kinds.h"
#include "seed_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The file and copies of it that claim older versions.
bool writeWithVersions(const std::filesystem::path& dir, const std::string& name, int kind,
                       Bytes file)
{
    bool ok = WriteSeed(dir, name, kind, file);
    for (std::int32_t version : {100, 160, 200, 300}) {
        for (int i = 0; i < 4; ++i)
            file[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(version >> (8 * i));
        ok = WriteSeed(dir, name + "_v" + std::to_string(version), kind, file) && ok;
    }
    return ok;
}

cEdDatabase filledDatabase()
{
    cEdDatabase db;
    db.AnimeSet.resize(2);
    db.AnimeSet[1].m_Name = "set";
    db.Anime[1].m_Frames.resize(3);
    db.Anime[1].m_Frames[1].m_Hold = 1;
    db.Effect[1].m_Frames.resize(2);
    db.Effect[1].m_FileName = "bmp\\fx.bmp";
    db.CharaEffect[1].m_Kind = 4;
    db.CharaEffect[1].m_Param[0] = 10;
    db.CharaEffect[1].m_Param[2] = 90;
    db.ScrEffect[1].m_Kind = 1;
    db.SwordType[0].m_Parts.resize(2);
    db.Sound[1].m_FileName = "se\\a.wav";
    db.Bgm[1].m_FileName = "bgm\\a.mid";
    db.Bmp_CharaExc[1].m_Large = 1;
    return db;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    bool ok = true;

    cEdDatabase defaults;
    cEdDatabase filled = filledDatabase();
    for (int table = 0; table < kDatabaseTables; ++table) {
        const std::string name = "table" + std::to_string(table);
        ok =
            writeWithVersions(dir, name + "_default", table, TableFileBytes(defaults, table)) && ok;
        ok = writeWithVersions(dir, name + "_filled", table, TableFileBytes(filled, table)) && ok;
    }

    cEdSystem system;
    ok = writeWithVersions(dir, "system_default", kSystemKind, SaveToBytes(system)) && ok;
    system.strTitle = "Game";
    system.vMusicNo = {1, 0, 1, 0};
    ok = writeWithVersions(dir, "system_filled", kSystemKind, SaveToBytes(system)) && ok;

    cEdWorldMap map;
    ok = writeWithVersions(dir, "worldmap_default", kWorldMapKind, SaveToBytes(map)) && ok;
    map.m_Events.resize(2);
    map.m_Events[1].m_X = 3;
    map.m_Events[1].m_Items.resize(2);
    map.m_Cells[5] = 7;
    ok = writeWithVersions(dir, "worldmap_filled", kWorldMapKind, SaveToBytes(map)) && ok;

    return ok ? 0 : 1;
}
