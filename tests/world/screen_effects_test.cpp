// The screen effects' run: what each kind's state does frame by frame, the
// ends, play modes and loops, frozen frames, and records whose divisors a
// damaged file set to 0. These tests step the effects without a display
// (drawing then has no surface to reach); the pictures are checked in
// screen_effects_draw_test.cpp.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "data/ed_database.h"
#include "support/world_fixture.h"
#include "world/database_tables.h"
#include "world/random.h"
#include "world/screen_effects.h"
#include "world/trunc.h"

namespace {

class ScreenEffects : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Start(test::MakeStage(20, 15, 2, 2));
    }
    void TearDown() override
    {
        g_ScrEffectStates.clear();
        g_ScrEffectStatesRev.clear();
        WorldTest::TearDown();
    }

    // Record 1 of the ScrEffect table becomes the effect, and it starts.
    void Run(int kind, std::array<std::int32_t, 5> params, int mode = 0, int loop = 0)
    {
        g_Database.ScrEffect.resize(2);
        g_Database.ScrEffect[1].m_Kind = kind;
        for (int i = 0; i < 5; ++i)
            g_Database.ScrEffect[1].m_Param[i] = params[static_cast<std::size_t>(i)];
        BuildDatabaseTables();
        effect().Start(1, mode, loop);
    }
    cScrEffectPlayer& effect() { return stage->m_ScrEffect; }
    bool running() { return effect().m_Index != 0; }

    // Advanced frames until the effect ends; -1 when it runs past the limit.
    int FramesToEnd(int limit = 10000)
    {
        for (int frame = 1; frame <= limit; ++frame) {
            DrawScrEffect(0);
            if (!running()) return frame;
        }
        return -1;
    }
};

TEST_F(ScreenEffects, ASlideOfTenTenthsEndsOnThe67thAdvancedFrame)
{
    Run(1, {10, 0, 0, 640, 0});
    std::vector<int> xs;
    for (int frame = 0; frame < 3; ++frame) {
        DrawScrEffect(0);
        xs.push_back(effect().m_Int1);
    }
    // The place drawn next: the start, then 64 pixels a tenth of a second.
    EXPECT_EQ(xs, (std::vector<int>{0, 10, 21}));
    EXPECT_EQ(effect().m_Int2, 0);
    EXPECT_EQ(3 + FramesToEnd(), 67);
}

TEST_F(ScreenEffects, ASlideReversedRunsFromTheEndPointBack)
{
    Run(1, {10, 0, 0, 640, 60}, 1);
    EXPECT_EQ(effect().m_Int1, 640);
    EXPECT_EQ(effect().m_Int2, 60);
    DrawScrEffect(0);
    DrawScrEffect(0);
    EXPECT_EQ(effect().m_Int1, 629) << "640 - 64 / 6, truncated";
    EXPECT_EQ(effect().m_Int2, 59);
    EXPECT_EQ(2 + FramesToEnd(), 67);
}

TEST_F(ScreenEffects, AShakeSwingsBetweenItsAmplitudes)
{
    // 1 swing of 3 pixels in a tenth of a second: 12 / 6 pixels a frame.
    Run(2, {1, 3, 1});
    std::vector<double> offsets;
    std::vector<int> directions;
    for (int frame = 0; frame < 8; ++frame) {
        DrawScrEffect(0);
        offsets.push_back(effect().m_Value2);
        directions.push_back(effect().m_Int1);
    }
    EXPECT_EQ(offsets, (std::vector<double>{2, 3, 1, -1, -3, -1, 1, 3}));
    EXPECT_EQ(directions, (std::vector<int>{0, 1, 1, 1, 0, 0, 0, 1}));
}

TEST_F(ScreenEffects, ShakesAndBlinksCountTenthsOfASecond)
{
    // The value grows by 1/6 from 0 and the effect ends once it, truncated,
    // has passed p0: 12 frames for p0 = 1 (12 sixths add up to 2 exactly).
    for (int kind : {2, 3, 8}) {
        Run(kind, {1, 4, 4});
        EXPECT_EQ(FramesToEnd(), 12) << "kind " << kind;
    }
}

TEST_F(ScreenEffects, StartToEndKindsRunByTheirStepAndEndPastTheEnd)
{
    struct Case {
        int kind;
        int mode;
        int frames; // advanced frames to the end
    };
    // 0 to 12 in a tenth of a second: 2 a frame, ended at 14 (7 frames);
    // reversed from 12 to -2; there and back twice as long.
    const Case cases[] = {{4, 0, 7}, {4, 1, 7},  {4, 2, 14}, {5, 0, 7},  {6, 0, 7},  {7, 2, 14},
                          {9, 0, 7}, {10, 1, 7}, {11, 0, 7}, {12, 0, 7}, {13, 0, 7}, {13, 2, 14}};
    for (const Case& c : cases) {
        Run(c.kind, {1, 0, 12, 4, 2}, c.mode);
        EXPECT_EQ(FramesToEnd(), c.frames) << "kind " << c.kind << " mode " << c.mode;
    }
}

TEST_F(ScreenEffects, ReversedAndRoundTripValues)
{
    Run(13, {1, 1, 13}, 2);
    std::vector<int> values;
    for (int frame = 0; frame < 9; ++frame) {
        DrawScrEffect(0);
        values.push_back(static_cast<int>(effect().m_Value));
    }
    // Up by 2 from 1; past 13 the reversed state starts again from 13.
    EXPECT_EQ(values, (std::vector<int>{3, 5, 7, 9, 11, 13, 13, 11, 9}));
    EXPECT_EQ(effect().m_Reversed, 1);
}

