// The activity of the computer characters, the items and the shots.

#include "world/activity.h"

#include <list>
#include <vector>

#include "world/conditions.h"
#include "world/running_stage.h"

namespace {

// Each pass is a function of its own: its loop has the registers to itself
// (the shots' loop keeps the view's bounds in them instead of reloading
// them per shot).

// One walk: each character's presence, then at once its activity, which
// reads nothing of the others but the area switches, while no presence test
// reads what an activity test writes (the activity flags, the range skips,
// the screen box). A character whose activity reads an area switch waits
// until the walk ends, so that every switch raised by a character in range
// counts for it in the same sub-step.
//
// With a start, each character's own start of the sub-step follows in the
// same walk; those whose life ran out are listed in `expired`.
[[gnu::noinline]] void FindActiveCharas(cRunningStage& stage, const cScreenView view,
                                        CharaStart start,
                                        std::vector<std::list<cNpcObj>::iterator>& expired)
{
    static std::vector<cNpcObj*> waiting;
    waiting.clear();
    auto activate = [&stage](cNpcObj& chara) {
        chara.m_Acting = chara.m_Present && chara.TestActivation(stage.m_FlowFlags) ? 1 : 0;
    };
    for (auto it = stage.m_CharaList.begin(); it != stage.m_CharaList.end(); ++it) {
        cNpcObj& chara = *it;
        if (TestCharaConds(chara)) {
            chara.m_Present = 1;
            chara.m_OnScreen = view.Shows(chara);
            chara.TestInRange(stage.m_FlowFlags);
        } else {
            chara.m_Present = 0;
            chara.m_OnScreen = 0;
        }
        if (chara.m_Def.bAreaSwitch)
            waiting.push_back(&chara);
        else
            activate(chara);
        if (start == CharaStart::kNone) continue;
        if (start == CharaStart::kLifeAndHousekeeping && chara.m_Life != kNoLife &&
            !chara.m_Dying && --chara.m_Life < 0) {
            expired.push_back(it);
            continue;
        }
        chara.UpdateHitProtection();
        chara.ClearContacts();
        chara.SavePosition();
    }
    for (cNpcObj* chara : waiting)
        activate(*chara);
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

void UpdateOtherActivity(ShotActivity shots, CharaStart start)
{
    cRunningStage& stage = RunStage();
    // Nothing here moves the view.
    const cScreenView view(stage.m_ScrollX.m_Pos, stage.m_ScrollY.m_Pos);
    static std::vector<std::list<cNpcObj>::iterator> expired;
    expired.clear();
    FindActiveCharas(stage, view, start, expired);
    for (cItemObj& item : stage.m_ItemList) {
        item.m_Present = TestItemConds(item);
        item.m_OnScreen = item.m_Present ? view.Shows(item) : 0;
    }
    stage.m_ShotActivityDue = shots == ShotActivity::kInShotStep;
    if (stage.m_ShotActivityDue)
        stage.m_ActivityView = view;
    else
        FindPresentShots(stage.m_ShotList, view);
    for (const auto& it : expired)
        stage.EraseChara(it);
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
