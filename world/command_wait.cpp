// The commands that stop the game: the game wait and the message.

#include "world/command_object.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"

int ExecGameWait(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(15, "ExecGameWait");
    return 0;
}

int ExecMessage(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(15, "ExecMessage");
    return 0;
}

int GameWait(const cEdCommand&)
{
    WORLD_PLACEHOLDER(15, "GameWait");
    return 0;
}

int ShowMessage(cCharaObj&, const cEdCommand&, int)
{
    WORLD_PLACEHOLDER(15, "ShowMessage");
    return 0;
}
