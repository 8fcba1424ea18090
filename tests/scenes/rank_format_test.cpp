// The number and time formats of the results panel and the ranking board,
// down to the most negative value.

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "scenes/rank_format.h"

namespace {

TEST(RankFormat, DigitCount)
{
    const struct {
        std::int32_t value;
        int digits;
    } cases[] = {
        {0, 1},  {5, 1},     {9, 1},      {10, 2},       {-10, 2},
        {-1, 1}, {99999, 5}, {100000, 6}, {INT_MAX, 10}, {INT_MIN, 10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DigitCount(c.value), c.digits) << c.value;
}

TEST(RankFormat, FormatInt)
{
    const struct {
        std::int32_t value;
        int minimum, keepZeros, plus;
        const char* text;
    } cases[] = {
        {5, 3, 0, 0, "  5"},
        {-5, 3, 1, 0, "-005"},
        {-5, 3, 0, 0, "-  5"},
        {7, 0, 0, 1, "+7"},
        {0, 0, 0, 0, "0"},
        {0, 3, 0, 0, "  0"},
        {0, 2, 1, 1, "+00"},
        {1234, 2, 0, 0, "1234"},
        {1204, 6, 0, 0, "  1204"},
        {INT_MAX, 0, 0, 1, "+2147483647"},
        {INT_MIN, 0, 0, 0, "-2147483648"},
        {INT_MIN, 12, 1, 1, "-002147483648"},
    };
    for (const auto& c : cases) {
        std::string text = "old";
        FormatInt(text, c.value, c.minimum, c.keepZeros, c.plus);
        EXPECT_EQ(text, c.text) << c.value << " minimum " << c.minimum;
    }
}

TEST(RankFormat, FormatTime)
{
    const struct {
        std::int32_t hundredths;
        const char* text;
    } cases[] = {
        {0, "00:00.00"},
        {345, "00:03.45"},
        {6000, "01:00.00"},
        {599999, "99:59.99"},  // the longest play time
        {600000, "100:00.00"}, // a hundred minutes take three digits
        {INT_MAX, "357913:56.47"},
        {-345, "00:-03.-45"}, // each negative part has its own sign
        {INT_MIN, "-357913:-56.-48"},
    };
    for (const auto& c : cases) {
        std::string text;
        FormatTime(text, c.hundredths);
        EXPECT_EQ(text, c.text) << c.hundredths;
    }
}

} // namespace
