// The player's drawing: its body, the test-play display of its boxes, the
// limited sight.

#include "world/player_obj.h"

#include "world/placeholder.h"

void cPlayerObj::Draw(DDSURFACEDATA*, int)
{
    WORLD_PLACEHOLDER(15, "cPlayerObj::Draw");
}

void cPlayerObj::DrawSightMask(DDSURFACEDATA*)
{
    WORLD_PLACEHOLDER(15, "cPlayerObj::DrawSightMask");
}
