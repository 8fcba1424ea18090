// The challenge select of the generated game driven by input scripts: the
// list holds the challenges opened, or all of them with the open-all
// switch; confirming loads the newest numbered file of the challenge's
// first stage and asks for the game play with the challenge's lives; the
// list comes back where it was after a challenge, not after leaving for the
// title; an unreadable challenge is said and the list stays; a damaged
// challenge progress opens the first challenge.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/ed_data.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/path_table.h"
#include "scenes/challenge_scene.h"
#include "scenes/map_menus_run.h"
#include "scenes/menu_cursor.h"
#include "scenes/scene_mgr.h"

namespace {

namespace fs = std::filesystem;

class ChallengeSelect : public test::MapMenusRun {
protected:
    void SetUp() override
    {
        MapMenusRun::SetUp();
        g_Progress.ResetStoryData();
        g_Progress.Check();
        g_SceneMgr.m_PlayKind = PLAYKIND_CHALLENGE;
        g_SceneMgr.g_PlayMode = PLAYMODE_CHALLENGE;
        g_SceneMgr.m_ResultsOn = 1;
    }

    void OpenList()
    {
        Open(SCENE_CHALLENGE);
        ASSERT_TRUE(RunUntilPhase(cChallengeScene::PHASE_LIST));
    }
    cChallengeScene& List() { return *Current<cChallengeScene>(); }
    void PressTimes(std::uint16_t dir, int times)
    {
        for (int i = 0; i < times; ++i)
            Press(dir);
    }
    // Challenges 1 to n as copies of the game's first, each numbered 000.
    static void MakeChallenges(int n)
    {
        const fs::path first = "data/stg4/c01-1.stg4_001";
        for (int k = 3; k <= n; ++k) {
            char name[64];
            std::snprintf(name, sizeof name, "data/stg4/c%02d-1.stg4_000", k);
            fs::copy_file(first, name, fs::copy_options::overwrite_existing);
        }
        g_System.nChallengeStages = n;
        g_Progress.Check();
    }
};

TEST_F(ChallengeSelect, TheListHoldsTheOpenedChallengesOrAllOfThem)
{
    struct Case {
        std::int32_t allOpen, stages, opened, listed;
    };
    const std::vector<Case> cases = {
        {1, 2, 1, 2}, {0, 2, 1, 1}, {0, 2, 2, 2}, {1, 25, 1, 25}, {0, 25, 12, 12}, {1, 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.allOpen << " " << c.stages << " " << c.opened);
        g_System.bAllChallengesOpen = c.allOpen;
        g_System.nChallengeStages = c.stages;
        g_Progress.ResetStoryData();
        g_Progress.nChallengeOpen = c.opened;
        g_Progress.Check();
        OpenList();
        EXPECT_EQ(List().m_Count, c.listed);
        EXPECT_EQ(List().m_Visible, std::min(c.listed, 10));
        PressTimes(kDirDown, 30);
        EXPECT_EQ(g_MenuCursor.top->row, std::max(c.listed - 1, 0));
        EXPECT_EQ(List().m_Scroll, std::max(c.listed - 10, 0));
        DestroyScenes();
        ResetMenuCursor();
    }
}

TEST_F(ChallengeSelect, ConfirmingStartsTheChallengeFromItsNewestFile)
{
    fs::copy_file("data/stg4/c02-1.stg4_001", "data/stg4/c02-1.stg4_007");
    OpenList();
    EXPECT_EQ(music, std::vector<int>{2});
    Press(kDirDown);
    EXPECT_EQ(g_Progress.strStage, "data\\stg4\\c02.") << "moving selects the challenge";
    Press(0, 1);
    EXPECT_EQ(sounds, std::vector<int>{1});
    EXPECT_NE(g_Stage.strFileName.find("c02-1.stg4_007"), std::string::npos) << g_Stage.strFileName;
    EXPECT_EQ(g_Progress.strStage, "data\\stg4\\c02.");
    EXPECT_EQ(g_Progress.nStageIndex, 2);
    EXPECT_EQ(g_Progress.nChainNo, 1);
    EXPECT_EQ(g_Progress.bChainStage, 1);
    // The generated game's challenges: three lives, not unlimited.
    EXPECT_EQ(g_Progress.nInitialLives, 3);
    EXPECT_EQ(g_Progress.nLives, 2);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_GAME_PLAY);
    ASSERT_TRUE(RunUntilScene(SCENE_GAME_PLAY));
    EXPECT_EQ(g_SceneMgr.g_PrevScene, SCENE_CHALLENGE);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ChallengeSelect, UnlimitedChallengeLivesAreUnlimited)
{
    g_System.vUnlimitedLives[PLAYKIND_CHALLENGE] = 1;
    OpenList();
    Press(0, 1);
    EXPECT_EQ(g_Progress.nInitialLives, kUnlimitedLives);
    EXPECT_EQ(g_Progress.nLives, kUnlimitedLives);
}

