// Item objects: set-up from a definition, placement and scaling.

#include "world/item_obj.h"

#include "world/placeholder.h"
#include "world/running_stage.h"

cItemObj::cItemObj() = default;
cItemObj::~cItemObj() = default;

// An item has no hit boxes beyond its body box.
int cItemObj::ScaleHitBox(int scale)
{
    return scale;
}

void cItemObj::UpdateHitBoxX()
{
}
void cItemObj::UpdateHitBoxY()
{
}

void cItemObj::AdjustPosOnScale(int, int)
{
    WORLD_PLACEHOLDER(12, "cItemObj::AdjustPosOnScale");
}

void cItemObj::SetupItem(int, const cEdItem&, int)
{
    WORLD_PLACEHOLDER(12, "cItemObj::SetupItem");
}

void cItemObj::PlaceAtCell(int, int)
{
    WORLD_PLACEHOLDER(12, "cItemObj::PlaceAtCell");
}
