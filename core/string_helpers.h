#pragma once
// Small helpers on the game's byte strings (Shift-JIS, lengths in bytes).

#include <cstdint>
#include <string>

// Shortens s to the text before its first NUL and returns the new length.
std::int32_t SyncStrLen(std::string& s);

// The substring of s (taken up to its first NUL) from start with count bytes,
// clamped the way the expression language expects: a negative start moves
// the start to 0 and shortens count by as much; a start past the end or a
// count of 0 gives the empty string; a count that runs past the end, or any
// negative count, means up to the end. So (-3, 1) on "abcdef" gives the whole
// text, while (-2, 2) gives the empty string.
std::string SubStrClamp(const std::string& s, std::int32_t start, std::int32_t count);
