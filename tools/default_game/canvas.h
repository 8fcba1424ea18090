#pragma once
// An 8-bit picture in the game's palette and the small drawing operations
// the default game's pictures are made with. Everything is clipped to the
// picture; a new picture is all transparent (palette number 0).

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "tools/default_game/game_palette.h"

namespace defgame {

class Canvas {
public:
    Canvas(int width, int height, std::uint8_t fill = kKey);

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<std::uint8_t>& pixels() const { return pixels_; }

    // The pixel at (x, y); the transparent colour outside the picture.
    std::uint8_t at(int x, int y) const;
    void set(int x, int y, std::uint8_t c);
    void fill(int x, int y, int w, int h, std::uint8_t c);
    // A one-pixel frame along the inside of the rectangle.
    void frame(int x, int y, int w, int h, std::uint8_t c);
    void line(int x0, int y0, int x1, int y1, std::uint8_t c);
    // A filled ellipse inside the rectangle (a circle when square).
    void ellipse(int x, int y, int w, int h, std::uint8_t c);
    // Rows from top to bottom of a vertical gradient over a list of colours.
    void gradient(int x, int y, int w, int h, const std::vector<std::uint8_t>& colours);
    // Copies src with its top-left at (x, y), each pixel scale x scale;
    // keyed: transparent pixels of src leave the picture as it was.
    void paste(const Canvas& src, int x, int y, bool keyed = true, bool mirrored = false,
               int scale = 1);
    // Draws colour c on every transparent pixel next to a drawn one (in the
    // rectangle), so that what was drawn stands out from any background.
    void outline(int x, int y, int w, int h, std::uint8_t c);
    // Replaces colour from by colour to in the rectangle.
    void recolour(int x, int y, int w, int h, std::uint8_t from, std::uint8_t to);

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_;
};

// Pixel art given as rows of characters; each character names a palette
// number through the legend, '.' (or any character the legend lacks) is
// transparent. All rows must be as long as the first.
using Legend = std::map<char, std::uint8_t>;
Canvas pixelArt(const std::vector<std::string>& rows, const Legend& legend);

} // namespace defgame
