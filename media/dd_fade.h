#pragma once
// Two whole-picture blends toward one colour, each carried by one back end:
// the fade of 16- and 32-bit displays of the surface back end (the screen
// fades of dd_palette.h call it every frame), and the screen colour change
// of the texture back end (the play screen's tint).

#include <cstdint>

struct DDSURFACEDATA;

// Surface back end, 16 and 32 bits: every pixel of dest becomes src's pixel
// at the same place mixed with the colour, level parts of 256 of the
// picture: (picture x level + colour x (256 - level)) >> 8 per channel (16-bit
// channels widened to 8 bits first and narrowed after, no alpha bit; byte 3
// of a 32-bit pixel stays). 8-bit displays fade through the palette: nothing
// is written. Under Direct3D it only logs. 1 when done or refused, 0 when a
// surface cannot be locked.
int DDFade_UnPal(DDSURFACEDATA* dest, int level, int red, int green, int blue, DDSURFACEDATA* src);

// Texture back end: the colour laid over the surface, the existing picture
// keeping nAlpha parts. With the virtual back buffer off, one quad of the
// colour with alpha 255 - nAlpha over the whole surface (whatever the
// rectangle); with it on, in software over the rectangle, each channel
// (nAlpha x picture + colour x (256 - nAlpha)) >> 8 with the alpha bit set or
// byte 3 = 255. Under DirectDraw it only logs. Always 1.
int DDChangeColor(DDSURFACEDATA* lpSD, int x, int y, int nWidth, int nHeight, int nAlpha,
                  std::uint8_t bRed, std::uint8_t bGreen, std::uint8_t bBlue);
