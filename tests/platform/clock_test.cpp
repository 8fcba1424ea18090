// The millisecond clock and comparisons across its 32-bit wrap.
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(Clock, ComparisonsHoldAcrossTheWrap)
{
    struct Case {
        std::uint32_t now, due;
        bool reached;
        std::int32_t until;
    };
    const Case cases[] = {
        {100, 100, true, 0},
        {99, 100, false, 1},
        {116, 100, true, -16},
        {0xFFFFFFF0u, 0x00000005u, false, 21}, // due lies past the wrap
        {0x00000005u, 0xFFFFFFF0u, true, -21}, // now lies past the wrap
        {0x00000000u, 0xFFFFFFFFu, true, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plat::timeReached(c.now, c.due), c.reached) << c.now << " " << c.due;
        EXPECT_EQ(plat::msUntil(c.now, c.due), c.until) << c.now << " " << c.due;
    }
}

TEST(Clock, AnInjectedSourceReplacesTheRealClockUntilRemoved)
{
    std::uint32_t fake = 0xFFFFFFFEu;
    plat::setTimeSource([&] { return fake++; });
    EXPECT_EQ(plat::timeMs(), 0xFFFFFFFEu);
    EXPECT_EQ(plat::timeMs(), 0xFFFFFFFFu);
    EXPECT_EQ(plat::timeMs(), 0u);
    plat::setTimeSource(nullptr);
    const auto a = plat::timeMs();
    plat::sleepMs(3);
    const auto b = plat::timeMs();
    EXPECT_GE(static_cast<std::int32_t>(b - a), 2);
}

// The end of a frame's wait: never before the due millisecond has begun,
// whatever it is, and at once for one already past; with a test clock it
// only gives way, since the real clock has nothing to say about that time.
TEST(Clock, SleepingUntilAMillisecondWakesOnlyOnceItHasBegun)
{
    for (const std::int32_t ahead : {-5, 0, 1, 2, 7}) {
        SCOPED_TRACE(ahead);
        const std::uint32_t due = plat::timeMs() + static_cast<std::uint32_t>(ahead);
        plat::sleepUntilMs(due);
        EXPECT_TRUE(plat::timeReached(plat::timeMs(), due));
    }
    std::uint32_t fake = 1000;
    plat::setTimeSource([&] { return fake; });
    plat::sleepUntilMs(5000);
    EXPECT_EQ(plat::timeMs(), 1000u);
    plat::setTimeSource(nullptr);
}

} // namespace
