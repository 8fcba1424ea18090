#pragma once
// A 5 x 7 pixel font of capital letters, digits and a few signs, for the
// words and numbers drawn into the default game's pictures.

#include <cstdint>
#include <string_view>

#include "tools/default_game/canvas.h"

namespace defgame {

struct TextStyle {
    std::uint8_t colour = kWhite;
    int scaleX = 1; // pixels per font pixel, across
    int scaleY = 1; // and down
    int gap = 1;    // font pixels between two characters
};

// Width in pixels of a text (no gap after the last character); a space is
// as wide as a character. Characters the font lacks are drawn as spaces.
int textWidth(std::string_view text, const TextStyle& style);
// Height in pixels of a line.
int textHeight(const TextStyle& style);
// Draws the text with its top-left at (x, y).
void drawText(Canvas& canvas, int x, int y, std::string_view text, const TextStyle& style);
// Draws it centred in the rectangle.
void drawTextCentred(Canvas& canvas, int x, int y, int w, int h, std::string_view text,
                     const TextStyle& style);

} // namespace defgame
