// Rotation in both back ends: the software branch's fixed-point mapping at
// 0, 90 and 180 degrees, the turned quad of the texture back end, keys,
// clipping at every edge, and reads that stay inside the source.

#include "media/effect_fixture.h"

#include <climits>

#include "media/dd_render.h"
#include "media/dd_rotate.h"

using namespace fxtest;

namespace {


// Opaque raw values of the mode: indices at 8 bits, opaque texels otherwise.
std::uint32_t Value(const EffectMode& m, std::uint32_t n)
{
    if (m.bpp == 8) return n;
    if (m.bpp == 16) return 0x8000u | n;
    return 0xFF000000u | n;
}

class RotateInEachBranch : public testing::TestWithParam<EffectMode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpEffectMode(GetParam()));
        ASSERT_TRUE(MakeSurface(&src, GetParam(), 3, 2));
        ASSERT_TRUE(MakeSurface(&dest, GetParam(), 5, 4));
        SetPixels(src, {{v(1), v(2), v(3)}, {v(4), v(5), v(6)}});
        FillRaw(dest, background());
    }
    void TearDown() override
    {
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
        TearDownMode();
    }
    std::uint32_t v(std::uint32_t n) const { return Value(GetParam(), n); }
    std::uint32_t background() const { return GetParam().bpp == 8 ? 14u : Value(GetParam(), 0xEE); }
    bool quad() const { return GetParam().d3d && !GetParam().systemTexture; }

    DDSURFACEDATA src, dest;
};

// Angle 0 copies the rectangle pixel for pixel, its pivot on the centre.
TEST_P(RotateInEachBranch, AngleZeroCopiesThePicture)
{
    EXPECT_TRUE(DDBltRotate(&dest, 2, 2, 3, 2, 1, 1, 0, &src, 0, 0, 0));
    const std::uint32_t b = background();
    EXPECT_EQ(
        GetPixels(dest, 5, 4),
        (Rows{
            {b, b, b, b, b}, {b, v(1), v(2), v(3), b}, {b, v(4), v(5), v(6), b}, {b, b, b, b, b}}));
}

// A quarter turn clockwise: the left column becomes the top row. The quad
// turns about the pivot's corner, the software branch about its centre, one
// column apart.
TEST_P(RotateInEachBranch, QuarterTurnMovesTheLeftColumnToTheTop)
{
    EXPECT_TRUE(DDBltRotate(&dest, 1, 1, 3, 2, 1, 1, 90, &src, 0, 0, 0));
    const std::uint32_t b = background();
    const Rows software = {
        {b, v(4), v(1), b, b}, {b, v(5), v(2), b, b}, {b, v(6), v(3), b, b}, {b, b, b, b, b}};
    const Rows byQuad = {
        {v(4), v(1), b, b, b}, {v(5), v(2), b, b, b}, {v(6), v(3), b, b, b}, {b, b, b, b, b}};
    EXPECT_EQ(GetPixels(dest, 5, 4), quad() ? byQuad : software);
}

INSTANTIATE_TEST_SUITE_P(Modes, RotateInEachBranch,
                         testing::Values(kTextureQuad32, kTextureQuad16, kTextureSoft32,
                                         kTextureSoft16, kSurface8, kSurface16, kSurface32),
                         EffectModeName);

class RotateSoftware : public testing::TestWithParam<EffectMode> {
protected:
    void SetUp() override { ASSERT_TRUE(SetUpEffectMode(GetParam())); }
    void TearDown() override { TearDownMode(); }
    std::uint32_t v(std::uint32_t n) const { return Value(GetParam(), n); }
};

// A half turn about the pivot, cut at the destination's top-left and
// bottom-right edges.
TEST_P(RotateSoftware, HalfTurnClippedAtEveryEdge)
{
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, GetParam(), 4, 3));
    ASSERT_TRUE(MakeSurface(&dest, GetParam(), 5, 4));
    SetPixels(src,
              {{v(1), v(2), v(3), v(4)}, {v(5), v(6), v(7), v(8)}, {v(9), v(10), v(11), v(12)}});
    const std::uint32_t b = v(30);
    FillRaw(dest, b);
    EXPECT_TRUE(DDBltRotate(&dest, 0, 0, 4, 3, 2, 1, 180, &src, 0, 0, 0));
    EXPECT_TRUE(DDBltRotate(&dest, 4, 3, 4, 3, 2, 1, 180, &src, 0, 0, 0));
    EXPECT_EQ(GetPixels(dest, 5, 4), (Rows{{v(7), v(6), v(5), b, b},
                                           {v(3), v(2), v(1), b, b},
                                           {b, b, b, v(12), v(11)},
                                           {b, b, b, v(8), v(7)}}));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

