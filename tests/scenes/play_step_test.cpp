// The play phase stepped headless from input scripts: the same script gives
// the same state on every frame, recording and playback agree, the hero
// falls and lands, the view scrolls by itself, and the deaths end in a
// retry, the continue menu or the game over.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data/ed_palette.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "support/world_fixture.h"
#include "world/input_script.h"
#include "world/state_hash.h"

#include "play_fixture.h"

namespace {

using test::BlockAt;
using test::FloorStage;
using test::MakeStage;

class PlayStep : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::ResetWorldGlobals();
        g_SceneMgr = cSceneMgr();
        g_SceneMgr.m_PlayKind = PLAYKIND_FREE;
        g_SceneMgr.g_PlayMode = PLAYMODE_FREE;
        g_SceneMgr.g_PrevScene = SCENE_TITLE;
        services.m_Clock = 5000;
    }
    void TearDown() override
    {
        scene.reset();
        g_SceneMgr = cSceneMgr();
        test::ResetWorldGlobals();
    }

    // A play of the stage from its first frame: the scene's set-up, then the
    // stage-start phase (the fade needs a display).
    void Begin(cEdStage data)
    {
        ASSERT_EQ(test::LoadAsLiveStage(data), 1);
        scene = std::make_unique<cGamePlay>();
        scene->m_PlayMode = g_SceneMgr.g_PlayMode;
        scene->m_PlayKind = g_SceneMgr.m_PlayKind;
        scene->Init();
        scene->m_Phase = PHASE_START;
    }
    // Runs frames with the script's input, keeping the state hash of each.
    std::vector<std::uint64_t> Frames(const cInputScript& script, int count)
    {
        std::vector<std::uint64_t> hashes;
        for (int i = 0; i < count; ++i) {
            script.Apply(i, g_InputState[0]);
            scene->Run();
            hashes.push_back(HashStageState(*scene));
        }
        return hashes;
    }
    std::vector<std::uint64_t> Frames(int count) { return Frames(cInputScript(), count); }
    cPlayerObj& player() { return scene->Player.front(); }
    std::vector<std::string> Deaths() const { return trace.LinesStartingWith("death"); }

    cRecordingServices services;
    cScopedServices scopedServices{services};
    cTraceRecorder trace;
    std::unique_ptr<cGamePlay> scene;
};

TEST_F(PlayStep, TheSameScriptGivesTheSameStateOnEveryFrame)
{
    cInputScript script;
    script.Hold(kDirRight, 0, 20).Hold(kDirLeft, 1, 20).Hold(0, 2, 20);
    cEdStage data = FloorStage();
    data.nSpeedLevel = 13;
    Begin(data);
    const auto first = Frames(script, 60);
    Begin(data);
    const auto second = Frames(script, 60);
    EXPECT_EQ(first, second);
    EXPECT_NE(first.front(), first.back()) << "the state moved";
}

TEST_F(PlayStep, RecordingAndPlayingBackTheLogGiveTheSameStates)
{
    g_System.bRecordReplay = 1;
    cInputScript script;
    script.Hold(kDirLeft | kDirUp, 1, 30).Hold(0, 0, 10);
    Begin(FloorStage());
    scene->m_Phase = PHASE_PLAY;
    const auto recorded = Frames(script, 40);
    EXPECT_EQ(g_ReplayLog.FrameCount(), 40);
    EXPECT_EQ(g_ReplayLog.nSeed, 5000);

    const cReplayLog log = g_ReplayLog;
    g_SceneMgr.g_PlayMode = PLAYMODE_REPLAY;
    g_SceneMgr.m_PlayKind = PLAYKIND_REPLAY;
    Begin(FloorStage());
    g_ReplayLog = log;
    scene->SetStage(0, 0);
    scene->m_Phase = PHASE_PLAY;
    const auto played = Frames(40);
    EXPECT_EQ(played, recorded);
    // At the end of the log the stage starts over.
    Frames(1);
    EXPECT_EQ(scene->m_Phase, PHASE_START);
}

TEST_F(PlayStep, TheHeroFallsUnderGravityAndLandsOnTheFloor)
{
    Begin(FloorStage());
    Frames(1);
    EXPECT_EQ(scene->m_Phase, PHASE_PLAY);
    const double startY = player().m_Y;
    Frames(1);
    EXPECT_GT(player().m_Y, startY);
    EXPECT_GT(player().m_SpeedY, 0);
    Frames(60);
    const int floorTop = (12 + 10) * 32;
    // The bottom edge rests in the last pixel row above the floor.
    EXPECT_EQ(static_cast<int>(player().m_Bottom), floorTop - 1);
    EXPECT_LT(player().m_Bottom, floorTop);
    EXPECT_EQ(player().m_SpeedY, 0);
    EXPECT_EQ(player().m_ContactD, 1);
    EXPECT_EQ(player().IsOnGround(), 1);
    const auto fired = trace.LinesStartingWith("fire");
    ASSERT_GE(fired.size(), 3u);
    // The landing sub-step fired 9, 13 and 15 on the player.
    bool landed = false;
    for (std::size_t i = 0; i + 2 < fired.size(); ++i)
        if (fired[i].ends_with(" 0 9") && fired[i + 1].ends_with(" 0 13") &&
            fired[i + 2].ends_with(" 0 15"))
            landed = true;
    EXPECT_TRUE(landed);
    EXPECT_TRUE(Deaths().empty());
}

