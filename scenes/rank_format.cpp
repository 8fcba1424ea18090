#include "scenes/rank_format.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kMaxDigits = 10;
// The widest field a caller may ask for; a larger minimum is held here.
constexpr int kMaxField = 32;

// The magnitude in 64 bits, so that the most negative value has one.
std::int64_t Magnitude(std::int32_t value)
{
    return std::llabs(std::int64_t{value});
}

} // namespace

int DigitCount(std::int32_t value)
{
    std::int64_t rest = Magnitude(value);
    int digits = 1;
    while (rest >= 10 && digits < kMaxDigits) {
        rest /= 10;
        ++digits;
    }
    return digits;
}

void FormatInt(std::string& out, std::int32_t value, int minimum, int keepZeros, int plus)
{
    int digits = DigitCount(value);
    if (minimum > digits) digits = std::min(minimum, kMaxField);
    std::string text(static_cast<std::size_t>(digits), '0');
    std::int64_t rest = Magnitude(value);
    for (int i = digits - 1; i >= 0 && rest > 0; --i) {
        text[static_cast<std::size_t>(i)] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    if (!keepZeros) {
        for (std::size_t i = 0; i + 1 < text.size() && text[i] == '0'; ++i)
            text[i] = ' ';
    }
    if (value < 0)
        text.insert(text.begin(), '-');
    else if (plus)
        text.insert(text.begin(), '+');
    out = std::move(text);
}

void FormatTime(std::string& out, std::int32_t hundredths)
{
    const std::int32_t seconds = hundredths / 100;
    std::string minutePart;
    std::string secondPart;
    std::string hundredthPart;
    FormatInt(minutePart, seconds / 60, 2, 1, 0);
    FormatInt(secondPart, seconds % 60, 2, 1, 0);
    FormatInt(hundredthPart, hundredths % 100, 2, 1, 0);
    out = minutePart + ":" + secondPart + "." + hundredthPart;
}
