#include "scenes/scene_surface.h"

#include "media/dd_surface.h"

bool TakeSurfaceRedraw(DDSURFACEDATA& sd)
{
    if (sd.lpDT && sd.lpDT->redraw) {
        sd.lpDT->redraw = 0;
        return true;
    }
    if (sd.lpDD && sd.lpDD->lpDDSurface && sd.lpDD->lpDDSurface->IsLost() == DDERR_SURFACELOST) {
        sd.lpDD->lpDDSurface->Restore();
        return true;
    }
    return false;
}
