#pragma once
// The comparison codes that conditions share: switch, variable and status
// conditions all compare by them.

#include <cstdint>

// 0 ==, 1 !=, 2 >=, 3 <=, 4 >, 5 <; other codes false.
int CompareByOp(std::int32_t left, std::int32_t right, int op);
