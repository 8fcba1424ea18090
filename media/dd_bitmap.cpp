#include "media/dd_bitmap.h"

#include <unordered_map>

#include "core/sjis_text.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_device.h"
#include "media/dd_lock.h"
#include "media/dd_log.h"
#include "media/dd_palette.h"
#include "media/dd_render.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"
#include "platform/byte_reader.h"
#include "platform/message_loop.h"

namespace {

// Larger files than this are not pictures the game can use.
constexpr std::size_t kMaxBmpBytes = std::size_t{1} << 28;

// The texel of a picture's colour: the transparent colour becomes a
// transparent texel, every other colour an opaque one.
std::uint32_t texelOf(std::uint32_t rgb, std::uint32_t key, DDFormat format)
{
    std::uint32_t argb = 0xFF000000u | rgb;
    if (argb == key) return 0;
    return DDFromARGB(format, argb);
}

void fillTexture(DDPixels& texture, const DDBitmapImage& img, std::uint32_t key)
{
    texture.fill(0);
    for (int y = 0; y < img.height && y < texture.height; ++y)
        for (int x = 0; x < img.width && x < texture.width; ++x)
            texture.set(x, y, texelOf(img.at(x, y), key, texture.format));
}

// The texture back end's surface of a picture; img is null when the file
// could not be read.
int createFromImageD3D(DDSURFACEDATA* sd, const std::string& name, const DDBitmapImage* img,
                       int colourKey, int bpp, int ddMemory, int d3dSystemTexture, int noTexture,
                       int cellWidth, int cellHeight, int restoring)
{
    DDAllocSurfaceData(sd);
    DDTEXTUREDATA& dt = *sd->lpDT;
    if (!restoring) {
        sd->szSurfaceType = "OffScreenFromFile";
        sd->szFileName = name;
        dt.systemTexture = d3dSystemTexture;
        dt.lpSurface.reset();
        dt.lpTexture.reset();
        dt.colourKey = colourKey == 1;
        if (!noTexture) {
            dt.serial = g_D3DState->serialCounter++;
            dt.hasVertexBuffer = 1;
        }
    }
    if (!img) {
        if (!name.empty()) DDReportLog("LoadImage Err %s", name.c_str());
        return 8;
    }
    dt.renderTarget = 1;
    if (noTexture) {
        sd->width = sd->textureWidth = img->width;
        sd->height = sd->textureHeight = img->height;
        sd->mirrorCellWidth = cellWidth;
        sd->mirrorCellHeight = cellHeight;
        sd->ddMemory = ddMemory;
        return 0;
    }
    int tw = img->width, th = img->height;
    DDTextureSize(&tw, &th);
    if (!DDCheckTextureSize(tw, th))
        DDReportLog(Sjis("上記の理由でテクスチャの描画が失敗する可能性があります。(%s)"),
                    name.c_str());
    const std::uint8_t* k = bpp == 16 ? g_D3DState->key16 : g_D3DState->key32;
    const std::uint32_t key =
        0xFF000000u | std::uint32_t{k[2]} << 16 | std::uint32_t{k[1]} << 8 | k[0];
    if (!dt.systemTexture) {
        if (g_DDVideoMemoryFull) {
            DDReportLog(Sjis("VRAM不足のためシステムメモリにテクスチャを作成します。(%s)"),
                        name.c_str());
            dt.systemTexture = 1;
        } else {
            dt.lpTexture = DDMakeTexture(g_D3DState->textureFormat, tw, th);
            if (!dt.lpTexture) return static_cast<int>(D3DERR_INVALIDCALL);
            fillTexture(*dt.lpTexture, *img, key);
        }
    }
    if (dt.systemTexture) {
        dt.renderTarget = 0;
        if (!restoring || !dt.lpTexture) {
            dt.lpTexture = DDMakeTexture(g_D3DState->textureFormat, tw, th);
            if (!dt.lpTexture) {
                DDReportLog("D3DXCreateTextureFromFileEx Err %x %s", 0x8007000Eu, name.c_str());
                if (!g_D3DState->textureFailText.empty())
                    DDErrBoxF("%s", g_D3DState->textureFailText.c_str());
                DDPostClose();
                return static_cast<int>(D3DERR_OUTOFVIDEOMEMORY);
            }
            fillTexture(*dt.lpTexture, *img, key);
        }
    }
    dt.lpSurface = dt.lpTexture;
    sd->width = img->width;
    sd->height = img->height;
    sd->textureWidth = dt.lpTexture->width;
    sd->textureHeight = dt.lpTexture->height;
    if (cellWidth != 0 || cellHeight != 0) {
        DDSURFACEDATA temporary;
        createFromImageD3D(&temporary, name, img, colourKey, bpp, ddMemory, d3dSystemTexture, 0, 0,
                           0, 0);
        CreateMirror(sd, &temporary, cellWidth, cellHeight);
        DDReleaseSurface(&temporary);
    }
    if (!restoring) g_RestoreList.push_back(sd);
    sd->mirrorCellWidth = cellWidth;
    sd->mirrorCellHeight = cellHeight;
    sd->ddMemory = ddMemory;
    return 0;
}

// Index within cells of size c, mirrored (no cells: unchanged).
int mirrored(int i, int c)
{
    if (c <= 0) return i;
    return (i / c) * c + (c - 1 - i % c);
}

// The palette number whose colour lies nearest to an RGB colour.
std::uint8_t nearestPaletteNumber(std::uint32_t rgb)
{
    int best = 0;
    long bestDistance = -1;
    for (int n = 0; n < 256; ++n) {
        long dr = static_cast<long>((rgb >> 16) & 0xFF) - g_Palette[n].red;
        long dg = static_cast<long>((rgb >> 8) & 0xFF) - g_Palette[n].green;
        long db = static_cast<long>(rgb & 0xFF) - g_Palette[n].blue;
        long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            best = n;
            bestDistance = d;
        }
    }
    return static_cast<std::uint8_t>(best);
}

