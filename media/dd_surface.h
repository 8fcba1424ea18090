#pragma once
// DDSURFACEDATA: one drawing surface of the graphics layer. It carries the
// part of whichever back end is active: a texture (Direct3D part) or a
// DirectDraw surface (DirectDraw part). Creation, release, the texture size
// rules, the restore list that device-loss recovery walks, and the helpers
// that keep surfaces in vectors and lists. Loading from BMP files is in
// dd_bitmap.h.

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "media/dd_ddraw.h"
#include "media/dd_pixels.h"

struct DDBMPDATA;

// The Direct3D part.
struct DDTEXTUREDATA {
    int serial = 0;                      // unique per texture surface; BackBuffer 0
    std::shared_ptr<DDPixels> lpTexture; // the texture's storage (one level)
    std::shared_ptr<DDPixels> lpSurface; // level 0 (for BackBuffer the device's back buffer)
    int hasVertexBuffer = 0;             // a surface with its own quad to draw (not noTexture)
    int systemTexture = 0;               // lives in system memory: kept over a reset
    int colourKey = 0;                   // the picture has transparent pixels
    int redraw = 0;                      // recreated empty after a reset: draw it again
    int renderTarget = 0;                // drawing onto it goes through the render target
};

// The DirectDraw part.
struct DDRAWDATA {
    std::shared_ptr<DDDrawSurface> lpDDSurface;
    std::vector<std::uint8_t> indexMap; // palette number of each pixel, or empty
};

struct DDSURFACEDATA {
    std::shared_ptr<DDTEXTUREDATA> lpDT;
    std::shared_ptr<DDRAWDATA> lpDD;
    std::string szSurfaceType; // "OffScreen", "OffScreenFromFile", "BackBuffer", ...
    int width = 0;
    int height = 0;
    int textureWidth = 0;
    int textureHeight = 0;
    std::string szFileName; // the BMP it came from; "E" for a plain surface
    int ddMemory = 0;       // DirectDraw: 0 video memory, 1 system memory
    int mirrorCellWidth = 0;
    int mirrorCellHeight = 0;
    DDSURFACEDATA* lpMirror = nullptr; // Direct3D: draw with this surface's texture

    DDSURFACEDATA() = default;
    // A surface moved to another place (a growing vector) keeps its entries
    // in the restore list pointing at it; a destroyed one leaves the list.
    DDSURFACEDATA(DDSURFACEDATA&& other) noexcept;
    DDSURFACEDATA& operator=(DDSURFACEDATA&& other) noexcept;
    DDSURFACEDATA(const DDSURFACEDATA&) = delete;
    DDSURFACEDATA& operator=(const DDSURFACEDATA&) = delete;
    ~DDSURFACEDATA();

    // The pixels that drawing reads and writes, or null when not created.
    DDPixels* pixels() const;
};

// The fixed surfaces of the layer.
extern DDSURFACEDATA BackBuffer;
extern DDSURFACEDATA VirBackBuffer;
extern DDSURFACEDATA WorkSD;
extern DDSURFACEDATA PrimarySD;
extern DDSURFACEDATA DDWorkSD;

// Every Direct3D surface that owns a texture, in creation order.
extern std::vector<DDSURFACEDATA*> g_RestoreList;

// The largest side of a texture or surface our renderer makes; larger ones
// fail to be created, as they would for want of memory.
constexpr int DD_MAX_TEXTURE_SIDE = 16384;
// Storage for a texture, or null when it cannot be made.
std::shared_ptr<DDPixels> DDMakeTexture(DDFormat format, int width, int height);

void DDAllocSurfaceData(DDSURFACEDATA* sd);
bool DDCreateSurface(DDSURFACEDATA* sd, int width, int height, int colourKey, int ddMemory,
                     int d3dSystemTexture, int noTexture, int restoring);
void DDTextureSize(int* width, int* height);
int DDCheckTextureSize(int width, int height);
void DDReleaseSurface(DDSURFACEDATA* sd);
void DDReleaseSurfaceFwd(DDSURFACEDATA* sd);
void DDReleaseSurfaceVec(std::vector<DDSURFACEDATA>& surfaces);
void DDReleaseSurfaceList(std::list<DDSURFACEDATA>& surfaces);
bool DDCreateSurfaceVec(std::vector<DDSURFACEDATA>& surfaces, std::vector<DDBMPDATA>& records,
                        int width, int height, int colourKey, int ddMemory, int d3dSystemTexture,
                        int noTexture);
bool DDCreateSurfaceList(std::list<DDSURFACEDATA>& surfaces, std::list<DDBMPDATA>& records,
                         int width, int height, int colourKey, int ddMemory, int d3dSystemTexture,
                         int noTexture);
int DDDeleteSurfaceList(std::list<DDSURFACEDATA>& surfaces, std::list<DDBMPDATA>& records,
                        DDSURFACEDATA* sd);
bool DDSurfaceErrorName(int number);
void LinkSharedTextures();
