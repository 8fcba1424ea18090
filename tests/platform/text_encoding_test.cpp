#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct RoundTrip {
    const char* what;
    std::string sjis;
    std::string utf8;
};

// Characters that convert both ways unchanged.
const RoundTrip kRoundTrips[] = {
    {"ascii keeps backslash and tilde", "a\\b~c", "a\\b~c"},
    {"0x5C as the trail byte of a pair", "\x83\x5C", "ソ"},
    {"pair then backslash", "\x83\x5C\\x", "ソ\\x"},
    {"hiragana and kanji", "\x82\xA0\x8A\xBF", "あ漢"},
    {"half-width katakana", "\xB1\xDF", "ｱﾟ"},
    {"NEC special characters", "\x87\x40", "①"},
    {"IBM extension", "\xFA\x40", "ⅰ"},
    {"full-width tilde of the Windows table", "\x81\x60", "～"},
    {"embedded NUL", std::string("a\0b", 3), std::string("a\0b", 3)},
    {"empty", "", ""},
};

TEST(TextEncoding, ConvertsBothWays)
{
    for (const auto& c : kRoundTrips) {
        EXPECT_EQ(plat::sjisToUtf8(c.sjis), c.utf8) << c.what;
        EXPECT_EQ(plat::sjisToUtf8Exact(c.sjis), c.utf8) << c.what;
        EXPECT_EQ(plat::utf8ToSjis(c.utf8), c.sjis) << c.what;
        EXPECT_EQ(plat::utf8ToSjisLossy(c.utf8), c.sjis) << c.what;
    }
}

struct BadSjis {
    const char* what;
    std::string sjis;
    std::string replaced;
};

const BadSjis kBadSjis[] = {
    {"lead byte cut off at the end", "ab\x83", "ab\uFFFD"},
    {"lead byte before a byte that is no trail byte", "\x83 x", "\uFFFD x"},
    {"byte that is no character", "\x80", "\uFFFD"},
    {"bytes above the lead range", "\xFD\xFE\xFF", "\uFFFD\uFFFD\uFFFD"},
    {"good text after a bad byte", "\xA0\x82\xA0", "\uFFFDあ"},
};

TEST(TextEncoding, InvalidShiftJisIsReplacedOrRefused)
{
    for (const auto& c : kBadSjis) {
        EXPECT_EQ(plat::sjisToUtf8(c.sjis), c.replaced) << c.what;
        EXPECT_FALSE(plat::sjisToUtf8Exact(c.sjis)) << c.what;
    }
}

struct BadUtf8 {
    const char* what;
    std::string utf8;
    std::string lossy;
};

const BadUtf8 kBadUtf8[] = {
    {"character outside the code page", "a\u00E9b", "a?b"},
    {"character outside the basic plane", "x\U0001F600y", "x?y"},
    {"sequence cut off at the end", "ab\xE3\x81", "ab?"},
    {"stray continuation byte", "a\x80z", "a?z"},
    {"cut sequence before ascii", "\xE3\x81z", "?z"},
};

TEST(TextEncoding, UnconvertibleUtf8IsRefusedOrReplaced)
{
    for (const auto& c : kBadUtf8) {
        EXPECT_FALSE(plat::utf8ToSjis(c.utf8)) << c.what;
        EXPECT_EQ(plat::utf8ToSjisLossy(c.utf8), c.lossy) << c.what;
    }
}

TEST(TextEncoding, WaveDashAndMinusTakeTheWindowsForms)
{
    // Texts typed on other systems use the JIS code points; the Windows code
    // page has the full-width forms at the same places.
    EXPECT_EQ(plat::utf8ToSjis("〜−"), std::string("\x81\x60\x81\x7C"));
}

TEST(TextEncoding, Utf8DecodesToCodePointsAndMalformedSequencesToReplacements)
{
    struct Case {
        const char* what;
        std::string utf8;
        std::u32string codePoints;
    };
    const Case cases[] = {
        {"one to four bytes", "a\u00E9\u30BD\U0001F600", U"a\u00E9\u30BD\U0001F600"},
        {"empty", "", U""},
        {"stray continuation byte", "a\x80z", U"a\uFFFDz"},
        {"sequence cut off at the end", "ab\xE3\x81", U"ab\uFFFD"},
        {"cut sequence before ascii", "\xE3\x81z", U"\uFFFDz"},
        {"overlong forms", "\xC1\x81\xE0\x81\x81", U"\uFFFD\uFFFD\uFFFD"},
        {"surrogate", "\xED\xA0\x80", U"\uFFFD"},
        {"beyond the last code point", "\xF4\x90\x80\x80", U"\uFFFD"},
        {"bytes that start nothing", "\xF8\xFF", U"\uFFFD\uFFFD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::utf8CodePoints(c.utf8), c.codePoints) << c.what;
}

TEST(TextEncoding, LongTextConvertsWhole)
{
    std::string sjis;
    std::string utf8;
    for (int i = 0; i < 5000; ++i) {
        sjis += "\xB1\x83\x5C"; // half-width katakana grows from 1 to 3 bytes
        utf8 += "ｱソ";
    }
    EXPECT_EQ(plat::sjisToUtf8(sjis), utf8);
    EXPECT_EQ(plat::utf8ToSjis(utf8), sjis);
}

} // namespace
