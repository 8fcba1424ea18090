// The command lists of items and blocks, run at once on the player, and
// the flow change.

#include "world/command_lists.h"

#include "world/placeholder.h"
#include "world/player_obj.h"

int RunCommandList(cPlayerObj&, const std::vector<cEdCommand>&)
{
    WORLD_PLACEHOLDER(12, "RunCommandList");
    return 0;
}

void ExecFlowChange(cCharaObj&, const cEdCommand&, int)
{
    WORLD_PLACEHOLDER(12, "ExecFlowChange");
}
