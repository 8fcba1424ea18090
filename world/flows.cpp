// The flows on a character: installing the running flows, firing them by
// trigger with their conditions and key sequences, removing them.

#include "world/flows.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"
#include "world/trace.h"

int cCharaObj::InstallFlows(const std::vector<cEdFlow>&, int, int, int)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::InstallFlows");
    return 0;
}

void cCharaObj::AppendFlowRun(const cFlowRun&)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::AppendFlowRun");
}

void cCharaObj::RemoveFlow(int)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::RemoveFlow");
}

int cCharaObj::RemoveFlowsById(int)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::RemoveFlowsById");
    return -1;
}

void cCharaObj::ResetFlowStepFlags()
{
    WORLD_PLACEHOLDER(12, "cCharaObj::ResetFlowStepFlags");
}

void cCharaObj::FireFlows(int trigger)
{
    // Every trigger is part of the sub-step trace, whether or not a flow fires.
    TraceTrigger(*this, trigger);
    WORLD_PLACEHOLDER(12, "cCharaObj::FireFlows");
}

int cCharaObj::TestFlowKeyConds(cFlowRun&)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::TestFlowKeyConds");
    return 0;
}

int MatchKeySequence(const InputState&, const std::vector<const cEdKeyCond*>&, int, int)
{
    WORLD_PLACEHOLDER(12, "MatchKeySequence");
    return 0;
}

int TestKeyCondNow(const InputState&, const cEdKeyCond&)
{
    WORLD_PLACEHOLDER(12, "TestKeyCondNow");
    return 0;
}

int FirstPressedDirection(const InputState&)
{
    WORLD_PLACEHOLDER(12, "FirstPressedDirection");
    return 0;
}
