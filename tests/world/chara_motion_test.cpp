// The character's motion and status routines: jump physics, gravity,
// hit points and SP with their gauges, knock-back, and the condition kinds
// that look at a character.

#include <gtest/gtest.h>

#include <cmath>

#include "support/world_fixture.h"
#include "world/conditions.h"
#include "world/steering.h"

namespace {

class CharaMotion : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Start(test::MakeStage(40, 30, 10, 10));
        chara.m_Operator = 1;
        chara.m_Def.nMaxHP = 100;
        chara.m_Hp = 90;
    }
    cCharaObj chara;
};

TEST_F(CharaMotion, JumpPhysics)
{
    g_Stage.dGravity = 0.5;
    g_Stage.SetSpeedLevel(1); // g = 0.5 per sub-step
    EXPECT_NEAR(chara.JumpSpeed(32), (-0.5 - std::sqrt(0.5 * 256.5)) / 2, 1e-12);
    EXPECT_NEAR(chara.JumpSpeed(32), -5.912, 1e-3);
    EXPECT_DOUBLE_EQ(chara.JumpSpeedHbl(2), chara.JumpSpeed(32));
    // The player's speed carries the stage's gravity factor.
    EXPECT_NEAR(player().JumpSpeed(32), chara.JumpSpeed(32) * (0.99 - 0.025 * 0.5), 1e-12);
    // A negative height takes no root of a negative number: no rise.
    EXPECT_EQ(chara.JumpSpeed(-100), -0.25);
    EXPECT_FALSE(std::isnan(chara.JumpSpeed(-1e9)));
    EXPECT_EQ(StepsToApex(-5.0), 1 + 10);
    EXPECT_EQ(chara.JumpTime(2), StepsToApex(chara.JumpSpeedHbl(2)) / 1 / 6 + 1);
    // Without gravity nothing slows a rise: the apex counts as b sub-steps.
    g_Stage.dGravity = 0;
    g_Stage.SetSpeedLevel(13);
    EXPECT_EQ(StepsToApex(-5.0), 3);
    EXPECT_EQ(chara.JumpTime(4), 3 / 3 / 6 + 1);
    EXPECT_DOUBLE_EQ(PercentPerStep(50), 0.5 / 9);
    EXPECT_EQ(HblToPixels(-3), -48);
}

TEST_F(CharaMotion, ASubStepCountOfZeroDividesNothingByZero)
{
    // The set-up keeps the level in range; the uses guard themselves too.
    g_Stage.nSubSteps = 0;
    g_Stage.dSubSteps = 0;
    EXPECT_TRUE(std::isfinite(PercentPerStep(10)));
    EXPECT_TRUE(std::isfinite(cGameObj::FrameToSubStep(10)));
    EXPECT_EQ(StepsToApex(-5.0), 11);
    chara.JumpTime(3);
    chara.m_KnockX = 0.5;
    chara.DecayKnockbackX();
    EXPECT_EQ(chara.m_KnockX, 0);
}

