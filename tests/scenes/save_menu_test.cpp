// The save menu of the generated game, driven by the player's input: a save
// into a story slot written whole and read back the same, the slot list
// opening on the slot saved last, auto-save switched on and off (refused
// before a first save), the way back to the map and to the title, the rows
// never more than the four items, a slot that cannot be written said with
// nothing changed, and the auto-save after a stage that the world map uses.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "data/ed_data.h"
#include "data/ed_system.h"
#include "platform/atomic_file.h"
#include "scenes/menu_run.h"
#include "scenes/save_menu_scene.h"
#include "scenes/story_files.h"
#include "scenes/story_slot_list.h"

namespace {

class SaveMenu : public test::MenuRun {
protected:
    void SetUp() override
    {
        test::MenuRun::SetUp();
        // The map opened the save menu.
        g_SceneMgr.g_CurScene = SCENE_SAVE_MENU;
        g_SceneMgr.g_PrevScene = SCENE_WORLD_MAP;
        g_Progress.nScore = 1200;
        g_Progress.vStageFlags[2] = 1;
    }
    void TearDown() override
    {
        plat::setAtomicWriteFailureHook(nullptr);
        test::MenuRun::TearDown();
    }

    cSaveMenuScene& Open()
    {
        EXPECT_TRUE(RunUntil(SCENE_SAVE_MENU, cSaveMenuScene::PHASE_MENU, 20));
        return *Current<cSaveMenuScene>();
    }
    void Choose(int row)
    {
        for (int i = 0; i < row; ++i)
            Press(kDirDown);
        Confirm();
    }
    // In the slot list: down to the slot, confirm, then "セーブする".
    void SaveTo(int downs)
    {
        for (int i = 0; i < downs; ++i)
            Press(kDirDown);
        Confirm();
        Press(kDirUp);
        Confirm();
    }
    std::string SlotFile(int slot) const
    {
        return dir_.read("user_data/story/Story" + std::string(slot < 9 ? "0" : "") +
                         std::to_string(slot + 1) + ".dat");
    }
    static std::string RecordBytes(cEdData& record)
    {
        const std::vector<std::uint8_t> bytes = SaveToBytes(record);
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(SaveMenu, SavingIntoSlot3WritesTheProgressWholeAndTheSlotIsUsed)
{
    cSaveMenuScene& menu = Open();
    EXPECT_EQ(music, std::vector<int>{1}) << "the world map's music goes on";
    Choose(SAVEMENU_SAVE);
    ASSERT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_SLOTS);
    EXPECT_EQ(g_MenuCursor.top->row, 0) << "no slot chosen yet: the first";
    EXPECT_EQ(menu.m_SlotScroll, 0);
    sounds.clear();
    for (int i = 0; i < 3; ++i)
        Press(kDirDown);
    Confirm();
    EXPECT_EQ(g_MenuCursor.top->row, 1) << "the question starts on \"やっぱりやめる\"";
    Press(kDirUp);
    Confirm();
    EXPECT_EQ(sounds, (std::vector<int>{1, 5}));
    EXPECT_EQ(g_Progress.nSlot, 3);
    EXPECT_TRUE(g_StorySlots[3].bUsed);
    EXPECT_EQ(SlotFile(3), RecordBytes(g_Progress)) << "the record as its own save code writes it";
    cSaveData back;
    ASSERT_EQ(LoadFile(back, "user_data\\story\\Story04.dat"), 1);
    EXPECT_EQ(back.nScore, 1200);
    EXPECT_EQ(back.vStageFlags[2], 1);
    EXPECT_EQ(back.nSlot, 3);
    EXPECT_EQ(menu.m_SubState, 1) << "back in the list";
    EXPECT_EQ(g_MenuCursor.top->row, 3);
    Cancel();
    EXPECT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_MENU);
    EXPECT_EQ(g_MenuCursor.states.size(), 1u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SaveMenu, TheQuestionsSecondRowAndCancelSaveNothing)
{
    cSaveMenuScene& menu = Open();
    Choose(SAVEMENU_SAVE);
    Confirm();
    Cancel(); // the question
    EXPECT_EQ(menu.m_SubState, 1);
    Confirm();
    Confirm(); // "やっぱりやめる"
    EXPECT_EQ(menu.m_SubState, 1);
    EXPECT_EQ(g_MenuCursor.states.size(), 2u);
    EXPECT_EQ(g_Progress.nSlot, -1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "user_data/story/Story01.dat"));
}

TEST_F(SaveMenu, TheSlotListOpensOnTheSlotSavedLast)
{
    struct Case {
        std::int32_t slot;
        std::int32_t scroll;
        int cursorY;
    };
    const Case cases[] = {
        {7, 7, kSlotListY},
        {95, kStorySlots - 10, kSlotListY + 16 * 6},
        {0, 0, kSlotListY},
        {500, kStorySlots - 10, kSlotListY + 16 * 9}, // a damaged save's slot
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        DestroyScenes();
        ResetMenuCursor();
        g_SceneMgr.g_CurScene = SCENE_SAVE_MENU;
        g_Progress.nSlot = c.slot;
        cSaveMenuScene& menu = Open();
        Choose(SAVEMENU_SAVE);
        EXPECT_EQ(g_MenuCursor.top->row, std::min(c.slot, kStorySlots - 1));
        EXPECT_EQ(menu.m_SlotScroll, c.scroll);
        EXPECT_EQ(g_MenuCursor.top->y, c.cursorY);
    }
}

TEST_F(SaveMenu, AutoSaveIsRefusedBeforeAFirstSaveAndThenWritesTheSlotAtOnce)
{
    cSaveMenuScene& menu = Open();
    Choose(SAVEMENU_AUTO_SAVE);
    ASSERT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_AUTO_SAVE);
    EXPECT_EQ(menu.m_SubState, 2) << "the notice: no slot yet";
    Press(kDirUp);
    Confirm();
    EXPECT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_MENU);
    EXPECT_EQ(g_Progress.bAutoSave, 0);

    Press(kDirUp);
    Choose(SAVEMENU_SAVE);
    SaveTo(3);
    Cancel();
    Choose(SAVEMENU_AUTO_SAVE);
    EXPECT_EQ(menu.m_SubState, 1);
    EXPECT_EQ(g_MenuCursor.top->row, 1) << "off: \"オートセーブＯＦＦ\" first";
    std::filesystem::remove(dir_ / "user_data/story/Story04.dat");
    Press(kDirUp);
    Confirm();
    EXPECT_EQ(g_Progress.bAutoSave, 1);
    EXPECT_EQ(SlotFile(3), RecordBytes(g_Progress)) << "written again at once, switch on";
    EXPECT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_MENU);
    EXPECT_EQ(g_MenuCursor.top->row, SAVEMENU_AUTO_SAVE) << "the menu's selection again";

    Confirm();
    EXPECT_EQ(g_MenuCursor.top->row, 0) << "on: \"オートセーブＯＮ\" first";
    Press(kDirDown);
    Confirm();
    EXPECT_EQ(g_Progress.bAutoSave, 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SaveMenu, CancelAndBackGoStraightToTheMapKeepingTheCursor)
{
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel);
        DestroyScenes();
        g_SceneMgr.g_CurScene = SCENE_SAVE_MENU;
        cSaveMenuScene& menu = Open();
        if (cancel) {
            Cancel();
        } else {
            Choose(SAVEMENU_BACK);
        }
        EXPECT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_LEAVE);
        EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_WORLD_MAP);
        const std::size_t states = g_MenuCursor.states.size();
        for (int i = 0; i < 10; ++i)
            Frame();
        EXPECT_EQ(g_SceneMgr.g_CurScene, SCENE_WORLD_MAP);
        EXPECT_EQ(g_SceneMgr.g_PrevScene, SCENE_SAVE_MENU);
        EXPECT_EQ(g_MenuCursor.states.size(), states) << "the next scene resets it";
    }
}

