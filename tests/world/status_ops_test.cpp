// Status and variable conditions and operations: the operation table,
// percentages, value sources, the system values and the life check.

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "data/ed_command.h"
#include "data/ed_cond.h"
#include "support/world_fixture.h"
#include "world/compare_op.h"
#include "world/random.h"
#include "world/status_ops.h"

namespace {

TEST(StatusArithmetic, OperationTable)
{
    struct Case {
        std::int32_t value;
        std::int32_t operand;
        int op;
        std::int32_t expected;
    };
    const Case cases[] = {
        {5, 9, 0, 9},                  // =
        {5, 9, 1, 14},                 // +
        {5, 9, 2, -4},                 // -
        {999999, 2, 3, 999999},        // x held at the top
        {-999999, 2, 3, -999999},      // and at the bottom
        {70000, 70000, 3, 999999},     // an overflowing product
        {65536, 65537, 3, 999999},     // one that wraps to a positive 32-bit number
        {-70000, 70000, 3, -999999},   //
        {7, 2, 4, 3},                  // / toward zero
        {-7, 2, 4, -3},                //
        {-7, 2, 5, -1},                // remainder with the sign of the value
        {7, 0, 4, 7},                  // / 0 leaves the value
        {7, 0, 5, 7},                  // % 0 too
        {7, 50, 6, 4},                 // 3.5 rounded away from zero
        {-7, 50, 6, -4},               //
        {200, 30, 6, 60},              //
        {5, 9, 7, 5},                  // an unknown code changes nothing
        {999999, 999999, 1, 999999},   // + clamped
        {-999999, 999999, 2, -999999}, // - clamped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " op " << c.op << " " << c.operand);
        std::int32_t v = c.value;
        ApplyOp(v, c.operand, c.op, -999999, 999999);
        EXPECT_EQ(v, c.expected);
    }
    // The full 32-bit range: no operation traps or wraps.
    std::int32_t v = INT_MIN;
    ApplyOp(v, -1, 4, INT_MIN, INT_MAX);
    EXPECT_EQ(v, INT_MAX);
    v = INT_MIN;
    ApplyOp(v, -1, 5, INT_MIN, INT_MAX);
    EXPECT_EQ(v, 0);
    v = INT_MAX;
    ApplyOp(v, INT_MAX, 1, INT_MIN, INT_MAX);
    EXPECT_EQ(v, INT_MAX);
    v = INT_MIN;
    ApplyOp(v, INT_MAX, 2, INT_MIN, INT_MAX);
    EXPECT_EQ(v, INT_MIN);
    v = INT_MAX;
    ApplyOp(v, INT_MAX, 6, INT_MIN, INT_MAX);
    EXPECT_EQ(v, INT_MAX);
}

TEST(StatusArithmetic, NarrowFieldsTakeTheOperandsLowBits)
{
    std::int8_t id = 10;
    ApplyOp8(id, 300, 1, 0, 99);
    EXPECT_EQ(id, 54) << "300 counts as 44";
    std::int8_t impact = 0;
    ApplyOp8(impact, 300, 1, -20, 20);
    EXPECT_EQ(impact, 20);
    impact = 100;
    ApplyOp8(impact, 100, 1, -128, 127);
    EXPECT_EQ(impact, 127) << "the sum is clamped, not wrapped";
    std::int16_t stop = 10;
    ApplyOp16(stop, 65536 + 5, 1, 0, 200);
    EXPECT_EQ(stop, 15);
    ApplyOp16(stop, 0, 4, 0, 200);
    EXPECT_EQ(stop, 15);
}

TEST(StatusArithmetic, PercentagesAndComparisons)
{
    EXPECT_EQ(PercentOf(7, 50), 4);
    EXPECT_EQ(PercentOf(-7, 50), -4);
    EXPECT_EQ(PercentOf(200, 30), 60);
    EXPECT_EQ(PercentOf(0, 12345), 0);
    EXPECT_EQ(PercentOf(INT_MAX, INT_MAX), INT_MAX) << "formed in 64 bits";
    EXPECT_EQ(PercentOf(INT_MIN, INT_MAX), INT_MIN);
    std::int32_t v = 50;
    EXPECT_EQ(ClampInt(v, 1, 10), 10);
    const int held[][3] = {{3, 3, 0}, {3, 4, 1}, {3, 3, 2}, {3, 3, 3}, {4, 3, 4}, {3, 4, 5}};
    for (const auto& h : held)
        EXPECT_EQ(CompareByOp(h[0], h[1], h[2]), 1) << h[2];
    EXPECT_EQ(CompareByOp(3, 3, 1), 0);
    EXPECT_EQ(CompareByOp(3, 3, 4), 0);
    EXPECT_EQ(CompareByOp(3, 3, 6), 0) << "codes beyond 5 never hold";
}

class StatusOps : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Start(test::MakeStage(20, 15, 2, 2));
        cNpcObj npc;
        npc.m_ObjNo = 1;
        npc.m_Operator = 1;
        npc.m_Def.nMaxHP = 200;
        npc.m_Hp = 200;
        npc.m_Vars.assign(kCharaVarCount, 0);
        other = &stage->AddChara(npc);
        player().m_TargetNo = -1;
    }

    // A status operation: target status (object, status) or variable.
    static cEdCommand Operation(int object, int status, int op, int constant)
    {
        cEdCommand c;
        c.m_Params.assign(18, 0);
        c.m_Params[3] = object;
        c.m_Params[4] = status;
        c.m_Params[5] = op;
        c.m_Params[7] = constant;
        return c;
    }
    static cEdCommand VariableOperation(int scope, int index, int op, int constant)
    {
        cEdCommand c = Operation(0, 0, op, constant);
        c.m_Params[0] = 1;
        c.m_Params[1] = scope;
        c.m_Params[2] = index;
        return c;
    }
    // A condition on a status of self (0), target (1) or the system (2)
    // against a constant.
    static cEdCond Condition(int owner, int item, int op, int constant, int percent = 0)
    {
        cEdCond c;
        c.m_Kind = 4;
        c.m_Owner = static_cast<std::uint8_t>(owner);
        c.m_Item = static_cast<std::uint8_t>(item);
        c.m_Op = static_cast<std::uint8_t>(op);
        c.m_Value = constant;
        c.m_Percent = static_cast<std::uint8_t>(percent);
        return c;
    }

    cNpcObj* other = nullptr;
};

