#include "platform/thread.h"

#include "platform/thread_queue.h"

#include <chrono>
#include <system_error>
#include <utility>

namespace plat {

Thread::Thread()
{
    // Thread objects may live in static storage and join at exit: keep the
    // registry of queues alive until after they are gone.
    detail::touchRegistry();
}

Thread::~Thread()
{
    requestQuit();
    join();
}

bool Thread::start(std::function<void()> body)
{
    std::lock_guard lock(mutex_);
    if (thread_.joinable()) {
        if (!finished_->load()) return false;
        thread_.join();
    }
    auto queue = detail::newQueue();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    try {
        thread_ = std::thread([queue, finished, body = std::move(body)] {
            detail::adoptQueue(queue);
            try {
                body();
            } catch (const ThreadQuit&) {
                // Asked to quit at a wait: the thread ends here.
            }
            detail::releaseCurrentQueue();
            finished->store(true);
        });
    } catch (const std::system_error&) {
        queue->close();
        return false;
    }
    queue_ = queue;
    finished_ = finished;
    id_ = queue->id();
    return true;
}

bool Thread::started() const
{
    std::lock_guard lock(mutex_);
    return thread_.joinable();
}

bool Thread::finished() const
{
    std::lock_guard lock(mutex_);
    return finished_ && finished_->load();
}

void Thread::requestQuit()
{
    std::shared_ptr<detail::ThreadQueue> queue;
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) return;
        queue = queue_;
    }
    queue->requestQuit();
}

void Thread::reclaim()
{
    std::lock_guard lock(mutex_);
    if (thread_.joinable() && finished_->load()) thread_.join();
}

bool Thread::join()
{
    return joinFor(0, true);
}

bool Thread::join(std::uint32_t timeoutMs)
{
    return joinFor(timeoutMs, false);
}

bool Thread::joinFor(std::uint32_t timeoutMs, bool forever)
{
    std::shared_ptr<std::atomic<bool>> finished;
    std::shared_ptr<detail::ThreadQueue> target;
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) return true;
        if (thread_.get_id() == std::this_thread::get_id()) return false;
        finished = finished_;
        target = queue_;
    }
    auto self = detail::currentQueue();
    // The real clock, not timeMs(): a test may hold that one still.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool passedOn = false;
    while (!finished->load()) {
        if (!forever && std::chrono::steady_clock::now() >= deadline) return false;
        if (!passedOn && self->quitRequested()) {
            target->requestQuit();
            passedOn = true;
        }
        self->pump();
        self->idle(1);
    }
    reclaim();
    return true;
}

} // namespace plat
