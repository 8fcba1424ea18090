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
    std::uint32_t factor = 0;           // texture factor, for D3DTOP_BLENDFACTORALPHA
};

void DDDrawQuad(DDPixels& target, const DDQUAD& quad);

// a * b / 255, rounded to nearest, for a and b in 0..255.
inline std::uint32_t DDMul255(std::uint32_t a, std::uint32_t b)
{
    std::uint32_t x = a * b + 128;
    return (x + (x >> 8)) >> 8;
}

// The blend of one ARGB source over one ARGB destination by the source's alpha.
std::uint32_t DDBlendOver(std::uint32_t src, std::uint32_t dst);

// The stage's result for one texel (ARGB in, ARGB out).
std::uint32_t DDStageColor(std::uint32_t texel, const DDQUAD& quad);
