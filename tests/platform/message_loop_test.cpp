// Posts, sends, windows and the main thread's services.
#include "platform/message_loop.h"
#include "platform/thread.h"
#include "platform/thread_queue.h"
#include "platform/window_messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Drains the calling thread's queue, dispatching every message.
std::vector<plat::Message> drain()
{
    std::vector<plat::Message> seen;
    plat::Message message;
    while (plat::peekMessage(message)) {
        seen.push_back(message);
        plat::dispatchMessage(message);
    }
    return seen;
}

// Pumps the calling thread until the predicate holds (or a generous limit).
template <class Pred> bool pumpUntil(Pred done)
{
    const auto limit = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        drain();
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

struct Recorder {
    std::vector<std::uint32_t> messages;
    std::vector<std::thread::id> threads;
    plat::WndProc proc()
    {
        return [this](plat::WindowId, std::uint32_t msg, std::uintptr_t w, std::intptr_t) {
            messages.push_back(msg);
            threads.push_back(std::this_thread::get_id());
            return static_cast<std::intptr_t>(msg == WM_USER ? w * 2 : 0);
        };
    }
};

TEST(WindowMessages, PostsGoToTheOwnersQueueInOrderAndDispatchToItsProcedure)
{
    Recorder rec;
    const auto wnd = plat::createWindow(rec.proc());
    ASSERT_TRUE(plat::isWindow(wnd));
    EXPECT_EQ(rec.messages, std::vector<std::uint32_t>{WM_CREATE});

    std::thread other([&] {
        EXPECT_TRUE(plat::postMessage(wnd, WM_USER + 1, 0, 0));
        EXPECT_TRUE(plat::postMessage(wnd, WM_CLOSE, 0, 0));
    });
    other.join();
    const auto seen = drain();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].msg, WM_USER + 1);
    EXPECT_EQ(seen[1].msg, WM_CLOSE);
    EXPECT_EQ(seen[1].wnd, wnd);
    EXPECT_EQ(rec.messages.back(), WM_CLOSE);
    for (const auto& id : rec.threads)
        EXPECT_EQ(id, std::this_thread::get_id());
    EXPECT_TRUE(plat::destroyWindow(wnd));
}

TEST(WindowMessages, PostsToNoWindowOrAGoneWindowFail)
{
    Recorder rec;
    const auto wnd = plat::createWindow(rec.proc());
    EXPECT_FALSE(plat::postMessage(0, WM_CLOSE, 0, 0));
    EXPECT_TRUE(plat::destroyWindow(wnd));
    EXPECT_EQ(rec.messages.back(), WM_DESTROY);
    EXPECT_FALSE(plat::isWindow(wnd));
    EXPECT_FALSE(plat::postMessage(wnd, WM_CLOSE, 0, 0));
    EXPECT_FALSE(plat::destroyWindow(wnd));
}

TEST(WindowMessages, ASendFromTheOwnerCallsTheProcedureAtOnce)
{
    Recorder rec;
    const auto wnd = plat::createWindow(rec.proc());
    bool delivered = false;
    EXPECT_EQ(plat::sendMessage(wnd, WM_USER, 21, 0, &delivered), 42);
    EXPECT_TRUE(delivered);
    plat::destroyWindow(wnd);
}

TEST(WindowMessages, ASendFromAnotherThreadIsServedByTheOwnersPumpBeforeItsPosts)
{
    drain();
    Recorder rec;
    const auto wnd = plat::createWindow(rec.proc());
    std::atomic<std::intptr_t> result{-1};
    std::atomic<bool> delivered{false};
    std::thread sender([&] {
        bool ok = false;
        result = plat::sendMessage(wnd, WM_USER, 5, 0, &ok);
        delivered = ok;
    });
    // Wait, without serving it, until the send is in this thread's queue
    // (the only work that can arrive), then post behind it.
    plat::detail::currentQueue()->waitForWork(std::nullopt);
    ASSERT_TRUE(plat::postMessage(wnd, WM_USER + 7, 0, 0));
    // Nothing runs the procedure until this thread pumps.
    EXPECT_EQ(result.load(), -1);
    EXPECT_EQ(rec.messages, std::vector<std::uint32_t>{WM_CREATE});
    ASSERT_TRUE(pumpUntil([&] { return result.load() != -1; }));
    sender.join();
    EXPECT_EQ(result.load(), 10);
    EXPECT_TRUE(delivered.load());
    // The send ran on this thread, before the post was dispatched.
    ASSERT_GE(rec.messages.size(), 3u);
    EXPECT_EQ(rec.messages[1], WM_USER);
    EXPECT_EQ(rec.messages[2], WM_USER + 7);
    for (const auto& id : rec.threads)
        EXPECT_EQ(id, std::this_thread::get_id());
    plat::destroyWindow(wnd);
}

