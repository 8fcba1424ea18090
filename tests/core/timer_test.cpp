// Frame pacing, the frame counter and the tick, with an injected clock,
// across the 32-bit wrap as well.
#include "core/timer.h"
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

class Timers : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::setTimeSource([this] { return now; });
        TimerResetState();
    }
    void TearDown() override
    {
        plat::setTimeSource(nullptr);
        TimerResetState();
    }
    std::uint32_t now = 0;
};

struct Step {
    std::uint32_t time;
    bool due;
};

void ExpectSchedule(std::uint32_t& now, unsigned rate, const std::vector<Step>& steps)
{
    for (const auto& s : steps) {
        now = s.time;
        EXPECT_EQ(FrameDue(rate), s.due) << "at " << s.time;
    }
}

TEST_F(Timers, FramesFallDueEveryWholeMillisecondPeriodCountedFromWhenTheyWereFoundDue)
{
    ExpectSchedule(now, 60,
                   {
                       {1000, true}, // the first call is due at once
                       {1000, false},
                       {1015, false},
                       {1016, true}, // 1000 / 60 = 16 ms
                       {1031, false},
                       {1082, true},  // 50 ms late: not made up for,
                       {1083, false}, // the next one is 16 ms on
                       {1097, false},
                       {1098, true},
                   });
}

TEST_F(Timers, PacingGoesOnAcrossTheWrapOfTheClock)
{
    ExpectSchedule(now, 60,
                   {
                       {0xFFFFFFE0u, true}, // next due at 0xFFFFFFF0
                       {0xFFFFFFEFu, false},
                       {0x00000002u, true},  // past the wrap: due, not frozen
                       {0xFFFFFFFFu, false}, // before the due time 0x12
                       {0x00000011u, false},
                       {0x00000012u, true},
                   });
    TimerResetState();
    ExpectSchedule(now, 30,
                   {
                       {0xFFFFFFF8u, true}, // next due at 0x19, past the wrap
                       {0xFFFFFFFAu, false},
                       {0x00000018u, false},
                       {0x00000019u, true},
                   });
}

TEST_F(Timers, RateZeroIsAlwaysDue)
{
    ExpectSchedule(now, 0, {{5, true}, {5, true}, {6, true}});
}

TEST_F(Timers, FrameWaitReturnsAtTheDueTime)
{
    std::uint32_t reads = 0;
    now = 0xFFFFFFF0u;
    plat::setTimeSource([&] { return now + reads++; }); // time moves on with each look
    EXPECT_TRUE(FrameWait(60));
    const std::uint32_t first = now + reads - 1;
    EXPECT_TRUE(FrameWait(60));
    const std::uint32_t second = now + reads - 1;
    EXPECT_GE(static_cast<std::int32_t>(second - first), 16);
    EXPECT_LE(static_cast<std::int32_t>(second - first), 18);
}

TEST_F(Timers, TheFrameCounterPublishesEachFullSecondWithoutThePublishingCall)
{
    std::vector<int> published;
    int last = -1;
    for (std::uint32_t t = 0xFFFFF800u; t != 0xFFFFF800u + 16 * 200; t += 16) {
        now = t;
        const int fps = GetFps();
        if (fps != last) published.push_back(fps);
        last = fps;
    }
    // 0 until the first second ends; then 63 (the first call counts);
    // then 62 for every later second at one call each 16 ms.
    EXPECT_EQ(published, (std::vector<int>{0, 63, 62}));
}

TEST_F(Timers, TheStopwatchMeasuresAcrossTheWrap)
{
    now = 0xFFFFFFFFu;
    EXPECT_EQ(TimerStart(), 0xFFFFFFFFu);
    now = 9;
    EXPECT_EQ(TimerElapsed(), 10u);
}

TEST_F(Timers, TheTickFiresOnEveryNthCountAndTellsWhenAPeriodHasJustBegun)
{
    EXPECT_EQ(CountEvery(0, 60), 0);
    EXPECT_EQ(CountEvery(2, 0), 1);
    for (int round = 0; round < 2; ++round) {
        for (int i = 1; i < 60; ++i) {
            EXPECT_EQ(CountEvery(1, 60), 0);
            EXPECT_EQ(CountEvery(2, 0), 0);
        }
        EXPECT_EQ(CountEvery(1, 60), 1);
        EXPECT_EQ(CountEvery(2, 0), 1);
    }
    CountEvery(1, 60);
    EXPECT_EQ(CountEvery(0, 60), 0);
    EXPECT_EQ(CountEvery(2, 0), 1);
}

} // namespace
