// The run-time tables built from the database at start-up: frame sequences
// and the prepared run states of character and screen effects.

#include <gtest/gtest.h>

#include <limits>

#include "data/ed_database.h"
#include "world/database_tables.h"

namespace {

cEdAnimeFrame frame(int picture, int time, int hold)
{
    cEdAnimeFrame f;
    f.m_PictureNo = picture;
    f.m_Time = time;
    f.m_Hold = hold;
    return f;
}

std::vector<std::array<int, 3>> stepsOf(const FrameSeq& seq)
{
    std::vector<std::array<int, 3>> out;
    for (const FrameStep& s : seq)
        out.push_back({s.m_Frame, s.m_Duration, s.m_Flag});
    return out;
}

// Restores the global database after each test.
class DatabaseTables : public ::testing::Test {
protected:
    void SetUp() override { saved_ = g_Database; }
    void TearDown() override { g_Database = saved_; }
    cEdDatabase saved_;
};

TEST_F(DatabaseTables, AnimationStepsCarryTimesInFramesAndTheHoldFromItsFirstFrame)
{
    g_Database.Anime.resize(2);
    g_Database.Anime[0].m_Frames = {frame(1, 5, 0), frame(2, 7, 1)};
    g_Database.Anime[1].m_Frames = {frame(10, 2, 0), frame(11, 3, 1), frame(12, 1, 0)};
    std::vector<FrameSeq> seqs(5);
    BuildAnimeFrameLists(seqs);
    ASSERT_EQ(seqs.size(), 2u);
    using Steps = std::vector<std::array<int, 3>>;
    EXPECT_EQ(stepsOf(seqs[0]), (Steps{{1, 0, 1}, {2, 0, 1}, {-2, 0, 1}}));
    EXPECT_EQ(stepsOf(seqs[1]), (Steps{{10, 12, 0}, {11, 18, 1}, {12, 6, 1}, {-4, 0, 0}}));
}

TEST_F(DatabaseTables, EffectStepsHaveNoHoldAndHugeTimesAreHeld)
{
    g_Database.Effect.resize(2);
    g_Database.Effect[0].m_Frames.resize(1);
    g_Database.Effect[1].m_Frames.resize(2);
    g_Database.Effect[1].m_Frames[0].m_PictureNo = 4;
    g_Database.Effect[1].m_Frames[0].m_Time = 3;
    g_Database.Effect[1].m_Frames[1].m_Time = std::numeric_limits<std::int32_t>::max();
    BuildEffectFrameLists(g_EffectSeqs);
    using Steps = std::vector<std::array<int, 3>>;
    EXPECT_EQ(stepsOf(g_EffectSeqs[0]), (Steps{{0, 0, 1}, {-2, 0, 1}}));
    EXPECT_EQ(stepsOf(g_EffectSeqs[1]),
              (Steps{{4, 18, 0}, {0, std::numeric_limits<std::int32_t>::max(), 0}, {-4, 0, 0}}));
}

TEST_F(DatabaseTables, EmptyTablesGiveEmptyRunTimeTables)
{
    g_Database.Anime.clear();
    g_Database.CharaEffect.clear();
    g_Database.ScrEffect.clear();
    BuildDatabaseTables();
    EXPECT_TRUE(g_AnimeSeqs.empty());
    EXPECT_TRUE(g_CharaEffectStates.empty());
    EXPECT_TRUE(g_ScrEffectStatesRev.empty());
}

TEST_F(DatabaseTables, CharacterEffectStatesRunFromStartToEndOrBack)
{
    g_Database.CharaEffect.resize(4);
    auto set = [](cEdCharaEffect& fx, int kind, std::array<int, 5> p) {
        fx.m_Kind = kind;
        std::copy(p.begin(), p.end(), fx.m_Param);
    };
    set(g_Database.CharaEffect[0], 0, {10, 0, 90, 0, 0});
    set(g_Database.CharaEffect[1], 7, {10, 0, 90, 0, 0});
    set(g_Database.CharaEffect[2], 6, {25, 3, 0, 0, 0});
    set(g_Database.CharaEffect[3], 4, {0, 8, 2, 0, 0});
    BuildDatabaseTables();

    const CharaEffectState& rotate = g_CharaEffectStates[1];
    EXPECT_EQ(rotate.m_Start, 0);
    EXPECT_EQ(rotate.m_End, 90);
    EXPECT_DOUBLE_EQ(rotate.m_Value, 0);
    EXPECT_DOUBLE_EQ(rotate.m_Step, 1.5);
    EXPECT_EQ(rotate.m_Record, &g_Database.CharaEffect[1]);
    const CharaEffectState& back = g_CharaEffectStatesRev[1];
    EXPECT_EQ(back.m_Start, 90);
    EXPECT_EQ(back.m_End, 0);
    EXPECT_DOUBLE_EQ(back.m_Value, 90);
    EXPECT_EQ(back.m_Record, &g_Database.m_CharaEffectRev[1]);
    // The swap is made in the reversed copy only.
    EXPECT_EQ(g_Database.m_CharaEffectRev[1].m_Param[1], 90);
    EXPECT_EQ(g_Database.CharaEffect[1].m_Param[1], 0);

    // Blink: a time counter, not swapped.
    EXPECT_EQ(g_CharaEffectStatesRev[2].m_End, 25);
    EXPECT_DOUBLE_EQ(g_CharaEffectStatesRev[2].m_Step, 1.0 / 6.0);
    EXPECT_EQ(g_Database.m_CharaEffectRev[2].m_Param[1], 3);

    // A time of 0 is taken as the shortest time, keeping the step finite.
    EXPECT_DOUBLE_EQ(g_CharaEffectStates[3].m_Step, 1.0);
    // Kind 0 only binds.
    EXPECT_EQ(g_CharaEffectStates[0].m_Index, 0);
    EXPECT_DOUBLE_EQ(g_CharaEffectStates[0].m_Step, 0);
}

TEST_F(DatabaseTables, ScreenEffectStatesFollowTheirKind)
{
    g_Database.ScrEffect.resize(5);
    auto set = [](cEdScrEffect& fx, int kind, std::array<int, 5> p) {
        fx.m_Kind = kind;
        std::copy(p.begin(), p.end(), fx.m_Param);
    };
    set(g_Database.ScrEffect[1], 1, {10, 1, 2, 640, 4});
    set(g_Database.ScrEffect[2], 2, {10, 4, 4, 0, 0});
    set(g_Database.ScrEffect[3], 6, {10, 0, 640, 4, 8});
    set(g_Database.ScrEffect[4], 8, {10, 10, 0, 0, 0});
    BuildDatabaseTables();

    EXPECT_EQ(g_ScrEffectStates[1].m_Int1, 1);
    EXPECT_EQ(g_ScrEffectStates[1].m_Int2, 2);
    EXPECT_DOUBLE_EQ(g_ScrEffectStates[1].m_Step, 1.0 / 6.0);
    // Reversed slide: start and end points exchanged.
    EXPECT_EQ(g_ScrEffectStatesRev[1].m_Int1, 640);
    EXPECT_EQ(g_ScrEffectStatesRev[1].m_Int2, 4);
    EXPECT_EQ(g_Database.m_ScrEffectRev[1].m_Param[3], 1);

    EXPECT_DOUBLE_EQ(g_ScrEffectStates[2].m_Value, 0);
    EXPECT_EQ(g_Database.m_ScrEffectRev[2].m_Param[1], 4); // shakes are not swapped

    EXPECT_DOUBLE_EQ(g_ScrEffectStates[3].m_Value, 0);
    EXPECT_DOUBLE_EQ(g_ScrEffectStates[3].m_Step, 640.0 / 60.0);
    EXPECT_DOUBLE_EQ(g_ScrEffectStatesRev[3].m_Value, 640);

    EXPECT_DOUBLE_EQ(g_ScrEffectStatesRev[4].m_Step, 1.0 / 6.0);
    EXPECT_EQ(g_Database.m_ScrEffectRev[4].m_Param[1], 10);
}

} // namespace
