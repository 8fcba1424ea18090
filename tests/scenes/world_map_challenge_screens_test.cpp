// The world map and the challenge select of the generated game drawn as a
// player sees them, in both back ends and at 8-bit colour: each screen
// shows more than one colour and two runs draw the same pixels. With
// RT_WRITE_FRAMES=<folder> set, the screens are written there as BMP files
// (<screen>-<mode>.bmp) to be looked at.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "scenes/challenge_scene.h"
#include "scenes/map_menus_run.h"
#include "scenes/rankings.h"
#include "scenes/shown_frame.h"
#include "scenes/world_map_scene.h"

namespace {

// The texture back end, the surface back end, and the surface one at 8 bits.
const int kModes[] = {0, 5, 3};

struct Screen {
    const char* name;
    std::function<void()> prepare; // the progress and the scene to open
    cInputScript input;            // played once the scene has faded in
};

class WorldMapChallengeScreens : public test::MapMenusRun {
protected:
    // The back buffer once the screen has faded in and played its input.
    std::vector<std::uint32_t> Shoot(const Screen& screen, const gfxtest::Mode& mode)
    {
        UseDisplay(mode);
        NewStory();
        screen.prepare();
        for (int i = 0; i < 12; ++i)
            Frames(1);
        Frames(screen.input, screen.input.FrameCount());
        const std::vector<std::uint32_t> xrgb = test::ShownFrame();
        DestroyScenes();
        ResetMenuCursor();
        return xrgb;
    }
};

// Rankings of a stage with a few places taken.
void SaveRankings(int playKind, const std::string& stage)
{
    cEdRankSet set;
    InsertRank(set.m_Tables[RANK_SCORE], "ABC", 1234);
    InsertRank(set.m_Tables[RANK_SCORE], "XYZ", 980);
    InsertRank(set.m_Tables[RANK_SCORE], "QQQ", 15);
    SaveRankSet(set, playKind, stage);
}

// A story under way: stage 1 cleared with a best score and rankings, the
// walker on its entry, three lives, the ranking shown.
void StoryUnderWay()
{
    SaveRankings(PLAYKIND_STORY, "data\\stg4\\Stage1.");
    const cEdWorldEvent& entry = g_WorldMap.m_Events.at(0);
    g_Progress.nMapX = entry.m_X;
    g_Progress.nMapY = entry.m_Y;
    g_Progress.nMapEventNo = FACING_RIGHT;
    g_Progress.vStageFlags[static_cast<std::size_t>(entry.m_Items.at(0).m_ClearFlag)] = 1;
    g_Progress.UpdateBestScore("data\\stg4\\Stage1.", 1234);
    g_Progress.nLives = 3;
    g_Progress.bShowRanking = 1;
    test::MapMenusRun::Open(SCENE_WORLD_MAP);
}

// The challenge progress: challenge 1 cleared with a best score and rankings.
void ChallengesUnderWay(std::int32_t showRanking)
{
    SaveRankings(PLAYKIND_CHALLENGE, "data\\stg4\\c01.");
    g_SceneMgr.m_PlayKind = PLAYKIND_CHALLENGE;
    g_Progress.Check();
    g_Progress.vChallenge.at(0).bCleared = 1;
    g_Progress.vChallenge.at(0).nBest = 2500;
    g_Progress.nTotalScore = 2500;
    g_Progress.bShowRanking = showRanking;
    test::MapMenusRun::Open(SCENE_CHALLENGE);
}

std::vector<Screen> Screens()
{
    return {
        {"world-map", StoryUnderWay, cInputScript().Hold(0, 0, 2)},
        {"world-map-question", StoryUnderWay, cInputScript().Hold(0, 1, 1).Hold(0, 0, 2)},
        {"world-map-lives-unlimited",
         [] {
             StoryUnderWay();
             g_Progress.nLives = kUnlimitedLives;
             g_Progress.bShowRanking = 0;
         },
         cInputScript().Hold(0, 0, 2)},
        {"challenge", [] { ChallengesUnderWay(0); }, cInputScript().Hold(kDirDown, 0, 1)},
        {"challenge-ranking", [] { ChallengesUnderWay(1); }, cInputScript().Hold(0, 0, 2)},
    };
}

TEST_F(WorldMapChallengeScreens, EachScreenIsDrawnInEachBackEndTheSameWayTwice)
{
    for (const Screen& screen : Screens()) {
        for (const int m : kModes) {
            const gfxtest::Mode& mode = gfxtest::AllModes()[m];
            SCOPED_TRACE(std::string(screen.name) + " " + mode.name);
            const std::vector<std::uint32_t> first = Shoot(screen, mode);
            test::WriteFrame(std::string(screen.name) + "-" + mode.name, first);
            const std::set<std::uint32_t> colours(first.begin(), first.end());
            EXPECT_GT(colours.size(), 4u) << "the screen is drawn";
            EXPECT_TRUE(Shoot(screen, mode) == first) << "both runs draw the same screen";
        }
    }
}

} // namespace
