// The world map of the generated game driven by input scripts: the walker
// moves a tile a press and stops at tiles that block; an entry asks its
// question, gives up back off the tile or commits the stage and asks for
// the game play; a cleared entry asks only when it may be replayed; the map
// opened on an uncleared entry starts it at once, or puts the walker back
// after an attempt left for the map; the story is saved after a stage when
// auto-save is on; the map shows cleared entries as cleared; the lives box
// fits its number; a damaged map or an unreadable stage never crashes.
//
// The generated map: the start (3, 4) on a road leading right to stage 1's
// entry at (6, 4); forest at (1, 4) and (2, 6); grass at (2, 4) and (2, 5).

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "data/story_slots.h"
#include "media/bitmap_table.h"
#include "media/dd_surface.h"
#include "platform/window_messages.h"
#include "scenes/map_menus_run.h"
#include "scenes/menu_cursor.h"
#include "scenes/rankings.h"
#include "scenes/scene_mgr.h"
#include "scenes/world_map_scene.h"

namespace {

constexpr int kEntryX = 6;
constexpr int kEntryY = 4;
constexpr int kFacingRight = FACING_RIGHT;

class WorldMap : public test::MapMenusRun {
protected:
    void SetUp() override
    {
        MapMenusRun::SetUp();
        g_Progress.nLives = 5;
    }

    // The map opened from the title (or the scene given) up to its map phase.
    void OpenMap(int previous = SCENE_TITLE)
    {
        Open(SCENE_WORLD_MAP, previous);
        ASSERT_TRUE(RunUntilPhase(cWorldMapScene::PHASE_MAP));
    }
    cWorldMapScene& Map() { return *Current<cWorldMapScene>(); }
    std::pair<int, int> Walker() const { return {g_MenuCursor.top->column, g_MenuCursor.top->row}; }
    void Walk(std::uint16_t dir, int presses = 1)
    {
        for (int i = 0; i < presses; ++i)
            Press(dir);
    }
    void Buttons(std::uint16_t buttons) { Press(0, buttons); }
    const cEdWorldEventItem& Entry1() const { return g_WorldMap.m_Events.at(0).m_Items.at(0); }
    cEdWorldEventItem& Entry1() { return g_WorldMap.m_Events.at(0).m_Items.at(0); }
};

TEST_F(WorldMap, TheWalkerMovesATileAPressAndStopsWhereTheTileBlocks)
{
    OpenMap();
    EXPECT_EQ(music, std::vector<int>{1});
    EXPECT_EQ(Walker(), std::make_pair(3, 4));
    Walk(kDirRight);
    EXPECT_EQ(Walker(), std::make_pair(4, 4));
    EXPECT_EQ(Map().m_Facing, FACING_RIGHT);
    Walk(kDirLeft, 3);
    EXPECT_EQ(Walker(), std::make_pair(2, 4)) << "the forest at (1, 4) blocks";
    EXPECT_EQ(Map().m_Facing, FACING_LEFT);
    EXPECT_EQ(Map().m_ViewX, 2 - 9);
    EXPECT_EQ(Map().m_ViewY, 4 - 7);
    Walk(kDirDown, 2);
    EXPECT_EQ(Walker(), std::make_pair(2, 5)) << "the forest at (2, 6) blocks";
    EXPECT_EQ(Map().m_Facing, FACING_DOWN);
    EXPECT_EQ(g_Progress.nMapCursor0, 2) << "the tile before the last move";
    EXPECT_EQ(g_Progress.nMapCursor1, 5);
    EXPECT_EQ(g_Progress.nMapEventNo, FACING_DOWN) << "the progress keeps the facing";
    EXPECT_EQ(g_MenuCursor.top->x, 288);
    EXPECT_EQ(g_MenuCursor.top->y, 224);

    // Cancel leaves for the save menu with the place kept.
    Buttons(2);
    EXPECT_EQ(sounds, std::vector<int>{4});
    EXPECT_EQ(g_Progress.nMapX, 2);
    EXPECT_EQ(g_Progress.nMapY, 5);
    ASSERT_TRUE(RunUntilScene(SCENE_SAVE_MENU));
    EXPECT_EQ(g_SceneMgr.g_PrevScene, SCENE_WORLD_MAP);
}

TEST_F(WorldMap, AnUnclearedEntryAsksAtOnceAndGivingUpStepsBack)
{
    OpenMap();
    Walk(kDirRight, 3);
    ASSERT_EQ(Map().m_Phase, cWorldMapScene::PHASE_QUESTION) << "the entry is not open";
    Frames(1);
    EXPECT_EQ(sounds, std::vector<int>{1});
    EXPECT_NE(g_Stage.strFileName.find("Stage1.stg4_"), std::string::npos);
    EXPECT_EQ(g_MenuCursor.top->row, 1) << "giving up is chosen first";
    EXPECT_EQ(g_MenuCursor.states.size(), 2u);
    Buttons(1);
    EXPECT_EQ(Map().m_Phase, cWorldMapScene::PHASE_MAP);
    EXPECT_EQ(Walker(), std::make_pair(5, 4)) << "back on the tile it came from";
    EXPECT_EQ(g_MenuCursor.states.size(), 1u);
    EXPECT_EQ(sounds, (std::vector<int>{1, 1}));
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_WORLD_MAP);
}

