#include "media/dd_fade.h"

#include <algorithm>

#include "core/sjis_text.h"
#include "media/dd_effect_frame.h"
#include "media/dd_log.h"
#include "media/dd_render.h"
#include "media/dd_surface.h"

namespace {

// Rows of 32-bit pixels: bytes 0, 1, 2 become (picture x level + colour x
// rest) >> 8, byte 3 keeps the destination's (keep) or becomes 255 (set).
// Two channels at a time: a mix of 8-bit values weighted to 256 never
// passes 16 bits, so the lanes stay apart. Written so that the compiler can
// vectorise it.
void mixRow32(std::uint32_t* out, const std::uint32_t* in, int count, std::uint32_t level,
              std::uint32_t colour, bool keepByte3)
{
    const std::uint32_t rest = 256 - level;
    const std::uint32_t colourRB = (colour & 0x00FF00FFu) * rest;
    const std::uint32_t colourG = ((colour >> 8) & 0xFFu) * rest;
    const std::uint32_t byte3 = keepByte3 ? 0xFF000000u : 0;
    const std::uint32_t set = keepByte3 ? 0 : 0xFF000000u;
    for (int i = 0; i < count; ++i) {
        const std::uint32_t p = in[i];
        const std::uint32_t rb = (((p & 0x00FF00FFu) * level + colourRB) >> 8) & 0x00FF00FFu;
        const std::uint32_t g = ((((p >> 8) & 0xFFu) * level + colourG) >> 8) << 8;
        out[i] = (out[i] & byte3) | set | rb | g;
    }
}

// One 16-bit channel of the fade: widened, mixed, narrowed.
std::uint32_t fadeChannel(std::uint32_t c, int max, std::uint32_t level, std::uint32_t colour)
{
    return DDNarrow((DDWiden(c, max) * level + colour * (256 - level)) >> 8, max);
}

} // namespace

int DDFade_UnPal(DDSURFACEDATA* dest, int level, int red, int green, int blue, DDSURFACEDATA* src)
{
    if (g_D3DState) {
        DDErrLogF("%s", Sjis("D3DではDDFade_UnPalは未対応"));
        return 1;
    }
    if (!dest || !src) return 1;
    DDEffectLock l;
    if (!l.lock(dest, src)) return 0;
    // The picture's weight out of 256; the colours are bytes.
    const auto lv = static_cast<std::uint32_t>(std::clamp(level, 0, 256));
    const std::uint32_t r = red & 0xFF, g = green & 0xFF, b = blue & 0xFF;
    const int w = std::min(l.dest.width, l.src.width), h = std::min(l.dest.height, l.src.height);
    if (g_DDBpp == 32) {
        for (int y = 0; y < h; ++y)
            mixRow32(l.dest.row<std::uint32_t>(y), l.src.row<std::uint32_t>(y), w, lv,
                     r << 16 | g << 8 | b, true);
    } else if (g_DDBpp == 16) {
        const DDFORMATDATA& f = g_PixelFormat;
        // Each channel's result for each of its values, for this call.
        std::uint16_t reds[256], greens[256], blues[256];
        for (std::uint32_t v = 0; v < 256; ++v) {
            reds[v] =
                static_cast<std::uint16_t>(fadeChannel(v & f.maxR, f.maxR, lv, r) << f.shiftR);
            greens[v] =
                static_cast<std::uint16_t>(fadeChannel(v & f.maxG, f.maxG, lv, g) << f.shiftG);
            blues[v] =
                static_cast<std::uint16_t>(fadeChannel(v & f.maxB, f.maxB, lv, b) << f.shiftB);
        }
        for (int y = 0; y < h; ++y) {
            std::uint16_t* out = l.dest.row<std::uint16_t>(y);
            const std::uint16_t* in = l.src.row<std::uint16_t>(y);
            for (int x = 0; x < w; ++x) {
                const DDRGB c = DDUnpack(in[x], f);
                out[x] = static_cast<std::uint16_t>(reds[c.r & 0xFF] | greens[c.g & 0xFF] |
                                                    blues[c.b & 0xFF]);
            }
        }
    }
    return 1;
}

int DDChangeColor(DDSURFACEDATA* lpSD, int x, int y, int nWidth, int nHeight, int nAlpha,
                  std::uint8_t bRed, std::uint8_t bGreen, std::uint8_t bBlue)
{
    if (!g_D3DState) {
        DDErrLogF("%s", Sjis("DDrawでは DDChangeColor(DDSURFACEDATA *lpSD,int x,int y,int "
                             "nWidth,int nHeight,int nAlpha,BYTE bRed,BYTE bGreen,BYTE bBlue) "
                             "は未対応"));
        return 1;
    }
    if (!lpSD) return 1;
    DDMirrorSource(&lpSD);
    DDVirtualTarget(&lpSD);
    const std::uint32_t colour = std::uint32_t{bRed} << 16 | std::uint32_t{bGreen} << 8 | bBlue;
    if (!g_D3DState->virtualMode) {
        if (!lpSD->lpDT || !lpSD->lpDT->lpSurface) return 1;
        if (!DDBeginScene() || !DDSetRenderTarget(0, lpSD)) return 1;
        // The colour alone (the surface's own texture is not drawn), with
        // alpha 255 - nAlpha over the whole surface.
        DDQUAD quad;
        quad.w = lpSD->width;
        quad.h = lpSD->height;
        quad.arg2 = static_cast<std::uint32_t>(255 - std::clamp(nAlpha, 0, 255)) << 24 | colour;
        quad.colorOp = D3DTOP_SELECTARG2;
        quad.alphaOp = D3DTOP_SELECTARG2;
        DDDrawQuad(*lpSD->lpDT->lpSurface, quad);
        DDSetRestingTarget();
        return 1;
    }
    DDEffectLock l;
    if (!l.lock(lpSD)) return 1;
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = static_cast<int>(std::min<std::int64_t>(std::int64_t{x} + nWidth, l.dest.width));
    const int y1 =
        static_cast<int>(std::min<std::int64_t>(std::int64_t{y} + nHeight, l.dest.height));
    if (x0 >= x1 || y0 >= y1) return 1;
    const auto keep = static_cast<std::uint32_t>(std::clamp(nAlpha, 0, 256));
    if (g_DDBpp == 32) {
        for (int yy = y0; yy < y1; ++yy) {
            std::uint32_t* row = l.dest.row<std::uint32_t>(yy) + x0;
            mixRow32(row, row, x1 - x0, keep, colour, false);
        }
        return 1;
    }
    const DDFORMATDATA& f = g_PixelFormat;
    const DDRGB c{DDNarrow(bRed, f.maxR), DDNarrow(bGreen, f.maxG), DDNarrow(bBlue, f.maxB)};
    for (int yy = y0; yy < y1; ++yy) {
        std::uint16_t* row = l.dest.row<std::uint16_t>(yy);
        for (int xx = x0; xx < x1; ++xx) {
            const DDRGB p = DDUnpack(row[xx], f);
            const DDRGB mixed{((256 - keep) * c.r + keep * p.r) >> 8,
                              ((256 - keep) * c.g + keep * p.g) >> 8,
                              ((256 - keep) * c.b + keep * p.b) >> 8};
            row[xx] = static_cast<std::uint16_t>(DDPack(mixed, f, true));
        }
    }
    return 1;
}
