#include "media/dd_init.h"

#include "core/environment.h"
#include "core/sjis_text.h"
#include "media/dd_device.h"
#include "media/dd_log.h"
#include "media/dd_present.h"
#include "media/dd_render.h"
#include "media/dd_surface.h"

int g_DDUseD3D = 0;
plat::WindowId g_DDhWnd = 0;
int g_DDWidth = 640;
int g_DDHeight = 480;
int g_DDVSync = 0;
int g_DDBackBuffers = 1;
int g_DDRefreshRate = 60;
int g_DDUseRefresh = 0;
DDSURFACEDATA* g_DDSurfaces = nullptr;
const DDBMPDATA* g_DDBmpTable = nullptr;
int g_DDSurfaceCount = 0;
std::uint8_t g_DDSetUp = 0;
int g_DesktopBpp = 32;

DDFORMATDATA g_PixelFormat;
DDFORMATDATA g_BackBufferFormat;

DD3DSTATE* g_D3DState = nullptr;
std::shared_ptr<DD3DSTATE> g_D3DStateOwner;
DDDRAWSTATE* g_DDrawState = nullptr;
std::shared_ptr<DDDRAWSTATE> g_DDrawStateOwner;

std::shared_ptr<DDDrawObject> lpDD;
std::shared_ptr<DDDrawPalette> lpDDPalette;
int lpDDClipper = 0;
DDRECT g_ClientRect;
DDDRAWFAULTS g_DDDrawFaults;

namespace {

const char* formatName(DDFormat f)
{
    switch (f) {
    case DDFormat::X8R8G8B8:
        return "X8R8G8B8";
    case DDFormat::R5G6B5:
        return "R5G6B5";
    case DDFormat::A1R5G5B5:
        return "A1R5G5B5";
    default:
        return "";
    }
}

DDFORMATDATA makeFormat(int sr, int sg, int sb, int sa, int mr, int mg, int mb, int ma)
{
    DDFORMATDATA f;
    f.shiftR = sr;
    f.shiftG = sg;
    f.shiftB = sb;
    f.shiftA = sa;
    f.maxR = mr;
    f.maxG = mg;
    f.maxB = mb;
    f.maxA = ma;
    return f;
}

// The display mode of our DirectDraw object.
DDRESULT setMode(int width, int height, int bpp, int refreshHz)
{
    int fails = g_DDDrawFaults.setDisplayModeFails;
    if (fails == 2 || (fails == 1 && refreshHz != 0)) return DDERR_INVALIDMODE;
    DDRESULT hr = lpDD->SetDisplayMode(width, height, bpp, refreshHz);
    if (hr == DD_OK && bpp == 16 && g_DDDrawFaults.display555)
        lpDD->displayFormat = DDFormat::X1R5G5B5;
    return hr;
}

void createDirectDrawPalette(bool windowed)
{
    DDPALENTRY entries[256];
    for (int i = 0; i < 256; ++i) {
        auto v = static_cast<std::uint8_t>(i);
        if (windowed) {
            bool fixed = i < 10 || i >= 246;
            entries[i] =
                DDPALENTRY{v, fixed ? std::uint8_t{0} : v, 0, fixed ? PC_EXPLICIT : PC_RESERVED};
        } else {
            entries[i] = DDPALENTRY{v, v, 0, PC_RESERVED};
        }
    }
    if (!windowed) entries[0].blue = 255;
    lpDDPalette = std::make_shared<DDDrawPalette>();
    lpDDPalette->SetEntries(0, 256, entries);
}

// PrimarySD over the display's primary surface.
void attachPrimary(const std::shared_ptr<DDDrawSurface>& primary, int width, int height)
{
    DDAllocSurfaceData(&PrimarySD);
    PrimarySD.lpDD->lpDDSurface = primary;
    PrimarySD.width = PrimarySD.textureWidth = width;
    PrimarySD.height = PrimarySD.textureHeight = height;
    PrimarySD.ddMemory = 0;
}

// The display's palette, which the primary shows at 8 bpp; at more bits the
// layer takes the display's pixel format instead.
void finishDisplay(DDDrawSurface& primary, bool windowed, int bpp)
{
    createDirectDrawPalette(windowed);
    if (bpp <= 8)
        primary.palette = lpDDPalette;
    else
        DDGetPixelFormat(&g_PixelFormat);
}

} // namespace

