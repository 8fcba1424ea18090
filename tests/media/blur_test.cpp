// Blur and mosaic in both back ends: the window of the blur and its
// rounding, transparent pixels left out, the in-place order, the blocks of
// the mosaic and what each branch puts in a block.

#include "media/effect_fixture.h"

#include <random>

#include "media/dd_blur.h"

using namespace fxtest;

namespace {

std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r << 16 | g << 8 | b;
}
std::uint32_t rgb555(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r << 10 | g << 5 | b;
}
std::uint32_t rgb565(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r << 11 | g << 5 | b;
}

class Blur32 : public testing::TestWithParam<EffectMode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpEffectMode(GetParam()));
        ASSERT_TRUE(MakeSurface(&src, GetParam(), 3, 2));
        ASSERT_TRUE(MakeSurface(&dest, GetParam(), 3, 2));
        key = GetParam().d3d ? 0u : g_DDKeyColor;
    }
    void TearDown() override
    {
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
        TearDownMode();
    }
    DDSURFACEDATA src, dest;
    std::uint32_t key = 0;
};

// Radius 1: the pixel, its left, upper and upper-left neighbours inside the
// rectangle, each channel summed and divided, truncated; byte 3 of the
// destination stays.
TEST_P(Blur32, RadiusOneAveragesThePixelAndItsUpperLeftNeighbours)
{
    SetPixels(src, {{rgb(10, 20, 30), rgb(40, 50, 60), rgb(70, 80, 90)},
                    {rgb(1, 2, 3), rgb(4, 5, 6), rgb(7, 8, 9)}});
    FillRaw(dest, 0x5A000000u);
    EXPECT_TRUE(DDBltBlur(&dest, 0, 0, 3, 2, 1, 1, &src, 0, 0, 0));
    const std::uint32_t a = 0x5A000000u;
    EXPECT_EQ(GetPixels(dest, 3, 2),
              (Rows{{a | rgb(10, 20, 30), a | rgb(25, 35, 45), a | rgb(55, 65, 75)},
                    {a | rgb(5, 11, 16), a | rgb(13, 19, 24), a | rgb(30, 35, 41)}}));
}

// A transparent pixel keeps its destination pixel, and its neighbours'
// windows leave it out.
TEST_P(Blur32, TransparentPixelsAreLeftOut)
{
    SetPixels(
        src, {{rgb(10, 20, 30), key, rgb(70, 80, 90)}, {rgb(1, 2, 3), rgb(4, 5, 6), rgb(7, 8, 9)}});
    FillRaw(dest, 0x5A010101u);
    EXPECT_TRUE(DDBltBlur(&dest, 0, 0, 3, 2, 1, 1, &src, 0, 0, 1));
    const std::uint32_t a = 0x5A000000u;
    EXPECT_EQ(GetPixels(dest, 3, 2),
              (Rows{{a | rgb(10, 20, 30), 0x5A010101u, a | rgb(70, 80, 90)},
                    {a | rgb(5, 11, 16), a | rgb(5, 9, 13), a | rgb(27, 31, 35)}}));
}

INSTANTIATE_TEST_SUITE_P(Modes, Blur32, testing::Values(kTextureQuad32, kTextureSoft32, kSurface32),
                         EffectModeName);

// 16-bit channels are averaged in their own range.
TEST(Blur, SixteenBitChannelsInEachBranch)
{
    struct Case {
        EffectMode mode;
        std::uint32_t a, b, expected;
    };
    const Case cases[] = {
        {kSurface16, rgb565(1, 10, 31), rgb565(4, 13, 0), rgb565(2, 11, 15)},
        {kTextureSoft16, 0x8000 | rgb555(1, 10, 31), 0x8000 | rgb555(4, 13, 0),
         0x8000 | rgb555(2, 11, 15)},
        // Onto the full-screen back buffer green doubles to 6 bits.
        {kTextureSoft16Full, 0x8000 | rgb555(1, 10, 31), 0x8000 | rgb555(4, 13, 0),
         rgb565(2, 22, 15)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.name);
        ASSERT_TRUE(SetUpEffectMode(c.mode));
        DDSURFACEDATA src, dest;
        ASSERT_TRUE(MakeSurface(&src, c.mode, 2, 1));
        ASSERT_TRUE(MakeSurface(&dest, c.mode, 2, 1));
        DDSURFACEDATA* target = c.mode.d3d && !c.mode.windowed ? &BackBuffer : &dest;
        SetPixels(src, {{c.a, c.b}});
        EXPECT_TRUE(DDBltBlur(target, 0, 0, 2, 1, 1, 1, &src, 0, 0, 0));
        EXPECT_EQ(target->pixels()->get(1, 0), c.expected);
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
        TearDownMode();
    }
}

