// The menu screens of the generated game as the player sees them, in the
// texture back end, the surface back end and its 256-colour mode: the
// title menu with its labels and with its pictures, the story slot list,
// the save menu and the options are drawn, the menus' own boxes and lines
// are where they belong, and with RT_WRITE_FRAMES=<folder> set each screen
// is written there as <screen>-<mode>.bmp to be looked at.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "scenes/menu_run.h"
#include "scenes/option_scene.h"
#include "scenes/save_menu_scene.h"
#include "scenes/story_slot_list.h"
#include "scenes/title_scene.h"

namespace {

using Screen = std::vector<std::uint32_t>;

class TitleSaveOptionScreens : public test::MenuRun,
                               public testing::WithParamInterface<gfxtest::Mode> {
protected:
    void SetUp() override
    {
        mode = GetParam();
        test::MenuRun::SetUp();
    }
    // The screen after the menu's first frame, written when asked for.
    Screen Shot(const std::string& screen)
    {
        const Screen frame = test::ShownFrame();
        test::WriteFrame(screen + "-" + GetParam().name, frame);
        return frame;
    }
    static std::size_t Colours(const Screen& frame)
    {
        return std::set<std::uint32_t>(frame.begin(), frame.end()).size();
    }
    // Whether two frames differ inside a rectangle.
    static bool DifferIn(const Screen& a, const Screen& b, int x, int y, int w, int h)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (a[static_cast<std::size_t>(j) * 640 + i] !=
                    b[static_cast<std::size_t>(j) * 640 + i])
                    return true;
        return false;
    }
    // A title screen in one mode of its menu: on its menu, one frame in.
    Screen Title(int picture)
    {
        ResetMenuGlobals();
        g_System.bTitleMenuPicture = picture;
        EXPECT_TRUE(RunUntil(SCENE_TITLE, cTitleScene::PHASE_MENU, 20));
        Frame();
        return Shot(picture ? "title-pictures" : "title-labels");
    }
};

TEST_P(TitleSaveOptionScreens, TheTitleMenuShowsItsItemsAsLabelsOrAsPictures)
{
    const Screen labels = Title(0);
    const int labelsX = Current<cTitleScene>()->m_MenuX;
    const Screen pictures = Title(1);
    EXPECT_GT(Colours(labels), 8u);
    EXPECT_GT(Colours(pictures), 8u);
    // The box of seven rows stands at the menu's place in both, and differs.
    EXPECT_TRUE(DifferIn(labels, pictures, labelsX + 32, 240, 64, 7 * 32));
    // The cursor stands before the first row.
    ResetMenuGlobals();
    g_System.bTitleMenuPicture = 1;
    ASSERT_TRUE(RunUntil(SCENE_TITLE, cTitleScene::PHASE_MENU, 20));
    Press(kDirDown);
    const Screen moved = test::ShownFrame();
    const int x = Current<cTitleScene>()->m_MenuX;
    EXPECT_TRUE(DifferIn(pictures, moved, x, 240, 32, 32)) << "the cursor left the first row";
    EXPECT_TRUE(DifferIn(pictures, moved, x, 272, 32, 32)) << "and stands on the second";
}

TEST_P(TitleSaveOptionScreens, TheSlotListShowsSavedEmptyAndDamagedSlots)
{
    g_Progress.SaveStorySlot(0);
    dir_.write("user_data/story/Story03.dat", "damaged");
    ASSERT_TRUE(RunUntil(SCENE_TITLE, cTitleScene::PHASE_MENU, 20));
    Press(kDirDown);
    Confirm();
    ASSERT_TRUE(InPhase(SCENE_TITLE, cTitleScene::PHASE_SLOTS));
    Press(kDirDown);
    const Screen list = Shot("slot-list");
    EXPECT_GT(Colours(list), 4u);
    // Row lines under the rows but the last, across the list's width.
    const std::uint32_t line =
        list[static_cast<std::size_t>(kSlotListY + 15) * 640 + kSlotListX + 200];
    EXPECT_EQ(list[static_cast<std::size_t>(kSlotListY + 31) * 640 + kSlotListX + 200], line);
    EXPECT_NE(list[static_cast<std::size_t>(kSlotListY + 20) * 640 + kSlotListX + 200], line);
}

TEST_P(TitleSaveOptionScreens, TheSaveMenuShowsItsItemsTheTotalScoreAndItsQuestions)
{
    g_SceneMgr.g_CurScene = SCENE_SAVE_MENU;
    ASSERT_TRUE(RunUntil(SCENE_SAVE_MENU, cSaveMenuScene::PHASE_MENU, 20));
    Frame();
    const Screen noTotal = test::ShownFrame();
    g_Progress.nTotalScore = 12345;
    Frame();
    const Screen menu = Shot("save-menu");
    EXPECT_GT(Colours(menu), 4u);
    EXPECT_FALSE(DifferIn(noTotal, menu, 0, 0, 640, 256)) << "only the total-score line is new";
    EXPECT_TRUE(DifferIn(noTotal, menu, 200, 260, 240, 16));
    Confirm();
    Press(kDirDown);
    Confirm();
    const Screen question = Shot("save-question");
    EXPECT_TRUE(DifferIn(menu, question, 0, 400, 640, 32));
    Cancel();
    Cancel();
    Press(kDirDown);
    Confirm();
    const Screen notice = Shot("save-no-slot");
    EXPECT_TRUE(DifferIn(menu, notice, 0, 232, 640, 16));
}

TEST_P(TitleSaveOptionScreens, TheOptionsShowTheirItemsWithTheirValues)
{
    g_SceneMgr.g_CurScene = SCENE_OPTION;
    g_SceneMgr.g_PlayMode = TITLE_OPTIONS;
    ASSERT_TRUE(RunUntil(SCENE_OPTION, cOptionScene::PHASE_MENU, 20));
    Frame();
    const Screen options = Shot("options");
    EXPECT_GT(Colours(options), 4u);
    // Changing the ranking mode changes its value column only.
    const int row = RowOf(Current<cOptionScene>()->m_VisibleIds, OPTION_RANK_MODE);
    for (int i = 0; i < row; ++i)
        Press(kDirDown);
    Confirm();
    const Screen before = test::ShownFrame();
    Press(kDirUp);
    const Screen after = Shot("options-editing");
    EXPECT_TRUE(DifferIn(before, after, 208, 96 + row * 16, 400, 16));
    EXPECT_FALSE(DifferIn(before, after, 208, 96, 400, row * 16));
}

INSTANTIATE_TEST_SUITE_P(BackEnds, TitleSaveOptionScreens,
                         testing::Values(gfxtest::Mode{"Texture32", 1, 32, 1},
                                         gfxtest::Mode{"Surface32", 0, 32, 1},
                                         gfxtest::Mode{"Surface8", 0, 8, 0}),
                         gfxtest::ModeName);

} // namespace
