#include "core/dbcs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IsDBCSPair, NeedsLeadThenTrailByte)
{
    struct Case {
        std::string bytes; // always followed by the string's own NUL
        int expected;
    };
    const Case cases[] = {
        {"\x82\xA0", 1}, // あ
        {"\x83\x5C", 1}, // ソ: trail byte is a backslash
        {"\x81\x40", 1}, {"\x9F\xFC", 1}, {"\xE0\x80", 1}, {"\xFC\x7E", 1},
        {"\x82", 0},                                       // lead byte before the terminating NUL
        {"\x81\x3F", 0}, {"\x81\x7F", 0}, {"\x81\xFD", 0}, // not trail bytes
        {"\x80\x40", 0}, {"\xA0\x40", 0}, {"\xB1\x40", 0}, {"\xFD\x40", 0}, // not lead bytes
        {"ab", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsDBCSPair(c.bytes.c_str()), c.expected) << testing::PrintToString(c.bytes);
    }
}

TEST(CountChars, PairsCountOneAndLineFeedsNone)
{
    struct Case {
        const char* text;
        int expected;
    };
    const Case cases[] = {
        {"\x82\xA0\x82\xA2\n\x82\xA4", 3}, // three double-byte characters and a line feed
        {"ab\ncd", 4},
        {"\x83\x5C\\", 2}, // pair with 0x5C trail, then a real backslash
        {"\xB1\xB2", 2},   // half-width katakana are single bytes
        {"a\x82", 2},      // lead byte cut off by the NUL counts as a byte
        {"\n\n", 0},
        {"", 0},
        {nullptr, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountChars(c.text), c.expected) << testing::PrintToString(c.text);
    }
}

TEST(DbcsSafeLength, NeverEndsInsideAPair)
{
    struct Case {
        std::string text;
        std::size_t length;
        std::size_t expected;
    };
    const Case cases[] = {
        {"ab\x82\xA0", 3, 2},
        {"ab\x82\xA0", 4, 4},
        {"\x82\x82\x82\xA0", 3, 2}, // 82 82 is a pair, so the third byte starts the next one
        {"\x82\x82\x82\xA0", 2, 2},
        {"abc", 2, 2},
        {"", 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DbcsSafeLength(c.text.data(), c.length), c.expected)
            << testing::PrintToString(c.text) << " " << c.length;
    }
}

} // namespace
