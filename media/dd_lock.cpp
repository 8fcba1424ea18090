#include "media/dd_lock.h"

#include "core/sjis_text.h"
#include "media/dd_log.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"

bool DDLock(DDSURFACEDATA* sd, DDLOCKDESC* desc, void** bits, int bpp)
{
    if (g_D3DState) {
        DDErrLogF("%s", Sjis("D3DではDDLockは未対応"));
        return true;
    }
    if (!sd || !sd->lpDD || !sd->lpDD->lpDDSurface || sd->lpDD->lpDDSurface->lost) return false;
    DDPixels& p = sd->lpDD->lpDDSurface->pixels;
    desc->width = p.width;
    desc->height = p.height;
    desc->pitch = p.pitch;
    desc->surface = p.data();
    if (bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32) *bits = desc->surface;
    return true;
}

bool DDLockData(DDLOCKDATA* lock, DDSURFACEDATA* sd)
{
    lock->m_lpSD = nullptr;
    lock->m_lpBits = nullptr;
    lock->m_Bpp = g_DDBpp;
    lock->m_BytesPerPixel = DDBytesPerPixel();
    if (!sd) return false;
    if (g_D3DState) {
        if (!sd->lpDT || !sd->lpDT->lpSurface) {
            if (sd->lpDT && sd->lpDT->renderTarget && sd != &BackBuffer)
                DDDebugBoxF("FAILED( lpDevice->GetRenderTargetData(lpSD->lpDT->lpSurface,"
                            "lpSD->lpDT->lpSystemSurface) )");
            else
                DDDebugBoxF("FAILED( lpSD->lpDT->lpSurface->LockRect(&(lock), NULL, 0) )");
            return false;
        }
        DDPixels& p = *sd->lpDT->lpSurface;
        lock->m_Desc = DDLOCKDESC{p.width, p.height, p.pitch, p.data()};
        lock->m_lpBits = p.data();
    } else {
        void* bits = nullptr;
        if (!DDLock(sd, &lock->m_Desc, &bits, g_DDBpp) || !bits) return false;
        lock->m_lpBits = static_cast<std::uint8_t*>(bits);
    }
    lock->m_lpSD = sd;
    return true;
}

void DDUnlock(DDLOCKDATA* lock)
{
    if (!lock->m_lpSD) return;
    // What was written through the lock counts as a change of the pixels.
    if (DDPixels* p = lock->m_lpSD->pixels()) p->changed();
    lock->m_lpSD = nullptr;
    lock->m_lpBits = nullptr;
}

int DDIsBackBuffer(DDSURFACEDATA* sd)
{
    return sd == &BackBuffer && g_DDWindowed == 0 ? 1 : 0;
}
