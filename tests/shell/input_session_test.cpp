// A session of the whole program recorded with RT_RECORD_INPUT and played
// back with RT_PLAY_INPUT: the recording holds the keys the game read and
// the clock that seeded the stage, and played back it moves the player
// without a key pressed, from the same seed; a damaged file is said at
// start-up and nothing is played.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "data/input_session_log.h"
#include "platform/message_box.h"
#include "scenes/game_play.h"
#include "shell/running_game.h"
#include "support/played_game.h"
#include "support/scoped_env.h"

namespace {

constexpr double kStride = 16;
// The stage is loaded and started by a sanitized build on a busy machine.
constexpr int kStartSeconds = 60;

std::atomic<double> g_PlayerX{0};
std::atomic<int> g_PlayFrames{0};
std::atomic<std::int32_t> g_Seed{0};

class WatchedPlay : public cGamePlay {
public:
    void Run() override
    {
        cGamePlay::Run();
        if (m_Phase != PHASE_PLAY || Player.empty()) return;
        g_PlayerX = Player[P1].m_X;
        g_Seed = m_RandomSeed;
        ++g_PlayFrames;
    }
};

class InputSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r.textUtf8());
            return IDOK;
        });
        g_PlayFrames = 0;
        g_PlayerX = 0;
    }
    void TearDown() override { plat::setMessageBoxResponder(nullptr); }

    std::string Read(const std::string& name)
    {
        std::ifstream file(game.dir / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    test::PlayedGame game{[] { return std::unique_ptr<cScene>(new WatchedPlay); }};
    std::vector<std::string> boxes;
};

TEST_F(InputSession, ARecordedSessionPlaysBackWithoutAKeyFromTheSameSeed)
{
    const std::string file = (game.dir / "walk.session").string();
    double start = 0, walked = 0;
    std::int32_t recordedSeed = 0;
    {
        test::ScopedEnv record("RT_RECORD_INPUT", file);
        const auto run = test::RunGame({"data\\stg4\\Stage1.stg4"}, [&] {
            ASSERT_TRUE(test::WaitFor([] { return g_PlayFrames > 10; }, kStartSeconds));
            start = g_PlayerX;
            plat::pushKeyEvent(SDL_SCANCODE_RIGHT, true);
            test::WaitFor([&] { return g_PlayerX - start >= kStride; }, 10);
            plat::pushKeyEvent(SDL_SCANCODE_RIGHT, false);
            walked = g_PlayerX;
            recordedSeed = g_Seed;
        });
        EXPECT_EQ(run.status, 0);
        ASSERT_TRUE(run.ran);
    }
    ASSERT_GE(walked - start, kStride);
    std::string error;
    const auto log = cInputSessionLog::FromText(Read("walk.session"), error);
    ASSERT_TRUE(log) << error;
    EXPECT_TRUE(std::any_of(log->m_Polls.begin(), log->m_Polls.end(),
                            [](const SessionPoll& p) { return p.m_Dir == 2 && p.m_DirCode == 6; }));
    ASSERT_EQ(log->m_Clocks.size(), 1u) << "the stage's start read the clock once";
    EXPECT_EQ(static_cast<std::int32_t>(log->m_Clocks[0]), recordedSeed);

    // Played back, nothing is pressed, yet the player walks the same way.
    g_PlayFrames = 0;
    g_PlayerX = 0;
    double replayed = 0;
    std::int32_t replayedSeed = 0;
    {
        test::ScopedEnv play("RT_PLAY_INPUT", file);
        const auto run = test::RunGame({"data\\stg4\\Stage1.stg4"}, [&] {
            ASSERT_TRUE(test::WaitFor([] { return g_PlayFrames > 10; }, kStartSeconds));
            test::WaitFor([&] { return g_PlayerX - start >= kStride; }, 20);
            replayed = g_PlayerX;
            replayedSeed = g_Seed;
        });
        EXPECT_EQ(run.status, 0);
    }
    EXPECT_GE(replayed - start, kStride);
    EXPECT_EQ(replayedSeed, recordedSeed);
    EXPECT_TRUE(boxes.empty());
}

// A session that cannot be played back, or recorded where it is asked to
// be, is said at start-up, and the program ends without playing.
TEST_F(InputSession, ADamagedSessionOrAnUnwritableOneIsSaidAtStartUp)
{
    game.dir.write("damaged.session", "input-session 1\npolls 5 clocks 0 names 0\nend\n");
    struct Case {
        const char* variable;
        std::string file;
        const char* said; // a part of the box
    };
    const Case cases[] = {
        {"RT_PLAY_INPUT", (game.dir / "damaged.session").string(), "line 2"},
        {"RT_PLAY_INPUT", (game.dir / "none.session").string(), "cannot be read"},
        {"RT_RECORD_INPUT", (game.dir / "no-folder" / "new.session").string(), "cannot be written"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        boxes.clear();
        test::ScopedEnv variable(c.variable, c.file);
        const auto run = test::RunGame({"data\\stg4\\Stage1.stg4"});
        EXPECT_EQ(run.status, kExitStartUpFailed);
        EXPECT_FALSE(run.ran);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].find(c.file), std::string::npos) << boxes[0];
        EXPECT_NE(boxes[0].find(c.said), std::string::npos) << boxes[0];
    }
}

} // namespace