TEST(Blur, EightBitsDrawNothingAndSaySo)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface8));
    gfxtest::LogRecorder log;
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, kSurface8, 2, 2));
    ASSERT_TRUE(MakeSurface(&dest, kSurface8, 2, 2));
    FillRaw(src, 9);
    FillRaw(dest, 4);
    EXPECT_TRUE(DDBltBlur(&dest, 0, 0, 2, 2, 1, 1, &src, 0, 0, 0));
    EXPECT_EQ(GetPixels(dest, 2, 2), (Rows{{4, 4}, {4, 4}}));
    EXPECT_EQ(log.lines.size(), 1u);
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
    TearDownMode();
}

TEST(Blur, ZeroAndNegativeRadiiDrawNothing)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface32));
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, kSurface32, 2, 2));
    ASSERT_TRUE(MakeSurface(&dest, kSurface32, 2, 2));
    FillRaw(src, 0x00112233u);
    FillRaw(dest, 0x00445566u);
    for (auto [h, v] : {std::pair{0, 1}, {1, 0}, {-1, 2}, {2, -3}}) {
        EXPECT_TRUE(DDBltBlur(&dest, 0, 0, 2, 2, h, v, &src, 0, 0, 0));
        EXPECT_EQ(GetPixels(dest, 2, 2),
                  (Rows{{0x00445566u, 0x00445566u}, {0x00445566u, 0x00445566u}}));
    }
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
    TearDownMode();
}

// Every window summed pixel by pixel, in drawing order, straight from the
// description: what the blur must equal on larger pictures, with
// transparent pixels, radii wider than the picture, and in place.
Rows ReferenceBlur(Rows dest, const Rows* src, int x, int y, int w, int h, int hr, int vr, int sx,
                   int sy, bool skipKey, std::uint32_t key)
{
    const int destH = static_cast<int>(dest.size()), destW = static_cast<int>(dest[0].size());
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            const Rows& s = src ? *src : dest;
            const int srcH = static_cast<int>(s.size()), srcW = static_cast<int>(s[0].size());
            auto at = [&](int c, int r) { return s[sy + r][sx + c]; };
            auto inside = [&](int c, int r) {
                return c >= 0 && c < w && r >= 0 && r < h && sx + c >= 0 && sx + c < srcW &&
                       sy + r >= 0 && sy + r < srcH;
            };
            if (!inside(i, j) || (skipKey && at(i, j) == key)) continue;
            std::uint64_t sum[3] = {0, 0, 0}, count = 0;
            // Offsets -radius to radius - 1; those beyond the rectangle add nothing.
            const std::int64_t r0 = std::max<std::int64_t>(j - std::int64_t{vr}, 0);
            const std::int64_t r1 = std::min<std::int64_t>(j + std::int64_t{vr}, h);
            const std::int64_t c0 = std::max<std::int64_t>(i - std::int64_t{hr}, 0);
            const std::int64_t c1 = std::min<std::int64_t>(i + std::int64_t{hr}, w);
            for (int r = static_cast<int>(r0); r < r1; ++r)
                for (int c = static_cast<int>(c0); c < c1; ++c) {
                    if (!inside(c, r) || (skipKey && at(c, r) == key)) continue;
                    for (int k = 0; k < 3; ++k)
                        sum[k] += (at(c, r) >> (8 * k)) & 0xFF;
                    ++count;
                }
            if (count == 0 || x + i < 0 || y + j < 0 || x + i >= destW || y + j >= destH) continue;
            std::uint32_t& out = dest[y + j][x + i];
            out &= 0xFF000000u;
            for (int k = 0; k < 3; ++k)
                out |= static_cast<std::uint32_t>(sum[k] / count) << (8 * k);
        }
    }
    return dest;
}

