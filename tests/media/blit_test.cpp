// Copies in every mode of both back ends: same-size copies with and without
// the transparent colour, clipped at each edge and from negative origins,
// and the stretches and mirrors of each back end.

#include "media/graphics_fixture.h"

#include "media/dd_blit.h"
#include "media/dd_render.h"

using namespace gfxtest;
using Grid = std::vector<std::vector<int>>;

namespace {

const Grid kPicture = {
    {1, 2, 3, 4},
    {5, 0, 6, 7},
    {8, 9, 10, 11},
};

class BlitInEveryMode : public testing::TestWithParam<Mode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpMode(GetParam(), 16, 12));
        reader = std::make_unique<PaletteReader>();
        ASSERT_TRUE(DDCreateSurface(&src, 4, 3, 1, 1, 0, 0, 0));
        Paint(&src, kPicture);
        ASSERT_TRUE(DDCreateSurface(&dest, 6, 5, 0, 1, 0, 0, 0));
        DDClearPal(&dest, 20);
    }
    void TearDown() override
    {
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
        TearDownMode();
    }
    Grid destGrid() const { return reader->grid(dest, 6, 5); }

    DDSURFACEDATA src, dest;
    std::unique_ptr<PaletteReader> reader;
};

struct CopyCase {
    const char* name;
    int x, y, transparent;
    Grid expected;
};

const int B = 20; // the destination's background

const std::vector<CopyCase> kCopies = {
    {"OpaqueKeepsTransparentPixels",
     1,
     1,
     0,
     {{B, B, B, B, B, B},
      {B, 1, 2, 3, 4, B},
      {B, 5, 0, 6, 7, B},
      {B, 8, 9, 10, 11, B},
      {B, B, B, B, B, B}}},
    {"TransparentShowsDestination",
     1,
     1,
     1,
     {{B, B, B, B, B, B},
      {B, 1, 2, 3, 4, B},
      {B, 5, B, 6, 7, B},
      {B, 8, 9, 10, 11, B},
      {B, B, B, B, B, B}}},
    {"ClippedAtLeftAndTop",
     -1,
     -1,
     1,
     {{B, 6, 7, B, B, B},
      {9, 10, 11, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B}}},
    {"ClippedAtRightAndBottom",
     4,
     3,
     1,
     {{B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, 1, 2},
      {B, B, B, B, 5, B}}},
    {"ClippedAtRightAndTop",
     3,
     -2,
     0,
     {{B, B, B, 8, 9, 10},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B}}},
    {"ClippedAtLeftAndBottom",
     -3,
     4,
     0,
     {{B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {4, B, B, B, B, B}}},
    {"EntirelyRightOfDestination",
     6,
     0,
     0,
     {{B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B}}},
    {"EntirelyAboveDestination",
     0,
     -3,
     0,
     {{B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B},
      {B, B, B, B, B, B}}},
};

TEST_P(BlitInEveryMode, SameSizeCopies)
{
    for (const CopyCase& c : kCopies) {
        SCOPED_TRACE(c.name);
        DDClearPal(&dest, B);
        DDBlt(&dest, c.x, c.y, 4, 3, &src, 0, 0, c.transparent);
        EXPECT_EQ(destGrid(), c.expected);
    }
}

TEST_P(BlitInEveryMode, CopyOfPartOfTheSource)
{
    DDBlt(&dest, 0, 0, 2, 2, &src, 2, 1, 0);
    EXPECT_EQ(destGrid(), (Grid{{6, 7, B, B, B, B},
                                {10, 11, B, B, B, B},
                                {B, B, B, B, B, B},
                                {B, B, B, B, B, B},
                                {B, B, B, B, B, B}}));
}

TEST_P(BlitInEveryMode, PictureWiderThanDestinationFromNegativeOriginShowsItsMiddle)
{
    DDSURFACEDATA wide;
    ASSERT_TRUE(DDCreateSurface(&wide, 9, 1, 0, 1, 0, 0, 0));
    Paint(&wide, {{1, 2, 3, 4, 5, 6, 7, 8, 9}});
    DDBlt(&dest, -2, 0, 9, 1, &wide, 0, 0, 0);
    EXPECT_EQ(destGrid()[0], (std::vector<int>{3, 4, 5, 6, 7, 8}));
    DDReleaseSurface(&wide);
}

TEST_P(BlitInEveryMode, MagnifiedTwiceRepeatsEachPixel)
{
    DDBltEx(&dest, 0, 0, 6, 4, &src, 1, 0, 3, 2, 0);
    EXPECT_EQ(destGrid(), (Grid{{2, 2, 3, 3, 4, 4},
                                {2, 2, 3, 3, 4, 4},
                                {0, 0, 6, 6, 7, 7},
                                {0, 0, 6, 6, 7, 7},
                                {B, B, B, B, B, B}}));
}

