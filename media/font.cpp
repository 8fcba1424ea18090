#include "media/font.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "core/dbcs.h"
#include "core/sjis_text.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_composite.h"
#include "media/dd_fill.h"
#include "media/dd_lock.h"
#include "media/dd_log.h"
#include "media/dd_palette.h"
#include "media/dd_render.h"
#include "media/dd_state.h"
#include "platform/text_encoding.h"
#include "platform/text_face.h"

std::array<FONTDEF, 4> g_FontDef;
std::array<Font, 4> g_Fonts;
std::vector<Font*> g_FontList;
std::array<DDSURFACEDATA, 4> g_DigitSD;

namespace {

// Serial numbers of fonts made while no Direct3D state exists.
int g_FontSerial = 0;

// Bytes of the character at text[i]: 2 for a Shift-JIS pair, else 1.
int charBytes(const char* text, std::size_t i)
{
    return IsDBCSPair(text + i) ? 2 : 1;
}

// The lines of a text, split at "\n".
std::vector<std::string> linesOf(const char* text)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; text[i];) {
        int n = charBytes(text, i);
        if (n == 1 && text[i] == '\n')
            lines.emplace_back();
        else
            lines.back().append(text + i, static_cast<std::size_t>(n));
        i += static_cast<std::size_t>(n);
    }
    return lines;
}

DDSURFACEDATA* bitmapSurface(int number)
{
    if (g_DDSurfaces && number >= 0 && number < g_DDSurfaceCount) return &g_DDSurfaces[number];
    return nullptr;
}

} // namespace

void FONTDEF::setFace(const char* sjis)
{
    face.fill('\0');
    std::snprintf(face.data(), face.size(), "%s", sjis ? sjis : "");
}

void InitFontDef()
{
    const int heights[4] = {9, 15, 15, 30};
    const int cells[4] = {10, 16, 16, 32};
    const int colours[4] = {241, 241, 242, 241};
    for (int i = 0; i < 4; ++i) {
        FONTDEF& d = g_FontDef[i];
        d.setFace(Sjis("ＭＳ ゴシック"));
        d.fontWidth = 0;
        d.fontHeight = heights[i];
        d.cellWidth = cells[i];
        d.lineHeight = cells[i];
        d.colour = colours[i];
        d.boxBitmap = 45;
        d.frameThickness = 1;
        d.framePalette = 240;
        d.symbolBitmap = 50;
    }
}

void Font::computeColor()
{
    const DDPALENTRY& e = g_Palette[static_cast<std::size_t>(std::clamp(m_ColorNumber, 0, 255))];
    if (g_D3DState) {
        m_Color = 0xFF000000u | std::uint32_t{e.red} << 16 | std::uint32_t{e.green} << 8 | e.blue;
    } else if (g_DDBpp == 8) {
        m_Color = static_cast<std::uint32_t>(std::clamp(m_ColorNumber, 0, 255));
    } else if (g_DDBpp == 16) {
        // The palette keeps 16-bit channel values at this depth.
        const DDFORMATDATA& f = g_PixelFormat;
        std::uint32_t r = f.maxR ? e.red * 255u / f.maxR : 0;
        std::uint32_t g = f.maxG ? e.green * 255u / f.maxG : 0;
        std::uint32_t b = f.maxB ? e.blue * 255u / f.maxB : 0;
        m_Color = DDDisplayPixel(r << 16 | g << 8 | b);
    } else {
        m_Color = DDDisplayPixel(std::uint32_t{e.red} << 16 | std::uint32_t{e.green} << 8 | e.blue);
    }
}

bool Font::Create(const char* face, int fontWidth, int fontHeight, int cellWidth, int lineHeight,
                  int colourNumber, DDSURFACEDATA* boxPicture, int frameThickness, int frameNumber,
                  DDSURFACEDATA* symbolSheet)
{
    m_FaceName = face ? face : "";
    m_FontWidth = fontWidth;
    m_FontHeight = fontHeight;
    m_CellWidth = cellWidth;
    m_LineHeight = lineHeight;
    m_ColorNumber = colourNumber;
    m_BoxPicture = boxPicture;
    m_FrameThickness = frameThickness;
    m_FrameNumber = frameNumber;
    m_SymbolSheet = symbolSheet;
    m_Symbol = symbolSheet ? 1 : 0;
    computeColor();
    m_hFont = plat::TextFace::open(plat::sjisToUtf8(m_FaceName), fontHeight, fontWidth);
    if (!m_hFont) DDErrLogF("CreateFont Err %s", m_FaceName);
    const bool hasPart = g_D3DState ? m_Work.lpDT != nullptr : m_Work.lpDD != nullptr;
    if (!hasPart && !DDCreateSurface(&m_Work, BackBuffer.width, BackBuffer.height, 1, 0, 0, 0, 0)) {
        if (!g_D3DState) {
            DDErrLogF("DDCreateSurface Font::Work");
            DDPostClose();
            return false;
        }
    }
    m_Work.szSurfaceType = "Font::Work";
    m_Serial = g_D3DState ? g_D3DState->serialCounter++ : g_FontSerial++;
    if (std::find(g_FontList.begin(), g_FontList.end(), this) == g_FontList.end())
        g_FontList.push_back(this);
    return true;
}

