// The bundled game as a player meets it, from its title menu through the
// real scenes, with the player's input given frame by frame and the game's
// own main window serving the file browser and the name dialog: a new story
// whose first stage is cleared, saved into a story slot and continued with
// the same progress; a challenge cleared and recorded in Challenge.dat; the
// options changed, written and read back; free play of a stage chosen in
// the file browser; and a stored replay played back to its end. The stages
// are played by the demo player.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/ed_data.h"
#include "data/ed_option.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "data/path_table.h"
#include "data/replay_log.h"
#include "data/story_slots.h"
#include "media/bgm.h"
#include "media/dd_palette.h"
#include "platform/dialog.h"
#include "platform/input.h"
#include "scenes/challenge_scene.h"
#include "scenes/free_play.h"
#include "scenes/game_play.h"
#include "scenes/menu_run.h"
#include "scenes/option_scene.h"
#include "scenes/save_menu_scene.h"
#include "scenes/title_scene.h"
#include "scenes/world_map_scene.h"
#include "shell/name_dialog.h"
#include "support/demo_bot.h"

namespace {

namespace fs = std::filesystem;

// Frames a stage may take to be set up, played to its clear, and left.
constexpr int kSetUpLimit = 400;
constexpr int kClearLimit = 3000;
constexpr int kLeaveLimit = 400;

std::string Bytes(cEdData& record)
{
    const std::vector<std::uint8_t> bytes = SaveToBytes(record);
    return std::string(bytes.begin(), bytes.end());
}

bool SameColour(const DDPALENTRY& a, const DDPALENTRY& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

class MenuChain : public test::MenuRun {
protected:
    MenuChain() { realMainWindow = true; }

    void TearDown() override
    {
        g_RestartFreePlay = savedRestart_;
        g_Bgm.Release();
        test::MenuRun::TearDown();
    }

    // Frames until the title menu is shown.
    bool AtTitle() { return RunUntil(SCENE_TITLE, cTitleScene::PHASE_MENU, 60); }
    // The title menu's row of an item.
    int TitleRow(std::int32_t item) { return RowOf(Current<cTitleScene>()->m_VisibleIds, item); }
    void ChooseTitleItem(std::int32_t item)
    {
        ASSERT_TRUE(AtTitle());
        ChooseRow(Current<cTitleScene>()->m_VisibleIds, item);
    }
    // Down a menu of these rows to the item's row (from the cursor's), then
    // confirm.
    void ChooseRow(const std::vector<std::int32_t>& rows, std::int32_t item)
    {
        const int row = RowOf(rows, item);
        for (int i = 0; i < static_cast<int>(rows.size()) && g_MenuCursor.top->row != row; ++i)
            Press(kDirDown);
        ASSERT_EQ(g_MenuCursor.top->row, row);
        Confirm();
    }

    // Frames until the play scene is in its play phase.
    bool UntilPlay() { return RunUntil(SCENE_GAME_PLAY, PHASE_PLAY, kSetUpLimit); }
    // The demo player at the keys until the stage is cleared.
    bool PlayToClear()
    {
        test::DemoBot bot;
        for (int i = 0; i < kClearLimit && !InPhase(SCENE_GAME_PLAY, PHASE_CLEAR); ++i) {
            const InputFrame keys =
                InPhase(SCENE_GAME_PLAY, PHASE_PLAY) ? bot.Decide(*g_GamePlay) : InputFrame{};
            Frame(keys.m_Dir, keys.m_Buttons);
        }
        return InPhase(SCENE_GAME_PLAY, PHASE_CLEAR);
    }
    // Button 1 pressed again and again until the clear display is left.
    void LeaveClear()
    {
        for (int i = 0; i < kLeaveLimit && InPhase(SCENE_GAME_PLAY, PHASE_CLEAR); ++i)
            Frame(0, static_cast<std::uint16_t>(i % 2));
    }
    // Space for a frame: the pause menu; then up to its first row,
    // "しゅうりょう", confirmed.
    void QuitFromPause()
    {
        services.m_KeysDown = {plat::VK_SPACE};
        Frame();
        services.m_KeysDown.clear();
        ASSERT_TRUE(InPhase(SCENE_GAME_PLAY, PHASE_PAUSE));
        Frame();
        Press(kDirUp);
        Confirm();
    }
    // The hero's place across the stage.
    static double HeroX() { return g_GamePlay->Player.front().m_X; }

private:
    std::function<int()> savedRestart_ = g_RestartFreePlay;
};

// A new story: the first stage cleared by the demo player, the map showing
// it cleared, the story saved into slot 3 (Story04.dat) from the save menu,
// the title, and the story continued from that slot, in this run and in the
// next one, with the same progress on the map.
TEST_F(MenuChain, ANewStoryClearedSavedAndContinuedComesBackTheSame)
{
    ASSERT_NO_FATAL_FAILURE(ChooseTitleItem(TITLE_NEW_GAME));
    ASSERT_TRUE(RunUntil(SCENE_WORLD_MAP, cWorldMapScene::PHASE_MAP, 60));
    const cEdWorldEventItem& entry = g_WorldMap.m_Events.at(0).m_Items.at(0);
    const std::size_t flag = static_cast<std::size_t>(entry.m_ClearFlag);
    EXPECT_EQ(g_Progress.vStageFlags.at(flag), 0);

    // Right along the road onto the first entry, whose question opens; up
    // to "take it on".
    for (int i = 0; i < 10 && !InPhase(SCENE_WORLD_MAP, cWorldMapScene::PHASE_QUESTION); ++i)
        Press(kDirRight);
    ASSERT_TRUE(InPhase(SCENE_WORLD_MAP, cWorldMapScene::PHASE_QUESTION));
    const std::pair<int, int> onEntry{g_MenuCursor.previous->column, g_MenuCursor.previous->row};
    Frame(); // the question's first frame reads the stage
    Press(kDirUp);
    Confirm();
    ASSERT_TRUE(UntilPlay());
    EXPECT_EQ(g_SceneMgr.g_PlayMode, PLAYMODE_NEW_GAME);
    EXPECT_EQ(g_Progress.m_pMapEvent, &entry);
    const std::int32_t livesInPlay = g_Progress.nLives;

    ASSERT_TRUE(PlayToClear()) << "the demo player no longer clears " << g_Stage.strFileName
                               << " (x " << HeroX() << ")";
    const std::int32_t score = g_Progress.nScore;
    EXPECT_GT(score, 0);
    EXPECT_EQ(g_Progress.nLives, livesInPlay + score / 1000) << "a life for every 1000 points";
    LeaveClear();

    // Back on the map, on the entry, the stage cleared with its best score.
    ASSERT_TRUE(RunUntil(SCENE_WORLD_MAP, cWorldMapScene::PHASE_MAP, kLeaveLimit));
    EXPECT_EQ(g_SceneMgr.g_PrevScene, SCENE_GAME_PLAY);
    cWorldMapScene& map = *Current<cWorldMapScene>();
    EXPECT_EQ(std::make_pair(g_MenuCursor.top->column, g_MenuCursor.top->row), onEntry);
    EXPECT_EQ(g_Progress.vStageFlags.at(flag), 1);
    EXPECT_EQ(g_Progress.GetBestScore(g_Progress.strStage), score);
    EXPECT_EQ(map.m_BestScore, score) << "the map's panel shows the best score";
    EXPECT_EQ(map.m_Phase, cWorldMapScene::PHASE_MAP) << "a cleared entry does not start again";

    // The save menu: "save", slot 3, "save it".
    Cancel();
    ASSERT_TRUE(RunUntil(SCENE_SAVE_MENU, cSaveMenuScene::PHASE_MENU, 60));
    cSaveMenuScene& menu = *Current<cSaveMenuScene>();
    ASSERT_NO_FATAL_FAILURE(ChooseRow(menu.m_VisibleIds, SAVEMENU_SAVE));
    ASSERT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_SLOTS);
    for (int i = 0; i < 3; ++i)
        Press(kDirDown);
    Confirm();
    Press(kDirUp);
    Confirm();
    EXPECT_EQ(g_Progress.nSlot, 3);
    EXPECT_TRUE(g_StorySlots[3].bUsed);
    const cSaveData saved = g_Progress;
    cSaveData record = saved;
    EXPECT_TRUE(dir_.read("user_data/story/Story04.dat") == Bytes(record))
        << "the slot's file holds the whole progress";

    // Back to the save menu's rows, "to the title", confirmed.
    Cancel();
    ASSERT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_MENU);
    ASSERT_NO_FATAL_FAILURE(ChooseRow(menu.m_VisibleIds, SAVEMENU_TO_TITLE));
    Press(kDirUp);
    Confirm();

