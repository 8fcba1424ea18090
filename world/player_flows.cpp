// The player's flow run of a sub-step and its jump.

#include "world/player_obj.h"

#include "world/placeholder.h"
#include "world/running_stage.h"

int cPlayerObj::RunFlows(int)
{
    WORLD_PLACEHOLDER(12, "cPlayerObj::RunFlows");
    return 0;
}

int cPlayerObj::Jump(cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "cPlayerObj::Jump");
    return 0;
}
