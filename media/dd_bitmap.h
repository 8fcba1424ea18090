#pragma once
// Surfaces made from BMP files, in each back end: the texture back end loads
// the picture into a texture (pixels of the transparent colour become
// transparent texels) and builds mirrored cells by drawing; the surface back
// end copies the pixels into a surface of the display's format, mirrored in
// cells while copying, with the palette-index map when asked. Also the
// loading of numbered bitmaps of the bitmap table.

#include <cstdint>
#include <string>

#include "media/bmp_decoder.h"

struct DDSURFACEDATA;

// Reads and decodes a BMP named by a game path. False when the file is
// missing or damaged.
bool DDReadBmp(const std::string& name, DDBitmapImage& out);

// Loads the listed numbers of the bitmap table into the array. A thread
// asked to quit stops between two pictures (ThreadQuit, message_loop.h).
std::uint8_t DDLoadBitmaps(DDSURFACEDATA* surfaceArray, const int* numbers, int count);
int DDCreateSurfaceFromFile(DDSURFACEDATA* sd, const std::string& name, int colourKey, int bpp,
                            int ddMemory, int d3dSystemTexture, int noTexture, int indexMap,
                            int cellWidth, int cellHeight, int restoring);
// The same from the file's picture already read (null: the file could not be
// read), so that a caller who needs the picture too reads it only once.
int DDCreateSurfaceFromImage(DDSURFACEDATA* sd, const std::string& name, const DDBitmapImage* img,
                             int colourKey, int bpp, int ddMemory, int d3dSystemTexture,
                             int noTexture, int indexMap, int cellWidth, int cellHeight,
                             int restoring);
std::uint8_t DDLoadBitmapPixels(DDSURFACEDATA* sd, const std::string& name, int bpp, int indexMap,
                                int cellWidth, int cellHeight);
std::uint8_t CreateMirror(DDSURFACEDATA* dest, DDSURFACEDATA* src, int cellWidth, int cellHeight);
std::uint8_t DDReloadSurface(DDSURFACEDATA* sd, int bpp);
int DDCheckBitmapSize(int* tooLarge, const std::string& name, int maxWidth, int maxHeight);
