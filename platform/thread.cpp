#include "platform/thread.h"

#include "platform/thread_queue.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <system_error>
#include <utility>

namespace plat {
namespace {

// How long a thread has waited for a processor since it began, in
// nanoseconds, from the kernel's scheduler statistics; -1 when unknown.
std::int64_t queuedNs(int systemId)
{
    if (systemId <= 0) return -1;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%d/schedstat", systemId);
    std::FILE* file = std::fopen(path, "r");
    if (!file) return -1;
    std::int64_t running = 0, queued = -1;
    if (std::fscanf(file, "%" SCNd64 " %" SCNd64, &running, &queued) != 2) queued = -1;
    std::fclose(file);
    return queued;
}

// Should the kernel's statistics be missing or odd, the wait for a thread
// asked to quit still ends after this many budgets.
constexpr std::uint32_t kBudgetCeiling = 20;

} // namespace

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
    auto systemId = std::make_shared<std::atomic<int>>(0);
    try {
        thread_ = std::thread([queue, finished, systemId, body = std::move(body)] {
            systemId->store(static_cast<int>(::gettid()));
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
    systemId_ = systemId;
    quitAsked_ = false;
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
        if (!quitAsked_) {
            quitAsked_ = true;
            quitAt_ = std::chrono::steady_clock::now();
            queuedAtQuit_ = queuedNs(systemId_->load());
        }
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
    return joinUntil(nullptr);
}

bool Thread::join(std::uint32_t timeoutMs)
{
    // The real clock, not timeMs(): a test may hold that one still.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    return joinUntil([deadline] { return std::chrono::steady_clock::now() >= deadline; });
}

bool Thread::joinAfterQuit(std::uint32_t budgetMs)
{
    requestQuit();
    std::chrono::steady_clock::time_point quitAt;
    std::int64_t queuedAtQuit;
    std::shared_ptr<std::atomic<int>> systemId;
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) return true;
        quitAt = quitAt_;
        queuedAtQuit = queuedAtQuit_;
        systemId = systemId_;
    }
    const auto budget = std::chrono::milliseconds(budgetMs);
    return joinUntil([=] {
        const auto spent = std::chrono::steady_clock::now() - quitAt;
        if (spent >= budget * kBudgetCeiling) return true;
        const std::int64_t queued = queuedNs(systemId->load());
        if (queued < 0) return spent >= budget;
        // A thread that had not begun when asked has queued only since.
        const std::int64_t before = std::max<std::int64_t>(queuedAtQuit, 0);
        return spent - std::chrono::nanoseconds(queued - before) >= budget;
    });
}

bool Thread::joinUntil(const GiveUp& giveUp)
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
    bool passedOn = false;
    while (!finished->load()) {
        if (giveUp && giveUp()) return false;
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
