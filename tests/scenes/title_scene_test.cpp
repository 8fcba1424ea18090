// The title menu of the generated game, driven by the player's input: the
// author's enabled items as rows (never more than the seven items), the
// cursor on the item confirmed last, a new story, the list of the story
// slots with a saved, an empty and a damaged slot, the challenges with
// Challenge.dat present, missing or damaged, the file requests of free play
// and replays, the options and the quit.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "scenes/menu_run.h"
#include "scenes/story_slot_list.h"
#include "scenes/title_scene.h"

namespace {

class TitleMenu : public test::MenuRun {
protected:
    // The title menu after its fade-in.
    cTitleScene& Open()
    {
        EXPECT_TRUE(RunUntil(SCENE_TITLE, cTitleScene::PHASE_MENU, 20));
        return *Current<cTitleScene>();
    }
    // Enables exactly the listed entries of a title list of `size` entries.
    static void TitleList(int size, const std::vector<int>& enabled)
    {
        g_System.vTitleMenu.resize(static_cast<std::size_t>(size));
        for (int i = 0; i < size; ++i) {
            cEdMenuItem& item = g_System.vTitleMenu[static_cast<std::size_t>(i)];
            item.bEnabled = std::find(enabled.begin(), enabled.end(), i) != enabled.end();
            item.strLabel = "item" + std::to_string(i);
        }
    }
    // Moves the cursor down to the row and confirms it.
    void ConfirmRow(int row)
    {
        for (int i = 0; i < row; ++i)
            Press(kDirDown);
        Confirm();
    }
};

TEST_F(TitleMenu, ANewStoryStartsFromAFreshProgressAtTheMapsStartAndGoesToTheMap)
{
    g_Progress.nScore = 5000;
    g_Progress.vStageFlags[3] = 1;
    g_Progress.nSlot = 4;
    cTitleScene& title = Open();
    EXPECT_EQ(music, std::vector<int>{0}) << "the title's music";
    EXPECT_EQ(g_MenuCursor.top->row, 0);
    Frame(0, 1);
    EXPECT_EQ(sounds, std::vector<int>{1});
    EXPECT_EQ(title.m_Phase, cTitleScene::PHASE_LEAVE);
    EXPECT_EQ(g_SceneMgr.g_PlayMode, PLAYMODE_NEW_GAME);
    EXPECT_EQ(g_SceneMgr.m_PlayKind, PLAYKIND_STORY);
    EXPECT_EQ(g_SceneMgr.m_ResultsOn, g_System.vModeFlags[0].bRanking);
    EXPECT_EQ(g_Progress.nScore, 0);
    EXPECT_EQ(g_Progress.vStageFlags[3], 0);
    EXPECT_EQ(g_Progress.vStageFlags[0], 1);
    EXPECT_EQ(g_Progress.nSlot, -1);
    EXPECT_EQ(g_Progress.nMapX, g_WorldMap.m_StartX);
    EXPECT_EQ(g_Progress.nMapY, g_WorldMap.m_StartY);
    EXPECT_EQ(g_Progress.nInitialLives, g_System.vInitialLives[0]);
    EXPECT_EQ(g_Progress.nLives, g_System.vInitialLives[0] - 1) << "one life is in play";
    for (int i = 0; i < 10; ++i)
        Frame();
    EXPECT_EQ(g_SceneMgr.g_CurScene, SCENE_WORLD_MAP);
    EXPECT_EQ(g_SceneMgr.g_PrevScene, SCENE_TITLE);
    EXPECT_EQ(TakeCloses(), 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(TitleMenu, UnlimitedStoryLivesGiveANewStoryUnlimitedLives)
{
    g_System.vUnlimitedLives[0] = 1;
    NewGameProgress();
    EXPECT_EQ(g_Progress.nInitialLives, kUnlimitedLives);
    EXPECT_EQ(g_Progress.nLives, kUnlimitedLives);
}

TEST_F(TitleMenu, TheRowsAreTheEnabledItemsAndNeverMoreThanTheSevenItems)
{
    struct Case {
        const char* name;
        int size;
        std::vector<int> enabled;
        std::vector<std::int32_t> rows;
    };
    const Case cases[] = {
        {"all seven", 7, {0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4, 5, 6}},
        {"new game and quit", 7, {0, 6}, {0, 6}},
        {"none", 7, {}, {0}},
        {"ten enabled", 10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 1, 2, 3, 4, 5, 6}},
        {"only entries past the items", 12, {7, 9, 11}, {0}},
        {"a short list", 3, {1, 2}, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetMenuGlobals();
        TitleList(c.size, c.enabled);
        cTitleScene& title = Open();
        EXPECT_EQ(title.m_VisibleIds, c.rows);
        // Up from the first row goes to the last one.
        Press(kDirUp);
        EXPECT_EQ(g_MenuCursor.top->row, static_cast<int>(c.rows.size()) - 1);
        Confirm();
        const std::int32_t last = c.rows.back();
        EXPECT_EQ(g_SceneMgr.g_PlayMode, last) << "the last row's item was confirmed";
        if (last == TITLE_QUIT) {
            EXPECT_EQ(TakeCloses(), 1);
        }
        TakeCloses();
    }
}

TEST_F(TitleMenu, TheMenuOpensOnTheItemConfirmedLast)
{
    struct Case {
        const char* name;
        std::vector<int> enabled;
        std::int32_t lastItem;
        std::int32_t row; // the cursor's row once the menu has moved it
    };
    const Case cases[] = {
        {"after the options", {0, 1, 2, 3, 4, 5, 6}, TITLE_OPTIONS, 5},
        {"options among fewer rows", {0, 5, 6}, TITLE_OPTIONS, 1},
        {"an item no longer shown starts at the top", {0, 6}, TITLE_REPLAY, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetMenuGlobals();
        TitleList(7, c.enabled);
        g_SceneMgr.g_PlayMode = c.lastItem;
        Open();
        Frame();
        EXPECT_EQ(g_MenuCursor.top->row, c.row);
    }
}

TEST_F(TitleMenu, TheMenuBoxHoldsTheLabelsOrTheItemsPictures)
{
    for (const int picture : {0, 1}) {
        SCOPED_TRACE(picture);
        ResetMenuGlobals();
        g_System.bTitleMenuPicture = picture;
        TitleList(7, {0, 1, 6});
        g_System.vTitleMenu[1].strLabel = Sjis("つづきから");
        cTitleScene& title = Open();
        ASSERT_EQ(g_ScenePictures.size(), 1u);
        const DDSURFACEDATA& box = g_ScenePictures[0];
        const int pictureWidth = g_BitmapSD[48].width;
        EXPECT_EQ(box.height, 3 * 32 + 2);
        if (picture) {
            EXPECT_EQ(box.width, pictureWidth + 32);
            EXPECT_EQ(title.m_MenuX, 288 - pictureWidth / 2);
        } else {
            EXPECT_EQ(box.width, 5 * 32 + 34) << "the widest label has five characters";
            EXPECT_EQ(title.m_MenuX, 192);
        }
        Frame();
        EXPECT_EQ(g_MenuCursor.top->x, title.m_MenuX);
        EXPECT_EQ(g_MenuCursor.top->y, 240);
    }
}

TEST_F(TitleMenu, ContinueLoadsTheChosenSlotAndGoesToTheMap)
{
    g_Progress.nScore = 777;
    g_Progress.nMapX = 2;
    ASSERT_EQ(g_Progress.SaveStorySlot(2), 1);
    g_Progress = cSaveData();
    g_StorySlots = InitStorySlots(kStorySlots);
    Open();
    ConfirmRow(TITLE_CONTINUE);
    cTitleScene& title = *Current<cTitleScene>();
    ASSERT_EQ(title.m_Phase, cTitleScene::PHASE_SLOTS);
    EXPECT_EQ(g_MenuCursor.states.size(), 2u) << "the menu's selection is kept below";
    EXPECT_EQ(title.m_SlotRows, 10);
    EXPECT_TRUE(g_StorySlots[2].bUsed) << "the slots were read";
    EXPECT_EQ(g_MenuCursor.top->x, kSlotListX);
    EXPECT_EQ(g_MenuCursor.top->y, kSlotListY);

    // An empty slot refuses; the saved one loads.
    sounds.clear();
    Press(kDirDown);
    Confirm();
    EXPECT_EQ(sounds, (std::vector<int>{3}));
    EXPECT_EQ(title.m_Phase, cTitleScene::PHASE_SLOTS);
    Press(kDirDown);
    Confirm();
    EXPECT_EQ(title.m_Phase, cTitleScene::PHASE_LEAVE);
    EXPECT_EQ(g_Progress.nScore, 777);
    EXPECT_EQ(g_Progress.nMapX, 2);
    EXPECT_EQ(g_SceneMgr.g_PlayMode, PLAYMODE_CONTINUE);
    EXPECT_EQ(g_SceneMgr.m_PlayKind, PLAYKIND_STORY);
    for (int i = 0; i < 10; ++i)
        Frame();
    EXPECT_EQ(g_SceneMgr.g_CurScene, SCENE_WORLD_MAP);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(TitleMenu, ADamagedSlotIsShownInUseAndSaidWhenChosenAndTheProgressStays)
{
    dir_.write("user_data/story/Story01.dat", "not a save");
    g_Progress.nScore = 31;
    cTitleScene& title = Open();
    ConfirmRow(TITLE_CONTINUE);
    EXPECT_TRUE(g_StorySlots[0].bUsed);
    EXPECT_TRUE(g_StorySlots[0].bDamaged);
    Confirm();
    EXPECT_EQ(boxes,
              std::vector<std::string>{"user_data\\story\\Story01.dat の読み込みに失敗しました！"});
    EXPECT_EQ(title.m_Phase, cTitleScene::PHASE_SLOTS);
    EXPECT_EQ(g_Progress.nScore, 31);
    EXPECT_EQ(dir_.read("user_data/story/Story01.dat"), "not a save") << "the file is kept";
}

TEST_F(TitleMenu, TheSlotListPagesAndCancelGoesBackToTheMenusSelection)
{
    cTitleScene& title = Open();
    ConfirmRow(TITLE_CONTINUE);
    Press(kDirRight);
    EXPECT_EQ(title.m_SlotScroll, 9);
    EXPECT_EQ(g_MenuCursor.top->row, 9);
    for (int i = 0; i < 12; ++i)
        Press(kDirRight);
    EXPECT_EQ(g_MenuCursor.top->row, kStorySlots - 1) << "the last page ends on the last slot";
    EXPECT_EQ(title.m_SlotScroll, kStorySlots - 10);
    Cancel();
    EXPECT_EQ(title.m_Phase, cTitleScene::PHASE_MENU);
    EXPECT_EQ(g_MenuCursor.states.size(), 1u);
    EXPECT_EQ(g_MenuCursor.top->row, TITLE_CONTINUE);
}

TEST_F(TitleMenu, TheChallengesStartFromChallengeDatOrAFreshProgress)
{
    struct Case {
        const char* name;
        const char* file; // Challenge.dat's contents; null: none, "": saved by the record
        std::int32_t open;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"saved", "", 2, {}},
        {"missing", nullptr, 1, {}},
        {"damaged",
         "damaged",
         1,
         {"user_data\\challenge\\Challenge.dat の読み込みに失敗しました！"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetMenuGlobals();
        boxes.clear();
        std::filesystem::remove(dir_ / "user_data/challenge/Challenge.dat");
        if (c.file && !*c.file) {
            cSaveData saved;
            saved.nChallengeOpen = 2;
            ASSERT_EQ(saved.SaveFile("user_data\\challenge\\Challenge.dat"), 1);
        } else if (c.file) {
            dir_.write("user_data/challenge/Challenge.dat", c.file);
        }
        g_Progress.nChallengeOpen = 9;
        Open();
        ConfirmRow(TITLE_CHALLENGE);
        EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_CHALLENGE);
        EXPECT_EQ(g_SceneMgr.m_PlayKind, PLAYKIND_CHALLENGE);
        EXPECT_EQ(g_Progress.nChallengeOpen, c.open);
        EXPECT_EQ(static_cast<int>(g_Progress.vChallenge.size()), g_System.nChallengeStages);
        EXPECT_EQ(boxes, c.boxes);
    }
}

TEST_F(TitleMenu, FreePlayAndReplaysAskForAFileAndLeaveOnlyWhenOneWasLoaded)
{
    struct Case {
        std::int32_t item;
        std::int32_t kind;
        std::uint32_t request;
    };
    const Case cases[] = {{TITLE_FREE, PLAYKIND_FREE, UM_OPENSTAGE},
                          {TITLE_REPLAY, PLAYKIND_REPLAY, UM_OPENREPLAY}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        ResetMenuGlobals();
        requests.clear();
        openResult = 0;
        cTitleScene& title = Open();
        ConfirmRow(c.item);
        EXPECT_EQ(requests, std::vector<std::uint32_t>{c.request});
        EXPECT_EQ(title.m_Phase, cTitleScene::PHASE_MENU) << "cancelled: the menu stays";
        EXPECT_EQ(g_SceneMgr.m_PlayKind, c.kind);
        openResult = 1;
        Frame(0, 1);
        EXPECT_EQ(title.m_Phase, cTitleScene::PHASE_LEAVE);
        EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_GAME_PLAY);
        EXPECT_EQ(g_SceneMgr.m_ResultsOn, g_System.vModeFlags[c.kind].bRanking);
    }
}

TEST_F(TitleMenu, TheOptionsItemLeavesForTheOptionsAndQuitClosesTheGame)
{
    cTitleScene& title = Open();
    ConfirmRow(TITLE_QUIT);
    EXPECT_EQ(TakeCloses(), 1);
    EXPECT_EQ(title.m_Phase, cTitleScene::PHASE_MENU) << "the window closes the game";
    Press(kDirUp);
    Confirm();
    EXPECT_EQ(title.m_Phase, cTitleScene::PHASE_LEAVE);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_OPTION);
    EXPECT_EQ(g_SceneMgr.g_PlayMode, TITLE_OPTIONS);
}

} // namespace
