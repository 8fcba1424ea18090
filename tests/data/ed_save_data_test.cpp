// The progress record: a new play, its file layout with the upgrades of
// older files, the checks on loading, and the operations the scenes and the
// game world call on it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "file_bytes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test::FileBytes;

// Keeps the global records these tests change as they were.
class SaveData : public testing::Test {
protected:
    SaveData() : system_(g_System), map_(g_WorldMap) {}
    ~SaveData() override
    {
        g_System = system_;
        g_WorldMap = map_;
        g_Stage.nTimeLimit = timeLimit_;
        g_Stage.nBgm = bgm_;
    }

    cEdSystem system_;
    cEdWorldMap map_;
    std::int32_t timeLimit_ = g_Stage.nTimeLimit;
    std::int32_t bgm_ = g_Stage.nBgm;
};

// A record with a value in every stored part.
cSaveData sampleProgress()
{
    cSaveData p;
    p.bCarryValid = 1;
    p.nMapX = 3;
    p.nMapY = 4;
    p.nRound = 2;
    p.nStageIndex = 7;
    p.nChainNo = 2;
    p.nInitialLives = 5;
    p.nLives = 4;
    p.nStageScore = 120;
    p.nScore = 3400;
    p.nTotalScore = 9000;
    p.nRestTime = 88;
    p.nClearTime = 12345;
    p.nRestHp = 6;
    p.nRestSp = 1;
    p.bChainStage = 1;
    p.nStageMusic = 3;
    p.bStageMusicLoop = 1;
    p.nMapEventNo = 11;
    p.bBackToMap = 1;
    p.nMapCursor0 = 21;
    p.nMapCursor1 = 22;
    p.nChallengeOpen = 3;
    p.nSlot = 5;
    p.bAutoSave = 1;
    p.bShowRanking = 1;
    p.nRankKind = 2;
    p.strStage = "data\\stg4\\c01.";
    p.strRankName = "XYZ";
    p.stSaved = SaveTime{2024, 5, 3, 17, 13, 45, 59, 999};
    p.vCarried[3] = 1;
    p.vCarried[24] = 1;
    p.vPlayer[0].nHp = 9;
    p.vPlayer[0].nLives = 3;
    p.vPlayer[0].Chara.nMaxHP = 77;
    p.vPlayer[0].Chara.strName = "hero";
    p.vStageFlags[17] = 1;
    p.vCommonVar[255] = -42;
    p.UpdateBestScore("data\\stg4\\c01.", 500);
    p.vChallenge.resize(40);
    p.vChallenge[2].bCleared = 1;
    p.vChallenge[2].nBest = 800;
    return p;
}

TEST_F(SaveData, NewPlayStartsFromTheResetState)
{
    const cSaveData p;
    EXPECT_EQ(p.vStageFlags.size(), 1000u);
    EXPECT_EQ(p.vStageFlags[0], 1);
    EXPECT_EQ(std::count(p.vStageFlags.begin(), p.vStageFlags.end(), 0), 999);
    EXPECT_EQ(p.vCommonVar, std::vector<std::int32_t>(256, 0));
    EXPECT_EQ(p.vCarried, std::vector<std::int32_t>(25, 0));
    ASSERT_EQ(p.vPlayer.size(), 1u);
    EXPECT_EQ(p.vPlayer[0].Chara.nMaxHP, 10); // the definition's own defaults
    EXPECT_EQ(p.nSlot, -1);
    EXPECT_EQ(p.nChallengeOpen, 1);
    EXPECT_EQ(p.strRankName, "aaa");
    EXPECT_TRUE(p.vBestScore.empty());
    EXPECT_TRUE(p.vChallenge.empty());
    EXPECT_EQ(p.nLives, 0);
    EXPECT_EQ(p.m_pMapEvent, nullptr);
}

TEST_F(SaveData, ResetKeepsTheTimeAndTheStageStartValues)
{
    cSaveData p = sampleProgress();
    p.SnapshotStageStart();
    p.ResetStoryData();
    EXPECT_EQ(p.nScore, 0);
    EXPECT_EQ(p.strStage, "");
    EXPECT_EQ(p.vPlayer[0].Chara.nMaxHP, 10);
    EXPECT_EQ(p.stSaved.nYear, 2024);
    EXPECT_EQ(p.nScoreAtStart, 3400);
    EXPECT_EQ(p.vCommonVarAtStart[255], -42);
}

