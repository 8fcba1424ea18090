#include "media/dd_quad.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "media/dd_state.h"

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

int wrap(std::int64_t v, int size)
{
    std::int64_t m = v % size;
    return static_cast<int>(m < 0 ? m + size : m);
}

std::uint32_t clamp255(int v)
{
    return static_cast<std::uint32_t>(std::clamp(v, 0, 255));
}

std::uint32_t lerp255(std::uint32_t a, std::uint32_t b, std::uint32_t alpha)
{
    return DDMul255(a, alpha) + DDMul255(b, 255 - alpha);
}

std::uint32_t channelOp(int op, std::uint32_t t, std::uint32_t d, std::uint32_t tA,
                        std::uint32_t dA, std::uint32_t fA)
{
    switch (op) {
    case D3DTOP_DISABLE:
    case D3DTOP_SELECTARG2:
        return d;
    case D3DTOP_SELECTARG1:
        return t;
    case D3DTOP_MODULATE:
        return DDMul255(t, d);
    case D3DTOP_MODULATE2X:
        return std::min<std::uint32_t>(255, 2 * DDMul255(t, d));
    case D3DTOP_MODULATE4X:
        return std::min<std::uint32_t>(255, 4 * DDMul255(t, d));
    case D3DTOP_ADD:
        return std::min<std::uint32_t>(255, t + d);
    case D3DTOP_ADDSIGNED:
        return clamp255(static_cast<int>(t + d) - 128);
    case D3DTOP_ADDSIGNED2X:
        return clamp255(2 * (static_cast<int>(t + d) - 128));
    case D3DTOP_SUBTRACT:
        return t > d ? t - d : 0;
    case D3DTOP_ADDSMOOTH:
        return std::min<std::uint32_t>(255, t + DDMul255(d, 255 - t));
    case D3DTOP_BLENDDIFFUSEALPHA:
        return lerp255(t, d, dA);
    case D3DTOP_BLENDTEXTUREALPHA:
        return lerp255(t, d, tA);
    case D3DTOP_BLENDFACTORALPHA:
        return lerp255(t, d, fA);
    default:
        return t;
    }
}

// Whether the stage passes the texel through unchanged.
bool stageIsIdentity(const DDQUAD& q)
{
    bool colour = q.colorOp == D3DTOP_SELECTARG1 ||
                  (q.colorOp == D3DTOP_MODULATE && (q.arg2 & 0xFFFFFF) == 0xFFFFFF);
    bool alpha = q.alphaOp == D3DTOP_SELECTARG1 ||
                 (q.alphaOp == D3DTOP_MODULATE && (q.arg2 >> 24) == 0xFF);
    return colour && alpha && q.texture;
}

}  // namespace

std::uint32_t DDBlendOver(std::uint32_t s, std::uint32_t d)
{
    std::uint32_t a = s >> 24;
    if (a == 255)
        return s;
    if (a == 0)
        return d;
    std::uint32_t inv = 255 - a;
    std::uint32_t r = DDMul255((s >> 16) & 0xFF, a) + DDMul255((d >> 16) & 0xFF, inv);
    std::uint32_t g = DDMul255((s >> 8) & 0xFF, a) + DDMul255((d >> 8) & 0xFF, inv);
    std::uint32_t b = DDMul255(s & 0xFF, a) + DDMul255(d & 0xFF, inv);
    std::uint32_t oa = DDMul255(a, a) + DDMul255(d >> 24, inv);
    return oa << 24 | r << 16 | g << 8 | b;
}

std::uint32_t DDStageColor(std::uint32_t t, const DDQUAD& q)
{
    std::uint32_t d = q.arg2;
    std::uint32_t tA = t >> 24, dA = d >> 24, fA = q.factor >> 24;
    std::uint32_t r = channelOp(q.colorOp, (t >> 16) & 0xFF, (d >> 16) & 0xFF, tA, dA, fA);
    std::uint32_t g = channelOp(q.colorOp, (t >> 8) & 0xFF, (d >> 8) & 0xFF, tA, dA, fA);
    std::uint32_t b = channelOp(q.colorOp, t & 0xFF, d & 0xFF, tA, dA, fA);
    std::uint32_t a = channelOp(q.alphaOp, tA, dA, tA, dA, fA);
    return a << 24 | r << 16 | g << 8 | b;
}

