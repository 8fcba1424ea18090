#pragma once
// The author's database: the shared catalogue of animations, pictures,
// effects, sounds and music, one table per file in data\database\. Stage
// files, definitions and commands name its records by their index; in
// several tables record 0 stands for "none" (sound 0 plays nothing, music 0
// stops the music, CharaEffect and ScrEffect record 0 have kind 0). Read
// once at start-up into g_Database and never written by the runtime.

#include <vector>

#include "data/ed_anime.h"
#include "data/ed_data.h"
#include "data/ed_effect.h"
#include "data/ed_picture.h"
#include "data/ed_sword_type.h"
#include "data/path_table.h"

class cEdDatabase : public cEdData {
public:
    std::vector<cEdAnimeSet> AnimeSet;
    std::vector<cEdAnime> Anime;
    std::vector<cEdBmpCharaExc> Bmp_CharaExc;
    std::vector<cEdSwordType> SwordType;
    std::vector<cEdEffect> Effect;
    std::vector<cEdCharaEffect> CharaEffect;
    std::vector<cEdScrEffect> ScrEffect;
    std::vector<cEdPicture> Picture;
    std::vector<cEdSound> Sound;
    std::vector<cEdBgm> Bgm;
    // Copies of CharaEffect and ScrEffect made at start-up, whose start and
    // end parameters the reversed run states swap (world/database_tables.h).
    std::vector<cEdCharaEffect> m_CharaEffectRev;
    std::vector<cEdScrEffect> m_ScrEffectRev;

    // The default contents (SetDefaults); the copies empty.
    cEdDatabase();
    // The database has no members or strings of its own.
    void RegisterMembers(int version) override;

    // Replaces the ten stored tables by the default contents: 1 AnimeSet,
    // 2 Anime ("なし" and a second one), 1 SwordType, 2 of every other table.
    void SetDefaults();
    // Reads the ten table files in their order. 1 when all were read; 0 at
    // the first that is missing or damaged, after the error box
    // "%s のロードに失敗！" with its path. The tables are replaced only when
    // every file read cleanly: a failure leaves the database as it was.
    int LoadDatabase();
    // Reads the body of one table file (after its version: uint32 n and n
    // records) over table number table (0 AnimeSet to 9 Bgm, the file order).
    // False when the body is damaged or there is no such table.
    bool LoadTable(int table, plat::ByteReader& f);
    // Writes the body of table number table: uint32 n and its n records.
    // False, with nothing written, when there is no such table.
    bool SaveTable(int table, ByteWriter& f);
    // Record 0 of CharaEffect and of ScrEffect gets kind 0 (none); an empty
    // table has no record to reset.
    void Check();
};

// The file of each table, in the order they are read.
inline constexpr int kDatabaseTables = 10;
inline constexpr const char* kDatabaseFiles[kDatabaseTables] = {
    g_PathTable[PATH_DB_ANIME_SET],     g_PathTable[PATH_DB_ANIME],
    g_PathTable[PATH_DB_BMP_CHARA_EXC], g_PathTable[PATH_DB_SWORD_TYPE],
    g_PathTable[PATH_DB_EFFECT],        g_PathTable[PATH_DB_CHARA_EFFECT],
    g_PathTable[PATH_DB_SCR_EFFECT],    g_PathTable[PATH_DB_PICTURE],
    g_PathTable[PATH_DB_SOUND],         g_PathTable[PATH_DB_BGM],
};

// A record of a table by index, or null when the index is outside the table.
// References from stage data are reset into their tables when loaded, but a
// table of one record or none leaves nothing valid to reset them to: the
// users look records up here and treat a missing one as none.
template <class T> const T* RecordAt(const std::vector<T>& table, int index)
{
    if (index < 0 || index >= static_cast<int>(table.size())) return nullptr;
    return &table[static_cast<std::size_t>(index)];
}

// The same in a table whose records may be changed.
template <class T> T* RecordAt(std::vector<T>& table, int index)
{
    if (index < 0 || index >= static_cast<int>(table.size())) return nullptr;
    return &table[static_cast<std::size_t>(index)];
}

extern cEdDatabase g_Database;
