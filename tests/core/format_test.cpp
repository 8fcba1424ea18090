#include "core/format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FormatStr, FormatsLikePrintf)
{
    std::string out = "old text";
    FormatStr(out, "%s[%d] ( %d , %03d )", "err V", 7, -2, 4);
    EXPECT_EQ(out, "err V[7] ( -2 , 004 )");
    FormatStr(out, "%s", "");
    EXPECT_EQ(out, "");
}

TEST(FormatStr, PercentInAnArgumentIsNoDirective)
{
    std::string out;
    FormatStr(out, "%s", "100%d %s");
    EXPECT_EQ(out, "100%d %s");
}

TEST(FormatStr, OutputMayBeAnArgument)
{
    std::string out = "stage";
    FormatStr(out, "%s_%03d.%s", out.c_str(), 12, out.c_str());
    EXPECT_EQ(out, "stage_012.stage");
}

struct LengthCase {
    const char* what;
    std::string text;
    std::string expected;
};

TEST(FormatStr, KeepsUpTo5119BytesAndCutsLongerTexts)
{
    const std::string full(5119, 'x');
    const LengthCase cases[] = {
        {"exactly the limit", full, full},
        {"one byte over", full + "y", full},
        {"far over", full + std::string(20000, 'z'), full},
        // A double-byte character across the limit goes whole, not half.
        {"pair across the limit", std::string(5118, 'a') + "\x82\xA0", std::string(5118, 'a')},
        {"pair ending at the limit", std::string(5117, 'a') + "\x82\xA0" + "b",
         std::string(5117, 'a') + "\x82\xA0"},
        {"trail byte 0x5C at the limit", std::string(5117, 'a') + "\x83\x5C" + "\\",
         std::string(5117, 'a') + "\x83\x5C"},
    };
    for (const auto& c : cases) {
        std::string out;
        FormatStr(out, "%s", c.text.c_str());
        EXPECT_EQ(out, c.expected) << c.what;
    }
}

} // namespace