void DDSetRenderStates()
{
}

int DDInitD3D(plat::WindowId, int width, int height, int bpp, int)
{
    int ddi = g_DDD3DFaults.ddiVersion >= 0 ? g_DDD3DFaults.ddiVersion : GetDDIVersion();
    if (ddi < 9) {
        DDReportLog(Sjis("ビデオカードのドライバがDirectX9をサポートしていません！ %d"), ddi);
        return 0;
    }
    if (g_DDD3DFaults.noDirect3D) {
        DDReportLog("%s", Sjis("ビデオカードがDirectX9をサポートしていません！"));
        return 0;
    }
    lpD3D = std::make_shared<DDD3DOBJECT>();
    lpD3D->caps = g_DDD3DFaults.caps;
    g_D3DStateOwner = std::make_shared<DD3DSTATE>();
    g_D3DState = g_D3DStateOwner.get();
    DD3DSTATE& st = *g_D3DState;

    DDPRESENTDATA& pp = st.present;
    pp.windowed = g_DDWindowed ? 1 : 0;
    pp.width = width;
    pp.height = height;
    pp.refreshHz = g_DDWindowed ? 0 : 60;
    pp.vsync = g_DDVSync ? 1 : 0;
    st.caps = lpD3D->caps;
    st.pow2Only = st.caps.pow2Only;
    st.squareOnly = st.caps.squareOnly;
    pp.discard = 1;

    if (bpp == 32) {
        st.backBufferFormat = DDFormat::X8R8G8B8;
        st.textureFormat = DDFormat::A8R8G8B8;
        g_PixelFormat = makeFormat(16, 8, 0, 24, 255, 255, 255, 255);
    } else if (bpp == 16) {
        st.textureFormat = DDFormat::A1R5G5B5;
        g_PixelFormat = makeFormat(10, 5, 0, 15, 31, 31, 31, 1);
        if (g_DDWindowed) {
            st.backBufferFormat = DDFormat::A1R5G5B5;
            g_BackBufferFormat = g_PixelFormat;
        } else {
            st.backBufferFormat = DDFormat::R5G6B5;
            g_BackBufferFormat = makeFormat(11, 5, 0, 16, 31, 63, 31, 0);
        }
    } else {
        return 0;
    }
    pp.backBufferCount = 1;
    pp.format = st.backBufferFormat;

    if (!g_DDD3DFaults.hardwareDeviceFails) {
        DDReportLog("Device HAL-HARD");
    } else if (!g_DDD3DFaults.softwareDeviceFails) {
        DDReportLog("Device HAL-SOFT");
    } else {
        DDErrLogF("CreateDevice Err");
        return 0;
    }
    lpDevice = std::make_shared<DDSoftDevice>(pp);
    DDReportLog("%s", formatName(st.backBufferFormat));

    DDSetRenderStates();
    st.vertexColor = 0xFFFFFFFF;
    st.colorOp = D3DTOP_MODULATE;
    st.alphaOp = D3DTOP_SELECTARG1;

    DDAllocSurfaceData(&BackBuffer);
    BackBuffer.width = BackBuffer.textureWidth = width;
    BackBuffer.height = BackBuffer.textureHeight = height;
    BackBuffer.ddMemory = 0;
    BackBuffer.szSurfaceType = "BackBuffer";
    BackBuffer.lpDT->renderTarget = 1;
    BackBuffer.lpDT->hasVertexBuffer = 1;
    BackBuffer.lpDT->lpSurface = lpDevice->GetBackBuffer();
    BackBuffer.lpDT->serial = 0;
    st.serialCounter = 1;

    DDSetVirtualBackBuffer(0);
    st.copying = 0;

    DDCreateSurface(&VirBackBuffer, BackBuffer.width, BackBuffer.height, 0, 0, 0, 0, 0);
    VirBackBuffer.szSurfaceType = "VirBackBuffer";
    DDCreateSurface(&WorkSD, BackBuffer.width, BackBuffer.height, 0, 0, 0, 0, 0);
    WorkSD.szSurfaceType = "WorkSD";
    return 1;
}

