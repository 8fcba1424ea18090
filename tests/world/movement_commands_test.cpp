// The movement commands: their start handlers, the speeds by direction,
// angle and point, how speeds reach the character, and each movement kind
// from straight to jump; the computer character's move results.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "world/command_move.h"
#include "world/flow_fixture.h"

namespace {

using test::Command;
using test::Flow;
using test::MoveCommand;

constexpr double kInvSqrt2 = 0.7071067811865476;
constexpr int kStraight = 2;
constexpr int kTurnBack = 3;
constexpr int kCircle = 4;
constexpr int kCharge = 5;
constexpr int kHoming = 6;
constexpr int kAvoid = 7;
constexpr int kTurn = 9;
constexpr int kJump = 10;
constexpr int kTriggerOperated = 19;

class Movement : public test::FlowFixture {
protected:
    void SetUp() override
    {
        FlowFixture::SetUp();
        Floor(11, 0, 39);
        AddChara(20, 10);
        Start();
    }

    cNpcObj& Mover() { return Chara(0); }

    // The run of a single movement command installed on the mover, facing
    // as given; the mover is the current character with no current flow.
    cCommandRun& Install(const cEdCommand& command, int facing = 0)
    {
        cNpcObj& chara = Mover();
        chara.m_Facing = facing;
        chara.InstallFlows({Flow(kTriggerOperated, {command})}, facing, 0, -1);
        Play().m_CurChara = &chara;
        Play().m_CurFlowRun = &chara.m_FlowRuns[0];
        cCommandRun& run = chara.m_FlowRuns[0].m_Commands[0];
        run.Reset();
        return run;
    }

