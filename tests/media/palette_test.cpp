// Palette blends and rotation, the transparent colour of each mode, and the
// screen fades of both back ends with their angles carried between calls.

#include "media/graphics_fixture.h"

#include <cmath>

#include "media/dd_fade.h"

using namespace gfxtest;

namespace {

std::array<DDPALENTRY, 256> Ramp()
{
    std::array<DDPALENTRY, 256> p;
    for (int i = 0; i < 256; ++i)
        p[i] = DDPALENTRY{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                          static_cast<std::uint8_t>(i / 2), PC_EXPLICIT};
    return p;
}

TEST(PaletteBlend, MixesEachChannelWithTheColourByTheFactor)
{
    const auto source = Ramp();
    struct Case {
        int factor, red, green, blue;
        DDPALENTRY expected; // entry 101 (101, 154, 50)
    };
    const Case cases[] = {
        {128, 0, 0, 0, {50, 77, 25, PC_RESERVED}},   // half, rounded down
        {256, 9, 9, 9, {101, 154, 50, PC_RESERVED}}, // the source
        {0, 9, 8, 7, {9, 8, 7, PC_RESERVED}},        // the colour
        {64, 255, 255, 255, {216, 229, 203, PC_RESERVED}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.factor);
        std::array<DDPALENTRY, 256> dest{};
        DDBlendPalette(dest.data(), 100, 102, c.factor, c.red, c.green, c.blue, source.data());
        EXPECT_EQ(dest[101].red, c.expected.red);
        EXPECT_EQ(dest[101].green, c.expected.green);
        EXPECT_EQ(dest[101].blue, c.expected.blue);
        EXPECT_EQ(dest[101].flags, c.expected.flags);
        EXPECT_EQ(dest[99].red, 0) << "outside the range";
        EXPECT_EQ(dest[103].red, 0) << "outside the range";
    }
}

class PaletteRotation : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetUpMode(AllModes()[3], 8, 8)); }
    void TearDown() override { TearDownMode(); }
};

TEST_F(PaletteRotation, EntriesTurnWithinTheirRange)
{
    const auto source = Ramp();
    struct Case {
        int steps, direction;
        int from208, from209, from211; // where entries 208, 209 and 211 end up
    };
    const Case cases[] = {
        {1, 0, 209, 210, 208}, {1, 1, 211, 208, 210},
        {3, 0, 211, 208, 210}, {5, 0, 209, 210, 208}, // five steps of a range of four: one step
        {4, 1, 208, 209, 211},                        // a whole turn
        {1, 7, 208, 209, 211},                        // no such direction: a plain copy
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.steps << " steps, direction " << c.direction);
        std::array<DDPALENTRY, 256> dest{};
        DDRotatePalette(dest.data(), 208, 211, c.steps, c.direction, source.data());
        EXPECT_EQ(dest[c.from208].red, 208);
        EXPECT_EQ(dest[c.from209].red, 209);
        EXPECT_EQ(dest[c.from211].red, 211);
        EXPECT_EQ(dest[207].red, 207);
        EXPECT_EQ(dest[212].red, 212);
    }
}

TEST(PaletteRotationAt32Bits, DoesNothing)
{
    ASSERT_TRUE(SetUpMode(AllModes()[5], 8, 8));
    const auto source = Ramp();
    std::array<DDPALENTRY, 256> dest{};
    DDRotatePalette(dest.data(), 208, 211, 1, 0, source.data());
    EXPECT_EQ(dest[209].red, 0);
    TearDownMode();
}

