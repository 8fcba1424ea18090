// Blocks, items, shots, overlay marks and the burst effect, drawn from
// shapes.
#include "tools/default_game/sprites.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace defgame {
namespace {

// A fixed sequence of pseudo-random numbers, so that the speckles of the
// ground come out the same on every build.
class Speckles {
public:
    explicit Speckles(std::uint32_t seed) : state_(seed) {}
    int next(int below)
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 16) % static_cast<std::uint32_t>(below));
    }

private:
    std::uint32_t state_;
};

void earth(Canvas& c, int top, std::uint32_t seed)
{
    c.fill(0, top, 32, 32 - top, shade(Hue::Brown, 8));
    Speckles dots(seed);
    for (int i = 0; i < 40; ++i) {
        const int x = dots.next(31), y = top + dots.next(32 - top - 1);
        c.fill(x, y, 2, 1, dots.next(2) ? shade(Hue::Brown, 6) : shade(Hue::Brown, 10));
    }
}

Canvas grass()
{
    Canvas c(32, 32);
    earth(c, 6, 7);
    c.fill(0, 0, 32, 7, shade(Hue::Green, 10));
    c.fill(0, 0, 32, 2, shade(Hue::Green, 13));
    for (int x = 0; x < 32; x += 4) {
        c.fill(x + 1, 7, 2, 2, shade(Hue::Green, 8));
        c.set(x + 2, 9, shade(Hue::Green, 6));
    }
    return c;
}

Canvas dirt()
{
    Canvas c(32, 32);
    earth(c, 0, 11);
    return c;
}

Canvas brick()
{
    Canvas c(32, 32, shade(Hue::Grey, 6));
    for (int row = 0; row < 4; ++row) {
        const int offset = (row % 2) ? 8 : 0;
        for (int x = -16 + offset; x < 32; x += 16) {
            c.fill(x + 1, row * 8 + 1, 15, 7, shade(Hue::Red, 7));
            c.fill(x + 1, row * 8 + 1, 15, 1, shade(Hue::Red, 10));
            c.fill(x + 1, row * 8 + 7, 15, 1, shade(Hue::Red, 5));
        }
    }
    return c;
}

Canvas stone()
{
    Canvas c(32, 32, shade(Hue::Grey, 9));
    c.fill(0, 0, 32, 3, shade(Hue::Grey, 13));
    c.fill(0, 0, 3, 32, shade(Hue::Grey, 12));
    c.fill(0, 29, 32, 3, shade(Hue::Grey, 5));
    c.fill(29, 0, 3, 32, shade(Hue::Grey, 6));
    c.frame(0, 0, 32, 32, shade(Hue::Grey, 3));
    c.line(9, 10, 14, 15, shade(Hue::Grey, 6));
    c.line(14, 15, 13, 21, shade(Hue::Grey, 6));
    return c;
}

Canvas spikes()
{
    Canvas c(32, 32);
    c.fill(0, 26, 32, 6, shade(Hue::Grey, 5));
    c.fill(0, 26, 32, 1, shade(Hue::Grey, 9));
    for (int k = 0; k < 4; ++k) {
        const int left = k * 8;
        for (int y = 0; y < 22; ++y) {
            const int half = (y * 4) / 22;
            c.fill(left + 4 - half - 1, 4 + y, half * 2 + 1, 1, shade(Hue::Grey, 12));
            c.set(left + 4 + half, 4 + y, shade(Hue::Grey, 7));
        }
        c.set(left + 3, 4, kWhite);
    }
    return c;
}

Canvas spring()
{
    Canvas c(32, 32);
    c.fill(2, 26, 28, 6, shade(Hue::Grey, 6));
    for (int k = 0; k < 4; ++k) {
        const int y = 10 + k * 4;
        c.line(6, y + 3, 26, y, shade(Hue::Grey, 13));
        c.line(6, y + 4, 26, y + 1, shade(Hue::Grey, 8));
    }
    c.fill(0, 4, 32, 6, shade(Hue::Red, 9));
    c.fill(0, 4, 32, 2, shade(Hue::Red, 12));
    c.frame(0, 4, 32, 6, shade(Hue::Red, 4));
    return c;
}

