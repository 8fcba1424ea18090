// Picture instances, and the drawing of effect instances.

#include "world/effect_obj.h"

#include "world/placeholder.h"

cPictureObj::cPictureObj(int, double, double, int, int, int, int, int, int, int)
{
    WORLD_PLACEHOLDER(15, "cPictureObj::cPictureObj");
}

int cPictureObj::Draw(DDSURFACEDATA*, DDSURFACEDATA*, int)
{
    WORLD_PLACEHOLDER(15, "cPictureObj::Draw");
    return 1;
}

int cEffectObj::Draw(DDSURFACEDATA*, int)
{
    WORLD_PLACEHOLDER(15, "cEffectObj::Draw");
    return 1;
}
