#include "core/string_helpers.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

struct SubStrCase {
    std::int32_t start;
    std::int32_t count;
    const char* expected;
};

TEST(SubStrClamp, ClampsStartAndCount)
{
    const SubStrCase cases[] = {
        {2, 3, "cde"},       {4, 10, "ef"},     {2, -1, "cdef"},
        {-2, 3, "a"},        {-3, 1, "abcdef"}, {-2, 2, ""},
        {6, 1, ""},          {7, 1, ""},        {0, 0, ""},
        {0, 6, "abcdef"},    {5, 1, "f"},       {0, -5, "abcdef"},
        {3, INT_MAX, "def"}, {INT_MAX, 1, ""},  {-1, INT_MIN, "abcdef"},
        {-10, 12, "ab"},
    };
    const std::string text = "abcdef";
    for (const auto& c : cases) {
        EXPECT_EQ(SubStrClamp(text, c.start, c.count), c.expected)
            << "(" << c.start << ", " << c.count << ")";
    }
}

TEST(SubStrClamp, SourceEndsAtItsFirstNul)
{
    const std::string text("abc\0def", 7);
    EXPECT_EQ(SubStrClamp(text, 1, -1), "bc");
    EXPECT_EQ(SubStrClamp(text, 1, 10), "bc");
    EXPECT_EQ(SubStrClamp(text, 3, 1), "");
    EXPECT_EQ(SubStrClamp(text, 4, 1), "");
    EXPECT_EQ(text.size(), 7u);
}

TEST(SubStrClamp, CountsBytesNotCharacters)
{
    // Two double-byte characters: byte 2 starts the second one.
    EXPECT_EQ(SubStrClamp("\x82\xA0\x82\xA2", 2, 2), "\x82\xA2");
}

TEST(SyncStrLen, DropsEverythingFromTheFirstNul)
{
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {std::string("ab\0cd", 5), "ab"},
        {std::string("\0xyz", 4), ""},
        {"", ""},
        {"plain", "plain"},
        {std::string(6000, 'q'), std::string(6000, 'q')},
    };
    for (auto c : cases) {
        const std::int32_t length = SyncStrLen(c.text);
        EXPECT_EQ(c.text, c.expected);
        EXPECT_EQ(length, static_cast<std::int32_t>(c.expected.size()));
    }
}

} // namespace
