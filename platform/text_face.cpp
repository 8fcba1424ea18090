#include "platform/text_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>

#include "platform/font_lookup.h"
#include "platform/text_encoding.h"

namespace plat {

// Each face keeps its own FreeType library, so that faces used on different
// threads share nothing.
struct TextFace::Library {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Library()
    {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

std::u32string sjisCodePoints(std::string_view sjis)
{
    return utf8CodePoints(sjisToUtf8(sjis));
}

std::shared_ptr<TextFace> TextFace::open(std::string_view faceUtf8, int cellHeight, int width)
{
    auto file = findJapaneseFontFile(faceUtf8);
    if (!file) return nullptr;
    return openFile(*file, cellHeight, width);
}

std::shared_ptr<TextFace> TextFace::openFile(const std::string& path, int cellHeight, int width)
{
    if (cellHeight <= 0 || cellHeight > 1024) return nullptr;
    auto face = std::make_shared<TextFace>(Key{});
    face->lib_ = std::make_shared<Library>();
    Library& lib = *face->lib_;
    if (FT_Init_FreeType(&lib.library) != 0 ||
        FT_New_Face(lib.library, path.c_str(), 0, &lib.face) != 0)
        return nullptr;
    FT_Face f = lib.face;
    // A Windows font of height h fits its ascent and descent into h pixels.
    // The faces that stand in for the Windows ones give those in their
    // horizontal header (their Windows fields reserve more room below than
    // the faces the games were made with, which would shrink every glyph).
    long ascent = f->ascender, descent = -f->descender;
    if (ascent + descent <= 0) {
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2))) {
            ascent = os2->usWinAscent;
            descent = os2->usWinDescent;
        }
    }
    long units = std::max(ascent + descent, 1L);
    long em = std::max<long>(f->units_per_EM, 1);
    // Character sizes in 26.6 pixels (72 dpi makes points pixels).
    FT_F26Dot6 height = static_cast<FT_F26Dot6>(cellHeight * em * 64 / units);
    FT_F26Dot6 widthSize = width > 0 ? static_cast<FT_F26Dot6>(width) * 2 * 64 : 0;
    if (FT_Set_Char_Size(f, widthSize, height, 72, 72) != 0) return nullptr;
    face->file_ = path;
    face->cellHeight_ = cellHeight;
    face->ascent_ = static_cast<int>((ascent * cellHeight + units / 2) / units);
    return face;
}

TextFace::~TextFace() = default;

const TextFace::Glyph& TextFace::glyph(char32_t code)
{
    auto it = glyphs_.find(code);
    if (it != glyphs_.end()) return it->second;
    Glyph g;
    FT_Face f = lib_->face;
    FT_UInt index = FT_Get_Char_Index(f, code);
    if (FT_Load_Glyph(f, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) == 0) {
        FT_GlyphSlot slot = f->glyph;
        if (slot->format != FT_GLYPH_FORMAT_BITMAP) FT_Render_Glyph(slot, FT_RENDER_MODE_MONO);
        g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        const FT_Bitmap& bm = slot->bitmap;
        // Control characters advance without ink.
        if (code >= 0x20 && bm.buffer) {
            g.left = slot->bitmap_left;
            g.top = slot->bitmap_top;
            g.width = static_cast<int>(bm.width);
            g.rows = static_cast<int>(bm.rows);
            g.ink.assign(static_cast<std::size_t>(g.width) * g.rows, 0);
            for (int y = 0; y < g.rows; ++y) {
                const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
                for (int x = 0; x < g.width; ++x) {
                    bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x / 8] >> (7 - x % 8)) & 1
                                                                  : row[x] >= 128;
                    g.ink[static_cast<std::size_t>(y) * g.width + x] = on ? 1 : 0;
                }
            }
        }
    }
    return glyphs_.emplace(code, std::move(g)).first->second;
}

int TextFace::measure(std::string_view sjis)
{
    int width = 0;
    for (char32_t c : sjisCodePoints(sjis))
        width += glyph(c).advance;
    return width;
}

void TextFace::draw(std::string_view sjis, int x, int y, const std::function<void(int, int)>& plot)
{
    int pen = x;
    const int baseline = y + ascent_;
    for (char32_t c : sjisCodePoints(sjis)) {
        const Glyph& g = glyph(c);
        for (int gy = 0; gy < g.rows; ++gy)
            for (int gx = 0; gx < g.width; ++gx)
                if (g.ink[static_cast<std::size_t>(gy) * g.width + gx])
                    plot(pen + g.left + gx, baseline - g.top + gy);
        pen += g.advance;
    }
}

} // namespace plat
