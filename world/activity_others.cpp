// The activity of the computer characters, the items and the shots.

#include "world/activity.h"

#include "world/conditions.h"
#include "world/running_stage.h"

void UpdateOtherActivity()
{
    cRunningStage& stage = RunStage();
    // Two passes: every area switch raised by a character in range counts
    // for all the characters in the same sub-step.
    for (cNpcObj& chara : stage.m_CharaList) {
        if (TestCharaConds(chara)) {
            chara.m_Present = 1;
            chara.m_OnScreen = chara.IsOnScreen();
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
        item.m_OnScreen = item.m_Present ? item.IsOnScreen() : 0;
    }
    for (cShotObj& shot : stage.m_ShotList) {
        shot.m_Present = 1;
        shot.m_OnScreen = shot.IsOnScreen();
    }
}
