// Half translucency and tint in every branch: the texture back end's quad
// and software branch at 16 and 32 bits (and onto the full-screen 16-bit
// back buffer), the surface back end at 8, 16 and 32 bits, with the
// rounding of each pinned on raw pixel values.

#include "media/effect_fixture.h"

#include "media/dd_present.h"
#include "media/dd_render.h"
#include "media/dd_translucent.h"

using namespace fxtest;

namespace {

constexpr std::uint32_t A = 0x8000; // the alpha bit of a 16-bit texel

std::uint32_t rgb555(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r << 10 | g << 5 | b;
}
std::uint32_t rgb565(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return r << 11 | g << 5 | b;
}

struct HalfCase {
    EffectMode mode;
    std::vector<std::uint32_t> src, dest;
    std::vector<std::uint32_t> keyed;  // transparent flag 1: the middle source pixel is the key
    std::vector<std::uint32_t> opaque; // transparent flag 0
};

class HalfInEachBranch : public testing::TestWithParam<HalfCase> {
protected:
    void TearDown() override { TearDownMode(); }
};

// Three pixels: a mix, a transparent source pixel, and a third pixel (under
// the surface back end at 8, 16 and 32 bits its destination is the key,
// which takes the source unmixed).
TEST_P(HalfInEachBranch, MixesEachPixelByItsBranchesRounding)
{
    const HalfCase& c = GetParam();
    ASSERT_TRUE(SetUpEffectMode(c.mode));
    const bool toBackBuffer = !c.mode.windowed && c.mode.d3d;
    for (int transparent : {1, 0}) {
        SCOPED_TRACE(transparent);
        DDSURFACEDATA src, dest;
        ASSERT_TRUE(MakeSurface(&src, c.mode, 3, 1));
        ASSERT_TRUE(MakeSurface(&dest, c.mode, 3, 1));
        DDSURFACEDATA* target = toBackBuffer ? &BackBuffer : &dest;
        SetPixels(src, {c.src});
        SetPixels(*target, {c.dest});
        g_BlendTable[9 * 256 + 5] = 42;
        g_BlendTable[3 * 256 + 0] = 43;
        EXPECT_TRUE(DDBltHalf(target, 0, 0, 3, 1, &src, 0, 0, transparent, g_BlendTable.data()));
        EXPECT_EQ(GetPixels(*target, 3, 1)[0], transparent ? c.keyed : c.opaque);
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Branches, HalfInEachBranch,
    testing::Values(
        // The quad: texel alpha x 128 / 255 blends the texel over the target
        // (each product rounded); a transparent texel stays invisible.
        HalfCase{kTextureQuad32,
                 {0xFF204060u, 0, 0xFF0A0B0Cu},
                 {0xFF6040A0u, 0xFF112233u, 0xFF010203u},
                 {0xBF404080u, 0xFF112233u, 0xBF050707u},
                 {0xBF404080u, 0xFF112233u, 0xBF050707u}},
        // Software: (s + d) >> 1 per byte, byte 3 = 255.
        HalfCase{kTextureSoft32,
                 {0xFF204060u, 0, 0xFF0A0B0Cu},
                 {0xFF6040A0u, 0xFF112233u, 0xFF010203u},
                 {0xFF404080u, 0xFF112233u, 0xFF050607u},
                 {0xFF404080u, 0xFF081119u, 0xFF050607u}},
        HalfCase{kTextureQuad16,
                 {A | rgb555(10, 20, 30), 0, A | rgb555(1, 2, 3)},
                 {A | rgb555(20, 10, 0), A | rgb555(5, 5, 5), A | rgb555(3, 4, 5)},
                 {A | rgb555(15, 15, 15), A | rgb555(5, 5, 5), A | rgb555(2, 3, 4)},
                 {A | rgb555(15, 15, 15), A | rgb555(5, 5, 5), A | rgb555(2, 3, 4)}},
        HalfCase{kTextureSoft16,
                 {A | rgb555(10, 20, 30), 0, A | rgb555(1, 2, 3)},
                 {A | rgb555(20, 10, 0), A | rgb555(5, 5, 5), A | rgb555(3, 4, 5)},
                 {A | rgb555(15, 15, 15), A | rgb555(5, 5, 5), A | rgb555(2, 3, 4)},
                 {A | rgb555(15, 15, 15), A | rgb555(2, 2, 2), A | rgb555(2, 3, 4)}},
        // The full-screen back buffer: green (d + 2 s) >> 1 in 6 bits.
        HalfCase{kTextureSoft16Full,
                 {A | rgb555(10, 20, 30), 0, A | rgb555(1, 2, 3)},
                 {rgb565(20, 21, 0), rgb565(5, 10, 5), rgb565(3, 8, 5)},
                 {rgb565(15, 30, 15), rgb565(5, 10, 5), rgb565(2, 6, 4)},
                 {rgb565(15, 30, 15), rgb565(2, 5, 2), rgb565(2, 6, 4)}},
        // Index 0 is transparent; over index 0 the source is written as it is.
        HalfCase{kSurface8, {5, 0, 7}, {9, 3, 0}, {42, 3, 7}, {42, 43, 7}},
        // Widened to 8 bits, averaged, narrowed back; the key is 0x3F here.
        HalfCase{kSurface16,
                 {rgb565(10, 40, 20), 0x3F, rgb565(1, 2, 3)},
                 {rgb565(20, 10, 0), rgb565(5, 5, 5), 0x3F},
                 {rgb565(14, 24, 9), rgb565(5, 5, 5), rgb565(1, 2, 3)},
                 {rgb565(14, 24, 9), rgb565(2, 2, 17), rgb565(1, 2, 3)}},
        // Byte 3 stays; the key is 0x0008F8 here.
        HalfCase{kSurface32,
                 {0x00204060u, 0x000008F8u, 0x000A0B0Cu},
                 {0x556040A0u, 0x11112233u, 0x000008F8u},
                 {0x55404080u, 0x11112233u, 0x000A0B0Cu},
                 {0x55404080u, 0x11081595u, 0x000A0B0Cu}}),
    [](const auto& info) { return std::string(info.param.mode.name); });

// The virtual back buffer takes the software branch even for textures in
// video memory, and an effect aimed at BackBuffer changes VirBackBuffer.
TEST(Half, VirtualBackBufferTakesTheSoftwareBranch)
{
    ASSERT_TRUE(SetUpEffectMode(kTextureQuad32));
    DDSURFACEDATA src;
    ASSERT_TRUE(MakeSurface(&src, kTextureQuad32, 1, 1));
    SetPixels(src, {{0xFF204060u}});
    DDSetVirtualBackBuffer(1);
    SetPixels(VirBackBuffer, {{0xFF6040A0u}});
    SetPixels(BackBuffer, {{0xFF000000u}});
    EXPECT_TRUE(DDBltHalf(&BackBuffer, 0, 0, 1, 1, &src, 0, 0, 1, g_BlendTable.data()));
    EXPECT_EQ(VirBackBuffer.pixels()->get(0, 0), 0xFF404080u);
    EXPECT_EQ(BackBuffer.pixels()->get(0, 0), 0xFF000000u);
    DDSetVirtualBackBuffer(0);
    DDReleaseSurface(&src);
    TearDownMode();
}

struct TintCase {
    EffectMode mode;
    std::uint32_t src;
    std::vector<std::uint32_t> byLevel; // levels 1, 2, 3, 6
};

class TintInEachBranch : public testing::TestWithParam<TintCase> {
protected:
    void TearDown() override { TearDownMode(); }
};

// A pixel toward palette colour 40: blue at full strength.
TEST_P(TintInEachBranch, MovesThePixelTowardTheColourByLevel)
{
    const TintCase& c = GetParam();
    ASSERT_TRUE(SetUpEffectMode(c.mode));
    const bool ddraw16 = !c.mode.d3d && c.mode.bpp == 16;
    g_ScreenPalette[40] = DDPALENTRY{0, 0, static_cast<std::uint8_t>(ddraw16 ? 31 : 255), 0};
    const bool toBackBuffer = !c.mode.windowed && c.mode.d3d;
    const int levels[] = {1, 2, 3, 6};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(levels[k]);
        DDSURFACEDATA src, dest;
        ASSERT_TRUE(MakeSurface(&src, c.mode, 1, 1));
        ASSERT_TRUE(MakeSurface(&dest, c.mode, 1, 1));
        DDSURFACEDATA* target = toBackBuffer ? &BackBuffer : &dest;
        SetPixels(src, {{c.src}});
        SetPixels(*target, {{c.mode.bpp == 32 ? 0x77000000u : 0u}});
        EXPECT_TRUE(DDBltTint(target, 0, 0, 1, 1, &src, 0, 0, 1, g_ScreenPalette.data(),
                              g_BlendTable.data(), 40 + 256, levels[k]));
        EXPECT_EQ(target->pixels()->get(0, 0), c.byLevel[k]);
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Branches, TintInEachBranch,
    testing::Values(
        // Factor alpha 128, 80, 48 and 0: texel x a / 255 + colour x (255 - a) / 255.
        TintCase{kTextureQuad32, 0xFFC86400u, {0xFF64327Fu, 0xFF3F1FAFu, 0xFF2613CFu, 0xFF0000FFu}},
        // Level 1 halves; then the single-precision weights 64/255 and
        // 32/255, truncated; above level 4 the colour alone.
        TintCase{kTextureSoft32, 0xFFC86400u, {0xFF64327Fu, 0xFF3219BFu, 0xFF190CDFu, 0xFF0000FFu}},
        TintCase{kTextureSoft16,
                 A | rgb555(20, 10, 4),
                 {A | rgb555(10, 5, 17), A | rgb555(5, 2, 24), A | rgb555(2, 1, 27),
                  A | rgb555(0, 0, 31)}},
        // Green kept 6 bits wide: the unhalved sum at level 1, doubled after.
        TintCase{kTextureSoft16Full,
                 A | rgb555(20, 10, 4),
                 {rgb565(10, 10, 17), rgb565(5, 4, 24), rgb565(2, 2, 27), rgb565(0, 0, 31)}},
        // Each level halves the way to the colour, byte 3 kept.
        TintCase{kSurface32, 0x00C86400u, {0x7764327Fu, 0x773219BFu, 0x77190CDFu, 0x770301FBu}},
        // Widened, halved level times, narrowed.
        TintCase{kSurface16,
                 rgb565(20, 40, 4),
                 {rgb565(9, 19, 17), rgb565(4, 9, 24), rgb565(2, 4, 27), rgb565(0, 0, 30)}}),
    [](const auto& info) { return std::string(info.param.mode.name); });

// At 8 bits each step is one look-up in the blend table; a level of a
// million steps takes no longer than a few.
TEST(Tint, EightBitStepsThroughTheBlendTable)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface8));
    g_BlendTable[10 * 256 + 40] = 11;
    g_BlendTable[11 * 256 + 40] = 12;
    g_BlendTable[12 * 256 + 40] = 10;
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, kSurface8, 2, 1));
    ASSERT_TRUE(MakeSurface(&dest, kSurface8, 2, 1));
    SetPixels(src, {{10, 0}});
    for (auto [level, expected] : {std::pair{1, 11u}, {2, 12u}, {3, 10u}, {1000000, 11u}}) {
        SCOPED_TRACE(level);
        SetPixels(dest, {{7, 7}});
        EXPECT_TRUE(DDBltTint(&dest, 0, 0, 2, 1, &src, 0, 0, 1, g_ScreenPalette.data(),
                              g_BlendTable.data(), 40, level));
        EXPECT_EQ(GetPixels(dest, 2, 1)[0], (std::vector<std::uint32_t>{expected, 7}));
    }
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
    TearDownMode();
}

