// The lens and the circle in both back ends: the lens's offsets and their
// rounding toward zero, what it may read, its refusals; the circle's rows
// and bands, its limits and a radius far beyond the screen.

#include "media/effect_fixture.h"

#include <climits>

#include "media/dd_lens.h"

using namespace fxtest;

namespace {

// Opaque raw values of the mode: indices at 8 bits, opaque texels otherwise.
std::uint32_t Value(const EffectMode& m, std::uint32_t n)
{
    if (m.bpp == 8) return n;
    if (m.bpp == 16) return 0x8000u | n;
    return 0xFF000000u | n;
}

class LensInEachBranch : public testing::TestWithParam<EffectMode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpEffectMode(GetParam()));
        ASSERT_TRUE(MakeSurface(&src, GetParam(), 7, 7));
        ASSERT_TRUE(MakeSurface(&dest, GetParam(), 7, 7));
        Rows picture(7, std::vector<std::uint32_t>(7));
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 7; ++x)
                picture[y][x] = v(static_cast<std::uint32_t>(1 + x + 7 * y));
        SetPixels(src, picture);
        FillRaw(dest, v(99));
    }
    void TearDown() override
    {
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
        TearDownMode();
    }
    std::uint32_t v(std::uint32_t n) const { return Value(GetParam(), n); }
    // The destination as the numbers of the source pixels it shows (0 for
    // a pixel left as it was).
    std::vector<std::vector<int>> Shown() const
    {
        std::vector<std::vector<int>> rows;
        for (const auto& row : GetPixels(dest, 7, 7)) {
            rows.emplace_back();
            for (std::uint32_t p : row) {
                const int n = static_cast<int>(p & 0x7F);
                rows.back().push_back(n == 99 ? 0 : n);
            }
        }
        return rows;
    }

    DDSURFACEDATA src, dest;
};

// Radius 3, depth 2: D = 3. Offsets are (d x depth / sqrt(9 - d^2)) + 0.5
// truncated toward zero, so (1, 0) reads one pixel right but (-1, 0) reads
// the centre; near the rim the offset overshoots and (2, -2) points past
// the source's right edge, leaving its pixel alone.
TEST_P(LensInEachBranch, OffsetsAndTheirRounding)
{
    EXPECT_TRUE(DDBltLens(&dest, 3, 3, 3, 2, &src, 3, 3, 0));
    EXPECT_EQ(Shown(), (std::vector<std::vector<int>>{{0, 0, 0, 4, 0, 0, 0},
                                                      {0, 1, 18, 18, 19, 0, 0},
                                                      {0, 24, 25, 25, 26, 27, 0},
                                                      {22, 24, 25, 25, 26, 27, 28},
                                                      {0, 31, 32, 32, 33, 34, 0},
                                                      {0, 0, 39, 39, 40, 0, 0},
                                                      {0, 0, 0, 46, 0, 0, 0}}));
}

// Depth 0: every point of the disc shows the source centre, except the rim
// points at exactly the radius, which keep their own offset.
TEST_P(LensInEachBranch, DepthZeroShowsTheCentreInsideTheRim)
{
    EXPECT_TRUE(DDBltLens(&dest, 3, 3, 3, 0, &src, 3, 3, 0));
    EXPECT_EQ(Shown(), (std::vector<std::vector<int>>{{0, 0, 0, 4, 0, 0, 0},
                                                      {0, 25, 25, 25, 25, 25, 0},
                                                      {0, 25, 25, 25, 25, 25, 0},
                                                      {22, 25, 25, 25, 25, 25, 28},
                                                      {0, 25, 25, 25, 25, 25, 0},
                                                      {0, 25, 25, 25, 25, 25, 0},
                                                      {0, 0, 0, 46, 0, 0, 0}}));
}

// The source's transparent pixels are skipped whatever the flag says.
TEST_P(LensInEachBranch, TransparentPixelsAreAlwaysSkipped)
{
    const std::uint32_t key = GetParam().d3d ? 0u : g_DDKeyColor;
    src.pixels()->set(3, 3, key);
    EXPECT_TRUE(DDBltLens(&dest, 3, 3, 3, 0, &src, 3, 3, 0));
    EXPECT_EQ(Shown()[3], (std::vector<int>{22, 0, 0, 0, 0, 0, 28}));
}

// Clipped at every edge of the destination: a disc around each corner.
TEST_P(LensInEachBranch, ClippedAtEveryEdge)
{
    for (auto [x, y] : {std::pair{0, 0}, {6, 0}, {0, 6}, {6, 6}})
        EXPECT_TRUE(DDBltLens(&dest, x, y, 2, 0, &src, 3, 3, 0));
    EXPECT_EQ(Shown(), (std::vector<std::vector<int>>{{25, 25, 27, 0, 23, 25, 25},
                                                      {25, 25, 0, 0, 0, 25, 25},
                                                      {39, 0, 0, 0, 0, 0, 39},
                                                      {0, 0, 0, 0, 0, 0, 0},
                                                      {11, 0, 0, 0, 0, 0, 11},
                                                      {25, 25, 0, 0, 0, 25, 25},
                                                      {25, 25, 27, 0, 23, 25, 25}}));
}

