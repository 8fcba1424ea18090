#pragma once
// Set-up and release of the graphics layer. DDInit chooses the back end once:
// the texture back end ("Direct3D": 16 or 32 bpp, textures with alpha) or the
// surface back end ("DirectDraw": 8, 16 or 32 bpp, full screen with a flip
// chain or windowed). When the first cannot start the caller releases it
// with DDUninit and asks for the second.

#include <cstdint>

#include "media/dd_ddraw.h"
#include "media/dd_state.h"

struct DDSURFACEDATA;
struct DDBMPDATA;

std::uint8_t DDInit(int bD3D, plat::WindowId hWnd, int width, int height, int bpp, int vsync,
                    int windowed, int backBuffers, int refreshHz, int useRefresh,
                    DDSURFACEDATA* surfaceArray, const DDBMPDATA* bitmapTable, int count,
                    int spare);
int DDInitD3D(plat::WindowId hWnd, int width, int height, int bpp, int backBuffers);
// The fixed render states: alpha blending by the texel's alpha, nearest-texel
// sampling, wrapping coordinates. Our renderer draws that way always.
void DDSetRenderStates();
int DDInitFullScreen(plat::WindowId hWnd, int width, int height, int bpp, int backBuffers);
int DDInitWindow(plat::WindowId hWnd);
bool DDErrorName(int number);
void DDGetPixelFormat(DDFORMATDATA* format);
void DDUninit();
void DDUninitWindow();

extern std::shared_ptr<DDDrawObject> lpDD;
extern std::shared_ptr<DDDrawPalette> lpDDPalette;
extern int lpDDClipper;     // the windowed primary's clipper is set
extern DDRECT g_ClientRect; // the window's client area (windowed DirectDraw)

// Test hooks of the DirectDraw set-up: failures to simulate, and the 16-bit
// display's format (5 or 6 bits of green).
struct DDDRAWFAULTS {
    int createFails = 0;
    int setDisplayModeFails = 0; // 1: a request with a refresh rate fails; 2: every request
    int display555 = 0;
};
extern DDDRAWFAULTS g_DDDrawFaults;
