// The pictures of the screens around play: palette, title, menus, window,
// status bar, accessories, symbols, words and the stage backgrounds.
#include "tools/default_game/pictures.h"

#include <cmath>
#include <numbers>
#include <string>

#include "tools/default_game/catalogue.h"
#include "tools/default_game/lettering.h"
#include "tools/default_game/sprites.h"

namespace defgame {
namespace {

// The palette picture: its colour table is the palette; rows 8 to 23 hold
// the 256 colours again as pixels (16 to a row) for the full-colour
// displays; its top-left pixel is the transparent colour.
Canvas palettePicture()
{
    Canvas p(16, 24, kKey);
    for (int n = 0; n < 256; ++n)
        p.set(n % 16, 8 + n / 16, static_cast<std::uint8_t>(n));
    return p;
}

// A chart of the palette, eight pixels a colour.
Canvas debugChart()
{
    Canvas p(128, 128);
    for (int n = 0; n < 256; ++n)
        p.fill((n % 16) * 8, (n / 16) * 8, 8, 8, static_cast<std::uint8_t>(n));
    return p;
}

// A cloud of overlapping puffs centred on (x, y).
void cloud(Canvas& c, int x, int y, int size)
{
    c.ellipse(x - size, y - size / 3, size * 2, size, shade(Hue::Grey, 14));
    c.ellipse(x - size / 2, y - size * 2 / 3, size, size, kWhite);
    c.ellipse(x - size, y - size / 3, size, size * 2 / 3, kWhite);
    c.ellipse(x, y - size / 2, size, size * 3 / 4, kWhite);
}

// Ridges that repeat every 640 pixels, so that backgrounds tile sideways.
int ridge(int x, double base, double a1, double a2, double phase)
{
    const double t = 2 * std::numbers::pi * x / 640.0;
    return static_cast<int>(base + a1 * std::sin(2 * t + phase) + a2 * std::sin(5 * t + 2 * phase));
}

std::vector<std::uint8_t> ramp(Hue hue, int from, int to)
{
    std::vector<std::uint8_t> colours;
    const int step = from <= to ? 1 : -1;
    for (int l = from; l != to + step; l += step)
        colours.push_back(shade(hue, l));
    return colours;
}

Canvas meadowBackground()
{
    Canvas c(640, 480);
    c.gradient(0, 0, 640, 480, ramp(Hue::Sky, 8, 14));
    for (int k = 0; k < 5; ++k)
        cloud(c, 60 + k * 128, 70 + (k % 2) * 50, 26 + (k % 3) * 6);
    for (int x = 0; x < 640; ++x) {
        const int far = ridge(x, 300, 24, 10, 0.5);
        c.fill(x, far, 1, 480 - far, shade(Hue::Teal, 7));
        const int near = ridge(x, 360, 18, 8, 2.0);
        c.fill(x, near, 1, 480 - near, shade(Hue::Green, 8));
        c.set(x, near, shade(Hue::Green, 11));
    }
    return c;
}

Canvas duskBackground()
{
    Canvas c(640, 480);
    std::vector<std::uint8_t> sky = ramp(Hue::Purple, 3, 7);
    for (auto part : {ramp(Hue::Red, 6, 8), ramp(Hue::Orange, 8, 11), ramp(Hue::Yellow, 11, 13)})
        sky.insert(sky.end(), part.begin(), part.end());
    c.gradient(0, 0, 640, 330, sky);
    c.fill(0, 330, 640, 150, shade(Hue::Yellow, 13));
    c.ellipse(400, 150, 90, 90, shade(Hue::Yellow, 14));
    c.ellipse(410, 160, 70, 70, shade(Hue::Yellow, 15));
    for (int x = 0; x < 640; ++x) {
        const int far = ridge(x, 270, 40, 14, 1.0);
        c.fill(x, far, 1, 480 - far, shade(Hue::Purple, 3));
        const int near = ridge(x, 350, 20, 12, 3.0);
        c.fill(x, near, 1, 480 - near, shade(Hue::Grey, 2));
    }
    return c;
}

// The title screen: the meadow under the game's name, the hero on the left
// and the two foes on the right; the middle of the lower half is left for
// the menu.
Canvas titleScreen(Canvas c)
{
    c.ellipse(500, 40, 80, 80, shade(Hue::Yellow, 13));
    c.ellipse(510, 50, 60, 60, shade(Hue::Yellow, 15));
    for (int x = 0; x < 640; x += 32)
        c.paste(blockCell(BLOCK_GRASS), x, 448, false);
    c.paste(charaFrame(CHARA_HERO, FRAME_AIR), 40, 340, true, true, 3);
    c.paste(charaFrame(CHARA_WALKER, FRAME_STAND), 470, 352, true, false, 3);
    c.paste(charaFrame(CHARA_HOPPER, FRAME_AIR), 540, 300, true, false, 2);
    c.paste(itemFrame(ITEM_COIN, 0), 150, 300, true, false, 2);
    c.paste(itemFrame(ITEM_COIN, 1), 120, 250, true, false, 2);
    drawBordered(c, 0, 28, 640, 96, "QUENHOLT", {shade(Hue::Yellow, 12), 7, 9, 1}, kBlack, 3, 5);
    drawBordered(c, 0, 130, 640, 60, "ADVENTURE", {kWhite, 4, 5, 1}, shade(Hue::Blue, 3), 2, 3);
    drawBordered(c, 0, 196, 640, 20, "THE DEFAULT GAME", {shade(Hue::Blue, 3), 2, 2, 1},
                 shade(Hue::Sky, 14), 1, 0);
    return c;
}

// The title menu's items as pictures, one 32-pixel row per item in the
// order of the title menu (new game, continue, challenge, free play,
// replay, options, quit), on a transparent ground.
Canvas gameModeMenu()
{
    const char* const labels[] = {"NEW GAME", "CONTINUE", "CHALLENGE", "FREE PLAY",
                                  "REPLAY",   "OPTIONS",  "QUIT"};
    const TextStyle style{kWhite, 3, 3, 1};
    Canvas c(textWidth("CHALLENGE", style) + 8, 7 * 32);
    int row = 0;
    for (const char* label : labels) {
        Canvas line(c.width(), 32);
        drawBordered(line, 0, 0, 4 + textWidth(label, style), 32, label, style, shade(Hue::Blue, 3),
                     2, 0);
        c.paste(line, 0, row * 32);
        ++row;
    }
    return c;
}

// The ground of every text box: deep blue with faint diagonal stripes.
Canvas windowGround()
{
    Canvas c(640, 480);
    c.gradient(0, 0, 640, 480, {shade(Hue::Blue, 3), shade(Hue::Blue, 2)});
    for (int y = 0; y < 480; ++y)
        for (int x = (y % 8); x < 640; x += 8)
            if (((x + y) / 8) % 2 == 0) c.set(x, y, shade(Hue::Blue, 4));
    return c;
}

Canvas statusBar()
{
    Canvas c(640, 20);
    c.gradient(0, 0, 640, 20, ramp(Hue::Grey, 6, 2));
    c.fill(0, 0, 640, 1, shade(Hue::Grey, 10));
    c.fill(0, 19, 640, 1, kBlack);
    return c;
}

// An arrow pointing right, for the menu cursors (scale 1: 16 x 16).
Canvas arrow(int scale, std::uint8_t colour)
{
    const Canvas art =
        pixelArt({"................", "................", ".......##.......", ".......###......",
                  ".......####.....", "..##########....", "..###########...", "..############..",
                  "..###########...", "..##########....", ".......####.....", ".......###......",
                  ".......##.......", "................", "................", "................"},
                 {{'#', colour}});
    Canvas c(16 * scale, 16 * scale);
    c.paste(art, 0, 0, true, false, scale);
    c.outline(0, 0, c.width(), c.height(), kBlack);
    return c;
}

Canvas star(int size, std::uint8_t fill)
{
    Canvas c(size, size);
    const double cx = size / 2.0, cy = size / 2.0 + 1, outer = size / 2.0 - 1, inner = outer * 0.45;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double a = std::atan2(dx, -dy);
            const double sector = std::fmod(a + 2 * std::numbers::pi, 2 * std::numbers::pi / 5);
            const double t = std::fabs(sector - std::numbers::pi / 5) / (std::numbers::pi / 5);
            const double radius = inner + (outer - inner) * t * t;
            if (std::hypot(dx, dy) <= radius) c.set(x, y, fill);
        }
    }
    c.outline(0, 0, size, size, kBlack);
    return c;
}

