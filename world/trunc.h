#pragma once
// The world's one conversion of a double to an int, and the repair of
// doubles that come from files. Positions and speeds are doubles; whenever
// a Part of the game says int() or trunc() of one, this is it, so that a
// value gone bad (NaN, infinite, beyond the int range) gives a defined
// result on every machine instead of undefined behaviour.

#include <climits>
#include <cmath>

// Truncation toward zero; NaN gives 0, values beyond the int range the
// nearest end of the range.
inline int TruncToInt(double v)
{
    // Within the range first: one test for the common case (NaN fails it).
    if (v > -2147483648.0 && v < 2147483647.0) return static_cast<int>(v);
    if (std::isnan(v)) return 0;
    return v > 0 ? INT_MAX : INT_MIN;
}

// The value when finite, else the fallback (a stage value read from a file
// may be NaN or infinite; no such value may ever reach a position).
inline double FiniteOr(double v, double fallback)
{
    return std::isfinite(v) ? v : fallback;
}
