// The object base: movement modes, scaling, the edge updates of each mode,
// one sub-step of motion, inertia decay, visibility and removal areas.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/world_fixture.h"

namespace {

// A bare object on a running stage of 40 x 30 blocks whose view may show
// blocks 0 to 29 across and all of it down.
class ObjectBase : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        cEdStage data = test::MakeStage(40, 30, 0, 0);
        data.bLimitRight = 1;
        data.nLimitRight = 29;
        Start(data);
        obj.SetupObj(7, 1, 0, 2, 1, nullptr, 0, 4, 8, 20, 24, 32, 32, 0, 0, 0);
    }
    void Place(double x, double y)
    {
        obj.m_X = x;
        obj.m_Y = y;
    }

    cGameObj obj;
};

TEST_F(ObjectBase, SetUpAndMovementModes)
{
    EXPECT_EQ(obj.m_ObjNo, 7);
    EXPECT_EQ(obj.m_Life, kNoLife);
    EXPECT_EQ(obj.m_Width0, 20);
    struct Case {
        int mode;
        int flying;
        int blockMode;
    };
    const Case cases[] = {{0, 0, 1}, {1, 1, 0}, {2, 1, 1}, {3, 1, 2}};
    for (const Case& c : cases) {
        obj.SetFlyMode(c.mode);
        EXPECT_EQ(obj.m_Flying, c.flying) << c.mode;
        EXPECT_EQ(obj.m_BlockMode, c.blockMode) << c.mode;
    }
    obj.SetFlyMode(4);
    obj.SetFlyMode(-1);
    EXPECT_EQ(obj.m_Flying, 1) << "an unknown mode changes nothing";
    EXPECT_EQ(obj.m_BlockMode, 2);
}

TEST_F(ObjectBase, HorizontalEdgeUpdateByMode)
{
    const int stageEnd = (40 + 10) * 32;
    const int worldEnd = stageEnd + 640;
    const int viewMax = 320 + 30 * 32;
    struct Case {
        int mode;
        double x;
        double xAfter;
        int code;
    };
    const Case cases[] = {
        {0, 100.0, 320.0, 0},
        {0, viewMax - 10.0, viewMax - 20.0, 0},
        {1, 100.0, 320.0, 0},
        {1, stageEnd - 5.0, stageEnd - 20.0, 0},
        {1, viewMax - 5.0, viewMax - 5.0, 1},
        {1, 500.0, 500.0, 0},
        {2, -4.0, 0.0, 3},
        {2, worldEnd - 1.0, worldEnd - 20.0, 3},
        {2, 100.0, 100.0, 2},
        {2, stageEnd - 19.0, stageEnd - 19.0, 2},
        {2, stageEnd - 20.0, stageEnd - 20.0, 1},
        {2, 500.0, 500.0, 0},
        {9, -50.0, -50.0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " x " << c.x);
        Place(c.x, 400);
        EXPECT_EQ(obj.UpdateEdgeX(c.mode), c.code);
        EXPECT_DOUBLE_EQ(obj.m_X, c.xAfter);
        EXPECT_DOUBLE_EQ(obj.m_Right, c.xAfter + 19);
        EXPECT_EQ(obj.m_CellLeft, static_cast<int>(c.xAfter) >> 5);
    }
}

TEST_F(ObjectBase, VerticalEdgeCodes)
{
    const int stageEnd = (30 + 10) * 32;
    const int worldEnd = stageEnd + 640;
    struct Case {
        int mode;
        double y;
        double yAfter;
        int code;
    };
    const Case cases[] = {
        {2, -3.0, 0.0, 3},
        {2, worldEnd + 5.0, worldEnd - 24.0, 6},
        {2, 100.0, 100.0, 2},
        {2, stageEnd - 10.0, stageEnd - 10.0, 5},
        {2, 500.0, 500.0, 0},
        {1, 100.0, 320.0, 0},
        {1, stageEnd, stageEnd - 24.0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " y " << c.y);
        Place(400, c.y);
        EXPECT_EQ(obj.UpdateEdgeY(c.mode), c.code);
        EXPECT_DOUBLE_EQ(obj.m_Y, c.yAfter);
        EXPECT_DOUBLE_EQ(obj.m_Bottom, c.yAfter + 23);
    }
}

TEST_F(ObjectBase, ModeZeroTestsTheLowerLimitFirst)
{
    obj.m_Width = obj.m_Width0 = 2000;
    Place(100, 400);
    obj.UpdateEdgeX(0);
    EXPECT_EQ(obj.m_X, 320) << "a box wider than the range that lies below it ends at the minimum";
    Place(400, 400);
    obj.UpdateEdgeX(0);
    EXPECT_EQ(obj.m_X, 320 + 30 * 32 - 2000);
}