TEST_F(CharaMotion, GravityStopsForFlyersRidersDisabledAndUpwardKnockBack)
{
    struct Case {
        const char* what;
        int flying;
        int riding;
        int disabled;
        double knockY;
        double speedAfter;
    };
    const Case cases[] = {
        {"falls", 0, 0, 0, 0.0, 0.5},           {"flying", 1, 0, 0, 0.0, 0.0},
        {"riding", 0, 1, 0, 0.0, 0.0},          {"disabled", 0, 0, 1, 0.0, 0.0},
        {"knocked upward", 0, 0, 0, -1.0, 0.0}, {"knocked downward", 0, 0, 0, 1.0, 0.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        chara.m_Flying = c.flying;
        chara.m_Riding = c.riding;
        chara.m_NoGravity = c.disabled;
        chara.m_KnockY = c.knockY;
        chara.m_SpeedY = 0;
        chara.ApplyCharaGravity();
        EXPECT_DOUBLE_EQ(chara.m_SpeedY, c.speedAfter);
    }
}

TEST_F(CharaMotion, HitPoints)
{
    EXPECT_EQ(chara.ChangeHp(50, 0, 1), 0);
    EXPECT_EQ(chara.m_Hp, 100) << "+50 at 90 of 100 adds 10";
    EXPECT_EQ(chara.m_HpGauge.m_Frames, 120);
    EXPECT_EQ(chara.m_HpGauge.m_Fill, 50);
    EXPECT_DOUBLE_EQ(chara.m_HpGauge.m_Change, 5.0);
    chara.m_Def.nInvincible = 1;
    EXPECT_EQ(chara.ChangeHp(-5, 0, 1), 0);
    EXPECT_EQ(chara.m_Hp, 100) << "an invincible character takes no damage";
    EXPECT_EQ(chara.ChangeHp(-5, 1, 1), 0);
    EXPECT_EQ(chara.m_Hp, 95) << "unless forced";
    EXPECT_EQ(chara.ChangeHp(-1000, 1, 1), 1);
    EXPECT_EQ(chara.m_Hp, 0);
    chara.m_Def.nMaxSP = 0;
    EXPECT_EQ(chara.ChangeSp(5, 1), 1) << "no SP at all";
    EXPECT_EQ(chara.m_Sp, 0);
    chara.m_Def.nMaxSP = 20;
    EXPECT_EQ(chara.ChangeSp(30, 1), 0);
    EXPECT_EQ(chara.m_Sp, 20);
}

TEST_F(CharaMotion, GaugesOfAMaximumOfZeroDoNothing)
{
    chara.m_Def.nMaxHP = 0;
    chara.m_HpGauge = Gauge();
    chara.StartHpGauge(-5);
    EXPECT_EQ(chara.m_HpGauge.m_Frames, 0);
    chara.m_Def.nMaxHP = 100;
    chara.StartHpGauge(0);
    EXPECT_EQ(chara.m_HpGauge.m_Frames, 0);
}

TEST_F(CharaMotion, KnockBackStrengthAgainstResistance)
{
    struct Case {
        int strength;
        int resist;
        int effective;
    };
    const Case cases[] = {{5, 8, 0}, {-30, 5, -20}, {10, 3, 7}, {-4, 10, 0}, {25, 0, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.strength << " against " << c.resist);
        cCharaObj k;
        k.m_Def.nImpactResist = static_cast<std::uint8_t>(c.resist);
        k.StartKnockback(c.strength, 1, 0);
        double vx = 0;
        double vy = 0;
        KnockbackSpeed(vx, vy, c.effective, 1, 0);
        EXPECT_DOUBLE_EQ(k.m_KnockX, vx);
        EXPECT_EQ(k.m_Knockback, 1) << "the knock-back flag is set even with no speed";
    }
    cCharaObj still;
    still.StartKnockback(0, 1, 0);
    EXPECT_EQ(still.m_Knockback, 0) << "strength 0 does nothing";
}

TEST_F(CharaMotion, KnockBackStopsSpeedsThatOpposeIt)
{
    chara.m_InertiaX = -2;
    chara.m_SpeedY = 3;
    chara.StartKnockback(10, 1, -1);
    EXPECT_GT(chara.m_KnockX, 0);
    EXPECT_LT(chara.m_KnockY, 0);
    EXPECT_EQ(chara.m_InertiaX, 0);
    EXPECT_EQ(chara.m_SpeedY, 0);
}

TEST_F(CharaMotion, KnockBackDecaysByOneOverTheSubSteps)
{
    g_Stage.SetSpeedLevel(2);
    chara.m_KnockX = 0.3;
    chara.DecayKnockbackX();
    EXPECT_EQ(chara.m_KnockX, 0) << "0.3 - 0.5 would change sign";
    chara.m_KnockY = -1.2;
    chara.DecayKnockbackY();
    EXPECT_DOUBLE_EQ(chara.m_KnockY, -0.7);
}

TEST_F(CharaMotion, VerticalKnockBackReplacesItsPreviousTerm)
{
    chara.m_SpeedY = 2;
    chara.m_KnockY = -3;
    chara.ApplyKnockbackY();
    EXPECT_DOUBLE_EQ(chara.m_SpeedY, -1);
    chara.m_KnockY = -2;
    chara.ApplyKnockbackY();
    EXPECT_DOUBLE_EQ(chara.m_SpeedY, 0) << "speed - previous term + new term";
    EXPECT_DOUBLE_EQ(chara.m_PrevKnockY, -2);
    chara.m_KnockY = 0;
    chara.ApplyKnockbackY();
    EXPECT_DOUBLE_EQ(chara.m_PrevKnockY, 0);
    chara.m_Flying = 1;
    chara.m_KnockY = 1.5;
    chara.ApplyKnockbackY();
    EXPECT_DOUBLE_EQ(chara.m_SpeedY, 1.5);
}

TEST_F(CharaMotion, SavedPosition)
{
    chara.m_X = 10;
    chara.m_Y = 20;
    chara.m_Right = 30;
    chara.m_Bottom = 40;
    chara.SavePosition();
    chara.m_X = chara.m_Y = chara.m_Right = chara.m_Bottom = 0;
    chara.RestorePosition();
    EXPECT_EQ(chara.m_X, 10);
    EXPECT_EQ(chara.m_Bottom, 40);
}

cEdCond Cond(int kind, int owner, int item, int index, int op)
{
    cEdCond c;
    c.m_Kind = static_cast<std::uint8_t>(kind);
    c.m_Owner = static_cast<std::uint8_t>(owner);
    c.m_Item = static_cast<std::uint8_t>(item);
    c.m_Index = static_cast<std::int16_t>(index);
    c.m_Op = static_cast<std::uint8_t>(op);
    return c;
}

TEST_F(CharaMotion, SwitchAndStateConditions)
{
    chara.m_Def.nSize = 3;
    chara.m_Facing = 1;
    g_Stage.bAutoScrollY = 1;
    struct Case {
        const char* what;
        cEdCond cond;
        int held;
    };
    const Case cases[] = {
        {"own size is 3", Cond(5, 0, 5, 3, 0), 1},
        {"own size above 3", Cond(5, 0, 5, 3, 4), 0},
        {"vertical auto-scroll on", Cond(5, 2, 1, 1, 0), 1},
        {"unknown system item", Cond(5, 2, 2, 0, 0), 0},
        {"operator 6 fails", Cond(5, 0, 5, 3, 6), 0},
        {"the target's switch (the player)", Cond(5, 1, 5, 1, 0), 1},
        {"facing right", Cond(6, 0, 1, 0, 0), 1},
        {"not facing right", Cond(6, 0, 1, 0, 1), 0},
        {"on a block: not while airborne", Cond(6, 0, 2, 0, 0), 0},
    };
    chara.m_TargetNo = player().m_ObjNo;
    chara.m_Airborne = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TestCond(c.cond, chara), c.held);
    }
    chara.m_TargetNo = -1;
    EXPECT_EQ(TestCond(Cond(5, 1, 5, 1, 0), chara), 0) << "no target: false";
}

