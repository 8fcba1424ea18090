#include "tools/default_game/lettering.h"

#include <algorithm>

namespace defgame {

void drawBordered(Canvas& canvas, int x, int y, int w, int h, std::string_view text,
                  const TextStyle& style, std::uint8_t border, int thickness, int shadow)
{
    const int pad = thickness + shadow;
    Canvas word(textWidth(text, style) + 2 * pad, textHeight(style) + 2 * pad);
    drawText(word, thickness, thickness, text, style);
    for (int i = 0; i < thickness; ++i)
        word.outline(0, 0, word.width(), word.height(), border);
    if (shadow > 0) {
        Canvas dropped(word.width(), word.height());
        dropped.paste(word, shadow, shadow);
        dropped.recolour(0, 0, dropped.width(), dropped.height(), style.colour, border);
        dropped.paste(word, 0, 0);
        word = dropped;
    }
    canvas.paste(word, x + (w - word.width()) / 2, y + (h - word.height()) / 2);
}

TextStyle fittedStyle(std::string_view text, int w, int h, std::uint8_t colour, int maxScale)
{
    TextStyle unit{colour, 1, 1, 1};
    const int across = std::max(1, textWidth(text, unit));
    TextStyle style = unit;
    style.scaleX = std::clamp((w - 2) / across, 1, maxScale);
    style.scaleY = std::clamp((h - 2) / 7, 1, maxScale);
    return style;
}

} // namespace defgame
