#pragma once
// The colours of the default game. The game has one palette of 256 colours
// (bmp\plt\Palette.bmp), and every picture is an 8-bit BMP over that same
// table, so a palette number names the same colour in every picture, in the
// fills and texts of the runtime and in every display mode.

#include <array>
#include <cstdint>

namespace defgame {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
};

// Palette number 0 is the transparent colour: the top-left pixel of the
// palette picture, and the background of every keyed picture.
inline constexpr std::uint8_t kKey = 0;

// Sixteen-step ramps, dark (0) to light (15); the hue is its first number.
enum class Hue : std::uint8_t {
    Grey = 16, // 16 is black (the runtime's fill colour), 31 white
    Red = 32,
    Orange = 48,
    Yellow = 64,
    Green = 80,
    Teal = 96,
    Blue = 112,
    Purple = 128,
    Skin = 144,
    Brown = 160,
    Sky = 176,
    Olive = 192,
};

// A shade of a ramp; levels outside 0 to 15 are held to the ramp.
constexpr std::uint8_t shade(Hue hue, int level)
{
    return static_cast<std::uint8_t>(static_cast<int>(hue) + (level < 0    ? 0
                                                              : level > 15 ? 15
                                                                           : level));
}

inline constexpr std::uint8_t kBlack = 16;
inline constexpr std::uint8_t kWhite = 31;
// 208 to 239: eight groups of four shades (the box colours of the runtime
// and the colours that cycle in 8-bit mode).
inline constexpr std::uint8_t kCycleFirst = 208;
// The runtime's frame colour of boxes and its two text colours.
inline constexpr std::uint8_t kFrame = 240;
inline constexpr std::uint8_t kText = 241;
inline constexpr std::uint8_t kTextAlt = 242;

// The 256 colours.
std::array<Rgb, 256> gamePalette();

} // namespace defgame
