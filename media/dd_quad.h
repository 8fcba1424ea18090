#pragma once
// One textured quad of the texture back end, drawn in software the way the
// fixed render states of the layer draw it: nearest-texel sampling with
// wrapping texture coordinates, one texture stage whose colour and alpha
// operations combine the texel with a second colour (the vertex colour or
// the texture factor), and SRCALPHA / INVSRCALPHA blending onto the target.
//
// The quad's corners lie half a pixel before the destination rectangle's
// pixel centres, so destination pixel (x + i, y + j) samples the texel at
// sx + floor((i + 1/2) * sw / w) and sy + floor((j + 1/2) * sh / h), exactly,
// in integers. A negative sw or sh runs the source backwards (a mirror).
//
// Channel arithmetic, all exact: products of two 8-bit values are divided by
// 255 and rounded to nearest; 16-bit formats are widened by repeating their
// top bits and narrowed by dropping low bits.

#include <cstdint>

#include "media/dd_pixels.h"

struct DDQUAD {
    int x = 0, y = 0, w = 0, h = 0;     // destination rectangle
    const DDPixels* texture = nullptr;  // null: the texel reads as opaque black
    int sx = 0, sy = 0, sw = 0, sh = 0; // source rectangle in texels
    std::uint32_t arg2 = 0xFFFFFFFF;    // second argument of both operations (ARGB)
    int colorOp = 4;                    // D3DTOP_ values
    int alphaOp = 2;
    std::uint32_t factor = 0; // texture factor, for D3DTOP_BLENDFACTORALPHA
};

void DDDrawQuad(DDPixels& target, const DDQUAD& quad);

// One corner of a quad drawn from its corners: its position in pixels (pixel
// centres lie on whole numbers, so a rectangle's corners lie half a pixel
// before them) and its texture coordinates as fractions of the texture's size.
struct DDQUADCORNER {
    float x = 0, y = 0;
    float u = 0, v = 0;
};

// A quad of any shape (a turned picture) given by its corners in the strip
// order top-left, bottom-left, top-right, bottom-right: the triangles
// (0, 1, 2) and (2, 1, 3). A pixel is drawn when its centre lies inside a
// triangle, or on an edge that is a top or a left edge of it, so that
// neighbouring triangles never share a pixel. Its texel is the one under the
// centre: the corners' texture coordinates interpolated across the triangle,
// times the texture's size, rounded down and kept inside the texels the
// corners span (a turned copy never reads beside its source rectangle).
// The stage (texture, second argument, operations, factor) is stage's; its
// rectangles are not used.
void DDDrawQuadCorners(DDPixels& target, const DDQUADCORNER corners[4], const DDQUAD& stage);

// a * b / 255, rounded to nearest, for a and b in 0..255.
inline std::uint32_t DDMul255(std::uint32_t a, std::uint32_t b)
{
    std::uint32_t x = a * b + 128;
    return (x + (x >> 8)) >> 8;
}

// DDMul255 of two channels at once, each in the low byte of a 16-bit lane
// (0x00AA00BB): each product is rounded on its own, and the lanes never
// carry into each other (255 x 255 + 255 < 65536).
inline std::uint32_t DDMul255Pairs(std::uint32_t lanes, std::uint32_t f)
{
    std::uint32_t x = lanes * f + 0x00800080u;
    return ((x + ((x >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// The blend of one ARGB source over one ARGB destination by the source's
// alpha: each channel (alpha too) is src x a / 255 + dst x (255 - a) / 255,
// each product rounded on its own.
inline std::uint32_t DDBlendOver(std::uint32_t s, std::uint32_t d)
{
    const std::uint32_t a = s >> 24;
    if (a == 255) return s;
    if (a == 0) return d;
    const std::uint32_t inv = 255 - a;
    const std::uint32_t rb =
        DDMul255Pairs(s & 0x00FF00FFu, a) + DDMul255Pairs(d & 0x00FF00FFu, inv);
    const std::uint32_t ag =
        DDMul255Pairs((s >> 8) & 0x00FF00FFu, a) + DDMul255Pairs((d >> 8) & 0x00FF00FFu, inv);
    return rb | ag << 8;
}

// The stage's result for one texel (ARGB in, ARGB out).
std::uint32_t DDStageColor(std::uint32_t texel, const DDQUAD& quad);