// The 8-bit copy: palette numbers straight from an indexed picture (others
// take the nearest palette colour), mirrored in cells. Rows and columns whose
// mirrored place lies outside the surface end the copy.
void copyIndexed(DDPixels& p, const DDBitmapImage& img, int cw, int ch)
{
    std::unordered_map<std::uint32_t, std::uint8_t> nearest;
    for (int y = 0; y < img.height; ++y) {
        int my = mirrored(y, ch);
        if (my >= p.height) break;
        for (int x = 0; x < img.width; ++x) {
            int mx = mirrored(x, cw);
            if (mx >= p.width) break;
            std::uint8_t index;
            if (img.bitCount <= 8) {
                index = img.indexAt(x, y);
            } else {
                std::uint32_t c = img.at(x, y);
                auto it = nearest.find(c);
                if (it == nearest.end()) it = nearest.emplace(c, nearestPaletteNumber(c)).first;
                index = it->second;
            }
            p.set(mx, my, index);
        }
    }
}

// The 24-bit picture onto a 16-bit display: the transparent colour becomes
// the key value, and no other colour may turn into it.
void copy24To16(DDPixels& p, const DDBitmapImage& img, int cw, int ch)
{
    const DDFORMATDATA& f = g_PixelFormat;
    const std::uint8_t* k = g_DDrawState ? g_DDrawState->key16 : nullptr;
    for (int y = 0; y < img.height; ++y) {
        int my = mirrored(y, ch);
        if (my >= p.height) break;
        for (int x = 0; x < img.width; ++x) {
            int mx = mirrored(x, cw);
            if (mx >= p.width) break;
            std::uint32_t c = img.at(x, y);
            std::uint32_t r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
            std::uint32_t v;
            if (k && r == k[2] && g == k[1] && b == k[0]) {
                v = g_DDKeyColor;
            } else {
                v = (r * f.maxR / 255) << f.shiftR | (g * f.maxG / 255) << f.shiftG |
                    (b * f.maxB / 255) << f.shiftB;
                if (v == g_DDKeyColor)
                    v = ((v >> f.shiftB) & f.maxB) == static_cast<std::uint32_t>(f.maxB) ? v - 1
                                                                                         : v + 1;
            }
            p.set(mx, my, v);
        }
    }
}

