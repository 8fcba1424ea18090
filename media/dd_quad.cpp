#include "media/dd_quad.h"

#include <algorithm>
#include <vector>

#include "media/dd_state.h"

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
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

// Whether the stage passes the texel's colour through unchanged.
bool colourPasses(const DDQUAD& q)
{
    return q.colorOp == D3DTOP_SELECTARG1 ||
           (q.colorOp == D3DTOP_MODULATE && (q.arg2 & 0xFFFFFF) == 0xFFFFFF);
}

// Whether the stage passes the texel through unchanged.
bool stageIsIdentity(const DDQUAD& q)
{
    bool alpha =
        q.alphaOp == D3DTOP_SELECTARG1 || (q.alphaOp == D3DTOP_MODULATE && (q.arg2 >> 24) == 0xFF);
    return colourPasses(q) && alpha && q.texture;
}

// Copies the opaque texels of a row over the target and says whether any
// texel has partial alpha. Written so that the compiler can vectorise it.
__attribute__((noinline)) bool chooseOpaque(std::uint32_t* __restrict out,
                                            const std::uint32_t* __restrict in, int count,
                                            std::uint32_t forceOpaque)
{
    std::uint32_t partial = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t texel = in[i] | forceOpaque;
        const std::uint32_t a = texel >> 24;
        const std::uint32_t opaque = 0u - static_cast<std::uint32_t>(a == 255);
        out[i] = (texel & opaque) | (out[i] & ~opaque);
        partial |= static_cast<std::uint32_t>(a - 1u < 254u);
    }
    return partial != 0;
}

