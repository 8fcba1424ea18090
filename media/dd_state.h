#pragma once
// The state of the graphics layer. The rest of the game reads whether it has
// been set up, whether it runs in a window, and its colour depth; the graphics
// set-up writes them on the main thread before the game thread starts.
// Besides, the layer's configuration and the state of its two back ends:
// Direct3D is the active back end exactly when g_D3DState is non-null;
// otherwise DirectDraw is. Both are our own software renderers: the texture
// back end ("Direct3D": textures, alpha blending, 16 or 32 bpp) and the
// surface back end ("DirectDraw": surfaces with colour keys, 8, 16 or 32 bpp).

#include <cstdint>
#include <memory>
#include <string>

#include "core/display_facts.h"
#include "media/dd_pixels.h"
#include "platform/message_loop.h"

struct DDSURFACEDATA;
struct DDBMPDATA;

// Configuration kept by DDInit.
extern int g_DDUseD3D;          // Direct3D requested
extern plat::WindowId g_DDhWnd; // the game window
extern int g_DDWidth;           // display size (640 x 480)
extern int g_DDHeight;
extern int g_DDVSync;
extern int g_DDBackBuffers;
extern int g_DDRefreshRate;
extern int g_DDUseRefresh;
extern DDSURFACEDATA* g_DDSurfaces;   // the bitmap surfaces (g_BitmapSD)
extern const DDBMPDATA* g_DDBmpTable; // the bitmap table (g_BitmapTable)
extern int g_DDSurfaceCount;
extern std::uint8_t g_DDSetUp;
extern int g_DesktopBpp; // depth of the windowed display

// Shifts and maxima of the colour channels of a pixel format.
struct DDFORMATDATA {
    int shiftR = 0, shiftG = 0, shiftB = 0, shiftA = 0;
    int maxR = 0, maxG = 0, maxB = 0, maxA = 0;
};
// Textures (Direct3D) or every surface (DirectDraw).
extern DDFORMATDATA g_PixelFormat;
// The Direct3D 16-bit back buffer.
extern DDFORMATDATA g_BackBufferFormat;

// Our device's presentation settings, kept for every later reset.
struct DDPRESENTDATA {
    int windowed = 1;
    int width = 0, height = 0; // 0: the window's client size
    int refreshHz = 0;
    int vsync = 0;   // interval "default": the window shows frames at the refresh
    int discard = 1; // swap effect discard (else copy)
    int backBufferCount = 1;
    DDFormat format = DDFormat::X8R8G8B8;
};

// What the device can do with textures.
struct DDDEVICECAPS {
    int maxTextureWidth = 8192;
    int maxTextureHeight = 8192;
    int pow2Only = 0;
    int squareOnly = 0;
};

// The Direct3D state, created by the Direct3D set-up.
struct DD3DSTATE {
    DDFormat backBufferFormat = DDFormat::X8R8G8B8;
    DDFormat textureFormat = DDFormat::A8R8G8B8;
    DDPRESENTDATA present;
    int adapter = 0;
    int deviceType = 1; // hardware
    DDDEVICECAPS caps;
    int pow2Only = 0;
    int squareOnly = 0;
    int virtualMode = 0; // drawing for BackBuffer goes to VirBackBuffer
    DDSURFACEDATA* restingTarget = nullptr;
    int copying = 0;                   // VirBackBuffer is being copied onto BackBuffer
    std::uint8_t key32[3] = {0, 0, 0}; // colour-key colour at 32 bpp: blue, green, red
    std::uint8_t key16[3] = {0, 0, 0}; // colour-key colour at 16 bpp: blue, green, red
    std::uint32_t keyed32 = 0;         // a transparent texel at 32 bpp
    std::uint32_t opaqueKey32 = 0;     // 0xFF000000 | key colour
    std::uint16_t keyed16 = 0;
    std::uint16_t opaqueKey16 = 0;
    int inScene = 0;
    std::uint32_t vertexColor = 0xFFFFFFFF;
    int colorOp = 4; // modulate
    int alphaOp = 4; // select the texture's alpha (2) after set-up
    int serialCounter = 0;
    std::string textureFailText; // shown when a texture cannot be created
};
extern DD3DSTATE* g_D3DState;
extern std::shared_ptr<DD3DSTATE> g_D3DStateOwner;

// The DirectDraw state: the colour-key colours as blue, green, red.
struct DDDRAWSTATE {
    std::uint8_t key32[3] = {0, 0, 0};
    std::uint8_t key16[3] = {0, 0, 0};
};
extern DDDRAWSTATE* g_DDrawState;
extern std::shared_ptr<DDDRAWSTATE> g_DDrawStateOwner;

// Texture-stage operations (the numbers the drawing data stores).
enum : int {
    D3DTOP_DISABLE = 1,
    D3DTOP_SELECTARG1 = 2,
    D3DTOP_SELECTARG2 = 3,
    D3DTOP_MODULATE = 4,
    D3DTOP_MODULATE2X = 5,
    D3DTOP_MODULATE4X = 6,
    D3DTOP_ADD = 7,
    D3DTOP_ADDSIGNED = 8,
    D3DTOP_ADDSIGNED2X = 9,
    D3DTOP_SUBTRACT = 10,
    D3DTOP_ADDSMOOTH = 11,
    D3DTOP_BLENDDIFFUSEALPHA = 12,
    D3DTOP_BLENDTEXTUREALPHA = 13,
    D3DTOP_BLENDFACTORALPHA = 14,
};

// Bytes per pixel of the current depth.
inline int DDBytesPerPixel()
{
    return g_DDBpp <= 8 ? 1 : g_DDBpp / 8;
}
