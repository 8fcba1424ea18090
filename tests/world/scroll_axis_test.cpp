// One axis of the play view: its clamp, its limits and its auto-scroll.

#include <gtest/gtest.h>

#include "support/world_fixture.h"

namespace {

cScrollAxis Axis(int min, int max)
{
    cScrollAxis a;
    a.m_ViewSize = 640;
    a.m_Base = 320;
    a.m_Full = 3200;
    a.m_Min = min;
    a.m_Max = max;
    return a;
}

TEST(ScrollAxis, ClampHoldsTheViewInItsRangeAndTheMinimumWins)
{
    struct Case {
        int min;
        int max;
        double pos;
        double after;
        int atLimit;
    };
    const Case cases[] = {
        {320, 3200, 100, 320, 1},   {320, 3200, 1000, 1000, 0}, {320, 3200, 2560, 2560, 1},
        {320, 3200, 3000, 2560, 1}, {320, 700, 500, 320, 1},    {320, 700, 100, 320, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " at " << c.pos);
        cScrollAxis a = Axis(c.min, c.max);
        a.m_Pos = c.pos;
        a.Clamp();
        EXPECT_EQ(a.m_Pos, c.after);
        EXPECT_EQ(a.m_AtLimit, c.atLimit);
    }
}

TEST(ScrollAxis, RangeFromTheLimitSwitches)
{
    cScrollAxis a = Axis(0, 0);
    a.SetRange(3, 9, 1, 1);
    EXPECT_EQ(a.m_Min, 320 + 96);
    EXPECT_EQ(a.m_Max, 320 + 320);
    a.SetRange(3, 1, 1, 1);
    EXPECT_EQ(a.m_Max, a.m_Min) << "never below the minimum";
    a.SetRange(3, 9, 0, 0);
    EXPECT_EQ(a.m_Min, 320);
    EXPECT_EQ(a.m_Max, 3200) << "the stage's far edge, not the world's";
    a.SetRange(0, 2000000000, 0, 1);
    EXPECT_EQ(a.m_Max, 2147483647) << "limits from a file cannot overflow";
}

TEST(ScrollAxis, AutoScrollSpeedIsPerSubStep)
{
    test::ResetWorldGlobals();
    g_Stage.SetSpeedLevel(13);
    cScrollAxis a = Axis(320, 3200);
    a.SetAutoScroll(1, 200);
    EXPECT_DOUBLE_EQ(a.m_Speed, 20.0 / 3);
    EXPECT_EQ(a.m_Auto, 1);
    a.m_Pos = 2555;
    a.Step();
    EXPECT_EQ(a.m_Pos, 2560);
    EXPECT_EQ(a.FollowSpeed(), 0) << "held at a limit, the scroll speed counts as 0";
    a.SetAutoScroll(0, 200);
    EXPECT_EQ(a.m_Speed, 0);
    EXPECT_EQ(a.m_Auto, 0);
    test::ResetWorldGlobals();
}

} // namespace
