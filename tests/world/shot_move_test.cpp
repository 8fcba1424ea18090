// The shot movement kinds: aim once, home between two distances, wave
// across the flight line, fall.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "world/contact_fixture.h"
#include "world/shot_moves.h"
#include "world/shot_obj.h"

namespace {

using test::ContactStage;

class ShotMoves : public ContactStage {
protected:
    // A shot of group 1 moving right at 4 pixels a frame (speed 40) from
    // (600, 500), with a movement kind and its parameters.
    cShotObj& Moving(int kind, int p1, int p2 = 0, int p3 = 0, int speed = 40)
    {
        cEdShot def = ShotDef();
        def.m_MoveKind = static_cast<std::uint8_t>(kind);
        def.m_MoveParams[0] = static_cast<std::int16_t>(p1);
        def.m_MoveParams[1] = static_cast<std::int16_t>(p2);
        def.m_MoveParams[2] = static_cast<std::int16_t>(p3);
        def.m_Speed = static_cast<std::int16_t>(speed);
        cNpcObj shooter;
        shooter.m_Group = 1;
        shooter.m_Operator = 1;
        shooter.m_TargetNo = targetNo;
        ShotFireRequest request;
        request.m_X = 600;
        request.m_Y = 500;
        request.m_Speed = speed * 0.1;
        request.m_VX = speed * 0.1;
        cShotObj shot;
        shot.SetupShot(shooter, 11, def, request);
        cShotObj& stored = stage.AddShot(shot);
        ++stage.m_BlockSerial;
        return stored;
    }

    // The unit direction from the shot's screen centre to a character's.
    static void Toward(cShotObj& shot, const cCharaObj& c, double& ux, double& uy)
    {
        shot.UpdateScreenBox();
        const double dx =
            (c.m_ScrLeft + (c.m_PicWidth >> 1)) - (shot.m_ScrLeft + (shot.m_PicWidth >> 1));
        const double dy =
            (c.m_ScrTop + (c.m_PicHeight >> 1)) - (shot.m_ScrTop + (shot.m_PicHeight >> 1));
        const double d = std::sqrt(dx * dx + dy * dy);
        ux = dx / d;
        uy = dy / d;
    }

    cNpcObj& Target(int group, double x, double y)
    {
        cNpcObj& c = AddChara(group, {x, y, 32, 32});
        c.UpdateScreenBox();
        return c;
    }

