// What the title menu and the options ask of the main window, served by the
// game's own main window: free play of a stage chosen in the file browser,
// the playback of a replay recorded in play (to its end, the same game), a
// stage or replay that cannot be read said by its name while the title
// stays, and the ranking name typed in the name dialog and kept in
// Option.dat.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/request.h"
#include "core/request_messages.h"
#include "core/sjis_text.h"
#include "data/ed_option.h"
#include "data/ed_stage.h"
#include "data/replay_log.h"
#include "platform/dialog.h"
#include "scenes/game_play.h"
#include "scenes/menu_run.h"
#include "scenes/option_scene.h"
#include "scenes/title_scene.h"
#include "shell/name_dialog.h"
#include "support/sound_fixtures.h"

namespace {

constexpr const char* kStage = "data\\stg4\\Stage1.stg4_001";

class MenuRequests : public test::MenuRun {
protected:
    MenuRequests() { realMainWindow = true; }

    cTitleScene& OpenTitle()
    {
        EXPECT_TRUE(RunUntil(SCENE_TITLE, cTitleScene::PHASE_MENU, 20));
        return *Current<cTitleScene>();
    }
    void ConfirmRow(int row)
    {
        for (int i = 0; i < row; ++i)
            Press(kDirDown);
        Confirm();
    }
    // Frames until the stage is being played; false when it never is.
    bool UntilPlay() { return RunUntil(SCENE_GAME_PLAY, PHASE_PLAY, 400); }
    // The player's place after a frame of play.
    static std::pair<double, double> PlayerAt()
    {
        const cPlayerObj& player = g_GamePlay->Player.front();
        return {player.m_X, player.m_Y};
    }
};

TEST_F(MenuRequests, FreePlayOpensTheStageChosenInTheFileBrowser)
{
    chooseFile = "data\\stg4\\Stage2.stg4_001";
    OpenTitle();
    ConfirmRow(TITLE_FREE);
    EXPECT_EQ(fileDialogs, std::vector<std::string>{Sjis("ステージファイルの選択")});
    ASSERT_TRUE(UntilPlay());
    EXPECT_EQ(g_Stage.strFileName, *chooseFile);
    EXPECT_EQ(g_SceneMgr.g_PlayMode, PLAYMODE_FREE);
    EXPECT_EQ(g_SceneMgr.m_PlayKind, PLAYKIND_FREE);
    EXPECT_EQ(g_Progress.nStageIndex, 1);
    EXPECT_EQ(g_Progress.nLives, kUnlimitedLives) << "free play of this game";
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(MenuRequests, AStageOrReplayThatCannotBeReadIsSaidByNameAndTheTitleStays)
{
    test::Bytes stage;
    test::putLe32(stage, 511);
    test::putText(stage, "not the body of a stage");
    test::putLe32(stage, 123456789); // the end code: the file looks whole
    dir_.write("data/stg4/Broken.stg4_001", std::string(stage.begin(), stage.end()));
    dir_.write("user_data/rpl4/broken.rpl4_511", "not a replay");
    struct Case {
        std::int32_t item;
        const char* file;
        const char* box;
    };
    const Case cases[] = {
        {TITLE_FREE, "data\\stg4\\Broken.stg4_001",
         "ステージファイル data\\stg4\\Broken.stg4_001 の読み込みに失敗しました！"},
        {TITLE_REPLAY, "user_data\\rpl4\\broken.rpl4_511",
         "user_data\\rpl4\\broken.rpl4_511 の読み込みに失敗しました！"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ResetMenuGlobals();
        boxes.clear();
        chooseFile = c.file;
        cTitleScene& title = OpenTitle();
        ConfirmRow(c.item);
        EXPECT_EQ(boxes, std::vector<std::string>{c.box});
        EXPECT_EQ(title.m_Phase, cTitleScene::PHASE_MENU);
        for (int i = 0; i < 12; ++i)
            Frame();
        EXPECT_EQ(g_SceneMgr.g_CurScene, SCENE_TITLE) << "no half-loaded stage";
        EXPECT_EQ(TakeCloses(), 0);
    }
}

TEST_F(MenuRequests, AReplayRecordedInPlayIsPlayedBackFromTheTitleToItsEnd)
{
    // An attempt at the first stage, saved as a replay with F1's request.
    chooseFile = kStage;
    OpenTitle();
    ConfirmRow(TITLE_FREE);
    ASSERT_TRUE(UntilPlay());
    cInputScript script;
    script.Hold(kDirRight, 0, 40).Hold(kDirRight, 1, 12).Hold(0, 0, 20).Hold(kDirLeft, 2, 15);
    std::vector<std::pair<double, double>> played;
    for (int i = 0; i < script.FrameCount(); ++i) {
        const InputFrame in = script.At(i);
        Frame(in.m_Dir, in.m_Buttons);
        ASSERT_TRUE(InPhase(SCENE_GAME_PLAY, PHASE_PLAY)) << "frame " << i;
        played.push_back(PlayerAt());
    }
    ASSERT_EQ(g_ReplayLog.FrameCount(), script.FrameCount());
    ASSERT_NE(played.front(), played.back()) << "the player moved";
    chooseFile = "user_data\\rpl4\\walk";
    ASSERT_TRUE(SendRequest(UM_SAVEREPLAY, 0, 0, &g_RequestDone));
    ASSERT_EQ(g_RequestResult, 1);

    // A new run plays it from the title menu.
    ResetMenuGlobals();
    fileDialogs.clear();
    chooseFile = "user_data\\rpl4\\walk.rpl4_511";
    OpenTitle();
    ConfirmRow(TITLE_REPLAY);
    EXPECT_EQ(fileDialogs, std::vector<std::string>{Sjis("リプレイファイルの選択")});
    ASSERT_TRUE(UntilPlay());
    EXPECT_EQ(g_SceneMgr.g_PlayMode, PLAYMODE_REPLAY);
    EXPECT_EQ(g_SceneMgr.m_PlayKind, PLAYKIND_REPLAY);
    std::vector<std::pair<double, double>> replayed;
    for (int i = 0; i <= script.FrameCount() && InPhase(SCENE_GAME_PLAY, PHASE_PLAY); ++i) {
        Frame();
        if (InPhase(SCENE_GAME_PLAY, PHASE_PLAY)) replayed.push_back(PlayerAt());
    }
    EXPECT_EQ(replayed, played) << "the same game, frame by frame";
    EXPECT_TRUE(InPhase(SCENE_GAME_PLAY, PHASE_START)) << "at its end the replay starts over";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MenuRequests, TheRankingNameIsTypedInTheNameDialogAndKept)
{
    plat::setDialogResponder([](plat::DialogPlayer& p) {
        p.type(IDC_NAME_EDIT, "Bob");
        p.click(IDC_NAME_OK);
    });
    OpenTitle();
    ConfirmRow(TITLE_OPTIONS);
    ASSERT_TRUE(RunUntil(SCENE_OPTION, cOptionScene::PHASE_MENU, 40));
    ConfirmRow(RowOf(Current<cOptionScene>()->m_VisibleIds, OPTION_RANK_NAME));
    EXPECT_EQ(g_Option.strRegName, "Bob");
    Cancel();
    ASSERT_TRUE(RunUntil(SCENE_TITLE, cTitleScene::PHASE_MENU, 40));
    EXPECT_EQ(g_MenuCursor.top->row, TITLE_OPTIONS) << "back on the options item";
    cEdOption back;
    ASSERT_EQ(LoadFile(back, "user_data\\Option.dat"), 1);
    EXPECT_EQ(back.strRegName, "Bob");
}

} // namespace