// The rectangle reaches past the source surface on the left and at the
// bottom: only the pixels inside the surface are read and drawn.
TEST_P(RotateSoftware, ReadsOnlyInsideTheSourceSurface)
{
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, GetParam(), 3, 2));
    ASSERT_TRUE(MakeSurface(&dest, GetParam(), 5, 4));
    SetPixels(src, {{v(1), v(2), v(3)}, {v(4), v(5), v(6)}});
    const std::uint32_t b = v(30);
    FillRaw(dest, b);
    EXPECT_TRUE(DDBltRotate(&dest, 1, 1, 4, 3, 1, 1, 0, &src, -1, 1, 0));
    EXPECT_EQ(GetPixels(dest, 5, 4),
              (Rows{{b, v(4), v(5), v(6), b}, {b, b, b, b, b}, {b, b, b, b, b}, {b, b, b, b, b}}));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

// With the transparent flag 1 the key is skipped, with 0 it is copied.
TEST_P(RotateSoftware, TransparentFlagSkipsTheKey)
{
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, GetParam(), 2, 1));
    ASSERT_TRUE(MakeSurface(&dest, GetParam(), 2, 1));
    const std::uint32_t key = GetParam().d3d ? 0u : g_DDKeyColor;
    SetPixels(src, {{v(1), key}});
    FillRaw(dest, v(30));
    EXPECT_TRUE(DDBltRotate(&dest, 0, 0, 2, 1, 0, 0, 0, &src, 0, 0, 1));
    EXPECT_EQ(GetPixels(dest, 2, 1)[0], (std::vector<std::uint32_t>{v(1), v(30)}));
    EXPECT_TRUE(DDBltRotate(&dest, 0, 0, 2, 1, 0, 0, 0, &src, 0, 0, 0));
    EXPECT_EQ(GetPixels(dest, 2, 1)[0], (std::vector<std::uint32_t>{v(1), key}));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

// The screen turned by 45 degrees about its centre: corners no source pixel
// reaches keep what they had; sizes far beyond any surface end at once.
TEST_P(RotateSoftware, WholeScreenTurnLeavesTheCornersAndHugeSizesEnd)
{
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, GetParam(), 16, 12));
    ASSERT_TRUE(MakeSurface(&dest, GetParam(), 16, 12));
    FillRaw(src, v(1));
    FillRaw(dest, v(30));
    EXPECT_TRUE(DDBltRotate(&dest, 8, 6, 16, 12, 8, 6, 45, &src, 0, 0, 0));
    for (auto [x, y] : {std::pair{0, 0}, {15, 0}, {0, 11}, {15, 11}})
        EXPECT_EQ(dest.pixels()->get(x, y), v(30)) << x << "," << y;
    EXPECT_EQ(dest.pixels()->get(8, 6), v(1));
    EXPECT_TRUE(DDBltRotate(&dest, 8, 6, INT_MAX, INT_MAX, INT_MAX / 2, INT_MAX / 2, 30, &src,
                            INT_MIN, INT_MIN, 0));
    EXPECT_TRUE(DDBltRotate(&dest, 8, 6, 0, 5, 0, 0, 30, &src, 0, 0, 0));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
}

INSTANTIATE_TEST_SUITE_P(Modes, RotateSoftware, testing::ValuesIn(SoftwareModes()), EffectModeName);

// The quad draws with the vertex colour and the operations in force.
TEST(RotateQuad, DrawsWithTheVertexColourInForce)
{
    ASSERT_TRUE(SetUpEffectMode(kTextureQuad32));
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, kTextureQuad32, 1, 1));
    ASSERT_TRUE(MakeSurface(&dest, kTextureQuad32, 1, 1));
    SetPixels(src, {{0xFF402010u}});
    DDSetVertexColor(0xFF808080u);
    EXPECT_TRUE(DDBltRotate(&dest, 0, 0, 1, 1, 0, 0, 0, &src, 0, 0, 0));
    EXPECT_EQ(dest.pixels()->get(0, 0), 0xFF201008u);
    DDResetVertexColor();
    EXPECT_TRUE(DDBltRotate(&dest, 0, 0, 1, 1, 0, 0, 0, &src, 0, 0, 0));
    EXPECT_EQ(dest.pixels()->get(0, 0), 0xFF402010u);
    EXPECT_TRUE(DDBltRotate(&dest, 8, 6, INT_MAX, INT_MAX, INT_MAX / 2, INT_MAX / 2, 30, &src,
                            INT_MIN, INT_MIN, 0));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
    TearDownMode();
}

} // namespace
