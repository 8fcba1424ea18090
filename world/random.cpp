#include "world/random.h"

namespace {

thread_local std::uint32_t t_State = 1;

} // namespace

void SeedRandom(std::uint32_t seed)
{
    t_State = seed;
}

int Random()
{
    t_State = t_State * 214013u + 2531011u;
    return static_cast<int>((t_State >> 16) & 0x7FFF);
}

std::uint32_t RandomState()
{
    return t_State;
}
