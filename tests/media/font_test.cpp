// The Font: cell layout and measuring, symbol letters, framed text boxes
// and centring, digit strips, and Shift-JIS text with kanji, kana and ASCII
// drawn with the Japanese face, in both back ends.

#include "media/graphics_fixture.h"

#include <set>

#include "core/sjis_text.h"
#include "media/font.h"
#include "platform/text_face.h"

using namespace gfxtest;

namespace {

class FontInMode : public testing::TestWithParam<Mode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpMode(GetParam(), 640, 480));
        InitFontDef();
        // Font 1: height 15, cells of 16 by 16, colour 241; no pictures.
        const FONTDEF& d = g_FontDef[1];
        ASSERT_TRUE(font.Create(d.face.data(), d.fontWidth, d.fontHeight, d.cellWidth, d.lineHeight,
                                d.colour, nullptr, 1, 240, nullptr));
        ASSERT_TRUE(font.m_hFont != nullptr) << "a Japanese face is installed";
        ASSERT_TRUE(DDCreateSurface(&dest, 640, 64, 0, 1, 0, 0, 0));
        DDClearPal(&dest, B);
        reader = std::make_unique<PaletteReader>(256);
    }
    void TearDown() override
    {
        font.Release();
        std::erase(g_FontList, &font);
        for (DDSURFACEDATA* sd : {&dest, &sheet, &window})
            DDReleaseSurface(sd);
        TearDownMode();
    }
    // Pixels of a palette colour inside a rectangle of dest.
    int count(int colour, int x, int y, int w, int h) const
    {
        int n = 0;
        for (int yy = y; yy < y + h; ++yy)
            for (int xx = x; xx < x + w; ++xx)
                n += reader->at(dest, xx, yy) == colour;
        return n;
    }
    int textPixels(int x, int y, int w, int h) const
    {
        return count(font.m_ColorNumber, x, y, w, h);
    }

    static constexpr int B = 20;
    Font font;
    DDSURFACEDATA dest, sheet, window;
    std::unique_ptr<PaletteReader> reader;
};

TEST_P(FontInMode, CellFontMeasuresByCharacterCounts)
{
    struct Case {
        const char* utf8;
        int width, height;
    };
    const Case cases[] = {
        {"AB\n漢", 32, 32}, {"", 0, 16}, {"あいう", 48, 16}, {"a\n\nbc\n", 32, 64}};
    for (const Case& c : cases) {
        int w = -1, h = -1;
        font.MeasureText(Sjis(c.utf8), &w, &h);
        EXPECT_EQ(w, c.width) << c.utf8;
        EXPECT_EQ(h, c.height) << c.utf8;
    }
}

TEST_P(FontInMode, GlyphMeasuringCountsTwentyPixelsForAnEmptyLine)
{
    int w = 0, h = 0;
    font.MeasureTextGdi("A\n\nB", &w, &h);
    EXPECT_EQ(h, 16 + 20 + 16);
    EXPECT_GT(w, 0);
    EXPECT_LE(w, 16);
}

TEST_P(FontInMode, KanjiKanaAndAsciiEachDrawInTheirCell)
{
    font.DrawText(&dest, 0, 0, Sjis("漢かAア\n字"), 1);
    for (int cell = 0; cell < 4; ++cell) {
        EXPECT_GT(textPixels(cell * 16, 0, 16, 16), 8) << "cell " << cell;
    }
    EXPECT_EQ(textPixels(64, 0, 64, 16), 0) << "nothing past the text";
    EXPECT_GT(textPixels(0, 16, 16, 16), 8) << "the second line";
    EXPECT_EQ(count(-2, 0, 0, 640, 64), 0) << "only text colour and background";
}

TEST_P(FontInMode, FullWidthSpaceDrawsNothingButTakesItsCell)
{
    font.DrawText(&dest, 0, 0, Sjis("　A"), 1);
    EXPECT_EQ(textPixels(0, 0, 16, 16), 0);
    EXPECT_GT(textPixels(16, 0, 16, 16), 4);
}

TEST_P(FontInMode, SymbolLettersDrawCellsOfTheSymbolSheet)
{
    ASSERT_TRUE(DDCreateSurface(&sheet, 26 * 16, 16, 1, 1, 0, 0, 0));
    DDClearPal(&sheet, 7);
    font.m_SymbolSheet = &sheet;
    font.m_Symbol = 1;
    font.DrawText(&dest, 0, 0, "1a2", 0);
    EXPECT_GT(textPixels(0, 0, 16, 16), 4);
    EXPECT_EQ(count(7, 16, 0, 16, 16), 256) << "the first symbol cell";
    EXPECT_EQ(textPixels(16, 0, 16, 16), 0);
    EXPECT_GT(textPixels(32, 0, 16, 16), 4);
    DDClearPal(&dest, B);
    font.DrawText(&dest, 0, 0, "1a2", 1);
    EXPECT_EQ(count(7, 0, 0, 48, 16), 0) << "no symbols asked for";
    EXPECT_GT(textPixels(16, 0, 16, 16), 4) << "the letter itself";
}