// One row blended by a constant alpha a: every byte (the alpha bytes too)
// becomes in x a / 255 + out x (255 - a) / 255, each product rounded on its
// own, as DDBlendOver does. Written so that the compiler can vectorise it.
__attribute__((noinline)) void blendRowConstant(std::uint8_t* __restrict out,
                                                const std::uint8_t* __restrict in, int bytes,
                                                std::uint16_t a)
{
    const std::uint16_t inv = static_cast<std::uint16_t>(255 - a);
    for (int b = 0; b < bytes; ++b) {
        std::uint16_t x = static_cast<std::uint16_t>(in[b] * a + 128);
        x = static_cast<std::uint16_t>((x + (x >> 8)) >> 8);
        std::uint16_t y = static_cast<std::uint16_t>(out[b] * inv + 128);
        y = static_cast<std::uint16_t>((y + (y >> 8)) >> 8);
        out[b] = static_cast<std::uint8_t>(x + y);
    }
}

} // namespace

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
    if (q.w == 0 || q.h == 0 || target.format == DDFormat::P8) return;
    // Covered pixels, clipped to the target.
    std::int64_t x0 = std::min<std::int64_t>(q.x, std::int64_t{q.x} + q.w);
    std::int64_t x1 = std::max<std::int64_t>(q.x, std::int64_t{q.x} + q.w);
    std::int64_t y0 = std::min<std::int64_t>(q.y, std::int64_t{q.y} + q.h);
    std::int64_t y1 = std::max<std::int64_t>(q.y, std::int64_t{q.y} + q.h);
    int left = static_cast<int>(std::max<std::int64_t>(x0, 0));
    int right = static_cast<int>(std::min<std::int64_t>(x1, target.width));
    int top = static_cast<int>(std::max<std::int64_t>(y0, 0));
    int bottom = static_cast<int>(std::min<std::int64_t>(y1, target.height));
    if (left >= right || top >= bottom) return;

    const DDPixels* tex = q.texture;
    if (tex && (tex->width <= 0 || tex->height <= 0 || tex->format == DDFormat::P8)) tex = nullptr;

    // No texture: one colour for the whole quad.
    if (!tex) {
        const std::uint32_t s = DDStageColor(0xFF000000u, q);
        const std::uint32_t a = s >> 24;
        if (a == 0) return;
        if (a == 255) {
            target.fillRect(left, top, right - left, bottom - top, DDFromARGB(target.format, s));
            return;
        }
        for (int py = top; py < bottom; ++py) {
            if (target.bytesPerPixel() == 4) {
                auto* row = reinterpret_cast<std::uint32_t*>(target.row(py));
                for (int px = left; px < right; ++px)
                    row[px] = DDBlendOver(s, row[px]);
            } else {
                for (int px = left; px < right; ++px) {
                    std::uint32_t d = DDToARGB(target.format, target.get(px, py));
                    target.set(px, py, DDFromARGB(target.format, DDBlendOver(s, d)));
                }
            }
        }
        return;
    }

    // Texel column of each covered column and texel row of each covered row.
    thread_local std::vector<int> columns;
    columns.resize(static_cast<std::size_t>(right - left));
    bool identityColumns = true;
    const std::int64_t firstU = std::int64_t{q.sx} + left - q.x;
    if (q.sw == q.w && firstU >= 0 && firstU + (right - left) <= tex->width) {
        // Same width, inside the texture: texel column i is the i-th from sx.
        for (int i = 0; i < right - left; ++i)
            columns[i] = static_cast<int>(firstU) + i;
    } else {
        for (int px = left; px < right; ++px) {
            std::int64_t num = (2 * (std::int64_t{px} - q.x) + 1) * q.sw;
            int u = wrap(q.sx + floorDiv(num, 2 * std::int64_t{q.w}), tex->width);
            if (px > left && u != columns[px - left - 1] + 1) identityColumns = false;
            columns[px - left] = u;
        }
    }
    auto texelRow = [&](int py) {
        std::int64_t num = (2 * (std::int64_t{py} - q.y) + 1) * q.sh;
        return wrap(q.sy + floorDiv(num, 2 * std::int64_t{q.h}), tex->height);
    };

    const bool identity = stageIsIdentity(q);
    const DDFormat tf = tex->format;
    const int count = right - left;

    // Fast path: 32-bit texels onto a 32-bit target, texel passed through.
    // Opaque texels are chosen in one pass that the compiler can vectorise;
    // texels of partial alpha, when a row has any, are blended in a second.
    if (identity && DDFormatBytes(tf) == 4 && target.bytesPerPixel() == 4) {
        const std::uint32_t forceOpaque = tf == DDFormat::X8R8G8B8 ? 0xFF000000u : 0;
        thread_local std::vector<std::uint32_t> gathered;
        gathered.resize(static_cast<std::size_t>(count));
        for (int py = top; py < bottom; ++py) {
            const auto* srow = reinterpret_cast<const std::uint32_t*>(tex->row(texelRow(py)));
            auto* drow = reinterpret_cast<std::uint32_t*>(target.row(py)) + left;
            const std::uint32_t* src = srow + columns[0];
            if (!identityColumns) {
                for (int i = 0; i < count; ++i)
                    gathered[i] = srow[columns[i]];
                src = gathered.data();
            }
            const bool partial = chooseOpaque(drow, src, count, forceOpaque);
            if (partial) {
                for (int i = 0; i < count; ++i) {
                    const std::uint32_t a = src[i] >> 24;
                    if (a != 0 && a != 255) drow[i] = DDBlendOver(src[i], drow[i]);
                }
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
                if (s & 0x8000) drow[i] = s;
            }
        }
        return;
    }
    // 32-bit texels whose colour passes through and whose alpha the vertex
    // alpha scales (translucent copies).
    if (colourPasses(q) && q.alphaOp == D3DTOP_MODULATE && DDFormatBytes(tf) == 4 &&
        target.bytesPerPixel() == 4) {
        const std::uint32_t forceOpaque = tf == DDFormat::X8R8G8B8 ? 0xFF000000u : 0;
        const std::uint32_t vertexAlpha = q.arg2 >> 24;
        thread_local std::vector<std::uint32_t> row;
        row.resize(static_cast<std::size_t>(count));
        for (int py = top; py < bottom; ++py) {
            const auto* srow = reinterpret_cast<const std::uint32_t*>(tex->row(texelRow(py)));
            auto* drow = reinterpret_cast<std::uint32_t*>(target.row(py)) + left;
            // Opaque texels all take the vertex alpha: one alpha for the row.
            std::uint32_t opaque = 0xFF000000u;
            for (int i = 0; i < count; ++i) {
                const std::uint32_t texel = srow[columns[i]] | forceOpaque;
                opaque &= texel;
                row[i] = (texel & 0xFFFFFFu) | vertexAlpha << 24;
            }
            if (opaque == 0xFF000000u) {
                blendRowConstant(reinterpret_cast<std::uint8_t*>(drow),
                                 reinterpret_cast<const std::uint8_t*>(row.data()), count * 4,
                                 static_cast<std::uint16_t>(vertexAlpha));
                continue;
            }
            for (int i = 0; i < count; ++i) {
                const std::uint32_t texel = srow[columns[i]] | forceOpaque;
                const std::uint32_t a = DDMul255(texel >> 24, vertexAlpha);
                drow[i] = DDBlendOver((texel & 0xFFFFFFu) | a << 24, drow[i]);
            }
        }
        return;
    }
    // 32-bit texels onto a 32-bit target through the texture stage.
    if (DDFormatBytes(tf) == 4 && target.bytesPerPixel() == 4) {
        const bool opaqueTexels = tf == DDFormat::X8R8G8B8;
        for (int py = top; py < bottom; ++py) {
            const auto* srow = reinterpret_cast<const std::uint32_t*>(tex->row(texelRow(py)));
            auto* drow = reinterpret_cast<std::uint32_t*>(target.row(py)) + left;
            for (int i = 0; i < count; ++i) {
                std::uint32_t texel = srow[columns[i]];
                if (opaqueTexels) texel |= 0xFF000000u;
                drow[i] = DDBlendOver(DDStageColor(texel, q), drow[i]);
            }
        }
        return;
    }
    // Everything else: widen, combine, blend, narrow.
    for (int py = top; py < bottom; ++py) {
        int v = texelRow(py);
        for (int i = 0; i < count; ++i) {
            std::uint32_t texel = DDToARGB(tf, tex->get(columns[i], v));
            std::uint32_t s = identity ? texel : DDStageColor(texel, q);
            std::uint32_t a = s >> 24;
            if (a == 0) continue;
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
