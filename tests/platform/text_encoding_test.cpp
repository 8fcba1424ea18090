#include "platform/text_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(TextEncoding, TheShiftJisCharactersAreEveryPrintableOneOnce)
{
    const std::u32string& all = plat::sjisCharacters();
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    EXPECT_EQ(std::adjacent_find(all.begin(), all.end()), all.end());
    // Each round trip's characters, the symbols beyond the common Japanese set
    // among them, and none that does not print.
    for (const RoundTrip& c : kRoundTrips) {
        for (char32_t code : plat::utf8CodePoints(c.utf8)) {
            if (code >= 0x20) {
                EXPECT_TRUE(std::binary_search(all.begin(), all.end(), code)) << c.what;
            }
        }
    }
    for (char32_t code : std::u32string(U"…※★←髙"))
        EXPECT_TRUE(std::binary_search(all.begin(), all.end(), code))
            << static_cast<unsigned>(code);
    for (char32_t code : std::u32string(U"\x01\n\x7F\uFFFD€"))
        EXPECT_FALSE(std::binary_search(all.begin(), all.end(), code))
            << static_cast<unsigned>(code);
    // Each converts back to the bytes of one character (all lie in the
    // Basic Multilingual Plane: three bytes of UTF-8 at most).
    for (char32_t code : all) {
        std::string utf8;
        if (code < 0x80) {
            utf8 += static_cast<char>(code);
        } else if (code < 0x800) {
            utf8 += static_cast<char>(0xC0 | code >> 6);
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | code >> 12);
            utf8 += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        }
        const auto sjis = plat::utf8ToSjis(utf8);
        ASSERT_TRUE(sjis) << static_cast<unsigned>(code);
        EXPECT_LE(sjis->size(), 2u) << static_cast<unsigned>(code);
    }
}

} // namespace
