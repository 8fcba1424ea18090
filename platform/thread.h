#pragma once
// A thread of the game with its own message queue (see message_loop.h).
//
// Threads end by themselves: requestQuit() only asks (a flag that every
// wait checks, WM_QUIT in the queue, waiting sends released), and join()
// waits for the thread to finish. Nothing is suspended, killed or
// detached. A start, join or quit request may come from different threads
// (the main thread joins a worker at shutdown while another waits for it).

#include "platform/message_loop.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace plat {

namespace detail {
class ThreadQueue;
}

class Thread {
public:
    Thread();
    // Asks a running thread to quit and waits for it.
    ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // Starts the body on a new thread whose queue exists before the body
    // runs. A ThreadQuit leaving the body ends the thread quietly. False
    // when a started thread has not ended yet or the thread cannot be made.
    bool start(std::function<void()> body);

    // The id of the thread last started; 0 before the first start.
    ThreadId id() const { return id_.load(); }
    // A thread has been started and not yet joined.
    bool started() const;
    // The started thread has returned from its body (it may not be joined).
    bool finished() const;

    // Asks the thread to quit (see message_loop.h). Any thread may ask.
    void requestQuit();

    // Waits until the thread has ended, then reclaims it; true when it
    // has (or nothing was started). While waiting the caller serves the
    // sends made to it (and, on the main thread, runs the main-thread
    // services). A caller that is asked to quit meanwhile passes the
    // request on and goes on waiting, so no thread outlives the one that
    // waits for it. From the thread itself it returns false at once.
    bool join();
    // The same, giving up after about `timeoutMs` (false then).
    bool join(std::uint32_t timeoutMs);
    // Asks the thread to quit (unless that was done already) and waits for
    // it to end, giving up (false) once it has had about `budgetMs` since
    // the first request without ending. The time the thread spent waiting
    // for a processor does not count: on a busy machine a thread that is
    // slow to reach its next wait is not taken for one that never will.
    bool joinAfterQuit(std::uint32_t budgetMs);

private:
    // Asked while waiting: true gives the wait up.
    using GiveUp = std::function<bool()>;
    bool joinUntil(const GiveUp& giveUp);
    void reclaim();

    std::atomic<ThreadId> id_{0};
    mutable std::mutex mutex_; // guards all below
    std::thread thread_;
    std::shared_ptr<detail::ThreadQueue> queue_;
    std::shared_ptr<std::atomic<bool>> finished_;
    // The system's id of the running thread (0 until it has begun).
    std::shared_ptr<std::atomic<int>> systemId_;
    // The first quit request of this run: when, and how long the thread
    // had waited for a processor by then (nanoseconds; -1 unknown).
    std::chrono::steady_clock::time_point quitAt_;
    std::int64_t queuedAtQuit_ = -1;
    bool quitAsked_ = false;
};

} // namespace plat
