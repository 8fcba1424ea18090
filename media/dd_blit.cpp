#include "media/dd_blit.h"

#include <cmath>

#include "media/dd_ddraw.h"
#include "media/dd_device.h"
#include "media/dd_lock.h"
#include "media/dd_quad.h"
#include "media/dd_render.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"

namespace {

// The value of a transparent texel at the current depth.
std::uint32_t keyedValue()
{
    return g_DDBpp == 16 ? g_D3DState->keyed16 : g_D3DState->keyed32;
}

// A 16-bit texel repacked for the full-screen 16-bit back buffer: the
// channels move to their places there and green doubles from 5 to 6 bits.
std::uint32_t repackForBackBuffer(std::uint32_t p)
{
    const DDFORMATDATA& f = g_PixelFormat;
    const DDFORMATDATA& b = g_BackBufferFormat;
    std::uint32_t r = (p >> f.shiftR) & f.maxR;
    std::uint32_t g = (p >> f.shiftG) & f.maxG;
    std::uint32_t bl = (p >> f.shiftB) & f.maxB;
    return r << b.shiftR | (g * 2) << b.shiftG | bl << b.shiftB;
}

// The copy used when a system-memory texture takes part: raw pixel words,
// no blending, transparent texels skipped when asked.
void softwareCopy(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                  int sy, int sw, int sh, int transparent)
{
    DDLOCKDATA dl, sl;
    if (!DDLockData(&dl, dest)) return;
    if (!DDLockData(&sl, src)) {
        DDUnlock(&dl);
        return;
    }
    DDPixels& dp = *dest->pixels();
    const DDPixels& spx = *src->pixels();
    const std::uint32_t key = keyedValue();
    const bool repack = g_DDBpp == 16 && DDIsBackBuffer(dest);
    auto inside = [](const DDSURFACEDATA* sd, const DDPixels& p, int px, int py) {
        return px >= 0 && py >= 0 && px < sd->width && py < sd->height && px < p.width &&
               py < p.height;
    };
    auto put = [&](int dx, int dy, int srcX, int srcY) {
        if (!inside(dest, dp, dx, dy) || !inside(src, spx, srcX, srcY)) return;
        std::uint32_t p = spx.get(srcX, srcY);
        if (transparent == 1 && p == key) return;
        dp.set(dx, dy, repack ? repackForBackBuffer(p) : p);
    };
    if (w == sw && h == sh) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                put(x + i, y + j, sx + i, sy + j);
    } else if (w > 0 && h > 0) {
        float rx = static_cast<float>(sw) / static_cast<float>(w);
        float ry = static_cast<float>(sh) / static_cast<float>(h);
        for (int j = 0; j < h; ++j) {
            int row = sy + static_cast<int>(static_cast<float>(j) * ry);
            for (int i = 0; i < w; ++i) {
                int u = static_cast<int>(static_cast<float>(i) * rx);
                if (sw >= 0) {
                    if (u < 0 || u >= sw) continue;
                } else {
                    if (u <= sw || u > 0) continue;
                    u -= 1;
                }
                put(x + i, y + j, sx + u, row);
            }
        }
    }
    DDUnlock(&sl);
    DDUnlock(&dl);
}

void bltD3D(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
            int sw, int sh, int transparent)
{
    if (!dest || !src) return;
    DDMirrorSource(&dest);
    DDMirrorSource(&src);
    if (g_D3DState->copying) {
        dest = &BackBuffer;
        src = &VirBackBuffer;
    } else {
        DDVirtualTarget(&dest);
        DDVirtualTarget(&src);
    }
    if (!dest->lpDT || !src->lpDT) return;
    if (dest->lpDT->systemTexture || src->lpDT->systemTexture) {
        softwareCopy(dest, x, y, w, h, src, sx, sy, sw, sh, transparent);
        return;
    }
    // Only a surface with its own texture and quad can be drawn from.
    if (!src->lpDT->hasVertexBuffer || !src->lpDT->lpSurface) return;
    if (!DDBeginScene() || !DDSetRenderTarget(0, dest)) return;
    DDPixels& target = *dest->lpDT->lpSurface;
    if (transparent == 0 && src->lpDT->colourKey && w > 0 && h > 0) {
        // An opaque copy carries the picture's transparent pixels over.
        std::uint32_t clear;
        if (dest == &BackBuffer) {
            const std::uint8_t* k = g_DDBpp == 16 ? g_D3DState->key16 : g_D3DState->key32;
            clear = g_DDBpp == 16
                        ? 0xFF000000u | std::uint32_t{k[2]} << 16 | std::uint32_t{k[1]} << 8 | k[0]
                        : g_D3DState->opaqueKey32;
            clear = DDFromARGB(target.format, clear);
        } else {
            clear = keyedValue();
        }
        target.fillRect(x, y, w, h, clear);
    }
    DDQUAD quad;
    quad.x = x;
    quad.y = y;
    quad.w = w;
    quad.h = h;
    quad.texture = src->lpDT->lpSurface.get();
    quad.sx = sx;
    quad.sy = sy;
    quad.sw = sw;
    quad.sh = sh;
    quad.arg2 = g_D3DState->vertexColor;
    quad.colorOp = g_D3DState->colorOp;
    quad.alphaOp = g_D3DState->alphaOp;
    quad.factor = lpDevice->textureFactor();
    DDDrawQuad(target, quad);
    DDSetRestingTarget();
}