TEST_F(ScreenEffects, ALoopNeverEnds)
{
    Run(4, {1, 0, 12, 4}, 0, 1);
    EXPECT_EQ(FramesToEnd(200), -1);
    Run(9, {1, 0, 12}, 2, 1);
    EXPECT_EQ(FramesToEnd(200), -1);
}

TEST_F(ScreenEffects, TheWavePhaseTurnsOnceADegreeAndWraps)
{
    Run(6, {9999, 0, 10, 4, 8});
    for (int frame = 0; frame < 359; ++frame)
        DrawScrEffect(0);
    EXPECT_EQ(effect().m_Int1, 359);
    DrawScrEffect(0);
    EXPECT_EQ(effect().m_Int1, 0);
}

TEST_F(ScreenEffects, TheBlinkTurnsEveryIntervalAndItsTestRunsInFrozenFrames)
{
    Run(8, {100, 3});
    std::vector<int> shown;
    for (int frame = 0; frame < 8; ++frame) {
        DrawScrEffect(0);
        shown.push_back(effect().m_Int2);
    }
    // Hidden at first; the counter reaches 3 and the 4th frame turns it.
    EXPECT_EQ(shown, (std::vector<int>{0, 0, 0, 1, 1, 1, 0, 0}));
    DrawScrEffect(0);
    ASSERT_EQ(effect().m_Int1, 3);
    const double value = effect().m_Value;
    // A frozen frame with the counter at the interval turns it, without
    // counting; the next frozen frames change nothing.
    DrawScrEffect(1);
    EXPECT_EQ(effect().m_Int2, 1);
    EXPECT_EQ(effect().m_Int1, 0);
    for (int frame = 0; frame < 5; ++frame)
        DrawScrEffect(1);
    EXPECT_EQ(effect().m_Int2, 1);
    EXPECT_EQ(effect().m_Int1, 0);
    EXPECT_EQ(effect().m_Value, value);
}

TEST_F(ScreenEffects, FrozenFramesAdvanceNothing)
{
    SeedRandom(1234);
    const std::uint32_t generator = RandomState();
    for (int kind = 0; kind < kScrEffectKinds; ++kind) {
        if (kind == 8) continue;
        Run(kind, {5, 20, 300, 6, 3});
        DrawScrEffect(0);
        DrawScrEffect(0);
        const ScrEffectState before = effect();
        for (int frame = 0; frame < 50; ++frame)
            DrawScrEffect(1);
        const ScrEffectState& after = effect();
        EXPECT_EQ(after.m_Index, before.m_Index) << "kind " << kind;
        EXPECT_EQ(after.m_Value, before.m_Value) << "kind " << kind;
        EXPECT_EQ(after.m_Value2, before.m_Value2) << "kind " << kind;
        EXPECT_EQ(after.m_Int1, before.m_Int1) << "kind " << kind;
        EXPECT_EQ(after.m_Int2, before.m_Int2) << "kind " << kind;
        EXPECT_EQ(after.m_Reversed, before.m_Reversed) << "kind " << kind;
    }
    EXPECT_EQ(RandomState(), generator) << "no effect draws from the play's random numbers";
}

TEST_F(ScreenEffects, KindZeroHoldsTheSlotUntilReplaced)
{
    Run(0, {0, 0, 0, 0, 0});
    EXPECT_EQ(FramesToEnd(1000), -1);
    EXPECT_EQ(effect().m_Index, 1);
    Run(4, {1, 0, 12, 4});
    EXPECT_EQ(FramesToEnd(), 7);
}

TEST_F(ScreenEffects, NoEffectRunsWithoutAnEntry)
{
    Run(4, {1, 0, 12, 4});
    effect().Reset();
    DrawScrEffect(0);
    EXPECT_EQ(effect().m_Index, 0);
    EXPECT_EQ(effect().m_Value, 0);
}

TEST_F(ScreenEffects, DamagedDivisorsAreReadAsTheirMinimums)
{
    // A time of 0 ends at once; a strip or wave count of 0 or below and a
    // coarseness of 0 are read as 2 and 1 and the effect runs its time.
    Run(1, {0, 10, 20, 640, 0});
    EXPECT_EQ(FramesToEnd(), 1);
    EXPECT_EQ(effect().m_Int1, 10);
    EXPECT_EQ(effect().m_Int2, 20);
    Run(2, {0, 4, 4});
    EXPECT_EQ(FramesToEnd(), 1);
    EXPECT_TRUE(std::isfinite(effect().m_Value2));
    const std::array<std::int32_t, 5> damaged[] = {{1, 0, 12, 0, 0}, {1, 0, 12, -3, -1}};
    for (int kind : {4, 5, 6, 7, 10})
        for (const auto& params : damaged) {
            Run(kind, params);
            EXPECT_EQ(FramesToEnd(), 7) << "kind " << kind;
        }
}

TEST_F(ScreenEffects, ExtremeParametersOfADamagedFileStayInRange)
{
    constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
    Run(1, {1, lo, lo, hi, hi});
    DrawScrEffect(0);
    DrawScrEffect(0);
    EXPECT_EQ(effect().m_Int1, TruncToInt((double{hi} - lo) / 6 + lo));
    for (int kind : {4, 5, 6, 10, 12}) {
        Run(kind, {1, 0, 12, hi, lo});
        EXPECT_EQ(FramesToEnd(), 7) << "kind " << kind;
    }
    Run(2, {1, hi, hi});
    EXPECT_EQ(FramesToEnd(), 12);
}

TEST_F(ScreenEffects, AnUnknownKindEndsAtOnce)
{
    Run(14, {10, 0, 0, 0, 0});
    DrawScrEffect(1);
    EXPECT_EQ(effect().m_Index, 0);
    Run(-1, {10, 0, 0, 0, 0});
    DrawScrEffect(0);
    EXPECT_EQ(effect().m_Index, 0);
}

} // namespace