void DDGetPixelFormat(DDFORMATDATA* format)
{
    if (!lpDD) return;
    std::uint32_t masks[3] = {0, 0, 0};
    int bits = lpDD->displayBpp;
    switch (lpDD->displayFormat) {
    case DDFormat::R5G6B5:
        masks[0] = 0xF800, masks[1] = 0x07E0, masks[2] = 0x001F;
        break;
    case DDFormat::X1R5G5B5:
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
        break;
    case DDFormat::X8R8G8B8:
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
        break;
    default:
        break;
    }
    int shifts[3] = {0, 0, 0}, maxima[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c) {
        for (int b = 0; b < bits; ++b) {
            if (masks[c] & (1u << b)) {
                shifts[c] = b;
                maxima[c] = static_cast<int>(masks[c] >> b);
                break;
            }
        }
    }
    format->shiftR = shifts[0];
    format->shiftG = shifts[1];
    format->shiftB = shifts[2];
    format->maxR = maxima[0];
    format->maxG = maxima[1];
    format->maxB = maxima[2];
}

int DDInitFullScreen(plat::WindowId, int width, int height, int bpp, int backBuffers)
{
    if (g_DDDrawFaults.createFails) {
        DDReportLog("DirectDrawCreateEx Err");
        return 1;
    }
    lpDD = std::make_shared<DDDrawObject>();
    lpDD->exclusive = true;
    DDRESULT hr = g_DDUseRefresh ? setMode(width, height, bpp, g_DDRefreshRate) : DDERR_GENERIC;
    if (hr != DD_OK) hr = setMode(width, height, bpp, 0);
    if (hr != DD_OK) {
        DDReportLog("SetDisplayMode Err");
        return 3;
    }
    std::shared_ptr<DDDrawSurface> primary;
    if (lpDD->CreatePrimary(backBuffers == 1 ? 1 : 2, primary) != DD_OK) {
        DDReportLog("Primary CreateSurface Err");
        return 4;
    }
    attachPrimary(primary, width, height);
    if (!lpDD->attachedBack) {
        DDReportLog("GetAttachedSurface Err");
        return 5;
    }
    DDAllocSurfaceData(&BackBuffer);
    BackBuffer.lpDD->lpDDSurface = lpDD->attachedBack;
    BackBuffer.width = BackBuffer.textureWidth = width;
    BackBuffer.height = BackBuffer.textureHeight = height;
    BackBuffer.ddMemory = 0;
    BackBuffer.szSurfaceType = "BackBuffer";
    if (!DDCreateSurface(&DDWorkSD, width, height, 0, 1, 0, 0, 0)) return 4;
    finishDisplay(*primary, false, bpp);
    return 0;
}

int DDInitWindow(plat::WindowId)
{
    g_ClientRect = DDRECT{0, 0, g_DDWidth, g_DDHeight};
    const int width = g_ClientRect.right - g_ClientRect.left;
    const int height = g_ClientRect.bottom - g_ClientRect.top;
    // The window shows our own display, whose depth is the one asked for.
    g_DesktopBpp = g_DDBpp;
    if (g_DDDrawFaults.createFails) {
        DDReportLog("DirectDrawCreateEx Err");
        return 1;
    }
    lpDD = std::make_shared<DDDrawObject>();
    std::shared_ptr<DDDrawSurface> primary;
    if (setMode(width, height, g_DesktopBpp, 0) != DD_OK ||
        lpDD->CreatePrimary(0, primary) != DD_OK) {
        DDReportLog("Primary CreateSurface Err");
        return 4;
    }
    attachPrimary(primary, width, height);
    if (!DDCreateSurface(&BackBuffer, width, height, 0, 0, 0, 0, 0)) return 4;
    BackBuffer.szSurfaceType = "BackBuffer";
    if (!DDCreateSurface(&DDWorkSD, width, height, 0, 1, 0, 0, 0)) return 4;
    finishDisplay(*primary, true, g_DesktopBpp);
    lpDDClipper = 1;
    return 0;
}