// The copy through the display's colour conversion: whole cells mirrored
// both ways, whole column strips or row strips mirrored in one direction, or
// the whole picture as it is.
void copyConverted(DDPixels& p, const DDBitmapImage& img, int cw, int ch)
{
    auto put = [&](int dx, int dy, int sx, int sy) {
        if (p.contains(dx, dy)) p.set(dx, dy, DDDisplayPixel(img.at(sx, sy)));
    };
    if (cw > 0 && ch > 0) {
        for (int cy = 0; cy + ch <= img.height; cy += ch)
            for (int cx = 0; cx + cw <= img.width; cx += cw)
                for (int y = 0; y < ch; ++y)
                    for (int x = 0; x < cw; ++x)
                        put(cx + cw - 1 - x, cy + ch - 1 - y, cx + x, cy + y);
    } else if (cw > 0) {
        for (int cx = 0; cx + cw <= img.width; cx += cw)
            for (int y = 0; y < img.height; ++y)
                for (int x = 0; x < cw; ++x)
                    put(cx + cw - 1 - x, y, cx + x, y);
    } else if (ch > 0) {
        for (int cy = 0; cy + ch <= img.height; cy += ch)
            for (int y = 0; y < ch; ++y)
                for (int x = 0; x < img.width; ++x)
                    put(x, cy + ch - 1 - y, x, cy + y);
    } else {
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x)
                put(x, y, x, y);
    }
}

// The surface back end's copy of a picture into a surface made for it, and
// the palette-index map when asked. 0 when the map cannot be made.
std::uint8_t loadBitmapPixels(DDSURFACEDATA* sd, const DDBitmapImage& img, const std::string& name,
                              int bpp, int indexMap, int cellWidth, int cellHeight)
{
    DDLOCKDATA lock;
    if (DDLockData(&lock, sd)) {
        DDPixels& p = *sd->pixels();
        if (bpp == 8)
            copyIndexed(p, img, cellWidth, cellHeight);
        else if (bpp == 16 && img.bitCount == 24)
            copy24To16(p, img, cellWidth, cellHeight);
        else
            copyConverted(p, img, cellWidth, cellHeight);
        DDUnlock(&lock);
    }
    sd->width = img.width;
    sd->height = img.height;
    sd->mirrorCellWidth = cellWidth;
    sd->mirrorCellHeight = cellHeight;
    sd->szFileName = name;
    if (sd->lpDD) sd->lpDD->indexMap.clear();
    if (indexMap && bpp != 8 && sd->lpDD) {
        if (!DDLockData(&lock, sd)) {
            DDOutOfMemory();
            return 0;
        }
        if (bpp == 16) {
            const DDPixels& p = *sd->pixels();
            const int pitch = lock.pitch();
            std::vector<std::uint8_t> map(static_cast<std::size_t>(pitch) * p.height, 0);
            std::unordered_map<std::uint32_t, std::uint8_t> numbers;
            for (int n = 255; n >= 0; --n)
                numbers[DDRGBTo16(&g_Palette[n])] = static_cast<std::uint8_t>(n);
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x) {
                    auto it = numbers.find(p.get(x, y));
                    map[static_cast<std::size_t>(y) * pitch + x] =
                        it == numbers.end() ? 0 : it->second;
                }
            sd->lpDD->indexMap = std::move(map);
        }
        DDUnlock(&lock);
    }
    return 1;
}

} // namespace

bool DDReadBmp(const std::string& name, DDBitmapImage& out)
{
    if (name.empty()) return false;
    plat::FileBytes file = plat::readGameFile(name, kMaxBmpBytes);
    if (!file) return false;
    std::string error;
    return DecodeBmp(file.bytes, out, error);
}

std::uint8_t DDLoadBitmapPixels(DDSURFACEDATA* sd, const std::string& name, int bpp, int indexMap,
                                int cellWidth, int cellHeight)
{
    if (g_D3DState || name.empty()) return 1;
    DDBitmapImage img;
    if (!DDReadBmp(name, img)) return 0;
    return loadBitmapPixels(sd, img, name, bpp, indexMap, cellWidth, cellHeight);
}

int DDCreateSurfaceFromFile(DDSURFACEDATA* sd, const std::string& name, int colourKey, int bpp,
                            int ddMemory, int d3dSystemTexture, int noTexture, int indexMap,
                            int cellWidth, int cellHeight, int restoring)
{
    if (!sd) return 4;
    DDBitmapImage img;
    const bool read = DDReadBmp(name, img);
    return DDCreateSurfaceFromImage(sd, name, read ? &img : nullptr, colourKey, bpp, ddMemory,
                                    d3dSystemTexture, noTexture, indexMap, cellWidth, cellHeight,
                                    restoring);
}