// A 50 x 16 gauge: a black-rimmed bar in a colour with a lighter top.
Canvas gauge(std::uint8_t fill, std::uint8_t light)
{
    Canvas c(50, 16);
    c.fill(0, 2, 50, 12, kBlack);
    c.fill(1, 3, 48, 10, fill);
    c.fill(1, 3, 48, 3, light);
    return c;
}

// Cursors, badges, status icons, the world map's walker and the gauges, at
// the places the runtime takes them from.
Canvas accessories()
{
    Canvas c(128, 176);
    c.paste(arrow(2, shade(Hue::Yellow, 12)), 0, 0);
    c.paste(arrow(1, shade(Hue::Yellow, 12)), 64, 0);
    c.paste(arrow(1, shade(Hue::Sky, 12)), 80, 0);
    c.paste(star(32, shade(Hue::Yellow, 11)), 96, 0);
    // Status icons at y 32: play score, stage score, HP, SP, lives.
    c.paste(halved(itemFrame(ITEM_COIN, 0)), 0, 32);
    c.paste(halved(itemFrame(ITEM_GOAL, 0)), 16, 32);
    c.paste(halved(itemFrame(ITEM_HEART, 0)), 32, 32);
    c.paste(star(16, shade(Hue::Sky, 12)), 48, 32);
    c.paste(halved(charaFrame(CHARA_HERO, FRAME_STAND)), 64, 32);
    // The extra-life icon and the ranking mark at y 48.
    c.paste(halved(charaFrame(CHARA_HERO, FRAME_AIR)), 0, 48);
    const Legend crown = {{'#', shade(Hue::Yellow, 11)}, {'o', kBlack}, {'r', shade(Hue::Red, 10)}};
    c.paste(
        pixelArt({"................", "................", "..o....oo....o..", ".o#o..o##o..o#o.",
                  ".o#o..o##o..o#o.", ".o##oo####oo##o.", ".o############o.", ".o##r##r###r##o.",
                  ".o############o.", ".o############o.", ".oooooooooooooo.", "................",
                  "................", "................", "................", "................"},
                 crown),
        16, 48);
    // The world map's walker: down and up at y 64, right and left at y 96,
    // two steps each.
    c.paste(mapWalkerFrame(false, false), 0, 64);
    c.paste(mapWalkerFrame(false, true), 32, 64);
    c.paste(mapWalkerFrame(true, false), 64, 64);
    c.paste(mapWalkerFrame(true, true), 96, 64);
    c.paste(charaFrame(CHARA_HERO, FRAME_WALK_A), 0, 96, true, true);
    c.paste(charaFrame(CHARA_HERO, FRAME_WALK_B), 32, 96, true, true);
    c.paste(charaFrame(CHARA_HERO, FRAME_WALK_A), 64, 96);
    c.paste(charaFrame(CHARA_HERO, FRAME_WALK_B), 96, 96);
    // Gauges: frames at y 128, the full parts at y 144, the low parts at 160.
    c.paste(gauge(shade(Hue::Grey, 4), shade(Hue::Grey, 3)), 0, 128);
    c.paste(gauge(shade(Hue::Grey, 4), shade(Hue::Grey, 3)), 64, 128);
    c.paste(gauge(shade(Hue::Green, 10), shade(Hue::Green, 14)), 0, 144);
    c.paste(gauge(shade(Hue::Sky, 10), shade(Hue::Sky, 14)), 64, 144);
    c.paste(gauge(shade(Hue::Red, 10), shade(Hue::Red, 14)), 0, 160);
    c.paste(gauge(shade(Hue::Blue, 9), shade(Hue::Blue, 13)), 64, 160);
    return c;
}

