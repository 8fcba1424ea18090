#pragma once
// Our stand-in for the DirectDraw objects the surface back end works with: a
// display (mode and pixel format), surfaces that live in "video" or "system"
// memory and can be lost, a 256-colour palette, and the Blt, BltFast and
// colour-fill operations with the rectangle rules and results of the
// original. Frames reach the screen when the primary surface is flipped or
// drawn on.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "media/dd_pixels.h"

using DDRESULT = std::int32_t;

// Results (the numbers the layer's callers compare with).
constexpr DDRESULT DD_OK = 0;
constexpr DDRESULT DDERR_GENERIC = static_cast<DDRESULT>(0x80004005u);
constexpr DDRESULT DDERR_INVALIDRECT = static_cast<DDRESULT>(0x88760096u);
constexpr DDRESULT DDERR_OUTOFVIDEOMEMORY = static_cast<DDRESULT>(0x8876017Cu);
constexpr DDRESULT DDERR_SURFACELOST = static_cast<DDRESULT>(0x887601C2u);
constexpr DDRESULT DDERR_INVALIDMODE = static_cast<DDRESULT>(0x88760078u);

struct DDRECT {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class DDDrawPalette {
public:
    DDDrawPalette();
    std::array<DDPALENTRY, 256> entries;
    DDRESULT SetEntries(int first, int count, const DDPALENTRY* colours);
};

class DDDrawSurface {
public:
    DDPixels pixels;
    int memoryType = 0; // 0 video memory, 1 system memory
    bool primary = false;
    bool lost = false;
    bool hasColorKey = false;
    std::uint32_t colorKey = 0;
    std::shared_ptr<DDDrawPalette> palette; // the primary's, at 8 bpp

    DDRESULT IsLost() const { return lost ? DDERR_SURFACELOST : DD_OK; }
    // Gives the memory back after a loss; what it held is gone.
    DDRESULT Restore();
    DDRESULT SetColorKey(std::uint32_t key);
};

class DDDrawObject {
public:
    int displayWidth = 0;
    int displayHeight = 0;
    int displayBpp = 0;
    DDFormat displayFormat = DDFormat::X8R8G8B8;
    bool exclusive = false;
    std::shared_ptr<DDDrawSurface> frontBuffer;  // the primary's pixels on screen
    std::shared_ptr<DDDrawSurface> attachedBack; // the flip chain's back buffer

    // Sets the display mode our renderer shows (8, 16 or 32 bpp).
    DDRESULT SetDisplayMode(int width, int height, int bpp, int refreshHz);
    DDRESULT RestoreDisplayMode();
    // A plain surface of the display's format; video memory falls back to
    // nothing (DDERR_OUTOFVIDEOMEMORY) while the video memory is full.
    DDRESULT CreateSurface(int width, int height, int memoryType,
                           std::shared_ptr<DDDrawSurface>& out);
    // The primary surface, with an attached back buffer when backBuffers > 0.
    DDRESULT CreatePrimary(int backBuffers, std::shared_ptr<DDDrawSurface>& out);
    // Shows the back buffer: the flip chain swaps and the new front is sent out.
    DDRESULT Flip();
    // Surfaces created and still held by someone.
    int LiveSurfaces() const;
    // Every video-memory surface loses its memory, as when another program
    // takes the display.
    void LoseVideoMemory();

private:
    std::vector<std::weak_ptr<DDDrawSurface>> surfaces_;
};

// Copies srcRect of src onto dstRect of dst, stretched by nearest pixel when
// the sizes differ; keySrc skips pixels equal to the source's colour key.
// Rectangles must lie inside their surfaces.
DDRESULT DDDrawBlt(DDDrawSurface& dst, const DDRECT& dstRect, DDDrawSurface& src,
                   const DDRECT& srcRect, bool keySrc);
// Same-size copy to (x, y).
DDRESULT DDDrawBltFast(DDDrawSurface& dst, int x, int y, DDDrawSurface& src, const DDRECT& srcRect,
                       bool keySrc);
// Fills a rectangle with a raw pixel value.
DDRESULT DDDrawColorFill(DDDrawSurface& dst, const DDRECT& rect, std::uint32_t value);

// Test hook: while set, video memory is full and every video-memory surface
// creation fails.
extern bool g_DDVideoMemoryFull;