// The transparent colour (red 200, green 100, blue 50) in each mode.
TEST(Transmit, ColourKeyValuesOfEachMode)
{
    struct Case {
        Mode mode;
        std::uint32_t keyColor;
    };
    const Case cases[] = {
        {AllModes()[0], 0u},
        {AllModes()[1],
         (50u * 31 / 255) | (100u * 31 / 255) << 5 | (200u * 31 / 255) << 10 | 1u << 15},
        {AllModes()[4], (200u * 31 / 255) << 11 | (100u * 63 / 255) << 5 | (50u * 31 / 255)},
        {AllModes()[5], 0xC86432u},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.name);
        ASSERT_TRUE(SetUpMode(c.mode, 8, 8));
        LogRecorder log;
        DDSetTransmit(200, 100, 50);
        EXPECT_EQ(g_DDKeyColor, c.keyColor);
        if (g_D3DState && g_DDBpp == 32) {
            EXPECT_EQ(g_D3DState->opaqueKey32, 0xFFC86432u);
            EXPECT_EQ(g_D3DState->keyed32, 0u);
            EXPECT_EQ(g_D3DState->key32[0], 50);
            EXPECT_EQ(g_D3DState->key32[2], 200);
        }
        if (!g_D3DState && g_DDBpp == 16) {
            EXPECT_FALSE(log.lines.empty()) << "the 16-bit form is reported as unsupported";
        }
        TearDownMode();
    }
}

TEST(Transmit, RgbTo16PacksRawChannelValues)
{
    ASSERT_TRUE(SetUpMode(AllModes()[4], 8, 8));
    DDPALENTRY e{31, 63, 1, 0};
    EXPECT_EQ(DDRGBTo16(&e), 0xFFE1u);
    TearDownMode();
    ASSERT_TRUE(SetUpMode(AllModes()[0], 8, 8));
    EXPECT_EQ(DDRGBTo16(&e), 0u);
    TearDownMode();
}

// Fades: the angle steps, completion, and what each frame shows.
class TextureFade : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpMode(AllModes()[0], 8, 4));
        g_DDFadeAngles = DDFADEANGLES{};
    }
    void TearDown() override { TearDownMode(); }
    std::uint8_t out(double step, int finish = 0)
    {
        return DDFadeOut(g_ScreenPalette.data(), 0, 255, 0, 0, 0, step, g_Palette.data(),
                         static_cast<std::uint8_t>(finish));
    }
};

TEST_F(TextureFade, FadeOutStepsDownToZeroAndCompletesOnTheLastCall)
{
    std::vector<double> angles;
    std::vector<int> results;
    for (int call = 0; call < 14; ++call) {
        angles.push_back(g_DDFadeAngles.outD3D);
        results.push_back(out(7));
    }
    std::vector<double> expectedAngles;
    for (int a = 90; a > 0; a -= 7)
        expectedAngles.push_back(a);
    expectedAngles.push_back(0);
    EXPECT_EQ(angles, expectedAngles);
    std::vector<int> expectedResults(13, 0);
    expectedResults.push_back(1);
    EXPECT_EQ(results, expectedResults);
    EXPECT_EQ(g_DDFadeAngles.outD3D, 90.0) << "the next fade starts again";
}

TEST_F(TextureFade, EachFrameLaysBlackOverTheScreenBySine)
{
    struct Case {
        double angle;
        std::uint32_t pixel; // palette 5 (40, 8, 208) under black of alpha 255 - level
    };
    const Case cases[] = {
        {90, 0x2808D0u}, // level 255: unchanged
        {30, 0x140468u}, // level 127: 128/255 of black
        {0, 0x000000u},  // level 0: black
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        DDClearPal(&BackBuffer, 5);
        g_DDFadeAngles.outD3D = c.angle;
        out(10);
        EXPECT_EQ(BackBuffer.pixels()->get(3, 2) & 0xFFFFFF, c.pixel);
    }
}