TEST_F(PlayStep, TheAutoScrollStopsAtItsLimit)
{
    cEdStage data = FloorStage();
    data.bAutoScrollX = 1;
    data.nAutoScrollX = 200; // 20 pixels a frame
    data.bLimitRight = 1;
    data.nLimitRight = 24; // the view may show blocks 0 to 24
    Begin(data);
    Frames(30);
    const cScrollAxis& x = scene->m_ScrollX;
    EXPECT_EQ(x.m_Pos, 320 + 25 * 32 - 640);
    EXPECT_EQ(x.m_AtLimit, 1);
}

TEST_F(PlayStep, FallingBelowTheStageKillsAndALifeIsUsedForTheRetry)
{
    cEdStage data = MakeStage(40, 20, 5, 5);
    data.bShowStartSign = 0;
    g_Progress.nInitialLives = 3;
    Begin(data);
    EXPECT_EQ(g_Progress.nLives, 2) << "the first start took a life";
    int frames = 0;
    while (!player().m_Dying && frames < 200) {
        Frames(1);
        ++frames;
    }
    ASSERT_TRUE(player().m_Dying);
    ASSERT_EQ(Deaths().size(), 1u);
    EXPECT_TRUE(Deaths()[0].ends_with("Dead 2"));
    EXPECT_EQ(services.m_Sounds.back(), 8u);
    // The death display lasts one second beyond the death (no death effect).
    Frames(60);
    EXPECT_EQ(scene->m_Phase, PHASE_PLAY);
    Frames(1);
    EXPECT_EQ(scene->m_Phase, PHASE_START);
    EXPECT_EQ(g_Progress.nLives, 1);
    EXPECT_FALSE(player().m_Dying) << "the stage started again";
}

TEST_F(PlayStep, WithNoLifeLeftTheGameIsOver)
{
    cEdStage data = MakeStage(40, 20, 5, 5);
    data.bShowStartSign = 0;
    g_Progress.nInitialLives = 1;
    Begin(data);
    EXPECT_EQ(g_Progress.nLives, 0);
    Frames(200);
    EXPECT_EQ(scene->m_Phase, PHASE_GAME_OVER);
}

TEST_F(PlayStep, UnlimitedLivesAndADirectStartUseNone)
{
    for (int direct : {0, 1}) {
        SCOPED_TRACE(direct);
        cEdStage data = MakeStage(40, 20, 5, 5);
        data.bShowStartSign = 0;
        g_Progress.nInitialLives = direct ? 2 : kUnlimitedLives;
        ASSERT_EQ(test::LoadAsLiveStage(data), 1);
        scene = std::make_unique<cGamePlay>();
        scene->m_PlayKind = PLAYKIND_FREE;
        scene->m_DirectStart = direct;
        scene->Init();
        scene->m_Phase = PHASE_START;
        Frames(300);
        EXPECT_EQ(g_Progress.nLives, g_Progress.nInitialLives);
        EXPECT_GE(trace.LinesStartingWith("death").size(), 2u) << "died and retried";
        trace.Clear();
    }
}

TEST_F(PlayStep, AStoryDeathOffersTheContinueMenu)
{
    g_SceneMgr.m_PlayKind = PLAYKIND_STORY;
    g_SceneMgr.g_PlayMode = PLAYMODE_NEW_GAME;
    cEdStage data = MakeStage(40, 20, 5, 5);
    data.bShowStartSign = 0;
    g_Progress.nInitialLives = 3;
    Begin(data);
    Frames(200);
    EXPECT_EQ(scene->m_Phase, PHASE_CONTINUE);
}

TEST_F(PlayStep, ADeadlyBlockUnderfootKills)
{
    cEdStage data = MakeStage(40, 20, 5, 5);
    data.bShowStartSign = 0;
    data.PlacedBlocks.push_back(BlockAt(5, 12, 2));
    Begin(data);
    Frames(80);
    ASSERT_FALSE(Deaths().empty());
    EXPECT_TRUE(Deaths()[0].ends_with("Dead 4"));
}

TEST_F(PlayStep, TheTimeLimitRunsOutOneSecondEverySixtyFrames)
{
    cEdStage data = FloorStage();
    data.bTimeLimit = 1;
    data.nTimeLimit = 2;
    Begin(data);
    Frames(1); // the start phase
    Frames(60);
    EXPECT_EQ(scene->m_TimeLeft, 1);
    EXPECT_TRUE(Deaths().empty());
    Frames(60);
    EXPECT_EQ(scene->m_TimeLeft, 0);
    ASSERT_EQ(Deaths().size(), 1u);
    EXPECT_TRUE(Deaths()[0].ends_with("time up"));
    EXPECT_EQ(scene->m_PlayTime, 120 * 100 / 60);
}