TEST_F(CharaMotion, DistanceCondition)
{
    cPlayerObj& p = player();
    chara.SetupObj(5, 1, 0, 1, 1, nullptr, 0, 8, 8, 16, 24, 32, 32, 1, 0, 0);
    chara.m_X = p.m_X;
    chara.m_Y = p.m_Y;
    chara.UpdateEdgeX(-1);
    chara.UpdateEdgeY(-1);
    cEdCond circle = Cond(7, 0, 0, 0, 0);
    circle.m_Shape = 6;
    circle.m_Value = 0;
    EXPECT_EQ(TestCond(circle, chara), 1) << "0 hbl holds only when the centres coincide";
    chara.m_X += 1;
    chara.UpdateEdgeX(-1);
    EXPECT_EQ(TestCond(circle, chara), 0);
    circle.m_Op = 1;
    EXPECT_EQ(TestCond(circle, chara), 1);
    // Ahead of a right-facing character: the player 100 pixels to its right.
    chara.m_X = p.m_X - 100;
    chara.UpdateEdgeX(-1);
    cEdCond front = Cond(7, 0, 0, 0, 0);
    front.m_Shape = 1;
    front.m_Value = 6; // 96 pixels reach
    EXPECT_EQ(TestCond(front, chara), 1);
    front.m_Shape = 2;
    EXPECT_EQ(TestCond(front, chara), 0) << "behind it there is nothing";
    chara.m_Facing = 0;
    EXPECT_EQ(TestCond(front, chara), 1) << "facing left, the player is behind";
}

} // namespace
