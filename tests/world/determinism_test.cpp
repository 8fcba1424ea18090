// The determinism kit: the one float-to-int conversion, the per-thread
// random generator, input scripts in the replay-log format.

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <thread>
#include <vector>

#include "world/input_script.h"
#include "world/input_state.h"
#include "world/random.h"
#include "world/trunc.h"

namespace {

TEST(Determinism, TruncToIntIsDefinedForEveryDouble)
{
    struct Case {
        double in;
        int out;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {2.9, 2},
        {-2.9, -2},
        {-0.5, 0},
        {std::numeric_limits<double>::quiet_NaN(), 0},
        {inf, INT_MAX},
        {-inf, INT_MIN},
        {3e9, INT_MAX},
        {-3e9, INT_MIN},
        {2147483647.0, INT_MAX},
        {-2147483648.0, INT_MIN},
        {2147483646.9, 2147483646},
        {2147483647.9, INT_MAX},
        {-2147483648.9, INT_MIN},
        {-2147483647.5, -2147483647},
        {-0.0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TruncToInt(c.in), c.out) << c.in;
    EXPECT_EQ(FiniteOr(inf, 1.5), 1.5);
    EXPECT_EQ(FiniteOr(-2.0, 1.5), -2.0);
}

TEST(Determinism, TheGeneratorIsTheGamesAndPerThread)
{
    SeedRandom(1);
    // state x 214013 + 2531011, bits 16 to 30.
    std::uint32_t state = 1;
    std::vector<int> expected;
    for (int i = 0; i < 5; ++i) {
        state = state * 214013u + 2531011u;
        expected.push_back(static_cast<int>((state >> 16) & 0x7FFF));
    }
    std::vector<int> drawn;
    for (int i = 0; i < 5; ++i)
        drawn.push_back(Random());
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(drawn[0], 41);
    EXPECT_EQ(RandomState(), state);
    // Another thread has a generator of its own.
    std::uint32_t other = 0;
    std::thread([&other] {
        SeedRandom(99);
        Random();
        other = RandomState();
    }).join();
    EXPECT_EQ(RandomState(), state);
    EXPECT_EQ(other, 99u * 214013u + 2531011u);
}

TEST(Determinism, InputScriptsTravelThroughTheReplayLogUnchanged)
{
    cInputScript script;
    script.Hold(kDirRight, 0, 10).Hold(kDirRight | kDirUp, 1, 3).Hold(0, 0, 1).Hold(kDirLeft, 2, 5);
    const cReplayLog log = script.ToReplayLog(1234);
    EXPECT_EQ(log.nSeed, 1234);
    EXPECT_EQ(log.FrameCount(), 19);
    EXPECT_EQ(log.InputsA.size(), 4u) << "run-length streams";
    const cInputScript back = cInputScript::FromReplayLog(log);
    ASSERT_EQ(back.FrameCount(), script.FrameCount());
    for (int i = 0; i < script.FrameCount(); ++i) {
        EXPECT_EQ(back.At(i).m_Dir, script.At(i).m_Dir);
        EXPECT_EQ(back.At(i).m_Buttons, script.At(i).m_Buttons);
    }
    InputState state;
    script.Apply(12, state);
    EXPECT_EQ(state.m_DirBits, kDirRight | kDirUp);
    EXPECT_EQ(state.m_ButtonBits, 1);
    EXPECT_EQ(state.m_DirCode, 3);
    script.Apply(100, state);
    EXPECT_EQ(state.m_DirBits, 0) << "nothing held past the end";
    EXPECT_EQ(state.m_DirCode, 5);
}

} // namespace