    // One sub-step's speeds of the executor, from a standstill.
    void StepSpeeds(cCommandRun& run, int (*exec)(cCharaObj&, cCommandRun&))
    {
        Mover().m_SpeedX = Mover().m_SpeedY = 0;
        exec(Mover(), run);
    }
};

TEST_F(Movement, StraightAngleByCopyAndFacing)
{
    struct Case {
        int angle, step, copy, mirror, facing;
        int want;
    };
    const Case cases[] = {
        {30, 0, 0, 1, 1, 330}, {30, 0, 0, 1, 0, 30},   {30, 0, 0, 0, 1, 30},
        {400, 0, 0, 0, 0, 40}, {350, 20, 1, 0, 0, 10}, {720, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Mover().m_CopyNo = static_cast<std::int16_t>(c.copy);
        const cCommandRun& run =
            Install(MoveCommand(kStraight, 10,
                                [&](cEdMove& m) {
                                    m.m_Angle = static_cast<std::int16_t>(c.angle);
                                    m.m_AngleStep = static_cast<std::int16_t>(c.step);
                                    m.m_AngleMirror = static_cast<std::uint8_t>(c.mirror);
                                }),
                    c.facing);
        EXPECT_EQ(run.m_Angle, c.want) << c.angle << " " << c.facing;
    }
}

TEST_F(Movement, SpeedsByDirectionAndAngle)
{
    cNpcObj& chara = Mover();
    chara.m_Def.bFixedFacing = 0;
    const double s = 2.0;
    struct Case {
        int code, angle;
        int flying;
        double vx, vy;
        int request;
    };
    const Case cases[] = {
        {2, 0, 0, -s, 0, 1},
        {3, 0, 1, s, 0, 2},
        {6, 0, 0, 0, 0, 0}, // a walker does not go up
        {6, 0, 1, 0, -s, 0},
        {10, 0, 1, s * kInvSqrt2, -s * kInvSqrt2, 2},
        {10, 0, 0, s * kInvSqrt2, 0, 2},
        {9, 0, 1, -s * kInvSqrt2, s * kInvSqrt2, 1},
        {10, 10, 1, -std::cos(145 * M_PI / 180) * s, -std::sin(145 * M_PI / 180) * s, 2},
        {2, 90, 1, -std::cos(M_PI / 2) * s, -s, 1},
        {0, 0, 1, -s, 0, 1}, // in front, facing left
        {1, 0, 1, s, 0, 2},
        {4, 0, 1, 0, -s, 0}, // in front, vertically, facing left: up
        {5, 0, 1, 0, s, 0},
    };
    for (const Case& c : cases) {
        chara.m_Facing = 0;
        chara.m_Flying = c.flying;
        double vx = 9;
        double vy = 9;
        int request = 7;
        if (c.angle)
            SpeedByAngle(chara, vx, vy, request, s, c.code, c.angle);
        else
            SpeedByDirection(chara, vx, vy, request, s, c.code);
        EXPECT_NEAR(vx, c.vx, 1e-12) << c.code << " " << c.angle;
        EXPECT_NEAR(vy, c.vy, 1e-12) << c.code << " " << c.angle;
        EXPECT_EQ(request, c.request) << c.code;
    }
    // A character that turns only by command asks for no facing.
    chara.m_Def.bFixedFacing = 1;
    int request = 7;
    double vx = 0;
    double vy = 0;
    SpeedByDirection(chara, vx, vy, request, s, 2);
    EXPECT_EQ(request, 7);
}

TEST_F(Movement, InputDirectionComesFromTheFlowThatFired)
{
    cNpcObj& chara = Mover();
    cFlowRun flow;
    Play().m_CurFlowRun = &flow;
    struct Case {
        int fireDir, flying, facing;
        int want;
    };
    const Case cases[] = {
        {0, 0, 1, 3}, {1, 0, 1, 2}, {3, 1, 0, 6}, {5, 1, 0, 8},
        {5, 0, 0, 2}, {8, 0, 0, 3}, {9, 0, 0, 2},
    };
    for (const Case& c : cases) {
        flow.m_FireDir = c.fireDir;
        chara.m_Flying = c.flying;
        chara.m_Facing = c.facing;
        EXPECT_EQ(ResolveDirection(chara, 12), c.want) << c.fireDir << " " << c.flying;
    }
}

TEST_F(Movement, SpeedTowardAPoint)
{
    cNpcObj& chara = Mover();
    chara.m_Def.bFixedFacing = 0;
    chara.RefreshScreenBox();
    cEdMove move;
    move.m_CoordMode = 1; // the offsets are the distance
    double vx = 0;
    double vy = 0;
    int request = 0;
    int remaining = 0;
    SpeedTowardPoint(chara, vx, vy, request, 2.0, -30, 40, move, remaining);
    EXPECT_DOUBLE_EQ(vx, -1.2);
    EXPECT_DOUBLE_EQ(vy, 1.6);
    EXPECT_EQ(request, 1);
    EXPECT_EQ(remaining, 25) << "arrives in 50 / 2 sub-steps";
    move.m_UseY = 0;
    move.m_StopOnArrival = 0;
    remaining = 99;
    SpeedTowardPoint(chara, vx, vy, request, 2.0, -30, 40, move, remaining);
    EXPECT_DOUBLE_EQ(vx, -2.0);
    EXPECT_DOUBLE_EQ(vy, 0.0);
    EXPECT_EQ(remaining, 99);
    // On the point: no speed.
    SpeedTowardPoint(chara, vx, vy, request, 2.0, 0, 40, move, remaining);
    EXPECT_EQ(vx, 0);
    EXPECT_EQ(request, 0);
}

TEST_F(Movement, SpeedsReachTheCharacter)
{
    cNpcObj& chara = Mover();
    chara.m_Def.bFixedFacing = 0;
    cEdMove move;
    cCommandRun run;
    chara.m_Facing = 1;
    chara.m_SpeedX = 1;
    EXPECT_EQ(ApplyMoveSpeeds(chara, -2, 0, 1, run, move, 0), 1);
    EXPECT_EQ(chara.m_SpeedX, -1);
    EXPECT_EQ(chara.m_Facing, 0);
    EXPECT_EQ(chara.m_MovedByCommand, 1);
    EXPECT_EQ(chara.m_Anime.CurrentSequence(), 1);
    // Keeping the facing, and the animation (the switch's value is the result).
    move.m_KeepFacing = 1;
    move.m_KeepAnime = 1;
    chara.m_MovedByCommand = 0;
    EXPECT_EQ(ApplyMoveSpeeds(chara, 2, 0, 2, run, move, 1), 1);
    EXPECT_EQ(chara.m_Facing, 0);
    EXPECT_EQ(chara.m_MovedByCommand, 0);
    // With inertia the walking speed reaches the command's in 60 frames.
    move = cEdMove();
    move.m_Inertia = 1;
    move.m_TurnFactor = 3.0;
    run.m_MaxSpeed = 100;
    chara.m_InertiaX = 0;
    for (int i = 0; i < 60 * 2; ++i) {
        chara.m_DecelX = 1;
        ApplyMoveSpeeds(chara, 4.0, 0, 0, run, move, 0);
        EXPECT_EQ(chara.m_DecelX, 0) << "no slowing while it accelerates";
    }
    EXPECT_NEAR(chara.m_InertiaX, 4.0, 1e-9);
    // Against the current speed the amount is scaled by the turn factor.
    chara.m_DecelX = 1;
    ApplyMoveSpeeds(chara, -4.0, 0, 0, run, move, 0);
    EXPECT_NEAR(chara.m_InertiaX, 4.0 - 3.0 * 4.0 / 120, 1e-9);
    EXPECT_EQ(chara.m_DecelX, 1);
    // Never beyond the run's maximum.
    run.m_MaxSpeed = 1.5;
    ApplyMoveSpeeds(chara, 4.0, 0, 0, run, move, 0);
    EXPECT_DOUBLE_EQ(chara.m_InertiaX, 1.5);
}

TEST_F(Movement, StraightKeepsItsSpeedsAndTurnsWithTheFacing)
{
    cNpcObj& chara = Mover();
    cCommandRun& run = Install(MoveCommand(kStraight, 10, [](cEdMove& m) {
        m.m_Dir = 10; // up-right
        m.m_Speed = 20;
    }));
    chara.m_Flying = 1;
    StepSpeeds(run, ExecStraightMove);
    EXPECT_NEAR(chara.m_SpeedX, kInvSqrt2, 1e-12);
    EXPECT_NEAR(chara.m_SpeedY, -kInvSqrt2, 1e-12);
    // Landing: a walker keeps only the horizontal part.
    chara.m_Flying = 0;
    StepSpeeds(run, ExecStraightMove);
    EXPECT_NEAR(chara.m_SpeedX, kInvSqrt2, 1e-12);
    EXPECT_EQ(chara.m_SpeedY, 0);
    // Turned by a command, it goes back the other way.
    chara.m_Facing = 1;
    StepSpeeds(run, ExecStraightMove);
    EXPECT_NEAR(chara.m_SpeedX, -kInvSqrt2, 1e-12);
}

TEST_F(Movement, GroundTurnBackTurnsAtLedges)
{
    g_Stage.PlacedBlocks.clear();
    Floor(11, 15, 20); // a platform of columns 15 to 20
    Floor(11, 30, 30); // a single block
    m_Play = std::make_unique<cGamePlay>();
    Start();
    cNpcObj& chara = Mover();
    const cCommandRun& run =
        Install(MoveCommand(kTurnBack, 10, [](cEdMove& m) { m.m_Speed = 20; }), 1);
    cCommandRun& walk = chara.m_FlowRuns[0].m_Commands[0];
    auto standAt = [&](double x) {
        chara.m_X = x;
        chara.OnMovedX();
        chara.m_Facing = 1;
    };
    struct Case {
        double x;
        int facing;
    };
    // Map column c starts at (c + 10) x 32: the platform ends at 992.
    const Case cases[] = {
        {980, 0},  // right foot beyond the platform's end: turns left
        {800, 1},  // both feet on the platform
        {1288, 1}, // both feet over the single block
        {1270, 1}, // only the right foot on it: faces right
        {1300, 0}, // only the left foot on it: faces left
    };
    for (const Case& c : cases) {
        standAt(c.x);
        StepSpeeds(walk, ExecGroundTurnBack);
        EXPECT_EQ(chara.m_Facing, c.facing) << c.x;
    }
    EXPECT_DOUBLE_EQ(run.m_Speed, 1.0);
    // At the world's edge the probes look outside the map: nothing there.
    standAt(0);
    chara.m_Y = 2000;
    chara.OnMovedY();
    StepSpeeds(walk, ExecGroundTurnBack);
    EXPECT_EQ(chara.m_Facing, 1);
    // Pushed by a solid character: it turns back and goes with it.
    chara.m_Rider = 1;
    StepSpeeds(walk, ExecGroundTurnBack);
    EXPECT_EQ(chara.m_Facing, 0);
    EXPECT_EQ(chara.m_SpeedX, -1.0);
    EXPECT_EQ(chara.m_Rider, 0);
    // Flying characters ignore the command.
    chara.m_Flying = 1;
    StepSpeeds(walk, ExecGroundTurnBack);
    EXPECT_EQ(chara.m_SpeedX, 0);
}

TEST_F(Movement, CircleRadiusIsClampedAndTheCircleCloses)
{
    cNpcObj& chara = Mover();
    const cCommandRun& wide =
        Install(MoveCommand(kCircle, 10, [](cEdMove& m) { m.m_Radius = 25; }));
    EXPECT_EQ(wide.m_Radius, 20 * 16 * 2);
    // A zero duration or speed leaves the other value as it was.
    const cCommandRun& noTime = Install(MoveCommand(kCircle, 0, [](cEdMove& m) {
        m.m_Radius = 2;
        m.m_Distance = 360;
        m.m_Speed = 30;
    }));
    EXPECT_DOUBLE_EQ(noTime.m_Speed, 1.5);
    const cCommandRun& noSpeed = Install(MoveCommand(kCircle, 10, [](cEdMove& m) {
        m.m_Radius = 2;
        m.m_Distance = 360;
        m.m_Speed = 0;
        m.m_CalcMode = 1;
    }));
    EXPECT_EQ(noSpeed.m_Duration, 120);
    // A whole turn of radius 2 hbl in 120 sub-steps, integrated by hand.
    cCommandRun& turn = Install(MoveCommand(kCircle, 10, [](cEdMove& m) {
        m.m_Radius = 2;
        m.m_Distance = 360;
    }));
    EXPECT_DOUBLE_EQ(turn.m_Speed, 3.0) << "degrees per sub-step";
    chara.m_Flying = 1;
    double x = 0;
    double y = 0;
    double farthest = 0;
    for (int i = 0; i < turn.m_Duration; ++i) {
        StepSpeeds(turn, ExecCircleMove);
        x += chara.m_SpeedX;
        y += chara.m_SpeedY;
        farthest = std::max(farthest, std::hypot(x, y));
    }
    EXPECT_NEAR(x, 0, 1e-9);
    EXPECT_NEAR(y, 0, 1e-9);
    EXPECT_NEAR(farthest, 64, 0.2) << "the diameter";
}

TEST_F(Movement, ChargeAimsOnceAtTheTarget)
{
    cNpcObj& chara = Mover();
    chara.m_Def.bFixedFacing = 0;
    cCommandRun& run = Install(MoveCommand(kCharge, 10, [](cEdMove& m) { m.m_Speed = 20; }));
    cPlayerObj& player = Player();
    chara.RefreshScreenBox();
    player.UpdatePlayerScreenBox();
    // No target: no speed, and it tries again later.
    Play().SetTarget(chara, -1);
    StepSpeeds(run, ExecChargeMove);
    EXPECT_EQ(chara.m_SpeedX, 0);
    EXPECT_EQ(run.m_Started, 0);
    // A walker charges along x toward the player on its left.
    Play().SetTarget(chara, player.m_ObjNo);
    StepSpeeds(run, ExecChargeMove);
    EXPECT_EQ(chara.m_SpeedX, -1.0);
    EXPECT_EQ(chara.m_Facing, 0);
    EXPECT_EQ(run.m_Started, 1);
    // It does not aim again: the player moving behind it changes nothing.
    player.m_ScrLeft += 2000;
    StepSpeeds(run, ExecChargeMove);
    EXPECT_EQ(chara.m_SpeedX, -1.0);
    // A flyer charges straight at the point.
    chara.m_Flying = 1;
    cCommandRun& flying = Install(MoveCommand(kCharge, 10, [](cEdMove& m) { m.m_Speed = 20; }));
    player.UpdatePlayerScreenBox();
    player.m_ScrTop = chara.m_ScrTop - 300;
    player.m_ScrLeft = chara.m_ScrLeft - 400 + ((chara.m_PicWidth - player.m_PicWidth) >> 1);
    StepSpeeds(flying, ExecChargeMove);
    EXPECT_NEAR(chara.m_SpeedX, -0.8, 1e-12);
    EXPECT_NEAR(chara.m_SpeedY, -0.6, 1e-12);
    // A dying target is not charged at.
    cCommandRun& late = Install(MoveCommand(kCharge, 10, [](cEdMove& m) { m.m_Speed = 20; }));
    player.m_Dying = 1;
    StepSpeeds(late, ExecChargeMove);
    EXPECT_EQ(chara.m_SpeedX, 0);
    EXPECT_EQ(late.m_Started, 0);
    player.m_Dying = 0;
}

TEST_F(Movement, HomingFollowsTheTargetsPathOneIntervalLate)
{
    cNpcObj& chara = Mover();
    chara.m_Def.bFixedFacing = 0;
    chara.RefreshScreenBox();
    // 30 frames at 2 sub-steps: a new aim every 60 sub-steps.
    cCommandRun& run = Install(MoveCommand(kHoming, 100, [](cEdMove& m) {
        m.m_Speed = 20;
        m.m_Radius = 30;
    }));
    ASSERT_EQ(run.m_Interval, 60);
    cPlayerObj& player = Player();
    Play().SetTarget(chara, player.m_ObjNo);
    const int left = chara.m_ScrLeft - 200;
    const int right = chara.m_ScrLeft + 200;
    std::vector<double> aims;
    for (int t = 0; t <= 180; ++t) {
        // The target stands left of the mover until sub-step 90, then right.
        player.m_ScrLeft = t <= 90 ? left : right;
        StepSpeeds(run, ExecHomingMove);
        if (t % 60 == 0) aims.push_back(chara.m_SpeedX);
    }
    // Aims at 0 and 60 and 120 go left (the point of 0, 0 and 60), at 180 right (of 120).
    EXPECT_EQ(aims, (std::vector<double>{-1.0, -1.0, -1.0, 1.0}));
    // No target: nothing, not even the count.
    const int count = run.m_Repeat;
    Play().SetTarget(chara, -1);
    StepSpeeds(run, ExecHomingMove);
    EXPECT_EQ(run.m_Repeat, count);
    EXPECT_EQ(chara.m_SpeedX, 0);
}

TEST_F(Movement, AvoidingTheScreensEdges)
{
    cNpcObj& chara = Mover();
    cCommandRun& run = Install(MoveCommand(kAvoid, 10, [](cEdMove& m) {
        m.m_Speed = 20;
        m.m_Dir = 2; // keeps away from the right edge by moving left
    }));
    struct Case {
        int screenLeft;
        double vx;
    };
    const Case cases[] = {{620, -1.0}, {600, 0.0}};
    for (const Case& c : cases) {
        chara.m_ScrLeft = c.screenLeft;
        chara.m_ScrRight = c.screenLeft + 31;
        StepSpeeds(run, ExecAvoidMove);
        EXPECT_EQ(chara.m_SpeedX, c.vx) << c.screenLeft;
    }
    // While the view scrolls, it keeps pace with it.
    Play().m_ScrollX.m_Speed = 2.0;
    Play().m_ScrollX.m_AtLimit = 0;
    Play().m_ScrollX.m_Pos = 400;
    chara.m_ScrLeft = 620;
    StepSpeeds(run, ExecAvoidMove);
    EXPECT_EQ(chara.m_SpeedX, 1.0);
}

TEST_F(Movement, DisablingAndTurning)
{
    cNpcObj& chara = Mover();
    chara.m_SpeedX = chara.m_SpeedY = chara.m_InertiaX = chara.m_KnockX = 3;
    cCommandRun none;
    ExecDisableMove(chara, none);
    EXPECT_EQ(chara.m_SpeedX + chara.m_SpeedY + chara.m_InertiaX + chara.m_KnockX, 0);
    EXPECT_EQ(chara.m_NoGravity, 1);

    cPlayerObj& player = Player(); // left of the mover
    struct Case {
        int mode, fixed, wallSide, hasTarget;
        int facing;
    };
    const Case cases[] = {
        {0, 1, -1, 1, 0}, {1, 1, -1, 1, 1}, {2, 1, -1, 1, 0}, {3, 1, -1, 1, 1}, {4, 1, 1, 1, 1},
        {5, 1, 1, 1, 0},  {4, 1, -1, 1, 1}, {2, 1, -1, 0, 1}, {0, 0, -1, 1, 1},
    };
    for (const Case& c : cases) {
        cCommandRun& run = Install(Command(kTurn, 10, {c.mode}), 1);
        chara.m_Facing = 1;
        chara.m_Def.bFixedFacing = static_cast<std::uint8_t>(c.fixed);
        chara.m_WallSide = c.wallSide;
        Play().SetTarget(chara, c.hasTarget ? player.m_ObjNo : -1);
        ExecTurn(chara, run);
        EXPECT_EQ(chara.m_Facing, c.facing) << c.mode << " " << c.fixed;
        // Without a target the turn toward it is not counted.
        EXPECT_EQ(run.m_Repeat, c.fixed && c.hasTarget ? 1 : 0) << c.mode;
    }
    // It acts once every 6 frames: 12 sub-steps.
    cCommandRun& run = Install(Command(kTurn, 10, {1}), 1);
    chara.m_Def.bFixedFacing = 1;
    int turns = 0;
    for (int i = 0; i < 36; ++i) {
        chara.m_Facing = 0;
        ExecTurn(chara, run);
        turns += chara.m_Facing;
    }
    EXPECT_EQ(turns, 3);
}

TEST_F(Movement, ComputerJumpIsRefusedForTheFirstReason)
{
    cNpcObj& chara = Mover();
    cEdCommand jump = Command(kJump, 0, {0, 0, 3, 0, 0});
    jump.m_Sound = 4;
    cCommandRun& run = Install(jump);
    EXPECT_LT(run.m_Speed, 0);
    struct Case {
        int airborne, latch, knockback, airSteps;
        int result;
    };
    const Case cases[] = {{1, 2, 3, 4, 1}, {0, 2, 3, 4, 2}, {0, 0, 3, 4, 3}, {0, 0, 0, 4, 4}};
    for (const Case& c : cases) {
        chara.m_Airborne = c.airborne;
        chara.m_JumpLatch = c.latch;
        chara.m_Knockback = c.knockback;
        chara.m_AirSteps = c.airSteps;
        chara.m_SpeedY = 0;
        EXPECT_EQ(chara.Jump(run), c.result);
        EXPECT_EQ(chara.m_SpeedY, 0);
    }
    chara.m_AirSteps = 0;
    chara.m_Riding = 1;
    m_Services->m_Sounds.clear();
    EXPECT_EQ(ExecJump(chara, run), 1);
    EXPECT_EQ(chara.m_SpeedY, run.m_Speed);
    EXPECT_EQ(chara.m_Jumping, 1);
    EXPECT_EQ(chara.m_JumpEnded, 1);
    EXPECT_EQ(chara.m_Riding, 0);
    EXPECT_EQ(m_Services->m_Sounds, std::vector<std::uint32_t>{4 + 16});
}

TEST_F(Movement, MoveResultsAtTheWorldsEdges)
{
    cNpcObj& chara = Mover();
    const cScrollAxis& ax = Play().m_ScrollX;
    const cScrollAxis& ay = Play().m_ScrollY;
    struct Case {
        const char* name;
        int flying;
        double x, y, vx, vy;
        int moveX, moveY;
    };
    const Case cases[] = {
        {"walks off the world's left", 0, 1, 500, -5, 0, 4, 0},
        {"walks off the world's right", 0, ax.m_Outer - 17.0, 500, 5, 0, 4, 0},
        {"falls below the stage", 0, 600, ay.m_Full - 20.0, 0, 5, 0, 7},
        {"flies out through the top", 1, 600, 1, 0, -5, 0, 8},
        {"flies out through the bottom", 1, 600, ay.m_Outer - 25.0, 0, 5, 0, 8},
        {"flies below the stage", 1, 600, ay.m_Full - 20.0, 0, 5, 0, 5},
    };
    for (const Case& c : cases) {
        chara.m_Flying = c.flying;
        chara.m_KnockX = chara.m_KnockY = 0;
        chara.m_InertiaX = chara.m_InertiaY = 0;
        chara.m_X = c.x;
        chara.m_Y = c.y;
        chara.m_SpeedX = c.vx;
        chara.m_SpeedY = c.vy;
        EXPECT_EQ(chara.MoveX(), c.moveX) << c.name;
        EXPECT_EQ(chara.MoveY(), c.moveY) << c.name;
    }
}

} // namespace
