#include "media/dd_blur.h"

#include <algorithm>
#include <type_traits>
#include <vector>

#include "core/sjis_text.h"
#include "media/dd_effect_frame.h"
#include "media/dd_log.h"
#include "media/dd_surface.h"

namespace {

// The channels a branch averages and how an average goes back into a
// pixel: bytes 0, 1, 2 of a 32-bit pixel (byte 3 of the destination kept).
struct Bytes32 {
    using Pixel = std::uint32_t;
    void unpack(std::uint32_t p, std::uint32_t c[3]) const
    {
        c[0] = p & 0xFF;
        c[1] = (p >> 8) & 0xFF;
        c[2] = (p >> 16) & 0xFF;
    }
    std::uint32_t pack(const std::uint32_t c[3], std::uint32_t old) const
    {
        return (old & 0xFF000000u) | c[2] << 16 | c[1] << 8 | c[0];
    }
};

// Red, green and blue of a 16-bit pixel in their own ranges, packed for a
// surface (no alpha), a texture (alpha bit) or the full-screen back buffer
// (green doubled to 6 bits).
struct Packed16 {
    using Pixel = std::uint16_t;
    enum Target { Surface, Texture, BackBuffer };
    DDFORMATDATA f;
    Target target;
    void unpack(std::uint32_t p, std::uint32_t c[3]) const
    {
        const DDRGB v = DDUnpack(p, f);
        c[0] = v.r;
        c[1] = v.g;
        c[2] = v.b;
    }
    std::uint32_t pack(const std::uint32_t c[3], std::uint32_t) const
    {
        if (target == BackBuffer) return DDPackBackBuffer(c[0], c[1] * 2, c[2]);
        return DDPack(DDRGB{c[0], c[1], c[2]}, f, target == Texture);
    }
};

Packed16 packed16(DDSURFACEDATA* dest)
{
    Packed16 ch{g_PixelFormat, Packed16::Surface};
    if (g_D3DState) ch.target = DDIsBackBuffer(dest) ? Packed16::BackBuffer : Packed16::Texture;
    return ch;
}

// Division of a channel sum by a pixel count, exact: a multiplication by the
// count's reciprocal rounded up, which is exact while sum x count < 2^40.
class CountDivider {
public:
    void set(std::uint32_t count)
    {
        if (count == count_) return;
        count_ = count;
        reciprocal_ = count < 65536 ? ((std::uint64_t{1} << 40) + count - 1) / count : 0;
    }
    std::uint32_t operator()(std::uint64_t sum) const
    {
        if (reciprocal_ && sum < (std::uint64_t{1} << 24))
            return static_cast<std::uint32_t>((sum * reciprocal_) >> 40);
        return static_cast<std::uint32_t>(sum / count_);
    }

private:
    std::uint32_t count_ = 0;
    std::uint64_t reciprocal_ = 0;
};

// The rectangle's offsets whose source pixels lie inside the source surface:
// columns [left, right) and rows [top, bottom).
struct Area {
    int left = 0, right = 0, top = 0, bottom = 0;
    bool empty() const { return left >= right || top >= bottom; }
};

Area sourceArea(const DDEffectPixels& src, int sx, int sy, int w, int h)
{
    auto range = [](int from, int size, int limit, int& low, int& high) {
        const std::int64_t lo = std::max<std::int64_t>(0, -std::int64_t{from});
        const std::int64_t hi = std::min<std::int64_t>(size, std::int64_t{limit} - from);
        low = hi > lo ? static_cast<int>(lo) : 0;
        high = hi > lo ? static_cast<int>(hi) : 0;
    };
    Area a;
    range(sx, w, src.width, a.left, a.right);
    range(sy, h, src.height, a.top, a.bottom);
    return a;
}

struct BlurJob {
    const DDEffectLock& l;
    int x, y, sx, sy;
    Area area;
    int hr, vr;
    bool skipKey;
    std::uint32_t key;
};

// The blur when source and destination share pixels: each window is summed
// from the pixels as they are at that moment, in drawing order.
template <typename Ch> void blurInOrder(const BlurJob& job, const Ch& ch)
{
    using P = typename Ch::Pixel;
    const Area& a = job.area;
    CountDivider divide;
    for (int q = a.top; q < a.bottom; ++q) {
        const int wy0 = std::max(a.top, q - job.vr), wy1 = std::min(a.bottom, q + job.vr);
        for (int t = a.left; t < a.right; ++t) {
            const P centre = job.l.src.row<P>(job.sy + q)[job.sx + t];
            if (job.skipKey && centre == job.key) continue;
            const int wx0 = std::max(a.left, t - job.hr), wx1 = std::min(a.right, t + job.hr);
            std::uint64_t sum[3] = {0, 0, 0};
            std::uint32_t count = 0;
            for (int r = wy0; r < wy1; ++r) {
                const P* row = job.l.src.row<P>(job.sy + r);
                for (int c = wx0; c < wx1; ++c) {
                    const P p = row[job.sx + c];
                    if (job.skipKey && p == job.key) continue;
                    std::uint32_t v[3];
                    ch.unpack(p, v);
                    sum[0] += v[0];
                    sum[1] += v[1];
                    sum[2] += v[2];
                    ++count;
                }
            }
            const int dx = job.x + t, dy = job.y + q;
            if (count == 0 || !job.l.dest.contains(dx, dy)) continue;
            divide.set(count);
            const std::uint32_t avg[3] = {divide(sum[0]), divide(sum[1]), divide(sum[2])};
            P* out = job.l.dest.row<P>(dy) + dx;
            *out = static_cast<P>(ch.pack(avg, *out));
        }
    }
}

// The blur from a source the destination does not overlap: window sums kept
// as running sums, row sums by prefix sums, the same integers as summing
// every window.
template <typename Ch> void blurRunning(const BlurJob& job, const Ch& ch)
{
    using P = typename Ch::Pixel;
    const Area& a = job.area;
    const int W = a.right - a.left, H = a.bottom - a.top;
    // Four lanes per column: three channels and the count.
    thread_local std::vector<std::uint32_t> prefix;
    thread_local std::vector<std::uint64_t> window;
    prefix.assign(static_cast<std::size_t>(W + 1) * 4, 0);
    window.assign(static_cast<std::size_t>(W) * 4, 0);

    // Adds (sign +1) or removes (sign -1) the horizontal window sums of one
    // row of the area to the running column sums.
    auto addRow = [&](int q, int sign) {
        const P* row = job.l.src.row<P>(job.sy + a.top + q) + job.sx + a.left;
        for (int t = 0; t < W; ++t) {
            const P p = row[t];
            std::uint32_t v[3];
            ch.unpack(p, v);
            const std::uint32_t use = job.skipKey && p == job.key ? 0u : 1u;
            std::uint32_t* out = &prefix[static_cast<std::size_t>(t + 1) * 4];
            const std::uint32_t* in = out - 4;
            out[0] = in[0] + v[0] * use;
            out[1] = in[1] + v[1] * use;
            out[2] = in[2] + v[2] * use;
            out[3] = in[3] + use;
        }
        for (int t = 0; t < W; ++t) {
            const std::uint32_t* hi =
                &prefix[static_cast<std::size_t>(std::min(W, t + job.hr)) * 4];
            const std::uint32_t* lo =
                &prefix[static_cast<std::size_t>(std::max(0, t - job.hr)) * 4];
            std::uint64_t* w = &window[static_cast<std::size_t>(t) * 4];
            for (int k = 0; k < 4; ++k) {
                const std::uint64_t s = hi[k] - lo[k];
                w[k] = sign > 0 ? w[k] + s : w[k] - s;
            }
        }
    };

    for (int q = 0; q < std::min(H, job.vr); ++q)
        addRow(q, 1);
    CountDivider divide;
    for (int q = 0; q < H; ++q) {
        const int dy = job.y + a.top + q;
        if (dy >= 0 && dy < job.l.dest.height) {
            const P* centre = job.l.src.row<P>(job.sy + a.top + q) + job.sx + a.left;
            P* out = job.l.dest.row<P>(dy);
            for (int t = 0; t < W; ++t) {
                const std::uint64_t* w = &window[static_cast<std::size_t>(t) * 4];
                const int dx = job.x + a.left + t;
                if (w[3] == 0 || dx < 0 || dx >= job.l.dest.width) continue;
                if (job.skipKey && centre[t] == job.key) continue;
                divide.set(static_cast<std::uint32_t>(w[3]));
                const std::uint32_t avg[3] = {divide(w[0]), divide(w[1]), divide(w[2])};
                out[dx] = static_cast<P>(ch.pack(avg, out[dx]));
            }
        }
        if (q + job.vr < H) addRow(q + job.vr, 1);
        if (q - job.vr >= 0) addRow(q - job.vr, -1);
    }
}

template <typename Ch> void blurWith(const BlurJob& job, const Ch& ch)
{
    const Area& a = job.area;
    // Do the destination's pixels overlap the source pixels read?
    const bool shared = job.l.dest.bits == job.l.src.bits && job.x + a.left < job.sx + a.right &&
                        job.sx + a.left < job.x + a.right && job.y + a.top < job.sy + a.bottom &&
                        job.sy + a.top < job.y + a.bottom;
    if (shared)
        blurInOrder(job, ch);
    else
        blurRunning(job, ch);
}

template <typename Ch> struct MosaicJob {
    const DDEffectLock& l;
    const Ch& ch;
    int x, y, sx, sy, w, h, block;
    Area area;
    bool skipKey;
    std::uint32_t key;
};

// Fills the destination pixels of one block (cut by the rectangle and the
// destination) with a value made from each pixel's old value.
template <typename P, typename Value>
void fillBlock(const DDEffectLock& l, int x0, int y0, int x1, int y1, Value value)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, l.dest.width);
    y1 = std::min(y1, l.dest.height);
    for (int yy = y0; yy < y1; ++yy) {
        P* row = l.dest.row<P>(yy);
        for (int xx = x0; xx < x1; ++xx)
            row[xx] = static_cast<P>(value(row[xx]));
    }
}

