#include "media/dd_lens.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "media/dd_blit.h"
#include "media/dd_effect_frame.h"
#include "media/dd_render.h"
#include "media/dd_surface.h"

namespace {

// The largest k with k * k <= v, for v >= 0.
std::int64_t isqrt(std::int64_t v)
{
    auto k = static_cast<std::int64_t>(std::sqrt(static_cast<double>(v)));
    while (k > 0 && k * k > v)
        --k;
    while ((k + 1) * (k + 1) <= v)
        ++k;
    return k;
}

struct Lens {
    int cx, cy, scx, scy;
    std::int64_t radius, depth, rim; // rim: D, the lens sphere's radius
    std::uint32_t key;
};

// The offsets of the points (+-adx, +-ady) of one pair of rows: the same
// square root and quotients serve all four (a quotient of -dx is exactly
// the negated quotient of dx), only the rounding of each sign differs.
struct Offsets {
    std::vector<int> xPlus, xMinus, yPlus, yMinus;
    void resize(std::size_t n)
    {
        xPlus.resize(n);
        xMinus.resize(n);
        yPlus.resize(n);
        yMinus.resize(n);
    }
};

int roundOffset(double q)
{
    return static_cast<int>(std::trunc(std::clamp(q + 0.5, -2e9, 2e9)));
}

void offsetsOfRow(const Lens& z, std::int64_t ady, std::int64_t count, Offsets& o)
{
    o.resize(static_cast<std::size_t>(count));
    const double depth = static_cast<double>(z.depth);
    for (std::int64_t adx = 0; adx < count; ++adx) {
        const std::int64_t rest = z.rim * z.rim - (adx * adx + ady * ady);
        const double s = std::sqrt(static_cast<double>(rest));
        const auto i = static_cast<std::size_t>(adx);
        if (s == 0) {
            o.xPlus[i] = static_cast<int>(adx);
            o.xMinus[i] = static_cast<int>(-adx);
            o.yPlus[i] = static_cast<int>(ady);
            o.yMinus[i] = static_cast<int>(-ady);
            continue;
        }
        const double qx = static_cast<double>(adx) * depth / s;
        const double qy = static_cast<double>(ady) * depth / s;
        o.xPlus[i] = roundOffset(qx);
        o.xMinus[i] = roundOffset(-qx);
        o.yPlus[i] = roundOffset(qy);
        o.yMinus[i] = roundOffset(-qy);
    }
}

template <typename P> void lensRows(const DDEffectLock& l, const Lens& z)
{
    // What may be read: the display's rectangle, inside the source.
    const int readW = std::min(g_DDWidth, l.src.width), readH = std::min(g_DDHeight, l.src.height);
    if (readW <= 0 || readH <= 0) return;
    // Columns of the destination, as offsets from the centre.
    const std::int64_t dxLow = -std::int64_t{z.cx}, dxHigh = std::int64_t{l.dest.width} - z.cx;
    const std::int64_t farthest = std::max(std::abs(dxLow), std::abs(dxHigh - 1));
    const std::int64_t rowFar =
        std::max(std::abs(std::int64_t{z.cy}), std::abs(std::int64_t{l.dest.height} - 1 - z.cy));
    thread_local Offsets o;
    for (std::int64_t ady = 0; ady <= std::min(z.radius, rowFar); ++ady) {
        const std::int64_t rowA = std::int64_t{z.cy} + ady, rowB = std::int64_t{z.cy} - ady;
        const bool showA = rowA >= 0 && rowA < l.dest.height;
        const bool showB = ady > 0 && rowB >= 0 && rowB < l.dest.height;
        if (!showA && !showB) continue;
        const std::int64_t k = isqrt(z.radius * z.radius - ady * ady);
        const std::int64_t count = std::min(k, farthest) + 1;
        offsetsOfRow(z, ady, count, o);
        const std::int64_t first = std::max(-k, dxLow), end = std::min(k + 1, dxHigh);
        for (int side = 0; side < 2; ++side) {
            if (!(side == 0 ? showA : showB)) continue;
            P* out = l.dest.row<P>(static_cast<int>(side == 0 ? rowA : rowB));
            const std::vector<int>& ys = side == 0 ? o.yPlus : o.yMinus;
            auto draw = [&](std::int64_t dx, int ox, int oy) {
                const std::int64_t px = std::int64_t{z.scx} + ox, py = std::int64_t{z.scy} + oy;
                if (px < 0 || py < 0 || px >= readW || py >= readH) return;
                const P p = l.src.row<P>(static_cast<int>(py))[px];
                if (p != z.key) out[z.cx + dx] = p;
            };
            for (std::int64_t dx = first; dx < std::min<std::int64_t>(end, 0); ++dx)
                draw(dx, o.xMinus[static_cast<std::size_t>(-dx)],
                     ys[static_cast<std::size_t>(-dx)]);
            for (std::int64_t dx = std::max<std::int64_t>(first, 0); dx < end; ++dx)
                draw(dx, o.xPlus[static_cast<std::size_t>(dx)], ys[static_cast<std::size_t>(dx)]);
        }
    }
}

// One row or band of the circle through the copy of the back end.
void copyBand(DDSURFACEDATA* dest, int x, int y, int width, int height, DDSURFACEDATA* src, int sx,
              int sy, int transparent)
{
    if (g_D3DState)
        DDBltEx(dest, x, y, width, height, src, sx, sy, width, height, transparent);
    else
        DDBlt(dest, x, y, width, height, src, sx, sy, transparent);
}

struct Circle {
    DDSURFACEDATA *dest, *src;
    int cx, cy, scx, scy, transparent;
    std::int64_t radius, left, right; // source column limits [left, right)
};

// The band of `rows` rows from dy whose half width is taken at row m.
void drawBand(const Circle& c, std::int64_t dy, std::int64_t m, std::int64_t rows)
{
    const std::int64_t rest = c.radius * c.radius - m * m;
    std::int64_t k = rest > 0 ? isqrt(rest) : 0;
    if (k >= c.radius) k = c.radius - 1;
    std::int64_t start = std::int64_t{c.scx} - k, to = std::int64_t{c.cx} - k, width = 2 * k;
    if (start < c.left) {
        const std::int64_t shift = c.left - start;
        start += shift;
        to += shift;
        width -= shift;
    }
    if (start + width >= c.right) width = c.right - start;
    // A row cut to nothing (or less) is not drawn; a negative width would
    // mirror it.
    if (width <= 0) return;
    const std::int64_t y = std::int64_t{c.cy} + dy, sy = std::int64_t{c.scy} + dy;
    if (y < INT32_MIN || y > INT32_MAX || sy < INT32_MIN || sy > INT32_MAX || to < INT32_MIN ||
        to > INT32_MAX)
        return;
    copyBand(c.dest, static_cast<int>(to), static_cast<int>(y), static_cast<int>(width),
             static_cast<int>(rows), c.src, static_cast<int>(start), static_cast<int>(sy),
             c.transparent);
}

} // namespace