TEST_F(StatusOps, ConditionsCompareInTheFieldsWidthAndByPercent)
{
    cNpcObj& c = *other;
    c.m_Hp = 60;
    EXPECT_EQ(TestStatusCondition(Condition(0, 1, 3, 30, 1), c), 1) << "HP <= 30% of 200";
    c.m_Hp = 61;
    EXPECT_EQ(TestStatusCondition(Condition(0, 1, 3, 30, 1), c), 0);
    c.m_Def.nDefence = 0;
    EXPECT_EQ(TestStatusCondition(Condition(0, 11, 0, 50, 1), c), 1) << "defence against 0";
    c.m_Def.nCharaId = 44;
    EXPECT_EQ(TestStatusCondition(Condition(0, 5, 0, 300), c), 1) << "300 cut to 44";
    c.m_Def.nEmblemNo = 4;
    EXPECT_EQ(TestStatusCondition(Condition(0, 7, 0, 65536 + 4), c), 1);
    c.m_Vars[3] = 9;
    cEdCond var = Condition(0, 0, 0, 9);
    var.m_Index = 3;
    EXPECT_EQ(TestStatusCondition(var, c), 1) << "status 0 is a character variable";
    EXPECT_EQ(TestStatusCondition(Condition(1, 1, 2, 0), player()), 0) << "no target: false";
    EXPECT_EQ(TestStatusCondition(Condition(0, 15, 0, 0), c), 0) << "no status 15";
    EXPECT_EQ(TestStatusCondition(Condition(0, 1, 6, 0), c), 0) << "no operator 6";
}

TEST_F(StatusOps, ConditionsOnVariablesAndTheSystem)
{
    stage->m_StageVars[4] = 12;
    cEdCond var = Condition(0, 0, 0, 12);
    var.m_LeftKind = 1;
    var.m_VarScope = 1;
    var.m_Index = 4;
    EXPECT_EQ(TestStatusCondition(var, player()), 1);
    var.m_Percent = 1;
    EXPECT_EQ(TestStatusCondition(var, player()), 0) << "a percentage of 0";
    stage->m_StageVars[4] = 0;
    EXPECT_EQ(TestStatusCondition(var, player()), 1);

    g_Progress.nStageScore = 700;
    EXPECT_EQ(TestStatusCondition(Condition(2, 3, 2, 700), player()), 1);
    stage->m_NoTimeLimit = 1;
    stage->m_TimeLeft = 999;
    EXPECT_EQ(TestStatusCondition(Condition(2, 0, 0, 0), player()), 1) << "no limit reads 0";
    g_Progress.nLives = kUnlimitedLives;
    EXPECT_EQ(TestStatusCondition(Condition(2, 4, 2, 0), player()), 0) << "unlimited: false";
    EXPECT_EQ(TestStatusCondition(Condition(2, 4, 1, 5), player()), 0);
    g_Progress.nLives = 3;
    EXPECT_EQ(TestStatusCondition(Condition(2, 4, 0, 3), player()), 1);
}

