#pragma once
// The file kinds of the author's data that the database fuzz target feeds:
// the first byte of an input picks one, the rest is the file.

#include <cstdint>
#include <vector>

#include "data/ed_database.h"

// 0 to 9 the database tables in their file order, then these two.
inline constexpr int kSystemKind = 10;
inline constexpr int kWorldMapKind = 11;
inline constexpr int kFileKinds = 12;

// The file image of one table of a database (version and table body).
inline std::vector<std::uint8_t> TableFileBytes(cEdDatabase& db, int table)
{
    ByteWriter w;
    w.writeI32(g_DataVersion);
    db.SaveTable(table, w);
    return w.take();
}