// Key caps for the letters a to z, 16 x 16 each, in one row.
Canvas symbols()
{
    Canvas c(26 * 16, 16);
    for (int k = 0; k < 26; ++k) {
        const int x = k * 16;
        c.fill(x + 1, 1, 14, 14, shade(Hue::Grey, 13));
        c.fill(x + 1, 12, 14, 3, shade(Hue::Grey, 8));
        c.frame(x + 1, 1, 14, 14, shade(Hue::Grey, 4));
        const char letter[2] = {static_cast<char>('A' + k), 0};
        drawText(c, x + 5, 4, letter, {shade(Hue::Blue, 3), 1, 1, 1});
    }
    return c;
}

// The words of play and two strips of digits in 32 x 32 cells.
Canvas words()
{
    Canvas c(320, 192);
    struct Piece {
        int x, y, w, h;
        const char* text;
        std::uint8_t colour;
    };
    const Piece pieces[] = {
        {0, 0, 128, 32, "STAGE", shade(Hue::Yellow, 12)},
        {160, 0, 80, 32, "GO!", shade(Hue::Green, 13)},
        {0, 32, 128, 32, "REPLAY", shade(Hue::Sky, 13)},
        {0, 64, 128, 32, "CLEAR!", shade(Hue::Yellow, 13)},
        {0, 96, 144, 32, "GAME OVER", shade(Hue::Red, 11)},
    };
    for (const Piece& p : pieces) {
        const TextStyle style = fittedStyle(p.text, p.w - 2, p.h - 2, p.colour);
        drawBordered(c, p.x, p.y, p.w, p.h, p.text, style, kBlack, 1, 0);
    }
    for (int d = 0; d < 10; ++d) {
        const char digit[2] = {static_cast<char>('0' + d), 0};
        drawBordered(c, d * 32, 128, 32, 32, digit, {shade(Hue::Yellow, 12), 4, 4, 1}, kBlack);
        drawBordered(c, d * 32, 160, 32, 32, digit, {kWhite, 4, 4, 1}, kBlack);
    }
    return c;
}

} // namespace

std::vector<Picture> screenPictures()
{
    const Canvas meadow = meadowBackground();
    std::vector<Picture> pictures;
    pictures.push_back({"bmp\\plt\\Palette.bmp", palettePicture()});
    pictures.push_back({"bmp\\Debug.bmp", debugChart()});
    pictures.push_back({"bmp\\Title.bmp", titleScreen(meadow)});
    pictures.push_back({"bmp\\GameMode.bmp", gameModeMenu()});
    pictures.push_back({"bmp\\Window.bmp", windowGround()});
    pictures.push_back({"bmp\\StatusWindow.bmp", statusBar()});
    pictures.push_back({"bmp\\Accessory.bmp", accessories()});
    pictures.push_back({"bmp\\Symbol.bmp", symbols()});
    pictures.push_back({"bmp\\Word.bmp", words()});
    pictures.push_back({kMeadowPicture, meadow});
    pictures.push_back({kDuskPicture, duskBackground()});
    return pictures;
}

} // namespace defgame
