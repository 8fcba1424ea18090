#include "media/dd_surface.h"

#include <algorithm>
#include <climits>

#include "core/sjis_text.h"
#include "media/bitmap_table.h"
#include "media/dd_device.h"
#include "media/dd_fill.h"
#include "media/dd_init.h"
#include "media/dd_log.h"
#include "media/dd_palette.h"
#include "media/dd_render.h"
#include "media/dd_state.h"

DDSURFACEDATA BackBuffer;
DDSURFACEDATA VirBackBuffer;
DDSURFACEDATA WorkSD;
DDSURFACEDATA PrimarySD;
DDSURFACEDATA DDWorkSD;

std::vector<DDSURFACEDATA*> g_RestoreList;

namespace {

// Surfaces of other files may outlive the list at program exit; they must
// not touch it then.
bool g_RestoreListAlive = true;
struct RestoreListGuard {
    ~RestoreListGuard() { g_RestoreListAlive = false; }
} g_RestoreListGuard;

void repointRestoreList(DDSURFACEDATA* from, DDSURFACEDATA* to)
{
    if (!g_RestoreListAlive) return;
    for (auto& entry : g_RestoreList) {
        if (entry == from) entry = to;
    }
}

void takeFrom(DDSURFACEDATA& to, DDSURFACEDATA& from)
{
    to.lpDT = std::move(from.lpDT);
    to.lpDD = std::move(from.lpDD);
    to.szSurfaceType = std::move(from.szSurfaceType);
    to.width = from.width;
    to.height = from.height;
    to.textureWidth = from.textureWidth;
    to.textureHeight = from.textureHeight;
    to.szFileName = std::move(from.szFileName);
    to.ddMemory = from.ddMemory;
    to.mirrorCellWidth = from.mirrorCellWidth;
    to.mirrorCellHeight = from.mirrorCellHeight;
    to.lpMirror = from.lpMirror;
    from.lpMirror = nullptr;
    repointRestoreList(&from, &to);
}

int nextPowerOfTwo(int v)
{
    if (v <= 0) return v;
    unsigned u = static_cast<unsigned>(v);
    if ((u & (u - 1)) == 0) return v;
    unsigned top = 1u << (31 - __builtin_clz(u));
    return top >= (1u << 30) ? INT_MAX : static_cast<int>(top * 2);
}

} // namespace

