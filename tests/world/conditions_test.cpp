// Condition lists, their modes and latches, and the variable conditions.

#include <gtest/gtest.h>

#include <vector>

#include "support/world_fixture.h"
#include "world/conditions.h"

namespace {

cEdCond VarCond(int kind, int index, int op, int value)
{
    cEdCond c;
    c.m_Kind = static_cast<std::uint8_t>(kind);
    c.m_Index = static_cast<std::int16_t>(index);
    c.m_Op = static_cast<std::uint8_t>(op);
    c.m_Value = value;
    return c;
}

class Conditions : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Start(test::MakeStage(20, 15, 2, 2));
    }
};

TEST_F(Conditions, ComparisonsOfTheThreeVariableKinds)
{
    cCharaObj chara;
    chara.m_Vars[3] = 7;
    stage->m_StageVars[2] = 7;
    g_Progress.vCommonVar[1] = 7;
    struct Case {
        int op;
        int value;
        int held;
    };
    const Case cases[] = {{0, 7, 1}, {0, 6, 0}, {1, 6, 1}, {2, 7, 1}, {2, 8, 0}, {3, 7, 1},
                          {3, 6, 0}, {4, 6, 1}, {4, 7, 0}, {5, 8, 1}, {5, 7, 0}, {6, 7, 0}};
    for (int kind : {1, 2, 3}) {
        const int index = kind == 1 ? 1 : kind == 2 ? 2 : 3;
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " op " << c.op);
            EXPECT_EQ(TestCond(VarCond(kind, index, c.op, c.value), chara), c.held);
        }
    }
    EXPECT_EQ(TestCond(VarCond(0, 0, 0, 0), chara), 0) << "kind 0 never holds";
    EXPECT_EQ(TestCond(VarCond(8, 0, 0, 0), chara), 0);
}

TEST_F(Conditions, ListModes)
{
    cCharaObj chara;
    const std::vector<cEdCond> none;
    EXPECT_EQ(TestCondList(none, 0, chara), 1);
    EXPECT_EQ(TestCondList(none, 1, chara), 0) << "no condition holds at least once";
    const std::vector<cEdCond> mixed = {VarCond(3, 1, 0, 0), VarCond(3, 1, 0, 5)};
    EXPECT_EQ(TestCondList(mixed, 0, chara), 0);
    EXPECT_EQ(TestCondList(mixed, 1, chara), 1);
    EXPECT_EQ(TestCondList(mixed, 2, chara), 0) << "an unknown mode never holds";
}

TEST_F(Conditions, LatchedListsHoldForGoodOnceTheyHeld)
{
    cCharaObj chara;
    chara.m_Def.Conds = {VarCond(3, 1, 0, 1)};
    chara.m_Def.bCondLatch = 1;
    EXPECT_EQ(TestCharaConds(chara), 0);
    chara.m_Vars[1] = 1;
    EXPECT_EQ(TestCharaConds(chara), 1);
    chara.m_Vars[1] = 0;
    EXPECT_EQ(TestCharaConds(chara), 1) << "latched";
    chara.m_Def.bCondLatch = 0;
    EXPECT_EQ(TestCharaConds(chara), 0);
    chara.m_Def.Conds.clear();
    chara.m_Def.nCondMode = 1;
    EXPECT_EQ(TestCharaConds(chara), 1) << "an empty latched list holds in any mode";
}

TEST_F(Conditions, ItemConditionsTestThePlayersVariables)
{
    cItemObj item;
    item.m_Def.Conds = {VarCond(3, 2, 0, 4)};
    EXPECT_EQ(TestItemConds(item), 0);
    player().m_Vars[2] = 4;
    EXPECT_EQ(TestItemConds(item), 1);
    EXPECT_EQ(item.m_Latch, 1);
}

TEST_F(Conditions, AVariableIndexOutsideItsVectorIsACheckedAccess)
{
    cCharaObj chara;
    chara.m_Vars[0] = 3;
    // Reported, and element 0 stands in.
    EXPECT_EQ(TestCond(VarCond(3, 40, 0, 3), chara), 1);
    EXPECT_EQ(TestCond(VarCond(3, -1, 0, 3), chara), 1);
}

} // namespace
