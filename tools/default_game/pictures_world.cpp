// The world map's tiles (five to a row), the signs of its stage entries and the sea
// a map may show behind them.
#include "tools/default_game/pictures.h"

#include <string>

#include "tools/default_game/catalogue.h"
#include "tools/default_game/lettering.h"
#include "tools/default_game/world_chips.h"

namespace defgame {
namespace {

void grassGround(Canvas& c)
{
    c.fill(0, 0, 32, 32, shade(Hue::Green, 9));
    for (int k = 0; k < 6; ++k) {
        const int x = (k * 11 + 3) % 29, y = (k * 7 + 5) % 28;
        c.fill(x, y, 1, 3, shade(Hue::Green, 7));
        c.fill(x + 2, y + 1, 1, 2, shade(Hue::Green, 7));
    }
}

void waterGround(Canvas& c)
{
    c.fill(0, 0, 32, 32, shade(Hue::Blue, 9));
    for (int y = 4; y < 32; y += 10)
        for (int x = 0; x < 32; x += 8) {
            c.fill(x + 1, y, 4, 1, shade(Hue::Sky, 13));
            c.set(x, y + 1, shade(Hue::Sky, 13));
            c.set(x + 5, y + 1, shade(Hue::Sky, 13));
        }
}

Canvas chip(WorldChip kind)
{
    Canvas c(32, 32);
    switch (kind) {
    case CHIP_WATER:
        waterGround(c);
        break;
    case CHIP_FOREST:
        grassGround(c);
        c.fill(14, 20, 4, 10, shade(Hue::Brown, 6));
        c.ellipse(4, 2, 24, 22, shade(Hue::Green, 5));
        c.ellipse(7, 4, 14, 12, shade(Hue::Green, 8));
        break;
    case CHIP_MOUNTAIN:
        grassGround(c);
        for (int y = 0; y < 28; ++y) {
            const int half = y / 2 + 1;
            c.fill(16 - half, 3 + y, half, 1, shade(Hue::Brown, 9));
            c.fill(16, 3 + y, half, 1, shade(Hue::Brown, 6));
        }
        for (int y = 0; y < 7; ++y)
            c.fill(16 - (y / 2 + 1), 3 + y, (y / 2 + 1) * 2, 1, kWhite);
        break;
    case CHIP_ROCK:
        grassGround(c);
        c.ellipse(4, 8, 24, 20, shade(Hue::Grey, 6));
        c.ellipse(6, 9, 18, 14, shade(Hue::Grey, 10));
        c.ellipse(9, 11, 7, 5, shade(Hue::Grey, 13));
        break;
    case CHIP_WALL:
        c.fill(0, 0, 32, 32, shade(Hue::Grey, 5));
        for (int row = 0; row < 4; ++row)
            for (int x = (row % 2) * 8 - 8; x < 32; x += 16)
                c.fill(x + 1, row * 8 + 1, 14, 6, shade(Hue::Grey, 10));
        break;
    case CHIP_GRASS:
        grassGround(c);
        break;
    case CHIP_ROAD:
        c.fill(0, 0, 32, 32, shade(Hue::Yellow, 13));
        for (int k = 0; k < 8; ++k)
            c.set((k * 13 + 4) % 31, (k * 9 + 2) % 31, shade(Hue::Brown, 11));
        break;
    case CHIP_BRIDGE:
        waterGround(c);
        c.fill(4, 0, 24, 32, shade(Hue::Brown, 10));
        for (int y = 3; y < 32; y += 6)
            c.fill(4, y, 24, 1, shade(Hue::Brown, 6));
        c.fill(4, 0, 2, 32, shade(Hue::Brown, 5));
        c.fill(26, 0, 2, 32, shade(Hue::Brown, 5));
        break;
    case CHIP_FLOWERS:
        grassGround(c);
        for (int k = 0; k < 7; ++k) {
            const int x = (k * 9 + 3) % 28, y = (k * 13 + 4) % 28;
            const std::uint8_t petal = k % 3 == 0   ? shade(Hue::Red, 11)
                                       : k % 3 == 1 ? kWhite
                                                    : shade(Hue::Yellow, 12);
            c.fill(x, y + 1, 3, 1, petal);
            c.fill(x + 1, y, 1, 3, petal);
            c.set(x + 1, y + 1, shade(Hue::Yellow, 8));
        }
        break;
    case CHIP_SAND:
        c.fill(0, 0, 32, 32, shade(Hue::Yellow, 12));
        for (int k = 0; k < 10; ++k)
            c.set((k * 7 + 2) % 31, (k * 11 + 6) % 31, shade(Hue::Yellow, 9));
        break;
    default:
        break;
    }
    return c;
}

// Column 0: the sign of an entry not yet cleared, a red badge with the
// stage's number; column 1: a cleared entry, a gold badge.
Canvas eventSigns()
{
    Canvas c(64, kStageSigns * 32);
    for (int row = 0; row < kStageSigns; ++row) {
        const std::string number = std::to_string(row + 1);
        for (int cleared = 0; cleared < 2; ++cleared) {
            Canvas sign(32, 32);
            sign.ellipse(3, 3, 26, 26, kBlack);
            sign.ellipse(5, 5, 22, 22, cleared ? shade(Hue::Yellow, 11) : shade(Hue::Red, 10));
            sign.ellipse(8, 7, 8, 6, cleared ? shade(Hue::Yellow, 14) : shade(Hue::Red, 13));
            drawText(sign, 11, 9, number, {cleared ? shade(Hue::Brown, 4) : kWhite, 2, 2, 1});
            c.paste(sign, cleared * 32, row * 32);
        }
    }
    return c;
}

// The picture a map may show behind its tiles: the open sea, one screen.
Canvas seaBackdrop()
{
    Canvas c(640, 480);
    c.fill(0, 0, 640, 480, shade(Hue::Blue, 9));
    for (int y = 12; y < 480; y += 40)
        for (int x = (y / 40 % 2) * 24; x < 640; x += 48)
            c.fill(x, y, 6, 1, shade(Hue::Sky, 13));
    return c;
}

} // namespace

std::vector<Picture> worldPictures()
{
    Canvas chips(5 * 32, 2 * 32);
    for (int k = 0; k < kWorldChipCount; ++k)
        chips.paste(chip(static_cast<WorldChip>(k)), (k % 5) * 32, (k / 5) * 32, false);
    std::vector<Picture> pictures;
    pictures.push_back({"bmp\\WorldMapChip.bmp", chips});
    pictures.push_back({"bmp\\WorldEvent.bmp", eventSigns()});
    pictures.push_back({"bmp\\WorldBack.bmp", seaBackdrop()});
    return pictures;
}

} // namespace defgame