TEST_P(BlitInEveryMode, CopyOntoTheBackBuffer)
{
    DDClearPal(&BackBuffer, B);
    DDBlt(&BackBuffer, 14, 10, 4, 3, &src, 0, 0, 1);
    const Grid screen = reader->grid(BackBuffer, 16, 12);
    EXPECT_EQ(screen[10][14], 1);
    EXPECT_EQ(screen[10][15], 2);
    EXPECT_EQ(screen[11][14], 5);
    EXPECT_EQ(screen[11][15], B);
    EXPECT_EQ(screen[9][15], B);
}

INSTANTIATE_TEST_SUITE_P(Modes, BlitInEveryMode, testing::ValuesIn(AllModes()), ModeName);

// Stretches differ between the back ends: the texture back end samples the
// texel under each destination pixel's centre, the surface back end the
// texel at each pixel's left or top edge.
class ShrinkByBackEnd : public testing::TestWithParam<Mode> {};

TEST_P(ShrinkByBackEnd, HalvedPictureSamplesItsOwnTexels)
{
    ASSERT_TRUE(SetUpMode(GetParam(), 16, 12));
    {
        PaletteReader reader;
        DDSURFACEDATA src, dest;
        ASSERT_TRUE(DDCreateSurface(&src, 4, 1, 0, 1, 0, 0, 0));
        Paint(&src, {{1, 2, 3, 4}});
        ASSERT_TRUE(DDCreateSurface(&dest, 2, 1, 0, 1, 0, 0, 0));
        DDBltEx(&dest, 0, 0, 2, 1, &src, 0, 0, 4, 1, 0);
        std::vector<int> expected =
            GetParam().d3d ? std::vector<int>{2, 4} : std::vector<int>{1, 3};
        EXPECT_EQ(reader.grid(dest, 2, 1)[0], expected);
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
    }
    TearDownMode();
}

INSTANTIATE_TEST_SUITE_P(Modes, ShrinkByBackEnd, testing::ValuesIn(AllModes()), ModeName);

class TextureBlit : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetUpMode(AllModes()[0], 64, 8)); }
    void TearDown() override { TearDownMode(); }
};

