// The database: animations of the characters, the burst effect, the sword,
// and the sound and music records.
#include <stdexcept>
#include <string>

#include "core/sjis_text.h"
#include "tools/default_game/catalogue.h"
#include "tools/default_game/game_data.h"
#include "tools/default_game/game_files.h"
#include "tools/default_game/music.h"
#include "tools/default_game/pictures.h"
#include "tools/default_game/sounds.h"

namespace defgame {
namespace {

struct FrameSpec {
    int picture; // column of the character's row
    int time;    // tenths of a second
};

cEdAnime anime(const char* name, const std::vector<FrameSpec>& frames)
{
    cEdAnime a;
    a.Reset();
    a.m_Name = Sjis(name);
    a.SetFrameCount(static_cast<int>(frames.size()));
    for (std::size_t i = 0; i < frames.size(); ++i) {
        a.m_Frames[i].m_PictureNo = frames[i].picture;
        a.m_Frames[i].m_Time = frames[i].time;
    }
    return a;
}

// A character's four state animations: standing, moving, flying, moving
// while flying (the frames are columns of the character's own row).
struct AnimeSetSpec {
    AnimeSetRecord record;
    const char* name;
    std::vector<FrameSpec> standing, moving, flying, flyingMoving;
};

const std::vector<AnimeSetSpec>& animeSets()
{
    static const std::vector<AnimeSetSpec> sets = {
        {ANIMESET_HERO,
         "主人公",
         {{FRAME_STAND, 1}},
         {{FRAME_WALK_A, 1}, {FRAME_STAND, 1}, {FRAME_WALK_B, 1}, {FRAME_STAND, 1}},
         {{FRAME_AIR, 1}},
         {{FRAME_AIR, 1}}},
        {ANIMESET_WALKER,
         "スライム",
         {{FRAME_STAND, 3}, {FRAME_WALK_B, 3}},
         {{FRAME_STAND, 2}, {FRAME_WALK_A, 2}, {FRAME_STAND, 2}, {FRAME_WALK_B, 2}},
         {{FRAME_AIR, 1}},
         {{FRAME_AIR, 1}}},
        {ANIMESET_HOPPER,
         "カエル",
         {{FRAME_STAND, 8}, {FRAME_WALK_B, 2}},
         {{FRAME_WALK_B, 1}, {FRAME_AIR, 3}},
         {{FRAME_AIR, 1}},
         {{FRAME_AIR, 1}}},
    };
    return sets;
}

cEdAnimeSet animeSet(const AnimeSetSpec& spec)
{
    cEdAnimeSet set;
    set.m_Name = Sjis(spec.name);
    const std::vector<FrameSpec>* states[4] = {&spec.standing, &spec.moving, &spec.flying,
                                               &spec.flyingMoving};
    for (int i = 0; i < 4; ++i) {
        const std::string stateName = set.m_Animes[static_cast<std::size_t>(i)].m_Name;
        set.m_Animes[static_cast<std::size_t>(i)] = anime("", *states[i]);
        set.m_Animes[static_cast<std::size_t>(i)].m_Name = stateName;
    }
    return set;
}

// Checks that the records of a table come in index order.
template <class List> void checkOrder(const List& records, const char* table)
{
    for (std::size_t i = 0; i < records.size(); ++i)
        if (static_cast<std::size_t>(records[i]) != i)
            throw std::logic_error(std::string("the records of ") + table + " are out of order");
}

} // namespace

cEdDatabase gameDatabase()
{
    cEdDatabase db;

    db.AnimeSet.clear();
    for (const AnimeSetSpec& spec : animeSets()) {
        if (static_cast<std::size_t>(spec.record) != db.AnimeSet.size())
            throw std::logic_error("the animation sets are out of order");
        db.AnimeSet.push_back(animeSet(spec));
    }

    db.Anime = {anime("なし", {{0, 1}}), anime("ジャンプ", {{FRAME_AIR, 1}})};
    if (db.Anime.size() != ANIME_JUMP + 1) throw std::logic_error("animations out of order");

    cEdBmpCharaExc noPicture;
    noPicture.m_Name = Sjis("なし");
    db.Bmp_CharaExc = {noPicture};

    // The sword: one swing of the blade in front of its owner.
    cEdSwordType sword;
    sword.m_Name = Sjis("ソード");
    sword.m_FileName1 = kSwordPicture;
    sword.m_FileName2 = kSwordPicture;
    // Offsets 0, 0; mirrored across; placed in front; taken from (0, 8) of
    // the picture, 64 x 16; shown for 0.2 seconds.
    const std::int32_t swing[10] = {0, 0, 1, 0, 0, 0, 8, 64, 16, 2};
    std::copy(std::begin(swing), std::end(swing), sword.m_Parts.at(0).m_Setting);
    db.SwordType = {sword};

    cEdEffect noEffect;
    noEffect.SetDefaults();
    noEffect.m_Name = Sjis("なし");
    cEdEffect burst;
    burst.SetDefaults();
    burst.m_Name = Sjis("バースト");
    burst.m_FileName = kBurstPicture;
    for (int f = 0; f < kBurstFrames; ++f) {
        cEdEffectFrame frame;
        frame.m_PictureNo = f;
        frame.m_Time = 1;
        burst.m_Frames.push_back(frame);
    }
    db.Effect = {noEffect, burst};
    if (db.Effect.size() != EFFECT_BURST + 1) throw std::logic_error("effects out of order");

    cEdCharaEffect noCharaEffect;
    noCharaEffect.m_Name = Sjis("なし");
    noCharaEffect.m_Kind = 0;
    db.CharaEffect = {noCharaEffect};
    cEdScrEffect noScrEffect;
    noScrEffect.m_Name = Sjis("なし");
    noScrEffect.m_Kind = 0;
    db.ScrEffect = {noScrEffect};

    cEdPicture noPictureRecord;
    noPictureRecord.m_Name = Sjis("なし");
    db.Picture = {noPictureRecord};

    checkOrder(soundRecords(), "Sound");
    db.Sound.clear();
    for (SoundRecord r : soundRecords()) {
        cEdSound s;
        s.m_Name = Sjis(soundRecordName(r));
        s.m_FileName = soundRecordFile(r);
        db.Sound.push_back(s);
    }

    checkOrder(musicRecords(), "Bgm");
    db.Bgm.clear();
    for (BgmRecord r : musicRecords()) {
        cEdBgm b;
        b.m_Name = Sjis(musicName(r));
        b.m_FileName = musicFile(r);
        db.Bgm.push_back(b);
    }
    return db;
}

void writeDatabase(cEdDatabase& db)
{
    for (int table = 0; table < kDatabaseTables; ++table)
        saveTable(db, table, inDefault(kDatabaseFiles[table]));
}

} // namespace defgame
