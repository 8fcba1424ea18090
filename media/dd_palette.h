#pragma once
// The game's palette of 256 colours (colours in game data are palette
// numbers 0 to 255, whatever the depth), the transparent colour and the
// colour-key values of each back end, palette blends and rotation, the
// screen fades, and the 8-bit blend table.

#include <array>
#include <cstdint>

#include "media/dd_pixels.h"

struct DDSURFACEDATA;

extern std::array<DDPALENTRY, 256> g_Palette;       // as loaded
extern std::array<DDPALENTRY, 256> g_ScreenPalette; // what fades and colour cycling write
extern std::uint32_t g_DDKeyColor; // the pixel value of transparency at the current depth
extern std::array<std::uint8_t, 65536> g_BlendTable; // [a * 256 + b]: the even mix of a and b

bool DDLoadPaletteFromFile(DDPALENTRY palette[256], const char* name);
void DDGetPixels16(DDPALENTRY palette[256], DDSURFACEDATA* sd);
int DDSetTransmitFromFile(const char* name);
void DDSetTransmit(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
std::uint32_t DDRGBTo16(const DDPALENTRY* entry);
// What the display makes of an RGB colour (0x00RRGGBB) at 16 or 32 bpp under
// DirectDraw: at 16 bpp each channel cut to the format's bits.
std::uint32_t DDDisplayPixel(std::uint32_t rgb);
void DDBlendPalette(DDPALENTRY dest[256], int first, int last, int factor, int red, int green,
                    int blue, const DDPALENTRY source[256]);
void DDRotatePalette(DDPALENTRY dest[256], int first, int last, int steps, int direction,
                     const DDPALENTRY source[256]);
std::uint8_t DDFadeOut(DDPALENTRY palette[256], int first, int last, int red, int green, int blue,
                       double stepDegrees, const DDPALENTRY source[256], std::uint8_t finish);
std::uint8_t DDFadeIn(DDPALENTRY palette[256], int first, int last, int red, int green, int blue,
                      double stepDegrees, const DDPALENTRY source[256], std::uint8_t finish);
bool DDLoadBlendTable(std::uint8_t table[65536], const char* name);

// The current angles of the two fades of each back end (tests read them).
struct DDFADEANGLES {
    double outD3D = 90.0, inD3D = 0.0, outDDraw = 90.0, inDDraw = 0.0;
};
extern DDFADEANGLES g_DDFadeAngles;
