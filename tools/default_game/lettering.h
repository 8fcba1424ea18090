#pragma once
// Lettering for the pictures: words with a dark border that read over any
// background, sized to fit the piece they are drawn into.

#include <string_view>

#include "tools/default_game/canvas.h"
#include "tools/default_game/pixel_font.h"

namespace defgame {

// Draws the text with a border of the given thickness (and, when shadow is
// not 0, a shadow that far down and right) centred in the rectangle.
void drawBordered(Canvas& canvas, int x, int y, int w, int h, std::string_view text,
                  const TextStyle& style, std::uint8_t border, int thickness = 1, int shadow = 0);

// The largest style (at most maxScale font pixels a pixel) in which the text
// and a one-pixel border fit a w x h piece.
TextStyle fittedStyle(std::string_view text, int w, int h, std::uint8_t colour, int maxScale = 4);

} // namespace defgame