// Level 0 draws nothing anywhere; a negative level draws nothing under
// Direct3D and copies the source under DirectDraw.
TEST(Tint, LevelZeroDrawsNothingAndANegativeLevelCopiesOnlyUnderDirectDraw)
{
    for (const EffectMode& m : {kTextureQuad32, kTextureSoft32, kSurface8, kSurface32}) {
        SCOPED_TRACE(m.name);
        ASSERT_TRUE(SetUpEffectMode(m));
        DDSURFACEDATA src, dest;
        ASSERT_TRUE(MakeSurface(&src, m, 1, 1));
        ASSERT_TRUE(MakeSurface(&dest, m, 1, 1));
        SetPixels(src, {{m.bpp == 8 ? 5u : 0xFF123456u}});
        SetPixels(dest, {{m.bpp == 8 ? 6u : 0xFF654321u}});
        EXPECT_TRUE(DDBltTint(&dest, 0, 0, 1, 1, &src, 0, 0, 1, g_ScreenPalette.data(),
                              g_BlendTable.data(), 40, 0));
        EXPECT_EQ(dest.pixels()->get(0, 0), m.bpp == 8 ? 6u : 0xFF654321u);
        EXPECT_TRUE(DDBltTint(&dest, 0, 0, 1, 1, &src, 0, 0, 1, g_ScreenPalette.data(),
                              g_BlendTable.data(), 40, -1));
        const std::uint32_t copied = m.bpp == 8 ? 5u : 0xFF123456u;
        const std::uint32_t kept = m.bpp == 8 ? 6u : 0xFF654321u;
        EXPECT_EQ(dest.pixels()->get(0, 0), m.d3d ? kept : copied);
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
        TearDownMode();
    }
}

} // namespace