TEST_F(SaveData, BodyHoldsTwentyEightMembersInFileOrderAndTwoStrings)
{
    cSaveData p = sampleProgress();
    p.nMapEventRef = 31;
    const Bytes bytes = SaveToBytes(p);
    const Bytes head = FileBytes()
                           .i32(511)
                           .i32(28)
                           .i32(1)     // bCarryValid
                           .i32(3)     // nMapX
                           .i32(4)     // nMapY
                           .i32(31)    // nMapEventRef
                           .i32(2)     // nRound
                           .i32(7)     // nStageIndex
                           .i32(2)     // nChainNo
                           .i32(5)     // nInitialLives
                           .i32(4)     // nLives
                           .i32(120)   // nStageScore
                           .i32(3400)  // nScore
                           .i32(9500)  // nTotalScore (9000 and the best score 500)
                           .i32(88)    // nRestTime
                           .i32(12345) // nClearTime
                           .i32(6)     // nRestHp
                           .i32(1)     // nRestSp
                           .i32(1)     // bChainStage
                           .i32(3)     // nStageMusic
                           .i32(1)     // bStageMusicLoop
                           .i32(11)    // nMapEventNo
                           .i32(1)     // bBackToMap
                           .i32(21)    // nMapCursor0
                           .i32(22)    // nMapCursor1
                           .i32(3)     // nChallengeOpen
                           .i32(5)     // nSlot
                           .i32(1)     // bAutoSave
                           .i32(1)     // bShowRanking
                           .i32(2)     // nRankKind
                           .i32(2)
                           .str("data\\stg4\\c01.")
                           .str("XYZ")
                           .i16(2024)
                           .i16(5)
                           .i16(3)
                           .i16(17)
                           .i16(13)
                           .i16(45)
                           .i16(59)
                           .i16(999)
                           .i32(25);
    ASSERT_GE(bytes.size(), head.size());
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(head.size())), head);
}

TEST_F(SaveData, SavedRecordLoadsBackWithTheSameValuesAndBytes)
{
    cSaveData original = sampleProgress();
    const Bytes bytes = SaveToBytes(original);
    cSaveData loaded;
    ASSERT_EQ(LoadFileBytes(loaded, bytes), 1);
    EXPECT_EQ(SaveToBytes(loaded), bytes);
    EXPECT_EQ(loaded.nClearTime, 12345);
    EXPECT_EQ(loaded.strRankName, "XYZ");
    EXPECT_EQ(loaded.stSaved.nMilliseconds, 999);
    EXPECT_EQ(loaded.vCarried, original.vCarried);
    EXPECT_EQ(loaded.vPlayer[0].nHp, 9);
    EXPECT_EQ(loaded.vPlayer[0].Chara.nMaxHP, 77);
    EXPECT_EQ(loaded.vPlayer[0].Chara.strName, "hero");
    EXPECT_EQ(loaded.GetBestScore("data\\stg4\\c01."), 500);
    EXPECT_EQ(loaded.vChallenge[2].nBest, 800);
    EXPECT_EQ(loaded.vStageFlags[17], 1);
    EXPECT_EQ(loaded.vCommonVar[255], -42);
}

TEST_F(SaveData, TheMapEntryIsNeverStoredAndTheStoredWordIsKeptAsRead)
{
    cEdWorldEventItem entry;
    cSaveData p;
    p.m_pMapEvent = &entry;
    p.nMapEventRef = 0x7FFF1234;
    const Bytes bytes = SaveToBytes(p);
    cSaveData loaded;
    loaded.m_pMapEvent = &entry;
    ASSERT_EQ(LoadFileBytes(loaded, bytes), 1);
    EXPECT_EQ(loaded.m_pMapEvent, nullptr);
    EXPECT_EQ(loaded.nMapEventRef, 0x7FFF1234);
    EXPECT_EQ(SaveToBytes(loaded), bytes);
}

