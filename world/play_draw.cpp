// The drawing of the play field: layers, blocks, pictures, items, shots,
// the status bar, the time, the hint line and the tint.

#include "world/play_screen.h"

#include "world/placeholder.h"
#include "world/running_stage.h"

void DrawLayers(DDSURFACEDATA*, int)
{
    WORLD_PLACEHOLDER(15, "DrawLayers");
}

void DrawBlockMap(DDSURFACEDATA*, int)
{
    WORLD_PLACEHOLDER(15, "DrawBlockMap");
}

void DrawPictures(DDSURFACEDATA*, int, int)
{
    WORLD_PLACEHOLDER(15, "DrawPictures");
}

void DrawStatusBar(DDSURFACEDATA*)
{
    WORLD_PLACEHOLDER(15, "DrawStatusBar");
}

void DrawTime(DDSURFACEDATA*, int)
{
    WORLD_PLACEHOLDER(15, "DrawTime");
}

void StartTint(const cEdCommand&)
{
    WORLD_PLACEHOLDER(15, "StartTint");
}

void DrawTint(int)
{
    WORLD_PLACEHOLDER(15, "DrawTint");
}

void DrawItems(int, int)
{
    WORLD_PLACEHOLDER(15, "DrawItems");
}

void DrawShots(int, int)
{
    WORLD_PLACEHOLDER(15, "DrawShots");
}

void DrawTestText()
{
    WORLD_PLACEHOLDER(15, "DrawTestText");
}

void ResetScreenPalette()
{
    WORLD_PLACEHOLDER(15, "ResetScreenPalette");
}

void CycleColors()
{
    WORLD_PLACEHOLDER(15, "CycleColors");
}
