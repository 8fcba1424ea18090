#pragma once
// The fixed table of the game's 69 numbered bitmaps: BMP files in the bmp folder
// and plain work surfaces, each with the parameters it is created with.
// Bitmap n is loaded into g_BitmapSD[n] by DDLoadBitmaps (dd_bitmap.h).

#include <array>
#include <string>

#include "media/dd_surface.h"

// The creation parameters of one bitmap number.
struct DDBMPDATA {
    std::string name;  // the BMP file, or "E" for a plain surface
    int colourKey = 0; // the picture has transparent pixels
    int ddMemory = 0;  // DirectDraw: 0 video memory, 1 system memory
    int d3dSystemTexture = 0;
    int noTexture = 0;    // Direct3D: sizes only (a copy for the pixel effects)
    int indexMap = 0;     // DirectDraw 16 bpp: keep each pixel's palette number
    int mayBeMissing = 0; // a failed load is not fatal
    int cellWidth = 0;    // mirror cells: width of each horizontally mirrored cell
    int cellHeight = 0;   // mirror cells: height of each vertically mirrored cell
    int width = 0;        // size of a plain surface
    int height = 0;

    DDBMPDATA& Set(const std::string& name, int colourKey, int ddMemory, int d3dSystemTexture,
                   int noTexture, int indexMap, int mayBeMissing, int cellWidth, int cellHeight,
                   int width, int height);
};

constexpr int BITMAP_COUNT = 69;

extern std::array<DDBMPDATA, BITMAP_COUNT> g_BitmapTable;
extern std::array<DDSURFACEDATA, BITMAP_COUNT> g_BitmapSD;

// Fills g_BitmapTable; called once at program start.
void InitBitmapTable();

// The creation parameters of the four digit strips (one per font).
extern std::array<DDBMPDATA, 4> g_DigitBmp;
void InitDigitBmp();
