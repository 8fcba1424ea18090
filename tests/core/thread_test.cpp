// cThread: started threads get their queue at once; Exit asks them to quit
// and waits, and even a thread that never reads its queue ends.
#include "core/thread.h"
#include "platform/clock.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

std::atomic<int> g_loopEnded{0};
std::atomic<int> g_wakes{0};

// A worker that reads its queue until WM_QUIT, as the game thread does.
unsigned MessageLoop(void*)
{
    plat::Message m;
    while (plat::getMessage(m)) {
        if (m.msg == UM_WAKE) ++g_wakes;
    }
    ++g_loopEnded;
    return 1;
}

// A worker that never reads its queue: it polls a flag that nobody sets.
unsigned PollForever(void* flag)
{
    auto* never = static_cast<std::atomic<bool>*>(flag);
    while (!*never)
        plat::sleepMs(1);
    return 1;
}

// A worker that keeps asking the main window for sounds.
unsigned SendForever(void* window)
{
    const auto wnd = *static_cast<plat::WindowId*>(window);
    for (;;) {
        plat::sendMessage(wnd, WM_USER + 5, 1, 0);
        plat::sleepMs(1);
    }
}

TEST(CThread, ExitWithoutAThreadReturnsAtOnceAndSuspendResumeAreTrue)
{
    cThread t;
    t.Exit();
    EXPECT_EQ(t.m_hThread.load(), nullptr);
    EXPECT_TRUE(t.Suspend());
    EXPECT_TRUE(t.Resume());
}

TEST(CThread, ExitEndsAThreadThatReadsItsQueueAndClearsTheHandle)
{
    cThread t;
    const int ended = g_loopEnded;
    const int wakes = g_wakes;
    ASSERT_EQ(t.Start(MessageLoop, nullptr), 1);
    ASSERT_NE(t.m_hThread.load(), nullptr);
    EXPECT_NE(t.m_dwThreadId.load(), 0u);
    // The queue exists as soon as Start returns: the wake post succeeds.
    EXPECT_TRUE(plat::postThreadMessage(t.m_dwThreadId, UM_WAKE, 0, 0));
    EXPECT_TRUE(t.Suspend());
    EXPECT_TRUE(t.Resume());
    t.Exit();
    EXPECT_EQ(t.m_hThread.load(), nullptr);
    EXPECT_EQ(g_loopEnded.load(), ended + 1);
    EXPECT_EQ(g_wakes.load(), wakes + 1);
}

TEST(CThread, ExitEndsAThreadThatNeverReadsItsQueue)
{
    cThread t;
    std::atomic<bool> never{false};
    ASSERT_EQ(t.Start(PollForever, &never), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    t.Exit(); // asked to quit, it ends at its next sleep
    EXPECT_EQ(t.m_hThread.load(), nullptr);
}

TEST(CThread, WaitJoinsAThreadThatEndedByItselfAndItCanBeStartedAgain)
{
    cThread t;
    const int ended = g_loopEnded;
    ASSERT_EQ(t.Start(MessageLoop, nullptr), 1);
    const auto first = t.m_dwThreadId.load();
    EXPECT_EQ(t.Start(MessageLoop, nullptr), 0); // still running
    plat::postThreadMessage(first, WM_QUIT, 0, 0);
    t.Wait();
    EXPECT_EQ(t.m_hThread.load(), nullptr);
    EXPECT_EQ(g_loopEnded.load(), ended + 1);
    ASSERT_EQ(t.Start(MessageLoop, nullptr), 1);
    EXPECT_NE(t.m_dwThreadId.load(), first);
    t.Exit();
}

TEST(CThread, ExitOnTheMainThreadEndsAThreadWaitingInARequestToIt)
{
    // At shutdown the main thread stops the game thread while that one may
    // be waiting in a request to the main window.
    plat::setMainThread();
    std::atomic<int> served{0};
    plat::WindowId wnd = plat::createWindow(
        [&](plat::WindowId, std::uint32_t msg, std::uintptr_t, std::intptr_t) -> std::intptr_t {
            if (msg == WM_USER + 5) ++served;
            return 0;
        });
    cThread game;
    ASSERT_EQ(game.Start(SendForever, &wnd), 1);
    // Serve a few requests, then stop pumping while the game thread waits
    // in its next one.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (served < 3 && std::chrono::steady_clock::now() < limit) {
        plat::Message m;
        while (plat::peekMessage(m))
            plat::dispatchMessage(m);
    }
    EXPECT_GE(served.load(), 3);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    game.Exit();
    EXPECT_EQ(game.m_hThread.load(), nullptr);
    plat::destroyWindow(wnd);
}

} // namespace
