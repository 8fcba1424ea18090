#pragma once
// Shared set-up of the graphics tests: each display mode of the two back
// ends on a small display, a known palette, and helpers that read surfaces
// back as palette numbers so that one table of expected pictures serves
// every mode.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "media/bitmap_table.h"
#include "media/dd_device.h"
#include "media/dd_fill.h"
#include "media/dd_init.h"
#include "media/dd_log.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"

namespace gfxtest {

struct Mode {
    const char* name;
    int d3d;
    int bpp;
    int windowed;
};

// Every mode the layer runs in.
inline const std::vector<Mode>& AllModes()
{
    static const std::vector<Mode> modes = {
        {"Texture32", 1, 32, 1},     {"Texture16", 1, 16, 1}, {"Texture16Full", 1, 16, 0},
        {"Surface8", 0, 8, 0},       {"Surface16", 0, 16, 1}, {"Surface32", 0, 32, 1},
        {"Surface32Full", 0, 32, 0},
    };
    return modes;
}

inline std::string ModeName(const testing::TestParamInfo<Mode>& info)
{
    return info.param.name;
}

// The test palette: entry n has a colour of its own in every depth (at 16
// bpp under DirectDraw the entries hold the format's channel values).
inline void SetTestPalette(bool ddraw16)
{
    for (int n = 0; n < 256; ++n) {
        DDPALENTRY& e = g_Palette[n];
        if (ddraw16) {
            e.red = static_cast<std::uint8_t>(n & 31);
            e.green = static_cast<std::uint8_t>((n >> 5) * 7 + 1);
            e.blue = static_cast<std::uint8_t>(31 - (n & 31));
        } else {
            e.red = static_cast<std::uint8_t>((n & 31) << 3);
            e.green = static_cast<std::uint8_t>(((n >> 5) * 7 + 1) << 3);
            e.blue = static_cast<std::uint8_t>((31 - (n & 31)) << 3);
        }
        e.flags = PC_RESERVED;
    }
    g_ScreenPalette = g_Palette;
}

// Sets up one mode on a display of the given size; the transparent colour
// is palette colour 0.
inline bool SetUpMode(const Mode& mode, int width, int height)
{
    InitBitmapTable();
    g_DDD3DFaults = DDD3DFAULTS{};
    g_DDDrawFaults = DDDRAWFAULTS{};
    g_DDVideoMemoryFull = false;
    if (!DDInit(mode.d3d, 0, width, height, mode.bpp, 0, mode.windowed, 1, 60, 0, g_BitmapSD.data(),
                g_BitmapTable.data(), BITMAP_COUNT, 0))
        return false;
    SetTestPalette(!mode.d3d && mode.bpp == 16);
    const DDPALENTRY& key = g_Palette[0];
    if (mode.d3d || mode.bpp == 32) {
        DDSetTransmit(key.red, key.green, key.blue);
    } else if (mode.bpp == 16) {
        g_DDKeyColor = DDRGBTo16(&key);
    } else {
        g_DDKeyColor = 0;
    }
    return true;
}

inline void TearDownMode()
{
    DDUninit();
    g_RestoreList.clear();
    g_DDD3DFaults = DDD3DFAULTS{};
    g_DDDrawFaults = DDDRAWFAULTS{};
    g_DDVideoMemoryFull = false;
    DDSetLogObserver(nullptr);
}

// Reads a surface back as palette numbers, by the colours that fills with
// numbers 1 to 63 write; 0 for a transparent pixel (the key value, a texel
// of alpha 0, or the key colour on the texture back end's back buffer), -2
// for anything else.
class PaletteReader {
public:
    explicit PaletteReader(int count = 64)
    {
        DDSURFACEDATA probe;
        DDCreateSurface(&probe, 1, 1, 0, 1, 0, 0, 0);
        for (int n = 1; n < count; ++n) {
            DDBoxFillPal(&probe, 0, 0, 1, 1, n);
            values_[keyOf(*probe.pixels(), probe.pixels()->get(0, 0))] = n;
        }
        DDReleaseSurface(&probe);
    }
    int at(const DDSURFACEDATA& sd, int x, int y) const
    {
        const DDPixels& p = *sd.pixels();
        std::uint32_t v = p.get(x, y);
        if (g_D3DState) {
            std::uint32_t argb = DDToARGB(p.format, v);
            if ((argb >> 24) == 0) return 0;
            const DDPALENTRY& k = g_Palette[0];
            std::uint32_t keyRgb =
                std::uint32_t{k.red} << 16 | std::uint32_t{k.green} << 8 | k.blue;
            if (top5(argb) == top5(keyRgb)) return 0;
        } else if (v == g_DDKeyColor) {
            return 0;
        }
        auto it = values_.find(keyOf(p, v));
        return it == values_.end() ? -2 : it->second;
    }
    // Rows of the surface's top-left w x h as palette numbers.
    std::vector<std::vector<int>> grid(const DDSURFACEDATA& sd, int w, int h) const
    {
        std::vector<std::vector<int>> rows(h, std::vector<int>(w));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                rows[y][x] = at(sd, x, y);
        return rows;
    }

private:
    // Texture back end: the top five bits of each channel, so that the 16-bit
    // formats with 5 or 6 bits of green read the same colour.
    static std::uint32_t top5(std::uint32_t argb) { return (argb >> 3) & 0x1F1F1F; }
    static std::uint32_t keyOf(const DDPixels& p, std::uint32_t v)
    {
        return g_D3DState ? top5(DDToARGB(p.format, v)) : v;
    }
    std::map<std::uint32_t, int> values_;
};

// Fills a surface with a picture given as rows of palette numbers.
inline void Paint(DDSURFACEDATA* sd, const std::vector<std::vector<int>>& rows)
{
    for (int y = 0; y < static_cast<int>(rows.size()); ++y)
        for (int x = 0; x < static_cast<int>(rows[y].size()); ++x)
            DDBoxFillPal(sd, x, y, 1, 1, rows[y][x]);
}

// Records what the layer writes to the log, report and boxes.
class LogRecorder {
public:
    LogRecorder()
    {
        DDSetLogObserver([this](const std::string& kind, const std::string& text) {
            lines.push_back(kind + ":" + text);
        });
    }
    ~LogRecorder() { DDSetLogObserver(nullptr); }
    bool saw(const std::string& line) const
    {
        for (const auto& l : lines)
            if (l == line) return true;
        return false;
    }
    std::vector<std::string> lines;
};

} // namespace gfxtest
