#include "media/dd_translucent.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "media/dd_device.h"
#include "media/dd_effect_frame.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"

namespace {

// Runs mix(destination pixel, source pixel) over the clipped rectangle and
// writes its result; source pixels equal to the key are skipped when asked.
template <typename P, typename Mix>
void mixPixels(const DDEffectLock& l, const DDEffectClip& c, int x, int y, int sx, int sy,
               bool skipKey, std::uint32_t key, Mix mix)
{
    for (int j = c.top; j < c.bottom; ++j) {
        P* d = l.dest.row<P>(y + j);
        const P* s = l.src.row<P>(sy + j);
        for (int i = c.left; i < c.right; ++i) {
            const P sp = s[sx + i];
            if (skipKey && sp == key) continue;
            d[x + i] = static_cast<P>(mix(d[x + i], sp));
        }
    }
}

// The even mix of two 32-bit pixels, byte by byte, rounded down.
inline std::uint32_t halfOf(std::uint32_t a, std::uint32_t b)
{
    return (a & b) + (((a ^ b) & 0xFEFEFEFEu) >> 1);
}

// Rows of the 32-bit half mix, written so that the compiler can vectorise
// them: `keep` holds the destination bits that stay (byte 3 under
// DirectDraw), `set` the bits set (byte 3 under Direct3D).
void halfRows32(const DDEffectLock& l, const DDEffectClip& c, int x, int y, int sx, int sy,
                bool skipKey, std::uint32_t key, std::uint32_t keep, std::uint32_t set,
                bool destKeyTakesSource)
{
    const int count = c.right - c.left;
    for (int j = c.top; j < c.bottom; ++j) {
        std::uint32_t* __restrict d = l.dest.row<std::uint32_t>(y + j) + (x + c.left);
        const std::uint32_t* __restrict s = l.src.row<std::uint32_t>(sy + j) + (sx + c.left);
        for (int i = 0; i < count; ++i) {
            const std::uint32_t sp = s[i], dp = d[i];
            std::uint32_t mixed = halfOf(sp, dp);
            if (destKeyTakesSource && dp == key) mixed = sp;
            const std::uint32_t out = (mixed & ~keep) | (dp & keep) | set;
            d[i] = skipKey && sp == key ? dp : out;
        }
    }
}

// The quad that draws the w x h source rectangle at (sx, sy) unscaled at (x, y).
DDQUAD unscaledQuad(int x, int y, int w, int h, int sx, int sy)
{
    DDQUAD quad;
    quad.x = x;
    quad.y = y;
    quad.w = w;
    quad.h = h;
    quad.sx = sx;
    quad.sy = sy;
    quad.sw = w;
    quad.sh = h;
    return quad;
}

bool halfD3D(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
             int transparent)
{
    DDEffectSubstitute(&dest, &src);
    if (!DDIsSystemTexture(dest) && !DDIsSystemTexture(src) && !g_D3DState->virtualMode) {
        DDQUAD quad = unscaledQuad(x, y, w, h, sx, sy);
        quad.arg2 = 0x80FFFFFFu;
        quad.colorOp = D3DTOP_MODULATE;
        quad.alphaOp = D3DTOP_MODULATE;
        DDEffectQuad(dest, src, quad);
        return true;
    }
    DDEffectLock l;
    if (!l.lock(dest, src)) return false;
    DDEffectClip c;
    if (!c.clip(l.dest, x, y, l.src, sx, sy, w, h)) return true;
    const bool skipKey = transparent == 1;
    const std::uint32_t key = DDEffectKey();
    if (g_DDBpp == 32) {
        halfRows32(l, c, x, y, sx, sy, skipKey, key, 0, 0xFF000000u, false);
        return true;
    }
    const DDFORMATDATA& f = g_PixelFormat;
    if (DDIsBackBuffer(dest)) {
        mixPixels<std::uint16_t>(
            l, c, x, y, sx, sy, skipKey, key, [&](std::uint32_t d, std::uint32_t s) {
                const DDRGB a = DDUnpack(s, f), b = DDUnpack(d, g_BackBufferFormat);
                return DDPackBackBuffer((a.r + b.r) >> 1, (b.g + 2 * a.g) >> 1, (a.b + b.b) >> 1);
            });
    } else {
        mixPixels<std::uint16_t>(
            l, c, x, y, sx, sy, skipKey, key, [&](std::uint32_t d, std::uint32_t s) {
                const DDRGB a = DDUnpack(s, f), b = DDUnpack(d, f);
                return DDPack(DDRGB{(a.r + b.r) >> 1, (a.g + b.g) >> 1, (a.b + b.b) >> 1}, f, true);
            });
    }
    return true;
}

bool halfDDraw(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
               int transparent, const std::uint8_t* table)
{
    DDEffectLock l;
    if (!l.lock(dest, src)) return false;
    DDEffectClip c;
    if (!c.clip(l.dest, x, y, l.src, sx, sy, w, h)) return true;
    const bool skipKey = transparent == 1;
    const std::uint32_t key = g_DDKeyColor;
    if (g_DDBpp == 8) {
        // Index 0 is the transparent index here, whatever the key.
        mixPixels<std::uint8_t>(
            l, c, x, y, sx, sy, skipKey, 0,
            [&](std::uint32_t d, std::uint32_t s) { return d == 0 ? s : table[d * 256 + s]; });
    } else if (g_DDBpp == 16) {
        const DDFORMATDATA& f = g_PixelFormat;
        auto mix = [&](std::uint32_t a, std::uint32_t b, int max) {
            return DDNarrow((DDWiden(a, max) + DDWiden(b, max)) >> 1, max);
        };
        mixPixels<std::uint16_t>(
            l, c, x, y, sx, sy, skipKey, key, [&](std::uint32_t d, std::uint32_t s) {
                if (d == key) return s;
                const DDRGB a = DDUnpack(s, f), b = DDUnpack(d, f);
                return DDPack(
                    DDRGB{mix(a.r, b.r, f.maxR), mix(a.g, b.g, f.maxG), mix(a.b, b.b, f.maxB)}, f,
                    false);
            });
    } else {
        halfRows32(l, c, x, y, sx, sy, skipKey, key, 0xFF000000u, 0, true);
    }
    return true;
}

// The Direct3D quad's texture-factor alpha and the software weight of a level.
int quadFactorAlpha(int level)
{
    static constexpr int alphas[] = {128, 80, 48, 16};
    return level >= 1 && level <= 4 ? alphas[level - 1] : 0;
}

int softwareWeight(int level)
{
    static constexpr int weights[] = {128, 64, 32, 16};
    return level >= 1 && level <= 4 ? weights[level - 1] : 0;
}

bool tintD3D(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
             int transparent, const DDPALENTRY& colour, int level)
{
    if (level <= 0) return true;
    DDEffectSubstitute(&dest, &src);
    if (!DDIsSystemTexture(dest) && !DDIsSystemTexture(src)) {
        const std::uint32_t factor = static_cast<std::uint32_t>(quadFactorAlpha(level)) << 24 |
                                     std::uint32_t{colour.red} << 16 |
                                     std::uint32_t{colour.green} << 8 | colour.blue;
        if (lpDevice) lpDevice->SetTextureFactor(factor);
        DDQUAD quad = unscaledQuad(x, y, w, h, sx, sy);
        quad.arg2 = factor;
        quad.factor = factor;
        quad.colorOp = D3DTOP_BLENDFACTORALPHA;
        quad.alphaOp = D3DTOP_SELECTARG1;
        DDEffectQuad(dest, src, quad);
        return true;
    }
    DDEffectLock l;
    if (!l.lock(dest, src)) return false;
    DDEffectClip c;
    if (!c.clip(l.dest, x, y, l.src, sx, sy, w, h)) return true;
    const DDFORMATDATA& f = g_PixelFormat;
    const float weight = static_cast<float>(softwareWeight(level) * (1.0 / 255.0));
    const float rest = 1.0f - weight;
    const DDRGB target{DDNarrow(colour.red, f.maxR), DDNarrow(colour.green, f.maxG),
                       DDNarrow(colour.blue, f.maxB)};
    // One channel moved toward the colour; `doubled` keeps level 1's sum
    // unhalved (the back buffer's 6-bit green).
    auto step = [&](std::uint32_t p, std::uint32_t c_, bool doubled) -> std::uint32_t {
        if (level == 1) return doubled ? p + c_ : (p + c_) >> 1;
        const auto v = static_cast<std::uint32_t>(
            std::trunc(static_cast<double>(p) * weight + static_cast<double>(c_) * rest));
        return doubled ? v * 2 : v;
    };
    const bool skipKey = transparent == 1;
    const std::uint32_t key = DDEffectKey();
    if (g_DDBpp == 32) {
        mixPixels<std::uint32_t>(
            l, c, x, y, sx, sy, skipKey, key, [&](std::uint32_t, std::uint32_t s) {
                const DDRGB p = DDUnpack(s, f);
                return 0xFF000000u | step(p.r, target.r, false) << 16 |
                       step(p.g, target.g, false) << 8 | step(p.b, target.b, false);
            });
    } else if (DDIsBackBuffer(dest)) {
        mixPixels<std::uint16_t>(
            l, c, x, y, sx, sy, skipKey, key, [&](std::uint32_t, std::uint32_t s) {
                const DDRGB p = DDUnpack(s, f);
                return DDPackBackBuffer(step(p.r, target.r, false), step(p.g, target.g, true),
                                        step(p.b, target.b, false));
            });
    } else {
        mixPixels<std::uint16_t>(
            l, c, x, y, sx, sy, skipKey, key, [&](std::uint32_t, std::uint32_t s) {
                const DDRGB p = DDUnpack(s, f);
                return DDPack(DDRGB{step(p.r, target.r, false), step(p.g, target.g, false),
                                    step(p.b, target.b, false)},
                              f, true);
            });
    }
    return true;
}

// What `steps` applications of next() make of each of the 256 values, by
// composing the map with itself (a level in the millions costs no more than
// a few dozen passes).
std::array<std::uint8_t, 256> mapPower(const std::array<std::uint8_t, 256>& next, int steps)
{
    std::array<std::uint8_t, 256> result, power = next;
    for (int v = 0; v < 256; ++v)
        result[v] = static_cast<std::uint8_t>(v);
    for (unsigned n = static_cast<unsigned>(steps); n > 0; n >>= 1) {
        if (n & 1)
            for (int v = 0; v < 256; ++v)
                result[v] = power[result[v]];
        std::array<std::uint8_t, 256> squared;
        for (int v = 0; v < 256; ++v)
            squared[v] = power[power[v]];
        power = squared;
    }
    return result;
}

// Each 8-bit channel value after `level` halvings toward c.
std::array<std::uint8_t, 256> halvingsToward(std::uint32_t c, int level)
{
    c = std::min<std::uint32_t>(c, 255);
    std::array<std::uint8_t, 256> next;
    for (std::uint32_t v = 0; v < 256; ++v)
        next[v] = static_cast<std::uint8_t>((v + c) >> 1);
    return mapPower(next, level);
}

bool tintDDraw(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
               int transparent, const DDPALENTRY& colour, int colourIndex, int level)
{
    if (level == 0) return true;
    const int steps = level < 0 ? 0 : level;
    DDEffectLock l;
    if (!l.lock(dest, src)) return false;
    DDEffectClip c;
    if (!c.clip(l.dest, x, y, l.src, sx, sy, w, h)) return true;
    const bool skipKey = transparent == 1;
    const std::uint32_t key = g_DDKeyColor;
    const DDFORMATDATA& f = g_PixelFormat;
    if (g_DDBpp == 8) {
        std::array<std::uint8_t, 256> next;
        for (int v = 0; v < 256; ++v)
            next[v] = g_BlendTable[v * 256 + colourIndex];
        const auto result = mapPower(next, steps);
        mixPixels<std::uint8_t>(l, c, x, y, sx, sy, skipKey, key,
                                [&](std::uint32_t, std::uint32_t s) { return result[s]; });
    } else if (g_DDBpp == 16) {
        // The palette holds this depth's channel values: widen them like a pixel.
        const auto red = halvingsToward(DDWiden(colour.red, f.maxR), steps);
        const auto green = halvingsToward(DDWiden(colour.green, f.maxG), steps);
        const auto blue = halvingsToward(DDWiden(colour.blue, f.maxB), steps);
        mixPixels<std::uint16_t>(
            l, c, x, y, sx, sy, skipKey, key, [&](std::uint32_t, std::uint32_t s) {
                const DDRGB p = DDUnpack(s, f);
                return DDPack(DDRGB{DDNarrow(red[DDWiden(p.r, f.maxR)], f.maxR),
                                    DDNarrow(green[DDWiden(p.g, f.maxG)], f.maxG),
                                    DDNarrow(blue[DDWiden(p.b, f.maxB)], f.maxB)},
                              f, false);
            });
    } else {
        const auto red = halvingsToward(colour.red, steps);
        const auto green = halvingsToward(colour.green, steps);
        const auto blue = halvingsToward(colour.blue, steps);
        mixPixels<std::uint32_t>(
            l, c, x, y, sx, sy, skipKey, key, [&](std::uint32_t d, std::uint32_t s) {
                return (d & 0xFF000000u) | std::uint32_t{red[(s >> 16) & 0xFF]} << 16 |
                       std::uint32_t{green[(s >> 8) & 0xFF]} << 8 | blue[s & 0xFF];
            });
    }
    return true;
}

} // namespace

bool DDBltHalf(DDSURFACEDATA* dest, int x, int y, int width, int height, DDSURFACEDATA* src, int sx,
               int sy, int transparent, const std::uint8_t* blendTable)
{
    if (!dest || !src) return true;
    if (g_D3DState) return halfD3D(dest, x, y, width, height, src, sx, sy, transparent);
    return halfDDraw(dest, x, y, width, height, src, sx, sy, transparent,
                     blendTable ? blendTable : g_BlendTable.data());
}

bool DDBltTint(DDSURFACEDATA* dest, int x, int y, int width, int height, DDSURFACEDATA* src, int sx,
               int sy, int transparent, const DDPALENTRY* palette, const std::uint8_t*, int colour,
               int level)
{
    if (!dest || !src) return true;
    const int index = colour & 255;
    const DDPALENTRY entry = palette ? palette[index] : g_ScreenPalette[index];
    if (g_D3DState)
        return tintD3D(dest, x, y, width, height, src, sx, sy, transparent, entry, level);
    return tintDDraw(dest, x, y, width, height, src, sx, sy, transparent, entry, index, level);
}
