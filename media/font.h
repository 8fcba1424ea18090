#pragma once
// Font: the text renderer of every screen. It draws Shift-JIS text in one
// palette colour. Most text is laid out in cells: every character, single-
// or double-byte, takes one cell of the cell width and lines are one line
// height apart. Lower-case letters can be replaced by pictures of a symbol
// sheet. The font also draws framed boxes, and each font has a digit strip
// ("0123456789" in its cells) for the number drawing of the layer.
//
// Glyphs come from a Japanese face (platform/text_face.h) sized by the
// font's height as a cell height. Text goes straight onto a texture target
// under Direct3D; under DirectDraw (and onto system-memory textures) it is
// drawn on the font's work surface and copied with the colour key.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "media/dd_surface.h"

namespace plat {
class TextFace;
}
struct DDBMPDATA;

// One font definition (fixed layout: 256-byte Shift-JIS face name, then
// nine 32-bit fields).
struct FONTDEF {
    std::array<char, 256> face{};
    std::int32_t fontWidth = 0;  // 0: the face's own proportion
    std::int32_t fontHeight = 0; // pixels
    std::int32_t cellWidth = 0;  // 0: proportional text
    std::int32_t lineHeight = 0;
    std::int32_t colour = 0;    // palette number of the text
    std::int32_t boxBitmap = 0; // bitmap number of the box picture
    std::int32_t frameThickness = 0;
    std::int32_t framePalette = 0; // palette number of the box frame
    std::int32_t symbolBitmap = 0; // bitmap number of the symbol sheet

    void setFace(const char* sjis);
};

class Font {
public:
    int m_Serial = 0;
    std::shared_ptr<plat::TextFace> m_hFont;
    const char* m_FaceName = "";
    int m_FontWidth = 0;
    int m_FontHeight = 0;
    int m_CellWidth = 0;
    int m_LineHeight = 0;
    int m_ColorNumber = 0;
    std::uint32_t m_Color = 0; // ARGB (Direct3D) or the work surface's pixel value
    int m_Centre = 0;          // centre each character in its cell
    DDSURFACEDATA m_Work;
    DDSURFACEDATA* m_BoxPicture = nullptr;
    int m_FrameThickness = 0;
    int m_FrameNumber = 0;
    DDSURFACEDATA* m_SymbolSheet = nullptr;
    int m_Symbol = 0; // letters a to z draw symbol cells

    bool Create(const char* face, int fontWidth, int fontHeight, int cellWidth, int lineHeight,
                int colourNumber, DDSURFACEDATA* boxPicture, int frameThickness, int frameNumber,
                DDSURFACEDATA* symbolSheet);
    void Restore();
    void Release();

    void DrawText(DDSURFACEDATA* dest, int x, int y, const char* text, int noSymbols);
    void DrawTextF(DDSURFACEDATA* dest, int x, int y, const char* format, ...)
        __attribute__((format(printf, 5, 6)));
    void DrawBox(DDSURFACEDATA* dest, int x, int y, int w, int h);
    void DrawTextBox(DDSURFACEDATA* dest, int x, int y, int w, int h, const char* text, int margin,
                     std::uint32_t colour);
    void DrawTextBoxDefColor(DDSURFACEDATA* dest, int x, int y, int w, int h, const char* text,
                             int margin);
    void DrawTextBoxF(DDSURFACEDATA* dest, int x, int y, int w, int h, const char* format, ...)
        __attribute__((format(printf, 7, 8)));
    void DrawSymbols(DDSURFACEDATA* dest, int x, int y, const char* text);

    // Size of a text in cells: (largest character count of a line x cell
    // width, lines x line height).
    void MeasureText(const char* text, int* width, int* height) const;
    // Size of a text by its glyphs: the widest line, and the line height per
    // line (20 pixels for an empty one).
    void MeasureTextGdi(const char* text, int* width, int* height) const;

private:
    // MeasureText for text in cells, MeasureTextGdi for proportional text.
    void measure(const char* text, int* width, int* height) const;
    // A box's position, where 10000 centres it on the box picture (on the
    // screen without one).
    void placeBox(int* x, int* y, int w, int h) const;
    // Places the characters of a text with its top-left at (x, y); plot
    // writes one inked pixel.
    void Layout(int x, int y, const char* text, bool symbols,
                const std::function<void(int, int)>& plot);
    void computeColor();
    bool symbolsOn(int noSymbols) const;
};

extern std::array<FONTDEF, 4> g_FontDef;
extern std::array<Font, 4> g_Fonts;
extern std::vector<Font*> g_FontList;
extern std::array<DDSURFACEDATA, 4> g_DigitSD;

// The four definitions: heights 9, 15, 15, 30, cells 10, 16, 16, 32.
void InitFontDef();
int CreateFonts(Font* fonts, const FONTDEF* definitions, int count);
int CreateDigitStrips(DDSURFACEDATA* strips, const DDBMPDATA* blanks, int count, Font* fonts,
                      const FONTDEF* definitions);
void DrawDigitStrip(DDSURFACEDATA* strip, Font* font);
// Releases the game's four fonts and their digit strips.
void ReleaseGameFonts();