// The block's average (16-bit channels widened to 8 bits first); false
// when it has no pixel to average.
template <typename Ch>
bool blockAverage(const MosaicJob<Ch>& job, int bx, int by, std::uint32_t avg[3])
{
    using P = typename Ch::Pixel;
    const int c0 = std::max(bx, job.area.left), c1 = std::min(bx + job.block, job.area.right);
    const int r0 = std::max(by, job.area.top), r1 = std::min(by + job.block, job.area.bottom);
    std::uint64_t sum[3] = {0, 0, 0};
    std::uint32_t count = 0;
    for (int r = r0; r < r1; ++r) {
        const P* row = job.l.src.template row<P>(job.sy + r) + job.sx;
        for (int c = c0; c < c1; ++c) {
            const P p = row[c];
            if (job.skipKey && p == job.key) continue;
            std::uint32_t v[3];
            job.ch.unpack(p, v);
            if constexpr (std::is_same_v<Ch, Packed16>) {
                v[0] = DDWiden(v[0], job.ch.f.maxR);
                v[1] = DDWiden(v[1], job.ch.f.maxG);
                v[2] = DDWiden(v[2], job.ch.f.maxB);
            }
            sum[0] += v[0];
            sum[1] += v[1];
            sum[2] += v[2];
            ++count;
        }
    }
    if (count == 0) return false;
    for (int k = 0; k < 3; ++k)
        avg[k] = static_cast<std::uint32_t>(sum[k] / count);
    return true;
}