    // "Continue", slot 3: the map with the same progress. Then again in
    // the next run of the program, which knows the story only from its file.
    for (const bool nextRun : {false, true}) {
        SCOPED_TRACE(nextRun ? "the next run" : "this run");
        if (nextRun) ResetMenuGlobals();
        ASSERT_NO_FATAL_FAILURE(ChooseTitleItem(TITLE_CONTINUE));
        ASSERT_TRUE(InPhase(SCENE_TITLE, cTitleScene::PHASE_SLOTS));
        for (int i = 0; i < 3; ++i)
            Press(kDirDown);
        Confirm();
        ASSERT_TRUE(RunUntil(SCENE_WORLD_MAP, cWorldMapScene::PHASE_MAP, 60));
        EXPECT_EQ(g_SceneMgr.g_PlayMode, PLAYMODE_CONTINUE);
        EXPECT_EQ(g_Progress.vStageFlags, saved.vStageFlags);
        EXPECT_EQ(g_Progress.nScore, saved.nScore);
        EXPECT_EQ(g_Progress.GetBestScore(saved.strStage), score);
        EXPECT_EQ(g_Progress.nLives, saved.nLives);
        EXPECT_EQ(g_Progress.nSlot, 3);
        EXPECT_EQ(std::make_pair(g_MenuCursor.top->column, g_MenuCursor.top->row), onEntry);
        EXPECT_EQ(Current<cWorldMapScene>()->m_BestScore, score);
        cSaveData loaded = g_Progress;
        EXPECT_TRUE(Bytes(loaded) == Bytes(record)) << "the whole progress as it was saved";
        // Leave the map for the title again.
        Cancel();
        ASSERT_TRUE(RunUntil(SCENE_SAVE_MENU, cSaveMenuScene::PHASE_MENU, 60));
        ASSERT_NO_FATAL_FAILURE(
            ChooseRow(Current<cSaveMenuScene>()->m_VisibleIds, SAVEMENU_TO_TITLE));
        Press(kDirUp);
        Confirm();
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TakeCloses(), 0);
}