TEST_F(StatusOps, ValueSources)
{
    cEdCond cond = Condition(0, 1, 0, 0);
    cond.m_RightKind = 1; // random
    cond.m_RandMin = 5;
    cond.m_RandMax = 5;
    other->m_Hp = 5;
    EXPECT_EQ(TestStatusCondition(cond, *other), 1);
    // Reversed bounds are put in order.
    cond.m_RandMin = 9;
    cond.m_RandMax = 3;
    cond.m_Op = 3; // HP <= value
    other->m_Hp = 2;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(TestStatusCondition(cond, *other), 1);
    other->m_Hp = 10;
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(TestStatusCondition(cond, *other), 0);

    // The status of another object, and the sight of a computer character.
    cEdCond status = Condition(0, 1, 0, 0);
    status.m_RightKind = 2;
    status.m_RightOwner = 1;
    status.m_RightItem = 1;
    stage->SetTarget(*other, player().m_ObjNo);
    other->m_Hp = player().m_Hp;
    EXPECT_EQ(TestStatusCondition(status, *other), 1);
    status.m_RightOwner = 0;
    status.m_RightItem = 8;
    other->m_Hp = 0;
    EXPECT_EQ(TestStatusCondition(status, *other), 0) << "a computer character has no sight";
    status.m_RightKind = 3;
    status.m_RightScope = 0;
    status.m_RightIndex = 7;
    g_Progress.vCommonVar[7] = 0;
    EXPECT_EQ(TestStatusCondition(status, *other), 1);

    // Operations: the same sources; bounds in either order.
    for (int i = 0; i < 100; ++i) {
        cEdCommand op = VariableOperation(1, 2, 0, 0);
        op.m_Params[6] = 1;
        op.m_Params[8] = 9;
        op.m_Params[9] = 3;
        ExecStatusOperation(player(), op);
        ASSERT_GE(stage->m_StageVars[2], 3);
        ASSERT_LE(stage->m_StageVars[2], 9);
    }
}

TEST_F(StatusOps, ReadingTheStopValueRefreshesTheDeceleration)
{
    other->m_Def.nStopRate = 50;
    other->m_Decel = 0;
    cEdCond stop = Condition(0, 13, 0, 50);
    EXPECT_EQ(TestStatusCondition(stop, *other), 1);
    EXPECT_DOUBLE_EQ(other->m_Decel, PercentPerStep(50));
    cEdCommand set = Operation(0, 13, 1, 30);
    ExecStatusOperation(*other, set);
    EXPECT_EQ(other->m_Def.nStopRate, 80);
    EXPECT_DOUBLE_EQ(other->m_Decel, PercentPerStep(80));
}

TEST_F(StatusOps, OperationsOnVariablesAndSystemValues)
{
    stage->m_StageVars[1] = 10;
    cEdCommand add = VariableOperation(1, 1, 1, 5);
    ExecStatusOperation(player(), add);
    EXPECT_EQ(stage->m_StageVars[1], 15);
    cEdCommand percent = VariableOperation(0, 2, 1, 50);
    percent.m_Params[14] = 1;
    g_Progress.vCommonVar[2] = 40;
    ExecStatusOperation(player(), percent);
    EXPECT_EQ(g_Progress.vCommonVar[2], 60) << "+ 50% of the current value";

    g_Stage.bAutoScrollX = 1;
    ExecStatusOperation(player(), Operation(2, 1, 0, 900));
    EXPECT_EQ(g_Stage.nAutoScrollX, 480);
    EXPECT_EQ(stage->m_ScrollX.m_Auto, 1);
    stage->m_TimeLeft = 10;
    ExecStatusOperation(player(), Operation(2, 0, 1, 5000));
    EXPECT_EQ(stage->m_TimeLeft, 999);
    g_Progress.nStageScore = 10;
    ExecStatusOperation(player(), Operation(2, 3, 2, 50));
    EXPECT_EQ(g_Progress.nStageScore, 0);
    g_Progress.nLives = kUnlimitedLives;
    ExecStatusOperation(player(), Operation(2, 4, 2, 1));
    EXPECT_EQ(g_Progress.nLives, kUnlimitedLives) << "unlimited lives are not touched";
    g_Progress.nLives = 98;
    ExecStatusOperation(player(), Operation(2, 4, 1, 5));
    EXPECT_EQ(g_Progress.nLives, 99);
}

