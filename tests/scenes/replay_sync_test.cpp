// Replays of the bundled game recorded by the play scene itself and saved
// as the main window saves them, then read back and played as the title's
// replay item plays them: they reach the recorded state at every
// checkpoint, on a first attempt, on a retry (also with counted lives), on
// a pause, at each speed level the game's stages use, on the next stage of
// a chain, and through their restarts; a replay that leaves its recorded
// states is reported once and plays on.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/path.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/path_table.h"
#include "data/replay_log.h"
#include "data/replay_sync.h"
#include "data/stage_load.h"
#include "platform/input.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "support/demo_bot.h"
#include "support/headless_game.h"
#include "tools/default_game_fixture.h"
#include "world/input_state.h"

namespace {

using test::HeadlessGame;

// Which log a save takes: F1 the current attempt's, F2 the previous one's.
enum class Save { kCurrent, kPrevious };

class ReplaySync : public test::DefaultGame {
protected:
    void SetUp() override
    {
        test::DefaultGame::SetUp();
        std::filesystem::create_directories(dir_ / "user_data" / "rpl4");
    }

    // Frames of play until the condition holds; false after `limit` frames.
    static bool PlayUntil(HeadlessGame& game, const std::function<InputFrame(int)>& input,
                          const std::function<bool(const cGamePlay&)>& done, int limit)
    {
        for (int i = 0; i < limit; ++i) {
            const cGamePlay* play = game.Play();
            if (play && done(*play)) return true;
            game.Frame(input(i));
        }
        return false;
    }

    // Walks right, jumping now and then, from the play's first frame.
    static InputFrame Walk(int frame)
    {
        const bool jump = frame % 50 >= 30 && frame % 50 < 42;
        return {kDirRight, static_cast<std::uint16_t>((jump ? 1 : 0) | (frame % 16 == 0 ? 2 : 0))};
    }

    // Plays the attempt on for `frames` frames of play with Walk's input.
    static void PlayFrames(HeadlessGame& game, int frames)
    {
        int played = 0;
        ASSERT_TRUE(PlayUntil(
            game, [&played](int) { return Walk(played); },
            [&played, frames](const cGamePlay& play) {
                if (play.m_Phase == PHASE_PLAY) ++played;
                return played > frames;
            },
            frames + 400));
    }

    // Loses the attempt: right until the hero has fallen into the first
    // pit, "リトライ" when the continue menu asks, until the next attempt
    // has been set up.
    static void LoseAttempt(HeadlessGame& game)
    {
        const int before = game.Play()->m_SetStageCount;
        ASSERT_TRUE(PlayUntil(
            game,
            [&game](int frame) {
                if (game.Play()->m_Phase != PHASE_CONTINUE) return InputFrame{kDirRight, 0};
                return InputFrame{0, static_cast<std::uint16_t>(frame % 2)};
            },
            [before](const cGamePlay& play) { return play.m_SetStageCount > before; }, 3000));
    }

    // Saves a log as the main window does on F1 or F2.
    static std::string SaveLog(Save which, const std::string& name)
    {
        const std::string path = "user_data\\rpl4\\" + name + ".rpl4_511";
        cReplayLog& log = which == Save::kCurrent ? g_ReplayLog : g_ReplayLog2;
        cSaveData& progress = which == Save::kCurrent ? g_ProgressAtStart : g_ProgressAtStart2;
        EXPECT_EQ(log.SaveReplay(path.c_str(), g_Stage, g_StageAtStart, progress), 1);
        return path;
    }

