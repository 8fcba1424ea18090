#include "media/dd_rotate.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "media/dd_device.h"
#include "media/dd_effect_frame.h"
#include "media/dd_surface.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943278;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if (a % b != 0 && ((a < 0) != (b < 0))) --q;
    return q;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b)
{
    return -floorDiv(-a, b);
}

// The whole numbers t with lo <= a t + b < hi, as [first, end).
void solve(std::int64_t a, std::int64_t b, std::int64_t lo, std::int64_t hi, std::int64_t& first,
           std::int64_t& end)
{
    if (a == 0) {
        if (b < lo || b >= hi) end = first;
        return;
    }
    std::int64_t from, to;
    if (a > 0) {
        from = ceilDiv(lo - b, a);
        to = floorDiv(hi - b - 1, a) + 1;
    } else {
        from = ceilDiv(hi - b - 1, a);
        to = floorDiv(lo - b, a) + 1;
    }
    first = std::max(first, from);
    end = std::min(end, to);
}

void rotateQuad(DDSURFACEDATA* dest, int cx, int cy, int w, int h, int px, int py, int angle,
                DDSURFACEDATA* src, int sx, int sy)
{
    if (!src->lpDT || !src->lpDT->lpSurface) return;
    const double theta = angle * kRadiansPerDegree;
    const float s = static_cast<float>(std::sin(theta)), c = static_cast<float>(std::cos(theta));
    const double ox = static_cast<double>(px) - (w >> 1), oy = static_cast<double>(py) - (h >> 1);
    const float left = static_cast<float>(-static_cast<double>(px));
    const float right = static_cast<float>(static_cast<double>(w) - px);
    const float top = static_cast<float>(-static_cast<double>(py));
    const float bottom = static_cast<float>(static_cast<double>(h) - py);
    const float tw = static_cast<float>(src->lpDT->lpSurface->width);
    const float th = static_cast<float>(src->lpDT->lpSurface->height);
    const float u0 = static_cast<float>(sx) / tw;
    const float u1 = static_cast<float>(static_cast<double>(sx) + w) / tw;
    const float v0 = static_cast<float>(sy) / th;
    const float v1 = static_cast<float>(static_cast<double>(sy) + h) / th;
    auto corner = [&](float X, float Y, float u, float v) {
        return DDQUADCORNER{
            static_cast<float>(cx) - 0.5f + static_cast<float>(ox) + (X * c - Y * s),
            static_cast<float>(cy) - 0.5f + static_cast<float>(oy) + (X * s + Y * c), u, v};
    };
    const DDQUADCORNER corners[4] = {corner(left, top, u0, v0), corner(left, bottom, u0, v1),
                                     corner(right, top, u1, v0), corner(right, bottom, u1, v1)};
    DDQUAD stage;
    stage.arg2 = g_D3DState->vertexColor;
    stage.colorOp = g_D3DState->colorOp;
    stage.alphaOp = g_D3DState->alphaOp;
    stage.factor = lpDevice ? lpDevice->textureFactor() : 0xFFFFFFFFu;
    DDEffectQuad(dest, src, stage, corners);
}

struct Turn {
    int cx, cy, w, h, px, py, sx, sy;
    std::int64_t S, C, invS, invC; // sine and cosine (and of the inverse turn) x 1024
    bool skipKey;
    std::uint32_t key;
};

