// The object and stage commands of the flows: flow operations, the stage
// clear, the warp and the target.

#include "world/command_object.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"

int ExecFlowOperation(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecFlowOperation");
    return 0;
}

int ExecStageClear(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecStageClear");
    return 0;
}

int ExecWarp(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecWarp");
    return 0;
}

int ExecSetTarget(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "ExecSetTarget");
    return 0;
}

int StageClear(const cEdCommand&)
{
    WORLD_PLACEHOLDER(12, "StageClear");
    return 0;
}

int Warp(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(12, "Warp");
    return 0;
}

int SetTarget(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(12, "SetTarget");
    return 0;
}