TEST(WindowMessages, TwoThreadsSendingToEachOtherDoNotLockUp)
{
    // Each thread's window answers by sending to the other's window; a
    // waiting sender serves the sends made to it.
    std::atomic<plat::WindowId> first{0}, second{0};
    std::atomic<bool> stop{false};
    std::atomic<std::intptr_t> answer{0};
    std::thread a([&] {
        first = plat::createWindow(
            [&](plat::WindowId, std::uint32_t msg, std::uintptr_t, std::intptr_t) {
                return static_cast<std::intptr_t>(msg == WM_USER ? 7 : 0);
            });
        while (!stop) {
            plat::Message m;
            while (plat::peekMessage(m))
                plat::dispatchMessage(m);
            std::this_thread::sleep_for(1ms);
        }
    });
    while (first == 0)
        std::this_thread::sleep_for(1ms);
    std::thread b([&] {
        second = plat::createWindow(
            [&](plat::WindowId, std::uint32_t msg, std::uintptr_t, std::intptr_t) {
                // Served while b waits in its own send below.
                return static_cast<std::intptr_t>(msg == WM_USER + 1 ? 5 : 0);
            });
        answer = plat::sendMessage(first, WM_USER, 0, 0);
    });
    b.join();
    EXPECT_EQ(answer.load(), 7);
    stop = true;
    a.join();
}

TEST(WindowMessages, DestroyingAWindowReleasesTheSendsWaitingForIt)
{
    Recorder rec;
    const auto wnd = plat::createWindow(rec.proc());
    std::atomic<int> state{0}; // 1 waiting, 2 returned
    std::atomic<bool> delivered{true};
    std::thread sender([&] {
        bool ok = true;
        state = 1;
        plat::sendMessage(wnd, WM_USER, 1, 0, &ok);
        delivered = ok;
        state = 2;
    });
    while (state != 1)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(plat::destroyWindow(wnd));
    sender.join();
    EXPECT_EQ(state.load(), 2);
    EXPECT_FALSE(delivered.load());
    drain();
    // The procedure never saw the request.
    EXPECT_EQ(std::count(rec.messages.begin(), rec.messages.end(), WM_USER), 0);
}

TEST(ThreadMessages, PostsToUnknownOrEndedThreadsFail)
{
    EXPECT_FALSE(plat::postThreadMessage(0, WM_USER, 0, 0));
    std::atomic<plat::ThreadId> id{0};
    std::thread t([&] { id = plat::currentThreadId(); });
    t.join();
    ASSERT_NE(id.load(), 0u);
    EXPECT_FALSE(plat::postThreadMessage(id, WM_USER, 0, 0));
}

TEST(ThreadMessages, PostQuitMessageEndsGetMessageWithTheExitCode)
{
    std::atomic<std::uintptr_t> code{0};
    std::atomic<int> seen{0};
    plat::Thread thread;
    ASSERT_TRUE(thread.start([&] {
        plat::Message m;
        while (plat::getMessage(m)) {
            if (m.msg == WM_USER) {
                ++seen;
                plat::postQuitMessage(3);
            }
        }
        code = m.wParam;
    }));
    EXPECT_TRUE(plat::postThreadMessage(thread.id(), WM_USER, 0, 0));
    EXPECT_TRUE(thread.join());
    EXPECT_EQ(seen.load(), 1);
    EXPECT_EQ(code.load(), 3u);
}

class MainThread : public ::testing::Test {
protected:
    void SetUp() override { plat::setMainThread(); }
};

TEST_F(MainThread, IsTheThreadThatCalledSetMainThread)
{
    EXPECT_TRUE(plat::isMainThread());
    EXPECT_EQ(plat::mainThreadId(), plat::currentThreadId());
    std::atomic<bool> elsewhere{true};
    std::thread t([&] { elsewhere = plat::isMainThread(); });
    t.join();
    EXPECT_FALSE(elsewhere.load());
}

TEST_F(MainThread, WorkFromAnotherThreadRunsOnTheMainThreadWhileTheCallerWaits)
{
    std::atomic<bool> ran{false}, returned{false}, result{false};
    std::thread::id where;
    std::thread worker([&] {
        result = plat::runOnMainThread([&] {
            where = std::this_thread::get_id();
            ran = true;
        });
        returned = true;
    });
    std::this_thread::sleep_for(10ms);
    EXPECT_FALSE(ran.load());
    ASSERT_TRUE(pumpUntil([&] { return returned.load(); }));
    worker.join();
    EXPECT_TRUE(result.load());
    EXPECT_EQ(where, std::this_thread::get_id());
}

TEST_F(MainThread, RunsItsServicesWhenWokenWhileWaiting)
{
    // Services stay for the rest of the run: what they touch must too.
    static std::atomic<int> runs{0};
    static std::atomic<bool> added{false};
    if (!added.exchange(true)) plat::addMainThreadService([] { ++runs; });
    std::thread waker([] {
        std::this_thread::sleep_for(20ms);
        plat::wakeMainThread();
    });
    const int before = runs.load();
    plat::waitMessage(); // returns once the services have run
    EXPECT_GT(runs.load(), before);
    waker.join();
}

} // namespace
