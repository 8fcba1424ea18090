#include "tools/default_game/game_palette.h"

#include <algorithm>

namespace defgame {
namespace {

std::uint8_t channel(double v)
{
    return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0) + 0.5);
}

// A ramp reaches its base colour at level 10, darkens toward level 0 and
// lightens toward white at level 15.
Rgb rampColour(Rgb base, int level)
{
    auto step = [&](std::uint8_t c) {
        if (level <= 10) return channel(c * (0.12 + 0.88 * level / 10.0));
        return channel(c + (255 - c) * (level - 10) / 6.0);
    };
    return {step(base.r), step(base.g), step(base.b)};
}

struct Ramp {
    Hue hue;
    Rgb base;
};

constexpr Ramp kRamps[] = {
    {Hue::Red, {220, 40, 40}},     {Hue::Orange, {235, 130, 30}}, {Hue::Yellow, {245, 215, 40}},
    {Hue::Green, {60, 180, 60}},   {Hue::Teal, {30, 170, 160}},   {Hue::Blue, {50, 90, 210}},
    {Hue::Purple, {140, 70, 200}}, {Hue::Skin, {240, 180, 140}},  {Hue::Brown, {150, 95, 50}},
    {Hue::Sky, {100, 170, 240}},   {Hue::Olive, {110, 130, 40}},
};

// The four shades of each box-colour group, bright first: red, green, blue,
// yellow, red-purple, blue-purple, black and a four-colour rainbow.
constexpr Rgb kCycleGroups[8][4] = {
    {{255, 80, 80}, {220, 40, 40}, {170, 20, 20}, {120, 10, 10}},
    {{110, 240, 110}, {60, 200, 60}, {30, 150, 30}, {15, 100, 15}},
    {{110, 150, 255}, {60, 100, 230}, {30, 60, 180}, {15, 30, 120}},
    {{255, 250, 120}, {245, 215, 40}, {200, 170, 20}, {150, 120, 10}},
    {{255, 110, 220}, {220, 60, 180}, {170, 30, 140}, {120, 15, 100}},
    {{170, 120, 255}, {130, 80, 230}, {90, 50, 180}, {60, 30, 130}},
    {{90, 90, 90}, {60, 60, 60}, {35, 35, 35}, {10, 10, 10}},
    {{240, 50, 50}, {245, 215, 40}, {60, 200, 60}, {60, 100, 230}},
};

// Plain colours of the first and last entries.
constexpr Rgb kLowColours[15] = {
    {255, 255, 255}, {0, 0, 0},     {255, 0, 0},     {0, 200, 0},     {0, 0, 255},
    {255, 255, 0},   {200, 0, 150}, {100, 60, 220},  {0, 220, 220},   {128, 128, 128},
    {192, 192, 192}, {96, 64, 32},  {255, 160, 200}, {160, 220, 255}, {255, 200, 120},
};
constexpr Rgb kHighColours[13] = {
    {230, 230, 230}, {200, 240, 255}, {255, 230, 200}, {210, 255, 210}, {255, 210, 210},
    {230, 210, 255}, {255, 255, 210}, {180, 180, 200}, {140, 140, 160}, {100, 100, 120},
    {60, 60, 80},    {30, 30, 45},    {255, 255, 255},
};

} // namespace

std::array<Rgb, 256> gamePalette()
{
    std::array<Rgb, 256> pal{};
    pal[kKey] = {255, 0, 255};
    for (int i = 0; i < 15; ++i)
        pal[1 + i] = kLowColours[i];
    for (int l = 0; l < 16; ++l) {
        const auto v = static_cast<std::uint8_t>(l * 17);
        pal[shade(Hue::Grey, l)] = {v, v, v};
    }
    for (const Ramp& ramp : kRamps)
        for (int l = 0; l < 16; ++l)
            pal[shade(ramp.hue, l)] = rampColour(ramp.base, l);
    for (int g = 0; g < 8; ++g)
        for (int s = 0; s < 4; ++s)
            pal[kCycleFirst + g * 4 + s] = kCycleGroups[g][s];
    pal[kFrame] = {235, 235, 245};
    pal[kText] = {255, 255, 255};
    pal[kTextAlt] = {255, 230, 90};
    for (int i = 0; i < 13; ++i)
        pal[243 + i] = kHighColours[i];
    return pal;
}

} // namespace defgame
