#pragma once
// Copies of a rectangle of one surface onto another: same size, stretched,
// or mirrored (a negative source width, texture back end only), with or
// without the source's transparent pixels. Under Direct3D a copy is a
// textured quad (dd_quad.h); under DirectDraw a clipped Blt or BltFast.
// Under DirectDraw the result is the Blt result; under Direct3D it is 0.

#include <cstdint>

struct DDSURFACEDATA;

std::int32_t DDBltEx(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                     int sy, int sw, int sh, int transparent);
std::int32_t DDBlt(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                   int sy, int transparent);
// The same with a vertex colour and colour operation (opt[0], opt[1]) in force
// for this copy only (Direct3D).
std::int32_t DDBltExOpt(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                        int sy, int sw, int sh, int transparent, const int opt[2]);
std::int32_t DDBltOpt(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                      int sy, int transparent, const int opt[2]);
