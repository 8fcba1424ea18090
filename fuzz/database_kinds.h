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
    switch (table) {
    case 0:
        SaveVector(db.AnimeSet, w);
        break;
    case 1:
        SaveVector(db.Anime, w);
        break;
    case 2:
        SaveVector(db.Bmp_CharaExc, w);
        break;
    case 3:
        SaveVector(db.SwordType, w);
        break;
    case 4:
        SaveVector(db.Effect, w);
        break;
    case 5:
        SaveVector(db.CharaEffect, w);
        break;
    case 6:
        SaveVector(db.ScrEffect, w);
        break;
    case 7:
        SaveVector(db.Picture, w);
        break;
    case 8:
        SaveVector(db.Sound, w);
        break;
    case 9:
        SaveVector(db.Bgm, w);
        break;
    default:
        break;
    }
    return w.take();
}
