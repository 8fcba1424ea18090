// The picture command.

#include "world/command_status.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"

int ShowPicture(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(15, "ShowPicture");
    return 0;
}
