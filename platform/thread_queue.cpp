#include "platform/thread_queue.h"

#include "platform/window_messages.h"

#include <chrono>
#include <utility>

namespace plat::detail {

namespace {

// The main thread waits in slices of this length while services are
// registered, so that services polling outside sources still run.
constexpr std::uint32_t kServiceSliceMs = 10;

} // namespace

bool ThreadQueue::post(const Message& message)
{
    {
        std::lock_guard lock(mutex_);
        if (!alive_) return false;
        posted_.push_back(message);
    }
    cv_.notify_all();
    return true;
}

bool ThreadQueue::enqueueSend(const std::shared_ptr<SendRecord>& record)
{
    {
        std::lock_guard lock(mutex_);
        if (!alive_ || quit_) return false;
        sends_.push_back(record);
    }
    cv_.notify_all();
    return true;
}

void ThreadQueue::cancelAll(std::deque<std::shared_ptr<SendRecord>>& records)
{
    for (auto& record : records) {
        int expected = SendRecord::Pending;
        if (record->state.compare_exchange_strong(expected, SendRecord::Cancelled)) {
            record->sender->signal();
        }
    }
    records.clear();
}

void ThreadQueue::requestQuit()
{
    std::deque<std::shared_ptr<SendRecord>> waiting;
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
        if (alive_) posted_.push_back(Message{0, WM_QUIT, 0, 0});
        waiting.swap(sends_);
    }
    cv_.notify_all();
    cancelAll(waiting);
}

void ThreadQueue::close()
{
    std::deque<std::shared_ptr<SendRecord>> waiting;
    {
        std::lock_guard lock(mutex_);
        alive_ = false;
        posted_.clear();
        waiting.swap(sends_);
    }
    cv_.notify_all();
    cancelAll(waiting);
}

void ThreadQueue::cancelSendsFor(WindowId wnd)
{
    std::deque<std::shared_ptr<SendRecord>> waiting;
    {
        std::lock_guard lock(mutex_);
        for (auto it = sends_.begin(); it != sends_.end();) {
            if ((*it)->wnd == wnd) {
                waiting.push_back(*it);
                it = sends_.erase(it);
            } else {
                ++it;
            }
        }
    }
    cancelAll(waiting);
}

void ThreadQueue::signal()
{
    {
        std::lock_guard lock(mutex_);
    }
    cv_.notify_all();
}

void ThreadQueue::wakeForServices()
{
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    cv_.notify_all();
}

std::shared_ptr<SendRecord> ThreadQueue::takeSend()
{
    std::lock_guard lock(mutex_);
    if (sends_.empty()) return nullptr;
    auto record = std::move(sends_.front());
    sends_.pop_front();
    return record;
}

void ThreadQueue::pump()
{
    while (auto record = takeSend()) {
        int expected = SendRecord::Pending;
        if (!record->state.compare_exchange_strong(expected, SendRecord::Running)) continue;
        // Whatever happens in the work, the sender must hear of it.
        struct Finish {
            SendRecord& record;
            bool done = false;
            ~Finish()
            {
                if (!done) record.state = SendRecord::Cancelled;
                record.sender->signal();
            }
        } finish{*record};
        if (auto result = record->work()) {
            record->result = *result;
            record->state = SendRecord::Done;
            finish.done = true;
        }
    }
    if (mainQueue().get() == this) {
        {
            std::lock_guard lock(mutex_);
            woken_ = false;
        }
        runMainServices();
    }
}

bool ThreadQueue::takePosted(Message& out, bool remove)
{
    std::lock_guard lock(mutex_);
    if (posted_.empty()) return false;
    out = posted_.front();
    if (remove) posted_.pop_front();
    return true;
}

bool ThreadQueue::hasWorkLocked() const
{
    return !posted_.empty() || !sends_.empty() || woken_ || quit_;
}

bool ThreadQueue::waitForWork(std::optional<std::uint32_t> limitMs)
{
    std::unique_lock lock(mutex_);
    if (limitMs) {
        cv_.wait_for(lock, std::chrono::milliseconds(*limitMs), [&] { return hasWorkLocked(); });
    } else {
        cv_.wait(lock, [&] { return hasWorkLocked(); });
    }
    return !posted_.empty();
}

bool ThreadQueue::waitForReply(const std::shared_ptr<SendRecord>& record)
{
    const bool isMain = mainQueue().get() == this;
    for (;;) {
        pump();
        std::unique_lock lock(mutex_);
        for (;;) {
            const int state = record->state.load();
            if (state == SendRecord::Done) return true;
            if (state == SendRecord::Cancelled) return false;
            if (quit_) {
                // Released at once unless the receiver is serving it right
                // now: then it finishes soon, and whatever it was handed
                // must stay valid until it has.
                int expected = SendRecord::Pending;
                if (record->state.compare_exchange_strong(expected, SendRecord::Cancelled)) {
                    return false;
                }
            }
            if (!sends_.empty() || woken_) break;
            if (isMain && hasMainServices()) {
                cv_.wait_for(lock, std::chrono::milliseconds(kServiceSliceMs));
                break;
            }
            cv_.wait(lock);
        }
    }
}

void ThreadQueue::sleep(std::uint32_t ms)
{
    std::unique_lock lock(mutex_);
    cv_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return quit_.load(); });
}

void ThreadQueue::idle(std::uint32_t ms)
{
    std::unique_lock lock(mutex_);
    cv_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return !sends_.empty() || woken_; });
}

std::optional<std::uint32_t> mainWaitLimit(const ThreadQueue& queue)
{
    if (mainQueue().get() == &queue && hasMainServices()) return kServiceSliceMs;
    return std::nullopt;
}

} // namespace plat::detail
