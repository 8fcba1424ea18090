#pragma once
// Arithmetic done in 64 bits and stored in a 32-bit field of the game:
// values beyond the field's range are held at its ends, never wrapped.

#include <algorithm>
#include <cstdint>
#include <limits>

inline std::int32_t SaturateToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}
