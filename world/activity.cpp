// The activity of the objects of a sub-step: the player's part.

#include "world/activity.h"

#include <algorithm>

#include "world/running_stage.h"

void UpdateActivity(ShotActivity shots, CharaStart start)
{
    cRunningStage& stage = RunStage();
    if (!stage.Player.empty()) {
        cPlayerObj& player = stage.Player.front();
        player.m_Present = 1;
        player.m_OnScreen = 1;
        player.m_ActingWord = 1;
    }
    std::fill(stage.m_FlowFlags.begin(), stage.m_FlowFlags.end(), 0);
    UpdateOtherActivity(shots, start);
}
