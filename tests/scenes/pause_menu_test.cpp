// The pause menu and the continue and game-over phases, driven by input
// scripts: retry is offered per play kind (free play always, story and
// challenge only for a stage cleared before and when the system data
// allows it, never in a replay); each row does what it says; cancel goes
// back; a story death offers the continue menu, whose rows retry or go
// back to the map; with no life left the game is over.

#include <gtest/gtest.h>

#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "play_fixture.h"

namespace {

constexpr std::uint16_t kConfirm = 1;
constexpr std::uint16_t kCancel = 2;

// A frame of nothing (the menu opens on "つづける"), then the given input
// for one frame, a free frame and the button.
cInputScript Choose(std::uint16_t dir, std::uint16_t button)
{
    cInputScript script;
    script.Hold(0, 0, 1);
    if (dir) script.Hold(dir, 0, 1).Hold(0, 0, 1);
    return script.Hold(0, button, 1);
}

class PauseMenu : public test::PlayFixture {
protected:
    // The pause menu opened from the play phase.
    void Pause()
    {
        scene->m_SavedPhase = PHASE_PLAY;
        scene->m_SavedSubState = 0;
        scene->m_SubState = 0;
        scene->m_Phase = PHASE_PAUSE;
    }
    void Play(const cInputScript& script) { Frames(script, script.FrameCount()); }
};

struct RetryCase {
    const char* what;
    int kind;
    int mode;
    int storySwitch;
    int challengeSwitch;
    int stageIndex;
    int storyCleared;     // the progress record's flag of the stage index
    int challengeCleared; // the challenge entry of index - 1
    bool retry;
};

TEST_F(PauseMenu, RetryIsOfferedPerPlayKind)
{
    const RetryCase cases[] = {
        {"free play", PLAYKIND_FREE, PLAYMODE_FREE, 0, 0, 1, 0, 0, true},
        {"story, cleared, allowed", PLAYKIND_STORY, PLAYMODE_NEW_GAME, 1, 0, 3, 1, 0, true},
        {"story, not cleared", PLAYKIND_STORY, PLAYMODE_NEW_GAME, 1, 1, 3, 0, 1, false},
        {"story, cleared, not allowed", PLAYKIND_STORY, PLAYMODE_CONTINUE, 0, 1, 3, 1, 1, false},
        {"story, index outside the flags", PLAYKIND_STORY, PLAYMODE_NEW_GAME, 1, 0, 5000, 1, 0,
         false},
        {"challenge, cleared, allowed", PLAYKIND_CHALLENGE, PLAYMODE_CHALLENGE, 0, 1, 2, 0, 1,
         true},
        {"challenge, not cleared", PLAYKIND_CHALLENGE, PLAYMODE_CHALLENGE, 1, 1, 2, 1, 0, false},
        {"challenge, cleared, not allowed", PLAYKIND_CHALLENGE, PLAYMODE_CHALLENGE, 1, 0, 2, 1, 1,
         false},
        {"challenge, index 0 has no entry", PLAYKIND_CHALLENGE, PLAYMODE_CHALLENGE, 1, 1, 0, 1, 1,
         false},
        {"replay", PLAYKIND_REPLAY, PLAYMODE_REPLAY, 1, 1, 2, 1, 1, false},
    };
    for (const RetryCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetPlay(c.kind, c.mode);
        g_System.bRetryStory = c.storySwitch;
        g_System.bRetryChallenge = c.challengeSwitch;
        Begin(test::FloorStage());
        g_Progress.nStageIndex = c.stageIndex;
        g_Progress.vStageFlags.assign(10, 0);
        if (c.stageIndex < 10)
            g_Progress.vStageFlags[static_cast<std::size_t>(c.stageIndex)] = c.storyCleared;
        g_Progress.vChallenge.assign(4, cEdIntPair());
        g_Progress.vChallenge[1].bCleared = c.challengeCleared;
        Pause();
        // Down from "つづける" lands on "リトライ" in three rows and wraps to
        // "しゅうりょう" in two; confirming shows which.
        Play(Choose(kDirDown, kConfirm));
        if (c.retry) {
            EXPECT_EQ(scene->m_Phase, PHASE_START) << "retried";
            EXPECT_EQ(scene->m_HoldButtons, 1);
        } else {
            EXPECT_EQ(scene->m_Phase, PHASE_FADE_OUT) << "quit";
            EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_TITLE);
        }
    }
}

