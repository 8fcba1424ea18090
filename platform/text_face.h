#pragma once
// One font face drawn through FreeType: Shift-JIS text measured and drawn
// in monochrome glyphs, sized by cell height the way a Windows font of that
// height is (the face's ascent plus descent fill the cell). Glyphs are drawn
// into whatever the caller's plot function writes; the face knows nothing
// of surfaces. A face may be used from one thread at a time.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace plat {

class TextFace {
public:
    // Opens the Japanese face that the face name maps to (font_lookup.h),
    // sized so that one line is cellHeight pixels high. width 0 keeps the
    // face's own proportion; otherwise it is the average (half-width)
    // character width. Null when no face can be opened.
    static std::shared_ptr<TextFace> open(std::string_view faceUtf8, int cellHeight, int width = 0);
    // The same from a font file.
    static std::shared_ptr<TextFace> openFile(const std::string& path, int cellHeight,
                                              int width = 0);
    struct Key {};
    explicit TextFace(Key) {}
    ~TextFace();
    TextFace(const TextFace&) = delete;
    TextFace& operator=(const TextFace&) = delete;

    int cellHeight() const { return cellHeight_; }
    int ascent() const { return ascent_; }
    const std::string& file() const { return file_; }

    // Width in pixels of one line of Shift-JIS text (the sum of the advances).
    int measure(std::string_view sjis);
    // Draws one line of Shift-JIS text whose cell's top-left corner is at
    // (x, y): plot(px, py) is called for every inked pixel.
    void draw(std::string_view sjis, int x, int y, const std::function<void(int, int)>& plot);

private:
    struct Glyph {
        int advance = 0;
        int left = 0, top = 0; // bitmap offset from the pen on the baseline
        int width = 0, rows = 0;
        std::vector<std::uint8_t> ink; // one byte per pixel, 1 = ink
    };
    struct Library;

    const Glyph& glyph(char32_t code);

    std::shared_ptr<Library> lib_;
    std::string file_;
    int cellHeight_ = 0;
    int ascent_ = 0;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

// The characters of a Shift-JIS text as Unicode code points (bytes that are
// not Shift-JIS become U+FFFD).
std::u32string sjisCodePoints(std::string_view sjis);

} // namespace plat
