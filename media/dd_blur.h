#pragma once
// Two filters that replace each pixel, or each block of pixels, of a
// rectangle by an average of the source around it: the blur of a character
// and the mosaic of a character or of the whole screen. The rectangle is
// width x height pixels read from (sx, sy) of the source and written at
// (x, y) of the destination; only source pixels inside both the rectangle
// and the source surface are read, only destination pixels inside the
// destination are written. A transparent flag of 1 leaves the source's
// transparent pixels (dd_effect_frame.h) out of every average.

struct DDSURFACEDATA;

// Each pixel becomes the average of the window of 2 x hRadius columns and
// 2 x vRadius rows around it (one pixel further up and left than down and
// right: offsets -radius to radius - 1), cut by the rectangle; each channel
// summed and divided by the count, truncated. With the transparent flag 1 a
// transparent source pixel leaves its destination pixel as it was. A radius
// of 0 or below draws nothing; at 8 bits nothing is drawn and the error log
// says so. 16-bit channels are averaged in their own range (onto the
// full-screen 16-bit back buffer of Direct3D green doubles to 6 bits); at 32
// bits bytes 0, 1, 2 are averaged and byte 3 of the destination stays. When
// the source and destination are the same pixels, pixels already blurred
// feed the windows of later ones (rows top to bottom, columns left to right).
bool DDBltBlur(DDSURFACEDATA* dest, int x, int y, int width, int height, int hRadius, int vRadius,
               DDSURFACEDATA* src, int sx, int sy, int transparent);

// The rectangle cut into blockSize x blockSize blocks from its top-left
// corner (the last ones cut short), each filled with one value: at 8 bits
// and in the 16-bit texture branch the block's first pixel, otherwise the
// average colour of its pixels (16 bits widened to 8 bits, averaged,
// narrowed; 32 bits bytes 0, 1, 2 averaged, byte 3 of the destination
// kept). With the transparent flag 1 a block whose value is the key, or
// whose pixels are all transparent, is left as it was. A block size of 0 or
// below draws nothing.
bool DDBltMosaic(DDSURFACEDATA* dest, int x, int y, int width, int height, int blockSize,
                 DDSURFACEDATA* src, int sx, int sy, int transparent);
