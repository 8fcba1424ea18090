#include "media/dd_palette.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

#include "core/sjis_text.h"
#include "media/bmp_decoder.h"
#include "media/dd_bitmap.h"
#include "media/dd_blit.h"
#include "media/dd_fade.h"
#include "media/dd_init.h"
#include "media/dd_lock.h"
#include "media/dd_log.h"
#include "media/dd_quad.h"
#include "media/dd_render.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"
#include "platform/byte_reader.h"

std::array<DDPALENTRY, 256> g_Palette;
std::array<DDPALENTRY, 256> g_ScreenPalette;
std::uint32_t g_DDKeyColor = 0;
std::array<std::uint8_t, 65536> g_BlendTable;
DDFADEANGLES g_DDFadeAngles;

namespace {

std::uint8_t flagsOf(int i)
{
    return (i <= 9 || i >= 246) ? PC_EXPLICIT : PC_RESERVED;
}

void clampRange(int& first, int& last)
{
    first = std::clamp(first, 0, 255);
    last = std::clamp(last, 0, 255);
}

double sinDegrees(double angle)
{
    return std::sin(angle * std::numbers::pi / 180.0);
}

// The Direct3D fade's picture: black laid over the whole screen, alpha
// 255 - level. False when it cannot be drawn.
bool drawFadeQuad(int level)
{
    DDSURFACEDATA* target = &BackBuffer;
    DDVirtualTarget(&target);
    if (!DDBeginScene() || !DDSetRenderTarget(0, target)) return false;
    DDQUAD quad;
    quad.x = 0;
    quad.y = 0;
    quad.w = target->width;
    quad.h = target->height;
    quad.arg2 = static_cast<std::uint32_t>(255 - level) << 24;
    quad.colorOp = D3DTOP_SELECTARG2;
    quad.alphaOp = D3DTOP_SELECTARG2;
    DDDrawQuad(*target->lpDT->lpSurface, quad);
    DDSetRestingTarget();
    return true;
}

// One frame of a DirectDraw fade at the given angle.
bool fadeFrameDDraw(DDPALENTRY palette[256], int first, int last, int red, int green, int blue,
                    double angle, const DDPALENTRY source[256])
{
    int factor = static_cast<int>(std::trunc(256.0 * sinDegrees(angle)));
    if (g_DDBpp == 8) {
        DDBlendPalette(palette, first, last, factor, red, green, blue, source);
        clampRange(first, last);
        if (lpDDPalette && first <= last)
            lpDDPalette->SetEntries(first, last - first + 1, palette + first);
        return true;
    }
    return DDFade_UnPal(&BackBuffer, factor, red, green, blue, &DDWorkSD) != 0;
}

void captureFrame()
{
    if (g_DDBpp != 8) DDBlt(&DDWorkSD, 0, 0, DDWorkSD.width, DDWorkSD.height, &BackBuffer, 0, 0, 0);
}

// One frame of a fade whose angle runs from `from` to `to` (out: 90 down to
// 0, in: 0 up to 90) by stepDegrees a frame. 1 when the fade has ended, its
// angle then back at `from`; finish ends it at once.
std::uint8_t fadeFrame(double& angle, double from, double to, DDPALENTRY palette[256], int first,
                       int last, int red, int green, int blue, double stepDegrees,
                       const DDPALENTRY source[256], std::uint8_t finish)
{
    const bool d3d = g_D3DState != nullptr;
    if (!d3d && angle == from) captureFrame();
    if (finish) angle = to;
    bool drawn;
    if (d3d)
        drawn = drawFadeQuad(static_cast<int>(std::trunc(255.0 * sinDegrees(angle))));
    else
        drawn = fadeFrameDDraw(palette, first, last, red, green, blue, angle, source);
    if (!drawn) return 0;
    const double toward = to > from ? 1.0 : -1.0;
    if ((to - angle) * toward > 0.0) {
        angle += stepDegrees * toward;
        if ((to - angle) * toward < 0.0) angle = to;
        return 0;
    }
    angle = from;
    return 1;
}

} // namespace

bool DDLoadPaletteFromFile(DDPALENTRY palette[256], const char* name)
{
    DDBitmapImage img;
    if (!DDReadBmp(name, img)) return false;
    for (int i = 0; i < 256; ++i) {
        // A picture without a colour table names its colours by its pixels only.
        std::uint32_t c = i < static_cast<int>(img.colours.size()) ? img.colours[i] : 0;
        palette[i] =
            DDPALENTRY{static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                       static_cast<std::uint8_t>(c), flagsOf(i)};
    }
    if (img.colours.empty()) {
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c)
                if (c < img.width && 8 + r < img.height) {
                    std::uint32_t p = img.at(c, 8 + r);
                    palette[16 * r + c].red = static_cast<std::uint8_t>(p >> 16);
                    palette[16 * r + c].green = static_cast<std::uint8_t>(p >> 8);
                    palette[16 * r + c].blue = static_cast<std::uint8_t>(p);
                }
    }
    if (g_DDBpp == 8) {
        if (!g_D3DState && lpDDPalette) lpDDPalette->SetEntries(0, 256, palette);
        return true;
    }
    DDSURFACEDATA temporary;
    DDCreateSurfaceFromImage(&temporary, name, &img, 0, g_DDBpp, 1, 0, 0, 0, 0, 0, 0);
    DDGetPixels16(palette, &temporary);
    DDReleaseSurface(&temporary);
    return true;
}

