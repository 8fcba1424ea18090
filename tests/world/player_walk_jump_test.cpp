// The hero walks and jumps by its flows from recorded input, frame by
// frame through the play step: the positions follow traces worked out by
// hand from the jump speed, gravity and the speed limit, for the three
// jump height modes.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "world/flow_fixture.h"
#include "world/input_script.h"

namespace {

using test::Command;
using test::Flow;
using test::Key;
using test::kSlotButton1;
using test::kSlotRight;

constexpr int kStraight = 2;
constexpr int kJump = 10;
constexpr int kPressed = 1;
// The floor's top edge: the hero stands on block row 11.
constexpr double kFloorTop = (11 + 10) * 32;

class WalkJump : public test::FlowFixture {
protected:
    // A hero that walks right while the direction is held and jumps when
    // button 1 is pressed, with the jump command's parameters; on a floor.
    void StartHero(int speedLevel, std::initializer_list<int> jump)
    {
        g_Stage.nSpeedLevel = speedLevel;
        g_Stage.SetSpeedLevel(speedLevel);
        Floor(11, 0, 39);
        cEdFlow walk = Flow(0, {test::MoveCommand(kStraight, 0, [](cEdMove& m) {
                                m.m_Dir = 3;
                                m.m_Speed = 20;
                            })});
        walk.m_KeyConds = {Key({{kSlotRight, kPressed}})};
        walk.m_KeyRepeat = 1;
        cEdFlow leap = Flow(0, {Command(kJump, 0, jump)});
        leap.m_KeyConds = {Key({{kSlotButton1, kPressed}})};
        Hero().Flows = {walk, leap};
        Start();
        // Settle on the floor.
        for (int i = 0; i < 20; ++i)
            Frame();
    }

    // Plays the script; the hero's y after each frame.
    std::vector<double> PlayScript(const cInputScript& script)
    {
        std::vector<double> ys;
        for (int n = 0; n < script.FrameCount(); ++n) {
            const InputFrame f = script.At(n);
            Frame(f.m_Dir, f.m_Buttons);
            ys.push_back(Player().m_Y);
        }
        return ys;
    }

    cCommandRun& JumpRun() { return Player().m_FlowRuns[1].m_Commands[0]; }

    // The player's start speed for a height in pixels.
    static double StartSpeed(double height)
    {
        const double g = g_Stage.dGravityStep;
        return (-g - std::sqrt(g * (g + 8 * height))) * 0.5 * (0.99 - 0.025 * g_Stage.dGravity);
    }
};

// The y after each frame of a jump from y0 starting in the first sub-step
// of frame 0: every sub-step gravity, then the speed limit, then the move;
// `cut` is the frame whose first sub-step keeps 0.3 of a rising speed.
// Ends when the box would reach the floor.
std::vector<double> HandTrace(double y0, double v0, int cut = -1)
{
    const int b = g_Stage.nSubSteps;
    const double g = g_Stage.dGravityStep;
    const double limit = g_Stage.dMaxStep;
    std::vector<double> ys;
    double y = y0;
    double v = v0;
    for (int frame = 0;; ++frame) {
        for (int s = 0; s < b; ++s) {
            if (frame == cut && s == 0 && v < 0) v *= 0.3;
            v = std::clamp(v + g, -limit, limit);
            y += v;
        }
        if (y + 23 >= kFloorTop) return ys;
        ys.push_back(y);
    }
}

TEST_F(WalkJump, WalksWhileTheDirectionIsHeld)
{
    for (int level : {1, 2}) {
        g_Stage.PlacedBlocks.clear();
        m_Play = std::make_unique<cGamePlay>();
        StartHero(level, {0, 0, 2, 0, 0});
        const double x0 = Player().m_X;
        cInputScript script;
        script.Hold(kDirRight, 0, 5).Hold(0, 0, 3).Hold(kDirRight, 0, 2);
        std::vector<double> xs;
        for (int n = 0; n < script.FrameCount(); ++n) {
            Frame(script.At(n).m_Dir, script.At(n).m_Buttons);
            xs.push_back(Player().m_X - x0);
        }
        // 2 pixels a frame, all in the frame's first sub-step (the flow
        // fires once a frame; its move lasts one sub-step).
        const double step = 2.0 / level;
        const std::vector<double> want = {1, 2, 3, 4, 5, 5, 5, 5, 6, 7};
        for (std::size_t i = 0; i < want.size(); ++i)
            EXPECT_DOUBLE_EQ(xs[i], want[i] * step) << level << " frame " << i;
    }
}

TEST_F(WalkJump, HeightNotAdjustableByTheKey)
{
    for (int level : {1, 2}) {
        g_Stage.PlacedBlocks.clear();
        m_Play = std::make_unique<cGamePlay>();
        StartHero(level, {0, 0, 2, 0, 0});
        const double y0 = Player().m_Y;
        const double v0 = StartSpeed(32);
        ASSERT_DOUBLE_EQ(JumpRun().m_Speed, v0);
        cInputScript script;
        script.Hold(0, 1, 2).Hold(0, 0, 60);
        const std::vector<double> ys = PlayScript(script);
        const std::vector<double> want = HandTrace(y0, v0);
        ASSERT_GT(want.size(), 10u);
        for (std::size_t i = 0; i < want.size(); ++i)
            EXPECT_NEAR(ys[i], want[i], 1e-9) << level << " frame " << i;
        // Back on the floor at the end.
        EXPECT_NEAR(ys.back() + 23, kFloorTop - 1, 1.0);
        EXPECT_EQ(Player().m_Airborne, 0);
    }
}

TEST_F(WalkJump, HeightByTheKey)
{
    StartHero(1, {1, 0, 2, 0, 0});
    const double y0 = Player().m_Y;
    const double v0 = StartSpeed(32);
    ASSERT_EQ(JumpRun().m_Duration, 18) << "the rise of 2 hbl, in whole tenths";
    // Released after 3 of the jump's sub-steps: the rise is cut once.
    cInputScript released;
    released.Hold(0, 1, 3).Hold(0, 0, 60);
    std::vector<double> ys = PlayScript(released);
    std::vector<double> want = HandTrace(y0, v0, 3);
    ASSERT_GT(want.size(), 4u);
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(ys[i], want[i], 1e-9) << "frame " << i;
    // Held to the end of the jump's time: no cut.
    const double y1 = Player().m_Y;
    cInputScript held;
    held.Hold(0, 1, 40).Hold(0, 0, 40);
    ys = PlayScript(held);
    want = HandTrace(y1, v0);
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(ys[i], want[i], 1e-9) << "frame " << i;
}

TEST_F(WalkJump, HeightBySpeed)
{
    // Fast 3.0 and slow 1.0 pixels a frame at b = 1; heights 10 and 2 hbl.
    StartHero(1, {2, 30, 10, 10, 2});
    struct Case {
        double inertia;
        int height;
    };
    const Case cases[] = {
        {3.0, 10},   // at the fast threshold
        {-3.5, 10},  // beyond it, either way
        {2.999, 9},  // just below: int(8 x 2.999 / 3) + 2
        {1.0, 2},    // at the slow threshold
        {1.0001, 4}, // just above it: not the slow height
        {0, 2},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 60; ++i)
            Frame();
        ASSERT_EQ(Player().m_Airborne, 0);
        Player().m_InertiaX = c.inertia;
        Frame(0, 1);
        EXPECT_DOUBLE_EQ(JumpRun().m_Speed, Player().JumpSpeedHbl(c.height)) << c.inertia;
        Player().m_InertiaX = 0;
    }
}

} // namespace
