#include "platform/clock.h"

#include "platform/message_loop.h"
#include "platform/thread_queue.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace plat {
namespace {

struct TimeSource {
    std::atomic<bool> set{false};
    std::mutex mutex;
    std::shared_ptr<const std::function<std::uint32_t()>> source;
};

TimeSource& timeSource()
{
    static TimeSource instance;
    return instance;
}

} // namespace

std::uint32_t timeMs()
{
    auto& injected = timeSource();
    if (injected.set.load(std::memory_order_acquire)) {
        std::shared_ptr<const std::function<std::uint32_t()>> source;
        {
            std::lock_guard lock(injected.mutex);
            source = injected.source;
        }
        if (source) return (*source)();
    }
    // The steady clock counts from boot here, as the game's timer did.
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

void setTimeSource(std::function<std::uint32_t()> source)
{
    auto& injected = timeSource();
    std::lock_guard lock(injected.mutex);
    if (source) {
        injected.source = std::make_shared<const std::function<std::uint32_t()>>(std::move(source));
    } else {
        injected.source.reset();
    }
    injected.set.store(injected.source != nullptr, std::memory_order_release);
}

void sleepMs(std::uint32_t ms)
{
    checkQuit();
    auto queue = detail::currentQueue();
    if (queue->quitRequested()) return; // already unwinding: do not hold it up
    if (ms == 0) {
        std::this_thread::yield();
        return;
    }
    queue->sleep(ms);
    checkQuit();
}

} // namespace plat