TEST_F(WorldMap, TakingTheStageOnCommitsItAndAsksForTheGamePlay)
{
    OpenMap();
    Walk(kDirRight, 3);
    Frames(1);
    Walk(kDirUp);
    EXPECT_EQ(g_MenuCursor.top->row, 0);
    Buttons(1);
    EXPECT_EQ(Map().m_Phase, cWorldMapScene::PHASE_FADE_OUT);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_GAME_PLAY);
    EXPECT_EQ(g_Progress.strStage, "data\\stg4\\Stage1.");
    EXPECT_EQ(g_Progress.nStageIndex, Entry1().m_ClearFlag);
    EXPECT_EQ(g_Progress.nChainNo, 1);
    EXPECT_EQ(g_Progress.nInitialLives, 6) << "the lives left and the one the start takes";
    EXPECT_EQ(g_Progress.m_pMapEvent, &Entry1());
    EXPECT_EQ(g_Progress.nMapX, kEntryX);
    EXPECT_EQ(g_Progress.nMapY, kEntryY);
    EXPECT_EQ(g_Progress.nMapEventNo, kFacingRight);
    ASSERT_TRUE(RunUntilScene(SCENE_GAME_PLAY));
    EXPECT_EQ(g_SceneMgr.g_PrevScene, SCENE_WORLD_MAP);
    EXPECT_NE(g_SceneMgr.m_GamePlayScene, nullptr);
    EXPECT_EQ(g_SceneMgr.m_WorldMapScene, nullptr);
    EXPECT_EQ(g_MenuCursor.states.size(), 1u);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(WorldMap, ACommittedStageStartsWithTheLivesRule)
{
    struct Case {
        std::int32_t carry, unlimited, lives, expected;
    };
    for (const Case& c :
         std::vector<Case>{{1, 0, 2, 3}, {1, 1, 2, kUnlimitedLives}, {0, 0, 2, 5}}) {
        g_System.bCarryLives = c.carry;
        g_System.vUnlimitedLives[0] = c.unlimited;
        NewStory();
        g_Progress.nLives = c.lives;
        OpenMap();
        Walk(kDirRight, 3);
        Frames(1);
        Walk(kDirUp);
        Buttons(1);
        EXPECT_EQ(g_Progress.nInitialLives, c.expected) << c.carry << " " << c.unlimited;
        DestroyScenes();
        ResetMenuCursor();
    }
}

TEST_F(WorldMap, ButtonOneOnAClearedEntryAsksOnlyWhenItMayBeReplayed)
{
    for (const int replay : {1, 0}) {
        SCOPED_TRACE(replay);
        Entry1().m_Replay = replay;
        NewStory();
        g_Progress.vStageFlags[static_cast<std::size_t>(Entry1().m_ClearFlag)] = 1;
        OpenMap();
        Walk(kDirRight, 3);
        ASSERT_EQ(Walker(), std::make_pair(kEntryX, kEntryY)) << "a cleared entry is passable";
        EXPECT_EQ(Map().m_Phase, cWorldMapScene::PHASE_MAP);
        Buttons(1);
        EXPECT_EQ(Map().m_Phase,
                  replay ? cWorldMapScene::PHASE_QUESTION : cWorldMapScene::PHASE_MAP);
        if (replay) {
            Frames(1);
            Buttons(2);
            EXPECT_EQ(Walker(), std::make_pair(kEntryX, kEntryY)) << "it stays on the entry";
        }
        DestroyScenes();
        ResetMenuCursor();
    }
}

