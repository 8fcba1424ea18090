// Fills in every mode: the value each back end writes for a palette number,
// clipping at every edge (including rectangles that start before the surface
// and also reach past its far edge), transparency by palette number 0, and
// numbers outside the palette.

#include "media/graphics_fixture.h"

using namespace gfxtest;
using Grid = std::vector<std::vector<int>>;

namespace {

class FillInEveryMode : public testing::TestWithParam<Mode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpMode(GetParam(), 16, 12));
        reader = std::make_unique<PaletteReader>();
        ASSERT_TRUE(DDCreateSurface(&dest, 6, 4, 0, 1, 0, 0, 0));
    }
    void TearDown() override
    {
        DDReleaseSurface(&dest);
        TearDownMode();
    }
    DDSURFACEDATA dest;
    std::unique_ptr<PaletteReader> reader;
};

struct FillCase {
    const char* name;
    int x, y, w, h;
    Grid expected;
};

const int B = 20;

const std::vector<FillCase> kFills = {
    {"Inside",
     1,
     1,
     2,
     2,
     {{B, B, B, B, B, B}, {B, 5, 5, B, B, B}, {B, 5, 5, B, B, B}, {B, B, B, B, B, B}}},
    {"NegativeOrigin",
     -2,
     -1,
     4,
     3,
     {{5, 5, B, B, B, B}, {5, 5, B, B, B, B}, {B, B, B, B, B, B}, {B, B, B, B, B, B}}},
    {"NegativeOriginPastFarEdges",
     -2,
     -3,
     20,
     5,
     {{5, 5, 5, 5, 5, 5}, {5, 5, 5, 5, 5, 5}, {B, B, B, B, B, B}, {B, B, B, B, B, B}}},
    {"PastRightAndBottom",
     4,
     2,
     5,
     5,
     {{B, B, B, B, B, B}, {B, B, B, B, B, B}, {B, B, B, B, 5, 5}, {B, B, B, B, 5, 5}}},
    {"WholeSurfaceAndMore",
     -1,
     -1,
     8,
     6,
     {{5, 5, 5, 5, 5, 5}, {5, 5, 5, 5, 5, 5}, {5, 5, 5, 5, 5, 5}, {5, 5, 5, 5, 5, 5}}},
    {"RightOfSurface",
     6,
     0,
     2,
     2,
     {{B, B, B, B, B, B}, {B, B, B, B, B, B}, {B, B, B, B, B, B}, {B, B, B, B, B, B}}},
    {"AboveSurface",
     0,
     -5,
     3,
     4,
     {{B, B, B, B, B, B}, {B, B, B, B, B, B}, {B, B, B, B, B, B}, {B, B, B, B, B, B}}},
    {"EmptyWidth",
     1,
     1,
     0,
     3,
     {{B, B, B, B, B, B}, {B, B, B, B, B, B}, {B, B, B, B, B, B}, {B, B, B, B, B, B}}},
    {"NegativeHeight",
     1,
     3,
     2,
     -2,
     {{B, B, B, B, B, B}, {B, B, B, B, B, B}, {B, B, B, B, B, B}, {B, B, B, B, B, B}}},
};

TEST_P(FillInEveryMode, RectanglesAreClippedAtEveryEdge)
{
    for (const FillCase& c : kFills) {
        SCOPED_TRACE(c.name);
        DDClearPal(&dest, B);
        DDBoxFillPal(&dest, c.x, c.y, c.w, c.h, 5);
        EXPECT_EQ(reader->grid(dest, 6, 4), c.expected);
    }
}

