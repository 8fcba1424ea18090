#pragma once
// The pulsing highlight colours of the texture back end: entries 1 to 9 are
// written once per drawn frame by the colour cycling and tint invincible
// characters through their colour index; entry 0 is not used.

#include <array>
#include <cstdint>

struct CycleColour {
    std::uint32_t m_Colour = 0; // ARGB, the vertex colour
    std::int32_t m_Mode = 0;    // the blend mode (the colour operation)
};

inline constexpr int kCycleColours = 10;
extern std::array<CycleColour, kCycleColours> g_CycleColors;
