// The flow runner: starting, stepping and stopping a character's running
// flows and counting each command's time.

#include "world/flow_run.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"

void cCommandRun::Reset()
{
    WORLD_PLACEHOLDER(12, "cCommandRun::Reset");
}

int cCommandRun::Step()
{
    WORLD_PLACEHOLDER(12, "cCommandRun::Step");
    return 0;
}

void cCommandRun::SetMoveTiming(const cEdCommand&, int)
{
    WORLD_PLACEHOLDER(12, "cCommandRun::SetMoveTiming");
}

void cFlowRun::Start()
{
    WORLD_PLACEHOLDER(12, "cFlowRun::Start");
}

int cFlowRun::Step()
{
    WORLD_PLACEHOLDER(12, "cFlowRun::Step");
    return 0;
}

void cFlowRun::Stop(cCharaObj&)
{
    WORLD_PLACEHOLDER(12, "cFlowRun::Stop");
}

void cFlowRun::StopForever(cCharaObj&)
{
    WORLD_PLACEHOLDER(12, "cFlowRun::StopForever");
}