template <typename P> void rotateRows(const DDEffectLock& l, const Turn& t)
{
    // The turned box: the rectangle's corner pixels turned about the pivot,
    // widened by 2 on every side.
    const std::int64_t xs[2] = {-std::int64_t{t.px}, std::int64_t{t.w} - t.px - 1};
    const std::int64_t ys[2] = {-std::int64_t{t.py}, std::int64_t{t.h} - t.py - 1};
    std::int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
    for (std::int64_t X : xs)
        for (std::int64_t Y : ys) {
            const std::int64_t x = ((X * t.C - Y * t.S) >> 10) + t.px;
            const std::int64_t y = ((X * t.S + Y * t.C) >> 10) + t.py;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    // Box rows j and columns i, cut to those that land in the destination.
    const std::int64_t jFirst = std::max(minY - 2, std::int64_t{t.py} - t.cy);
    const std::int64_t jEnd = std::min(maxY + 2, std::int64_t{t.py} - t.cy + l.dest.height);
    const std::int64_t iFirst = std::max(minX - 2, std::int64_t{t.px} - t.cx);
    const std::int64_t iEnd = std::min(maxX + 2, std::int64_t{t.px} - t.cx + l.dest.width);
    // The source pixels that may be read: inside the rectangle and inside
    // the source surface.
    const std::int64_t uLo = std::max<std::int64_t>(0, -std::int64_t{t.sx});
    const std::int64_t uHi = std::min<std::int64_t>(t.w, std::int64_t{l.src.width} - t.sx);
    const std::int64_t vLo = std::max<std::int64_t>(0, -std::int64_t{t.sy});
    const std::int64_t vHi = std::min<std::int64_t>(t.h, std::int64_t{l.src.height} - t.sy);
    if (uLo >= uHi || vLo >= vHi) return;
    for (std::int64_t j = jFirst; j < jEnd; ++j) {
        const std::int64_t dy = j - t.py;
        // u = ((invC x k - invS x dy) >> 10) + px and v = ((invS x k + invC x dy) >> 10) + py
        // for k = i - px: the columns k whose u and v lie in range.
        std::int64_t first = iFirst - t.px, end = iEnd - t.px;
        solve(t.invC, -t.invS * dy, (uLo - t.px) * 1024, (uHi - t.px) * 1024, first, end);
        solve(t.invS, t.invC * dy, (vLo - t.py) * 1024, (vHi - t.py) * 1024, first, end);
        if (first >= end) continue;
        P* out = l.dest.row<P>(static_cast<int>(t.cy + dy)) + (t.cx + first);
        std::int64_t nu = t.invC * first - t.invS * dy;
        std::int64_t nv = t.invS * first + t.invC * dy;
        for (std::int64_t k = first; k < end; ++k, ++out, nu += t.invC, nv += t.invS) {
            const std::int64_t u = (nu >> 10) + t.px, v = (nv >> 10) + t.py;
            const P p = l.src.row<P>(static_cast<int>(t.sy + v))[t.sx + u];
            if (t.skipKey && p == t.key) continue;
            *out = p;
        }
    }
}

} // namespace

bool DDBltRotate(DDSURFACEDATA* dest, int centreX, int centreY, int width, int height, int pivotX,
                 int pivotY, int angle, DDSURFACEDATA* src, int sx, int sy, int transparent)
{
    if (!dest || !src) return true;
    if (g_D3DState) {
        DDEffectSubstitute(&dest, &src);
        if (!DDIsSystemTexture(dest) && !DDIsSystemTexture(src)) {
            rotateQuad(dest, centreX, centreY, width, height, pivotX, pivotY, angle, src, sx, sy);
            return true;
        }
    }
    DDEffectLock l;
    if (!l.lock(dest, src)) return false;
    if (width <= 0 || height <= 0) return true;
    const double theta = angle * kRadiansPerDegree;
    Turn t{centreX,
           centreY,
           width,
           height,
           pivotX,
           pivotY,
           sx,
           sy,
           static_cast<std::int64_t>(std::sin(theta) * 1024),
           static_cast<std::int64_t>(std::cos(theta) * 1024),
           static_cast<std::int64_t>(std::sin(-theta) * 1024),
           static_cast<std::int64_t>(std::cos(-theta) * 1024),
           transparent == 1,
           DDEffectKey()};
    if (g_DDBpp == 8)
        rotateRows<std::uint8_t>(l, t);
    else if (g_DDBpp == 16)
        rotateRows<std::uint16_t>(l, t);
    else
        rotateRows<std::uint32_t>(l, t);
    return true;
}
