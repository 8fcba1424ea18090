// The ranking thread holds the frame loop while the rankings show: it
// starts on a kind the play shows, button 4 steps through the shown kinds
// (when there are two or more) with its sound, button 1 ends it with the
// confirm sound, WM_QUIT without one; the board is drawn over the play
// screen on every frame.

#include <gtest/gtest.h>

#include "core/thread.h"
#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "play_fixture.h"
#include "scripted_frame_host.h"

namespace {

using test::cScopedFrameHost;
using test::cScriptedFrameHost;

class RankingThread : public test::PlayFixture {
protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        Begin(test::FloorStage());
        savedBoard = g_DrawRankingBoard;
        g_DrawRankingBoard = [this](cGamePlay& drawn) {
            EXPECT_EQ(&drawn, scene.get());
            boardKinds.push_back(g_Progress.nRankKind);
        };
    }
    void TearDown() override
    {
        g_DrawRankingBoard = savedBoard;
        PlayFixture::TearDown();
    }
    // The play kind's rankings show these kinds.
    static void ShowKinds(std::vector<std::uint8_t> kinds)
    {
        cEdModeFlags& flags = g_System.vModeFlags[PLAYKIND_FREE];
        flags.bRanking = 1;
        flags.vRankKinds = std::move(kinds);
    }

    std::vector<int> boardKinds;
    std::function<void(cGamePlay&)> savedBoard;
};

TEST_F(RankingThread, ButtonFourStepsThroughTheShownKindsAndButtonOneEnds)
{
    ShowKinds({0, 1, 0, 1, 0});
    g_Progress.nRankKind = 0;
    cScriptedFrameHost host(
        cInputScript().Hold(0, 0, 1).Hold(0, 8, 1).Hold(0, 0, 1).Hold(0, 8, 2).Hold(0, 0, 1).Hold(
            0, 1, 1),
        60);
    cScopedFrameHost scoped(host);
    EXPECT_EQ(RankingThreadMain(scene.get()), 1);
    EXPECT_FALSE(host.capped);
    // Started on a shown kind; a held button steps once.
    EXPECT_EQ(boardKinds, (std::vector<int>{1, 3, 3, 1, 1, 1}));
    EXPECT_EQ(services.m_Sounds, (std::vector<std::uint32_t>{6, 6, 1}));
    EXPECT_EQ(host.presents, 6);
}

TEST_F(RankingThread, WithOneShownKindButtonFourDoesNothing)
{
    ShowKinds({0, 0, 1, 0, 0});
    cScriptedFrameHost host(cInputScript().Hold(0, 8, 1).Hold(0, 0, 1).Hold(0, 1, 1), 60);
    cScopedFrameHost scoped(host);
    RankingThreadMain(scene.get());
    EXPECT_EQ(boardKinds, (std::vector<int>{2, 2}));
    EXPECT_EQ(services.m_Sounds, std::vector<std::uint32_t>{1});
}

TEST_F(RankingThread, QuitEndsItWithoutASound)
{
    ShowKinds({1, 1, 1, 1, 1});
    cScriptedFrameHost host(cInputScript(), 100000);
    host.onPoll = [&host](int frame) {
        if (frame == 4) host.quitPosted = 1;
    };
    cScopedFrameHost scoped(host);
    EXPECT_EQ(RankingThreadMain(scene.get()), 1);
    EXPECT_FALSE(host.capped);
    EXPECT_EQ(host.frames, 4);
    EXPECT_TRUE(services.m_Sounds.empty());
}

TEST_F(RankingThread, TheLiveDisplayRunsOnTheRankingThread)
{
    ShowKinds({1, 0, 0, 0, 0});
    cScriptedFrameHost host(cInputScript().Hold(0, 0, 3).Hold(0, 1, 1), 60);
    std::atomic<plat::ThreadId> ranOn{0};
    host.onPoll = [&](int) { ranOn = plat::currentThreadId(); };
    cScopedFrameHost scoped(host);
    RunRankingThread();
    EXPECT_FALSE(host.capped);
    EXPECT_EQ(host.frames, 4);
    EXPECT_NE(ranOn.load(), plat::currentThreadId());
    EXPECT_EQ(thRanking.m_hThread.load(), nullptr);
}

} // namespace