TEST_F(TextureBlit, NegativeSourceWidthMirrors)
{
    PaletteReader reader;
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(DDCreateSurface(&src, 32, 1, 0, 0, 0, 0, 0));
    std::vector<int> row(32), mirrored(32);
    for (int i = 0; i < 32; ++i) {
        row[i] = i + 1;
        mirrored[i] = 32 - i;
    }
    Paint(&src, {row});
    ASSERT_TRUE(DDCreateSurface(&dest, 32, 1, 0, 0, 0, 0, 0));
    DDBltEx(&dest, 0, 0, 32, 1, &src, 32, 0, -32, 1, 0);
    EXPECT_EQ(reader.grid(dest, 32, 1)[0], mirrored);
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

TEST_F(TextureBlit, SourceRectanglePastTheTextureWraps)
{
    PaletteReader reader;
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(DDCreateSurface(&src, 3, 1, 0, 0, 0, 0, 0));
    Paint(&src, {{1, 2, 3}});
    ASSERT_TRUE(DDCreateSurface(&dest, 5, 1, 0, 0, 0, 0, 0));
    DDBlt(&dest, 0, 0, 5, 1, &src, 1, 0, 0);
    EXPECT_EQ(reader.grid(dest, 5, 1)[0], (std::vector<int>{2, 3, 1, 2, 3}));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

TEST_F(TextureBlit, VertexColourAndOperationApplyToOneCopyOnly)
{
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(DDCreateSurface(&src, 1, 1, 0, 0, 0, 0, 0));
    DDBoxFillPal(&src, 0, 0, 1, 1, 3); // (24, 8, 224)
    ASSERT_TRUE(DDCreateSurface(&dest, 2, 1, 0, 0, 0, 0, 0));
    const int halve[2] = {static_cast<int>(0xFF808080u), D3DTOP_MODULATE};
    DDBltOpt(&dest, 0, 0, 1, 1, &src, 0, 0, 0, halve);
    DDBlt(&dest, 1, 0, 1, 1, &src, 0, 0, 0);
    EXPECT_EQ(dest.pixels()->get(0, 0), 0xFF0C0470u); // each channel x 128 / 255, rounded
    EXPECT_EQ(dest.pixels()->get(1, 0), 0xFF1808E0u);
    EXPECT_EQ(g_D3DState->vertexColor, 0xFFFFFFFFu);
    EXPECT_EQ(g_D3DState->colorOp, D3DTOP_MODULATE);
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

// A stage that blends by the texture factor's alpha takes the factor that the
// last fill left in the device; a reset puts back opaque white, which shows
// the texture alone.
TEST_F(TextureBlit, BlendByFactorAlphaUsesTheFactorTheLastFillLeft)
{
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(DDCreateSurface(&src, 1, 1, 0, 0, 0, 0, 0));
    DDBoxFillPal(&src, 0, 0, 1, 1, 3); // (24, 8, 224)
    ASSERT_TRUE(DDCreateSurface(&dest, 1, 1, 0, 0, 0, 0, 0));
    DDFillRect(&dest, 0, 0, 1, 1, 0x40102030u);
    const int blend[2] = {static_cast<int>(0xFF0000FFu), D3DTOP_BLENDFACTORALPHA};
    DDBltOpt(&dest, 0, 0, 1, 1, &src, 0, 0, 0, blend);
    // texel x 64 / 255 + vertex colour x 191 / 255, each product rounded.
    EXPECT_EQ(dest.pixels()->get(0, 0), 0xFF0602F7u);
    ASSERT_EQ(lpDevice->Reset(lpDevice->presentData()), D3D_OK);
    DDBltOpt(&dest, 0, 0, 1, 1, &src, 0, 0, 0, blend);
    EXPECT_EQ(dest.pixels()->get(0, 0), 0xFF1808E0u);
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

TEST_F(TextureBlit, LinkedCopyDrawsWithTheTextureItIsLinkedTo)
{
    PaletteReader reader;
    DDSURFACEDATA picture, copy, dest;
    ASSERT_TRUE(DDCreateSurface(&picture, 2, 1, 0, 0, 0, 0, 0));
    Paint(&picture, {{7, 8}});
    ASSERT_TRUE(DDCreateSurface(&copy, 2, 1, 0, 1, 0, 1, 0));
    ASSERT_TRUE(DDCreateSurface(&dest, 2, 1, 0, 0, 0, 0, 0));
    DDClearPal(&dest, 9);
    DDBlt(&dest, 0, 0, 2, 1, &copy, 0, 0, 0);
    EXPECT_EQ(reader.grid(dest, 2, 1)[0], (std::vector<int>{9, 9}))
        << "an unlinked copy draws nothing";
    copy.lpMirror = &picture;
    DDBlt(&dest, 0, 0, 2, 1, &copy, 0, 0, 0);
    EXPECT_EQ(reader.grid(dest, 2, 1)[0], (std::vector<int>{7, 8}));
    DDReleaseSurface(&copy);
    DDReleaseSurface(&picture);
    DDReleaseSurface(&dest);
}

// The copy used with system-memory textures copies raw texels.
TEST_F(TextureBlit, SystemMemoryTextureCopiesTexelsAndSkipsTransparentOnes)
{
    PaletteReader reader;
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(DDCreateSurface(&src, 4, 1, 1, 0, 1, 0, 0));
    src.pixels()->set(0, 0, 0xFF100000u);
    src.pixels()->set(1, 0, 0); // transparent
    src.pixels()->set(2, 0, 0x80200000u);
    src.pixels()->set(3, 0, 0xFF300000u);
    ASSERT_TRUE(DDCreateSurface(&dest, 6, 1, 0, 0, 1, 0, 0));
    dest.pixels()->fill(0xFF0000AAu);
    DDBlt(&dest, -1, 0, 4, 1, &src, 0, 0, 1);
    EXPECT_EQ(dest.pixels()->get(0, 0), 0xFF0000AAu);
    EXPECT_EQ(dest.pixels()->get(1, 0), 0x80200000u) << "no blending on this path";
    EXPECT_EQ(dest.pixels()->get(2, 0), 0xFF300000u);
    // Stretched mirror: runs leftwards from column sx - 1.
    dest.pixels()->fill(0xFF0000AAu);
    DDBltEx(&dest, 0, 0, 6, 1, &src, 4, 0, -3, 1, 0);
    EXPECT_EQ(dest.pixels()->get(0, 0), 0xFF300000u);
    EXPECT_EQ(dest.pixels()->get(2, 0), 0x80200000u);
    EXPECT_EQ(dest.pixels()->get(4, 0), 0u);
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

class SurfaceBlit : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetUpMode(AllModes()[5], 64, 8)); }
    void TearDown() override { TearDownMode(); }
};

TEST_F(SurfaceBlit, NegativeSourceWidthDrawsNothing)
{
    PaletteReader reader;
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(DDCreateSurface(&src, 4, 1, 0, 1, 0, 0, 0));
    Paint(&src, {{1, 2, 3, 4}});
    ASSERT_TRUE(DDCreateSurface(&dest, 4, 1, 0, 1, 0, 0, 0));
    DDClearPal(&dest, 9);
    EXPECT_NE(DDBltEx(&dest, 0, 0, 4, 1, &src, 4, 0, -4, 1, 0), DD_OK);
    EXPECT_EQ(reader.grid(dest, 4, 1)[0], (std::vector<int>{9, 9, 9, 9}));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

TEST_F(SurfaceBlit, StretchFromNegativeOriginSkipsSourceByTheRatio)
{
    PaletteReader reader;
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(DDCreateSurface(&src, 40, 1, 0, 1, 0, 0, 0));
    std::vector<int> row(40);
    for (int i = 0; i < 40; ++i)
        row[i] = i + 1;
    Paint(&src, {row});
    ASSERT_TRUE(DDCreateSurface(&dest, 10, 1, 0, 1, 0, 0, 0));
    DDBltEx(&dest, -10, 0, 20, 1, &src, 0, 0, 40, 1, 0);
    EXPECT_EQ(reader.grid(dest, 10, 1)[0],
              (std::vector<int>{21, 23, 25, 27, 29, 31, 33, 35, 37, 39}));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

} // namespace