DDDrawSurface* drawSurface(DDSURFACEDATA* sd)
{
    return sd && sd->lpDD ? sd->lpDD->lpDDSurface.get() : nullptr;
}

DDRESULT bltExDDraw(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                    int sy, int sw, int sh, int transparent)
{
    if (w <= 0 || h <= 0) return DD_OK;
    DDDrawSurface* d = drawSurface(dest);
    DDDrawSurface* s = drawSurface(src);
    if (!d || !s) return DDERR_GENERIC;
    const double rx = static_cast<double>(sw) / w;
    const double ry = static_cast<double>(sh) / h;
    DDRECT dr{x, y, x + w, y + h};
    DDRECT sr{sx, sy, sx + sw, sy + sh};
    if (sx < 0) sr.left = 0;
    if (sy < 0) sr.top = 0;
    if (sr.right - sr.left > s->pixels.width) sr.right = s->pixels.width;
    if (sr.bottom - sr.top > s->pixels.height) sr.bottom = s->pixels.height;
    // Clip the destination at each edge and the source by the same share.
    if (x < 0) {
        sr.left -= static_cast<int>(std::trunc(x * rx));
        dr.left = 0;
    }
    if (dr.right > d->pixels.width) {
        sr.right -= static_cast<int>(std::trunc((dr.right - d->pixels.width) * rx));
        dr.right = d->pixels.width;
    }
    if (y < 0) {
        sr.top -= static_cast<int>(std::trunc(y * ry));
        dr.top = 0;
    }
    if (dr.bottom > d->pixels.height) {
        sr.bottom -= static_cast<int>(std::trunc((dr.bottom - d->pixels.height) * ry));
        dr.bottom = d->pixels.height;
    }
    return DDDrawBlt(*d, dr, *s, sr, transparent == 1);
}

DDRESULT bltDDraw(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                  int sy, int transparent)
{
    DDDrawSurface* d = drawSurface(dest);
    DDDrawSurface* s = drawSurface(src);
    if (!d || !s) return DDERR_GENERIC;
    DDRECT sr{sx, sy, sx + w, sy + h};
    if (sx < 0) sr.left = 0;
    if (sy < 0) sr.top = 0;
    if (sr.right > s->pixels.width) sr.right = s->pixels.width;
    if (sr.bottom > s->pixels.height) sr.bottom = s->pixels.height;
    // Clip at both edges of the destination: a picture larger than the
    // destination drawn from a negative position still shows its middle.
    if (x < 0) {
        sr.left -= x;
        x = 0;
    }
    if (x + (sr.right - sr.left) > d->pixels.width) sr.right = sr.left + (d->pixels.width - x);
    if (y < 0) {
        sr.top -= y;
        y = 0;
    }
    if (y + (sr.bottom - sr.top) > d->pixels.height) sr.bottom = sr.top + (d->pixels.height - y);
    return DDDrawBltFast(*d, x, y, *s, sr, transparent == 1);
}

} // namespace

std::int32_t DDBltEx(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                     int sy, int sw, int sh, int transparent)
{
    if (g_D3DState) {
        bltD3D(dest, x, y, w, h, src, sx, sy, sw, sh, transparent);
        return 0;
    }
    return bltExDDraw(dest, x, y, w, h, src, sx, sy, sw, sh, transparent);
}

std::int32_t DDBlt(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                   int sy, int transparent)
{
    if (g_D3DState) {
        bltD3D(dest, x, y, w, h, src, sx, sy, w, h, transparent);
        return 0;
    }
    return bltDDraw(dest, x, y, w, h, src, sx, sy, transparent);
}

std::int32_t DDBltExOpt(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                        int sy, int sw, int sh, int transparent, const int opt[2])
{
    if (!g_D3DState) return DDBltEx(dest, x, y, w, h, src, sx, sy, sw, sh, transparent);
    DDSetVertexColor(static_cast<std::uint32_t>(opt[0]));
    DDSetColorOp(opt[1]);
    DDBltEx(dest, x, y, w, h, src, sx, sy, sw, sh, transparent);
    DDResetVertexColor();
    DDResetColorOp();
    return 0;
}

std::int32_t DDBltOpt(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                      int sy, int transparent, const int opt[2])
{
    if (!g_D3DState) return DDBlt(dest, x, y, w, h, src, sx, sy, transparent);
    return DDBltExOpt(dest, x, y, w, h, src, sx, sy, w, h, transparent, opt);
}