// Runs onBlock(bx, by) over the blocks that hold source pixels and reach
// into the destination, in drawing order.
template <typename OnBlock>
void forEachBlock(const DDEffectPixels& dest, int x, int y, int block, const Area& area,
                  OnBlock onBlock)
{
    // Blocks [b, b + block) meeting [low, high) of the area whose pixels at
    // + b meet [0, destSize): from the first multiple of the block size.
    auto span = [&](int at, int low, int high, int destSize, std::int64_t& first,
                    std::int64_t& end) {
        const std::int64_t lo = std::max<std::int64_t>(
            {std::int64_t{low} - block + 1, -std::int64_t{at} - block + 1, 0});
        first = (lo + block - 1) / block * block;
        end = std::min<std::int64_t>(high, std::int64_t{destSize} - at);
    };
    std::int64_t rowFirst, rowEnd, colFirst, colEnd;
    span(y, area.top, area.bottom, dest.height, rowFirst, rowEnd);
    span(x, area.left, area.right, dest.width, colFirst, colEnd);
    for (std::int64_t by = rowFirst; by < rowEnd; by += block)
        for (std::int64_t bx = colFirst; bx < colEnd; bx += block)
            onBlock(static_cast<int>(bx), static_cast<int>(by));
}

bool mosaic(DDSURFACEDATA* dest, int x, int y, int w, int h, int block, DDSURFACEDATA* src, int sx,
            int sy, int transparent)
{
    DDEffectLock l;
    if (!l.lock(dest, src)) return false;
    const Area area = sourceArea(l.src, sx, sy, w, h);
    if (area.empty()) return true;
    const bool skipKey = transparent == 1;
    const std::uint32_t key = DDEffectKey();
    auto blockEnd = [&](int b, int size) {
        return static_cast<int>(std::min<std::int64_t>(std::int64_t{b} + block, size));
    };

    if (g_DDBpp == 8 || (g_D3DState && g_DDBpp == 16)) {
        // The block's first pixel.
        const bool repack = g_D3DState && DDIsBackBuffer(dest);
        forEachBlock(l.dest, x, y, block, area, [&](int bx, int by) {
            if (bx < area.left || by < area.top) return; // outside the source surface
            std::uint32_t p = g_DDBpp == 8 ? l.src.row<std::uint8_t>(sy + by)[sx + bx]
                                           : l.src.row<std::uint16_t>(sy + by)[sx + bx];
            if (skipKey && p == key) return;
            if (repack) {
                const DDRGB c = DDUnpack(p, g_PixelFormat);
                p = DDPackBackBuffer(c.r, c.g * 2, c.b);
            }
            const int x0 = x + bx, y0 = y + by;
            const int x1 = x + blockEnd(bx, w), y1 = y + blockEnd(by, h);
            if (g_DDBpp == 8)
                fillBlock<std::uint8_t>(l, x0, y0, x1, y1, [&](std::uint32_t) { return p; });
            else
                fillBlock<std::uint16_t>(l, x0, y0, x1, y1, [&](std::uint32_t) { return p; });
        });
        return true;
    }
    if (g_DDBpp == 16) {
        const Packed16 ch = packed16(dest);
        const MosaicJob<Packed16> job{l, ch, x, y, sx, sy, w, h, block, area, skipKey, key};
        forEachBlock(l.dest, x, y, block, area, [&](int bx, int by) {
            std::uint32_t avg[3];
            if (!blockAverage(job, bx, by, avg)) return;
            const std::uint32_t c[3] = {DDNarrow(avg[0], ch.f.maxR), DDNarrow(avg[1], ch.f.maxG),
                                        DDNarrow(avg[2], ch.f.maxB)};
            const std::uint32_t p = ch.pack(c, 0);
            if (skipKey && p == key) return;
            fillBlock<std::uint16_t>(l, x + bx, y + by, x + blockEnd(bx, w), y + blockEnd(by, h),
                                     [&](std::uint32_t) { return p; });
        });
        return true;
    }
    const Bytes32 ch;
    const MosaicJob<Bytes32> job{l, ch, x, y, sx, sy, w, h, block, area, skipKey, key};
    forEachBlock(l.dest, x, y, block, area, [&](int bx, int by) {
        std::uint32_t avg[3];
        if (!blockAverage(job, bx, by, avg)) return;
        const std::uint32_t colour = avg[2] << 16 | avg[1] << 8 | avg[0];
        if (skipKey && colour == (key & 0xFFFFFFu)) return;
        fillBlock<std::uint32_t>(l, x + bx, y + by, x + blockEnd(bx, w), y + blockEnd(by, h),
                                 [&](std::uint32_t old) { return (old & 0xFF000000u) | colour; });
    });
    return true;
}

} // namespace

