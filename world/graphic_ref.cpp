// Graphic references resolved to their pictures; icons of them.

#include "world/graphic_ref.h"

#include "world/placeholder.h"

void ResolveGraphic(GraphicRef&, int, int, int, int, const cGameObj*, int)
{
    WORLD_PLACEHOLDER(15, "ResolveGraphic");
}

void DrawGraphicIcon(DDSURFACEDATA*, int, int, int, int, int)
{
    WORLD_PLACEHOLDER(15, "DrawGraphicIcon");
}