// The challenges: the first one (a chain of two stages) cleared by the demo
// player, Challenge.dat written with the clear and the second challenge
// opened, and the list of the next run opening with both.
TEST_F(MenuChain, AChallengeClearedIsRecordedAndOpensTheNext)
{
    ASSERT_NO_FATAL_FAILURE(ChooseTitleItem(TITLE_CHALLENGE));
    ASSERT_TRUE(RunUntil(SCENE_CHALLENGE, cChallengeScene::PHASE_LIST, 60));
    EXPECT_EQ(Current<cChallengeScene>()->m_Count, g_System.nChallengeStages)
        << "the bundled game lists every challenge";
    EXPECT_EQ(g_Progress.nChallengeOpen, 1);
    Confirm();
    ASSERT_TRUE(UntilPlay());
    EXPECT_EQ(g_SceneMgr.g_PlayMode, PLAYMODE_CHALLENGE);
    EXPECT_EQ(g_Progress.nStageIndex, 1);

    // Both stages of the chain, the second in the same play.
    for (const std::int32_t part : {1, 2}) {
        SCOPED_TRACE(part);
        ASSERT_TRUE(UntilPlay());
        EXPECT_EQ(g_Progress.nChainNo, part);
        ASSERT_TRUE(PlayToClear()) << "the demo player no longer clears " << g_Stage.strFileName
                                   << " (x " << HeroX() << ")";
        if (part == 2) break;
        LeaveClear();
    }
    const std::int32_t score = g_Progress.nScore;
    EXPECT_GT(score, 0);
    EXPECT_FALSE(fs::exists(dir_ / "user_data/challenge/Challenge.dat"));
    LeaveClear();

    ASSERT_TRUE(RunUntil(SCENE_CHALLENGE, cChallengeScene::PHASE_LIST, kLeaveLimit));
    EXPECT_EQ(g_Progress.nChallengeOpen, 2) << "the second challenge is open";
    EXPECT_EQ(g_Progress.vChallenge.at(0).bCleared, 1);
    cSaveData written;
    ASSERT_EQ(LoadFile(written, g_PathTable[PATH_CHALLENGE_DATA]), 1);
    EXPECT_EQ(written.nChallengeOpen, 2);
    ASSERT_GE(written.vChallenge.size(), 2u);
    EXPECT_EQ(written.vChallenge[0].bCleared, 1);
    EXPECT_EQ(written.vChallenge[0].nBest, score);
    EXPECT_EQ(written.vChallenge[1].bCleared, 0);
    EXPECT_EQ(written.nTotalScore, score);

    // Cancel: the title; the next run's list comes from Challenge.dat.
    Cancel();
    ASSERT_TRUE(AtTitle());
    ResetMenuGlobals();
    ASSERT_NO_FATAL_FAILURE(ChooseTitleItem(TITLE_CHALLENGE));
    ASSERT_TRUE(RunUntil(SCENE_CHALLENGE, cChallengeScene::PHASE_LIST, 60));
    EXPECT_EQ(g_Progress.nChallengeOpen, 2);
    EXPECT_EQ(g_Progress.vChallenge.at(0).bCleared, 1);
    EXPECT_EQ(g_Progress.vChallenge.at(0).nBest, score);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TakeCloses(), 0);
}

