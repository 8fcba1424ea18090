#pragma once
// The message queue of one thread and the registry of threads and windows
// behind message_loop.h and thread.h. Not for use outside platform/.

#include "platform/message_loop.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace plat::detail {

class ThreadQueue;

// One synchronous request waiting for its receiver. The receiver takes it
// from Pending to Running, then to Done; a receiver that quits or ends, or
// a sender that gives up, takes a Pending request to Cancelled.
struct SendRecord {
    enum State : int { Pending, Running, Done, Cancelled };
    std::atomic<int> state{Pending};
    std::intptr_t result = 0;
    WindowId wnd = 0; // the window it is for; 0 for a call to the thread
    // The work; nothing when the window was gone by the time it was served.
    std::function<std::optional<std::intptr_t>()> work;
    std::shared_ptr<ThreadQueue> sender;
};

class ThreadQueue {
public:
    explicit ThreadQueue(ThreadId id) : id_(id) {}

    ThreadId id() const { return id_; }
    bool quitRequested() const { return quit_.load(); }
    bool alive() const { return alive_.load(); }

    // False once the thread has ended.
    bool post(const Message& message);
    // False when the thread is quitting or has ended.
    bool enqueueSend(const std::shared_ptr<SendRecord>& record);
    // Sets the quit flag, posts WM_QUIT and cancels the waiting sends.
    void requestQuit();
    // The thread has ended: refuses posts and cancels the waiting sends.
    void close();
    // Cancels the waiting sends for one window.
    void cancelSendsFor(WindowId wnd);
    // Wakes the thread's waits (a finished send, a main-thread wake).
    void signal();
    void wakeForServices();

    // On the owner thread: runs every pending send (and, on the main
    // thread, the services when asked to).
    void pump();
    bool takePosted(Message& out, bool remove);
    // Blocks until a posted message, a send, a wake or the quit flag; at
    // most `limitMs` when given. Returns whether a posted message is there.
    bool waitForWork(std::optional<std::uint32_t> limitMs);
    // Waits for a send of the owner's to finish; false when it was not
    // delivered (cancelled, or the owner was asked to quit).
    bool waitForReply(const std::shared_ptr<SendRecord>& record);
    // Sleeps for up to `ms`, woken early only by a quit request.
    void sleep(std::uint32_t ms);
    // Waits up to `ms` for anything to serve; used by the polling joins.
    void idle(std::uint32_t ms);

private:
    std::shared_ptr<SendRecord> takeSend();
    void cancelAll(std::deque<std::shared_ptr<SendRecord>>& records);
    bool hasWorkLocked() const;

    const ThreadId id_;
    std::atomic<bool> quit_{false};
    std::atomic<bool> alive_{true};
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Message> posted_;
    std::deque<std::shared_ptr<SendRecord>> sends_;
    bool woken_ = false;
};

// The calling thread's queue, made and registered on first use.
std::shared_ptr<ThreadQueue> currentQueue();
// Makes a queue for a thread about to start; it becomes that thread's
// current queue through adoptQueue.
std::shared_ptr<ThreadQueue> newQueue();
void adoptQueue(const std::shared_ptr<ThreadQueue>& queue);
// Closes and unregisters the calling thread's queue (the thread ends).
void releaseCurrentQueue();

// The longest a wait of this queue's thread may block: bounded on the main
// thread while services are registered, unbounded otherwise.
std::optional<std::uint32_t> mainWaitLimit(const ThreadQueue& queue);

std::shared_ptr<ThreadQueue> findQueue(ThreadId id);
std::shared_ptr<ThreadQueue> mainQueue();
bool hasMainServices();
void runMainServices();

// Sends work to another thread's queue and waits for it.
// Runs it at once when the target is the caller.
std::optional<std::intptr_t> sendWork(const std::shared_ptr<ThreadQueue>& target, WindowId wnd,
                                      std::function<std::optional<std::intptr_t>()> work);

// Keeps the registry alive at least as long as the caller: objects with
// static storage that use it at exit call this in their constructor.
void touchRegistry();

} // namespace plat::detail
