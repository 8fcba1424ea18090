#pragma once
// The millisecond clock of the game and the sleeps.
//
// Times are unsigned 32-bit milliseconds that wrap to 0 after about 49.7
// days, as the game's timer does. Never compare two times with < or >:
// compare their signed difference (timeReached, msUntil), which stays right
// across the wrap as long as the times lie less than 24.8 days apart.

#include <cstdint>
#include <functional>

namespace plat {

// Milliseconds of a monotonic clock, truncated to 32 bits.
std::uint32_t timeMs();

// Whether `now` is at or after `due`, across the wrap.
inline bool timeReached(std::uint32_t now, std::uint32_t due)
{
    return static_cast<std::int32_t>(now - due) >= 0;
}

// Milliseconds from `now` until `due`; negative once it has passed.
inline std::int32_t msUntil(std::uint32_t now, std::uint32_t due)
{
    return static_cast<std::int32_t>(due - now);
}

// Test hook: while set, timeMs() returns what the source gives instead of
// the real clock (any thread may call it). Pass nullptr to go back.
void setTimeSource(std::function<std::uint32_t()> source);

// Sleeps for about `ms` milliseconds; 0 only gives up the rest of the time
// slice. On a thread started by plat::Thread whose quit has been asked,
// the sleep does not happen: it throws ThreadQuit (see message_loop.h), so
// that a thread polling a flag in sleeps still ends.
void sleepMs(std::uint32_t ms);

// Sleeps until timeMs() reads `due`, waking within tens of microseconds of
// the start of that millisecond instead of polling for it; meant for the
// last millisecond of a wait (it is not cut short by a quit). With a test
// time source set it only gives up the time slice, as sleepMs(0) does.
void sleepUntilMs(std::uint32_t due);

} // namespace plat
