// The activity of the computer characters, the items and the shots.

#include "world/activity.h"

#include <list>

#include "world/conditions.h"
#include "world/running_stage.h"

namespace {

// The 640 x 480 view at the sub-step's scroll position, read once for all
// the objects: the test of cGameObj::IsOnScreen, without a call and a
// look-up of the stage per object (about a thousand shots a sub-step).
class cView {
public:
    explicit cView(const cRunningStage& stage)
        : m_Left(stage.m_ScrollX.m_Pos), m_Top(stage.m_ScrollY.m_Pos), m_RightEnd(m_Left + 640),
          m_BottomEnd(m_Top + 480)
    {
    }
    int Shows(const cGameObj& obj) const
    {
        return obj.m_Right >= m_Left && m_RightEnd > obj.m_X && obj.m_Bottom >= m_Top &&
                       m_BottomEnd > obj.m_Y
                   ? 1
                   : 0;
    }

private:
    double m_Left;
    double m_Top;
    double m_RightEnd; // the first column and row past the view
    double m_BottomEnd;
};

// Each pass is a function of its own: its loop has the registers to itself
// (the shots' loop keeps the view's bounds in them instead of reloading
// them per shot).

// Two passes: every area switch raised by a character in range counts for
// all the characters in the same sub-step.
[[gnu::noinline]] void FindPresentCharas(cRunningStage& stage, const cView view)
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

[[gnu::noinline]] void FindPresentShots(std::list<cShotObj>& shots, const cView view)
{
    for (cShotObj& shot : shots) {
        shot.m_Present = 1;
        shot.m_OnScreen = view.Shows(shot);
    }
}

} // namespace

void UpdateOtherActivity()
{
    cRunningStage& stage = RunStage();
    // Nothing here moves the view.
    const cView view(stage);
    FindPresentCharas(stage, view);
    ActivateCharas(stage);
    for (cItemObj& item : stage.m_ItemList) {
        item.m_Present = TestItemConds(item);
        item.m_OnScreen = item.m_Present ? view.Shows(item) : 0;
    }
    FindPresentShots(stage.m_ShotList, view);
}
