#include "platform/clock.h"

#include "platform/message_loop.h"
#include "platform/test_hook.h"
#include "platform/thread_queue.h"

#include <chrono>
#include <thread>
#include <utility>

namespace plat {
namespace {

detail::TestHook<std::uint32_t()>& timeSource()
{
    static detail::TestHook<std::uint32_t()> instance;
    return instance;
}

} // namespace

std::uint32_t timeMs()
{
    if (const auto source = timeSource().get()) return (*source)();
    // The steady clock counts from boot here, as the game's timer did.
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

void setTimeSource(std::function<std::uint32_t()> source)
{
    timeSource().set(std::move(source));
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

void sleepUntilMs(std::uint32_t due)
{
    checkQuit();
    if (timeSource().get()) {
        std::this_thread::yield();
        return;
    }
    // The millisecond `due` begins at that many milliseconds of the steady
    // clock: the difference is taken in 32 bits, as every time is.
    using namespace std::chrono;
    const auto now = steady_clock::now();
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch());
    const std::int32_t left = msUntil(static_cast<std::uint32_t>(ms.count()), due);
    if (left <= 0) return;
    std::this_thread::sleep_until(steady_clock::time_point(ms + milliseconds(left)));
}

} // namespace plat