TEST_F(WorldMap, OpenedOnAnUnclearedEntryItStartsItOrPutsTheWalkerBack)
{
    struct Case {
        const char* what;
        std::int32_t backToMap;
        bool cleared;
        int scene;       // asked for after the fade in
        int column, row; // the walker then
    };
    const std::vector<Case> cases = {
        {"new story on the entry", 0, false, SCENE_GAME_PLAY, kEntryX, kEntryY},
        {"left the attempt for the map", 1, false, SCENE_WORLD_MAP, 5, kEntryY},
        {"back on a cleared entry", 1, true, SCENE_WORLD_MAP, kEntryX, kEntryY},
        {"cleared entry", 0, true, SCENE_WORLD_MAP, kEntryX, kEntryY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NewStory();
        g_Progress.nMapX = kEntryX;
        g_Progress.nMapY = kEntryY;
        g_Progress.nMapCursor0 = 5;
        g_Progress.nMapCursor1 = kEntryY;
        g_Progress.bBackToMap = c.backToMap;
        if (c.cleared) g_Progress.vStageFlags[static_cast<std::size_t>(Entry1().m_ClearFlag)] = 1;
        Open(SCENE_WORLD_MAP, SCENE_GAME_PLAY);
        Frames(10);
        EXPECT_EQ(g_SceneMgr.g_ReqScene, c.scene);
        EXPECT_EQ(Walker(), std::make_pair(c.column, c.row));
        EXPECT_EQ(g_Progress.bBackToMap, 0);
        if (c.scene == SCENE_GAME_PLAY) {
            EXPECT_EQ(Map().m_Phase, cWorldMapScene::PHASE_FADE_OUT);
            EXPECT_EQ(g_Progress.m_pMapEvent, &Entry1());
            EXPECT_EQ(g_Progress.nMapCursor0, kEntryX);
            EXPECT_EQ(sounds, std::vector<int>{}) << "no question";
        } else {
            EXPECT_EQ(Map().m_Phase, cWorldMapScene::PHASE_MAP);
            Frames(1);
            EXPECT_EQ(Map().m_ViewX, c.column - 9) << "the view follows the walker";
        }
        DestroyScenes();
        ResetMenuCursor();
        sounds.clear();
    }
}

TEST_F(WorldMap, AnEntryThatStartsByItselfButCannotBeLoadedSaysSoOnceAndCloses)
{
    Entry1().m_StageFile = "data\\stg4\\Missing.stg4";
    g_Progress.nMapX = kEntryX;
    g_Progress.nMapY = kEntryY;
    Open(SCENE_WORLD_MAP, SCENE_GAME_PLAY);
    Frames(30);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("data\\stg4\\Missing.stg4"), std::string::npos);
    EXPECT_EQ(TakeCloses(), 1);
    EXPECT_EQ(g_SceneMgr.g_CurScene, SCENE_WORLD_MAP);
}

TEST_F(WorldMap, AQuestionWhoseStageCannotBeLoadedCanOnlyBeLeft)
{
    Entry1().m_StageFile = "data\\stg4\\Missing.stg4";
    OpenMap();
    Walk(kDirRight, 3);
    Frames(1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("data\\stg4\\Missing.stg4"), std::string::npos);
    Walk(kDirUp);
    Buttons(1);
    EXPECT_EQ(Map().m_Phase, cWorldMapScene::PHASE_MAP);
    EXPECT_EQ(Walker(), std::make_pair(5, 4));
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_WORLD_MAP);
    EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(WorldMap, AfterAStageTheStoryIsSavedWhenAutoSaveIsOn)
{
    struct Case {
        std::int32_t autoSave, slot, previous;
        bool saved;
    };
    const std::vector<Case> cases = {
        {1, 3, SCENE_GAME_PLAY, true},   {0, 3, SCENE_GAME_PLAY, false},
        {1, 3, SCENE_TITLE, false},      {1, -1, SCENE_GAME_PLAY, false},
        {1, 99, SCENE_GAME_PLAY, false}, {1, INT32_MIN, SCENE_GAME_PLAY, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "auto " << c.autoSave << " slot " << c.slot);
        std::filesystem::remove_all("user_data/story");
        CreateGameFolders();
        g_StorySlots = InitStorySlots(kStorySlots);
        NewStory();
        g_Progress.bAutoSave = c.autoSave;
        g_Progress.nSlot = c.slot;
        g_Progress.vStageFlags[2] = 1;
        OpenMap(c.previous);
        EXPECT_EQ(std::filesystem::exists("user_data/story/Story04.dat"), c.saved);
        EXPECT_EQ(g_StorySlots[3].bUsed, c.saved ? 1 : 0);
        EXPECT_EQ(TakeCloses(), 0) << "the game goes on";
        EXPECT_TRUE(boxes.empty());
        if (c.saved) {
            cSaveData read;
            ASSERT_EQ(read.LoadStorySlot(3), 1);
            EXPECT_EQ(read.vStageFlags[2], 1);
            EXPECT_EQ(read.nMapX, g_Progress.nMapX);
        }
        DestroyScenes();
        ResetMenuCursor();
    }
}