TEST_F(SaveMenu, ToTheTitleAsksFirstWithTheCancelPreselected)
{
    cSaveMenuScene& menu = Open();
    Choose(SAVEMENU_TO_TITLE);
    ASSERT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_TO_TITLE);
    EXPECT_EQ(g_MenuCursor.top->row, 1);
    Confirm();
    EXPECT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_MENU);
    EXPECT_EQ(g_MenuCursor.top->row, SAVEMENU_TO_TITLE);
    Confirm();
    Press(kDirUp);
    Confirm();
    EXPECT_EQ(menu.m_Phase, cSaveMenuScene::PHASE_LEAVE);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_TITLE);
    for (int i = 0; i < 10; ++i)
        Frame();
    EXPECT_EQ(g_SceneMgr.g_CurScene, SCENE_TITLE);
}

TEST_F(SaveMenu, TheRowsAreTheEnabledItemsAndEachLeadsToItsOwnPhase)
{
    struct Case {
        const char* name;
        int size;
        std::vector<int> enabled;
        std::vector<std::int32_t> rows;
    };
    const Case cases[] = {
        {"all four", 4, {0, 1, 2, 3}, {0, 1, 2, 3}},
        {"six enabled", 6, {0, 1, 2, 3, 4, 5}, {0, 1, 2, 3}},
        {"only entries past the items", 6, {4, 5}, {0}},
        {"back and title", 4, {2, 3}, {2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_System.vSaveMenu.resize(static_cast<std::size_t>(c.size));
        for (int i = 0; i < c.size; ++i)
            g_System.vSaveMenu[static_cast<std::size_t>(i)].bEnabled =
                std::count(c.enabled.begin(), c.enabled.end(), i) ? 1 : 0;
        for (std::size_t row = 0; row < c.rows.size(); ++row) {
            SCOPED_TRACE(row);
            DestroyScenes();
            ResetMenuCursor();
            g_SceneMgr.g_CurScene = SCENE_SAVE_MENU;
            cSaveMenuScene& menu = Open();
            EXPECT_EQ(menu.m_VisibleIds, c.rows);
            Choose(static_cast<int>(row));
            EXPECT_EQ(menu.m_Phase,
                      c.rows[row] == SAVEMENU_BACK ? cSaveMenuScene::PHASE_LEAVE : c.rows[row] + 2);
        }
    }
    EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(SaveMenu, ASlotThatCannotBeWrittenIsSaidAndNothingChanges)
{
    plat::setAtomicWriteFailureHook([](const std::filesystem::path&) { return false; });
    cSaveMenuScene& menu = Open();
    Choose(SAVEMENU_SAVE);
    SaveTo(3);
    EXPECT_EQ(boxes,
              std::vector<std::string>{"user_data\\story\\Story04.dat に保存できませんでした！"});
    EXPECT_EQ(g_Progress.nSlot, -1);
    EXPECT_FALSE(g_StorySlots[3].bUsed);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "user_data/story/Story04.dat"));
    EXPECT_EQ(menu.m_SubState, 1);

    // Saved once; then auto-save cannot write: the switch stays off.
    plat::setAtomicWriteFailureHook(nullptr);
    SaveTo(0);
    const std::string saved = SlotFile(3);
    plat::setAtomicWriteFailureHook([](const std::filesystem::path&) { return false; });
    boxes.clear();
    Cancel();
    Choose(SAVEMENU_AUTO_SAVE);
    Press(kDirUp);
    Confirm();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(g_Progress.bAutoSave, 0);
    EXPECT_EQ(SlotFile(3), saved) << "the slot's file as it was";
    EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(SaveMenu, TheAutoSaveAfterAStageWritesOnlyASlotOfTheList)
{
    struct Case {
        const char* name;
        std::int32_t autoSave;
        std::int32_t slot;
        int saved;
    };
    const Case cases[] = {
        {"on, slot 3", 1, 3, 1},
        {"off", 0, 3, 0},
        {"no slot", 1, -1, 0},
        {"a slot past the list", 1, kStorySlots, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir_ / "user_data/story");
        std::filesystem::create_directories(dir_ / "user_data/story");
        g_Progress.bAutoSave = c.autoSave;
        g_Progress.nSlot = c.slot;
        EXPECT_EQ(AutoSaveStory(), c.saved);
        EXPECT_EQ(std::filesystem::exists(dir_ / "user_data/story/Story04.dat"), c.saved == 1);
        EXPECT_EQ(g_Progress.nSlot, c.slot);
        if (c.saved) {
            EXPECT_EQ(SlotFile(3), RecordBytes(g_Progress));
        }
    }
    EXPECT_EQ(TakeCloses(), 0) << "a progress without a slot does not close the game";
    EXPECT_TRUE(boxes.empty());
}

} // namespace
