#pragma once
// The world's one conversion of a double to an int, and the repair of
// doubles that come from files. Positions and speeds are doubles; whenever
// a Part of the game says int() or trunc() of one, this is it, so that a
// value gone bad (NaN, infinite, beyond the int range) gives a defined
// result on every machine instead of undefined behaviour.

#include <climits>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The conversion of a value outside the int range or NaN.
inline int TruncOutOfRange(double v)
{
    if (std::isnan(v)) return 0;
    return v > 0 ? INT_MAX : INT_MIN;
}

// Truncation toward zero; NaN gives 0, values beyond the int range the
// nearest end of the range.
inline int TruncToInt(double v)
{
#if defined(__SSE2__)
    // The processor's truncation is defined for every input and yields
    // INT_MIN for NaN and out-of-range values: only that one result needs
    // a second look (it is also the right answer near INT_MIN).
    const int r = _mm_cvttsd_si32(_mm_set_sd(v));
    if (r != INT_MIN) [[likely]]
        return r;
    return TruncOutOfRange(v);
#else
    // Within the range first: one test for the common case (NaN fails it).
    if (v > -2147483648.0 && v < 2147483647.0) return static_cast<int>(v);
    return TruncOutOfRange(v);
#endif
}

// The value when finite, else the fallback (a stage value read from a file
// may be NaN or infinite; no such value may ever reach a position).
inline double FiniteOr(double v, double fallback)
{
    return std::isfinite(v) ? v : fallback;
}
