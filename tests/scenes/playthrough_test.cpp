// The play-through: the stored session of the bundled game (recorded from
// the running program by scripts/record-demos.sh, as an author records one
// with RT_RECORD_INPUT) is played back headless from the title: a new
// story, its first stage, a save into the first story slot and a continue
// from it at the title, the other stages to the end of the world map, the
// story saved again, then both challenges, each clear registered in the
// rankings. At the end the player's files must hold all of it: the story
// slot with every stage cleared and its totals, Challenge.dat with both
// challenges cleared and its total, and a ranking of every stage under the
// name typed. A change of the game's behaviour fails this; when the change
// is meant, the session is recorded again on purpose with the script.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/main_window_handle.h"
#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "platform/message_loop.h"
#include "scenes/challenge_scene.h"
#include "scenes/rankings.h"
#include "scenes/scene.h"
#include "scenes/scene_table.h"
#include "scenes/world_map_rules.h"
#include "support/session_playback.h"
#include "tools/default_game_fixture.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kRecordAgain =
    "If the game's behaviour was meant to change, record the session again with "
    "scripts/record-demos.sh and commit it with the change.";
// The name the recording typed for every ranking.
constexpr const char* kRankName = "QHT";

fs::path SessionFile()
{
    const char* source = std::getenv("RT_SOURCE_DIR");
    return fs::path(source ? source : ".") / "tests" / "demos" / "playthrough.session";
}

class Playthrough : public test::DefaultGame {
protected:
    void SetUp() override
    {
        DefaultGame::SetUp();
        // No main window: a request for a dialog is refused at once (the
        // session never asks for one; a playback gone astray must not wait).
        plat::destroyWindow(g_hMainWnd);
        g_hMainWnd = 0;
    }
    void TearDown() override
    {
        g_Progress = cSaveData();
        ResetRankSet(g_RankSet);
        DefaultGame::TearDown();
    }

    // The number of the first visit to a scene at or after `from` that
    // satisfies `match`, or the count of visits when none does.
    template <class Match>
    static std::size_t Find(const std::vector<test::SceneVisit>& scenes, std::size_t from,
                            Match match)
    {
        for (std::size_t i = from; i < scenes.size(); ++i)
            if (match(scenes[i])) return i;
        return scenes.size();
    }

    // The score ranking of a stage name holds the name typed at the top,
    // with the value given.
    static void ExpectRanked(int playKind, const std::string& stage, std::int32_t score)
    {
        SCOPED_TRACE(stage);
        cEdRankSet set;
        ASSERT_EQ(LoadRankSet(set, playKind, stage), 1) << "no rankings were written";
        for (int kind = 0; kind < kRankKinds; ++kind) {
            const cEdRankEntry& top = set.m_Tables[static_cast<std::size_t>(kind)].m_Entries[0];
            EXPECT_EQ(top.m_Valid, 1) << "kind " << kind;
            EXPECT_EQ(top.m_Name, kRankName) << "kind " << kind;
        }
        EXPECT_EQ(set.m_Tables[RANK_SCORE].m_Entries[0].m_Value, score);
    }
};

