// The drawing of an item.

#include "world/item_obj.h"

#include "world/placeholder.h"

int cItemObj::DrawItem(DDSURFACEDATA*, int)
{
    WORLD_PLACEHOLDER(15, "cItemObj::DrawItem");
    return 0;
}