bool DDBltBlur(DDSURFACEDATA* dest, int x, int y, int width, int height, int hRadius, int vRadius,
               DDSURFACEDATA* src, int sx, int sy, int transparent)
{
    if (hRadius == 0 || vRadius == 0) return true;
    if (!dest || !src) return true;
    if (g_D3DState) DDEffectSubstitute(&dest, &src);
    DDEffectLock l;
    if (!l.lock(dest, src)) return false;
    if (g_DDBpp == 8) {
        DDErrLogF("%s", Sjis("8ビットぼかしは不可能！"));
        return true;
    }
    // A negative radius leaves every window empty.
    if (hRadius < 0 || vRadius < 0) return true;
    BlurJob job{l,
                x,
                y,
                sx,
                sy,
                sourceArea(l.src, sx, sy, width, height),
                0,
                0,
                transparent == 1,
                DDEffectKey()};
    if (job.area.empty()) return true;
    // A window wider than the area holds what the area-wide window holds.
    job.hr = std::min(hRadius, job.area.right - job.area.left);
    job.vr = std::min(vRadius, job.area.bottom - job.area.top);
    if (g_DDBpp == 16)
        blurWith(job, packed16(dest));
    else
        blurWith(job, Bytes32{});
    return true;
}

bool DDBltMosaic(DDSURFACEDATA* dest, int x, int y, int width, int height, int blockSize,
                 DDSURFACEDATA* src, int sx, int sy, int transparent)
{
    if (blockSize <= 0) return true;
    if (!dest || !src) return true;
    if (g_D3DState) DDEffectSubstitute(&dest, &src);
    return mosaic(dest, x, y, width, height, blockSize, src, sx, sy, transparent);
}
