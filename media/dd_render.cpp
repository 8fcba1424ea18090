#include "media/dd_render.h"

#include "media/dd_device.h"
#include "media/dd_log.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"

void DDMirrorSource(DDSURFACEDATA** sd)
{
    if (*sd && (*sd)->lpMirror) *sd = (*sd)->lpMirror;
}

int DDVirtualTarget(DDSURFACEDATA** sd)
{
    if (g_D3DState && g_D3DState->virtualMode && *sd == &BackBuffer) {
        *sd = &VirBackBuffer;
        return 1;
    }
    return 0;
}

int DDBeginScene()
{
    if (!lpDevice || !g_D3DState) return 0;
    g_D3DState->inScene = 1;
    return 1;
}

void DDEndScene()
{
    if (lpDevice && g_D3DState && g_D3DState->inScene) g_D3DState->inScene = 0;
}

int DDSetRenderTarget(int, DDSURFACEDATA* sd)
{
    if (!lpDevice || !sd || !sd->lpDT || !sd->lpDT->renderTarget) return 0;
    if (!sd->lpDT->lpSurface) {
        DDReportLog("SetRenderTarget Err %x (%s)", 0x8876086Cu, sd->szFileName.c_str());
        return 0;
    }
    lpDevice->SetRenderTarget(sd->lpDT->lpSurface);
    return 1;
}

void DDSetRestingTarget()
{
    if (g_D3DState && g_D3DState->restingTarget) DDSetRenderTarget(0, g_D3DState->restingTarget);
}

void DDSetVertexColor(std::uint32_t argb)
{
    if (g_D3DState) g_D3DState->vertexColor = argb;
}

void DDResetVertexColor()
{
    DDSetVertexColor(0xFFFFFFFF);
}

void DDSetColorOp(int op)
{
    if (g_D3DState) g_D3DState->colorOp = op;
}

void DDResetColorOp()
{
    DDSetColorOp(D3DTOP_MODULATE);
}

void DDResetAlphaOp()
{
    if (g_D3DState) g_D3DState->alphaOp = D3DTOP_SELECTARG1;
}
