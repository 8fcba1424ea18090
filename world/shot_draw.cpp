// The drawing of shots and sword swings.

#include "world/shot_obj.h"

#include "world/placeholder.h"

int cShotObj::DrawShot(DDSURFACEDATA*, int)
{
    WORLD_PLACEHOLDER(15, "cShotObj::DrawShot");
    return 0;
}
