// The running stage built from a stage file: the block map, the view's
// axes, the time limit, the hit-step mask, the random seed and the music.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "support/world_fixture.h"
#include "world/random.h"

namespace {

using test::BlockAt;
using test::MakeStage;
using test::WorldTest;

using StageSetUp = WorldTest;

TEST_F(StageSetUp, MapPitchIsThePowerOfTwoAboveTheWidthWithItsMargins)
{
    struct Case {
        int width;
        int pitch;
    };
    for (const Case c : {Case{44, 64}, Case{45, 128}, Case{1, 32}, Case{12, 32}, Case{13, 64}}) {
        SCOPED_TRACE(c.width);
        Start(MakeStage(c.width, 15, 0, 0));
        EXPECT_EQ(stage->m_ScrollX.m_Pitch, c.pitch);
        EXPECT_EQ(stage->m_ScrollX.m_MapSize, c.width + 20);
        EXPECT_EQ(stage->m_BlockMap.size(), static_cast<std::size_t>(c.pitch * (15 + 20)));
    }
}

TEST_F(StageSetUp, PlacedBlocksLieInTheirCellBehindTheMarginAndTheLaterOneWins)
{
    cEdStage data = MakeStage(30, 15, 0, 0);
    data.PlacedBlocks.push_back(BlockAt(3, 4, 1, 7));
    data.PlacedBlocks.push_back(BlockAt(5, 6, 1, 8));
    data.PlacedBlocks.push_back(BlockAt(5, 6, 2, 9));
    Start(data);
    const int pitch = stage->m_ScrollX.m_Pitch;
    EXPECT_EQ(stage->m_BlockMap[static_cast<std::size_t>((4 + 10) * pitch + 3 + 10)].nGraphicNo, 7);
    const BlockCell& later = stage->CellAt(15, 16);
    EXPECT_EQ(later.nGraphicNo, 9);
    EXPECT_EQ(later.nHitMode, 2);
    EXPECT_EQ(&later, &stage->m_BlockMap[static_cast<std::size_t>(16 * pitch + 15)]);
    EXPECT_EQ(stage->CellAt(13, 14).nGraphicNo, 7);
    EXPECT_EQ(stage->CellAt(14, 14).nGraphicNo, 0);
}

TEST_F(StageSetUp, CellsOutsideTheMapAreEmptyOnEachAxis)
{
    cEdStage data = MakeStage(12, 10, 0, 0);
    // The last cell of the first row and the first of the second lie side by
    // side in the map's storage.
    data.PlacedBlocks.push_back(BlockAt(-10, 1, 1));
    Start(data);
    EXPECT_EQ(stage->CellAt(0, 11).nGraphicNo, 1);
    EXPECT_EQ(stage->CellAt(32, 10).nGraphicNo, 0) << "a column past the map reaches no other row";
    EXPECT_EQ(stage->CellAt(-1, 11).nGraphicNo, 0);
    EXPECT_EQ(stage->CellAt(0, -1).nGraphicNo, 0);
    EXPECT_EQ(stage->CellAt(0, 30).nGraphicNo, 0);
    EXPECT_EQ(&stage->CellAt(5, 31), &stage->m_OutsideCell);
    EXPECT_EQ(stage->HitMode(stage->CellAt(-3, -3), 1), 0);
}

TEST_F(StageSetUp, AxesCarryTheStageSizesAndTheirLimits)
{
    cEdStage data = MakeStage(40, 30, 2, 2);
    data.bLimitLeft = 1;
    data.nLimitLeft = 3;
    data.bLimitBottom = 1;
    data.nLimitBottom = 20;
    Start(data);
    const cScrollAxis& x = stage->m_ScrollX;
    const cScrollAxis& y = stage->m_ScrollY;
    EXPECT_EQ(x.m_Base, 320);
    EXPECT_EQ(x.m_Full, (40 + 10) * 32);
    EXPECT_EQ(x.m_Outer, (40 + 10) * 32 + 640);
    EXPECT_EQ(x.m_Min, 320 + 3 * 32);
    EXPECT_EQ(x.m_Max, x.m_Full) << "without a limit the view may go to the stage's far edge";
    EXPECT_EQ(y.m_Min, 320);
    EXPECT_EQ(y.m_Max, 320 + 21 * 32);
    EXPECT_EQ(y.m_Pitch, 30 + 20);
    EXPECT_EQ(y.m_Shift, 0);
}

TEST_F(StageSetUp, TheViewStartsCentredOnTheHeroWithinItsLimits)
{
    Start(MakeStage(100, 100, 50, 50));
    const cPlayerObj& p = player();
    EXPECT_DOUBLE_EQ(stage->m_ScrollX.m_Pos, p.m_X + p.m_Width / 2 - 320);
    EXPECT_DOUBLE_EQ(stage->m_ScrollY.m_Pos, p.m_Y + p.m_Height / 2 - 240);
    Start(MakeStage(100, 100, 0, 0));
    EXPECT_EQ(stage->m_ScrollX.m_Pos, 320) << "held at the minimum";
    EXPECT_EQ(stage->m_ScrollY.m_Pos, 320);
}

TEST_F(StageSetUp, AStageSmallerThanTheViewShowsItsNearEdge)
{
    Start(MakeStage(5, 5, 4, 4));
    EXPECT_EQ(stage->m_ScrollX.m_Pos, 320);
    EXPECT_EQ(stage->m_ScrollY.m_Pos, 320);
}

TEST_F(StageSetUp, TimeLimit)
{
    cEdStage timed = MakeStage(20, 15, 0, 0);
    timed.bTimeLimit = 1;
    timed.nTimeLimit = 120;
    Start(timed);
    EXPECT_EQ(stage->m_TimeLeft, 120);
    EXPECT_EQ(stage->m_NoTimeLimit, 0);
    Start(MakeStage(20, 15, 0, 0));
    EXPECT_EQ(stage->m_TimeLeft, 999);
    EXPECT_EQ(stage->m_NoTimeLimit, 1);
}

TEST(HitStepMask, SpreadsTheLevelOverTheSubSteps)
{
    struct Case {
        int subSteps;
        int level;
        std::vector<std::int32_t> mask;
    };
    const Case cases[] = {
        {4, 3, {1, 1, 1, 0}},
        {8, 5, {1, 1, 0, 1, 1, 0, 1, 0}},
        {2, 5, {1, 1}},
        {4, 0, {1, 1, 1, 1}},
        {3, 1, {1, 0, 0}},
        {7, 2, {1, 0, 0, 1, 0, 0, 0}},
        // Levels outside 0 to 5 are the nearest one: below 0 never loops,
        // a huge one never runs up to 2^31 times.
        {4, -3, {1, 1, 1, 1}},
        {10, 1000000, {1, 0, 1, 0, 1, 0, 1, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.subSteps << " sub-steps, level " << c.level);
        EXPECT_EQ(BuildHitStepMask(c.subSteps, c.level), c.mask);
    }
}

TEST_F(StageSetUp, HitStepMaskFollowsTheSpeedLevel)
{
    cEdStage data = MakeStage(20, 15, 0, 0);
    data.nSpeedLevel = 14; // 4 sub-steps
    data.nHitLevel = 3;
    Start(data);
    EXPECT_EQ(stage->m_HitStepMask, (std::vector<std::int32_t>{1, 1, 1, 0}));
}

TEST_F(StageSetUp, SeedComesFromTheClockWhileRecordingFromTheLogInPlaybackElseStays)
{
    g_System.bRecordReplay = 1;
    services.m_Clock = 777;
    Start(MakeStage(20, 15, 0, 0));
    EXPECT_EQ(stage->m_RandomSeed, 777);
    EXPECT_EQ(g_ReplayLog.nSeed, 777);
    EXPECT_EQ(RandomState(), 777u);

    // Another attempt: the log moves to the previous attempt's.
    g_ReplayLog.Record(1, 0);
    services.m_Clock = 778;
    stage->SetStage(1, 0);
    EXPECT_EQ(stage->m_RandomSeed, 778);
    EXPECT_EQ(g_ReplayLog2.nSeed, 777);
    EXPECT_EQ(g_ReplayLog2.FrameCount(), 1);
    EXPECT_EQ(g_ReplayLog.FrameCount(), 0);

    // Neither recording nor playing back: every retry keeps the seed.
    g_System.bRecordReplay = 0;
    services.m_Clock = 900;
    stage->SetStage(1, 0);
    EXPECT_EQ(stage->m_RandomSeed, 778);
    EXPECT_EQ(RandomState(), 778u);

    // Playback: the log's seed, the log rewound.
    stage->m_PlayMode = kPlayModeReplay;
    g_ReplayLog.nSeed = 31337;
    g_ReplayLog.nPosA = 3;
    stage->SetStage(0, 0);
    EXPECT_EQ(stage->m_RandomSeed, 31337);
    EXPECT_EQ(g_ReplayLog.nPosA, 0);
}

TEST_F(StageSetUp, MusicIsRequestedAtAStartAndOnARetryOnlyWhenAnotherPlays)
{
    cEdStage data = MakeStage(20, 15, 0, 0);
    data.nBgm = 1;
    data.bBgmLoop = 1;
    Start(data);
    EXPECT_EQ(services.m_Music, std::vector<std::int32_t>{1});
    EXPECT_EQ(g_Progress.bStageMusicLoop, 1);
    stage->SetStage(1, 0);
    EXPECT_EQ(services.m_Music, std::vector<std::int32_t>{1}) << "a retry keeps the music playing";
    g_Progress.nStageMusic = 0;
    stage->SetStage(1, 0);
    EXPECT_EQ(services.m_Music, (std::vector<std::int32_t>{1, 1}));
    // A first start requests it again, unless the keep-music switch holds it.
    stage->SetStage(0, 1);
    EXPECT_EQ(services.m_Music.size(), 3u);
    g_Stage.bKeepBgm = 1;
    stage->SetStage(0, 1);
    EXPECT_EQ(services.m_Music.size(), 3u);
}

TEST_F(StageSetUp, ValuesThatAreNotFiniteNeverReachAPosition)
{
    cEdStage data = MakeStage(20, 15, 5, 5);
    data.dGravity = std::numeric_limits<double>::quiet_NaN();
    cEdLayer layer;
    layer.SetDefaults();
    layer.dFactorX = std::numeric_limits<double>::infinity();
    data.Layers.push_back(layer);
    Start(data);
    EXPECT_TRUE(std::isfinite(g_Stage.dGravity));
    EXPECT_TRUE(std::isfinite(g_Stage.dGravityStep));
    EXPECT_TRUE(std::isfinite(g_Stage.Layers.back().dFactorX));
    for (int i = 0; i < 50; ++i) {
        player().ApplyCharaGravity();
        player().MoveY();
    }
    EXPECT_TRUE(std::isfinite(player().m_Y));
    EXPECT_TRUE(std::isfinite(player().m_SpeedY));
}

TEST_F(StageSetUp, ARetryIsATrueRestartOfTheCellLatches)
{
    cEdStage data = MakeStage(20, 15, 0, 0);
    data.PlacedBlocks.push_back(BlockAt(3, 3));
    Start(data);
    stage->CellAt(13, 13).m_Latch = 1;
    stage->m_ToggledCells.push_back(5);
    stage->SetStage(1, 0);
    EXPECT_EQ(stage->CellAt(13, 13).m_Latch, 0);
    EXPECT_TRUE(stage->m_ToggledCells.empty());
}

TEST_F(StageSetUp, AMapThatCannotBeMadeIsReportedAndClosesTheGame)
{
    cEdStage data = MakeStage(20, 15, 0, 0);
    ASSERT_EQ(test::LoadAsLiveStage(data), 1);
    g_Stage.nWidth = 4000000;
    g_Stage.nHeight = 4000000;
    stage->SetStage(0, 0);
    EXPECT_EQ(services.m_ErrorBoxes.size(), 1u);
    EXPECT_EQ(services.m_CloseRequests, 1);
    EXPECT_TRUE(stage->m_BlockMap.empty());
    EXPECT_EQ(stage->HitMode(stage->CellAt(5, 5), 1), 0);
}

TEST_F(StageSetUp, TheRunningStageStartsAnew)
{
    Start(MakeStage(20, 15, 3, 4));
    stage->m_StageVars[7] = 5;
    stage->m_ClearRequest = 1;
    stage->m_SubStepTotal = 40;
    g_Progress.nStageScore = 300;
    stage->SetStage(1, 0);
    EXPECT_EQ(stage->m_StageVars, std::vector<std::int32_t>(255, 0));
    EXPECT_EQ(stage->m_ClearRequest, 0);
    EXPECT_EQ(stage->m_SubStepTotal, 0);
    EXPECT_EQ(g_Progress.nStageScore, 0);
    EXPECT_EQ(stage->Player.size(), 1u);
    EXPECT_EQ(player().m_ObjNo, 0);
    EXPECT_EQ(stage->m_CharaSerial, 1);
    EXPECT_EQ(stage->FindObjectByNumber(0), &player());
    EXPECT_EQ(stage->m_CharaGroups[player().m_Group].front(), &player());
    EXPECT_EQ(player().m_Present, 1) << "the activity of the first frame";
}

TEST_F(StageSetUp, LivesAndSessionTotals)
{
    struct Case {
        std::int32_t lives;
        int directStart;
        int playMode;
        int result;
        std::int32_t after;
    };
    const Case cases[] = {
        {kUnlimitedLives, 0, 0, 1, kUnlimitedLives},
        {3, 0, 0, 1, 2},
        {1, 0, 0, 1, 0},
        {0, 0, 0, 0, 0},
        {2, 1, 0, 1, 2},
        {0, 1, 0, 1, 0},
        {3, 0, kPlayModeReplay, 1, 3},
        {0, 0, kPlayModeReplay, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lives << " lives, direct start " << c.directStart
                                        << ", play mode " << c.playMode);
        g_Progress.nLives = c.lives;
        stage->m_DirectStart = c.directStart;
        stage->m_PlayMode = c.playMode;
        EXPECT_EQ(stage->UseLife(), c.result);
        EXPECT_EQ(g_Progress.nLives, c.after);
    }
    stage->m_DirectStart = 0;
    stage->m_PlayMode = 0;
    g_Progress.nInitialLives = 5;
    g_Progress.nScore = 40;
    g_Progress.nTotalScore = 70;
    g_ReplayLog.Record(1, 1);
    stage->m_MessageList.emplace_back(0, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 10, 0, 0, 0, 0);
    stage->ResetSessionTotals();
    EXPECT_EQ(g_Progress.nLives, 5);
    EXPECT_EQ(g_Progress.nScore, 0);
    EXPECT_EQ(g_Progress.nTotalScore, 70);
    EXPECT_EQ(g_ReplayLog.FrameCount(), 0);
    EXPECT_TRUE(stage->m_MessageList.empty());
}

// A replay's progress record is the recorded play's at the start of its
// attempt: the play of the replay starts from it as it stands, so that
// whatever reads the lives or the score unfolds as it did.
TEST_F(StageSetUp, AReplaysPlayStartsFromTheProgressItWasRecordedWith)
{
    g_Progress.nInitialLives = 5;
    g_Progress.nLives = 2;
    g_Progress.nScore = 2950;
    g_Progress.nClearTime = 1234;
    g_ReplayLog.Record(1, 1);
    stage->m_PlayMode = kPlayModeReplay;
    stage->ResetSessionTotals();
    EXPECT_EQ(stage->UseLife(), 1);
    Start(MakeStage(20, 15, 0, 0));
    EXPECT_EQ(g_Progress.nLives, 2);
    EXPECT_EQ(g_Progress.nScore, 2950);
    EXPECT_EQ(g_Progress.nClearTime, 1234);
    EXPECT_EQ(g_ReplayLog.FrameCount(), 1) << "the log being played stays";

    // A test play of the authoring tool starts from no score.
    g_StartedByTool = 1;
    stage->m_PlayMode = 0;
    stage->m_DirectStart = 1;
    stage->SetStage(1, 0);
    EXPECT_EQ(g_Progress.nScore, 0);
    EXPECT_EQ(g_Progress.nClearTime, 0);
}

} // namespace
