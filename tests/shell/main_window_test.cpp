// The main window's close request: the workers are stopped in order and
// the window goes, which ends the main loop; during a pause only the pause
// ends and the window stays for a later close.
#include "core/checked_access.h"
#include "core/report.h"
#include "core/thread.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"
#include "shell/app_state.h"
#include "shell/main_window.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::atomic<int> g_ended{0};

unsigned ReadQueueUntilQuit(void*)
{
    plat::Message m;
    while (plat::getMessage(m)) {
    }
    ++g_ended;
    return 1;
}

// A frame loop whose first frame reads past the end of a vector.
unsigned FailingGameLoop(void*)
{
    std::vector<int> three{1, 2, 3};
    VecAt(three, -1);
    return ReadQueueUntilQuit(nullptr);
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::setMainThread();
        wnd_ = plat::createWindow(MainWndProc);
        g_hMainWnd = wnd_;
        g_Initialised = 1; // the game runs
        g_CloseAtStartUp = 0;
    }
    void TearDown() override
    {
        thGame.Exit();
        thPause.Exit();
        thRanking.Exit();
        thLoad.Exit();
        if (plat::isWindow(wnd_)) plat::destroyWindow(wnd_);
        g_hMainWnd = 0;
        g_Initialised = 0;
        g_CloseAtStartUp = 0;
        drain();
    }

    // The main loop: dispatches until WM_QUIT; returns the messages seen.
    std::vector<std::uint32_t> runMainLoop()
    {
        std::vector<std::uint32_t> seen;
        plat::Message m;
        while (plat::getMessage(m)) {
            seen.push_back(m.msg);
            plat::dispatchMessage(m);
        }
        seen.push_back(m.msg);
        return seen;
    }

    std::vector<plat::Message> drain()
    {
        std::vector<plat::Message> seen;
        plat::Message m;
        while (plat::peekMessage(m))
            seen.push_back(m);
        return seen;
    }

    plat::WindowId wnd_ = 0;
};

TEST_F(MainWindow, CloseStopsEveryWorkerAndDestroysTheWindowWhichEndsTheMainLoop)
{
    const int before = g_ended;
    ASSERT_EQ(thGame.Start(ReadQueueUntilQuit, nullptr), 1);
    ASSERT_EQ(thRanking.Start(ReadQueueUntilQuit, nullptr), 1);
    ASSERT_EQ(thLoad.Start(ReadQueueUntilQuit, nullptr), 1);
    ASSERT_TRUE(plat::postMessage(wnd_, WM_CLOSE, 0, 0));
    const auto seen = runMainLoop();
    EXPECT_EQ(seen, (std::vector<std::uint32_t>{WM_CLOSE, WM_QUIT}));
    EXPECT_EQ(g_ended.load(), before + 3);
    for (cThread* t : {&thGame, &thPause, &thRanking, &thLoad})
        EXPECT_EQ(t->m_hThread.load(), nullptr);
    EXPECT_FALSE(plat::isWindow(wnd_));
    EXPECT_EQ(g_hMainWnd.load(), 0u);
    EXPECT_EQ(g_MainWindow.m_hWnd.load(), 0u);
}

TEST_F(MainWindow, CloseDuringAPauseEndsOnlyThePauseAndALaterCloseClosesTheWindow)
{
    const int before = g_ended;
    ASSERT_EQ(thGame.Start(ReadQueueUntilQuit, nullptr), 1);
    ASSERT_EQ(thPause.Start(ReadQueueUntilQuit, nullptr), 1);
    plat::sendMessage(wnd_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(plat::isWindow(wnd_));
    thPause.Wait(); // the game thread waits for its pause to end
    EXPECT_EQ(g_ended.load(), before + 1);
    EXPECT_NE(thGame.m_hThread.load(), nullptr);

    ASSERT_TRUE(plat::postMessage(wnd_, WM_CLOSE, 0, 0));
    runMainLoop();
    EXPECT_EQ(g_ended.load(), before + 2);
    EXPECT_FALSE(plat::isWindow(wnd_));
}

TEST_F(MainWindow, ACloseWhileTheGameIsBeingReadWaitsForTheStartUpToEnd)
{
    g_Initialised = 0;
    plat::sendMessage(wnd_, WM_CLOSE, 0, 0);
    EXPECT_TRUE(plat::isWindow(wnd_));
    EXPECT_EQ(g_CloseAtStartUp.load(), 1);
    EXPECT_TRUE(drain().empty());
}

TEST_F(MainWindow, EscapeAsksTheWindowToClose)
{
    plat::sendMessage(wnd_, WM_KEYDOWN, 0x1B, 0);
    plat::sendMessage(wnd_, WM_KEYDOWN, 0x20, 0);
    const auto posted = drain();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].msg, WM_CLOSE);
    EXPECT_EQ(posted[0].wnd, wnd_);
}

TEST_F(MainWindow, ABadIndexOnTheGameThreadEndsTheProgramInOrder)
{
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.path());
    ASSERT_EQ(ReportCreate("Report_Game.txt"), 1);
    const int before = g_ended;
    ASSERT_EQ(thGame.Start(FailingGameLoop, nullptr), 1);
    const auto seen = runMainLoop();
    EXPECT_EQ(seen.front(), WM_CLOSE);
    EXPECT_EQ(g_ended.load(), before + 1);
    EXPECT_EQ(thGame.m_hThread.load(), nullptr);
    EXPECT_FALSE(plat::isWindow(wnd_));
    EXPECT_EQ(dir.read("Report_Game.txt"), "err V[-1] ( 3 , 4 )\n");
}

} // namespace
