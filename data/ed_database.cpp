#include "data/ed_database.h"

#include <cstdint>
#include <string>
#include <type_traits>

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

// The element that the records of a table start from as they are read.
template <class T> T defaultRecord()
{
    T record;
    record.Clear();
    return record;
}

template <> cEdAnimeSet defaultRecord()
{
    cEdAnimeSet animeSet;
    animeSet.SetDefaults();
    return animeSet;
}

template <> cEdAnime defaultRecord()
{
    cEdAnime anime;
    anime.Reset();
    return anime;
}

template <> cEdSwordType defaultRecord()
{
    cEdSwordType swordType;
    swordType.SetDefaults();
    return swordType;
}

template <> cEdEffect defaultRecord()
{
    cEdEffect effect;
    effect.SetDefaults();
    return effect;
}

// Calls f with table number table (the file order); false, without a call,
// when there is no such table.
template <class F> bool visitTable(cEdDatabase& db, int table, F f)
{
    switch (table) {
    case 0:
        f(db.AnimeSet);
        return true;
    case 1:
        f(db.Anime);
        return true;
    case 2:
        f(db.Bmp_CharaExc);
        return true;
    case 3:
        f(db.SwordType);
        return true;
    case 4:
        f(db.Effect);
        return true;
    case 5:
        f(db.CharaEffect);
        return true;
    case 6:
        f(db.ScrEffect);
        return true;
    case 7:
        f(db.Picture);
        return true;
    case 8:
        f(db.Sound);
        return true;
    case 9:
        f(db.Bgm);
        return true;
    default:
        return false;
    }
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
    bool loaded = false;
    visitTable(*this, table, [&](auto& records) {
        using Record = typename std::decay_t<decltype(records)>::value_type;
        loaded = loadTable(records, f, defaultRecord<Record>());
    });
    return loaded;
}

bool cEdDatabase::SaveTable(int table, ByteWriter& f)
{
    return visitTable(*this, table, [&](auto& records) { SaveVector(records, f); });
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
