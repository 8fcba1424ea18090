// The activity of the computer characters, the items and the shots.

#include "world/activity.h"

#include <list>

#include "world/conditions.h"
#include "world/running_stage.h"

namespace {

// Each pass is a function of its own: its loop has the registers to itself
// (the shots' loop keeps the view's bounds in them instead of reloading
// them per shot).

// Two passes: every area switch raised by a character in range counts for
// all the characters in the same sub-step.
[[gnu::noinline]] void FindPresentCharas(cRunningStage& stage, const cScreenView view)
{
    for (cNpcObj& chara : stage.m_CharaList) {
        if (TestCharaConds(chara)) {
            chara.m_Present = 1;
            chara.m_OnScreen = view.Shows(chara);
            chara.TestInRange(stage.m_FlowFlags);
        } else {
            chara.m_Present = 0;
            chara.m_OnScreen = 0;
        }
    }
}

[[gnu::noinline]] void ActivateCharas(cRunningStage& stage)
{
    for (cNpcObj& chara : stage.m_CharaList)
        chara.m_Acting = chara.m_Present && chara.TestActivation(stage.m_FlowFlags) ? 1 : 0;
}

void MarkShotActive(cShotObj& shot, const cScreenView& view)
{
    shot.m_Present = 1;
    shot.m_OnScreen = view.Shows(shot);
}

[[gnu::noinline]] void FindPresentShots(std::list<cShotObj>& shots, const cScreenView view)
{
    for (cShotObj& shot : shots)
        MarkShotActive(shot, view);
}

} // namespace

void UpdateOtherActivity(ShotActivity shots)
{
    cRunningStage& stage = RunStage();
    // Nothing here moves the view.
    const cScreenView view(stage.m_ScrollX.m_Pos, stage.m_ScrollY.m_Pos);
    FindPresentCharas(stage, view);
    ActivateCharas(stage);
    for (cItemObj& item : stage.m_ItemList) {
        item.m_Present = TestItemConds(item);
        item.m_OnScreen = item.m_Present ? view.Shows(item) : 0;
    }
    stage.m_ShotActivityDue = shots == ShotActivity::kInShotStep;
    if (stage.m_ShotActivityDue)
        stage.m_ActivityView = view;
    else
        FindPresentShots(stage.m_ShotList, view);
}

void TakeDueShotActivity(const cRunningStage& stage, cShotObj& shot)
{
    if (shot.m_BornSubStep < stage.m_SubStepTotal) MarkShotActive(shot, stage.m_ActivityView);
}

cShotActivitySettler::~cShotActivitySettler()
{
    if (!m_Stage.m_ShotActivityDue) return;
    m_Stage.m_ShotActivityDue = false;
    for (cShotObj& shot : m_Stage.m_ShotList)
        TakeDueShotActivity(m_Stage, shot);
}
