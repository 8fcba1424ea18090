// Condition lists and the conditions of kinds 1 to 3 and 5 to 7 (kind 4,
// the status condition, has its own module), with the latched tests of the
// four owners of condition lists.

#include "world/conditions.h"

#include "core/checked_access.h"
#include "data/ed_cond.h"
#include "data/ed_flow.h"
#include "data/ed_save_data.h"
#include "world/block_cell.h"
#include "world/compare_op.h"
#include "world/running_stage.h"
#include "world/status_ops.h"

namespace {

// A list that holds sets the latch memory. Out of line: most owners have
// no conditions, and their test stays small.
[[gnu::noinline]] int TestSettingLatch(const std::vector<cEdCond>& conds, int mode,
                                       std::uint8_t& latch, cCharaObj& chara)
{
    if (!TestCondList(conds, mode, chara)) return 0;
    latch = 1;
    return 1;
}

// The list test with its latch: an empty list holds; a latched list that
// held once holds; a list that holds sets the latch memory either way.
int TestLatched(const std::vector<cEdCond>* conds, int mode, int latchSwitch, std::uint8_t& latch,
                cCharaObj& chara)
{
    if (!conds || conds->empty()) return 1;
    if (latchSwitch && latch) return 1;
    return TestSettingLatch(*conds, mode, latch, chara);
}

// Block and item conditions are tested for the player (a stage without
// one tests a character of no kind).
cCharaObj& Player1()
{
    cRunningStage& stage = RunStage();
    return stage.Player.empty() ? FallbackElement<cPlayerObj>() : stage.Player.front();
}

} // namespace

int TestBlockConds(BlockCell& cell)
{
    return TestLatched(cell.Conds.get(), cell.nCondMode, cell.bCondLatch, cell.m_Latch, Player1());
}

int TestCharaConds(cCharaObj& chara)
{
    return TestLatched(&chara.m_Def.Conds, chara.m_Def.nCondMode, chara.m_Def.bCondLatch,
                       chara.m_Latch, chara);
}

int TestItemConds(cItemObj& item)
{
    return TestLatched(&item.m_Def.Conds, item.m_Def.nCondMode, item.m_Def.bCondLatch, item.m_Latch,
                       Player1());
}

int TestFlowConds(cFlowRun& run, cCharaObj& chara)
{
    if (!run.m_Flow) return 1;
    return TestLatched(&run.m_Flow->m_Conds, run.m_Flow->m_CondMode, run.m_Flow->m_CondLatch,
                       run.m_Latch, chara);
}

int TestCondList(const std::vector<cEdCond>& conds, int mode, cCharaObj& chara)
{
    if (mode == 0) {
        for (const cEdCond& cond : conds)
            if (!TestCond(cond, chara)) return 0;
        return 1;
    }
    if (mode == 1) {
        for (const cEdCond& cond : conds)
            if (TestCond(cond, chara)) return 1;
        return 0;
    }
    return 0;
}

int TestCond(const cEdCond& cond, cCharaObj& chara)
{
    const int op = static_cast<std::int8_t>(cond.m_Op);
    switch (static_cast<std::int8_t>(cond.m_Kind)) {
    case 1:
        return CompareByOp(VecAt(g_Progress.vCommonVar, cond.m_Index), cond.m_Value, op);
    case 2:
        return CompareByOp(VecAt(RunStage().m_StageVars, cond.m_Index), cond.m_Value, op);
    case 3:
        return CompareByOp(VecAt(chara.m_Vars, cond.m_Index), cond.m_Value, op);
    case 4:
        return TestStatusCondition(cond, chara);
    case 5:
        return chara.TestStatusCondition2(cond);
    case 6:
        return chara.TestStatusCondition3(cond);
    case 7:
        return chara.TestDistanceCondition(cond);
    default:
        return 0;
    }
}
