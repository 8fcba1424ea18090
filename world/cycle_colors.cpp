#include "world/cycle_colors.h"

std::array<CycleColour, kCycleColours> g_CycleColors;
