// Feeds a file of the author's data (a database table, the system data or
// the world map) to its loader. The first byte picks the kind, the rest is
// the file. Loading must never crash, hang or allocate without bound; a file
// that loads must save and load again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "data/ed_database.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "database_kinds.h"
#include "round_trip.h"
#include "world/database_tables.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void fuzzTable(int table, std::span<const std::uint8_t> file)
{
    cEdDatabase db;
    auto stream = OpenReadBytes(Bytes(file.begin(), file.end()));
    if (!db.LoadTable(table, stream->in)) return;
    db.Check();

    const Bytes saved = TableFileBytes(db, table);
    cEdDatabase again;
    auto reread = OpenReadBytes(saved);
    Require(again.LoadTable(table, reread->in));
    again.Check();
    Require(TableFileBytes(again, table) == saved);

    // The run-time tables are built from whatever loaded.
    g_Database = db;
    BuildDatabaseTables();
}

// Looks up every cell of a loaded map, and one beyond each edge.
void probeWorldMap(const cEdWorldMap& map)
{
    for (int y = -1; y <= map.m_Height && y < 64; ++y) {
        for (int x = -1; x <= map.m_Width && x < 64; ++x) {
            map.ChipAt(x, y);
            map.FindEvent(x, y);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    g_StripCR = 1;
    const int kind = data[0] % kFileKinds;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    if (kind < kDatabaseTables) {
        fuzzTable(kind, file);
    } else if (kind == kSystemKind) {
        cEdSystem system;
        FuzzRecordFile(system, file);
    } else {
        cEdWorldMap map;
        if (FuzzRecordFile(map, file)) probeWorldMap(map);
    }
    return 0;
}