void Font::Restore()
{
    if (g_D3DState) return;
    if (m_Work.lpDD && m_Work.lpDD->lpDDSurface &&
        m_Work.lpDD->lpDDSurface->IsLost() == DDERR_SURFACELOST)
        m_Work.lpDD->lpDDSurface->Restore();
}

void Font::Release()
{
    m_hFont.reset();
    DDReleaseSurface(&m_Work);
}

bool Font::symbolsOn(int noSymbols) const
{
    return noSymbols == 0 && m_Symbol && m_SymbolSheet && m_SymbolSheet->pixels();
}

void Font::MeasureText(const char* text, int* width, int* height) const
{
    int widest = 0, lines = 0;
    for (const std::string& line : linesOf(text ? text : "")) {
        widest = std::max(widest, CountChars(line.c_str()));
        ++lines;
    }
    *width = widest * m_CellWidth;
    *height = lines * m_LineHeight;
}

void Font::MeasureTextGdi(const char* text, int* width, int* height) const
{
    *width = 0;
    *height = 0;
    for (const std::string& line : linesOf(text ? text : "")) {
        int extent = m_hFont && !line.empty() ? m_hFont->measure(line) : 0;
        *width = std::max(*width, extent);
        *height += extent != 0 ? m_LineHeight : 20;
    }
}

void Font::measure(const char* text, int* width, int* height) const
{
    if (m_CellWidth != 0)
        MeasureText(text, width, height);
    else
        MeasureTextGdi(text, width, height);
}

void Font::Layout(int x0, int y0, const char* text, bool symbols,
                  const std::function<void(int, int)>& plot)
{
    if (!m_hFont || !text) return;
    plat::TextFace& face = *m_hFont;
    const int W = m_CellWidth, H = m_LineHeight;
    if (W == 0) {
        std::vector<std::string> lines = linesOf(text);
        for (std::size_t i = 0; i < lines.size(); ++i)
            face.draw(lines[i], x0, y0 + static_cast<int>(i) * H, plot);
        return;
    }
    int col = 0, row = 0;
    for (std::size_t i = 0; text[i];) {
        const int n = charBytes(text, i);
        const std::string_view ch(text + i, static_cast<std::size_t>(n));
        i += static_cast<std::size_t>(n);
        if (n == 1 && ch[0] == '\n') {
            row += H;
            col = 0;
            continue;
        }
        if (n == 1 && symbols && ch[0] >= 'a' && ch[0] <= 'z') {
            col += W;
            continue;
        }
        const bool fullWidthSpace = n == 2 && static_cast<unsigned char>(ch[0]) == 0x81 &&
                                    static_cast<unsigned char>(ch[1]) == 0x40;
        if (!fullWidthSpace) {
            if (m_Centre) {
                const int w = face.measure(ch), h = face.cellHeight();
                face.draw(ch, x0 + col + (W >> 1) - (w >> 1), y0 + row + (H >> 1) - (h >> 1), plot);
            } else if (n == 2) {
                face.draw(ch, x0 + col, y0 + row, plot);
            } else {
                face.draw(ch, x0 + col + (W >> 3), y0 + row + (H >> 4) - 1, plot);
            }
        }
        col += W;
    }
}

void Font::DrawSymbols(DDSURFACEDATA* dest, int x, int y, const char* text)
{
    if (!m_Symbol || !m_SymbolSheet || m_CellWidth == 0 || !text) return;
    const int W = m_CellWidth, H = m_LineHeight;
    int col = 0, row = 0;
    for (std::size_t i = 0; text[i];) {
        const int n = charBytes(text, i);
        const char c = text[i];
        i += static_cast<std::size_t>(n);
        if (n == 1 && c == '\n') {
            row += H;
            col = 0;
            continue;
        }
        if (n == 1 && c >= 'a' && c <= 'z')
            DDBlt(dest, x + col, y + row, W, H, m_SymbolSheet, (c - 'a') * W, 0, 1);
        col += W;
    }
}

