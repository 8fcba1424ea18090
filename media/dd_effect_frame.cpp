#include "media/dd_effect_frame.h"

#include <algorithm>

#include "media/dd_palette.h"
#include "media/dd_render.h"
#include "media/dd_surface.h"

namespace {

DDEffectPixels viewOf(const DDLOCKDATA& lock)
{
    DDEffectPixels v;
    v.bits = lock.m_lpBits;
    v.pitch = lock.pitch();
    v.width = std::max(std::min(lock.m_lpSD->width, lock.m_Desc.width), 0);
    v.height = std::max(std::min(lock.m_lpSD->height, lock.m_Desc.height), 0);
    return v;
}

} // namespace

bool DDEffectLock::lock(DDSURFACEDATA* dest_, DDSURFACEDATA* src_)
{
    release();
    if (!DDLockData(&m_Dest, dest_)) return false;
    if (!DDLockData(&m_Src, src_)) {
        DDUnlock(&m_Dest);
        return false;
    }
    dest = viewOf(m_Dest);
    src = viewOf(m_Src);
    return true;
}

bool DDEffectLock::lock(DDSURFACEDATA* sd)
{
    release();
    if (!DDLockData(&m_Dest, sd)) return false;
    dest = viewOf(m_Dest);
    return true;
}

void DDEffectLock::release()
{
    DDUnlock(&m_Src);
    DDUnlock(&m_Dest);
    dest = DDEffectPixels{};
    src = DDEffectPixels{};
}

bool DDEffectClip::clip(const DDEffectPixels& dest, int x, int y, const DDEffectPixels& src, int sx,
                        int sy, int w, int h)
{
    auto range = [](std::int64_t at, std::int64_t from, std::int64_t size, std::int64_t destSize,
                    std::int64_t srcSize, int& low, int& high) {
        const std::int64_t lo = std::max({std::int64_t{0}, -at, -from});
        const std::int64_t hi = std::min({size, destSize - at, srcSize - from});
        if (hi <= lo) {
            low = high = 0;
            return false;
        }
        low = static_cast<int>(lo);
        high = static_cast<int>(hi);
        return true;
    };
    const bool columns = range(x, sx, w, dest.width, src.width, left, right);
    const bool rows = range(y, sy, h, dest.height, src.height, top, bottom);
    return columns && rows;
}

void DDEffectSubstitute(DDSURFACEDATA** dest, DDSURFACEDATA** src)
{
    DDMirrorSource(dest);
    DDMirrorSource(src);
    DDVirtualTarget(dest);
    DDVirtualTarget(src);
}

bool DDIsSystemTexture(const DDSURFACEDATA* sd)
{
    return sd && sd->lpDT && sd->lpDT->systemTexture;
}

std::uint32_t DDEffectKey()
{
    if (!g_D3DState) return g_DDKeyColor;
    return g_DDBpp == 16 ? g_D3DState->keyed16 : g_D3DState->keyed32;
}

void DDEffectQuad(DDSURFACEDATA* dest, DDSURFACEDATA* src, DDQUAD quad, const DDQUADCORNER* corners)
{
    if (!dest || !src || !dest->lpDT || !src->lpDT) return;
    // The source's own quad: a surface without one (a linked copy that has
    // no link, BackBuffer's texture) has nothing to draw from.
    if (!src->lpDT->hasVertexBuffer || !src->lpDT->lpSurface) return;
    if (!DDBeginScene() || !DDSetRenderTarget(0, dest)) return;
    quad.texture = src->lpDT->lpSurface.get();
    if (corners)
        DDDrawQuadCorners(*dest->lpDT->lpSurface, corners, quad);
    else
        DDDrawQuad(*dest->lpDT->lpSurface, quad);
    DDSetRestingTarget();
}
