#pragma once
// A picture turned by a whole number of degrees about a point of it: the
// character effects that spin a character and the screen effect that turns
// the whole screen.

struct DDSURFACEDATA;

// Draws the width x height rectangle at (sx, sy) of src turned by `angle`
// degrees (clockwise on the screen) about its pivot (pivotX, pivotY),
// counted from the rectangle's top-left corner, so that the pivot lands on
// (centreX, centreY) of dest.
//  Direct3D, both surfaces in video memory: one turned textured quad, drawn
//    with the vertex colour and texture operations in force; it keys through
//    the texels' alpha.
//  Otherwise, in software: every destination pixel of the turned box maps
//    back to the source in 10-bit fixed point (sine and cosine times 1024,
//    truncated; products shifted right, rounding down) and takes the nearest
//    source pixel unchanged; with the transparent flag 1 a pixel of the key
//    is skipped. Only pixels of the rectangle that lie inside the source
//    surface are read.
// Always true except when a surface cannot be locked.
bool DDBltRotate(DDSURFACEDATA* dest, int centreX, int centreY, int width, int height, int pivotX,
                 int pivotY, int angle, DDSURFACEDATA* src, int sx, int sy, int transparent);