TEST_F(WorldMap, AnAutoSaveThatCannotBeWrittenIsSaidAndTheGameGoesOn)
{
    // A file where the story folder should be: no slot can be written.
    std::filesystem::remove_all("user_data/story");
    dir_.write("user_data/story", "not a folder");
    g_Progress.bAutoSave = 1;
    g_Progress.nSlot = 3;
    OpenMap(SCENE_GAME_PLAY);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("Story04.dat"), std::string::npos) << boxes[0];
    EXPECT_EQ(g_StorySlots[3].bUsed, 0) << "the slot is not taken for saved";
    EXPECT_EQ(TakeCloses(), 0);
    EXPECT_EQ(Map().m_Phase, cWorldMapScene::PHASE_MAP);
}

// The colour of a pixel of a surface, without its alpha.
std::uint32_t Rgb(const DDSURFACEDATA& sd, int x, int y)
{
    const DDPixels& p = *sd.pixels();
    return DDToARGB(p.format, p.get(x, y)) & 0xFFFFFFu;
}

TEST_F(WorldMap, AClearedEntryShowsTheClearedSign)
{
    for (const int mode : {0, 5}) {
        SCOPED_TRACE(gfxtest::AllModes()[mode].name);
        UseDisplay(gfxtest::AllModes()[mode]);
        for (const bool cleared : {false, true}) {
            NewStory();
            if (cleared) g_Progress.vStageFlags[static_cast<std::size_t>(Entry1().m_ClearFlag)] = 1;
            OpenMap();
            // The entry's tile on the map, and a pixel of its sign's badge.
            const int x = (kEntryX - Map().m_ViewX) * 32 + 8;
            const int y = (kEntryY - Map().m_ViewY) * 32 + 16;
            const int row = Entry1().m_SignRow * 32 + 16;
            const DDSURFACEDATA& signs = g_BitmapSD[53];
            const std::uint32_t shown = Rgb(g_BitmapSD[67], x, y);
            EXPECT_EQ(shown, Rgb(signs, (cleared ? 32 : 0) + 8, row)) << cleared;
            EXPECT_NE(shown, Rgb(signs, (cleared ? 0 : 32) + 8, row)) << cleared;
            DestroyScenes();
            ResetMenuCursor();
        }
    }
}

// The box around the differences between two frames' top 100 rows.
struct Box {
    int left = 640, top = 480, right = -1, bottom = -1;
};
Box DifferenceBox(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b)
{
    Box box;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 640; ++x)
            if (a[static_cast<std::size_t>(y * 640 + x)] !=
                b[static_cast<std::size_t>(y * 640 + x)]) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
    return box;
}

TEST_F(WorldMap, TheLivesBoxFitsItsNumberAtTheTopRight)
{
    OpenMap();
    auto frame = [this](std::int32_t show) {
        g_System.bMapShowLives = show;
        Map().DrawMapScreen(false);
        const DDPixels& p = *BackBuffer.pixels();
        std::vector<std::uint32_t> pixels(640 * 480);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                pixels[static_cast<std::size_t>(y * 640 + x)] = p.get(x, y);
        return pixels;
    };
    // The box is (digits + 1) x 16 by 20 pixels ending at x 621, from y 17,
    // inside its frame of one pixel.
    struct Case {
        std::int32_t lives;
        int left;
    };
    for (const Case& c : std::vector<Case>{
             {kUnlimitedLives, 589}, {5, 589}, {12, 573}, {0, 589}, {123456789, 461}}) {
        g_Progress.nLives = c.lives;
        const Box box = DifferenceBox(frame(0), frame(1));
        EXPECT_EQ(box.left, c.left - 1) << c.lives;
        EXPECT_EQ(box.right, 621 + 1) << c.lives;
        EXPECT_EQ(box.top, 17 - 1) << c.lives;
        EXPECT_EQ(box.bottom, 17 + 20 + 1) << c.lives;
    }
}

