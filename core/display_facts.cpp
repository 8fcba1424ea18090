#include "core/display_facts.h"

std::int32_t g_DDReady = 0;
std::int32_t g_DDWindowed = 0;
std::int32_t g_DDBpp = 0;
