// The menu cursor: a stack whose top the menus move, a wrapping grid, a
// scrolling list that pages and never wraps, and the cursor sound once per
// moving axis.

#include <gtest/gtest.h>

#include "media/ds_sound.h"
#include "scenes/menu_cursor.h"
#include "world/input_state.h"

namespace {

class MenuCursor : public ::testing::Test {
protected:
    void SetUp() override { ResetMenuCursor(); }
    void TearDown() override { ResetMenuCursor(); }
    MenuCursorState& top() { return *g_MenuCursor.top; }
};

TEST_F(MenuCursor, ResetLeavesOneZeroedState)
{
    g_MenuCursor.Push(0);
    g_MenuCursor.Push(0);
    top().row = 4;
    ResetMenuCursor();
    ASSERT_EQ(g_MenuCursor.states.size(), 1u);
    EXPECT_EQ(g_MenuCursor.top, &g_MenuCursor.states[0]);
    EXPECT_EQ(g_MenuCursor.previous, nullptr);
    EXPECT_EQ(top().row, 0);
}

TEST_F(MenuCursor, PushKeepsTheParentAndPopGoesBackToIt)
{
    top() = {1, 3, 40, 50};
    MenuCursorState* parent = g_MenuCursor.Push(1);
    ASSERT_EQ(g_MenuCursor.states.size(), 2u);
    EXPECT_EQ(parent, g_MenuCursor.previous);
    EXPECT_EQ(top().row, 3) << "mode 1 starts from a copy of the parent";
    top().row = 6;
    g_MenuCursor.Pop(1);
    ASSERT_EQ(g_MenuCursor.states.size(), 1u);
    EXPECT_EQ(g_MenuCursor.previous, nullptr);
    EXPECT_EQ(top().row, 3);
    EXPECT_EQ(top().x, 40);

    g_MenuCursor.Push(0);
    EXPECT_EQ(top().row, 0) << "mode 0 starts zeroed";
    top().row = 5;
    g_MenuCursor.Pop(2);
    EXPECT_EQ(top().row, 5) << "mode 2 hands the sub-menu's state down";
    g_MenuCursor.Push(0);
    g_MenuCursor.Pop(0);
    EXPECT_EQ(top().row, 0) << "mode 0 zeroes the parent";
}

TEST_F(MenuCursor, PopOnOneStateChangesNothing)
{
    top().row = 2;
    MenuCursorState* before = g_MenuCursor.top;
    g_MenuCursor.Pop(0);
    EXPECT_EQ(g_MenuCursor.top, before);
    EXPECT_EQ(top().row, 2);
}

TEST_F(MenuCursor, ThePointersFollowTheStackAsItGrows)
{
    for (int i = 0; i < 40; ++i) {
        g_MenuCursor.Push(1);
        top().row = i;
    }
    EXPECT_EQ(g_MenuCursor.top, &g_MenuCursor.states.back());
    EXPECT_EQ(g_MenuCursor.previous->row, 38);
}

TEST_F(MenuCursor, AGridWrapsAtEveryEdgeAndPlacesTheCursor)
{
    struct Case {
        std::uint16_t input;
        int column, row; // before
        int wantColumn, wantRow;
    };
    const Case cases[] = {
        {kDirUp, 0, 0, 0, 6},
        {kDirDown, 0, 6, 0, 0},
        {kDirDown, 0, 2, 0, 3},
        {kDirLeft, 0, 1, 2, 1},
        {kDirRight, 2, 1, 0, 1},
        {kDirUp | kDirDown, 0, 3, 0, 2},
        {kDirLeft | kDirRight | kDirDown, 1, 1, 0, 2},
    };
    for (const Case& c : cases) {
        top().column = c.column;
        top().row = c.row;
        MoveGridCursor(c.input, 100, 200, 30, 16, 3, 7);
        EXPECT_EQ(top().column, c.wantColumn) << c.input;
        EXPECT_EQ(top().row, c.wantRow) << c.input;
        EXPECT_EQ(top().x, 100 + 30 * c.wantColumn);
        EXPECT_EQ(top().y, 200 + 16 * c.wantRow);
    }
    top() = {1, 1, 5, 5};
    MoveGridCursor(kDirDown, 0, 0, 0, 16, -1, 3);
    EXPECT_EQ(top().row, 1) << "a negative size does nothing";
    EXPECT_EQ(top().y, 5);
}

TEST_F(MenuCursor, AListScrollsPagesAndNeverWraps)
{
    struct Case {
        const char* what;
        std::uint16_t input;
        int index, scroll;
        int count, visible;
        int wantIndex, wantScroll;
    };
    const Case cases[] = {
        {"down at the last visible row scrolls", kDirDown, 9, 0, 25, 10, 10, 1},
        {"down inside the page", kDirDown, 3, 0, 25, 10, 4, 0},
        {"up at the first visible row scrolls", kDirUp, 5, 5, 25, 10, 4, 4},
        {"up on the first item stays", kDirUp, 0, 0, 25, 10, 0, 0},
        {"down on the last item stays", kDirDown, 24, 15, 25, 10, 24, 15},
        {"right pages by visible - 1", kDirRight, 2, 0, 25, 10, 11, 9},
        {"right on the last page goes to the last item", kDirRight, 17, 15, 25, 10, 24, 15},
        {"right past the end is held to the last page", kDirRight, 12, 9, 25, 10, 21, 15},
        {"left on the first page goes to the first item", kDirLeft, 6, 0, 25, 10, 0, 0},
        {"left pages back", kDirLeft, 14, 10, 25, 10, 5, 1},
        {"fewer items than rows never scroll", kDirDown, 3, 0, 4, 10, 3, 0},
        {"no items", kDirDown, 0, 0, 0, 10, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        top() = {0, c.index, 0, 0};
        std::int32_t scroll = c.scroll;
        MoveListCursor(c.input, 1, scroll, 40, 20, 300, c.visible, c.count, 1);
        EXPECT_EQ(top().row, c.wantIndex);
        EXPECT_EQ(scroll, c.wantScroll);
        EXPECT_EQ(top().x, 300);
        EXPECT_EQ(top().y, 40 + 20 * (c.wantIndex - c.wantScroll));
    }
}

TEST_F(MenuCursor, AListThatShowsNoRowLeavesTheCursorAsItWas)
{
    for (const int visible : {0, -3}) {
        SCOPED_TRACE(visible);
        for (const std::uint16_t input : {kDirDown, kDirUp, kDirRight, kDirLeft}) {
            top() = {0, 5, 11, 22};
            std::int32_t scroll = 4;
            MoveListCursor(input, 1, scroll, 40, 20, 300, visible, 25, 1);
            EXPECT_EQ(top().row, 5);
            EXPECT_EQ(scroll, 4);
            EXPECT_EQ(top().x, 11);
            EXPECT_EQ(top().y, 22);
        }
    }
}

TEST_F(MenuCursor, AListWithoutPagingIgnoresLeftAndRightAndCanRunAlongColumns)
{
    top() = {4, 0, 0, 0};
    std::int32_t scroll = 0;
    MoveListCursor(kDirRight, 0, scroll, 10, 8, 77, 5, 20, 0);
    EXPECT_EQ(top().column, 4);
    MoveListCursor(kDirDown, 0, scroll, 10, 8, 77, 5, 20, 0);
    EXPECT_EQ(top().column, 5);
    EXPECT_EQ(scroll, 1);
    EXPECT_EQ(top().x, 10 + 8 * 4);
    EXPECT_EQ(top().y, 77);
}

TEST_F(MenuCursor, TheSoundPlaysOncePerMovingAxis)
{
    // Slot 0 exists and is silent (no sound device here).
    g_Sounds.resize(1);
    EXPECT_EQ(PlayCursorSound(kDirUp | kDirLeft, 3, 0), 2);
    EXPECT_EQ(PlayCursorSound(kDirUp | kDirLeft, 2, 0), 1);
    EXPECT_EQ(PlayCursorSound(kDirLeft, 2, 0), 0);
    EXPECT_EQ(PlayCursorSound(kDirRight, 1, 0), 1);
    EXPECT_EQ(PlayCursorSound(0, 3, 0), 0);
    g_Sounds.clear();
}

} // namespace
