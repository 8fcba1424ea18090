// Threads end cooperatively: asked to quit, they end at their next wait.
#include "platform/clock.h"
#include "platform/message_loop.h"
#include "platform/thread.h"
#include "platform/window_messages.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A window owned by a plain thread that never pumps its queue until told.
class DeafWindow {
public:
    DeafWindow()
    {
        owner_ = std::thread([this] {
            wnd_ = plat::createWindow([](plat::WindowId, std::uint32_t, std::uintptr_t,
                                         std::intptr_t) -> std::intptr_t { return 1; });
            while (!stop_)
                std::this_thread::sleep_for(1ms);
            plat::destroyWindow(wnd_);
        });
        while (wnd_ == 0)
            std::this_thread::sleep_for(1ms);
    }
    ~DeafWindow()
    {
        stop_ = true;
        owner_.join();
    }
    plat::WindowId id() const { return wnd_; }

private:
    std::atomic<plat::WindowId> wnd_{0};
    std::atomic<bool> stop_{false};
    std::thread owner_;
};

TEST(ThreadQuit, AThreadReadingItsQueueEndsOnTheQuitRequest)
{
    std::atomic<bool> sawQuit{false};
    plat::Thread thread;
    ASSERT_TRUE(thread.start([&] {
        plat::Message m;
        while (plat::getMessage(m)) {
        }
        sawQuit = (m.msg == WM_QUIT);
    }));
    thread.requestQuit();
    EXPECT_TRUE(thread.join());
    EXPECT_TRUE(sawQuit.load());
    EXPECT_FALSE(thread.started());
}

TEST(ThreadQuit, AThreadThatNeverReadsItsQueueEndsAtItsNextSleep)
{
    std::atomic<bool> afterLoop{false};
    plat::Thread thread;
    ASSERT_TRUE(thread.start([&] {
        for (;;)
            plat::sleepMs(1);
        afterLoop = true;
    }));
    std::this_thread::sleep_for(5ms);
    thread.requestQuit();
    EXPECT_TRUE(thread.join());
    EXPECT_FALSE(afterLoop.load()); // it left through ThreadQuit
}

TEST(ThreadQuit, AThreadWaitingForMessagesAfterItsQuitEndsAtThatWait)
{
    plat::Thread thread;
    ASSERT_TRUE(thread.start([] {
        plat::Message m;
        for (;;) { // ignores WM_QUIT and waits again
            while (plat::peekMessage(m)) {
            }
            plat::waitMessage();
        }
    }));
    thread.requestQuit();
    EXPECT_TRUE(thread.join());
}

TEST(ThreadQuit, ASendBlockedOnAThreadThatIsAskedToQuitIsReleasedAndItsSenderEnds)
{
    // The receiver owns a window but never pumps: it only sleeps.
    std::atomic<plat::WindowId> wnd{0};
    plat::Thread receiver;
    ASSERT_TRUE(receiver.start([&] {
        wnd = plat::createWindow([](plat::WindowId, std::uint32_t, std::uintptr_t,
                                    std::intptr_t) -> std::intptr_t { return 1; });
        for (;;)
            plat::sleepMs(1);
    }));
    while (wnd == 0)
        std::this_thread::sleep_for(1ms);

    std::atomic<int> state{0}; // 1 sending, 2 returned
    std::atomic<bool> delivered{true};
    plat::Thread sender;
    ASSERT_TRUE(sender.start([&] {
        bool ok = true;
        state = 1;
        plat::sendMessage(wnd, WM_USER, 0, 0, &ok);
        delivered = ok;
        state = 2;
    }));
    while (state != 1)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(10ms);
    EXPECT_EQ(state.load(), 1);

    receiver.requestQuit();
    EXPECT_TRUE(sender.join());
    EXPECT_EQ(state.load(), 2);
    EXPECT_FALSE(delivered.load());
    EXPECT_TRUE(receiver.join());
}

TEST(ThreadQuit, ASendToAThreadThatIsQuittingIsNotDeliveredAtOnce)
{
    std::atomic<plat::WindowId> wnd{0};
    std::atomic<bool> go{false};
    plat::Thread receiver;
    ASSERT_TRUE(receiver.start([&] {
        wnd = plat::createWindow([](plat::WindowId, std::uint32_t, std::uintptr_t,
                                    std::intptr_t) -> std::intptr_t { return 1; });
        // Keeps running after the quit request, without waits.
        while (!go)
            std::this_thread::yield();
    }));
    while (wnd == 0)
        std::this_thread::sleep_for(1ms);
    receiver.requestQuit();
    bool delivered = true;
    EXPECT_EQ(plat::sendMessage(wnd, WM_USER, 0, 0, &delivered), 0);
    EXPECT_FALSE(delivered);
    go = true;
    EXPECT_TRUE(receiver.join());
}

TEST(ThreadQuit, AThreadBlockedInASendIsReleasedWhenItIsAskedToQuit)
{
    DeafWindow deaf;
    std::atomic<int> state{0};
    std::atomic<bool> delivered{true};
    plat::Thread sender;
    ASSERT_TRUE(sender.start([&] {
        bool ok = true;
        state = 1;
        plat::sendMessage(deaf.id(), WM_USER, 0, 0, &ok);
        delivered = ok;
        state = 2;
        plat::sleepMs(1); // its next wait ends it
        state = 3;
    }));
    while (state != 1)
        std::this_thread::sleep_for(1ms);
    std::this_thread::sleep_for(10ms);
    sender.requestQuit();
    EXPECT_TRUE(sender.join());
    EXPECT_EQ(state.load(), 2);
    EXPECT_FALSE(delivered.load());
}