// A save file of an older version, made byte by byte: the member blocks that
// version holds (each member's value is its position from 1, so a wrong
// order shows), no players, no best scores, no challenges, and short lists.
Bytes oldSaveFile(int version, int members)
{
    FileBytes b;
    b.i32(version).i32(members);
    for (int i = 1; i <= members; ++i)
        b.i32(i == 1 ? 0 : 100 + i);
    b.i32(2).str("old.").str("bob");
    for (int i = 0; i < 8; ++i)
        b.i16(static_cast<std::int16_t>(i + 1));
    if (version >= 501) {
        b.i32(25);
        for (int i = 0; i < 25; ++i)
            b.i32(i % 2);
    }
    b.i32(0).i32(0).i32(0);
    b.i32(3).i32(1).i32(0).i32(1);
    b.i32(2).i32(-5).i32(5);
    return b;
}

TEST_F(SaveData, OlderFilesLoadWithTheirUpgrades)
{
    // Members are numbered by their place in the file; the upgrades decide
    // what the members a version lacks become.
    struct Case {
        int version;
        int members;
        std::int32_t musicLoop, autoSave, restHp, backToMap, mapCursor0, eventNo;
        std::int32_t challengeOpen, slot;
        bool allCarried;
    };
    const std::vector<Case> cases = {
        // version, members: loop, auto, hp, back, cursor, event; open, slot; all carried
        {165, 20, 1, 0, 0, 0, 0, 0, 117, 118, true},
        {166, 21, 117, 0, 0, 0, 0, 0, 118, 119, true},
        {169, 22, 117, 120, 0, 0, 0, 0, 118, 119, true},
        {182, 24, 119, 122, 115, 0, 0, 0, 120, 121, true},
        {190, 25, 119, 123, 115, 120, 0, 0, 121, 122, true},
        {191, 27, 119, 125, 115, 120, 121, 0, 123, 124, true},
        {194, 28, 119, 126, 115, 121, 122, 120, 124, 125, true},
        {500, 28, 119, 126, 115, 121, 122, 120, 124, 125, true},
        {501, 28, 119, 126, 115, 121, 122, 120, 124, 125, false},
    };
    g_System.nChallengeStages = 200;
    for (const Case& c : cases) {
        cSaveData p = sampleProgress();
        ASSERT_EQ(LoadFileBytes(p, oldSaveFile(c.version, c.members)), 1) << c.version;
        EXPECT_EQ(p.nRound, 105) << c.version;
        EXPECT_EQ(p.nClearTime, 114) << c.version;
        EXPECT_EQ(p.bStageMusicLoop, c.musicLoop) << c.version;
        EXPECT_EQ(p.bAutoSave, c.autoSave) << c.version;
        EXPECT_EQ(p.nRestHp, c.restHp) << c.version;
        EXPECT_EQ(p.bBackToMap, c.backToMap) << c.version;
        EXPECT_EQ(p.nMapCursor0, c.mapCursor0) << c.version;
        EXPECT_EQ(p.nMapEventNo, c.eventNo) << c.version;
        EXPECT_EQ(p.nChallengeOpen, c.challengeOpen) << c.version;
        EXPECT_EQ(p.nSlot, c.slot) << c.version;
        EXPECT_EQ(p.strRankName, "bob");
        EXPECT_EQ(p.stSaved.nMilliseconds, 8);
        EXPECT_EQ(p.vStageFlags, (std::vector<std::int32_t>{1, 0, 1}));
        EXPECT_EQ(p.vCommonVar, (std::vector<std::int32_t>{-5, 5}));
        ASSERT_EQ(p.vCarried.size(), 25u) << c.version;
        EXPECT_EQ(p.vCarried[0], c.allCarried ? 1 : 0) << c.version;
        EXPECT_EQ(p.vCarried[1], 1) << c.version;
        EXPECT_TRUE(p.vPlayer.empty());
    }
}

