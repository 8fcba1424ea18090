// The activity of the computer characters, the items and the shots.

#include "world/activity.h"

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

} // namespace

void UpdateOtherActivity()
{
    cRunningStage& stage = RunStage();
    // Nothing here moves the view.
    const cView view(stage);
    // Two passes: every area switch raised by a character in range counts
    // for all the characters in the same sub-step.
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
    for (cNpcObj& chara : stage.m_CharaList)
        chara.m_Acting = chara.m_Present && chara.TestActivation(stage.m_FlowFlags) ? 1 : 0;
    for (cItemObj& item : stage.m_ItemList) {
        item.m_Present = TestItemConds(item);
        item.m_OnScreen = item.m_Present ? view.Shows(item) : 0;
    }
    for (cShotObj& shot : stage.m_ShotList) {
        shot.m_Present = 1;
        shot.m_OnScreen = view.Shows(shot);
    }
}