void DDGetPixels16(DDPALENTRY palette[256], DDSURFACEDATA* sd)
{
    if (g_DDBpp != 16 && g_DDBpp != 32) return;
    DDLOCKDATA lock;
    if (!DDLockData(&lock, sd)) return;
    const DDPixels& p = *sd->pixels();
    const DDFORMATDATA& f = g_PixelFormat;
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 16; ++c) {
            if (c >= sd->width || 8 + r >= sd->height || !p.contains(c, 8 + r)) continue;
            std::uint32_t v = p.get(c, 8 + r);
            DDPALENTRY& e = palette[16 * r + c];
            if (g_DDBpp == 16) {
                std::uint32_t red = (v >> f.shiftR) & f.maxR;
                std::uint32_t green = (v >> f.shiftG) & f.maxG;
                std::uint32_t blue = (v >> f.shiftB) & f.maxB;
                if (g_D3DState) {
                    red = f.maxR ? red * 255 / f.maxR : 0;
                    green = f.maxG ? green * 255 / f.maxG : 0;
                    blue = f.maxB ? blue * 255 / f.maxB : 0;
                }
                e.red = static_cast<std::uint8_t>(red);
                e.green = static_cast<std::uint8_t>(green);
                e.blue = static_cast<std::uint8_t>(blue);
            } else {
                e.red = static_cast<std::uint8_t>(v >> 16);
                e.green = static_cast<std::uint8_t>(v >> 8);
                e.blue = static_cast<std::uint8_t>(v);
                if (!g_D3DState) e.flags = static_cast<std::uint8_t>(v >> 24);
            }
        }
    }
    DDUnlock(&lock);
}

int DDSetTransmitFromFile(const char* name)
{
    DDBitmapImage img;
    const bool read = DDReadBmp(name, img);
    DDSURFACEDATA temporary;
    int result = DDCreateSurfaceFromImage(&temporary, name, read ? &img : nullptr, 0, g_DDBpp, 1, 0,
                                          0, 0, 0, 0, 0);
    if (!DDSurfaceErrorName(result) || !temporary.pixels()) {
        DDErrLogF(Sjis("%s 作成失敗！"), name);
        DDReleaseSurface(&temporary);
        return 0;
    }
    DDLOCKDATA lock;
    if (!DDLockData(&lock, &temporary)) {
        DDErrLogF("%s", Sjis("Lock 失敗！"));
        DDReleaseSurface(&temporary);
        return 0;
    }
    const std::uint32_t first = temporary.pixels()->get(0, 0);
    if (g_D3DState) {
        if (g_DDBpp == 16) {
            g_DDKeyColor = first & 0xFFFF;
            if (img.bitCount == 8 && !img.colours.empty()) {
                std::uint32_t c = img.colours[0];
                g_D3DState->key16[0] = static_cast<std::uint8_t>(c);
                g_D3DState->key16[1] = static_cast<std::uint8_t>(c >> 8);
                g_D3DState->key16[2] = static_cast<std::uint8_t>(c >> 16);
            }
        } else {
            DDSetTransmit(static_cast<std::uint8_t>(first >> 16),
                          static_cast<std::uint8_t>(first >> 8), static_cast<std::uint8_t>(first));
        }
    } else {
        g_DDKeyColor = first;
        if (g_DDBpp == 32 && g_DDrawState) {
            g_DDrawState->key32[0] = static_cast<std::uint8_t>(first);
            g_DDrawState->key32[1] = static_cast<std::uint8_t>(first >> 8);
            g_DDrawState->key32[2] = static_cast<std::uint8_t>(first >> 16);
        }
    }
    DDUnlock(&lock);
    DDReleaseSurface(&temporary);
    return 1;
}

