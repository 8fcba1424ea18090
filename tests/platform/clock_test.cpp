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

} // namespace
