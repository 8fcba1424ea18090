#pragma once
// b, the live stage's sub-steps per frame, as the flows and the movement
// commands divide and multiply by it: at least 1, whatever the stage holds.

#include "data/ed_stage.h"

inline int StageSubSteps()
{
    return g_Stage.nSubSteps >= 1 ? g_Stage.nSubSteps : 1;
}

inline double StageSubStepsF()
{
    return g_Stage.dSubSteps >= 1.0 ? g_Stage.dSubSteps : 1.0;
}
