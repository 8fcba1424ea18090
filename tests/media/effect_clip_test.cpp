// What the rectangle effects share: in every software branch a rectangle
// partly outside either surface draws only its inside part, from any
// origin; a source that cannot be locked fails the effect and leaves the
// destination; a linked copy is read through the surface it is linked to.

#include "media/effect_fixture.h"

#include <climits>
#include <functional>

#include "media/dd_blur.h"
#include "media/dd_lens.h"
#include "media/dd_rotate.h"
#include "media/dd_translucent.h"

using namespace fxtest;

namespace {

using Effect = std::function<bool(DDSURFACEDATA* dest, int x, int y, int w, int h,
                                  DDSURFACEDATA* src, int sx, int sy)>;

struct NamedEffect {
    const char* name;
    Effect run;
    bool drawsAtEightBits;
};

const std::vector<NamedEffect>& RectangleEffects()
{
    static const std::vector<NamedEffect> effects = {
        {"Half",
         [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy) {
             return DDBltHalf(d, x, y, w, h, s, sx, sy, 1, g_BlendTable.data());
         },
         true},
        {"Tint",
         [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy) {
             return DDBltTint(d, x, y, w, h, s, sx, sy, 1, g_ScreenPalette.data(),
                              g_BlendTable.data(), 40, 1);
         },
         true},
        {"Blur",
         [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy) {
             return DDBltBlur(d, x, y, w, h, 1, 1, s, sx, sy, 1);
         },
         false},
        {"Mosaic",
         [](DDSURFACEDATA* d, int x, int y, int w, int h, DDSURFACEDATA* s, int sx, int sy) {
             return DDBltMosaic(d, x, y, w, h, 1, s, sx, sy, 1);
         },
         true},
    };
    return effects;
}

struct Placement {
    int x, y, sx, sy, w, h;
    std::vector<std::string> changed; // of the 6 x 5 destination
};

const std::vector<Placement> kPlacements = {
    {1, 1, 0, 0, 4, 3, {"......", ".####.", ".####.", ".####.", "......"}},
    {-1, -1, 0, 0, 4, 3, {"###...", "###...", "......", "......", "......"}},
    {4, 3, 0, 0, 4, 3, {"......", "......", "......", "....##", "....##"}},
    {3, -2, 0, 0, 4, 3, {"...###", "......", "......", "......", "......"}},
    {-3, 4, 0, 0, 4, 3, {"......", "......", "......", "......", "#....."}},
    // The source rectangle starting left of and above the source.
    {1, 1, -2, -1, 4, 3, {"......", "......", "...##.", "...##.", "......"}},
    // ... and reaching past its right and bottom edges.
    {0, 0, 2, 1, 4, 3, {"##....", "##....", "......", "......", "......"}},
    {6, 0, 0, 0, 4, 3, {"......", "......", "......", "......", "......"}},
    {0, -3, 0, 0, 4, 3, {"......", "......", "......", "......", "......"}},
    // Far origins and sizes: the same offsets count in both surfaces.
    {-1000000,
     -1000000,
     -1000000,
     -1000000,
     INT_MAX,
     INT_MAX,
     {"####..", "####..", "####..", "......", "......"}},
    {-1000000, 0, 0, 0, INT_MAX, 3, {"......", "......", "......", "......", "......"}},
};

class EffectClipping : public testing::TestWithParam<EffectMode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpEffectMode(GetParam()));
        ASSERT_TRUE(MakeSurface(&src, GetParam(), 4, 3));
        ASSERT_TRUE(MakeSurface(&dest, GetParam(), 6, 5));
        DDClearPal(&src, 5);
    }
    void TearDown() override
    {
        DDReleaseSurface(&src);
        DDReleaseSurface(&dest);
        TearDownMode();
    }
    DDSURFACEDATA src, dest;
};

TEST_P(EffectClipping, OnlyTheInsidePartIsDrawn)
{
    for (const NamedEffect& e : RectangleEffects()) {
        if (GetParam().bpp == 8 && !e.drawsAtEightBits) continue;
        for (const Placement& p : kPlacements) {
            SCOPED_TRACE(testing::Message() << e.name << " at " << p.x << "," << p.y << " from "
                                            << p.sx << "," << p.sy);
            DDClearPal(&dest, 20);
            const Rows before = GetPixels(dest, 6, 5);
            EXPECT_TRUE(e.run(&dest, p.x, p.y, p.w, p.h, &src, p.sx, p.sy));
            EXPECT_EQ(Changed(before, GetPixels(dest, 6, 5)), p.changed);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, EffectClipping, testing::ValuesIn(SoftwareModes()), EffectModeName);

// A source that cannot be locked after the destination was: false, and the
// destination as it was.
TEST(EffectLocks, ALostSourceFailsEveryEffect)
{
    ASSERT_TRUE(SetUpEffectMode(kSurface32));
    DDSURFACEDATA src, dest;
    ASSERT_TRUE(MakeSurface(&src, kSurface32, 4, 3));
    ASSERT_TRUE(MakeSurface(&dest, kSurface32, 6, 5));
    DDClearPal(&src, 5);
    DDClearPal(&dest, 20);
    const Rows before = GetPixels(dest, 6, 5);
    src.lpDD->lpDDSurface->lost = true;
    for (const NamedEffect& e : RectangleEffects()) {
        SCOPED_TRACE(e.name);
        EXPECT_FALSE(e.run(&dest, 0, 0, 4, 3, &src, 0, 0));
    }
    EXPECT_FALSE(DDBltRotate(&dest, 2, 2, 4, 3, 2, 1, 30, &src, 0, 0, 1));
    EXPECT_FALSE(DDBltLens(&dest, 2, 2, 2, 1, &src, 2, 1, 1));
    EXPECT_EQ(GetPixels(dest, 6, 5), before);
    DDReleaseSurface(&src);
    DDReleaseSurface(&dest);
    TearDownMode();
}

// Under Direct3D a copy linked to another surface is read through it.
TEST(EffectLinks, ALinkedCopyIsReadThroughTheSurfaceItIsLinkedTo)
{
    ASSERT_TRUE(SetUpEffectMode(kTextureSoft32));
    DDSURFACEDATA picture, copy, dest;
    ASSERT_TRUE(MakeSurface(&picture, kTextureSoft32, 2, 1));
    ASSERT_TRUE(DDCreateSurface(&copy, 2, 1, 0, 1, 0, 1, 0));
    ASSERT_TRUE(MakeSurface(&dest, kTextureSoft32, 2, 1));
    SetPixels(picture, {{0xFF102030u, 0xFF405060u}});
    copy.lpMirror = &picture;
    EXPECT_TRUE(DDBltMosaic(&dest, 0, 0, 2, 1, 1, &copy, 0, 0, 0));
    EXPECT_EQ(GetPixels(dest, 2, 1)[0], (std::vector<std::uint32_t>{0x00102030u, 0x00405060u}));
    DDReleaseSurface(&copy);
    DDReleaseSurface(&picture);
    DDReleaseSurface(&dest);
    TearDownMode();
}

} // namespace