TEST_F(PauseMenu, GoingOnReturnsToThePausedPhaseAndHoldsTheButtons)
{
    Begin(test::FloorStage());
    Frames(3);
    const double y = scene->Player.front().m_Y;
    Pause();
    Play(cInputScript().Hold(0, 0, 20));
    EXPECT_EQ(scene->m_Phase, PHASE_PAUSE);
    EXPECT_EQ(scene->Player.front().m_Y, y) << "the world stands still under the menu";
    services.m_Sounds.clear();
    Play(Choose(0, kConfirm));
    EXPECT_EQ(scene->m_Phase, PHASE_PLAY);
    EXPECT_EQ(scene->m_HoldButtons, 1);
    EXPECT_EQ(services.m_Sounds, std::vector<std::uint32_t>{1});
}

TEST_F(PauseMenu, QuittingGoesToTheTitleWithItsCursorOnThePlayMode)
{
    SetPlay(PLAYKIND_STORY, PLAYMODE_CONTINUE);
    Begin(test::FloorStage());
    Pause();
    Play(Choose(kDirUp, kConfirm));
    EXPECT_EQ(scene->m_Phase, PHASE_FADE_OUT);
    EXPECT_EQ(scene->m_SubState, 0);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_TITLE);
    EXPECT_EQ(g_MenuCursor.top->row, PLAYMODE_CONTINUE);
    EXPECT_EQ(services.m_CloseRequests, 0);
}

TEST_F(PauseMenu, QuittingADirectStartClosesTheProgram)
{
    Begin(test::FloorStage());
    scene->m_DirectStart = 1;
    g_SceneMgr.g_ReqScene = SCENE_GAME_PLAY;
    Pause();
    Play(Choose(kDirUp, kConfirm));
    EXPECT_EQ(scene->m_Phase, PHASE_FADE_OUT);
    EXPECT_EQ(services.m_CloseRequests, 1);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_GAME_PLAY) << "nothing more";
}

TEST_F(PauseMenu, RetryStartsTheStageOverFromItsStart)
{
    Begin(test::FloorStage());
    g_Progress.nScore = 10;
    g_Progress.SnapshotStageStart();
    g_Progress.nScore = 99;
    Frames(30);
    Pause();
    Play(Choose(kDirDown, kConfirm));
    EXPECT_EQ(scene->m_Phase, PHASE_START);
    EXPECT_EQ(scene->m_SubState, 0);
    EXPECT_EQ(g_Progress.nScore, 10) << "the stage-start values are back";
    EXPECT_EQ(scene->m_PlayFrames, 0) << "the stage was set up again";
}

TEST_F(PauseMenu, CancelGoesBackAndTwoRowsRestartTheSubState)
{
    for (const bool threeRows : {true, false}) {
        SCOPED_TRACE(threeRows);
        SetPlay(threeRows ? PLAYKIND_FREE : PLAYKIND_REPLAY,
                threeRows ? PLAYMODE_FREE : PLAYMODE_REPLAY);
        Begin(test::FloorStage());
        services.m_Sounds.clear();
        scene->m_SavedPhase = PHASE_CLEAR;
        scene->m_SavedSubState = 1;
        scene->m_SubState = 0;
        scene->m_Phase = PHASE_PAUSE;
        Play(Choose(kDirDown, kCancel));
        EXPECT_EQ(scene->m_Phase, PHASE_CLEAR);
        EXPECT_EQ(scene->m_SubState, threeRows ? 1 : 0);
        EXPECT_EQ(scene->m_HoldButtons, 1);
        EXPECT_EQ(services.m_Sounds, std::vector<std::uint32_t>{2});
    }
}

TEST_F(PauseMenu, TheCursorWrapsAndAHeldDirectionRepeats)
{
    Begin(test::FloorStage());
    for (InputState& s : g_InputState)
        SetAutoRepeat(s, 18, 6);
    Pause();
    // Down held: a step on its first frame, then after 18 more and every 6th.
    Play(cInputScript().Hold(0, 0, 1).Hold(kDirDown, 0, 18));
    EXPECT_EQ(g_MenuCursor.top->row, 2);
    Play(cInputScript().Hold(kDirDown, 0, 1));
    EXPECT_EQ(g_MenuCursor.top->row, 0) << "down from the last row wraps to the first";
    Play(cInputScript().Hold(kDirDown, 0, 5));
    EXPECT_EQ(g_MenuCursor.top->row, 0);
    Play(cInputScript().Hold(kDirDown, 0, 1));
    EXPECT_EQ(g_MenuCursor.top->row, 1);
    Play(cInputScript().Hold(kDirUp, 0, 1).Hold(0, 0, 1).Hold(kDirUp, 0, 1));
    EXPECT_EQ(g_MenuCursor.top->row, 2) << "up from the first row wraps to the last";
}

