#include "media/dd_quad.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>
#include <vector>

#include "media/dd_row_kernel.h"
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
// texel has partial alpha.
DD_ROW_INLINE bool chooseOpaqueRow(std::uint32_t* __restrict out,
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

// A row whose texels are each fully opaque or fully transparent: the
// opaque ones (the top bit of alpha set) replace the target.
template <typename P>
DD_ROW_INLINE void copyWhereOpaqueRow(P* __restrict out, const P* __restrict in, int count)
{
    using Signed = std::make_signed_t<P>;
    constexpr int top = 8 * sizeof(P) - 1;
    for (int i = 0; i < count; ++i) {
        const auto keep = static_cast<P>(static_cast<Signed>(in[i]) >> top);
        out[i] = static_cast<P>((in[i] & keep) | (out[i] & ~keep));
    }
}

// Two bytes read and written as one 16-bit word.
using Word = std::uint16_t __attribute__((may_alias));

// One row blended by a constant alpha a: every byte (the alpha bytes too)
// becomes in x a / 255 + out x (255 - a) / 255, each product rounded on its
// own, as DDBlendOver does (t x 257 >> 16 is (t + (t >> 8)) >> 8 for any
// 16-bit t). Bytes go in pairs, the low and the high byte of a word, so
// that the products stay in 16-bit lanes.
DD_ROW_INLINE void blendConstantRow(Word* __restrict out, const Word* __restrict in, int words,
                                    std::uint16_t a)
{
    const std::uint16_t inv = static_cast<std::uint16_t>(255 - a);
    auto mul = [](std::uint32_t v, std::uint16_t f) {
        const auto t = static_cast<std::uint16_t>(v * f + 128);
        return std::uint32_t{t} * 257 >> 16;
    };
    for (int w = 0; w < words; ++w) {
        const std::uint32_t s = in[w], d = out[w];
        const std::uint32_t low = mul(s & 0xFF, a) + mul(d & 0xFF, inv);
        const std::uint32_t high = mul(s >> 8, a) + mul(d >> 8, inv);
        out[w] = static_cast<std::uint16_t>(low | high << 8);
    }
}

// Where the texel is transparent the target keeps its pixel: blended holds
// the row blended everywhere, taken where the texel is opaque.
DD_ROW_INLINE void takeWhereOpaqueRow(std::uint32_t* __restrict out,
                                      const std::uint32_t* __restrict blended,
                                      const std::uint32_t* __restrict texels, int count)
{
    for (int i = 0; i < count; ++i) {
        const auto keep = static_cast<std::uint32_t>(static_cast<std::int32_t>(texels[i]) >> 31);
        out[i] = (blended[i] & keep) | (out[i] & ~keep);
    }
}

// Two 8-bit channels at a time (bits 0-7 and 16-23) times f / 255, each
// rounded as DDMul255 rounds.
inline std::uint32_t mulLanes(std::uint32_t lanes, std::uint32_t f)
{
    const std::uint32_t x = lanes * f + 0x00800080u;
    return ((x + ((x >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// The stage's colour of each texel of a row, ARGB in and out. The blend by
// the factor's alpha and the modulation by the second colour, with the
// texel's alpha or its modulation, go two channels at a time; other
// operations texel by texel.
void stageRow(std::uint32_t* out, const std::uint32_t* in, int count, const DDQUAD& q,
              std::uint32_t forceOpaque)
{
    const std::uint32_t d = q.arg2;
    if (q.colorOp == D3DTOP_BLENDFACTORALPHA && q.alphaOp == D3DTOP_SELECTARG1) {
        const std::uint32_t f = q.factor >> 24, rest = 255 - f;
        const std::uint32_t fixedRB = mulLanes(d & 0x00FF00FFu, rest);
        const std::uint32_t fixedG = mulLanes((d >> 8) & 0xFFu, rest);
        for (int i = 0; i < count; ++i) {
            const std::uint32_t t = in[i] | forceOpaque;
            out[i] = (t & 0xFF000000u) | (mulLanes(t & 0x00FF00FFu, f) + fixedRB) |
                     (mulLanes((t >> 8) & 0xFFu, f) + fixedG) << 8;
        }
        return;
    }
    if (q.colorOp == D3DTOP_MODULATE &&
        (q.alphaOp == D3DTOP_SELECTARG1 || q.alphaOp == D3DTOP_MODULATE)) {
        const std::uint32_t r = (d >> 16) & 0xFF, g = (d >> 8) & 0xFF, b = d & 0xFF;
        const std::uint32_t a = q.alphaOp == D3DTOP_MODULATE ? d >> 24 : 255;
        for (int i = 0; i < count; ++i) {
            const std::uint32_t t = in[i] | forceOpaque;
            out[i] = DDMul255(t >> 24, a) << 24 | DDMul255((t >> 16) & 0xFF, r) << 16 |
                     DDMul255((t >> 8) & 0xFF, g) << 8 | DDMul255(t & 0xFF, b);
        }
        return;
    }
    for (int i = 0; i < count; ++i)
        out[i] = DDStageColor(in[i] | forceOpaque, q);
}

// What a row of 32-bit texels holds, judged by alpha.
DDRowKind kindOfTexels(const std::uint32_t* texels, int count)
{
    std::uint32_t all = 0xFF000000u, any = 0, partial = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t a = texels[i] >> 24;
        all &= texels[i];
        any |= texels[i];
        partial |= static_cast<std::uint32_t>(a - 1u < 254u);
    }
    if (partial) return DDRowKind::Mixed;
    if (all == 0xFF000000u) return DDRowKind::Opaque;
    return (any >> 24) ? DDRowKind::Binary : DDRowKind::Empty;
}

// Takes `amount` off the alpha byte of each pixel (which holds at least
// that much).
DD_ROW_INLINE void takeFromAlphaRow(std::uint32_t* __restrict out, int count, std::uint32_t amount)
{
    const std::uint32_t off = amount << 24;
    for (int i = 0; i < count; ++i)
        out[i] -= off;
}

void takeFromAlpha(std::uint32_t* out, int count, std::uint32_t amount)
{
    DDRunRowKernel([=] { takeFromAlphaRow(out, count, amount); });
}

bool chooseOpaque(std::uint32_t* out, const std::uint32_t* in, int count, std::uint32_t force)
{
    return DDRunRowKernel([=] { return chooseOpaqueRow(out, in, count, force); });
}

template <typename P> void copyWhereOpaque(P* out, const P* in, int count)
{
    DDRunRowKernel([=] { copyWhereOpaqueRow(out, in, count); });
}

void blendRowConstant(std::uint32_t* out, const std::uint32_t* in, int count, std::uint16_t a)
{
    auto* o = reinterpret_cast<Word*>(out);
    const auto* i = reinterpret_cast<const Word*>(in);
    DDRunRowKernel([=] { blendConstantRow(o, i, count * 2, a); });
}

void takeWhereOpaque(std::uint32_t* out, const std::uint32_t* blended, const std::uint32_t* texels,
                     int count)
{
    DDRunRowKernel([=] { takeWhereOpaqueRow(out, blended, texels, count); });
}

// Row buffers of the calling thread: 0 holds gathered texels, 1 and 2 the
// shader's own rows.
std::uint32_t* rowBuffer(int count, int which = 0)
{
    thread_local std::vector<std::uint32_t> buffers[3];
    std::vector<std::uint32_t>& buffer = buffers[which];
    if (buffer.size() < static_cast<std::size_t>(count)) buffer.resize(count);
    return buffer.data();
}

// How a row of texels becomes pixels of the target, chosen once per quad.
enum class Shade {
    Identity32,    // 32-bit texels passed through onto a 32-bit target
    Identity16,    // A1R5G5B5 texels passed through onto the same format
    Translucent32, // colour passed through, alpha scaled by the vertex alpha
    Stage32,       // 32-bit texels through the texture stage
    General,       // widen, combine, blend, narrow
};

struct Shader {
    DDPixels& target;
    const DDQUAD& q;
    DDFormat tf;
    Shade shade;
    bool identity;
    std::uint32_t forceOpaque; // X8R8G8B8 texels read as opaque

    Shader(DDPixels& target_, const DDQUAD& q_, DDFormat tf_)
        : target(target_), q(q_), tf(tf_), identity(stageIsIdentity(q_)),
          forceOpaque(tf_ == DDFormat::X8R8G8B8 ? 0xFF000000u : 0)
    {
        const bool wide = DDFormatBytes(tf) == 4 && target.bytesPerPixel() == 4;
        if (identity && wide)
            shade = Shade::Identity32;
        else if (identity && tf == target.format && tf == DDFormat::A1R5G5B5)
            shade = Shade::Identity16;
        else if (colourPasses(q) && q.alphaOp == D3DTOP_MODULATE && wide)
            shade = Shade::Translucent32;
        else if (wide)
            shade = Shade::Stage32;
        else
            shade = Shade::General;
    }

    // Texels are raw values of the texture's format, one per pixel from
    // (left, py) on; kind is what their row holds when known (Mixed when
    // not).
    void row(int py, int left, int count, const std::uint32_t* texels,
             DDRowKind kind = DDRowKind::Mixed) const
    {
        // Transparent texels draw nothing where the stage keeps their alpha.
        const bool keepsAlpha = shade == Shade::Identity32 || shade == Shade::Identity16 ||
                                shade == Shade::Translucent32;
        if (kind == DDRowKind::Empty && !forceOpaque && keepsAlpha) return;
        switch (shade) {
        case Shade::Identity32: {
            auto* drow = reinterpret_cast<std::uint32_t*>(target.row(py)) + left;
            if (!forceOpaque && kind == DDRowKind::Opaque) {
                std::memcpy(drow, texels, static_cast<std::size_t>(count) * 4);
                return;
            }
            if (!forceOpaque && kind == DDRowKind::Binary) {
                copyWhereOpaque(drow, texels, count);
                return;
            }
            // Opaque texels are chosen in one pass; texels of partial
            // alpha, when a row has any, are blended in a second.
            if (chooseOpaque(drow, texels, count, forceOpaque)) {
                for (int i = 0; i < count; ++i) {
                    const std::uint32_t a = texels[i] >> 24;
                    if (a != 0 && a != 255) drow[i] = DDBlendOver(texels[i], drow[i]);
                }
            }
            return;
        }
        case Shade::Identity16: {
            auto* drow = reinterpret_cast<std::uint16_t*>(target.row(py)) + left;
            thread_local std::vector<std::uint16_t> narrow;
            narrow.resize(static_cast<std::size_t>(count));
            for (int i = 0; i < count; ++i)
                narrow[i] = static_cast<std::uint16_t>(texels[i]);
            if (kind == DDRowKind::Opaque)
                std::memcpy(drow, narrow.data(), static_cast<std::size_t>(count) * 2);
            else
                copyWhereOpaque(drow, narrow.data(), count);
            return;
        }
        case Shade::Translucent32: {
            auto* drow = reinterpret_cast<std::uint32_t*>(target.row(py)) + left;
            const std::uint32_t vertexAlpha = q.arg2 >> 24;
            DDRowKind k = forceOpaque ? DDRowKind::Opaque : kind;
            if (k == DDRowKind::Mixed) k = kindOfTexels(texels, count);
            if (k == DDRowKind::Mixed) {
                for (int i = 0; i < count; ++i) {
                    const std::uint32_t a = DDMul255(texels[i] >> 24, vertexAlpha);
                    drow[i] = DDBlendOver((texels[i] & 0xFFFFFFu) | a << 24, drow[i]);
                }
                return;
            }
            // Every texel opaque, or each opaque or transparent: the opaque
            // ones all take the vertex alpha, one alpha for the row.
            const std::uint32_t* in = texels;
            if (forceOpaque) {
                std::uint32_t* opaque = rowBuffer(count, 1);
                for (int i = 0; i < count; ++i)
                    opaque[i] = texels[i] | forceOpaque;
                in = opaque;
            }
            std::uint32_t* out = drow;
            if (k == DDRowKind::Binary) {
                out = rowBuffer(count, 2);
                std::memcpy(out, drow, static_cast<std::size_t>(count) * 4);
            }
            blendRowConstant(out, in, count, static_cast<std::uint16_t>(vertexAlpha));
            // The alpha bytes were blended from the texels' 255, which
            // gives vertexAlpha where the scaled alpha gives vertexAlpha x
            // vertexAlpha / 255: the difference is taken off.
            takeFromAlpha(out, count, vertexAlpha - DDMul255(vertexAlpha, vertexAlpha));
            if (k == DDRowKind::Binary) takeWhereOpaque(drow, out, texels, count);
            return;
        }
        case Shade::Stage32: {
            auto* drow = reinterpret_cast<std::uint32_t*>(target.row(py)) + left;
            std::uint32_t* staged = rowBuffer(count, 1);
            stageRow(staged, texels, count, q, forceOpaque);
            if (chooseOpaque(drow, staged, count, 0)) {
                for (int i = 0; i < count; ++i) {
                    const std::uint32_t a = staged[i] >> 24;
                    if (a != 0 && a != 255) drow[i] = DDBlendOver(staged[i], drow[i]);
                }
            }
            return;
        }
        case Shade::General:
            for (int i = 0; i < count; ++i) {
                const std::uint32_t texel = DDToARGB(tf, texels[i]);
                const std::uint32_t s = identity ? texel : DDStageColor(texel, q);
                const std::uint32_t a = s >> 24;
                if (a == 0) continue;
                const int px = left + i;
                if (a == 255) {
                    target.set(px, py, DDFromARGB(target.format, s));
                } else {
                    const std::uint32_t d = DDToARGB(target.format, target.get(px, py));
                    target.set(px, py, DDFromARGB(target.format, DDBlendOver(s, d)));
                }
            }
            return;
        }
    }
};

// DDBlendOver of one colour, whose alpha is neither 0 nor 255, over a row
// of 32-bit pixels: the colour's share is worked out once (a full-screen
// tint blends every pixel of the frame).
DD_ROW_INLINE void blendColourOver(std::uint32_t* __restrict row, int count, std::uint32_t s)
{
    const std::uint32_t a = s >> 24;
    const std::uint32_t inv = 255 - a;
    const std::uint32_t rb = DDMul255Pairs(s & 0x00FF00FFu, a);
    const std::uint32_t ag = DDMul255Pairs((s >> 8) & 0x00FF00FFu, a);
    for (int i = 0; i < count; ++i) {
        const std::uint32_t d = row[i];
        row[i] = (rb + DDMul255Pairs(d & 0x00FF00FFu, inv)) |
                 (ag + DDMul255Pairs((d >> 8) & 0x00FF00FFu, inv)) << 8;
    }
}

// The quad's colour where it has no texture: one colour over its pixels.
void drawSolid(DDPixels& target, const DDQUAD& q, int py, int left, int count)
{
    const std::uint32_t s = DDStageColor(0xFF000000u, q);
    const std::uint32_t a = s >> 24;
    if (a == 0 || count <= 0) return;
    if (a == 255) {
        target.fillRect(left, py, count, 1, DDFromARGB(target.format, s));
        return;
    }
    if (target.bytesPerPixel() == 4) {
        std::uint32_t* row = reinterpret_cast<std::uint32_t*>(target.row(py)) + left;
        DDRunRowKernel([=] { blendColourOver(row, count, s); });
        return;
    }
    for (int px = left; px < left + count; ++px) {
        const std::uint32_t d = DDToARGB(target.format, target.get(px, py));
        target.set(px, py, DDFromARGB(target.format, DDBlendOver(s, d)));
    }
}

const DDPixels* usableTexture(const DDQUAD& q)
{
    const DDPixels* tex = q.texture;
    if (tex && (tex->width <= 0 || tex->height <= 0 || tex->format == DDFormat::P8)) return nullptr;
    return tex;
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
    const int count = right - left;

    const DDPixels* tex = usableTexture(q);
    if (!tex) {
        for (int py = top; py < bottom; ++py)
            drawSolid(target, q, py, left, count);
        return;
    }

    // Texel column of each covered column and texel row of each covered row.
    thread_local std::vector<int> columns;
    columns.resize(static_cast<std::size_t>(count));
    bool identityColumns = true;
    const std::int64_t firstU = std::int64_t{q.sx} + left - q.x;
    if (q.sw == q.w && firstU >= 0 && firstU + count <= tex->width) {
        // Same width, inside the texture: texel column i is the i-th from sx.
        for (int i = 0; i < count; ++i)
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

    const Shader shader(target, q, tex->format);
    const bool wide = tex->bytesPerPixel() == 4;
    // A texel row taken whole has a kind known from the picture (what it
    // holds decides whether it is copied, skipped or chosen pixel by pixel).
    const bool rowKinds = identityColumns && DDFormatHasAlpha(tex->format);
    // A tiled picture's columns come in runs of neighbouring texels, each
    // copied whole; a picture stretched or only a few texels wide is taken
    // texel by texel.
    thread_local std::vector<int> runs; // the first column of each run, then count
    runs.clear();
    for (int i = 0; i < count; ++i)
        if (i == 0 || columns[i] != columns[i - 1] + 1) runs.push_back(i);
    runs.push_back(count);
    const bool copyRuns = wide && !identityColumns && runs.size() * 8 <= columns.size();
    std::uint32_t* gathered = rowBuffer(count);
    int gatheredRow = -1; // the texel row in `gathered`: rows that repeat it reuse it
    for (int py = top; py < bottom; ++py) {
        const int v = texelRow(py);
        const std::uint32_t* texels = gathered;
        if (wide && identityColumns) {
            texels = reinterpret_cast<const std::uint32_t*>(tex->row(v)) + columns[0];
        } else if (v != gatheredRow) {
            gatheredRow = v;
            if (copyRuns) {
                const auto* srow = reinterpret_cast<const std::uint32_t*>(tex->row(v));
                for (std::size_t r = 0; r + 1 < runs.size(); ++r)
                    std::memcpy(gathered + runs[r], srow + columns[runs[r]],
                                sizeof(std::uint32_t) * (runs[r + 1] - runs[r]));
            } else if (wide) {
                const auto* srow = reinterpret_cast<const std::uint32_t*>(tex->row(v));
                for (int i = 0; i < count; ++i)
                    gathered[i] = srow[columns[i]];
            } else {
                for (int i = 0; i < count; ++i)
                    gathered[i] = tex->get(columns[i], v);
            }
        }
        shader.row(py, left, count, texels, rowKinds ? tex->rowKind(v, 0) : DDRowKind::Mixed);
    }
}

namespace {

// One edge of the quad, always taken from its lower-numbered corner to its
// higher, so that the two triangles sharing the diagonal evaluate it the
// same way and split its pixels exactly.
struct Edge {
    double ax = 0, ay = 0, dx = 0, dy = 0;
    Edge(const DDQUADCORNER& a, const DDQUADCORNER& b)
        : ax(a.x), ay(a.y), dx(double{b.x} - a.x), dy(double{b.y} - a.y)
    {
    }
    // Positive on one side, negative on the other, zero on the edge.
    double at(double px, double py) const { return dx * (py - ay) - dy * (px - ax); }
};

// An edge as one triangle sees it: its sign turned so that the inside is
// positive, and whether it is a top or a left edge of the triangle.
struct TriangleEdge {
    const Edge* edge = nullptr;
    double sign = 1;
    bool topLeft = false;
    bool covers(double px, double py) const
    {
        const double e = sign * edge->at(px, py);
        return e > 0 || (e == 0 && topLeft);
    }
};

struct Plane {
    double at0 = 0, perX = 0, perY = 0; // value at (0, 0) and its steps
    double at(double px, double py) const { return at0 + perX * px + perY * py; }
};

// The affine plane through three corners' values, or false when the
// triangle has no area.
bool planeThrough(const DDQUADCORNER& a, const DDQUADCORNER& b, const DDQUADCORNER& c, double va,
                  double vb, double vc, Plane& out)
{
    const double x1 = double{b.x} - a.x, y1 = double{b.y} - a.y;
    const double x2 = double{c.x} - a.x, y2 = double{c.y} - a.y;
    const double det = x1 * y2 - x2 * y1;
    if (det == 0) return false;
    out.perX = ((vb - va) * y2 - (vc - va) * y1) / det;
    out.perY = ((vc - va) * x1 - (vb - va) * x2) / det;
    out.at0 = va - out.perX * a.x - out.perY * a.y;
    return true;
}

} // namespace

void DDDrawQuadCorners(DDPixels& target, const DDQUADCORNER corners[4], const DDQUAD& stage)
{
    if (target.format == DDFormat::P8 || target.width <= 0 || target.height <= 0) return;
    for (int i = 0; i < 4; ++i)
        if (!std::isfinite(corners[i].x) || !std::isfinite(corners[i].y) ||
            !std::isfinite(corners[i].u) || !std::isfinite(corners[i].v))
            return;
    const DDPixels* tex = usableTexture(stage);
    const int tw = tex ? tex->width : 1, th = tex ? tex->height : 1;
    // The texels the corners span: sampling stays inside them.
    double uLow = corners[0].u, uHigh = uLow, vLow = corners[0].v, vHigh = vLow;
    for (int i = 1; i < 4; ++i) {
        uLow = std::min<double>(uLow, corners[i].u);
        uHigh = std::max<double>(uHigh, corners[i].u);
        vLow = std::min<double>(vLow, corners[i].v);
        vHigh = std::max<double>(vHigh, corners[i].v);
    }
    auto texelRange = [](double low, double high, int size, std::int64_t& first,
                         std::int64_t& last) {
        // Coordinates meant as whole texels come as fractions in floats:
        // take them as the whole texels they stand for.
        auto snap = [](double t) {
            const double whole = std::round(t);
            return std::abs(t - whole) < 1e-3 ? whole : t;
        };
        first = static_cast<std::int64_t>(std::floor(std::clamp(snap(low * size), -1e15, 1e15)));
        last = static_cast<std::int64_t>(std::ceil(std::clamp(snap(high * size), -1e15, 1e15))) - 1;
        last = std::max(last, first);
    };
    std::int64_t uFirst, uLast, vFirst, vLast;
    texelRange(uLow, uHigh, tw, uFirst, uLast);
    texelRange(vLow, vHigh, th, vFirst, vLast);
    // 32-bit texels inside the texture need no wrapping.
    const bool direct =
        tex && tex->bytesPerPixel() == 4 && uFirst >= 0 && uLast < tw && vFirst >= 0 && vLast < th;
    auto toFixed = [](double t) {
        return static_cast<std::int64_t>(std::llround(std::clamp(t, -1e9, 1e9) * 4294967296.0));
    };

    const Edge edges[5] = {Edge(corners[0], corners[1]), Edge(corners[0], corners[2]),
                           Edge(corners[1], corners[2]), Edge(corners[1], corners[3]),
                           Edge(corners[2], corners[3])};
    // Each triangle: its corners and its edges (index into edges, and
    // whether the triangle runs the edge backwards).
    struct Triangle {
        int a, b, c;
        int e[3];
        bool reversed[3];
    };
    const Triangle triangles[2] = {{0, 1, 2, {0, 2, 1}, {false, false, true}},
                                   {2, 1, 3, {2, 3, 4}, {true, false, true}}};
    const Shader shader(target, stage, tex ? tex->format : DDFormat::A8R8G8B8);
    std::uint32_t* gathered = rowBuffer(target.width);

    for (const Triangle& t : triangles) {
        const DDQUADCORNER &a = corners[t.a], &b = corners[t.b], &c = corners[t.c];
        // The triangle's winding decides which side of each edge is inside.
        const Edge ab(a, b);
        const double area = ab.at(c.x, c.y);
        if (area == 0) continue;
        TriangleEdge sides[3];
        for (int k = 0; k < 3; ++k) {
            const Edge& e = edges[t.e[k]];
            const double run = t.reversed[k] ? -1.0 : 1.0;
            const double sign = (area > 0 ? 1.0 : -1.0) * run;
            // With y growing downward, a left edge runs upward as the
            // triangle sees it, and a top edge runs rightward and flat.
            const double dx = sign * e.dx, dy = sign * e.dy;
            sides[k] = TriangleEdge{&e, sign, dy < 0 || (dy == 0 && dx > 0)};
        }
        Plane u, v;
        if (!planeThrough(a, b, c, double{a.u} * tw, double{b.u} * tw, double{c.u} * tw, u) ||
            !planeThrough(a, b, c, double{a.v} * th, double{b.v} * th, double{c.v} * th, v))
            continue;
        const double minY = std::min({double{a.y}, double{b.y}, double{c.y}});
        const double maxY = std::max({double{a.y}, double{b.y}, double{c.y}});
        const double minX = std::min({double{a.x}, double{b.x}, double{c.x}});
        const double maxX = std::max({double{a.x}, double{b.x}, double{c.x}});
        const int top = static_cast<int>(std::clamp(std::floor(minY), 0.0, double(target.height)));
        const int bottom =
            static_cast<int>(std::clamp(std::ceil(maxY) + 1, 0.0, double(target.height)));
        const int boxLeft =
            static_cast<int>(std::clamp(std::floor(minX), 0.0, double(target.width)));
        const int boxRight =
            static_cast<int>(std::clamp(std::ceil(maxX) + 1, 0.0, double(target.width)));
        for (int py = top; py < bottom; ++py) {
            // The row's span: where every edge covers the pixel centre.
            int left = boxLeft, right = boxRight;
            for (const TriangleEdge& s : sides) {
                const double slope = -s.sign * s.edge->dy; // change per pixel to the right
                if (slope == 0) {
                    if (!s.covers(left, py)) right = left;
                    continue;
                }
                // Where the edge crosses the row, then the exact pixel by testing.
                const double cross = left - s.sign * s.edge->at(left, py) / slope;
                const double bound = std::clamp(cross, double(boxLeft) - 1, double(boxRight) + 1);
                int x = static_cast<int>(std::floor(bound));
                if (slope > 0) {
                    while (x > boxLeft && s.covers(x - 1, py))
                        --x;
                    while (x < boxRight && !s.covers(x, py))
                        ++x;
                    left = std::max(left, x);
                } else {
                    while (x < boxRight && s.covers(x, py))
                        ++x;
                    while (x > boxLeft && !s.covers(x - 1, py))
                        --x;
                    right = std::min(right, x);
                }
            }
            if (left >= right) continue;
            const int count = right - left;
            if (!tex) {
                drawSolid(target, stage, py, left, count);
                continue;
            }
            // Texel coordinates along the span in 32.32 fixed point: the
            // start and the step per pixel, then whole texels by shifting.
            std::int64_t uf = toFixed(u.at(left, py)), vf = toFixed(v.at(left, py));
            const std::int64_t du = toFixed(u.perX), dv = toFixed(v.perX);
            if (direct) {
                const auto* texels = reinterpret_cast<const std::uint32_t*>(tex->row(0));
                const std::size_t pitch = static_cast<std::size_t>(tex->pitch) / 4;
                for (int i = 0; i < count; ++i, uf += du, vf += dv) {
                    const std::int64_t tu = std::clamp(uf >> 32, uFirst, uLast);
                    const std::int64_t tv = std::clamp(vf >> 32, vFirst, vLast);
                    gathered[i] =
                        texels[static_cast<std::size_t>(tv) * pitch + static_cast<std::size_t>(tu)];
                }
            } else {
                for (int i = 0; i < count; ++i, uf += du, vf += dv) {
                    const std::int64_t tu = std::clamp(uf >> 32, uFirst, uLast);
                    const std::int64_t tv = std::clamp(vf >> 32, vFirst, vLast);
                    gathered[i] = tex->get(wrap(tu, tw), wrap(tv, th));
                }
            }
            shader.row(py, left, count, gathered);
        }
    }
}
