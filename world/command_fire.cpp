// The firing commands: shots, the sword and the three summons.

#include "world/command_object.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"

int ExecShot(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(13, "ExecShot");
    return 0;
}

int ExecSword(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(13, "ExecSword");
    return 0;
}

int ExecBlockSummon(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(13, "ExecBlockSummon");
    return 0;
}

int ExecCharaSummon(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(13, "ExecCharaSummon");
    return 0;
}

int ExecItemSummon(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(13, "ExecItemSummon");
    return 0;
}
