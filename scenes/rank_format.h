#pragma once
// The numbers and times of the results panel and the ranking board.

#include <cstdint>
#include <string>

// A time in hundredths of a second as minutes:seconds.hundredths, each part
// with at least two digits ("00:03.45" for 345); a negative part gets its
// own minus sign.
void FormatTime(std::string& out, std::int32_t hundredths);
// The number of decimal digits of a value's magnitude (1 for 0, at most 10).
int DigitCount(std::int32_t value);
// The lowest `DigitCount` digits of |value|, or `minimum` digits when that is
// more; without keepZeros the leading zeros (all but the last digit) become
// blanks; a minus sign in front of a negative value, a plus sign in front of
// any other when `plus` is set.
void FormatInt(std::string& out, std::int32_t value, int minimum, int keepZeros, int plus);