TEST_F(ChallengeSelect, TheListComesBackWhereItWasAfterAChallengeOnly)
{
    MakeChallenges(25);
    OpenList();
    PressTimes(kDirDown, 16);
    ASSERT_EQ(g_MenuCursor.top->row, 16);
    ASSERT_EQ(List().m_Scroll, 7);
    Press(0, 1);
    EXPECT_EQ(g_SceneMgr.m_ChallengeCursor, 16);
    EXPECT_EQ(g_SceneMgr.m_ChallengeScroll, 7);
    ASSERT_TRUE(RunUntilScene(SCENE_GAME_PLAY));

    OpenList();
    EXPECT_EQ(g_MenuCursor.top->row, 16);
    EXPECT_EQ(List().m_Scroll, 7);
    EXPECT_EQ(g_Progress.strStage, "data\\stg4\\c17.") << "the challenge under the cursor";
    PressTimes(kDirUp, 3);
    Press(0, 2);
    EXPECT_EQ(sounds.back(), 2);
    ASSERT_TRUE(RunUntilScene(SCENE_TITLE));
    EXPECT_EQ(g_SceneMgr.m_ChallengeCursor, 16) << "leaving for the title keeps the old place";
    EXPECT_EQ(g_SceneMgr.m_ChallengeScroll, 7);
}

TEST_F(ChallengeSelect, ARememberedPlaceBeyondTheListIsHeldWithinIt)
{
    g_SceneMgr.m_ChallengeCursor = 30;
    g_SceneMgr.m_ChallengeScroll = 40;
    OpenList();
    EXPECT_EQ(g_MenuCursor.top->row, 1);
    EXPECT_EQ(List().m_Scroll, 0);
    EXPECT_EQ(List().m_Visible, 2);
}

TEST_F(ChallengeSelect, AnUnreadableChallengeIsSaidAndTheListStays)
{
    fs::remove("data/stg4/c02-1.stg4_001");
    OpenList();
    Press(kDirDown);
    Press(0, 1);
    EXPECT_EQ(sounds, std::vector<int>{3});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("data\\stg4\\c02-1.stg4"), std::string::npos) << boxes[0];
    EXPECT_EQ(List().m_Phase, cChallengeScene::PHASE_LIST);
    EXPECT_EQ(g_SceneMgr.g_ReqScene, SCENE_CHALLENGE);
}

TEST_F(ChallengeSelect, AnEmptyListStartsNothing)
{
    g_System.nChallengeStages = 0;
    g_Progress.Check();
    OpenList();
    Press(0, 1);
    EXPECT_TRUE(sounds.empty());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(List().m_Phase, cChallengeScene::PHASE_LIST);
}

TEST_F(ChallengeSelect, ADamagedChallengeProgressOpensTheFirstChallenge)
{
    g_System.bAllChallengesOpen = 0;
    for (const std::int32_t stored : {0, -3}) {
        cSaveData progress;
        progress.Check();
        std::vector<std::uint8_t> bytes = SaveToBytes(progress);
        // nChallengeOpen: the 24th member block, after the version and the count.
        constexpr std::size_t kOpenAt = 8 + 23 * 4;
        for (int i = 0; i < 4; ++i)
            bytes[kOpenAt + static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(static_cast<std::uint32_t>(stored) >> (8 * i));
        fs::create_directories("user_data/challenge");
        std::ofstream("user_data/challenge/Challenge.dat", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        ASSERT_EQ(g_Progress.LoadChallengeData(), 1);
        EXPECT_EQ(g_Progress.nChallengeOpen, 1) << stored;
        OpenList();
        EXPECT_EQ(List().m_Count, 1) << stored;
        DestroyScenes();
        ResetMenuCursor();
    }
}

TEST_F(ChallengeSelect, TheRankingButtonsShowTheRankingAndStepItsKind)
{
    OpenList();
    Press(0, 4);
    EXPECT_EQ(g_Progress.bShowRanking, 1);
    Press(0, 8);
    EXPECT_EQ(g_Progress.nRankKind, 1);
    EXPECT_EQ(sounds, (std::vector<int>{6, 6}));
    g_System.vModeFlags[PLAYKIND_CHALLENGE].bRanking = 0;
    Press(0, 4);
    Press(0, 8);
    EXPECT_EQ(g_Progress.bShowRanking, 0);
    EXPECT_EQ(g_Progress.nRankKind, 1);
    EXPECT_EQ(sounds.size(), 2u);
}

} // namespace