Canvas plank()
{
    Canvas c(32, 32);
    c.fill(0, 0, 32, 10, shade(Hue::Brown, 10));
    c.fill(0, 0, 32, 2, shade(Hue::Brown, 12));
    c.fill(0, 9, 32, 1, shade(Hue::Brown, 5));
    c.fill(15, 0, 2, 10, shade(Hue::Brown, 6));
    c.fill(4, 10, 3, 16, shade(Hue::Brown, 6));
    c.fill(25, 10, 3, 16, shade(Hue::Brown, 6));
    return c;
}

Canvas coin(int frame)
{
    Canvas c(32, 32);
    const int w = frame == 0 ? 20 : 10;
    const int x = (32 - w) / 2;
    c.ellipse(x, 6, w, 20, shade(Hue::Yellow, 6));
    c.ellipse(x + 1, 6, w - 2, 19, shade(Hue::Yellow, 10));
    c.ellipse(x + 3, 8, w - 6, 15, shade(Hue::Yellow, 13));
    c.fill(15, 10, 2, 12, shade(Hue::Yellow, 7));
    return c;
}

Canvas heart(int frame)
{
    Canvas c(32, 32);
    const int s = frame == 0 ? 0 : 2;
    const std::uint8_t red = shade(Hue::Red, 10);
    c.ellipse(5 + s, 6 + s, 12 - s, 12 - s, red);
    c.ellipse(15, 6 + s, 12 - s, 12 - s, red);
    for (int y = 0; y < 13 - s; ++y)
        c.fill(5 + s + y, 12 + y, 22 - 2 * s - 2 * y, 1, red);
    c.ellipse(8 + s, 9 + s, 4, 4, shade(Hue::Red, 14));
    c.outline(0, 0, 32, 32, shade(Hue::Red, 3));
    return c;
}

Canvas goalFlag(int frame)
{
    Canvas c(32, 32);
    c.fill(6, 2, 3, 28, shade(Hue::Grey, 12));
    c.fill(8, 2, 1, 28, shade(Hue::Grey, 7));
    c.ellipse(5, 0, 5, 5, shade(Hue::Yellow, 12));
    c.fill(3, 28, 9, 4, shade(Hue::Grey, 8));
    for (int x = 0; x < 20; ++x) {
        const double wave = std::sin((x / 20.0 + (frame ? 0.5 : 0.0)) * 2 * std::numbers::pi);
        const int y = 4 + static_cast<int>(std::lround(wave * 2));
        c.fill(9 + x, y, 1, 12, x < 10 ? shade(Hue::Green, 11) : shade(Hue::Green, 9));
        c.set(9 + x, y, shade(Hue::Green, 14));
    }
    c.ellipse(15, 7, 6, 6, shade(Hue::Yellow, 13));
    return c;
}

// A glowing ball in three frames that pulse.
Canvas orb(Hue hue, int frame)
{
    Canvas c(16, 16);
    const int r = 6 + (frame == 1 ? 1 : frame == 2 ? -1 : 0);
    c.ellipse(8 - r, 8 - r, 2 * r, 2 * r, shade(hue, 7));
    c.ellipse(9 - r, 9 - r, 2 * r - 2, 2 * r - 2, shade(hue, 11));
    c.ellipse(10 - r, 10 - r, r, r, shade(hue, 14));
    c.set(6, 5, kWhite);
    return c;
}

