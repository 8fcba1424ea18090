#pragma once
// Two effects that draw a disc of a source picture: a convex lens (the lens
// character and screen effects) and a plain disc copied row by row or in
// bands (the circle character and screen effects, and the play screen's
// view disc).

struct DDSURFACEDATA;

// The disc of `radius` around (centreX, centreY) of dest shows the source
// around (srcCentreX, srcCentreY) magnified toward the middle. With
// D = trunc(sqrt(radius^2 + depth^2)), a point (dx, dy) at distance d takes
// the source pixel at offset (dx, dy) x depth / sqrt(D^2 - d^2), each + 0.5
// and truncated toward zero (offset (dx, dy) itself where the root is 0).
// Only source points inside the display (g_DDWidth x g_DDHeight) and inside
// the source surface are read; the source's transparent pixels are always
// skipped (the transparent flag is not consulted). False for a negative
// radius or depth, for parameters that give no lens (D not above depth, as
// with radius 0) and when a surface cannot be locked.
bool DDBltLens(DDSURFACEDATA* dest, int centreX, int centreY, int radius, int depth,
               DDSURFACEDATA* src, int srcCentreX, int srcCentreY, int transparent);

// A disc of `radius` copied from around (srcCentreX, srcCentreY) to around
// (centreX, centreY) through the ordinary copies: one copy per row (band
// height 1; row dy from radius - 1 down to -radius covers 2k pixels, k =
// trunc(sqrt(radius^2 - dy^2)) and at most radius - 1) or per band of
// bandHeight rows (k taken at the band's middle row, so the outline becomes
// a staircase). Source columns stay within halfWidth of the source centre
// and inside the source; rows within [-halfHeight, halfHeight). A radius or
// band height of 0 or below draws nothing.
void DDBltCircle(DDSURFACEDATA* dest, int centreX, int centreY, int halfWidth, int halfHeight,
                 int radius, int bandHeight, DDSURFACEDATA* src, int srcCentreX, int srcCentreY,
                 int transparent);