std::shared_ptr<DDPixels> DDMakeTexture(DDFormat format, int width, int height)
{
    if (width <= 0 || height <= 0 || width > DD_MAX_TEXTURE_SIDE || height > DD_MAX_TEXTURE_SIDE)
        return nullptr;
    try {
        return std::make_shared<DDPixels>(format, width, height);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

DDSURFACEDATA::DDSURFACEDATA(DDSURFACEDATA&& other) noexcept
{
    takeFrom(*this, other);
}

DDSURFACEDATA& DDSURFACEDATA::operator=(DDSURFACEDATA&& other) noexcept
{
    if (this != &other) {
        repointRestoreList(this, nullptr);
        if (g_RestoreListAlive) std::erase(g_RestoreList, nullptr);
        takeFrom(*this, other);
    }
    return *this;
}

DDSURFACEDATA::~DDSURFACEDATA()
{
    if (g_RestoreListAlive) std::erase(g_RestoreList, this);
}

DDPixels* DDSURFACEDATA::pixels() const
{
    if (lpDT) return lpDT->lpSurface.get();
    if (lpDD && lpDD->lpDDSurface) return &lpDD->lpDDSurface->pixels;
    return nullptr;
}

void DDAllocSurfaceData(DDSURFACEDATA* sd)
{
    if (g_DDUseD3D) {
        if (!sd->lpDT) sd->lpDT = std::make_shared<DDTEXTUREDATA>();
    } else if (!sd->lpDD) {
        sd->lpDD = std::make_shared<DDRAWDATA>();
    }
}

void DDTextureSize(int* width, int* height)
{
    if (!g_D3DState) return;
    if (g_D3DState->pow2Only) {
        *width = nextPowerOfTwo(*width);
        *height = nextPowerOfTwo(*height);
    }
    if (g_D3DState->squareOnly) {
        int side = std::max(*width, *height);
        *width = side;
        *height = side;
    }
}

int DDCheckTextureSize(int width, int height)
{
    if (!g_D3DState) return 1;
    int ok = 1;
    const DDDEVICECAPS& caps = g_D3DState->caps;
    if (static_cast<unsigned>(width) > static_cast<unsigned>(caps.maxTextureWidth)) {
        DDReportLog(Sjis("このビデオカードでは横幅%dを超える画像はサポートされていません！"),
                    caps.maxTextureWidth);
        ok = 0;
    }
    if (static_cast<unsigned>(height) > static_cast<unsigned>(caps.maxTextureHeight)) {
        DDReportLog(Sjis("このビデオカードでは縦幅%dを超える画像はサポートされていません！"),
                    caps.maxTextureHeight);
        ok = 0;
    }
    return ok;
}

namespace {

// The texture-failure box, then the game closes.
void textureFailure()
{
    if (g_D3DState && !g_D3DState->textureFailText.empty())
        DDErrBoxF("%s", g_D3DState->textureFailText.c_str());
    DDPostClose();
}

bool createSurfaceD3D(DDSURFACEDATA* sd, int width, int height, int colourKey, int ddMemory,
                      int d3dSystemTexture, int noTexture, int restoring)
{
    DDAllocSurfaceData(sd);
    DDTEXTUREDATA& dt = *sd->lpDT;
    if (!restoring) {
        // Whole strings moved in: GCC 12 warns wrongly about assigning short
        // literals in place here.
        sd->szSurfaceType = std::string("OffScreen");
        sd->szFileName = std::string("E");
        dt.systemTexture = d3dSystemTexture;
        dt.lpSurface.reset();
        dt.lpTexture.reset();
        dt.colourKey = colourKey == 1;
        if (!noTexture) {
            dt.serial = g_D3DState->serialCounter++;
            dt.hasVertexBuffer = 1;
        }
    }
    dt.renderTarget = 1;
    if (noTexture) {
        sd->width = sd->textureWidth = width;
        sd->height = sd->textureHeight = height;
        sd->ddMemory = ddMemory;
        return true;
    }
    if (width <= 0 || height <= 0) return false;
    int tw = width, th = height;
    DDTextureSize(&tw, &th);
    if (!DDCheckTextureSize(tw, th))
        DDReportLog("%s", Sjis("上記の理由でテクスチャの描画が失敗する可能性があります。(空)"));
    if (!dt.systemTexture) {
        if (g_DDVideoMemoryFull) {
            DDReportLog("%s", Sjis("VRAM不足のためシステムメモリにテクスチャを作成します。(空)"));
            dt.systemTexture = 1;
        } else {
            dt.lpTexture = DDMakeTexture(g_D3DState->textureFormat, tw, th);
            if (!dt.lpTexture) return false;
        }
    }
    if (dt.systemTexture) {
        dt.renderTarget = 0;
        if (!restoring || !dt.lpTexture) {
            dt.lpTexture = DDMakeTexture(g_D3DState->textureFormat, tw, th);
            if (!dt.lpTexture) {
                DDReportLog("D3DXCreateTexture Err hr = %x", 0x8007000Eu);
                textureFailure();
                return false;
            }
        }
    }
    dt.lpSurface = dt.lpTexture;
    sd->width = width;
    sd->height = height;
    sd->textureWidth = dt.lpTexture->width;
    sd->textureHeight = dt.lpTexture->height;
    if (dt.renderTarget) {
        DDPixels& p = *dt.lpSurface;
        p.fill(DDFromARGB(p.format, g_D3DState->opaqueKey32));
    }
    if (!restoring) g_RestoreList.push_back(sd);
    return true;
}

bool createSurfaceDDraw(DDSURFACEDATA* sd, int width, int height, int colourKey, int ddMemory)
{
    if (!lpDD) return false;
    DDAllocSurfaceData(sd);
    std::shared_ptr<DDDrawSurface> surface;
    int memory = ddMemory == 0 ? 0 : 1;
    DDRESULT hr = lpDD->CreateSurface(width, height, memory, surface);
    if (hr != DD_OK && memory == 0) {
        memory = 1;
        hr = lpDD->CreateSurface(width, height, memory, surface);
    }
    if (hr != DD_OK) return false;
    sd->lpDD->lpDDSurface = surface;
    sd->lpDD->indexMap.clear();
    if (colourKey == 1 && surface->SetColorKey(g_DDKeyColor) != DD_OK) return false;
    sd->szSurfaceType = std::string("OffScreen");
    sd->szFileName = std::string("E");
    sd->ddMemory = memory;
    sd->width = sd->textureWidth = width;
    sd->height = sd->textureHeight = height;
    DDBoxFillPal(sd, 0, 0, width, height, 0);
    return true;
}

} // namespace

bool DDCreateSurface(DDSURFACEDATA* sd, int width, int height, int colourKey, int ddMemory,
                     int d3dSystemTexture, int noTexture, int restoring)
{
    if (!sd) return false;
    if (g_D3DState)
        return createSurfaceD3D(sd, width, height, colourKey, ddMemory, d3dSystemTexture, noTexture,
                                restoring);
    return createSurfaceDDraw(sd, width, height, colourKey, ddMemory);
}

void DDReleaseSurface(DDSURFACEDATA* sd)
{
    if (!sd) return;
    if (sd->lpDT) {
        if (sd->lpMirror) {
            sd->lpDT.reset();
        } else {
            int serial = sd->lpDT->serial;
            sd->lpDT->lpTexture.reset();
            sd->lpDT->lpSurface.reset();
            sd->lpDT->hasVertexBuffer = 0;
            std::erase_if(g_RestoreList, [serial](DDSURFACEDATA* entry) {
                return entry->lpDT && entry->lpDT->serial == serial;
            });
            sd->lpDT.reset();
        }
    }
    if (sd->lpDD) sd->lpDD.reset();
}

void DDReleaseSurfaceFwd(DDSURFACEDATA* sd)
{
    DDReleaseSurface(sd);
}

void DDReleaseSurfaceVec(std::vector<DDSURFACEDATA>& surfaces)
{
    for (auto& sd : surfaces)
        DDReleaseSurface(&sd);
}

void DDReleaseSurfaceList(std::list<DDSURFACEDATA>& surfaces)
{
    for (auto& sd : surfaces)
        DDReleaseSurface(&sd);
}

namespace {

// A plain surface added at the end of a vector or list of surfaces, with its
// creation record at the end of the records beside them.
template <class Surfaces, class Records>
bool createPlainSurface(Surfaces& surfaces, Records& records, int width, int height, int colourKey,
                        int ddMemory, int d3dSystemTexture, int noTexture)
{
    surfaces.emplace_back();
    records.emplace_back().Set("", colourKey, ddMemory, d3dSystemTexture, noTexture, 0, 0, 0, 0, 0,
                               0);
    return DDCreateSurface(&surfaces.back(), width, height, colourKey, ddMemory, d3dSystemTexture,
                           noTexture, 0);
}

} // namespace

bool DDCreateSurfaceVec(std::vector<DDSURFACEDATA>& surfaces, std::vector<DDBMPDATA>& records,
                        int width, int height, int colourKey, int ddMemory, int d3dSystemTexture,
                        int noTexture)
{
    return createPlainSurface(surfaces, records, width, height, colourKey, ddMemory,
                              d3dSystemTexture, noTexture);
}

bool DDCreateSurfaceList(std::list<DDSURFACEDATA>& surfaces, std::list<DDBMPDATA>& records,
                         int width, int height, int colourKey, int ddMemory, int d3dSystemTexture,
                         int noTexture)
{
    return createPlainSurface(surfaces, records, width, height, colourKey, ddMemory,
                              d3dSystemTexture, noTexture);
}

int DDDeleteSurfaceList(std::list<DDSURFACEDATA>& surfaces, std::list<DDBMPDATA>& records,
                        DDSURFACEDATA* sd)
{
    std::size_t position = 0;
    auto it = surfaces.begin();
    for (; it != surfaces.end(); ++it, ++position) {
        if (&*it == sd) break;
    }
    if (it == surfaces.end()) return 0;
    DDReleaseSurface(&*it);
    surfaces.erase(it);
    if (position < records.size())
        records.erase(std::next(records.begin(), static_cast<std::ptrdiff_t>(position)));
    return 1;
}

bool DDSurfaceErrorName(int number)
{
    switch (number) {
    case 4:
        DDErrLogF("CREATESURFACE_ERR");
        return false;
    case 8:
        DDErrLogF("LOADIMAGE_ERR");
        return false;
    case 9:
        DDErrLogF("SETCOLORKEY_ERR");
        return false;
    default:
        return true;
    }
}

void LinkSharedTextures()
{
    // The DirectDraw-only copies and the pictures they copy.
    static const int copies[][2] = {{3, 2}, {41, 40}, {44, 43}, {68, 67}};
    for (const auto& link : copies)
        g_BitmapSD[link[0]].lpMirror = &g_BitmapSD[link[1]];
    for (int n = 22; n <= 39; ++n)
        g_BitmapSD[n].lpMirror = &g_BitmapSD[n - 18];
}