TEST_F(PlayStep, TheSpaceKeyPausesAndTheStopFlagCloses)
{
    Begin(FloorStage());
    Frames(2);
    services.m_KeysDown = {0x20};
    Frames(1);
    EXPECT_EQ(scene->m_Phase, PHASE_PAUSE);
    EXPECT_EQ(scene->m_SavedPhase, PHASE_PLAY);
    EXPECT_EQ(services.m_Sounds.back(), 4u);
    services.m_KeysDown.clear();
    scene->m_Phase = PHASE_PLAY;
    scene->m_StopFlag = 1;
    Frames(1);
    EXPECT_EQ(services.m_CloseRequests, 1);
}

TEST_F(PlayStep, HeldButtonsAreIgnoredUntilReleased)
{
    Begin(FloorStage());
    scene->m_Phase = PHASE_PLAY;
    scene->m_HoldButtons = 1;
    cInputScript script;
    script.Hold(0, 1, 2).Hold(0, 0, 1).Hold(0, 1, 1);
    Frames(script, 1);
    EXPECT_EQ(g_InputState[0].m_ButtonBits, 0);
    EXPECT_EQ(scene->m_HoldButtons, 1);
}

TEST_F(PlayStep, TheGameOverPhaseLeavesOnAHeldButton)
{
    Begin(FloorStage());
    scene->m_Phase = PHASE_GAME_OVER;
    Frames(3);
    EXPECT_EQ(scene->m_Phase, PHASE_GAME_OVER);
    cInputScript press;
    press.Hold(0, 1, 1);
    Frames(press, 1);
    EXPECT_EQ(scene->m_Phase, PHASE_FADE_OUT);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_TITLE);
}

TEST_F(PlayStep, AReplayStartsOverAfterThePlayersDeath)
{
    g_SceneMgr.g_PlayMode = PLAYMODE_REPLAY;
    g_SceneMgr.m_PlayKind = PLAYKIND_REPLAY;
    cEdStage data = MakeStage(40, 20, 5, 5);
    data.bShowStartSign = 0;
    g_Progress.nInitialLives = 3;
    Begin(data);
    g_ReplayLog = cInputScript().Hold(0, 0, 400).ToReplayLog(9);
    scene->SetStage(0, 0);
    g_Progress.SnapshotStageStart();
    const std::int32_t lives = g_Progress.nLives;
    scene->m_Phase = PHASE_PLAY;
    for (int i = 0; i < 300 && !player().m_Dying; ++i)
        Frames(1);
    ASSERT_TRUE(player().m_Dying);
    Frames(61);
    EXPECT_EQ(scene->m_Phase, PHASE_START);
    EXPECT_EQ(g_Progress.nLives, lives) << "a replay uses no life";
    EXPECT_EQ(scene->m_RandomSeed, 9);
}

TEST_F(PlayStep, LifeTimersAndRemovalAreasTakeCharactersAway)
{
    cEdStage data = FloorStage();
    data.Areas[0].Set(1, 1, 1, 1, 1, 1, 1, 1);
    Begin(data);
    scene->m_Phase = PHASE_PLAY;
    scene->m_RemoveAreaOn[0] = 1;
    // A computer character standing beside the hero (it acts and stands),
    // and a copy far outside the removal area.
    cEdChara def = NoneChara();
    def.nOperator = 1;
    def.nGroup = 0;
    cNpcObj timed;
    timed.SetupNpc(1, def, nullptr, 0, 0, 0);
    timed.m_Life = 2;
    timed.m_Operator = 1;
    timed.m_Def.nMaxHP = 10;
    timed.m_Hp = 10;
    timed.m_X = player().m_X;
    timed.m_Y = player().m_Y;
    timed.UpdateEdgeX(-1);
    timed.UpdateEdgeY(-1);
    cNpcObj far = timed;
    far.m_ObjNo = 2;
    far.m_Life = kNoLife;
    far.m_Present = 1;
    far.m_X = 5000;
    far.UpdateEdgeX(-1);
    scene->AddChara(timed);
    scene->AddChara(far);
    Frames(1);
    EXPECT_EQ(scene->FindObjectByNumber(2), nullptr) << "outside its removal area on sub-step 1";
    ASSERT_NE(scene->FindObjectByNumber(1), nullptr);
    Frames(2);
    EXPECT_EQ(scene->FindObjectByNumber(1), nullptr) << "its life ran out";
    EXPECT_TRUE(scene->m_CharaList.empty());
    EXPECT_TRUE(scene->m_CharaGroups[0].empty()) << "both left their group list";
}

TEST_F(PlayStep, TheStartDisplayLastsEightyFrames)
{
    cEdStage data = FloorStage();
    data.bShowStartSign = 1;
    Begin(data);
    Frames(79);
    EXPECT_EQ(scene->m_Phase, PHASE_START);
    Frames(1);
    EXPECT_EQ(scene->m_Phase, PHASE_PLAY);
}

} // namespace