// The options on the 8-bit display, where the palette variant acts (the
// bundled game, drawn in true colour, does not offer it: the test does):
// each value changed, the name typed in the name dialog, Option.dat written
// on leaving and a fresh load giving the same values.
class MenuChainOptions : public MenuChain {
protected:
    void SetUp() override
    {
        mode = {"Surface8", 0, 8, 0};
        MenuChain::SetUp();
        g_System.vOptionMenu.at(OPTION_PALETTE).bEnabled = 1;
        plat::setDialogResponder([](plat::DialogPlayer& p) {
            p.type(IDC_NAME_EDIT, "Bob");
            p.click(IDC_NAME_OK);
        });
    }
    // Changes the item's value with presses up (positive) or down, and
    // confirms it.
    void Change(cOptionScene& options, std::int32_t item, int steps)
    {
        ASSERT_NO_FATAL_FAILURE(ChooseRow(options.m_VisibleIds, item));
        ASSERT_EQ(options.m_SubState, cOptionScene::MENU_EDIT);
        for (int i = 0; i < (steps < 0 ? -steps : steps); ++i)
            Press(steps < 0 ? kDirDown : kDirUp);
        Confirm();
        ASSERT_EQ(options.m_SubState, cOptionScene::MENU_CHOOSE);
    }
};

TEST_F(MenuChainOptions, TheOptionsChangedAreWrittenAndReadBack)
{
    const auto palette = g_Palette;
    const cEdOption before = g_Option;
    ASSERT_NO_FATAL_FAILURE(ChooseTitleItem(TITLE_OPTIONS));
    ASSERT_TRUE(RunUntil(SCENE_OPTION, cOptionScene::PHASE_MENU, 60));
    cOptionScene& options = *Current<cOptionScene>();

    ASSERT_NO_FATAL_FAILURE(Change(options, OPTION_PALETTE, 2));
    EXPECT_EQ(g_Option.nPalette, 2);
    EXPECT_FALSE(SameColour(g_Palette[16], palette[16])) << "the variant is in force at once";
    ASSERT_NO_FATAL_FAILURE(Change(options, OPTION_MUSIC, -1));
    ASSERT_NO_FATAL_FAILURE(Change(options, OPTION_SE_VOLUME, -3));
    ASSERT_NO_FATAL_FAILURE(Change(options, OPTION_RANK_MODE, 3));
    ASSERT_NO_FATAL_FAILURE(ChooseRow(options.m_VisibleIds, OPTION_RANK_NAME));
    EXPECT_EQ(g_Option.strRegName, "Bob");
    EXPECT_FALSE(fs::exists(dir_ / "user_data/Option.dat")) << "written only on leaving";
    Cancel();
    ASSERT_TRUE(AtTitle());
    EXPECT_EQ(g_MenuCursor.top->row, TitleRow(TITLE_OPTIONS));

    const cEdOption expected = g_Option;
    EXPECT_EQ(expected.nPalette, 2);
    EXPECT_EQ(expected.bBgm, 1 - before.bBgm);
    EXPECT_EQ(expected.nSeVolume, before.nSeVolume - 3);
    EXPECT_EQ(expected.nRankMode, (before.nRankMode + 3) % kRankModes);
    // The start-up's load of the next run.
    g_Option = cEdOption();
    ASSERT_EQ(LoadFile(g_Option, g_PathTable[PATH_OPTION]), 1);
    EXPECT_EQ(g_Option.nPalette, expected.nPalette);
    EXPECT_EQ(g_Option.bBgm, expected.bBgm);
    EXPECT_EQ(g_Option.nSeVolume, expected.nSeVolume);
    EXPECT_EQ(g_Option.nRankMode, expected.nRankMode);
    EXPECT_EQ(g_Option.strRegName, "Bob");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TakeCloses(), 0);
}