void DDSetTransmit(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    const DDFORMATDATA& f = g_PixelFormat;
    if (g_D3DState) {
        DD3DSTATE& st = *g_D3DState;
        st.key32[0] = blue;
        st.key32[1] = green;
        st.key32[2] = red;
        if (g_DDBpp == 32) {
            st.keyed32 = 0;
            st.opaqueKey32 =
                0xFF000000u | std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue;
            st.keyed16 = 0;
            st.opaqueKey16 = 0;
            g_DDKeyColor = 0;
        } else if (g_DDBpp == 16) {
            st.keyed32 = 0;
            st.opaqueKey32 = 0;
            st.keyed16 = 0;
            // The colour bytes are narrowed to the texture format's channels.
            auto narrow = [](int value, int max) { return value * max / 255; };
            st.opaqueKey16 = static_cast<std::uint16_t>(
                narrow(blue, f.maxB) << f.shiftB | narrow(green, f.maxG) << f.shiftG |
                narrow(red, f.maxR) << f.shiftR | (f.maxA & 1) << f.shiftA);
            g_DDKeyColor = st.opaqueKey16;
        }
        return;
    }
    if (g_DDBpp == 32) {
        g_DDKeyColor = std::uint32_t{red} << 16 | std::uint32_t{green} << 8 | blue;
        if (g_DDrawState) {
            g_DDrawState->key32[0] = blue;
            g_DDrawState->key32[1] = green;
            g_DDrawState->key32[2] = red;
        }
    } else if (g_DDBpp == 16) {
        std::uint32_t r = red * f.maxR / 255, g = green * f.maxG / 255, b = blue * f.maxB / 255;
        g_DDKeyColor = r << f.shiftR | g << f.shiftG | b << f.shiftB;
        DDErrLogF(
            "%s",
            Sjis("※16bit色で　DDSetTransmit(BYTE cbRed,BYTE cbGreen,BYTE cbBlue)　は未対応！"));
        DDDebugBoxF("Tr %d RGB32(%d,%d,%d) -> RGB16(%d,%d,%d)", static_cast<int>(g_DDKeyColor), red,
                    green, blue, f.maxR ? static_cast<int>(r * 255 / f.maxR) : 0,
                    f.maxG ? static_cast<int>(g * 255 / f.maxG) : 0,
                    f.maxB ? static_cast<int>(b * 255 / f.maxB) : 0);
    }
}

std::uint32_t DDRGBTo16(const DDPALENTRY* e)
{
    if (g_D3DState || !e) return 0;
    const DDFORMATDATA& f = g_PixelFormat;
    return (e->blue & f.maxB) << f.shiftB | (e->green & f.maxG) << f.shiftG |
           (e->red & f.maxR) << f.shiftR;
}

std::uint32_t DDDisplayPixel(std::uint32_t rgb)
{
    const std::uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    if (g_DDBpp > 16) return r << 16 | g << 8 | b;
    const DDFORMATDATA& f = g_PixelFormat;
    auto cut = [](std::uint32_t v, int max) {
        const int bits = std::countr_one(static_cast<unsigned>(max));
        return bits >= 8 ? v : v >> (8 - bits);
    };
    return cut(r, f.maxR) << f.shiftR | cut(g, f.maxG) << f.shiftG | cut(b, f.maxB) << f.shiftB;
}

void DDBlendPalette(DDPALENTRY dest[256], int first, int last, int factor, int red, int green,
                    int blue, const DDPALENTRY source[256])
{
    clampRange(first, last);
    factor = std::clamp(factor, 0, 256);
    const int rest = 256 - factor;
    const int r = red & 0xFF, g = green & 0xFF, b = blue & 0xFF;
    for (int i = first; i <= last; ++i) {
        const DDPALENTRY s = source[i];
        dest[i].red = static_cast<std::uint8_t>((s.red * factor + r * rest) >> 8);
        dest[i].green = static_cast<std::uint8_t>((s.green * factor + g * rest) >> 8);
        dest[i].blue = static_cast<std::uint8_t>((s.blue * factor + b * rest) >> 8);
        dest[i].flags = PC_RESERVED;
    }
}

void DDRotatePalette(DDPALENTRY dest[256], int first, int last, int steps, int direction,
                     const DDPALENTRY source[256])
{
    if (g_DDBpp != 8 && g_DDBpp != 16) return;
    DDPALENTRY copy[256];
    std::copy(source, source + 256, copy);
    std::copy(copy, copy + 256, dest);
    clampRange(first, last);
    const int n = last - first + 1;
    if (n <= 0 || (direction != 0 && direction != 1)) return;
    // A step count outside 1 to n turns by what is left over a whole turn.
    steps = ((steps % n) + n) % n;
    if (steps == 0) return;
    for (int i = 0; i < n; ++i) {
        int to = direction == 0 ? (i + steps) % n : (i - steps + n) % n;
        dest[first + to] = copy[first + i];
    }
}

std::uint8_t DDFadeOut(DDPALENTRY palette[256], int first, int last, int red, int green, int blue,
                       double stepDegrees, const DDPALENTRY source[256], std::uint8_t finish)
{
    double& angle = g_D3DState ? g_DDFadeAngles.outD3D : g_DDFadeAngles.outDDraw;
    return fadeFrame(angle, 90.0, 0.0, palette, first, last, red, green, blue, stepDegrees, source,
                     finish);
}

std::uint8_t DDFadeIn(DDPALENTRY palette[256], int first, int last, int red, int green, int blue,
                      double stepDegrees, const DDPALENTRY source[256], std::uint8_t finish)
{
    double& angle = g_D3DState ? g_DDFadeAngles.inD3D : g_DDFadeAngles.inDDraw;
    return fadeFrame(angle, 0.0, 90.0, palette, first, last, red, green, blue, stepDegrees, source,
                     finish);
}

bool DDLoadBlendTable(std::uint8_t table[65536], const char* name)
{
    if (g_D3DState) return true;
    plat::FileBytes file = plat::readGameFile(name, 1 << 20);
    // A short table would leave mixes undefined: it is a failed load.
    if (!file || file.bytes.size() < 65536) return false;
    std::copy(file.bytes.begin(), file.bytes.begin() + 65536, table);
    return true;
}