TEST_F(PauseMenu, SpaceInPlayOpensTheMenuOnGoOn)
{
    Begin(test::FloorStage());
    Frames(2);
    services.m_KeysDown = {0x20};
    Frames(1);
    services.m_KeysDown.clear();
    ASSERT_EQ(scene->m_Phase, PHASE_PAUSE);
    Frames(1);
    EXPECT_EQ(g_MenuCursor.top->row, 1);
    EXPECT_EQ(scene->m_SubState, 1);
}

class DeathMenus : public test::PlayFixture {
protected:
    // A stage without a floor: the hero falls out of it.
    static cEdStage Pit()
    {
        cEdStage data = test::MakeStage(40, 20, 5, 5);
        data.bShowStartSign = 0;
        return data;
    }
};

TEST_F(DeathMenus, AStoryDeathOffersRetryAndThenTheWayBackToTheMap)
{
    SetPlay(PLAYKIND_STORY, PLAYMODE_NEW_GAME);
    g_System.bContinueMenu = 1;
    g_Progress.nInitialLives = 3;
    Begin(Pit());
    ASSERT_TRUE(RunUntilPhase(PHASE_CONTINUE, 300));
    EXPECT_EQ(g_Progress.nLives, 1);
    Frames(Choose(0, kConfirm), 2);
    EXPECT_EQ(g_MenuCursor.top->row, 0) << "the menu opens on retry";
    EXPECT_EQ(scene->m_Phase, PHASE_START) << "retry";
    EXPECT_FALSE(scene->Player.front().m_Dying);

    ASSERT_TRUE(RunUntilPhase(PHASE_CONTINUE, 300));
    EXPECT_EQ(g_Progress.nLives, 0);
    services.m_Sounds.clear();
    Frames(Choose(kDirDown, kConfirm), 4);
    EXPECT_EQ(scene->m_Phase, PHASE_FADE_OUT);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_WORLD_MAP);
    EXPECT_EQ(g_Progress.bBackToMap, 1);
    EXPECT_EQ(g_MenuCursor.top->row, PLAYMODE_NEW_GAME);
    EXPECT_EQ(services.m_Sounds, std::vector<std::uint32_t>{1});
}

TEST_F(DeathMenus, TheContinueMenuHasNoCancel)
{
    SetPlay(PLAYKIND_STORY, PLAYMODE_NEW_GAME);
    g_Progress.nInitialLives = 3;
    Begin(Pit());
    ASSERT_TRUE(RunUntilPhase(PHASE_CONTINUE, 300));
    Frames(cInputScript().Hold(0, 0, 1).Hold(0, kCancel, 1).Hold(0, 0, 1).Hold(0, kCancel, 1), 4);
    EXPECT_EQ(scene->m_Phase, PHASE_CONTINUE);
}

TEST_F(DeathMenus, WithNoLifeLeftTheGameIsOverAndAHeldButtonLeavesForTheTitle)
{
    SetPlay(PLAYKIND_STORY, PLAYMODE_NEW_GAME);
    g_Progress.nInitialLives = 1;
    Begin(Pit());
    ASSERT_TRUE(RunUntilPhase(PHASE_GAME_OVER, 300));
    // The pause menu is reachable here too, and goes back to game over.
    services.m_KeysDown = {0x20};
    Frames(1);
    services.m_KeysDown.clear();
    ASSERT_EQ(scene->m_Phase, PHASE_PAUSE);
    Frames(Choose(0, kConfirm), 2);
    ASSERT_EQ(scene->m_Phase, PHASE_GAME_OVER);
    Frames(5);
    EXPECT_EQ(scene->m_Phase, PHASE_GAME_OVER);
    // Held, not pressed anew: this phase reads the held state.
    Frames(cInputScript().Hold(0, kConfirm, 1), 1);
    EXPECT_EQ(scene->m_Phase, PHASE_FADE_OUT);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_TITLE);
}

} // namespace
