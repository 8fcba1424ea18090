#pragma once
// What the pixel effects share. The effects are the drawing operations that
// compute new pixels instead of copying a rectangle: half translucency and
// tint (dd_translucent.h), blur and mosaic (dd_blur.h), rotation
// (dd_rotate.h), the fade without palette and the screen colour change
// (dd_fade.h), lens and circle (dd_lens.h). Each tests the back end
// (Direct3D exactly when g_D3DState is set) and has one branch per back end.
//
// Under Direct3D an effect first substitutes its surfaces (a linked copy is
// read through the surface it is linked to; while the virtual back buffer is
// on, BackBuffer means VirBackBuffer) and, where it can, draws one textured
// quad; otherwise it works on locked pixels. A locked surface is addressed
// as rows of 8-, 16- or 32-bit pixels of the current depth; at 32 bits a
// pixel's bytes are 0 blue, 1 green, 2 red, 3 alpha.
//
// Channel arithmetic, all in integers truncated toward zero:
//   unpack   channel = (pixel >> shift) & maximum
//   widen    channel * 255 / maximum            (to 0..255)
//   narrow   value * maximum / 255              (from 0..255)
//   pack     (red & maxR) << shiftR | (green & maxG) << shiftG | (blue & maxB) << shiftB,
//            with the alpha bit (maxA & 1) << shiftA under Direct3D
//   the full-screen 16-bit back buffer of Direct3D (R5G6B5) takes 5-bit
//   channels of the texture format: red << 11 | green * 2 << 5 | blue.
//
// Results: true when the effect drew or had nothing to draw, false when a
// surface could not be locked (whatever was locked is released first).

#include <cstdint>

#include "media/dd_lock.h"
#include "media/dd_quad.h"
#include "media/dd_state.h"

struct DDSURFACEDATA;

// A locked surface as the effects address it: rows of pixels of the current
// depth, and the picture's size (never more than the storage holds).
struct DDEffectPixels {
    std::uint8_t* bits = nullptr;
    int pitch = 0; // in pixels
    int width = 0;
    int height = 0;

    template <typename P> P* row(int y) const
    {
        return reinterpret_cast<P*>(bits) + static_cast<std::ptrdiff_t>(y) * pitch;
    }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// The destination and source of an effect, locked destination first and
// released source first (also when the second lock fails).
class DDEffectLock {
public:
    DDEffectLock() = default;
    DDEffectLock(const DDEffectLock&) = delete;
    DDEffectLock& operator=(const DDEffectLock&) = delete;
    ~DDEffectLock() { release(); }

    // False when either surface cannot be locked; nothing is held then.
    bool lock(DDSURFACEDATA* dest, DDSURFACEDATA* src);
    // One surface changed in place.
    bool lock(DDSURFACEDATA* sd);
    void release();

    DDEffectPixels dest, src;

private:
    DDLOCKDATA m_Dest, m_Src;
};

// The part of a rectangle of w x h pixels, read from (sx, sy) of the source
// and written at (x, y) of the destination, whose pixels lie inside both:
// offsets i in [left, right) and j in [top, bottom). False when empty.
struct DDEffectClip {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool clip(const DDEffectPixels& dest, int x, int y, const DDEffectPixels& src, int sx, int sy,
              int w, int h);
};

// The Direct3D substitution of both surfaces: the mirror of the destination,
// of the source, then the virtual target of each.
void DDEffectSubstitute(DDSURFACEDATA** dest, DDSURFACEDATA** src);

// Whether a surface of the texture back end is a system-memory texture
// (drawn by the software paths).
bool DDIsSystemTexture(const DDSURFACEDATA* sd);

// The pixel value that stands for a transparent pixel in the effects:
// g_DDKeyColor under DirectDraw, the keyed value of the depth under Direct3D.
std::uint32_t DDEffectKey();

struct DDRGB {
    std::uint32_t r = 0, g = 0, b = 0;
};

inline DDRGB DDUnpack(std::uint32_t pixel, const DDFORMATDATA& f)
{
    return DDRGB{(pixel >> f.shiftR) & static_cast<std::uint32_t>(f.maxR),
                 (pixel >> f.shiftG) & static_cast<std::uint32_t>(f.maxG),
                 (pixel >> f.shiftB) & static_cast<std::uint32_t>(f.maxB)};
}

inline std::uint32_t DDWiden(std::uint32_t channel, int maximum)
{
    return maximum > 0 ? channel * 255 / static_cast<std::uint32_t>(maximum) : 0;
}

inline std::uint32_t DDNarrow(std::uint32_t value, int maximum)
{
    return maximum > 0 ? value * static_cast<std::uint32_t>(maximum) / 255 : 0;
}

inline std::uint32_t DDPack(const DDRGB& c, const DDFORMATDATA& f, bool alphaBit)
{
    std::uint32_t p = (c.r & static_cast<std::uint32_t>(f.maxR)) << f.shiftR |
                      (c.g & static_cast<std::uint32_t>(f.maxG)) << f.shiftG |
                      (c.b & static_cast<std::uint32_t>(f.maxB)) << f.shiftB;
    if (alphaBit) p |= static_cast<std::uint32_t>(f.maxA & 1) << f.shiftA;
    return p;
}

// The full-screen 16-bit back buffer's pixel from channels whose green is
// already of the back buffer's width.
inline std::uint32_t DDPackBackBuffer(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    const DDFORMATDATA& f = g_BackBufferFormat;
    return (r & static_cast<std::uint32_t>(f.maxR)) << f.shiftR |
           (g & static_cast<std::uint32_t>(f.maxG)) << f.shiftG |
           (b & static_cast<std::uint32_t>(f.maxB)) << f.shiftB;
}

// The textured quad of an effect under Direct3D: src's texture drawn onto
// dest through the stage in quad (its texture is filled in here), as an
// upright rectangle or, given corners, turned. Nothing is drawn when the
// source has no quad of its own or dest cannot become the render target;
// the resting render target is set again afterwards.
void DDEffectQuad(DDSURFACEDATA* dest, DDSURFACEDATA* src, DDQUAD quad,
                  const DDQUADCORNER* corners = nullptr);