TEST_F(TextureFade, FinishDrawsBlackAtOnceAndTheNextFadeStartsAfresh)
{
    out(10);
    out(10);
    DDClearPal(&BackBuffer, 5);
    EXPECT_EQ(out(10, 1), 1);
    EXPECT_EQ(BackBuffer.pixels()->get(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(g_DDFadeAngles.outD3D, 90.0);
}

TEST_F(TextureFade, FadeInRunsUpAndCompletesOnTheTenthCall)
{
    std::vector<int> results;
    for (int call = 0; call < 10; ++call)
        results.push_back(
            DDFadeIn(g_ScreenPalette.data(), 0, 255, 0, 0, 0, 10, g_Palette.data(), 0));
    EXPECT_EQ(results, (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(g_DDFadeAngles.inD3D, 0.0);
}

TEST_F(TextureFade, InterruptedFadeResumesWhereItStopped)
{
    out(10);
    out(10);
    EXPECT_EQ(g_DDFadeAngles.outD3D, 70.0);
    out(10);
    EXPECT_EQ(g_DDFadeAngles.outD3D, 60.0);
}

TEST(SurfaceFade, EightBitsFadeThroughThePalette)
{
    ASSERT_TRUE(SetUpMode(AllModes()[3], 8, 4));
    g_DDFadeAngles = DDFADEANGLES{};
    g_DDFadeAngles.outDDraw = 30;
    DDFadeOut(g_ScreenPalette.data(), 0, 255, 0, 0, 0, 10, g_Palette.data(), 0);
    // factor trunc(256 x sin 30) = 127: entry 5 red 40 x 127 / 256.
    EXPECT_EQ(g_ScreenPalette[5].red, 19);
    EXPECT_EQ(lpDDPalette->entries[5].red, 19);
    EXPECT_EQ(g_Palette[5].red, 40) << "the source palette stays";
    DDFadeOut(g_ScreenPalette.data(), 0, 255, 0, 0, 0, 10, g_Palette.data(), 1);
    EXPECT_EQ(lpDDPalette->entries[5].red, 0);
    EXPECT_EQ(lpDDPalette->entries[5].blue, 0);
    TearDownMode();
}

TEST(SurfaceFade, DeepDisplaysFadeTheFrameCapturedAtTheStart)
{
    ASSERT_TRUE(SetUpMode(AllModes()[5], 8, 4));
    g_DDFadeAngles = DDFADEANGLES{};
    BackBuffer.pixels()->fill(0x00FF8040u);
    DDFadeOut(g_ScreenPalette.data(), 0, 255, 0, 0, 0, 60, g_Palette.data(), 0);
    EXPECT_EQ(DDWorkSD.pixels()->get(0, 0), 0x00FF8040u) << "captured at 90 degrees";
    EXPECT_EQ(BackBuffer.pixels()->get(0, 0), 0x00FF8040u);
    // Drawing after the capture does not change the fade's picture.
    BackBuffer.pixels()->fill(0x00123456u);
    DDFadeOut(g_ScreenPalette.data(), 0, 255, 0, 0, 0, 60, g_Palette.data(), 0);
    // 30 degrees: factor 127.
    EXPECT_EQ(BackBuffer.pixels()->get(7, 3),
              (255u * 127 >> 8) << 16 | (128u * 127 >> 8) << 8 | (64u * 127 >> 8));
    TearDownMode();
}

TEST(SurfaceFade, UnpalettedFadeKeepsLevelPartsOf256)
{
    ASSERT_TRUE(SetUpMode(AllModes()[5], 4, 2));
    DDWorkSD.pixels()->fill(0xAAFFFFFFu);
    BackBuffer.pixels()->fill(0x11000000u);
    EXPECT_EQ(DDFade_UnPal(&BackBuffer, 255, 0, 0, 0, &DDWorkSD), 1);
    EXPECT_EQ(BackBuffer.pixels()->get(0, 0), 0x11FEFEFEu) << "byte 3 stays";
    EXPECT_EQ(DDFade_UnPal(&BackBuffer, 0, 0, 0, 0, &DDWorkSD), 1);
    EXPECT_EQ(BackBuffer.pixels()->get(0, 0), 0x11000000u);
    TearDownMode();
    ASSERT_TRUE(SetUpMode(AllModes()[4], 4, 2));
    DDWorkSD.pixels()->fill(0xFFFF);
    EXPECT_EQ(DDFade_UnPal(&BackBuffer, 128, 0, 0, 0, &DDWorkSD), 1);
    // 255 x 128 >> 8 = 127; narrowed: 127 x 31 / 255 = 15, 127 x 63 / 255 = 31.
    EXPECT_EQ(BackBuffer.pixels()->get(0, 0), 15u << 11 | 31u << 5 | 15u);
    TearDownMode();
}

} // namespace