TEST(Blur, EqualsEveryWindowSummedOnItsOwn)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface32, 40, 30));
    const std::uint32_t key = g_DDKeyColor;
    std::mt19937 random(7);
    Rows picture(17, std::vector<std::uint32_t>(23));
    for (auto& row : picture)
        for (auto& p : row)
            p = random() % 9 == 0 ? key : (random() & 0xFFFFFFu) | 0x3C000000u;
    Rows background(15, std::vector<std::uint32_t>(19, 0x77123456u));
    struct Case {
        int x, y, w, h, hr, vr, sx, sy, transparent;
    };
    for (const Case& c :
         {Case{0, 0, 23, 17, 3, 2, 0, 0, 1}, Case{-4, 3, 20, 12, 1, 5, 2, -3, 0},
          Case{5, -2, 30, 30, 100, 1, -6, 4, 1}, Case{2, 2, 15, 11, 2147483647, 2, 3, 1, 1}}) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " r " << c.hr << "," << c.vr);
        DDSURFACEDATA src, dest;
        ASSERT_TRUE(MakeSurface(&src, kSurface32, 23, 17));
        ASSERT_TRUE(MakeSurface(&dest, kSurface32, 19, 15));
        SetPixels(src, picture);
        SetPixels(dest, background);
        EXPECT_TRUE(
            DDBltBlur(&dest, c.x, c.y, c.w, c.h, c.hr, c.vr, &src, c.sx, c.sy, c.transparent));
        EXPECT_EQ(GetPixels(dest, 19, 15),
                  ReferenceBlur(background, &picture, c.x, c.y, c.w, c.h, c.hr, c.vr, c.sx, c.sy,
                                c.transparent == 1, key));
        // In place, moved by one pixel: blurred pixels feed later windows.
        SetPixels(src, picture);
        EXPECT_TRUE(
            DDBltBlur(&src, c.x + 1, c.y, c.w, c.h, c.hr, c.vr, &src, c.x, c.y, c.transparent));
        EXPECT_EQ(GetPixels(src, 23, 17),
                  ReferenceBlur(picture, nullptr, c.x + 1, c.y, c.w, c.h, c.hr, c.vr, c.x, c.y,
                                c.transparent == 1, key));
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
    }
    TearDownMode();
}

// Blocks from the rectangle's top-left corner, cut short at its right and
// bottom edges: 5 x 3 in blocks of 2 gives blocks 2, 2 and 1 wide, 2 and 1
// high. At 32 bits each block takes the average colour; byte 3 stays.
TEST(Mosaic, BlocksTakeTheirAverageColour)
{
    for (const EffectMode& m : {kTextureQuad32, kTextureSoft32, kSurface32}) {
        SCOPED_TRACE(m.name);
        ASSERT_TRUE(SetUpEffectMode(m));
        DDSURFACEDATA src, dest;
        ASSERT_TRUE(MakeSurface(&src, m, 5, 3));
        ASSERT_TRUE(MakeSurface(&dest, m, 5, 3));
        SetPixels(src,
                  {{rgb(10, 0, 1), rgb(20, 0, 2), rgb(30, 9, 3), rgb(41, 9, 4), rgb(7, 7, 7)},
                   {rgb(11, 0, 3), rgb(21, 1, 4), rgb(31, 9, 5), rgb(41, 9, 6), rgb(8, 8, 8)},
                   {rgb(1, 2, 3), rgb(4, 5, 6), rgb(50, 60, 70), rgb(51, 61, 71), rgb(9, 9, 9)}});
        FillRaw(dest, 0x66000000u);
        EXPECT_TRUE(DDBltMosaic(&dest, 0, 0, 5, 3, 2, &src, 0, 0, 0));
        const std::uint32_t a = 0x66000000u, p = a | rgb(15, 0, 2), q = a | rgb(35, 9, 4),
                            r = a | rgb(7, 7, 7), s = a | rgb(2, 3, 4), t = a | rgb(50, 60, 70);
        EXPECT_EQ(GetPixels(dest, 5, 3),
                  (Rows{{p, p, q, q, r}, {p, p, q, q, r}, {s, s, t, t, a | rgb(9, 9, 9)}}));
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
        TearDownMode();
    }
}

