#include "media/dd_present.h"

#include "core/sjis_text.h"
#include "media/bitmap_table.h"
#include "media/dd_bitmap.h"
#include "media/dd_blit.h"
#include "media/dd_device.h"
#include "media/dd_init.h"
#include "media/dd_log.h"
#include "media/dd_palette.h"
#include "media/dd_render.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"
#include "media/font.h"

namespace {

bool isPictureName(const std::string& name)
{
    return !name.empty() && name != "E";
}

void restoreFonts()
{
    for (Font* font : g_FontList)
        font->Restore();
}

} // namespace

int DDPresent()
{
    if (!g_D3DState || !lpDevice) return 1;
    if (g_D3DState->virtualMode) DDFlushVirtualBackBuffer(&BackBuffer, &VirBackBuffer);
    DDEndScene();
    if (lpDevice->Present() == D3DERR_DEVICELOST) return 0;
    return 1;
}

void DDSetVirtualBackBuffer(int on)
{
    if (!g_D3DState) return;
    if (g_D3DState->virtualMode && !on && VirBackBuffer.lpDT && VirBackBuffer.lpDT->lpSurface)
        DDFlushVirtualBackBuffer(&BackBuffer, &VirBackBuffer);
    g_D3DState->virtualMode = on;
    DDSURFACEDATA* resting = on ? &BackBuffer : &VirBackBuffer;
    g_D3DState->restingTarget = resting;
    if (resting->lpDT && resting->lpDT->lpSurface) DDSetRenderTarget(0, resting);
}

void DDFlushVirtualBackBuffer(DDSURFACEDATA* dest, DDSURFACEDATA* src)
{
    if (!g_D3DState) return;
    g_D3DState->copying = 1;
    DDBlt(dest, 0, 0, src->width, src->height, src, 0, 0, 0);
    g_D3DState->copying = 0;
}

int DDRestoreSurface()
{
    if (!g_D3DState || !lpDevice) {
        DDErrLogF("%s", Sjis("DDではDDRestoreSurfaceは未対応"));
        return 1;
    }
    for (DDSURFACEDATA* sd : g_RestoreList) {
        if (!sd->lpDT) continue;
        sd->lpDT->lpSurface.reset();
        if (!sd->lpDT->systemTexture) sd->lpDT->lpTexture.reset();
    }
    if (BackBuffer.lpDT) BackBuffer.lpDT->lpSurface.reset();
    // A device that was never lost is simply reset as well, so that the
    // surfaces released above come back.
    D3DRESULT level = lpDevice->TestCooperativeLevel();
    if (level != D3DERR_DEVICENOTRESET && level != D3D_OK) return 0;
    DDErrLogF("a");
    if (lpDevice->Reset(g_D3DState->present) != D3D_OK) return 0;
    DDSetRenderStates();
    if (BackBuffer.lpDT) BackBuffer.lpDT->lpSurface = lpDevice->GetBackBuffer();
    // Recreation may add and remove temporary entries: walk a copy.
    const std::vector<DDSURFACEDATA*> listed = g_RestoreList;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        DDSURFACEDATA* sd = listed[i];
        if (!sd->lpDT) continue;
        DDErrLogF("i = %d lpSD->szSurfaceType = %s lpSD->szFileName = %s Size = (%d,%d)",
                  static_cast<int>(i), sd->szSurfaceType.c_str(), sd->szFileName.c_str(), sd->width,
                  sd->height);
        const DDTEXTUREDATA& dt = *sd->lpDT;
        if (isPictureName(sd->szFileName)) {
            DDCreateSurfaceFromFile(sd, sd->szFileName, dt.colourKey, g_DDBpp, sd->ddMemory,
                                    dt.systemTexture, sd->lpMirror ? 1 : 0, 0, sd->mirrorCellWidth,
                                    sd->mirrorCellHeight, 1);
        } else {
            DDCreateSurface(sd, sd->width, sd->height, dt.colourKey, sd->ddMemory, dt.systemTexture,
                            0, 1);
            sd->lpDT->redraw = 1;
        }
    }
    DDSetRestingTarget();
    restoreFonts();
    return 1;
}

std::uint8_t DDRestore()
{
    if (g_D3DState) {
        DDErrLogF("%s", Sjis("D3DではDDRestoreは未対応"));
        return 1;
    }
    DDDrawSurface* primary = PrimarySD.lpDD ? PrimarySD.lpDD->lpDDSurface.get() : nullptr;
    if (!primary || primary->IsLost() != DDERR_SURFACELOST) return 1;
    primary->Restore();
    if (BackBuffer.lpDD && BackBuffer.lpDD->lpDDSurface &&
        BackBuffer.lpDD->lpDDSurface->IsLost() == DDERR_SURFACELOST)
        BackBuffer.lpDD->lpDDSurface->Restore();
    for (int i = 0; g_DDSurfaces && i < g_DDSurfaceCount; ++i) {
        DDSURFACEDATA* sd = &g_DDSurfaces[i];
        if (!sd->lpDD || !sd->lpDD->lpDDSurface ||
            sd->lpDD->lpDDSurface->IsLost() != DDERR_SURFACELOST)
            continue;
        sd->lpDD->lpDDSurface->Restore();
        if (sd->ddMemory == 0 && isPictureName(sd->szFileName)) DDReloadSurface(sd, g_DDBpp);
    }
    if (g_DDBpp == 8 && lpDDPalette) lpDDPalette->SetEntries(0, 256, g_ScreenPalette.data());
    restoreFonts();
    return 1;
}

std::int32_t DDFlipPrimary()
{
    if (!lpDD) return DDERR_GENERIC;
    return lpDD->Flip();
}

std::int32_t DDBltToPrimary()
{
    DDDrawSurface* primary = PrimarySD.lpDD ? PrimarySD.lpDD->lpDDSurface.get() : nullptr;
    DDDrawSurface* back = BackBuffer.lpDD ? BackBuffer.lpDD->lpDDSurface.get() : nullptr;
    if (!primary || !back) return DDERR_GENERIC;
    DDRECT source{0, 0, back->pixels.width, back->pixels.height};
    return DDDrawBlt(*primary, g_ClientRect, *back, source, false);
}
