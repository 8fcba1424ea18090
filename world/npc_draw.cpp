// The hint of the item a computer character carries.

#include "world/npc_obj.h"

#include "world/placeholder.h"

void cNpcObj::DrawCarriedHint(DDSURFACEDATA*)
{
    WORLD_PLACEHOLDER(15, "cNpcObj::DrawCarriedHint");
}