void Font::DrawText(DDSURFACEDATA* dest, int x, int y, const char* text, int noSymbols)
{
    if (!dest || !text) return;
    const bool symbols = symbolsOn(noSymbols);
    if (g_D3DState) {
        DDSURFACEDATA* target = dest;
        DDMirrorSource(&target);
        DDVirtualTarget(&target);
        if (target->lpDT && !target->lpDT->systemTexture) {
            if (!DDBeginScene() || !DDSetRenderTarget(0, target)) return;
            DDPixels& p = *target->lpDT->lpSurface;
            const std::uint32_t value = DDFromARGB(p.format, m_Color);
            Layout(x, y, text, symbols, [&](int px, int py) {
                if (p.contains(px, py)) p.set(px, py, value);
            });
            if (symbols) DrawSymbols(dest, x, y, text);
            DDSetRestingTarget();
            return;
        }
    }
    // Through the work surface, copied with the colour key.
    DDPixels* work = m_Work.pixels();
    if (!work) return;
    int w = 0, h = 0;
    measure(text, &w, &h);
    DDBoxFillPal(&m_Work, 0, 0, w, h, 0);
    const std::uint32_t value = g_D3DState ? DDFromARGB(work->format, m_Color) : m_Color;
    DDLOCKDATA lock;
    if (DDLockData(&lock, &m_Work)) {
        Layout(0, 0, text, symbols, [&](int px, int py) {
            if (px < w && py < h && work->contains(px, py)) work->set(px, py, value);
        });
        DDUnlock(&lock);
    }
    if (g_D3DState && symbols) DrawSymbols(&m_Work, 0, 0, text);
    DDBlt(dest, x, y, w, h, &m_Work, 0, 0, 1);
    if (!g_D3DState && symbols) DrawSymbols(dest, x, y, text);
}

void Font::DrawTextF(DDSURFACEDATA* dest, int x, int y, const char* format, ...)
{
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    DrawText(dest, x, y, text, 0);
}

void Font::placeBox(int* x, int* y, int w, int h) const
{
    const int boxW = m_BoxPicture ? m_BoxPicture->width : g_DDWidth;
    const int boxH = m_BoxPicture ? m_BoxPicture->height : g_DDHeight;
    if (*x == 10000) *x = boxW / 2 - w / 2;
    if (*y == 10000) *y = boxH / 2 - h / 2;
}

void Font::DrawBox(DDSURFACEDATA* dest, int x, int y, int w, int h)
{
    placeBox(&x, &y, w, h);
    DDBltFrame(dest, x, y, w, h, m_BoxPicture, m_FrameThickness, m_FrameNumber);
}

void Font::DrawTextBox(DDSURFACEDATA* dest, int x, int y, int w, int h, const char* text,
                       int margin, std::uint32_t)
{
    if (!text) text = "";
    if (w == 0 || h == 0) {
        int tw = 0, th = 0;
        measure(text, &tw, &th);
        if (w == 0) w = tw + margin;
        if (h == 0) h = th;
    }
    DrawBox(dest, x, y, w, h);
    placeBox(&x, &y, w, h);
    DrawText(dest, x + margin, y, text, 0);
}

void Font::DrawTextBoxDefColor(DDSURFACEDATA* dest, int x, int y, int w, int h, const char* text,
                               int margin)
{
    DrawTextBox(dest, x, y, w, h, text, margin, m_Color);
}

void Font::DrawTextBoxF(DDSURFACEDATA* dest, int x, int y, int w, int h, const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    DrawTextBox(dest, x, y, w, h, text, 0, m_Color);
}

int CreateFonts(Font* fonts, const FONTDEF* definitions, int count)
{
    for (int i = 0; i < count; ++i) {
        const FONTDEF& d = definitions[i];
        fonts[i].Create(d.face.data(), d.fontWidth, d.fontHeight, d.cellWidth, d.lineHeight,
                        d.colour, bitmapSurface(d.boxBitmap), d.frameThickness, d.framePalette,
                        bitmapSurface(d.symbolBitmap));
    }
    return 1;
}

int CreateDigitStrips(DDSURFACEDATA* strips, const DDBMPDATA* blanks, int count, Font* fonts,
                      const FONTDEF* definitions)
{
    for (int i = 0; i < count; ++i) {
        const DDBMPDATA& b = blanks[i];
        DDCreateSurface(&strips[i], 10 * definitions[i].cellWidth, definitions[i].lineHeight,
                        b.colourKey, b.ddMemory, b.d3dSystemTexture, b.noTexture, 0);
        DrawDigitStrip(&strips[i], &fonts[i]);
    }
    return 1;
}

void ReleaseGameFonts()
{
    for (Font& font : g_Fonts)
        font.Release();
    for (DDSURFACEDATA& strip : g_DigitSD)
        DDReleaseSurface(&strip);
}

void DrawDigitStrip(DDSURFACEDATA* strip, Font* font)
{
    DDClearPal(strip, 0);
    font->DrawText(strip, 0, 0, "0123456789", 0);
}
