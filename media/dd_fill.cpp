#include "media/dd_fill.h"

#include <algorithm>

#include "media/dd_ddraw.h"
#include "media/dd_device.h"
#include "media/dd_lock.h"
#include "media/dd_log.h"
#include "media/dd_palette.h"
#include "media/dd_quad.h"
#include "media/dd_render.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"

namespace {

// The rectangle cut to [0, width) x [0, height) at both edges of each axis.
DDRECT clipRect(int x, int y, int w, int h, int width, int height)
{
    long long left = std::max<long long>(x, 0);
    long long top = std::max<long long>(y, 0);
    long long right = std::min<long long>(static_cast<long long>(x) + w, width);
    long long bottom = std::min<long long>(static_cast<long long>(y) + h, height);
    return DDRECT{static_cast<int>(left), static_cast<int>(top),
                  static_cast<int>(std::max(right, left)), static_cast<int>(std::max(bottom, top))};
}

bool validPaletteNumber(int n)
{
    if (n < 0 || n > 255) {
        DDErrLogF("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = %d", n);
        return false;
    }
    return true;
}

std::int32_t fillD3D(DDSURFACEDATA* sd, int x, int y, int w, int h, std::uint32_t colour)
{
    DDMirrorSource(&sd);
    DDVirtualTarget(&sd);
    if (!sd->lpDT || !sd->lpDT->lpSurface) return 0;
    DDPixels& p = *sd->lpDT->lpSurface;
    DDRECT r = clipRect(x, y, w, h, p.width, p.height);
    if (sd->lpDT->systemTexture) {
        DDLOCKDATA lock;
        if (!DDLockData(&lock, sd)) return 0;
        std::uint32_t value = g_DDBpp == 32 ? colour : DDFromARGB(p.format, colour);
        p.fillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, value);
        DDUnlock(&lock);
        return 1;
    }
    if (!DDBeginScene() || !DDSetRenderTarget(0, sd)) return 0;
    if (r.left < r.right && r.top < r.bottom) {
        const bool isBack = sd == &BackBuffer;
        bool clear = false;
        std::uint32_t clearValue = 0;
        if (sd->lpDT->colourKey) {
            if (!isBack && colour == g_D3DState->keyed32) {
                clear = true;
                clearValue = g_DDBpp == 16 ? g_D3DState->keyed16 : g_D3DState->keyed32;
            } else if (isBack && colour == g_D3DState->opaqueKey32) {
                clear = true;
                clearValue = DDFromARGB(p.format, colour);
            }
        }
        if (clear) {
            // Under blending a quad of alpha 0 would change nothing; a fill
            // with the transparent value must make the pixels transparent.
            p.fillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, clearValue);
        } else {
            DDQUAD quad;
            quad.x = r.left;
            quad.y = r.top;
            quad.w = r.right - r.left;
            quad.h = r.bottom - r.top;
            quad.arg2 = colour;
            quad.colorOp = D3DTOP_SELECTARG2;
            quad.alphaOp = D3DTOP_SELECTARG2;
            lpDevice->SetTextureFactor(colour);
            DDDrawQuad(p, quad);
        }
    }
    DDSetRestingTarget();
    return 1;
}

std::int32_t fillDDraw(DDSURFACEDATA* sd, int x, int y, int w, int h, std::uint32_t value)
{
    if (!sd->lpDD || !sd->lpDD->lpDDSurface) return DDERR_GENERIC;
    DDDrawSurface& s = *sd->lpDD->lpDDSurface;
    DDRECT r = clipRect(x, y, w, h, s.pixels.width, s.pixels.height);
    if (r.left >= r.right || r.top >= r.bottom) return DD_OK;
    return DDDrawColorFill(s, r, value);
}

} // namespace

std::uint32_t PalNumToRGB(int n)
{
    if (!validPaletteNumber(n)) return 0;
    if (g_DDBpp == 8) return static_cast<std::uint32_t>(n);
    if (n == 0) return g_D3DState ? g_D3DState->keyed32 : 0;
    const DDPALENTRY& e = g_Palette[n];
    return 0xFF000000u | std::uint32_t{e.red} << 16 | std::uint32_t{e.green} << 8 | e.blue;
}

std::int32_t DDFillRect(DDSURFACEDATA* sd, int x, int y, int w, int h, std::uint32_t colour)
{
    if (!sd) return 0;
    if (g_D3DState) return fillD3D(sd, x, y, w, h, colour);
    return fillDDraw(sd, x, y, w, h, colour);
}

std::int32_t DDBoxFillPal(DDSURFACEDATA* sd, int x, int y, int w, int h, int n)
{
    if (!sd) return 0;
    if (g_D3DState) return DDFillRect(sd, x, y, w, h, PalNumToRGB(n));
    std::uint32_t value = 0;
    if (validPaletteNumber(n)) {
        const DDPALENTRY& e = g_Palette[n];
        if (g_DDBpp == 8)
            value = static_cast<std::uint32_t>(n);
        else if (g_DDBpp == 16)
            value = DDRGBTo16(&e);
        else
            value = std::uint32_t{e.red} << 16 | std::uint32_t{e.green} << 8 | e.blue;
    }
    return fillDDraw(sd, x, y, w, h, value);
}

std::int32_t DDClearPal(DDSURFACEDATA* sd, int n)
{
    if (!sd) return 0;
    return DDBoxFillPal(sd, 0, 0, sd->width, sd->height, n);
}