// The 8-bit surfaces and 16-bit textures take each block's first pixel; the
// 16-bit surfaces widen, average and narrow.
TEST(Mosaic, EachBranchsValueOfABlock)
{
    struct Case {
        EffectMode mode;
        std::uint32_t a, b, expected;
    };
    const Case cases[] = {
        {kSurface8, 5, 9, 5},
        {kTextureSoft16, 0x8000 | rgb555(1, 2, 3), 0x8000 | rgb555(30, 20, 10),
         0x8000 | rgb555(1, 2, 3)},
        {kTextureQuad16, 0x8000 | rgb555(1, 2, 3), 0x8000 | rgb555(30, 20, 10),
         0x8000 | rgb555(1, 2, 3)},
        {kTextureSoft16Full, 0x8000 | rgb555(1, 2, 3), 0x8000 | rgb555(30, 20, 10),
         rgb565(1, 4, 3)},
        // (1 x 255 / 31 + 4 x 255 / 31) / 2 = 20, x 31 / 255 = 2, and so on.
        {kSurface16, rgb565(1, 10, 3), rgb565(4, 40, 30), rgb565(2, 24, 16)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.name);
        ASSERT_TRUE(SetUpEffectMode(c.mode));
        DDSURFACEDATA src, dest;
        ASSERT_TRUE(MakeSurface(&src, c.mode, 2, 1));
        ASSERT_TRUE(MakeSurface(&dest, c.mode, 2, 1));
        DDSURFACEDATA* target = c.mode.d3d && !c.mode.windowed ? &BackBuffer : &dest;
        SetPixels(src, {{c.a, c.b}});
        EXPECT_TRUE(DDBltMosaic(target, 0, 0, 2, 1, 4, &src, 0, 0, 0));
        EXPECT_EQ(GetPixels(*target, 2, 1)[0],
                  (std::vector<std::uint32_t>{c.expected, c.expected}));
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
        TearDownMode();
    }
}

// With the transparent flag 1: transparent pixels are left out of the
// average, a block of nothing but transparent pixels stays as it was, and so
// does a block whose average is the key colour.
TEST(Mosaic, TransparentPixelsAndKeyColouredBlocks)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface32));
    const std::uint32_t key = g_DDKeyColor;
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, kSurface32, 6, 1));
    ASSERT_TRUE(MakeSurface(&dest, kSurface32, 6, 1));
    const std::uint32_t nearKey = key - 1, aboveKey = key + 1;
    SetPixels(src, {{key, rgb(8, 8, 8), key, key, nearKey, aboveKey}});
    FillRaw(dest, 0x00ABCDEFu);
    EXPECT_TRUE(DDBltMosaic(&dest, 0, 0, 6, 1, 2, &src, 0, 0, 1));
    EXPECT_EQ(GetPixels(dest, 6, 1)[0],
              (std::vector<std::uint32_t>{rgb(8, 8, 8), rgb(8, 8, 8), 0x00ABCDEFu, 0x00ABCDEFu,
                                          0x00ABCDEFu, 0x00ABCDEFu}));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
    TearDownMode();
}

TEST(Mosaic, ABlockLargerThanTheRectangleFillsItAndNoBlockDrawsNothing)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface8));
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, kSurface8, 3, 2));
    ASSERT_TRUE(MakeSurface(&dest, kSurface8, 3, 2));
    SetPixels(src, {{4, 5, 6}, {7, 8, 9}});
    FillRaw(dest, 1);
    EXPECT_TRUE(DDBltMosaic(&dest, 0, 0, 3, 2, 0, &src, 0, 0, 0));
    EXPECT_TRUE(DDBltMosaic(&dest, 0, 0, 3, 2, -5, &src, 0, 0, 0));
    EXPECT_EQ(GetPixels(dest, 3, 2), (Rows{{1, 1, 1}, {1, 1, 1}}));
    EXPECT_TRUE(DDBltMosaic(&dest, 0, 0, 3, 2, 1000, &src, 0, 0, 0));
    EXPECT_EQ(GetPixels(dest, 3, 2), (Rows{{4, 4, 4}, {4, 4, 4}}));
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
    TearDownMode();
}

} // namespace
