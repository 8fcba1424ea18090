#include "core/timer.h"

#include "platform/clock.h"
#include "platform/message_loop.h"

namespace {

std::uint32_t g_TimerStart = 0;

struct FpsState {
    bool started = false;
    std::uint32_t published = 0; // time of the last publication
    int counted = 0;             // calls since then
    int last = 0;                // the count last published
} g_Fps;

struct PacingState {
    bool started = false;
    std::uint32_t due = 0;
} g_Pacing;

std::uint32_t g_CountEvery = 0;

constexpr std::uint32_t kFpsPeriodMs = 1000;

} // namespace

std::uint32_t TimerStart()
{
    g_TimerStart = plat::timeMs();
    return g_TimerStart;
}

std::uint32_t TimerElapsed()
{
    return plat::timeMs() - g_TimerStart;
}

int GetFps()
{
    if (!g_Fps.started) {
        g_Fps.started = true;
        g_Fps.published = plat::timeMs();
    }
    const std::uint32_t now = plat::timeMs();
    if (now - g_Fps.published < kFpsPeriodMs) {
        ++g_Fps.counted;
        return g_Fps.last;
    }
    g_Fps.last = g_Fps.counted;
    g_Fps.published = now;
    g_Fps.counted = 0;
    return g_Fps.last;
}

bool FrameDue(unsigned rate)
{
    if (!g_Pacing.started) {
        g_Pacing.started = true;
        g_Pacing.due = plat::timeMs();
    }
    const std::uint32_t now = plat::timeMs();
    if (rate == 0) return true;
    if (!plat::timeReached(now, g_Pacing.due)) return false;
    g_Pacing.due = now + 1000 / rate;
    return true;
}

bool FrameWait(unsigned rate)
{
    while (!FrameDue(rate)) {
        if (plat::quitRequested()) return false;
        // A sleep that a quit wakes, then the last millisecond to its start
        // (polling it would cost a busy core a millisecond every frame).
        const std::int32_t left = plat::msUntil(plat::timeMs(), g_Pacing.due);
        if (left > 1)
            plat::sleepMs(static_cast<std::uint32_t>(left - 1));
        else
            plat::sleepUntilMs(g_Pacing.due);
    }
    return true;
}

int CountEvery(int mode, std::uint32_t n)
{
    if (mode == 0) {
        g_CountEvery = 0;
        return 0;
    }
    if (mode == 2) return g_CountEvery == 0 ? 1 : 0;
    ++g_CountEvery;
    if (g_CountEvery >= n) {
        g_CountEvery = 0;
        return 1;
    }
    return 0;
}

void TimerResetState()
{
    g_TimerStart = 0;
    g_Fps = FpsState{};
    g_Pacing = PacingState{};
    g_CountEvery = 0;
}
