// Fonts through fontconfig and FreeType: Windows face names map to an
// installed Japanese face, and a face sized by cell height measures and
// draws Shift-JIS text.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "platform/font_lookup.h"
#include "platform/text_encoding.h"
#include "platform/text_face.h"

namespace {

std::string Sjis(const char* utf8)
{
    return plat::utf8ToSjis(utf8).value_or("");
}

TEST(FontLookup, WindowsFaceNamesMapToJapaneseFacesOfTheSameKind)
{
    struct Case {
        const char* face;
        const char* first;
    };
    const Case cases[] = {
        {"ＭＳ ゴシック", "IPAGothic"},    {"MS Gothic", "IPAGothic"},
        {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS UI Gothic", "IPAPGothic"},
        {"ＭＳ 明朝", "IPAMincho"},        {"メイリオ", "IPAGothic"},
        {"DejaVu Sans", "DejaVu Sans"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plat::fontFamiliesFor(c.face).front(), c.first) << c.face;
    }
}

TEST(FontLookup, GothicNameFindsAnInstalledJapaneseFace)
{
    auto file = plat::findJapaneseFontFile("ＭＳ ゴシック");
    ASSERT_TRUE(file.has_value());
    EXPECT_TRUE(std::filesystem::exists(*file));
    const std::string real = std::filesystem::canonical(*file).string();
    EXPECT_NE(real.find("ipag"), std::string::npos) << real;
    EXPECT_TRUE(plat::findJapaneseFontFile("No Such Face At All").has_value())
        << "an unknown face still gets a Japanese one";
}

class Face : public testing::Test {
protected:
    void SetUp() override
    {
        face = plat::TextFace::open("ＭＳ ゴシック", 16);
        ASSERT_TRUE(face != nullptr);
    }
    // The inked pixels of a text drawn at (0, 0).
    std::set<std::pair<int, int>> ink(const std::string& sjis)
    {
        std::set<std::pair<int, int>> pixels;
        face->draw(sjis, 0, 0, [&](int x, int y) { pixels.insert({x, y}); });
        return pixels;
    }
    std::shared_ptr<plat::TextFace> face;
};

TEST_F(Face, IsSizedByItsCellHeight)
{
    EXPECT_EQ(face->cellHeight(), 16);
    EXPECT_GT(face->ascent(), 8);
    EXPECT_LT(face->ascent(), 16);
    EXPECT_EQ(face->measure(Sjis("漢")), 16) << "a full-width character fills a square cell";
    EXPECT_EQ(face->measure("A"), 8) << "a half-width character half of it";
    EXPECT_EQ(face->measure(Sjis("AB漢か")), 48);
    EXPECT_EQ(face->measure(""), 0);
}

TEST_F(Face, KanjiKanaAndAsciiAllDrawInsideTheirCells)
{
    for (const char* text : {"漢", "か", "ア", "A", "g"}) {
        auto pixels = ink(Sjis(text));
        EXPECT_GT(pixels.size(), 10u) << text;
        for (auto [x, y] : pixels) {
            EXPECT_GE(x, 0) << text;
            EXPECT_LT(x, face->measure(Sjis(text))) << text;
            EXPECT_GE(y, 0) << text;
            EXPECT_LT(y, 16) << text;
        }
    }
    EXPECT_TRUE(ink(" ").empty());
    EXPECT_TRUE(ink("\n").empty());
}

TEST_F(Face, DamagedShiftJisDrawsWithoutFailing)
{
    const std::string broken = "\x82"; // a lead byte without its trail byte
    face->draw(broken + "A", 0, 0, [](int, int) {});
    EXPECT_GT(face->measure(broken + "A"), 8);
}

TEST(FaceSize, RefusesImpossibleHeights)
{
    EXPECT_EQ(plat::TextFace::open("ＭＳ ゴシック", 0), nullptr);
    EXPECT_EQ(plat::TextFace::open("ＭＳ ゴシック", -3), nullptr);
    EXPECT_EQ(plat::TextFace::openFile("/nonexistent.ttf", 16), nullptr);
}

} // namespace