int DDCreateSurfaceFromImage(DDSURFACEDATA* sd, const std::string& name, const DDBitmapImage* img,
                             int colourKey, int bpp, int ddMemory, int d3dSystemTexture,
                             int noTexture, int indexMap, int cellWidth, int cellHeight,
                             int restoring)
{
    if (!sd) return 4;
    if (g_D3DState)
        return createFromImageD3D(sd, name, img, colourKey, bpp, ddMemory, d3dSystemTexture,
                                  noTexture, cellWidth, cellHeight, restoring);
    if (!img) {
        DDErrLogF("%s", name.c_str());
        return 8;
    }
    if (!DDCreateSurface(sd, img->width, img->height, colourKey, ddMemory, 0, 0, 0)) return 4;
    if (!loadBitmapPixels(sd, *img, name, bpp, indexMap, cellWidth, cellHeight)) return 8;
    sd->szSurfaceType = "OffScreenFromFile";
    sd->szFileName = name;
    sd->width = sd->textureWidth = img->width;
    sd->height = sd->textureHeight = img->height;
    sd->mirrorCellWidth = cellWidth;
    sd->mirrorCellHeight = cellHeight;
    sd->ddMemory = ddMemory;
    return 0;
}

std::uint8_t CreateMirror(DDSURFACEDATA* dest, DDSURFACEDATA* src, int cellWidth, int cellHeight)
{
    if (!g_D3DState || cellWidth <= 0 || cellHeight != 0 || !dest || !src || !dest->lpDT) return 1;
    if (DDSetRenderTarget(0, dest)) {
        DDPixels& p = *dest->lpDT->lpSurface;
        p.fill(DDFromARGB(p.format, g_D3DState->keyed32));
        DDSetRestingTarget();
    }
    const int cells = src->width / cellWidth;
    for (int i = 0; i < cells; ++i)
        DDBltEx(dest, i * cellWidth, 0, cellWidth, src->height, src, (i + 1) * cellWidth, 0,
                -cellWidth, src->height, 0);
    return 1;
}

std::uint8_t DDReloadSurface(DDSURFACEDATA* sd, int bpp)
{
    if (g_D3DState) return 1;
    return DDLoadBitmapPixels(sd, sd->szFileName, bpp,
                              sd->lpDD && !sd->lpDD->indexMap.empty() ? 1 : 0, sd->mirrorCellWidth,
                              sd->mirrorCellHeight);
}

int DDCheckBitmapSize(int* tooLarge, const std::string& name, int maxWidth, int maxHeight)
{
    if (g_D3DState) return 1;
    DDBitmapImage img;
    if (!DDReadBmp(name, img)) {
        *tooLarge = 0;
        return 0;
    }
    *tooLarge = (img.width > maxWidth || img.height > maxHeight) ? 1 : 0;
    return 1;
}

std::uint8_t DDLoadBitmaps(DDSURFACEDATA* surfaceArray, const int* numbers, int count)
{
    for (int k = 0; k < count; ++k) {
        // A close asked for meanwhile ends the loading thread here rather
        // than after every picture of the list.
        plat::checkQuit();
        const int n = numbers[k];
        if (!surfaceArray || !g_DDBmpTable || n < 0 || n >= g_DDSurfaceCount) return 0;
        DDSURFACEDATA* sd = &surfaceArray[n];
        DDReleaseSurfaceFwd(sd);
        const DDBMPDATA& e = g_DDBmpTable[n];
        if (e.name == "E") {
            if (!DDCreateSurface(sd, e.width, e.height, e.colourKey, e.ddMemory, e.d3dSystemTexture,
                                 e.noTexture, 0) &&
                !e.mayBeMissing) {
                DDOutOfMemory();
                return 0;
            }
            continue;
        }
        int result = DDCreateSurfaceFromFile(sd, e.name, e.colourKey, g_DDBpp, e.ddMemory,
                                             e.d3dSystemTexture, e.noTexture, e.indexMap,
                                             e.cellWidth, e.cellHeight, 0);
        if (!DDSurfaceErrorName(result) && !e.mayBeMissing) {
            DDErrBoxF(Sjis("%s の読み込みに失敗！"), e.name.c_str());
            return 0;
        }
    }
    return 1;
}