TEST_F(WorldMap, TheRankingButtonsShowTheRankingAndStepItsKind)
{
    cEdRankSet set;
    InsertRank(set.m_Tables[RANK_SCORE], "ABC", 1234);
    ASSERT_EQ(SaveRankSet(set, PLAYKIND_STORY, "data\\stg4\\Stage1."), 1);
    g_Progress.nMapX = kEntryX;
    g_Progress.nMapY = kEntryY;
    g_Progress.vStageFlags[static_cast<std::size_t>(Entry1().m_ClearFlag)] = 1;
    g_Progress.nRankKind = 0;
    OpenMap();
    EXPECT_EQ(g_RankSet.m_Tables[RANK_SCORE].m_Entries[0].m_Name, "ABC")
        << "the rankings of the stage under the walker";
    Buttons(4);
    EXPECT_EQ(g_Progress.bShowRanking, 1);
    Buttons(8);
    EXPECT_EQ(g_Progress.nRankKind, 1);
    Buttons(4);
    EXPECT_EQ(g_Progress.bShowRanking, 0);
    EXPECT_EQ(sounds, (std::vector<int>{6, 6, 6}));

    // Without rankings in the story, button 3 only hides them and 4 does nothing.
    g_System.vModeFlags[0].bRanking = 0;
    g_Progress.bShowRanking = 1;
    Buttons(4);
    Buttons(8);
    EXPECT_EQ(g_Progress.bShowRanking, 0);
    EXPECT_EQ(g_Progress.nRankKind, 1);
    EXPECT_EQ(sounds.size(), 3u);
}

TEST_F(WorldMap, AMapWhoseNumbersPointOutsideItsTablesIsWalkedAndDrawnSoundly)
{
    cEdWorldMap& map = g_WorldMap;
    auto cell = [](int x, int y) -> std::int32_t& {
        return g_WorldMap.m_Cells[static_cast<std::size_t>((y << g_WorldMap.m_PitchShift) + x)];
    };
    cell(4, 4) = 999;                  // beyond the chips: the last one, which may be walked on
    cell(3, 5) = -5;                   // below them: the first, which may not
    map.m_Chips[6].m_PictureNo = 1000; // the road's picture beyond the chip sheet
    map.m_Chips[5].m_PictureNo = -1;
    cEdWorldEvent odd;
    odd.m_X = 2;
    odd.m_Y = 4;
    odd.m_Items[0].Clear();
    odd.m_Items[0].m_Kind = 7;         // only drawn
    odd.m_Items[0].m_SignRow = 99;     // beyond the sign sheet
    odd.m_Items[0].m_ClearFlag = 5000; // beyond the stage flags
    map.m_Events.push_back(odd);
    cEdWorldEvent far = odd;
    far.m_X = INT32_MIN;
    far.m_Y = -3;
    far.m_Items[0].m_SignRow = -1;
    map.m_Events.push_back(far);
    cEdWorldEvent never = odd;
    never.m_X = 3;
    never.m_Y = 3;
    never.m_Items[0].m_RequiredFlag = INT32_MAX;
    never.m_Items[0].m_VarNo = 300;
    map.m_Events.push_back(never);

    OpenMap();
    Walk(kDirRight);
    EXPECT_EQ(Walker(), std::make_pair(4, 4));
    Walk(kDirLeft, 2);
    EXPECT_EQ(Walker(), std::make_pair(2, 4)) << "an entry only drawn does not block";
    Walk(kDirRight);
    Walk(kDirDown);
    EXPECT_EQ(Walker(), std::make_pair(3, 4)) << "the chip below the table blocks";
    Walk(kDirUp);
    EXPECT_EQ(Walker(), std::make_pair(3, 3)) << "an event whose entry never qualifies";

    // Sizes that disagree with the cells stored, and no chips at all.
    map.m_Width = 5000;
    map.m_PitchShift = 40;
    map.m_Cells.resize(3);
    map.m_Chips.clear();
    Walk(kDirRight, 30);
    EXPECT_EQ(Walker(), std::make_pair(33, 3));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(TakeCloses(), 0);
    for (const std::string& line : reportLines())
        EXPECT_NE(line.rfind("err", 0), 0u) << line;
}

} // namespace
