// What the world map decides from the map and the progress: the entry of
// an event the player meets (the required flag, the variable comparisons
// and the minimum total score), cleared and passable entries, the tiles
// that block, and the lives a chosen stage starts with. Numbers that point
// outside the progress's tables or the map's chips are taken soundly.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "scenes/menu_cursor.h"
#include "scenes/world_map_rules.h"

namespace {

class WorldMapRules : public testing::Test {
protected:
    void SetUp() override
    {
        g_Progress.ResetStoryData();
        g_WorldMap = cEdWorldMap();
        ResetMenuCursor();
    }
    void TearDown() override
    {
        g_System = system_;
        g_WorldMap = map_;
        g_Progress = cSaveData();
        ResetMenuCursor();
    }

    static cEdWorldEventItem Item()
    {
        cEdWorldEventItem item;
        item.Clear();
        return item;
    }

    cEdSystem system_ = g_System;
    cEdWorldMap map_ = g_WorldMap;
};

TEST_F(WorldMapRules, TheRequiredStageFlagMustBeSet)
{
    struct Case {
        std::int32_t required;
        int setFlag; // -1 none
        bool qualifies;
    };
    const std::vector<Case> cases = {
        {0, -1, true},
        {-3, -1, true},
        {5, -1, false},
        {5, 5, true},
        {5, 6, false},
        {999, 999, true},
        {1000, -1, false}, // beyond the 1000 stage flags:
                           // never set
        {INT32_MAX, -1, false},
    };
    for (const Case& c : cases) {
        g_Progress.ResetStoryData();
        if (c.setFlag >= 0) g_Progress.vStageFlags[static_cast<std::size_t>(c.setFlag)] = 1;
        cEdWorldEventItem item = Item();
        item.m_RequiredFlag = c.required;
        EXPECT_EQ(ItemQualifies(item), c.qualifies) << c.required << " with " << c.setFlag;
    }
}

TEST_F(WorldMapRules, TheVariableComparisonHoldsByItsOperation)
{
    struct Case {
        std::int32_t operation, variable, value;
        bool holds;
    };
    const std::vector<Case> cases = {
        {0, 3, 3, true},   {0, 4, 3, false},
        {1, 3, 3, false},  {1, 2, 3, true},
        {2, 3, 3, true},   {2, 2, 3, false},
        {3, 3, 3, true},   {3, 4, 3, false},
        {4, 3, 3, false},  {4, 4, 3, true},
        {5, 3, 3, false},  {5, 2, 3, true},
        {6, 3, 3, false},  {-1, 3, 3, false}, // no such operation: never holds
        {2, -5, -6, true}, {5, INT32_MIN, INT32_MAX, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareWorldVar(c.variable, c.operation, c.value), c.holds)
            << c.variable << " op " << c.operation << " " << c.value;
        g_Progress.vCommonVar[17] = c.variable;
        cEdWorldEventItem item = Item();
        item.m_VarNo = 17;
        item.m_VarCompare = c.operation;
        item.m_VarValue = c.value;
        EXPECT_EQ(ItemQualifies(item), c.holds);
    }
}

TEST_F(WorldMapRules, VariableZeroTestsNothingAndOneOutsideTheTableNeverHolds)
{
    cEdWorldEventItem item = Item();
    item.m_VarCompare = 0;
    item.m_VarValue = 12345;
    item.m_VarNo = 0;
    EXPECT_TRUE(ItemQualifies(item));
    for (const std::int32_t number : {-1, 256, 100000}) {
        item.m_VarNo = number;
        item.m_VarCompare = 1; // "not equal": would hold for any variable
        EXPECT_FALSE(ItemQualifies(item)) << number;
    }
}

TEST_F(WorldMapRules, TheTotalScoreMustReachTheMinimum)
{
    struct Case {
        std::int32_t total, minimum;
        bool qualifies;
    };
    for (const Case& c : std::vector<Case>{
             {0, 0, true}, {99, 100, false}, {100, 100, true}, {500, 100, true}, {0, -5, true}}) {
        g_Progress.nTotalScore = c.total;
        cEdWorldEventItem item = Item();
        item.m_RequiredScore = c.minimum;
        EXPECT_EQ(ItemQualifies(item), c.qualifies) << c.total << " against " << c.minimum;
    }
}

TEST_F(WorldMapRules, TheFirstQualifyingEntryIsTheOneMet)
{
    cEdWorldEvent event;
    event.m_Items = {Item(), Item()};
    event.m_Items[0].m_RequiredFlag = 5;
    event.m_Items[0].m_Caption = "after flag 5";
    event.m_Items[1].m_Caption = "before";
    EXPECT_EQ(SelectItem(&event), &event.m_Items[1]);
    g_Progress.vStageFlags[5] = 1;
    EXPECT_EQ(SelectItem(&event), &event.m_Items[0]);
    event.m_Items[1].m_RequiredScore = 1;
    g_Progress.vStageFlags[5] = 0;
    EXPECT_EQ(SelectItem(&event), nullptr) << "none qualifies";
    EXPECT_EQ(SelectItem(nullptr), nullptr);
    event.m_Items.clear();
    EXPECT_EQ(SelectItem(&event), nullptr);
}

TEST_F(WorldMapRules, AnEntryIsPassableWhenOpenOrCleared)
{
    struct Case {
        std::int32_t clearFlag;
        std::int32_t open;
        bool flagSet;
        bool cleared, passable;
    };
    const std::vector<Case> cases = {
        {3, 0, false, false, false},    {3, 1, false, false, true},
        {3, 0, true, true, true},       {0, 0, false, true, true}, // stage flag 0 is always set
        {1000, 0, false, false, false}, {-2, 0, false, false, false},
    };
    for (const Case& c : cases) {
        g_Progress.ResetStoryData();
        if (c.flagSet) g_Progress.vStageFlags[static_cast<std::size_t>(c.clearFlag)] = 1;
        cEdWorldEventItem item = Item();
        item.m_ClearFlag = c.clearFlag;
        item.m_Open = c.open;
        EXPECT_EQ(IsCleared(item), c.cleared) << c.clearFlag;
        EXPECT_EQ(IsPassable(item), c.passable) << c.clearFlag;
    }
}

TEST_F(WorldMapRules, ObstaclesAndImpassableChipsBlockButEntriesDoNot)
{
    // The default chips: 0 to 4 cannot be walked on, 5 to 9 can.
    g_WorldMap.m_Cells[0] = 2; // (0, 0) impassable
    g_WorldMap.m_Cells[1] = 7; // (1, 0) passable
    cEdWorldEventItem entry = Item();
    cEdWorldEventItem obstacle = Item();
    obstacle.m_Kind = kWorldItemObstacle;
    cEdWorldEventItem drawnOnly = Item();
    drawnOnly.m_Kind = 1;
    EXPECT_TRUE(IsTileBlocked(0, 0, nullptr));
    EXPECT_FALSE(IsTileBlocked(1, 0, nullptr));
    EXPECT_TRUE(IsTileBlocked(1, 0, &obstacle)) << "an obstacle blocks a passable chip";
    EXPECT_FALSE(IsTileBlocked(0, 0, &entry)) << "an entry on an impassable chip can be entered";
    EXPECT_FALSE(IsTileBlocked(0, 0, &drawnOnly));
}

TEST_F(WorldMapRules, CellsBeyondTheChipTableTakeTheNearestChip)
{
    g_WorldMap.m_Cells[0] = 999; // beyond the ten chips: the last, passable
    g_WorldMap.m_Cells[1] = -5;  // below them: the first, impassable
    ASSERT_NE(MapChipAt(0, 0), nullptr);
    EXPECT_EQ(MapChipAt(0, 0), &g_WorldMap.m_Chips.back());
    EXPECT_EQ(MapChipAt(1, 0), &g_WorldMap.m_Chips.front());
    EXPECT_FALSE(IsTileBlocked(0, 0, nullptr));
    EXPECT_TRUE(IsTileBlocked(1, 0, nullptr));
    // Tiles off the map are held on it; a map without chips blocks nothing.
    EXPECT_EQ(MapChipAt(-4, -9), MapChipAt(0, 0));
    g_WorldMap.m_Chips.clear();
    EXPECT_EQ(MapChipAt(0, 0), nullptr);
    EXPECT_FALSE(IsTileBlocked(1, 0, nullptr));
}

TEST_F(WorldMapRules, TheEventUnderTheCursorIsTheFirstPlacedThere)
{
    g_WorldMap.m_Events.resize(3);
    g_WorldMap.m_Events[0].m_X = 4;
    g_WorldMap.m_Events[0].m_Y = 2;
    g_WorldMap.m_Events[1].m_X = 5;
    g_WorldMap.m_Events[1].m_Y = 6;
    g_WorldMap.m_Events[2].m_X = 5;
    g_WorldMap.m_Events[2].m_Y = 6;
    g_MenuCursor.top->column = 5;
    g_MenuCursor.top->row = 6;
    EXPECT_EQ(FindWorldEvent(g_MenuCursor), &g_WorldMap.m_Events[1]);
    g_MenuCursor.top->row = 2;
    EXPECT_EQ(FindWorldEvent(g_MenuCursor), nullptr);
}

TEST_F(WorldMapRules, AChosenStageStartsWithTheLivesOfTheStory)
{
    struct Case {
        std::int32_t carry, unlimited, lives;
        std::int32_t expected;
    };
    // Story's initial lives are 7 here.
    const std::vector<Case> cases = {
        {1, 0, 3, 4}, // the lives left and the one the start takes
        {1, 0, 0, 1}, {1, 1, 3, kUnlimitedLives}, {1, 0, kUnlimitedLives, kUnlimitedLives},
        {0, 0, 3, 7}, // every stage starts with the initial lives
        {0, 1, 3, 7},
    };
    for (const Case& c : cases) {
        g_System.bCarryLives = c.carry;
        g_System.vUnlimitedLives = {c.unlimited, 0, 0, 0};
        g_System.vInitialLives = {7, 1, 1, 1};
        g_Progress.nLives = c.lives;
        EXPECT_EQ(StoryStageLives(), c.expected)
            << "carry " << c.carry << " unlimited " << c.unlimited << " lives " << c.lives;
    }
}

} // namespace
