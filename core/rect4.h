#pragma once
// Four signed 32-bit integers: a rectangle or a similar quadruple. Zeroed
// when constructed.

#include <cstdint>

struct cRect4 {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    cRect4() = default;
    cRect4(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
        : left(l), top(t), right(r), bottom(b)
    {
    }
    bool operator==(const cRect4&) const = default;
};

static_assert(sizeof(cRect4) == 16, "cRect4 is four 32-bit integers without padding");