// The marks as 16 x 16 pixel art, by piece from MARK_ARROW: arrow, star,
// exclamation mark, skull.
const std::vector<std::string> kMarkArt[MARK_PIECE_END - MARK_ARROW] = {
    {"................", ".........oo.....", ".........o#o....", ".........o##o...",
     "oooooooooo###o..", "o###########o#o.", "o#############o.", "o############o..",
     "oooooooooo###o..", ".........o##o...", ".........o#o....", ".........oo.....",
     "................", "................", "................", "................"},
    {".......oo.......", ".......o#o......", "......o##o......", "......o###o.....",
     "ooooooo###oooooo", "o##############o", ".o############o.", "..o##########o..",
     "...o########o...", "...o###oo###o...", "..o###o..o###o..", "..o##o....o##o..",
     ".o##o......o##o.", ".ooo........ooo.", "................", "................"},
    {"......oooo......", ".....orrrro.....", ".....orrrro.....", ".....orrrro.....",
     ".....orrrro.....", "......orro......", "......orro......", "......orro......",
     "......orro......", ".......oo.......", "................", "......oooo......",
     ".....orrrro.....", ".....orrrro.....", "......oooo......", "................"},
    {"....oooooooo....", "...owwwwwwwwo...", "..owwwwwwwwwwo..", "..owwwwwwwwwwo..",
     "..owoooowoooowo.", "..owoooowoooowo.", "..owwwwwoowwwwo.", "...owwwwwwwwwo..",
     "....owowowowo...", "....owowowowo...", ".....ooooooo....", "................",
     "................", "................", "................", "................"},
};

} // namespace

Canvas blockCell(BlockGraphic block)
{
    switch (block) {
    case BLOCK_GRASS:
        return grass();
    case BLOCK_DIRT:
        return dirt();
    case BLOCK_BRICK:
        return brick();
    case BLOCK_STONE:
        return stone();
    case BLOCK_SPIKES:
        return spikes();
    case BLOCK_SPRING:
        return spring();
    case BLOCK_PLANK:
        return plank();
    default:
        return Canvas(32, 32);
    }
}

Canvas itemFrame(ItemGraphic item, int frame)
{
    switch (item) {
    case ITEM_COIN:
        return coin(frame);
    case ITEM_HEART:
        return heart(frame);
    case ITEM_GOAL:
        return goalFlag(frame);
    default:
        return Canvas(32, 32);
    }
}

Canvas shotFrame(ShotGraphic shot, int frame)
{
    return orb(shot == SHOT_HERO ? Hue::Yellow : Hue::Red, frame);
}

Canvas markPiece(MarkPiece piece)
{
    if (piece < MARK_ARROW || piece >= MARK_PIECE_END) return Canvas(32, 32);
    const Legend legend = {
        {'#', shade(Hue::Yellow, 12)}, {'o', kBlack}, {'w', kWhite}, {'r', shade(Hue::Red, 10)}};
    Canvas cell(32, 32);
    cell.paste(pixelArt(kMarkArt[piece - MARK_ARROW], legend), 0, 2, true, false, 2);
    return cell;
}

Canvas burstFrame(int frame)
{
    Canvas c(32, 32);
    const int r = 5 + frame * 4;
    if (frame < 3) {
        c.ellipse(16 - r, 16 - r, 2 * r, 2 * r, shade(Hue::Red, 10 - frame));
        c.ellipse(16 - r + 3, 16 - r + 3, 2 * r - 6, 2 * r - 6, shade(Hue::Orange, 11 - frame));
        if (r > 6)
            c.ellipse(16 - r + 6, 16 - r + 6, 2 * r - 12, 2 * r - 12, shade(Hue::Yellow, 14));
    }
    // Smoke puffs drifting out.
    for (int k = 0; k < 6; ++k) {
        const double a = k * std::numbers::pi / 3;
        const int d = r + 1;
        const int x = 16 + static_cast<int>(std::lround(std::cos(a) * d));
        const int y = 16 + static_cast<int>(std::lround(std::sin(a) * d));
        const int s = frame == 3 ? 5 : 3;
        c.ellipse(x - s / 2, y - s / 2, s, s, shade(Hue::Grey, 12 - frame));
    }
    return c;
}

Canvas halved(const Canvas& picture)
{
    Canvas half(picture.width() / 2, picture.height() / 2);
    for (int y = 0; y < half.height(); ++y)
        for (int x = 0; x < half.width(); ++x)
            half.set(x, y, picture.at(2 * x + 1, 2 * y + 1));
    return half;
}

} // namespace defgame
