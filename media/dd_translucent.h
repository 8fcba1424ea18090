#pragma once
// Two copies that mix the picture with something else: at half strength over
// the destination (a translucent character), and toward one palette colour
// in a number of halving steps (a character changing colour). Width and
// height describe both rectangles; a pixel is drawn only where it lies inside
// both surfaces. A transparent flag of 1 skips the source's transparent
// pixels (dd_effect_frame.h); the textured quad of the texture back end
// keys through the texels' alpha instead.

#include <cstdint>

#include "media/dd_pixels.h"

struct DDSURFACEDATA;

// The source at half strength over the destination.
//  Direct3D, quad (no system-memory texture, virtual back buffer off): the
//    texels' alpha times 128/255 blends them over the target.
//  Direct3D, software: each channel (source + destination) >> 1, with the
//    alpha bit set or byte 3 = 255; onto the full-screen 16-bit back buffer
//    green = (destination green + 2 x source green) >> 1 in 6 bits.
//  DirectDraw 8 bpp: index 0 is transparent; a destination index 0 takes the
//    source index, any other d becomes blendTable[d * 256 + s].
//  DirectDraw 16 and 32 bpp: a destination pixel of the key colour takes the
//    source; others average each channel (16 bpp widened to 8 bits first and
//    narrowed after); byte 3 of a 32-bit pixel stays.
bool DDBltHalf(DDSURFACEDATA* dest, int x, int y, int width, int height, DDSURFACEDATA* src, int sx,
               int sy, int transparent, const std::uint8_t* blendTable);

// The source mixed toward palette[colour & 255] in `level` steps.
//  Level 0 (and below, under Direct3D) draws nothing.
//  Direct3D, quad: texture factor alpha 128, 80, 48, 16 for levels 1 to 4 and
//    0 above; colour = texel x a / 255 + palette colour x (255 - a) / 255.
//  Direct3D, software: level 1 takes (p + c) >> 1 per channel, other levels
//    p x f + c x (1 - f) truncated, f the single-precision w / 255 for
//    w = 64, 32, 16 (levels 2 to 4) and 0 above.
//  DirectDraw: each step halves the way to the colour, (p + c) >> 1 per
//    channel (16 bpp widened to 8 bits first); at 8 bpp each step is
//    g_BlendTable[p * 256 + colour]. A negative level copies the source.
bool DDBltTint(DDSURFACEDATA* dest, int x, int y, int width, int height, DDSURFACEDATA* src, int sx,
               int sy, int transparent, const DDPALENTRY* palette, const std::uint8_t* blendTable,
               int colour, int level);