void DDDrawQuad(DDPixels& target, const DDQUAD& q)
{
    if (q.w == 0 || q.h == 0 || target.format == DDFormat::P8)
        return;
    // Covered pixels, clipped to the target.
    std::int64_t x0 = std::min<std::int64_t>(q.x, std::int64_t{q.x} + q.w);
    std::int64_t x1 = std::max<std::int64_t>(q.x, std::int64_t{q.x} + q.w);
    std::int64_t y0 = std::min<std::int64_t>(q.y, std::int64_t{q.y} + q.h);
    std::int64_t y1 = std::max<std::int64_t>(q.y, std::int64_t{q.y} + q.h);
    int left = static_cast<int>(std::max<std::int64_t>(x0, 0));
    int right = static_cast<int>(std::min<std::int64_t>(x1, target.width));
    int top = static_cast<int>(std::max<std::int64_t>(y0, 0));
    int bottom = static_cast<int>(std::min<std::int64_t>(y1, target.height));
    if (left >= right || top >= bottom)
        return;

    const DDPixels* tex = q.texture;
    if (tex && (tex->width <= 0 || tex->height <= 0 || tex->format == DDFormat::P8))
        tex = nullptr;

    // Texel column of each covered column and texel row of each covered row.
    thread_local std::vector<int> columns;
    columns.resize(static_cast<std::size_t>(right - left));
    bool identityColumns = tex != nullptr;
    for (int px = left; px < right; ++px) {
        int u = 0;
        if (tex) {
            std::int64_t num = (2 * (std::int64_t{px} - q.x) + 1) * q.sw;
            u = wrap(q.sx + floorDiv(num, 2 * std::int64_t{q.w}), tex->width);
            if (px > left && u != columns[px - left - 1] + 1)
                identityColumns = false;
        }
        columns[px - left] = u;
    }
    auto texelRow = [&](int py) {
        if (!tex)
            return 0;
        std::int64_t num = (2 * (std::int64_t{py} - q.y) + 1) * q.sh;
        return wrap(q.sy + floorDiv(num, 2 * std::int64_t{q.h}), tex->height);
    };

    const bool identity = stageIsIdentity(q) && tex;
    const DDFormat tf = tex ? tex->format : DDFormat::A8R8G8B8;
    const int count = right - left;

    // Fast path: 32-bit texels onto a 32-bit target, texel passed through.
    if (identity && DDFormatBytes(tf) == 4 && target.bytesPerPixel() == 4) {
        const bool opaqueTexels = tf == DDFormat::X8R8G8B8;
        for (int py = top; py < bottom; ++py) {
            const auto* srow = reinterpret_cast<const std::uint32_t*>(tex->row(texelRow(py)));
            auto* drow = reinterpret_cast<std::uint32_t*>(target.row(py)) + left;
            if (opaqueTexels && identityColumns) {
                std::memcpy(drow, srow + columns[0], static_cast<std::size_t>(count) * 4);
                continue;
            }
            for (int i = 0; i < count; ++i) {
                std::uint32_t s = srow[columns[i]];
                if (opaqueTexels)
                    s |= 0xFF000000u;
                std::uint32_t a = s >> 24;
                if (a == 255)
                    drow[i] = s;
                else if (a != 0)
                    drow[i] = DDBlendOver(s, drow[i]);
            }
        }
        return;
    }
    // Fast path: 16-bit texels of the same format as the target, passed through.
    if (identity && tf == target.format && tf == DDFormat::A1R5G5B5) {
        for (int py = top; py < bottom; ++py) {
            const auto* srow = reinterpret_cast<const std::uint16_t*>(tex->row(texelRow(py)));
            auto* drow = reinterpret_cast<std::uint16_t*>(target.row(py)) + left;
            for (int i = 0; i < count; ++i) {
                std::uint16_t s = srow[columns[i]];
                if (s & 0x8000)
                    drow[i] = s;
            }
        }
        return;
    }
    // Everything else: widen, combine, blend, narrow.
    for (int py = top; py < bottom; ++py) {
        int v = texelRow(py);
        for (int i = 0; i < count; ++i) {
            std::uint32_t texel = tex ? DDToARGB(tf, tex->get(columns[i], v)) : 0xFF000000u;
            std::uint32_t s = identity ? texel : DDStageColor(texel, q);
            std::uint32_t a = s >> 24;
            if (a == 0)
                continue;
            int px = left + i;
            if (a == 255) {
                target.set(px, py, DDFromARGB(target.format, s));
            } else {
                std::uint32_t d = DDToARGB(target.format, target.get(px, py));
                target.set(px, py, DDFromARGB(target.format, DDBlendOver(s, d)));
            }
        }
    }
}