bool DDErrorName(int number)
{
    const char* name = nullptr;
    switch (number) {
    case 1:
        name = "CREATEEX_ERR";
        break;
    case 2:
        name = "SETCOOPLEVEL_ERR";
        break;
    case 3:
        name = "SETDISPLAYMODE_ERR";
        break;
    case 4:
        name = "CREATESURFACE_ERR";
        break;
    case 5:
        name = "GETATTACHEDSURFACE_ERR";
        break;
    case 6:
        name = "CREATEPALETTE_ERR";
        break;
    case 7:
        name = "SETPALETTE_ERR";
        break;
    case 10:
        name = "CLIPPER_ERR";
        break;
    case 11:
        name = "SETHWND_ERR";
        break;
    case 12:
        name = "SETCLIPPER_ERR";
        break;
    default:
        return true;
    }
    DDErrLogF("%s", name);
    return false;
}

std::uint8_t DDInit(int bD3D, plat::WindowId hWnd, int width, int height, int bpp, int vsync,
                    int windowed, int backBuffers, int refreshHz, int useRefresh,
                    DDSURFACEDATA* surfaceArray, const DDBMPDATA* bitmapTable, int count, int)
{
    // A second set-up releases the first; the back end never changes while set up.
    if (g_DDSetUp) DDUninit();
    g_DDUseD3D = bD3D;
    g_DDhWnd = hWnd;
    g_DDWidth = width;
    g_DDHeight = height;
    g_DDBpp = bpp;
    g_DDVSync = vsync;
    g_DDWindowed = windowed;
    g_DDBackBuffers = backBuffers;
    g_DDRefreshRate = refreshHz;
    g_DDUseRefresh = useRefresh;
    g_DDSurfaces = surfaceArray;
    g_DDBmpTable = bitmapTable;
    g_DDSurfaceCount = count;

    if (bD3D) {
        if (!DDInitD3D(hWnd, width, height, bpp, backBuffers)) return 0;
    } else {
        g_DDrawStateOwner = std::make_shared<DDDRAWSTATE>();
        g_DDrawState = g_DDrawStateOwner.get();
        if (windowed == 0) {
            if (!DDErrorName(DDInitFullScreen(hWnd, width, height, bpp, backBuffers))) return 0;
        } else if (windowed == 1) {
            if (!DDErrorName(DDInitWindow(hWnd))) return 0;
        }
    }
    g_DDReady = 1;
    g_DDSetUp = 1;
    return 1;
}

void DDUninit()
{
    if (lpDD) {
        for (int i = 0; g_DDSurfaces && i < g_DDSurfaceCount; ++i)
            DDReleaseSurfaceFwd(&g_DDSurfaces[i]);
        lpDDClipper = 0;
        lpDDPalette.reset();
        DDReleaseSurface(&BackBuffer);
        DDReleaseSurface(&PrimarySD);
        DDReleaseSurface(&DDWorkSD);
        lpDD->frontBuffer.reset();
        lpDD->attachedBack.reset();
        if (lpDD->LiveSurfaces() > 0) DDShowBox(Sjis("解放漏れがあります"), "DirectDraw");
        lpDD.reset();
    }
    if (lpD3D) {
        for (int i = 0; g_DDSurfaces && i < g_DDSurfaceCount; ++i)
            DDReleaseSurfaceFwd(&g_DDSurfaces[i]);
        DDReleaseSurface(&WorkSD);
        DDReleaseSurface(&VirBackBuffer);
        DDReleaseSurface(&BackBuffer);
        lpDevice.reset();
        lpD3D.reset();
    }
    // The back ends' states, also one left by a refused set-up.
    g_D3DStateOwner.reset();
    g_D3DState = nullptr;
    g_DDrawStateOwner.reset();
    g_DDrawState = nullptr;
}

void DDUninitWindow()
{
    DDUninit();
}