TEST_P(FillInEveryMode, PaletteNumberOutsideThePaletteIsLoggedAndFillsWithColourZero)
{
    LogRecorder log;
    DDClearPal(&dest, B);
    DDBoxFillPal(&dest, 0, 0, 1, 1, 256);
    DDBoxFillPal(&dest, 1, 0, 1, 1, -1);
    EXPECT_TRUE(log.saw("log:PalNumToRGB(DWORD dwPalNum) Err dwPalNum = 256"));
    EXPECT_TRUE(log.saw("log:PalNumToRGB(DWORD dwPalNum) Err dwPalNum = -1"));
    if (g_D3DState) {
        // Colour 0 has alpha 0: the fill leaves the picture as it was.
        EXPECT_EQ(reader->at(dest, 0, 0), B);
    } else {
        EXPECT_EQ(dest.pixels()->get(0, 0), 0u);
        EXPECT_EQ(dest.pixels()->get(1, 0), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, FillInEveryMode, testing::ValuesIn(AllModes()), ModeName);

// The stored value of palette colour 5 of the test palette in each mode:
// red 40, green 8, blue 208 (or 5, 1, 26 as 16-bit channel values).
struct FillValueCase {
    Mode mode;
    std::uint32_t value;
};

class FillValue : public testing::TestWithParam<FillValueCase> {};

TEST_P(FillValue, PaletteColourBecomesThePixelValueOfTheMode)
{
    ASSERT_TRUE(SetUpMode(GetParam().mode, 8, 8));
    {
        DDSURFACEDATA sd;
        ASSERT_TRUE(DDCreateSurface(&sd, 2, 2, 0, 1, 0, 0, 0));
        DDClearPal(&sd, 5);
        EXPECT_EQ(sd.pixels()->get(1, 1), GetParam().value);
        DDReleaseSurface(&sd);
    }
    TearDownMode();
}

INSTANTIATE_TEST_SUITE_P(Modes, FillValue,
                         testing::Values(FillValueCase{AllModes()[0], 0xFF2808D0u},
                                         FillValueCase{AllModes()[1],
                                                       0x8000u | 5u << 10 | 1u << 5 | 26u},
                                         FillValueCase{AllModes()[3], 5u},
                                         FillValueCase{AllModes()[4], 5u << 11 | 1u << 5 | 26u},
                                         FillValueCase{AllModes()[5], 0x2808D0u}),
                         [](const auto& info) { return std::string(info.param.mode.name); });

class TextureFill : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetUpMode(AllModes()[0], 16, 12)); }
    void TearDown() override { TearDownMode(); }
};

TEST_F(TextureFill, PaletteZeroMakesAKeyedTextureTransparent)
{
    DDSURFACEDATA keyed;
    ASSERT_TRUE(DDCreateSurface(&keyed, 2, 1, 1, 0, 0, 0, 0));
    DDClearPal(&keyed, 16);
    EXPECT_EQ(keyed.pixels()->get(0, 0) >> 24, 0xFFu);
    DDClearPal(&keyed, 0);
    EXPECT_EQ(keyed.pixels()->get(0, 0), g_D3DState->keyed32);
    EXPECT_EQ(keyed.pixels()->get(1, 0), 0u);
    DDReleaseSurface(&keyed);
}

TEST_F(TextureFill, ColourValueAlphaBlendsTheFill)
{
    DDSURFACEDATA sd;
    ASSERT_TRUE(DDCreateSurface(&sd, 1, 1, 0, 0, 0, 0, 0));
    DDFillRect(&sd, 0, 0, 1, 1, 0xFF0000FFu);
    DDFillRect(&sd, 0, 0, 1, 1, 0x80FF0000u);
    // red 255 x 128/255 = 128, blue 255 x 127/255 = 127; the alpha blends
    // the same way: 128 x 128/255 + 255 x 127/255 = 64 + 127.
    EXPECT_EQ(sd.pixels()->get(0, 0), 0xBF80007Fu);
    DDReleaseSurface(&sd);
}

TEST_F(TextureFill, NewRenderTargetHoldsTheOpaqueKeyColour)
{
    DDSURFACEDATA sd;
    ASSERT_TRUE(DDCreateSurface(&sd, 1, 1, 1, 0, 0, 0, 0));
    EXPECT_EQ(sd.pixels()->get(0, 0), g_D3DState->opaqueKey32);
    DDReleaseSurface(&sd);
}

} // namespace
