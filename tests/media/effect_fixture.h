#pragma once
// Shared set-up of the pixel-effect tests: each way an effect can run (the
// texture back end's quad and its software branch at each depth, the
// surface back end at each depth) on a small display, surfaces of the mode,
// and raw pixel rows written and read back.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/graphics_fixture.h"

namespace fxtest {

struct EffectMode {
    const char* name;
    int d3d;
    int bpp;
    int windowed;
    int systemTexture; // texture back end: surfaces in system memory (the software branch)
};

inline const EffectMode kTextureQuad32{"TextureQuad32", 1, 32, 1, 0};
inline const EffectMode kTextureSoft32{"TextureSoft32", 1, 32, 1, 1};
inline const EffectMode kTextureQuad16{"TextureQuad16", 1, 16, 1, 0};
inline const EffectMode kTextureSoft16{"TextureSoft16", 1, 16, 1, 1};
inline const EffectMode kTextureSoft16Full{"TextureSoft16Full", 1, 16, 0, 1};
inline const EffectMode kSurface8{"Surface8", 0, 8, 0, 0};
inline const EffectMode kSurface16{"Surface16", 0, 16, 1, 0};
inline const EffectMode kSurface32{"Surface32", 0, 32, 1, 0};

// Every branch of the effects that work on locked pixels in both back ends.
inline std::vector<EffectMode> SoftwareModes()
{
    return {kTextureSoft32, kTextureSoft16, kSurface8, kSurface16, kSurface32};
}

inline std::string EffectModeName(const testing::TestParamInfo<EffectMode>& info)
{
    return info.param.name;
}

using gfxtest::TearDownMode;

inline bool SetUpEffectMode(const EffectMode& m, int width = 16, int height = 12)
{
    return gfxtest::SetUpMode(gfxtest::Mode{m.name, m.d3d, m.bpp, m.windowed}, width, height);
}

// A plain surface of the mode: a texture (in system memory when the mode
// says so), or a surface of the surface back end.
inline bool MakeSurface(DDSURFACEDATA* sd, const EffectMode& m, int w, int h, int colourKey = 0)
{
    return DDCreateSurface(sd, w, h, colourKey, 1, m.systemTexture, 0, 0);
}

using Rows = std::vector<std::vector<std::uint32_t>>;

// Raw pixel values written row by row from the top-left corner.
inline void SetPixels(DDSURFACEDATA& sd, const Rows& rows)
{
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x)
            sd.pixels()->set(x, y, rows[y][x]);
}

// The raw pixel values of the top-left w x h.
inline Rows GetPixels(const DDSURFACEDATA& sd, int w, int h)
{
    Rows rows(h, std::vector<std::uint32_t>(w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rows[y][x] = sd.pixels()->get(x, y);
    return rows;
}

// Which pixels differ between two readings: '#' changed, '.' kept.
inline std::vector<std::string> Changed(const Rows& before, const Rows& after)
{
    std::vector<std::string> mask;
    for (std::size_t y = 0; y < before.size(); ++y) {
        std::string row;
        for (std::size_t x = 0; x < before[y].size(); ++x)
            row += before[y][x] == after[y][x] ? '.' : '#';
        mask.push_back(row);
    }
    return mask;
}

// A surface filled with one raw value everywhere.
inline void FillRaw(DDSURFACEDATA& sd, std::uint32_t value)
{
    sd.pixels()->fill(value);
}

} // namespace fxtest