TEST(ThreadQuit, AThreadAskedToQuitWhileJoiningPassesTheRequestOn)
{
    plat::Thread inner;
    plat::Thread outer;
    std::atomic<bool> innerStarted{false};
    ASSERT_TRUE(outer.start([&] {
        inner.start([&] {
            innerStarted = true;
            for (;;)
                plat::sleepMs(1);
        });
        inner.join();
    }));
    while (!innerStarted)
        std::this_thread::sleep_for(1ms);
    outer.requestQuit();
    EXPECT_TRUE(outer.join());
    EXPECT_FALSE(inner.started()); // joined by outer before it ended
}

// How long to wait for a thread that was asked to quit: the time it ran or
// was blocked outside the waits counts against the budget, the time it was
// kept waiting for a processor does not.
struct QuitBudgetCase {
    const char* name;
    // The thread's work after it has been asked to quit, then it waits.
    void (*work)(const std::atomic<bool>& release);
    bool ends; // within the budget
};

// Uses about `ms` of the calling thread's own processor time.
void spinFor(long ms)
{
    auto cpu = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1000L + t.tv_nsec / 1000000L;
    };
    const long start = cpu();
    while (cpu() - start < ms) {
    }
}

const QuitBudgetCase kQuitBudgetCases[] = {
    {"SpinningWithoutAWait",
     [](const std::atomic<bool>& release) {
         while (!release) {
         }
     },
     false},
    {"SleepingOutsideTheWaits",
     [](const std::atomic<bool>& release) {
         while (!release)
             std::this_thread::sleep_for(1ms);
     },
     false},
    {"KeptFromTheProcessorButWorkingWithinTheBudget",
     [](const std::atomic<bool>&) { spinFor(100); }, true},
};

TEST(ThreadQuit, AThreadIsGivenUpOnlyWhenItsOwnTimeExceedsTheBudget)
{
    constexpr std::uint32_t kBudgetMs = 300;
    // The thread and eight spinners share one processor: it gets at most a
    // ninth of it, so its 100 ms of work take far longer than the budget.
    cpu_set_t allowed;
    ASSERT_EQ(sched_getaffinity(0, sizeof allowed, &allowed), 0);
    int cpu = 0;
    while (!CPU_ISSET(cpu, &allowed))
        ++cpu;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(cpu, &one);
    auto pin = [&one] { ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0); };

    for (const QuitBudgetCase& c : kQuitBudgetCases) {
        SCOPED_TRACE(c.name);
        std::atomic<bool> release{false};
        std::atomic<bool> stopSpinners{false};
        std::vector<std::thread> spinners;
        for (int i = 0; i < 8; ++i)
            spinners.emplace_back([&] {
                pin();
                while (!stopSpinners) {
                }
            });
        plat::Thread thread;
        ASSERT_TRUE(thread.start([&] {
            pin();
            while (!plat::quitRequested())
                std::this_thread::sleep_for(1ms);
            c.work(release);
            plat::sleepMs(1); // asked to quit: the thread ends here
        }));
        const auto start = std::chrono::steady_clock::now();
        const bool ended = thread.joinAfterQuit(kBudgetMs);
        const auto waited = std::chrono::steady_clock::now() - start;
        stopSpinners = true;
        for (std::thread& s : spinners)
            s.join();
        EXPECT_EQ(ended, c.ends);
        if (c.ends) {
            EXPECT_GE(waited, std::chrono::milliseconds(kBudgetMs)) << "kept waiting";
        }
        release = true;
        EXPECT_TRUE(thread.join());
    }
}

TEST(ThreadLifecycle, AThreadIsStartedOnceAtATimeAndCanBeStartedAgainAfterItsJoin)
{
    std::atomic<bool> release{false};
    plat::Thread thread;
    EXPECT_TRUE(thread.join()); // nothing started: nothing to wait for
    ASSERT_TRUE(thread.start([&] {
        while (!release)
            std::this_thread::sleep_for(1ms);
    }));
    const auto first = thread.id();
    EXPECT_NE(first, 0u);
    EXPECT_FALSE(thread.start([] {}));
    EXPECT_FALSE(thread.join(5)); // still running: the timed join gives up
    release = true;
    EXPECT_TRUE(thread.join());
    ASSERT_TRUE(thread.start([] {}));
    EXPECT_NE(thread.id(), first);
    EXPECT_TRUE(thread.join());
}

TEST(ThreadLifecycle, ItsQueueExistsBeforeTheBodyRuns)
{
    std::atomic<bool> go{false};
    std::atomic<std::uint32_t> got{0};
    plat::Thread thread;
    ASSERT_TRUE(thread.start([&] {
        while (!go)
            std::this_thread::sleep_for(1ms);
        plat::Message m;
        while (plat::getMessage(m)) {
            got = m.msg;
            break;
        }
    }));
    EXPECT_TRUE(plat::postThreadMessage(thread.id(), WM_APP, 0, 0));
    go = true;
    EXPECT_TRUE(thread.join());
    EXPECT_EQ(got.load(), WM_APP);
}

TEST(ThreadLifecycle, AJoinFromTheThreadItselfReturnsAtOnce)
{
    plat::Thread thread;
    std::atomic<int> result{-1};
    ASSERT_TRUE(thread.start([&] { result = thread.join() ? 1 : 0; }));
    EXPECT_TRUE(thread.join());
    EXPECT_EQ(result.load(), 0);
}

} // namespace