INSTANTIATE_TEST_SUITE_P(Modes, LensInEachBranch,
                         testing::Values(kTextureQuad32, kTextureSoft32, kTextureSoft16, kSurface8,
                                         kSurface16, kSurface32),
                         EffectModeName);

// Points outside the display are not read even from a larger source.
TEST(Lens, ReadsOnlyInsideTheDisplay)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface32));
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, kSurface32, 20, 14));
    ASSERT_TRUE(MakeSurface(&dest, kSurface32, 5, 5));
    FillRaw(src, 0x00000001u);
    FillRaw(dest, 0x00000063u);
    // The centre (16, 5) lies right of the 16-pixel display; of the rim only
    // (14, 5) lies inside it.
    EXPECT_TRUE(DDBltLens(&dest, 2, 2, 2, 0, &src, 16, 5, 0));
    EXPECT_EQ(Changed(Rows(5, std::vector<std::uint32_t>(5, 0x63u)), GetPixels(dest, 5, 5)),
              (std::vector<std::string>{".....", ".....", "#....", ".....", "....."}));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
    TearDownMode();
}

TEST(Lens, RefusesParametersThatGiveNoLens)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface32));
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, kSurface32, 4, 4));
    ASSERT_TRUE(MakeSurface(&dest, kSurface32, 4, 4));
    FillRaw(src, 0x00000001u);
    FillRaw(dest, 0x00000063u);
    for (auto [radius, depth] : {std::pair{0, 0}, {0, 5}, {-1, 2}, {3, -1}, {1, 3}})
        EXPECT_FALSE(DDBltLens(&dest, 2, 2, radius, depth, &src, 2, 2, 0))
            << radius << "," << depth;
    EXPECT_EQ(dest.pixels()->get(2, 2), 0x63u);
    // A radius far beyond the screen ends at once.
    EXPECT_TRUE(DDBltLens(&dest, 2, 2, INT_MAX / 4, 10, &src, 2, 2, 0));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
    TearDownMode();
}

class CircleInEachBackEnd : public testing::TestWithParam<EffectMode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpEffectMode(GetParam()));
        ASSERT_TRUE(MakeSurface(&src, GetParam(), 16, 12));
        ASSERT_TRUE(MakeSurface(&dest, GetParam(), 16, 12));
        DDClearPal(&src, 5);
    }
    void TearDown() override
    {
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
        TearDownMode();
    }
    std::vector<std::string> Drawn(int halfWidth, int halfHeight, int radius, int band)
    {
        DDClearPal(&dest, 20);
        const Rows before = GetPixels(dest, 16, 12);
        DDBltCircle(&dest, 8, 6, halfWidth, halfHeight, radius, band, &src, 8, 6, 0);
        return Changed(before, GetPixels(dest, 16, 12));
    }
    DDSURFACEDATA src, dest;
};

// Radius 5 in rows: dy from 4 down to -5, each 2k wide (k at most 4), the
// last row empty.
TEST_P(CircleInEachBackEnd, RowsOfTheDisc)
{
    EXPECT_EQ(Drawn(100, 100, 5, 1),
              (std::vector<std::string>{
                  "................", "................", ".....######.....", "....########....",
                  "....########....", "....########....", "....########....", "....########....",
                  "....########....", "....########....", ".....######.....", "................"}));
}

// The half height keeps rows -2 to 1, the half width source columns 6 to 9.
TEST_P(CircleInEachBackEnd, HalfWidthAndHalfHeightBoundTheDisc)
{
    EXPECT_EQ(Drawn(2, 2, 5, 1),
              (std::vector<std::string>{
                  "................", "................", "................", "................",
                  "......####......", "......####......", "......####......", "......####......",
                  "................", "................", "................", "................"}));
}

// Bands of 3 rows, each as wide as the disc at its middle row; with a half
// height of 2 the first band is skipped and the last raised to -2.
TEST_P(CircleInEachBackEnd, BandsAreStepsOfTheOutline)
{
    EXPECT_EQ(Drawn(100, 100, 4, 3),
              (std::vector<std::string>{
                  "................", "................", "................", "................",
                  ".....######.....", ".....######.....", ".....######.....", ".....######.....",
                  ".....######.....", ".....######.....", "................", "................"}));
    EXPECT_EQ(Drawn(100, 2, 5, 3),
              (std::vector<std::string>{
                  "................", "................", "................", "................",
                  "....########....", "....########....", "....########....", "....########....",
                  "................", "................", "................", "................"}));
}

// Nothing for a radius or band of 0; a radius far beyond the screen draws
// the screen's rows and ends.
TEST_P(CircleInEachBackEnd, DegenerateAndHugeSizes)
{
    const std::vector<std::string> none(12, "................");
    EXPECT_EQ(Drawn(100, 100, 0, 1), none);
    EXPECT_EQ(Drawn(100, 100, 5, 0), none);
    EXPECT_EQ(Drawn(INT_MAX, INT_MAX, INT_MAX, 1),
              std::vector<std::string>(12, "################"));
    EXPECT_EQ(Drawn(INT_MAX, INT_MAX, INT_MAX, 7),
              std::vector<std::string>(12, "################"));
}

INSTANTIATE_TEST_SUITE_P(Modes, CircleInEachBackEnd,
                         testing::Values(kTextureQuad32, kTextureSoft16, kSurface8, kSurface32),
                         EffectModeName);

} // namespace
