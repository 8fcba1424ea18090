// The whole program with a play that stops for a button: the pause thread
// holds the frame loop while the game thread waits, and closing the window
// then stops the pause first and ends the program promptly.

#include "core/thread.h"
#include "platform/message_box.h"
#include "scenes/game_play.h"
#include "scenes/scene_mgr.h"
#include "scenes/scene_table.h"
#include "support/played_game.h"
#include "world/world_services.h"

#include "running_game.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Generous for the sanitized build on a busy machine; a hang would be far
// beyond it.
constexpr long kCloseBoundMs = 2000;

std::atomic<int> g_PausesStarted{0};
std::atomic<int> g_PausesEnded{0};

// A play whose every frame is a message waiting for a button, until the
// close stops it.
class PausingPlay : public cGamePlay {
public:
    void Run() override
    {
        if (m_StopFlag) return;
        m_PauseWait = PauseWait();
        m_PauseWait.m_Kind = 1;
        m_PauseWait.m_WaitButton = 1;
        ++g_PausesStarted;
        WorldServices().RunPauseWait();
        ++g_PausesEnded;
    }
};

class PauseClose : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::setMessageBoxResponder([](const plat::BoxRequest&) { return IDYES; });
        g_PausesStarted = 0;
        g_PausesEnded = 0;
    }
    void TearDown() override { plat::setMessageBoxResponder(nullptr); }

    test::PlayedGame game{[] { return std::unique_ptr<cScene>(new PausingPlay); }};
};

TEST_F(PauseClose, ClosingWhilePausedStopsThePauseAndEndsTheProgram)
{
    bool paused = false;
    const auto run = test::RunGame({"data\\stg4\\Stage1.stg4"}, [&] {
        paused = test::WaitFor([] { return g_PausesStarted > 0 && thPause.m_hThread != nullptr; });
    });
    EXPECT_TRUE(run.ran);
    EXPECT_TRUE(paused) << "the pause thread held the frame loop";
    EXPECT_EQ(run.status, 0);
    EXPECT_LT(run.closeToEndMs, kCloseBoundMs);
    EXPECT_EQ(g_PausesEnded.load(), g_PausesStarted.load()) << "the game thread went on after it";
    EXPECT_EQ(thPause.m_hThread.load(), nullptr);
}

} // namespace