    static void ExpectInSync(const std::string& path)
    {
        const test::ReplayPlayback back = test::PlayBackReplay(path, 1, 6000);
        ASSERT_TRUE(back.read) << path;
        EXPECT_EQ(back.outOfSyncAt, 0) << path;
        EXPECT_EQ(back.completed, 1) << path;
        EXPECT_EQ(back.matched, back.checkpoints) << path;
        EXPECT_EQ(back.closeRequests, 0) << path;
    }
};

TEST_F(ReplaySync, AReplayReachesTheRecordedStatesAtEveryCheckpoint)
{
    LoadAuthorsData();
    const std::string stage = StageNames().front();
    struct Case {
        const char* name;
        int kind;
        bool retry; // a first attempt lost before the recorded one
        bool pause; // the recorded attempt paused for a while
        Save save;
    };
    const Case cases[] = {
        {"first attempt", PLAYKIND_FREE, false, false, Save::kCurrent},
        {"retry", PLAYKIND_FREE, true, false, Save::kCurrent},
        {"retry with lives", PLAYKIND_STORY, true, false, Save::kCurrent},
        {"lost attempt", PLAYKIND_STORY, true, false, Save::kPrevious},
        {"paused", PLAYKIND_CHALLENGE, false, true, Save::kCurrent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path;
        std::int64_t frames = 0;
        {
            HeadlessGame game;
            ASSERT_TRUE(game.Error().empty()) << game.Error();
            ASSERT_TRUE(game.StartStage(stage, c.kind));
            game.Frame();
            if (c.retry) LoseAttempt(game);
            if (c.save == Save::kCurrent) {
                PlayFrames(game, 150);
                if (c.pause) {
                    game.m_Services.m_KeysDown = {plat::VK_SPACE};
                    game.Frame();
                    game.m_Services.m_KeysDown.clear();
                    for (int i = 0; i < 30; ++i)
                        game.Frame();
                    ASSERT_EQ(game.Play()->m_Phase, PHASE_PAUSE);
                    game.Frame({0, 1}); // "つづける"
                    ASSERT_EQ(game.Play()->m_Phase, PHASE_PLAY);
                }
                PlayFrames(game, 100);
            }
            const cReplayLog& log = c.save == Save::kCurrent ? g_ReplayLog : g_ReplayLog2;
            frames = log.FrameCount();
            ASSERT_GT(frames, 60);
            if (c.kind == PLAYKIND_STORY) {
                // A life for the first attempt, and one more for the retry.
                const cSaveData& progress =
                    c.save == Save::kCurrent ? g_ProgressAtStart : g_ProgressAtStart2;
                const int spent = c.retry && c.save == Save::kCurrent ? 2 : 1;
                EXPECT_EQ(progress.nLives, g_System.vInitialLives[PLAYKIND_STORY] - spent);
            }
            path = SaveLog(c.save, "Case");
        }
        ExpectInSync(path);
    }
}

TEST_F(ReplaySync, AReplayAtEachSpeedLevelOfTheGamesStagesReproduces)
{
    LoadAuthorsData();
    // The first stage of each speed level the game's stages use.
    std::map<int, std::string> byLevel;
    for (const std::string& name : StageNames()) {
        std::string file;
        FindNewestNumbered(file, name, g_ExtTable[EXT_STAGE]);
        cEdStage stage;
        ASSERT_EQ(LoadFile(stage, file), 1) << file;
        byLevel.emplace(stage.nSpeedLevel, name);
    }
    ASSERT_FALSE(byLevel.empty());
    for (const auto& [level, name] : byLevel) {
        SCOPED_TRACE(name);
        std::string path;
        {
            HeadlessGame game;
            ASSERT_TRUE(game.StartStage(name, PLAYKIND_FREE));
            game.Frame();
            PlayFrames(game, 400);
            EXPECT_EQ(g_Stage.nSpeedLevel, level);
            path = SaveLog(Save::kCurrent, "Level" + std::to_string(level));
        }
        ExpectInSync(path);
    }
}

// The first challenge is a chain of two stages: the second starts with the
// lives and the score the first left, and its clear gives the extra life
// that the score then reaches. Its replay plays from that progress.
TEST_F(ReplaySync, AReplayRecordedOnTheNextStageOfAChainReproduces)
{
    LoadAuthorsData();
    std::string path;
    {
        HeadlessGame game;
        ASSERT_TRUE(game.StartStage("data\\stg4\\c01-1.stg4", PLAYKIND_STORY));
        game.Frame();
        test::DemoBot bot;
        // The player clears each stage and goes on from its results.
        auto play = [&bot, &game](int frame) {
            cGamePlay& scene = *game.Play();
            InputFrame keys = bot.Decide(scene);
            if (scene.m_Phase == PHASE_CLEAR) keys.m_Buttons = frame % 2;
            return keys;
        };
        ASSERT_TRUE(PlayUntil(
            game, play,
            [](const cGamePlay& scene) {
                return g_Progress.nChainNo == 2 && scene.m_Phase == PHASE_CLEAR;
            },
            4000))
            << "the demo player clears both stages of the chain";
        EXPECT_NE(g_Stage.strFileName.find("c01-2"), std::string::npos);
        EXPECT_GT(g_ProgressAtStart.nScore, 0) << "the first stage's score carried on";
        EXPECT_GT(g_Progress.nLives, g_ProgressAtStart.nLives) << "an extra life at the clear";
        path = SaveLog(Save::kCurrent, "Chain");
    }
    ExpectInSync(path);
}

TEST_F(ReplaySync, AReplayReadFromItsFileRestartsAgainAndAgainWithoutClosing)
{
    LoadAuthorsData();
    std::string path;
    {
        HeadlessGame game;
        ASSERT_TRUE(game.StartStage(StageNames().front(), PLAYKIND_FREE));
        game.Frame();
        PlayFrames(game, 90);
        path = SaveLog(Save::kCurrent, "Restart");
    }
    // Each run ends with the log and starts over from the file: the third
    // run needs the file's path after two restarts.
    const test::ReplayPlayback back = test::PlayBackReplay(path, 3, 6000);
    EXPECT_EQ(back.completed, 3);
    EXPECT_EQ(back.outOfSyncAt, 0);
    EXPECT_EQ(back.matched, 3 * back.checkpoints);
    EXPECT_EQ(back.setUps, 3) << "the first start and two restarts";
    EXPECT_EQ(back.closeRequests, 0);
    EXPECT_EQ(g_Stage.strFileName, path);
}

TEST_F(ReplaySync, AReplayThatLeavesItsRecordedStatesIsReportedOnceAndPlaysOn)
{
    LoadAuthorsData();
    std::string path;
    std::int64_t frames = 0;
    {
        HeadlessGame game;
        ASSERT_TRUE(game.StartStage(StageNames().front(), PLAYKIND_FREE));
        game.Frame();
        PlayFrames(game, 200);
        frames = g_ReplayLog.FrameCount();
        path = SaveLog(Save::kCurrent, "Tampered");
    }
    ASSERT_GT(frames, 130);
    const std::string syncFile = "user_data/rpl4/Tampered.sync";
    const std::string text = dir_.read(syncFile);
    struct Case {
        const char* name;
        std::string sync;     // the summary beside the replay; empty: none
        std::int64_t outAt;   // the frame reported out of sync (0: none)
        const char* reported; // the start of the report's line (empty: no line)
    };
    std::string changed = text;
    const std::size_t at = changed.find("\n120 ");
    ASSERT_NE(at, std::string::npos);
    changed[at + 5] = changed[at + 5] == '0' ? '1' : '0';
    std::string foreign = text;
    foreign.replace(foreign.find("seed "), 5, "seed 1");
    const Case cases[] = {
        {"in sync", text, 0, ""},
        {"changed", changed, 120,
         "replay user_data\\rpl4\\Tampered.rpl4_511 is out of sync: "
         "it left the recorded states at frame 120"},
        {"damaged", text.substr(0, text.size() / 2) + "x", 0,
         "a damaged state summary beside user_data\\rpl4\\Tampered.rpl4_511"},
        {"foreign", foreign, 0, "the state summary of another replay beside"},
        {"missing", "", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir_ / syncFile);
        if (!c.sync.empty()) dir_.write(syncFile, c.sync);
        const std::size_t linesBefore = reportLines().size();
        HeadlessGame game;
        ASSERT_TRUE(game.StartReplay(path));
        // Two runs of the replay: it plays on to its end and starts over.
        int setUps = 0;
        for (int i = 0; i < 2 * (frames + 300) && setUps < 3; ++i) {
            game.Frame();
            setUps = game.Play() ? game.Play()->m_SetStageCount : 0;
        }
        EXPECT_EQ(setUps, 3);
        EXPECT_EQ(game.m_Services.m_CloseRequests, 0);
        EXPECT_EQ(game.Play()->m_ReplayCheck.m_OutOfSyncAt, c.outAt);
        // The report's new lines about the replay.
        const auto lines = reportLines();
        std::vector<std::string> added;
        std::copy_if(lines.begin() + static_cast<long>(linesBefore), lines.end(),
                     std::back_inserter(added), [](const std::string& line) {
                         return line.find("Tampered.rpl4_511") != std::string::npos;
                     });
        if (*c.reported == '\0') {
            EXPECT_TRUE(added.empty()) << (added.empty() ? "" : added.front());
        } else {
            ASSERT_EQ(added.size(), 1u) << "once, however often the replay starts over";
            EXPECT_TRUE(added.front().starts_with(c.reported)) << added.front();
        }
    }
}

} // namespace