// Free play: the file browser opens the second stage, the demo player
// plays it, and the pause menu's quit returns to the title on free play.
TEST_F(MenuChain, FreePlayOpensAStageInTheFileBrowserAndItPlays)
{
    // As the start-up registers it: a single stage plays again.
    g_RestartFreePlay = [] { return StartFreePlay(g_LastStagePath.c_str(), 0); };
    chooseFile = "data\\stg4\\Stage2.stg4_001";
    ASSERT_NO_FATAL_FAILURE(ChooseTitleItem(TITLE_FREE));
    EXPECT_EQ(fileDialogs, std::vector<std::string>{Sjis("ステージファイルの選択")});
    ASSERT_TRUE(UntilPlay());
    EXPECT_EQ(g_Stage.strFileName, *chooseFile);
    EXPECT_EQ(g_SceneMgr.g_PlayMode, PLAYMODE_FREE);
    const double startX = HeroX();

    ASSERT_TRUE(PlayToClear()) << "the demo player no longer clears " << g_Stage.strFileName
                               << " (x " << HeroX() << ")";
    EXPECT_GT(g_Progress.nScore, 0);
    const int setUps = g_GamePlay->m_SetStageCount;
    LeaveClear();
    ASSERT_TRUE(UntilPlay()) << "the stage plays again";
    EXPECT_EQ(g_GamePlay->m_SetStageCount, setUps + 1);
    EXPECT_EQ(g_Stage.strFileName, *chooseFile);
    EXPECT_EQ(g_Progress.nScore, 0);
    EXPECT_EQ(HeroX(), startX);

    ASSERT_NO_FATAL_FAILURE(QuitFromPause());
    ASSERT_TRUE(AtTitle());
    EXPECT_EQ(g_MenuCursor.top->row, TitleRow(TITLE_FREE));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TakeCloses(), 0);
}

// A stored replay of the bundled game chosen in the replay browser: it
// plays back to its end through every recorded state, then starts over,
// and the pause menu's quit returns to the title on the replay item.
TEST_F(MenuChain, AStoredReplayPlaysToItsEndAndStartsOver)
{
    const char* source = std::getenv("RT_SOURCE_DIR");
    const fs::path demos = fs::path(source ? source : ".") / "tests" / "demos";
    fs::create_directories(dir_ / "user_data/rpl4");
    for (const char* ext : {".rpl4_511", ".sync"})
        fs::copy_file(demos / (std::string("challenge1-cleared") + ext),
                      dir_ / "user_data/rpl4" / (std::string("challenge1-cleared") + ext));
    chooseFile = "user_data\\rpl4\\challenge1-cleared.rpl4_511";
    ASSERT_NO_FATAL_FAILURE(ChooseTitleItem(TITLE_REPLAY));
    EXPECT_EQ(fileDialogs, std::vector<std::string>{Sjis("リプレイファイルの選択")});
    ASSERT_TRUE(UntilPlay());
    EXPECT_EQ(g_SceneMgr.g_PlayMode, PLAYMODE_REPLAY);
    const std::int64_t frames = g_ReplayLog.FrameCount();
    ASSERT_GT(frames, 0);

    // No input of the player's: the log plays.
    const cReplayCheck& check = g_GamePlay->m_ReplayCheck;
    for (int i = 0; i < frames + kLeaveLimit && check.m_Completed == 0; ++i)
        Frame();
    EXPECT_EQ(check.m_Completed, 1) << "the replay reached its last frame";
    EXPECT_EQ(check.m_OutOfSyncAt, 0);
    EXPECT_GT(check.m_Matched, 0);
    // It was an attempt that cleared the stage: the clear display, then
    // the replay from its start again.
    ASSERT_TRUE(InPhase(SCENE_GAME_PLAY, PHASE_CLEAR));
    LeaveClear();
    ASSERT_TRUE(UntilPlay());
    EXPECT_EQ(g_Progress.nScore, 0);

    ASSERT_NO_FATAL_FAILURE(QuitFromPause());
    ASSERT_TRUE(AtTitle());
    EXPECT_EQ(g_MenuCursor.top->row, TitleRow(TITLE_REPLAY));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TakeCloses(), 0);
}

} // namespace
