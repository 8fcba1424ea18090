#include "data/ed_database.h"

#include <cstdint>
#include <string>

#include "core/message_box.h"
#include "core/sjis_text.h"

cEdDatabase g_Database;

namespace {

// Reads a table body over the table: uint32 n, then n records. Records
// already present are read over (members an older file lacks keep their
// values); missing ones are copies of the default element.
template <class T>
bool loadTable(std::vector<T>& table, plat::ByteReader& f, const T& defaultElement)
{
    std::uint32_t n = 0;
    if (!f.readU32(n) || !f.checkCount(n, kMinRecordBytes)) return false;
    if (table.size() > n) table.erase(table.begin() + n, table.end());
    for (std::size_t i = 0; i < n; ++i) {
        // Made one at a time, as they are read (see LoadVector).
        if (i == table.size()) table.push_back(defaultElement);
        table[i].Load(f);
        if (f.failed()) return false;
    }
    if (g_StripCR) {
        for (T& record : table)
            record.StripCR();
    }
    return true;
}

template <class T> T clearedRecord()
{
    T record;
    record.Clear();
    return record;
}

} // namespace

cEdDatabase::cEdDatabase()
{
    SetDefaults();
}

void cEdDatabase::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
}

void cEdDatabase::SetDefaults()
{
    AnimeSet.assign(1, cEdAnimeSet{});
    cEdAnime anime;
    anime.Reset();
    Anime.assign(2, anime);
    Anime[0].m_Name = Sjis("なし");
    Anime[1].m_Name = Sjis("アニメ");
    Bmp_CharaExc.assign(2, cEdBmpCharaExc{});
    SwordType.assign(1, cEdSwordType{});
    Effect.assign(2, cEdEffect{});
    CharaEffect.assign(2, cEdCharaEffect{});
    ScrEffect.assign(2, cEdScrEffect{});
    Picture.assign(2, cEdPicture{});
    Sound.assign(2, cEdSound{});
    Bgm.assign(2, cEdBgm{});
}

bool cEdDatabase::LoadTable(int table, plat::ByteReader& f)
{
    switch (table) {
    case 0: {
        cEdAnimeSet animeSet;
        animeSet.SetDefaults();
        return loadTable(AnimeSet, f, animeSet);
    }
    case 1: {
        cEdAnime anime;
        anime.Reset();
        return loadTable(Anime, f, anime);
    }
    case 2:
        return loadTable(Bmp_CharaExc, f, clearedRecord<cEdBmpCharaExc>());
    case 3: {
        cEdSwordType swordType;
        swordType.SetDefaults();
        return loadTable(SwordType, f, swordType);
    }
    case 4: {
        cEdEffect effect;
        effect.SetDefaults();
        return loadTable(Effect, f, effect);
    }
    case 5:
        return loadTable(CharaEffect, f, clearedRecord<cEdCharaEffect>());
    case 6:
        return loadTable(ScrEffect, f, clearedRecord<cEdScrEffect>());
    case 7:
        return loadTable(Picture, f, clearedRecord<cEdPicture>());
    case 8:
        return loadTable(Sound, f, clearedRecord<cEdSound>());
    case 9:
        return loadTable(Bgm, f, clearedRecord<cEdBgm>());
    default:
        return false;
    }
}

int cEdDatabase::LoadDatabase()
{
    cEdDatabase fresh(*this);
    for (int table = 0; table < kDatabaseTables; ++table) {
        const char* path = kDatabaseFiles[table];
        auto file = OpenRead(path);
        if (!file || !fresh.LoadTable(table, file->in)) {
            ErrBoxF(Sjis("%s のロードに失敗！"), path);
            return 0;
        }
    }
    fresh.Check();
    *this = std::move(fresh);
    return 1;
}

void cEdDatabase::Check()
{
    if (!CharaEffect.empty()) CharaEffect[0].m_Kind = 0;
    if (!ScrEffect.empty()) ScrEffect[0].m_Kind = 0;
}