    int targetNo = -1;
};

TEST_F(ShotMoves, AimOnceAtTheHeroAfterTheDistanceOfParameterOne)
{
    PlaceHero(600, 300);
    Hero().UpdatePlayerScreenBox();
    cShotObj& shot = Moving(1, 2);
    // 32 pixels at 4 a sub-step: the turn comes on tick 8.
    for (int tick = 0; tick < 8; ++tick) {
        shot.StepShot();
        EXPECT_EQ(shot.m_OwnSpeedX, 4);
        EXPECT_EQ(shot.m_OwnSpeedY, 0);
    }
    double ux = 0, uy = 0;
    Toward(shot, Hero(), ux, uy);
    shot.StepShot();
    EXPECT_EQ(shot.m_ChangeTick, 8);
    EXPECT_NEAR(shot.m_OwnSpeedX, 4 * ux, 1e-12);
    EXPECT_NEAR(shot.m_OwnSpeedY, 4 * uy, 1e-12);
    EXPECT_EQ(shot.m_MoveDone, 1);
    const double vx = shot.m_OwnSpeedX;
    PlaceHero(900, 700);
    Hero().UpdatePlayerScreenBox();
    shot.StepShot();
    EXPECT_EQ(shot.m_OwnSpeedX, vx);
}

TEST_F(ShotMoves, AimingTurnsAtOnceWithoutDistanceOrSpeed)
{
    PlaceHero(600, 300);
    Hero().UpdatePlayerScreenBox();
    for (const int speed : {40, 0}) {
        cShotObj& shot = Moving(1, speed ? 0 : 5, 0, 0, speed);
        shot.StepShot();
        EXPECT_EQ(shot.m_ChangeTick, 0);
        EXPECT_EQ(shot.m_MoveDone, 1);
    }
}

TEST_F(ShotMoves, AimAtTheNearestOfAGroupOrAtTheTarget)
{
    cNpcObj& far = Target(3, 600, 200);
    cNpcObj& near = Target(3, 800, 500);
    Target(4, 640, 500);
    cShotObj& nearest = Moving(2, 0, 3);
    double ux = 0, uy = 0;
    Toward(nearest, near, ux, uy);
    nearest.StepShot();
    EXPECT_NEAR(nearest.m_OwnSpeedX, 4 * ux, 1e-12);
    EXPECT_NEAR(nearest.m_OwnSpeedY, 4 * uy, 1e-12);

    targetNo = far.m_ObjNo;
    cShotObj& targeted = Moving(3, 0);
    Toward(targeted, far, ux, uy);
    targeted.StepShot();
    EXPECT_NEAR(targeted.m_OwnSpeedY, 4 * uy, 1e-12);

    // A dying target, or none: the course stays, the movement still ends.
    far.m_Dying = 1;
    cShotObj& orphan = Moving(3, 0);
    orphan.StepShot();
    EXPECT_EQ(orphan.m_OwnSpeedX, 4);
    EXPECT_EQ(orphan.m_MoveDone, 1);
}

TEST_F(ShotMoves, HomingSteersBetweenItsTwoDistances)
{
    PlaceHero(600, 300);
    Hero().UpdatePlayerScreenBox();
    // From 16 pixels (tick 4) to 32 (tick 8).
    cShotObj& shot = Moving(4, 1, 2);
    std::vector<bool> steered;
    for (int i = 0; i < 10; ++i) {
        const double before = shot.m_OwnSpeedY;
        PlaceHero(600 + 20 * i, 300 + 40 * i);
        Hero().UpdatePlayerScreenBox();
        shot.StepShot();
        steered.push_back(shot.m_OwnSpeedY != before);
    }
    EXPECT_EQ(steered, (std::vector<bool>{false, false, false, false, true, true, true, true, false,
                                          false}));
    EXPECT_EQ(shot.m_MoveDone, 1);
    // An end distance of 0 never homes.
    cShotObj& never = Moving(4, 0, 0);
    for (int i = 0; i < 5; ++i)
        never.StepShot();
    EXPECT_EQ(never.m_OwnSpeedY, 0);
}

TEST_F(ShotMoves, HomingOnTheTargetKeepsItsCourseWhenTheTargetDies)
{
    cNpcObj& target = Target(3, 600, 300);
    targetNo = target.m_ObjNo;
    cShotObj& shot = Moving(6, 0, 10);
    target.m_AimedShots.push_back(shot.m_ObjNo);
    shot.StepShot();
    const double vx = shot.m_OwnSpeedX, vy = shot.m_OwnSpeedY;
    EXPECT_LT(vy, 0);
    target.KillChara();
    EXPECT_EQ(shot.m_TargetNo, -1);
    shot.StepShot();
    EXPECT_EQ(shot.m_OwnSpeedX, vx);
    EXPECT_EQ(shot.m_OwnSpeedY, vy);
}

TEST_F(ShotMoves, TheTwoNearestCharacterKindsChooseAgainEverySubStep)
{
    cNpcObj& first = Target(3, 600, 300);
    cNpcObj& second = Target(3, 600, 800);
    for (const int kind : {5, 7}) {
        SCOPED_TRACE(kind);
        cShotObj& shot = Moving(kind, 0, 20, 3);
        shot.StepShot();
        EXPECT_LT(shot.m_OwnSpeedY, 0);
        MoveChara(first, 600, 1400);
        first.UpdateScreenBox();
        shot.StepShot();
        EXPECT_GT(shot.m_OwnSpeedY, 0);
        MoveChara(first, 600, 300);
        first.UpdateScreenBox();
        (void)second;
    }
}

TEST_F(ShotMoves, WithAccelerationOnlyTheFirstSteeringSubStepTurnsTheShot)
{
    PlaceHero(600, 300);
    Hero().UpdatePlayerScreenBox();
    cShotObj& shot = Moving(4, 0, 10);
    shot.m_Accelerate = 1;
    shot.m_Accel = 1;
    shot.StepShot();
    const double vy = shot.m_OwnSpeedY;
    EXPECT_LT(vy, 0);
    EXPECT_LT(shot.m_InertiaY, 0);
    PlaceHero(600, 900);
    Hero().UpdatePlayerScreenBox();
    shot.StepShot();
    // The velocity only grows by the acceleration, which now points down.
    EXPECT_GT(shot.m_InertiaY, 0);
    EXPECT_NEAR(shot.m_OwnSpeedY, vy + shot.m_InertiaY, 1e-12);
}

// The wave by its own formulas: the displacement on the first sub-step,
// then the change of speed along the direction across the flight.
void ExpectWave(cShotObj& shot, double b, double amplitude, double q, double startAngle)
{
    const double u = q * std::numbers::pi / 180;
    const double a = amplitude * 16;
    double phase = b * startAngle / q;
    const double f = std::atan2(shot.m_OwnSpeedY, shot.m_OwnSpeedX);
    const double p = ((f < 0 ? f + 2 * std::numbers::pi : f) * 180 / std::numbers::pi - 90) *
                     std::numbers::pi / 180;
    double vx = shot.m_OwnSpeedX, vy = shot.m_OwnSpeedY;
    for (int sub = 0; sub < 4; ++sub) {
        SCOPED_TRACE(sub);
        if (sub == 0) {
            const double d = u * std::cos(u * phase / b) * a / b;
            vx += d * std::cos(p);
            vy += d * std::sin(p);
        } else {
            const double c = -(u * std::sin(u * phase / b) * (u / b) * a) / b;
            const double nx = vx + c * std::cos(p), ny = vy + c * std::sin(p);
            vx = (vx < 0 && nx > 0) || (vx > 0 && nx < 0) ? 0 : nx;
            vy = (vy < 0 && ny > 0) || (vy > 0 && ny < 0) ? 0 : ny;
        }
        phase += 1;
        g_ShotMoveProc[8](shot);
        EXPECT_NEAR(shot.m_OwnSpeedX, vx, 1e-12);
        EXPECT_NEAR(shot.m_OwnSpeedY, vy, 1e-12);
    }
    EXPECT_EQ(shot.m_Def.m_MoveParams[0], amplitude * 16);
}

TEST_F(ShotMoves, TheWaveFollowsItsFormulaOnEverySubStep)
{
    for (const int level : {1, 2}) {
        SCOPED_TRACE(level);
        Build(level);
        cShotObj& right = Moving(8, 4, 4, 30);
        right.m_Facing = 1;
        ExpectWave(right, level, 4, 4, 30);
        cShotObj& left = Moving(8, 2, 10, 30);
        left.m_Facing = 0;
        ExpectWave(left, level, 2, 10, 210);
    }
}

TEST_F(ShotMoves, AWaveOfSpeedZeroDoesNotMoveTheShot)
{
    cShotObj& shot = Moving(8, 4, 0, 30);
    for (int i = 0; i < 5; ++i)
        shot.StepShot();
    EXPECT_EQ(shot.m_OwnSpeedX, 4);
    EXPECT_EQ(shot.m_OwnSpeedY, 0);
    EXPECT_EQ(shot.m_Def.m_MoveParams[0], 64);
}

TEST_F(ShotMoves, AFallingShotStopsFlyingAndTakesGravity)
{
    cShotObj& now = Moving(9, 0);
    now.m_OwnSpeedY = -1;
    now.StepShot();
    EXPECT_EQ(now.m_Flying, 0);
    EXPECT_EQ(now.m_SpeedY, -1);
    now.ApplyGravity();
    EXPECT_EQ(now.m_SpeedY, -1 + g_Stage.dGravityStep);
    // From 1 hbl on: tick 4.
    cShotObj& later = Moving(9, 1);
    for (int i = 0; i < 4; ++i) {
        later.StepShot();
        EXPECT_EQ(later.m_Flying, 1);
    }
    later.StepShot();
    EXPECT_EQ(later.m_Flying, 0);
}

} // namespace