TEST_F(StatusOps, HitPointsBySumOrPercentAndTheInvincible)
{
    cNpcObj& c = *other;
    c.m_Hp = 100;
    cEdCommand heal = Operation(0, 1, 1, 10);
    heal.m_Params[15] = 1; // % of the maximum (200)
    ExecStatusOperation(c, heal);
    EXPECT_EQ(c.m_Hp, 120);
    heal.m_Params[15] = 2; // % of the current value
    ExecStatusOperation(c, heal);
    EXPECT_EQ(c.m_Hp, 132);
    heal.m_Params[15] = 3;
    ExecStatusOperation(c, heal);
    EXPECT_EQ(c.m_Hp, 132) << "an unknown mode leaves them";
    cEdCommand over = Operation(0, 1, 1, 500);
    over.m_Params[16] = 1;
    ExecStatusOperation(c, over);
    EXPECT_EQ(c.m_Hp, 200) << "held at the maximum";
    EXPECT_EQ(c.m_HpGauge.m_Frames, kGaugeFrames);

    c.m_Def.nInvincible = 1;
    cEdCommand hurt = Operation(0, 1, 2, 50);
    ExecStatusOperation(c, hurt);
    EXPECT_EQ(c.m_Hp, 150) << "forced past invincibility";
    hurt.m_Params[17] = 1;
    ExecStatusOperation(c, hurt);
    EXPECT_EQ(c.m_Hp, 150) << "unless the command spares the invincible";
    EXPECT_EQ(stage->m_LifeCheck, 0);
}

TEST_F(StatusOps, AnotherCharacterBroughtToZeroAsksForTheLifeCheck)
{
    stage->SetTarget(player(), other->m_ObjNo);
    ExecStatusOperation(player(), Operation(1, 3, 0, 0));
    EXPECT_EQ(other->m_Def.nMaxHP, 0);
    EXPECT_EQ(other->m_Hp, 0);
    EXPECT_EQ(stage->m_LifeCheck, 1);

    stage->m_LifeCheck = 0;
    player().m_Def.nMaxHP = 10;
    player().m_Hp = 10;
    ExecStatusOperation(player(), Operation(0, 1, 0, 0));
    EXPECT_EQ(player().m_Hp, 0);
    EXPECT_EQ(stage->m_LifeCheck, 0) << "the runner's own hit points";

    player().m_TargetNo = -1;
    other->m_Def.nMaxHP = 5;
    ExecStatusOperation(player(), Operation(1, 3, 0, 77));
    EXPECT_EQ(other->m_Def.nMaxHP, 5) << "no target: nothing happens";
}

TEST_F(StatusOps, OtherStatusesClampToTheirRanges)
{
    cNpcObj& c = *other;
    c.m_Def.nCharaId = 10;
    ExecStatusOperation(c, Operation(0, 5, 1, 300));
    EXPECT_EQ(c.m_Def.nCharaId, 54);
    ExecStatusOperation(c, Operation(0, 10, 0, -100));
    EXPECT_EQ(c.m_Def.nBodyImpact, -20);
    ExecStatusOperation(c, Operation(0, 11, 3, 5));
    EXPECT_EQ(c.m_Def.nDefence, 0);
    c.m_Def.nBodyPower = 999999;
    ExecStatusOperation(c, Operation(0, 9, 3, 2));
    EXPECT_EQ(c.m_Def.nBodyPower, 999999);
    cEdCommand var = Operation(0, 0, 0, 77);
    var.m_Params[2] = 4;
    ExecStatusOperation(c, var);
    EXPECT_EQ(c.m_Vars[4], 77);
    cEdCommand percent = Operation(0, 6, 0, 50);
    percent.m_Params[14] = 1;
    c.m_Def.nZ = 6;
    ExecStatusOperation(c, percent);
    EXPECT_EQ(c.m_Def.nZ, 3) << "= 50% of 6";
    c.m_Def.nMaxSP = 40;
    c.m_Sp = 30;
    ExecStatusOperation(c, Operation(0, 4, 0, 20));
    EXPECT_EQ(c.m_Sp, 20) << "SP lowered to the new maximum";
}

TEST_F(StatusOps, SightBelongsToCharactersOperatedByThePlayer)
{
    ExecStatusOperation(player(), Operation(0, 8, 0, 5));
    EXPECT_EQ(player().m_Def.nSight, 5);
    EXPECT_EQ(player().m_SightRange, 80);
    ExecStatusOperation(*other, Operation(0, 8, 0, 5));
    EXPECT_EQ(other->m_Def.nSight, 0);
}

} // namespace
