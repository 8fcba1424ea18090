// The fade without palette (surface back end) and the screen colour change
// (texture back end): the mix toward a colour at each depth, the quad over
// the whole surface, and each back end refusing the other's operation.

#include "media/effect_fixture.h"

#include "media/dd_fade.h"
#include "media/dd_present.h"

using namespace fxtest;

namespace {

std::uint32_t rgb555(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r << 10 | g << 5 | b;
}
std::uint32_t rgb565(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r << 11 | g << 5 | b;
}

// Level 64 toward (255, 0, 128): a quarter of the picture.
TEST(FadeUnPal, MixesThePictureWithTheColourAtEachDepth)
{
    struct Case {
        EffectMode mode;
        std::uint32_t picture, before, after;
    };
    const Case cases[] = {
        // (16 x 64 + 255 x 192) >> 8 = 195, and so on; byte 3 stays.
        {kSurface32, 0xAA102030u, 0x5B000000u, 0x5BC3086Cu},
        // Widened, mixed, narrowed: red 82 -> 211 -> 25.
        {kSurface16, rgb565(10, 20, 30), 0, rgb565(25, 4, 19)},
        // At 8 bits the palette fades; nothing is written.
        {kSurface8, 7, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.name);
        ASSERT_TRUE(SetUpEffectMode(c.mode, 3, 2));
        FillRaw(DDWorkSD, c.picture);
        FillRaw(BackBuffer, c.before);
        EXPECT_EQ(DDFade_UnPal(&BackBuffer, 64, 255, 0, 128, &DDWorkSD), 1);
        EXPECT_EQ(GetPixels(BackBuffer, 3, 2),
                  (Rows{{c.after, c.after, c.after}, {c.after, c.after, c.after}}));
        TearDownMode();
    }
}

TEST(FadeUnPal, TheTextureBackEndOnlyLogs)
{
    ASSERT_TRUE(SetUpEffectMode(kTextureQuad32, 3, 2));
    gfxtest::LogRecorder log;
    FillRaw(BackBuffer, 0xFF123456u);
    EXPECT_EQ(DDFade_UnPal(&BackBuffer, 0, 0, 0, 0, &WorkSD), 1);
    EXPECT_EQ(BackBuffer.pixels()->get(0, 0), 0xFF123456u);
    EXPECT_EQ(log.lines.size(), 1u);
    TearDownMode();
}

TEST(FadeUnPal, ALostSourceFailsAndLeavesTheDestination)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface32, 3, 2));
    DDSURFACEDATA picture;
    ASSERT_TRUE(DDCreateSurface(&picture, 3, 2, 0, 0, 0, 0, 0));
    FillRaw(BackBuffer, 0x00123456u);
    picture.lpDD->lpDDSurface->lost = true;
    EXPECT_EQ(DDFade_UnPal(&BackBuffer, 0, 0, 0, 0, &picture), 0);
    EXPECT_EQ(BackBuffer.pixels()->get(0, 0), 0x00123456u);
    DDReleaseSurface(&picture);
    TearDownMode();
}

// With the virtual back buffer off: one quad of the colour with alpha
// 255 - nAlpha over the whole surface, whatever the rectangle.
TEST(ChangeColor, QuadLaysTheColourOverTheWholeSurface)
{
    ASSERT_TRUE(SetUpEffectMode(kTextureQuad32, 3, 2));
    for (auto [alpha, expected] : {std::pair{255, 0x102030u}, {0, 0xFF0080u}, {128, 0x871058u}}) {
        SCOPED_TRACE(alpha);
        FillRaw(BackBuffer, 0xFF102030u);
        EXPECT_EQ(DDChangeColor(&BackBuffer, 1, 1, 1, 1, alpha, 255, 0, 128), 1);
        for (const auto& row : GetPixels(BackBuffer, 3, 2))
            for (std::uint32_t p : row)
                EXPECT_EQ(p & 0xFFFFFFu, expected);
    }
    TearDownMode();
}

// With the virtual back buffer on: the rectangle of VirBackBuffer changes,
// each channel keeping nAlpha parts of 256.
TEST(ChangeColor, SoftwareChangesTheRectangleOfTheVirtualBackBuffer)
{
    struct Case {
        EffectMode mode;
        std::uint32_t before, after;
        int alpha;
    };
    const Case cases[] = {
        // The colour's share is 1/256: green (255 x 32 + 0) >> 8 = 31.
        {kTextureQuad32, 0x00102030u, 0xFF101F30u, 255},
        // Colour (31, 0, 15) in 5 bits: red (192 x 31 + 64 x 10) >> 8 = 25.
        {kTextureQuad16, 0x8000 | rgb555(10, 20, 30), 0x8000 | rgb555(25, 5, 18), 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode.name);
        ASSERT_TRUE(SetUpEffectMode(c.mode, 3, 2));
        DDSetVirtualBackBuffer(1);
        FillRaw(VirBackBuffer, c.before);
        FillRaw(BackBuffer, 0);
        EXPECT_EQ(DDChangeColor(&BackBuffer, 1, 1, 5, 5, c.alpha, 255, 0, 128), 1);
        EXPECT_EQ(GetPixels(VirBackBuffer, 3, 2),
                  (Rows{{c.before, c.before, c.before}, {c.before, c.after, c.after}}));
        EXPECT_EQ(BackBuffer.pixels()->get(2, 1), 0u);
        DDSetVirtualBackBuffer(0);
        TearDownMode();
    }
}

TEST(ChangeColor, TheSurfaceBackEndOnlyLogs)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface32, 3, 2));
    gfxtest::LogRecorder log;
    FillRaw(BackBuffer, 0x00123456u);
    EXPECT_EQ(DDChangeColor(&BackBuffer, 0, 0, 3, 2, 0, 255, 255, 255), 1);
    EXPECT_EQ(BackBuffer.pixels()->get(0, 0), 0x00123456u);
    EXPECT_EQ(log.lines.size(), 1u);
    TearDownMode();
}

} // namespace