TEST_F(SaveData, DamagedFilesFailAndLeaveTheRecordAsItWas)
{
    cSaveData source = sampleProgress();
    const Bytes good = SaveToBytes(source);
    std::vector<std::pair<std::string, Bytes>> cases;
    for (std::size_t cut = 0; cut < good.size(); cut += (cut < 400 ? 1 : 13)) {
        cases.emplace_back("cut at " + std::to_string(cut),
                           Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
    }
    // One member block more than the record has.
    Bytes extraMember = oldSaveFile(511, 28);
    extraMember[4] = 29;
    cases.emplace_back("29 member blocks", extraMember);
    // Counts far beyond the bytes left.
    Bytes players = oldSaveFile(511, 28);
    const std::size_t listsAt = players.size() - 40; // players, scores, challenges, flags, vars
    players[listsAt + 3] = 0x40;
    cases.emplace_back("huge player count", players);
    Bytes flags = oldSaveFile(511, 28);
    flags[listsAt + 12 + 3] = 0x7F;
    cases.emplace_back("huge stage flag count", flags);

    cSaveData before = sampleProgress();
    const Bytes beforeBytes = SaveToBytes(before);
    for (const auto& [what, bytes] : cases) {
        cSaveData p = sampleProgress();
        EXPECT_EQ(LoadFileBytes(p, bytes), 0) << what;
        EXPECT_EQ(SaveToBytes(p), beforeBytes) << what;
    }
    cSaveData p;
    EXPECT_EQ(LoadFileBytes(p, oldSaveFile(511, 28)), 1);
}

TEST_F(SaveData, CheckPutsTheMapPositionOnTheMapAndSizesTheChallenges)
{
    g_WorldMap.SetSize(10, 8);
    g_WorldMap.m_StartX = 2;
    g_WorldMap.m_StartY = 6;
    struct Case {
        int x, y, expectX, expectY;
    };
    const std::vector<Case> cases = {
        {9, 7, 9, 7}, {10, 7, 2, 7}, {9, 8, 9, 6}, {-1, -3, 2, 6}, {0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        cSaveData p;
        p.nMapX = c.x;
        p.nMapY = c.y;
        p.Check();
        EXPECT_EQ(p.nMapX, c.expectX) << c.x << "," << c.y;
        EXPECT_EQ(p.nMapY, c.expectY) << c.x << "," << c.y;
    }

    // The challenge list follows the system data, whatever the file held.
    const std::vector<std::pair<int, std::size_t>> challenges = {
        {40, 40}, {3, 3}, {0, 0}, {-5, 0}, {2000000000, 9999}};
    for (const auto& [stages, size] : challenges) {
        g_System.nChallengeStages = stages;
        cSaveData p = sampleProgress();
        p.nChallengeOpen = 50;
        const Bytes bytes = SaveToBytes(p);
        EXPECT_EQ(p.vChallenge.size(), size) << stages;
        cSaveData loaded;
        ASSERT_EQ(LoadFileBytes(loaded, bytes), 1);
        EXPECT_EQ(loaded.vChallenge.size(), size) << stages;
        EXPECT_EQ(loaded.nChallengeOpen, std::min<std::int64_t>(50, size)) << stages;
    }
}

TEST_F(SaveData, AnOpenedChallengeCountBelowOneReadsAsOne)
{
    // nChallengeOpen is the 24th member block, after the version and the count.
    constexpr std::size_t kOpenAt = 8 + 23 * 4;
    g_System.nChallengeStages = 40;
    const std::vector<std::pair<std::int32_t, std::int32_t>> cases = {
        {0, 1}, {-7, 1}, {INT32_MIN, 1}, {1, 1}, {2, 2}, {41, 40}};
    for (const auto& [stored, read] : cases) {
        cSaveData p = sampleProgress();
        Bytes bytes = SaveToBytes(p);
        ASSERT_EQ(FileBytes().i32(3).bytes(), Bytes(bytes.begin() + kOpenAt,
                                                    bytes.begin() + kOpenAt + 4));
        const Bytes patch = FileBytes().i32(stored).bytes();
        std::copy(patch.begin(), patch.end(), bytes.begin() + kOpenAt);
        cSaveData loaded;
        ASSERT_EQ(LoadFileBytes(loaded, bytes), 1);
        EXPECT_EQ(loaded.nChallengeOpen, read) << stored;
    }
}

TEST_F(SaveData, SetStageNameFindsTheChainAndTheBaseName)
{
    const std::vector<std::tuple<const char*, const char*, int>> cases = {
        {"data\\stg4\\c01-1.stg4", "data\\stg4\\c01.", 1},
        {"a-1b-1.stg4", "a-1b.", 1}, // the last "-1" counts
        {"st-10.stg4", "st.", 1},    // "-1" inside "-10" counts too
        {"free.stg4", "free.", 0},
        {"data\\stg4\\free.stg4_003", "data\\stg4\\free.", 0},
        {"nodot", "", 0},
        {"x-1", "x.", 1},
        {"end-", "", 0},
        {"", "", 0},
        {nullptr, "", 0},
    };
    for (const auto& [path, name, chain] : cases) {
        cSaveData p;
        p.bChainStage = 1 - chain;
        p.SetStageName(path);
        EXPECT_EQ(p.strStage, name) << (path ? path : "null");
        EXPECT_EQ(p.bChainStage, chain) << (path ? path : "null");
    }
}

TEST_F(SaveData, BestScoresKeepTheHighestAndTheirTotal)
{
    cSaveData p;
    p.UpdateBestScore("a.", 100);
    p.UpdateBestScore("b.", 50);
    EXPECT_EQ(p.nTotalScore, 150);
    p.UpdateBestScore("a.", 80); // lower: nothing changes
    EXPECT_EQ(p.nTotalScore, 150);
    EXPECT_EQ(p.GetBestScore("a."), 100);
    p.UpdateBestScore("a.", 130); // higher: the total rises by the difference
    EXPECT_EQ(p.nTotalScore, 180);
    EXPECT_EQ(p.GetBestScore("a."), 130);
    EXPECT_EQ(p.GetBestScore("A."), 0);
    EXPECT_EQ(p.vBestScore.size(), 2u);

    p.nTotalScore = 2147483000;
    p.UpdateBestScore("c.", 999999);
    EXPECT_EQ(p.nTotalScore, 2147483647);
}

TEST_F(SaveData, RetryPutsBackTheStageStartValues)
{
    g_System.bRestoreVarsStory = 1;
    g_System.bRestoreVarsChallenge = 0;
    g_System.bRestoreVarsFree = 0;
    g_System.bRestoreVarsDirect = 1;
    struct Case {
        int withLives, kind, direct;
        bool varsBack, livesBack;
    };
    const std::vector<Case> cases = {
        {1, 1, 0, true, true},   {0, 0, 0, true, false}, {0, 1, 0, false, false},
        {0, 2, 0, false, false}, {0, 3, 0, true, false}, {0, 1, 1, true, false},
    };
    for (const Case& c : cases) {
        cSaveData p;
        p.nLives = 3;
        p.nScore = 100;
        p.vCommonVar[4] = 7;
        p.SnapshotStageStart();
        p.nLives = 1;
        p.nScore = 900;
        p.vCommonVar[4] = 8;
        p.RestoreStageStart(c.withLives, c.kind, c.direct);
        EXPECT_EQ(p.nScore, 100);
        EXPECT_EQ(p.vCommonVar[4], c.varsBack ? 7 : 8) << c.withLives << c.kind << c.direct;
        EXPECT_EQ(p.nLives, c.livesBack ? 3 : 1) << c.withLives << c.kind << c.direct;
    }
}

TEST_F(SaveData, LivesRuleFollowsThePlayKind)
{
    g_System.vUnlimitedLives = {0, 1, 0, 0};
    g_System.vInitialLives = {5, 6, 7, 8};
    struct Case {
        int kind;
        std::int32_t lives;
        std::int32_t expectInitial, expectLives;
    };
    const std::vector<Case> cases = {
        {0, 999999, 2, 5},           {0, 3, 2, 3},      {1, 3, 999999, 999999},
        {1, 999999, 999999, 999999}, {2, 999999, 2, 7},
    };
    for (const Case& c : cases) {
        cSaveData p;
        p.nInitialLives = 2;
        p.nLives = c.lives;
        p.ApplyLivesRule(c.kind);
        EXPECT_EQ(p.nInitialLives, c.expectInitial) << c.kind << " " << c.lives;
        EXPECT_EQ(p.nLives, c.expectLives) << c.kind << " " << c.lives;
    }
}

// The definition of a hero in the middle of a stage, every carried value set.
cEdChara carriedHero()
{
    cEdChara def;
    def.nGraphicNo = 12;
    def.nGraphicKind = 4;
    def.nGraphicFrame = 3;
    def.nAnimeSet = 5;
    def.nZ = 6;
    def.bTransparent = 1;
    def.bFixedFacing = 0;
    def.nFlying = 2;
    def.nInvincible = 1;
    def.nSize = 4;
    def.bScrollSync = 1;
    def.nSightShape = 2;
    def.nSight = 9;
    def.nMaxHP = 300;
    def.nMaxSP = 40;
    def.nBoxKind = 3;
    def.nBodyPower = 55;
    def.nBodyImpact = -7;
    def.nDefence = 12;
    def.nImpactResist = 8;
    def.nStopRate = 150;
    def.Flows.resize(3);
    return def;
}

TEST_F(SaveData, CarriedStatusGoesToTheNextStageGroupByGroup)
{
    g_System.vCarryOver.assign(25, 1);
    g_System.vCarryOver[1] = 0; // the AnimeSet stays the next stage's own
    cSaveData p;
    p.vCarried.assign(25, 0);
    p.StoreCarriedStatus(0, carriedHero(), 70, 20, 9, -2, 4, 33, 6, 12);
    EXPECT_EQ(p.bCarryValid, 1);
    EXPECT_EQ(p.vCarried[1], 0);
    EXPECT_EQ(p.vCarried[0], 1);
    EXPECT_EQ(p.vCarried[24], 1);

    cEdChara next;
    const cEdChara fresh;
    g_Stage.nTimeLimit = 200;
    g_Stage.nBgm = 1;
    p.nLives = 1;
    p.RestoreCarriedStatus(0, next);
    EXPECT_EQ(next.nGraphicNo, 12);
    EXPECT_EQ(next.nGraphicKind, 4);
    EXPECT_EQ(next.nGraphicFrame, 3);
    EXPECT_EQ(next.nAnimeSet, fresh.nAnimeSet);
    EXPECT_EQ(next.nZ, 6);
    EXPECT_EQ(next.bTransparent, 1);
    EXPECT_EQ(next.nCharaEffect, 9);
    EXPECT_EQ(next.nCharaEffectParam1, -2);
    EXPECT_EQ(next.nCharaEffectParam2, 4);
    EXPECT_EQ(next.bFixedFacing, 0);
    EXPECT_EQ(next.nFlying, 2);
    EXPECT_EQ(next.nInvincible, 1);
    EXPECT_EQ(next.nSize, 4);
    EXPECT_EQ(next.bScrollSync, 1);
    EXPECT_EQ(next.nSightShape, 2);
    EXPECT_EQ(next.nSight, 9);
    EXPECT_EQ(next.nMaxHP, 300);
    EXPECT_EQ(next.nMaxSP, 40);
    EXPECT_EQ(next.nBoxKind, 3);
    EXPECT_EQ(next.nBodyPower, 55);
    EXPECT_EQ(next.nBodyImpact, -7);
    EXPECT_EQ(next.nDefence, 12);
    EXPECT_EQ(next.nImpactResist, 8);
    EXPECT_EQ(next.nStopRate, 150);
    EXPECT_EQ(next.Flows.size(), 3u);
    EXPECT_EQ(g_Stage.nTimeLimit, 33);
    EXPECT_EQ(p.nLives, 6);
    EXPECT_EQ(g_Stage.nBgm, 12);

    std::int32_t hp = 0;
    std::int32_t sp = 0;
    p.RestoreCarriedValues(0, &hp, &sp);
    EXPECT_EQ(hp, 70);
    EXPECT_EQ(sp, 20);
}

TEST_F(SaveData, OnlyGroupsBothCarriedAndStoredComeBack)
{
    g_System.vCarryOver.assign(25, 0);
    g_System.vCarryOver[13] = 1; // maximum HP
    g_System.vCarryOver[11] = 1; // current HP
    g_System.vDropOnDeath.assign(25, 0);
    g_System.vDropOnDeath[11] = 1;
    cSaveData p;
    p.StoreCarriedStatus(0, carriedHero(), 70, 20, 0, 0, 0, 0, 0, 0);

    cEdChara next;
    p.RestoreCarriedStatus(0, next);
    EXPECT_EQ(next.nMaxHP, 300);
    EXPECT_EQ(next.nMaxSP, cEdChara().nMaxSP);
    EXPECT_EQ(next.nGraphicNo, cEdChara().nGraphicNo);

    // A lost life drops the current HP; the maximum stays.
    p.DropCarriedStatus();
    std::int32_t hp = -1;
    std::int32_t sp = -1;
    p.RestoreCarriedValues(0, &hp, &sp);
    EXPECT_EQ(hp, -1);
    EXPECT_EQ(sp, -1);
    cEdChara again;
    p.RestoreCarriedStatus(0, again);
    EXPECT_EQ(again.nMaxHP, 300);

    // Nothing at all while no status is stored.
    cSaveData none;
    cEdChara untouched;
    none.RestoreCarriedStatus(0, untouched);
    EXPECT_EQ(untouched.nMaxHP, cEdChara().nMaxHP);
}

TEST_F(SaveData, AStoredGraphicOfNothingComesBackAsGraphicOne)
{
    g_System.vCarryOver.assign(25, 0);
    g_System.vCarryOver[0] = 1;
    cEdChara hero = carriedHero();
    hero.nGraphicNo = 0;
    cSaveData p;
    p.StoreCarriedStatus(0, hero, 0, 0, 0, 0, 0, 0, 0, 0);
    cEdChara next;
    p.RestoreCarriedStatus(0, next);
    EXPECT_EQ(next.nGraphicNo, 1);
}

TEST_F(SaveData, CarriedStatusOfARecordWithoutPlayersIsMadeNotLost)
{
    g_System.vCarryOver.assign(25, 1);
    cSaveData p;
    p.vPlayer.clear();
    p.vCarried.clear();
    cEdChara def;
    p.RestoreCarriedStatus(0, def); // nothing stored: nothing happens
    p.StoreCarriedStatus(0, carriedHero(), 70, 20, 0, 0, 0, 0, 0, 0);
    ASSERT_EQ(p.vPlayer.size(), 1u);
    EXPECT_EQ(p.vCarried.size(), 25u);
    p.RestoreCarriedStatus(0, def);
    EXPECT_EQ(def.nMaxHP, 300);
}

TEST_F(SaveData, NextRoundClearsTheStagesAndReturnsToTheStart)
{
    g_WorldMap.m_StartX = 4;
    g_WorldMap.m_StartY = 2;
    cSaveData p = sampleProgress();
    p.StartNextRound();
    EXPECT_EQ(p.nRound, 3);
    EXPECT_EQ(std::count(p.vStageFlags.begin(), p.vStageFlags.end(), 0), 1000);
    EXPECT_EQ(p.nMapX, 4);
    EXPECT_EQ(p.nMapY, 2);
}

TEST_F(SaveData, RankKindStepsOverTheKindsNotShown)
{
    struct Case {
        std::vector<std::uint8_t> flags;
        int from, n, to;
    };
    const std::vector<Case> cases = {
        {{0, 1, 0, 1, 0}, 3, 1, 1}, // 4 and 0 are skipped
        {{0, 1, 0, 1, 0}, 1, 1, 3},
        {{0, 1, 0, 1, 0}, 1, -1, 3}, // back past 0 to 4, then to 3
        {{0, 1, 0, 1, 0}, 3, 2, 3},
        {{0, 1, 0, 1, 0}, 0, 0, 1}, // n = 0 only leaves a kind not shown
        {{0, 1, 0, 1, 0}, 3, 0, 3},
        {{1, 1, 1, 1, 1}, 4, 1, 0},
        {{0, 0, 0, 0, 0}, 2, 1, 2},    // nothing shown: nothing moves
        {{0, 0, 0, 0, 0, 1}, 2, 1, 2}, // a flag past the five kinds shows nothing
        {{0, 0, 1}, 0, 1, 2},          // a short list shows none of the missing kinds
        {{1, 0, 0, 0, 1}, 57, 1, 0},   // out of range steps as from beyond an end
        {{1, 0, 0, 0, 1}, 57, -1, 4},
        {{1, 0, 0, 0, 1}, -9, 0, 0},
        {{0, 1, 0, 0, 0}, 2147483647, 1, 1},
    };
    for (const Case& c : cases) {
        g_System.vModeFlags[2].vRankKinds = c.flags;
        cSaveData p;
        p.nRankKind = c.from;
        p.StepRankKind(2, c.n);
        EXPECT_EQ(p.nRankKind, c.to) << "from " << c.from << " by " << c.n;
    }
}

} // namespace