TEST_F(ObjectBase, ScalingKeepsTheHorizontalCentre)
{
    Place(500, 500);
    obj.SetScale(2, 1);
    EXPECT_DOUBLE_EQ(obj.m_X, 490);
    EXPECT_EQ(obj.m_Width, 40);
    EXPECT_EQ(obj.m_PicOffY, 16);
    EXPECT_EQ(obj.m_PicWidth, 64);
    obj.SetScale(2, 2);
    EXPECT_DOUBLE_EQ(obj.m_X, 490) << "a scale set to its current value changes nothing";
    // An odd width keeps the centre by whole pixels: (new - old) x (w >> 1).
    obj.m_Width0 = 21;
    Place(500, 500);
    obj.KeepCentreX(3, 1);
    EXPECT_DOUBLE_EQ(obj.m_X, 480);
}

TEST_F(ObjectBase, MotionIsClampedToTheSpeedLimit)
{
    Place(500, 500);
    obj.m_SpeedX = 100;
    obj.StepX(2);
    EXPECT_DOUBLE_EQ(obj.m_SpeedX, g_Stage.dMaxStep);
    EXPECT_DOUBLE_EQ(obj.m_X, 500 + g_Stage.dMaxStep);
    obj.m_SpeedY = std::numeric_limits<double>::quiet_NaN();
    obj.StepY(2);
    EXPECT_EQ(obj.m_SpeedY, 0) << "a speed gone bad stops";
    EXPECT_DOUBLE_EQ(obj.m_Y, 500);
    obj.ApplyGravity();
    EXPECT_DOUBLE_EQ(obj.m_SpeedY, 0.5);
    obj.SetFlyMode(1);
    obj.ApplyGravity();
    EXPECT_DOUBLE_EQ(obj.m_SpeedY, 0.5);
}

TEST_F(ObjectBase, InertiaDecaysToZeroWithoutChangingSign)
{
    struct Case {
        double v;
        int enabled;
        double after;
    };
    obj.m_Decel = 0.5;
    for (const Case c : {Case{0.3, 1, 0.0}, Case{-0.3, 1, 0.0}, Case{2.0, 1, 1.5},
                         Case{-2.0, 1, -1.5}, Case{2.0, 0, 2.0}, Case{0.0, 1, 0.0}}) {
        double v = c.v;
        obj.DecayInertia(v, c.enabled);
        EXPECT_DOUBLE_EQ(v, c.after) << c.v;
    }
}

TEST_F(ObjectBase, ScreenBoxAndVisibility)
{
    stage->m_ScrollX.m_Pos = 10.5;
    stage->m_ScrollY.m_Pos = 320;
    Place(100.2, 400);
    obj.UpdateEdgeX(-1);
    obj.UpdateEdgeY(-1);
    obj.UpdateScreenBox();
    EXPECT_EQ(obj.m_ScrLeft, 86) << "int(x - offset - int(scroll x))";
    EXPECT_EQ(obj.m_ScrRight, 86 + 31);
    EXPECT_EQ(obj.m_ScrTop, 72);
    EXPECT_EQ(obj.IsOnScreen(), 1);
    stage->m_ScrollX.m_Pos = 200;
    EXPECT_EQ(obj.IsOnScreen(), 0);
    EXPECT_EQ(obj.IsOnScreenAxes(1, 0), 1);
    EXPECT_EQ(obj.IsOnScreenAxes(1, 1), 1);
}

TEST_F(ObjectBase, RemovalAreas)
{
    cEdArea area;
    area.Set(1, 1, 1, 1, 2, 2, 2, 2);
    stage->m_ScrollX.m_Pos = 1000;
    stage->m_ScrollY.m_Pos = 500;
    Place(950, 600);
    obj.UpdateEdgeX(-1);
    obj.UpdateEdgeY(-1);
    obj.m_OnScreen = 1;
    EXPECT_EQ(obj.IsOutsideArea(cAreaBounds(area)), 0) << "an object on screen is kept";
    obj.m_OnScreen = 0;
    EXPECT_EQ(obj.IsOutsideArea(cAreaBounds(area)), 0) << "within 2 blocks of the view";
    Place(1000 - 64 - 20, 600);
    obj.UpdateEdgeX(-1);
    EXPECT_EQ(obj.IsOutsideArea(cAreaBounds(area)), 1);
    cEdArea none;
    none.Set(0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(obj.IsOutsideArea(cAreaBounds(none)), 0);
    Place(0, 600);
    obj.UpdateEdgeX(-1);
    EXPECT_EQ(obj.IsOutsideArea(cAreaBounds(none)), 1)
        << "touching the world's edge removes it whatever the switches";
}

TEST_F(ObjectBase, InsideTheStageOrTheWorld)
{
    const int stageEnd = (40 + 10) * 32;
    Place(stageEnd - 20, 400);
    obj.UpdateEdgeX(-1);
    obj.UpdateEdgeY(-1);
    EXPECT_EQ(obj.IsInsideStage(0), 1) << "the right edge on the stage's last pixel";
    Place(stageEnd - 19, 400);
    obj.UpdateEdgeX(-1);
    EXPECT_EQ(obj.IsInsideStage(0), 0);
    EXPECT_EQ(obj.IsInsideStage(1), 1);
}

} // namespace
