#pragma once
// Drawing operations built only from the copies and fills, so that they
// look the same in both back ends: frames around boxes, numbers from a strip
// of digit pictures, and the moving distortions of pictures (wave, strip
// shift, card flip, four-way split).

struct DDSURFACEDATA;

// A frame of the given thickness inside the rectangle.
void DDFrameRect(DDSURFACEDATA* dest, int x, int y, int w, int h, int thickness, int paletteNumber);
// The picture's top-left w x h, with a frame around it on the outside.
void DDBltFrame(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int thickness,
                int paletteNumber);
// A number in a field of `digits` cells (left-padded, or centred), drawn from
// a strip holding the digits 0 to 9 as cells from (sx, sy).
void DDDrawNumber(DDSURFACEDATA* dest, int x, int y, int cellWidth, int cellHeight,
                  DDSURFACEDATA* strip, int sx, int sy, int transparent, int value, int digits,
                  int centre);
// The picture in slices displaced along a sine wave: columns moved up and
// down (vertical) or rows moved left and right; `band` slices per group.
void DDBltWave(DDSURFACEDATA* dest, int x, int y, int w, int h, int frequency, double amplitude,
               int phase, int band, DDSURFACEDATA* src, int sx, int sy, int transparent,
               int vertical);
// The picture in strips, odd strips moved one way and even strips the other.
void DDBltShift(DDSURFACEDATA* dest, int x, int y, int w, int h, int stripSize, int offset,
                DDSURFACEDATA* src, int sx, int sy, int transparent, int vertical);
// A card turning between two pictures about a vertical (mode 0) or
// horizontal (mode 1) axis, at the turn given by counter.
void DDBltFlip(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* srcA, int ax, int ay,
               DDSURFACEDATA* srcB, int bx, int by, int sw, int sh, int transparent, int counter,
               int mode);
// The picture's four quarters pushed apart by gap.
void DDBltSplit(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                int gap, int transparent);