TEST_P(FontInMode, TextBoxGrowsByTheMarginAndCentresOnTheWindowPicture)
{
    ASSERT_TRUE(DDCreateSurface(&window, 640, 40, 0, 1, 0, 0, 0));
    DDClearPal(&window, 9);
    font.m_BoxPicture = &window;
    font.DrawTextBox(&dest, 10000, 10, 0, 0, "ABCDE", 8, 0);
    // 5 cells of 16 and a margin of 8: 88 wide, at 320 - 44.
    EXPECT_EQ(reader->at(dest, 275, 12), 240) << "frame left of the box";
    EXPECT_EQ(reader->at(dest, 276, 12), 9) << "the box's first column";
    EXPECT_EQ(reader->at(dest, 363, 12), 9);
    EXPECT_EQ(reader->at(dest, 364, 12), 240) << "frame right of the box";
    EXPECT_EQ(reader->at(dest, 276, 9), 240) << "frame above the box";
    EXPECT_EQ(reader->at(dest, 276, 26), 240) << "frame below (16 high)";
    EXPECT_EQ(textPixels(276, 10, 8, 16), 0) << "left margin";
    EXPECT_GT(textPixels(284, 10, 80, 16), 20);
}

TEST_P(FontInMode, CentredCharactersSitInTheMiddleOfTheirCell)
{
    font.m_Centre = 1;
    font.DrawText(&dest, 0, 0, "I", 1);
    int left = 16, right = -1;
    for (int x = 0; x < 16; ++x)
        if (textPixels(x, 0, 1, 16)) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    ASSERT_GE(right, left);
    EXPECT_NEAR((left + right) / 2.0, 7.5, 2.0);
}

TEST_P(FontInMode, DrawingThroughAPaletteKeepsTheBackground)
{
    font.DrawTextF(&dest, 100, 20, "%d", 7);
    EXPECT_EQ(reader->at(dest, 99, 20), B);
    EXPECT_EQ(reader->at(dest, 100, 20), B) << "the empty part of the cell";
    EXPECT_GT(textPixels(100, 20, 16, 16), 4);
}

INSTANTIATE_TEST_SUITE_P(Modes, FontInMode,
                         testing::Values(AllModes()[0], AllModes()[3], AllModes()[4],
                                         AllModes()[5]),
                         ModeName);

TEST(DigitStrips, EachFontGetsTenCellsOfDigits)
{
    ASSERT_TRUE(SetUpMode(AllModes()[0], 640, 480));
    InitFontDef();
    InitDigitBmp();
    std::array<Font, 4> fonts;
    std::array<DDSURFACEDATA, 4> strips;
    ASSERT_EQ(CreateFonts(fonts.data(), g_FontDef.data(), 4), 1);
    ASSERT_EQ(
        CreateDigitStrips(strips.data(), g_DigitBmp.data(), 4, fonts.data(), g_FontDef.data()), 1);
    EXPECT_EQ(strips[3].width, 320);
    EXPECT_EQ(strips[3].height, 32);
    EXPECT_EQ(strips[0].width, 100);
    // "7" fills the cell from 224 of font 3's strip.
    const DDPixels& p = *strips[3].pixels();
    auto inked = [&](int x0) {
        int n = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = x0; x < x0 + 32; ++x)
                n += (p.get(x, y) >> 24) != 0;
        return n;
    };
    for (int d = 0; d < 10; ++d) {
        EXPECT_GT(inked(d * 32), 20) << d;
    }
    EXPECT_EQ(p.get(0, 0), 0u) << "the strip's background is transparent";
    // Every font is listed once, with a serial number of its own.
    std::set<int> serials;
    for (Font& f : fonts) {
        EXPECT_EQ(std::count(g_FontList.begin(), g_FontList.end(), &f), 1);
        serials.insert(f.m_Serial);
    }
    EXPECT_EQ(serials.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        fonts[i].Release();
        std::erase(g_FontList, &fonts[i]);
        DDReleaseSurface(&strips[i]);
    }
    TearDownMode();
}

TEST(FontFace, DefaultFaceNameMapsToTheJapaneseFace)
{
    InitFontDef();
    EXPECT_STREQ(g_FontDef[0].face.data(), Sjis("ＭＳ ゴシック"));
    auto face = plat::TextFace::open("ＭＳ ゴシック", 15);
    ASSERT_TRUE(face != nullptr);
    EXPECT_EQ(face->measure(Sjis("漢字")), 30) << "full-width characters as wide as the height";
}

} // namespace
