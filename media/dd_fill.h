#pragma once
// Fills of a rectangle with a palette number or a colour value. A fill is
// clipped to its surface at every edge.

#include <cstdint>

struct DDSURFACEDATA;

// Fills with palette colour n of g_Palette. Under Direct3D number 0 is the
// transparent value.
std::int32_t DDBoxFillPal(DDSURFACEDATA* sd, int x, int y, int w, int h, int paletteNumber);
std::int32_t DDClearPal(DDSURFACEDATA* sd, int paletteNumber);
// Fills with a colour value of the back end: ARGB under Direct3D (its alpha
// blends the fill), the surface's raw pixel value under DirectDraw.
std::int32_t DDFillRect(DDSURFACEDATA* sd, int x, int y, int w, int h, std::uint32_t colour);
// The colour value of a palette number under Direct3D.
std::uint32_t PalNumToRGB(int paletteNumber);