bool DDBltLens(DDSURFACEDATA* dest, int centreX, int centreY, int radius, int depth,
               DDSURFACEDATA* src, int srcCentreX, int srcCentreY, int)
{
    if (radius < 0 || depth < 0) return false;
    const auto rim = static_cast<std::int64_t>(
        std::sqrt(static_cast<double>(radius) * radius + static_cast<double>(depth) * depth));
    if (rim <= depth) return false;
    if (!dest || !src) return true;
    if (g_D3DState) DDEffectSubstitute(&dest, &src);
    DDEffectLock l;
    if (!l.lock(dest, src)) return false;
    const Lens z{centreX, centreY, srcCentreX, srcCentreY, radius, depth, rim, DDEffectKey()};
    if (g_DDBpp == 8)
        lensRows<std::uint8_t>(l, z);
    else if (g_DDBpp == 16)
        lensRows<std::uint16_t>(l, z);
    else
        lensRows<std::uint32_t>(l, z);
    return true;
}

void DDBltCircle(DDSURFACEDATA* dest, int centreX, int centreY, int halfWidth, int halfHeight,
                 int radius, int bandHeight, DDSURFACEDATA* src, int srcCentreX, int srcCentreY,
                 int transparent)
{
    if (radius <= 0 || bandHeight <= 0 || !dest || !src) return;
    DDMirrorSource(&dest);
    DDMirrorSource(&src);
    Circle c{dest, src, centreX, centreY, srcCentreX, srcCentreY, transparent, radius, 0, 0};
    c.left = std::max<std::int64_t>(std::int64_t{srcCentreX} - halfWidth, 0);
    c.right = std::min<std::int64_t>(std::int64_t{srcCentreX} + halfWidth, src->width);
    const std::int64_t hh = halfHeight, r = radius, n = bandHeight;
    // Rows outside the destination draw nothing: the walk starts at the
    // lowest row that can show and stops above the highest.
    const std::int64_t destH = dest->height;
    if (n == 1) {
        const std::int64_t first = std::min({r - 1, hh - 1, destH - 1 - centreY});
        const std::int64_t last = std::max({-r, -hh, -std::int64_t{centreY}});
        for (std::int64_t dy = first; dy >= last; --dy)
            drawBand(c, dy, dy, 1);
        return;
    }
    std::int64_t dy = r - n;
    // Bands from at or below the half height are skipped.
    if (dy >= hh) dy -= ((dy - hh) / n + 1) * n;
    while (dy >= -r) {
        if (dy + n <= -hh) break;
        if (dy + n > hh)
            dy = hh - n;
        else if (dy < -hh)
            dy = -hh;
        if (std::int64_t{centreY} + dy >= destH) {
            // Below the destination: step on to the first band that can
            // show, stopping short of the half height and the radius.
            const std::int64_t wanted = (std::int64_t{centreY} + dy - destH) / n + 1;
            const std::int64_t allowed = std::min((dy + hh) / n, (dy + r) / n);
            const std::int64_t k = std::min(wanted, allowed);
            if (k > 0) {
                dy -= k * n;
                continue;
            }
        }
        // Above the destination: so is every later band.
        if (std::int64_t{centreY} + dy + n <= 0) break;
        drawBand(c, dy, dy + (n >> 1), n);
        dy -= n;
    }
}