TEST_F(Playthrough, TheRecordedSessionPlaysTheWholeGameThrough)
{
    LoadAuthorsData();
    ASSERT_TRUE(fs::exists(SessionFile())) << SessionFile();
    const test::SessionPlayback back = test::PlayBackSession(SessionFile().string());
    ASSERT_EQ(back.error, "");
    ASSERT_TRUE(back.reachedEnd);
    EXPECT_GT(back.polls, 1000);
    EXPECT_EQ(back.errorBoxes, "");
    EXPECT_EQ(back.closeRequests, 0);

    // The way it went: a new story, the save menu, back at the title, the
    // story continued with its first stage cleared, the challenges, the
    // title at the end.
    const auto& scenes = back.scenes;
    ASSERT_FALSE(scenes.empty());
    EXPECT_EQ(scenes.front().scene, SCENE_TITLE);
    const std::size_t newStory = Find(scenes, 0, [](const test::SceneVisit& v) {
        return v.scene == SCENE_WORLD_MAP && v.playMode == PLAYMODE_NEW_GAME;
    });
    const std::size_t saved = Find(scenes, newStory, [](const test::SceneVisit& v) {
        return v.scene == SCENE_SAVE_MENU && v.storyCleared == 1;
    });
    const std::size_t continued = Find(scenes, saved, [](const test::SceneVisit& v) {
        return v.scene == SCENE_WORLD_MAP && v.playMode == PLAYMODE_CONTINUE;
    });
    const std::size_t challenges = Find(
        scenes, continued, [](const test::SceneVisit& v) { return v.scene == SCENE_CHALLENGE; });
    ASSERT_LT(newStory, scenes.size()) << "a new story was never begun. " << kRecordAgain;
    ASSERT_LT(saved, scenes.size())
        << "the story was not saved after its first stage. " << kRecordAgain;
    ASSERT_LT(continued, scenes.size()) << "the story was not continued. " << kRecordAgain;
    EXPECT_EQ(scenes[continued].storyCleared, 1) << "the continue read the first save";
    ASSERT_LT(challenges, scenes.size()) << "the challenges were never chosen. " << kRecordAgain;
    EXPECT_EQ(scenes.back().scene, SCENE_TITLE);

    // The story slot: every stage of the map cleared, each with its best
    // score, their sum the total.
    cSaveData story;
    ASSERT_EQ(story.LoadStorySlot(0), 1) << "the story slot was not written";
    EXPECT_EQ(story.nSlot, 0);
    g_Progress = story;
    std::int32_t sum = 0;
    ASSERT_EQ(g_WorldMap.m_Events.size(), 3u);
    for (const cEdWorldEvent& event : g_WorldMap.m_Events) {
        const cEdWorldEventItem* entry = SelectItem(&event);
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(IsCleared(*entry)) << entry->m_StageFile << " is not cleared. " << kRecordAgain;
        cSaveData named;
        named.SetStageName(entry->m_StageFile.c_str());
        const std::int32_t best = story.GetBestScore(named.strStage);
        EXPECT_GT(best, 0) << entry->m_StageFile;
        sum += best;
        ExpectRanked(PLAYKIND_STORY, named.strStage, best);
    }
    EXPECT_EQ(story.nTotalScore, sum);
    EXPECT_GE(story.nScore, story.GetBestScore("Stage3"));

    // Challenge.dat: both challenges cleared and opened, their best scores
    // summed into the total.
    cSaveData challenge;
    ASSERT_EQ(challenge.LoadChallengeData(), 1) << "Challenge.dat was not written";
    ASSERT_EQ(g_System.nChallengeStages, 2);
    ASSERT_EQ(challenge.vChallenge.size(), 2u);
    EXPECT_EQ(challenge.nChallengeOpen, 2);
    std::int32_t challengeSum = 0;
    for (int n = 0; n < 2; ++n) {
        const cEdIntPair& entry = challenge.vChallenge[static_cast<std::size_t>(n)];
        EXPECT_EQ(entry.bCleared, 1) << "challenge " << n + 1 << ". " << kRecordAgain;
        EXPECT_GT(entry.nBest, 0) << "challenge " << n + 1;
        challengeSum += entry.nBest;
        cSaveData named;
        named.SetStageName(ChallengeStageFile(n + 1).c_str());
        ExpectRanked(PLAYKIND_CHALLENGE, named.strStage, entry.nBest);
    }
    EXPECT_EQ(challenge.nTotalScore, challengeSum);
}

// A session file that is damaged is said, and nothing is played.
TEST_F(Playthrough, ADamagedSessionIsSaidAndNotPlayed)
{
    LoadAuthorsData();
    std::string text = "input-session 1\npolls 2 clocks 0 names 0 check 0000000000000000\n"
                       "p 2 0 5 1 0\nend\n";
    const fs::path file = dir_.path() / "damaged.session";
    {
        std::FILE* out = std::fopen(file.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
    }
    const test::SessionPlayback back = test::PlayBackSession(file.string());
    EXPECT_NE(back.error.find("damaged.session"), std::string::npos) << back.error;
    EXPECT_NE(back.error.find("check"), std::string::npos) << back.error;
    EXPECT_EQ(back.frames, 0);

    const test::SessionPlayback missing = test::PlayBackSession((dir_.path() / "none").string());
    EXPECT_NE(missing.error.find("cannot be read"), std::string::npos) << missing.error;
}

} // namespace
