// Surfaces: the texture size rules, the restore list (also while the
// surfaces move inside growing containers), release, linked copies, the
// helpers over vectors and lists, and creation when memory runs short.

#include "media/graphics_fixture.h"

#include <list>

#include "media/dd_present.h"

using namespace gfxtest;

namespace {

class TextureSurface : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetUpMode(AllModes()[0], 16, 12)); }
    void TearDown() override { TearDownMode(); }
};

TEST_F(TextureSurface, SizeRulesOfTheDevice)
{
    struct Case {
        int pow2, square, width, height, textureWidth, textureHeight;
    };
    const Case cases[] = {
        {1, 0, 640, 480, 1024, 512}, {1, 1, 640, 480, 1024, 1024}, {0, 1, 640, 480, 640, 640},
        {1, 0, 100, 64, 128, 64},    {0, 0, 100, 3, 100, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        g_D3DState->pow2Only = c.pow2;
        g_D3DState->squareOnly = c.square;
        DDSURFACEDATA sd;
        ASSERT_TRUE(DDCreateSurface(&sd, c.width, c.height, 0, 0, 0, 0, 0));
        EXPECT_EQ(sd.width, c.width);
        EXPECT_EQ(sd.height, c.height);
        EXPECT_EQ(sd.textureWidth, c.textureWidth);
        EXPECT_EQ(sd.textureHeight, c.textureHeight);
        DDReleaseSurface(&sd);
    }
    int w = 0, h = 0;
    g_D3DState->pow2Only = 1;
    DDTextureSize(&w, &h);
    EXPECT_EQ(w, 0);
}

TEST_F(TextureSurface, TextureLargerThanTheDeviceAllowsIsReportedAndStillMade)
{
    g_D3DState->caps.maxTextureWidth = 512;
    g_D3DState->caps.maxTextureHeight = 256;
    LogRecorder log;
    DDSURFACEDATA sd;
    EXPECT_TRUE(DDCreateSurface(&sd, 600, 300, 0, 0, 0, 0, 0));
    EXPECT_EQ(log.lines.size(), 3u) << "width, height and the warning";
    DDReleaseSurface(&sd);
}

TEST_F(TextureSurface, RestoreListHoldsTextureSurfacesUntilReleased)
{
    const std::size_t fixed = g_RestoreList.size(); // VirBackBuffer and WorkSD
    DDSURFACEDATA a, b, sizesOnly;
    ASSERT_TRUE(DDCreateSurface(&a, 4, 4, 0, 0, 0, 0, 0));
    ASSERT_TRUE(DDCreateSurface(&b, 4, 4, 0, 0, 0, 0, 0));
    ASSERT_TRUE(DDCreateSurface(&sizesOnly, 4, 4, 0, 1, 0, 1, 0));
    EXPECT_EQ(g_RestoreList.size(), fixed + 2) << "a sizes-only surface is never listed";
    EXPECT_FALSE(sizesOnly.lpDT->hasVertexBuffer);
    EXPECT_NE(a.lpDT->serial, b.lpDT->serial);
    sizesOnly.lpMirror = &a;
    DDReleaseSurface(&sizesOnly);
    EXPECT_EQ(g_RestoreList.size(), fixed + 2) << "a linked copy owns nothing of the list";
    EXPECT_TRUE(a.pixels() != nullptr);
    DDReleaseSurface(&a);
    ASSERT_EQ(g_RestoreList.size(), fixed + 1);
    EXPECT_EQ(g_RestoreList.back(), &b);
    DDReleaseSurface(&b);
    EXPECT_EQ(g_RestoreList.size(), fixed);
}

TEST_F(TextureSurface, SurfacesMovedByAGrowingVectorStayListedAtTheirNewPlace)
{
    std::vector<DDSURFACEDATA> surfaces;
    std::vector<DDBMPDATA> records;
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(DDCreateSurfaceVec(surfaces, records, 2, 2, 1, 0, 0, 0));
    }
    ASSERT_EQ(records.size(), surfaces.size());
    int listed = 0;
    for (DDSURFACEDATA* entry : g_RestoreList) {
        if (entry >= surfaces.data() && entry < surfaces.data() + surfaces.size()) ++listed;
    }
    EXPECT_EQ(listed, 40);
    // The recovery walks the list: every entry must be a live surface.
    lpDevice->Lose();
    EXPECT_EQ(DDPresent(), 0);
    EXPECT_EQ(DDRestoreSurface(), 1);
    for (const DDSURFACEDATA& sd : surfaces) {
        ASSERT_TRUE(sd.pixels() != nullptr);
        EXPECT_EQ(sd.lpDT->redraw, 1);
    }
    DDReleaseSurfaceVec(surfaces);
    surfaces.clear();
}

TEST_F(TextureSurface, DestroyedSurfaceLeavesTheList)
{
    const std::size_t fixed = g_RestoreList.size();
    {
        DDSURFACEDATA scoped;
        ASSERT_TRUE(DDCreateSurface(&scoped, 2, 2, 0, 0, 0, 0, 0));
        EXPECT_EQ(g_RestoreList.size(), fixed + 1);
    }
    EXPECT_EQ(g_RestoreList.size(), fixed);
}

TEST_F(TextureSurface, DeleteFromAListRemovesTheSurfaceAndItsRecord)
{
    std::list<DDSURFACEDATA> surfaces;
    std::list<DDBMPDATA> records;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(DDCreateSurfaceList(surfaces, records, 2 + i, 2, i, 0, 0, 0));
    }
    DDSURFACEDATA* middle = &*std::next(surfaces.begin());
    EXPECT_EQ(DDDeleteSurfaceList(surfaces, records, middle), 1);
    ASSERT_EQ(surfaces.size(), 2u);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(surfaces.back().width, 4);
    EXPECT_EQ(records.back().colourKey, 2);
    DDSURFACEDATA stranger;
    EXPECT_EQ(DDDeleteSurfaceList(surfaces, records, &stranger), 0);
    DDReleaseSurfaceList(surfaces);
}

TEST_F(TextureSurface, OutOfVideoMemoryMakesASystemMemoryTexture)
{
    LogRecorder log;
    g_DDVideoMemoryFull = true;
    DDSURFACEDATA sd;
    ASSERT_TRUE(DDCreateSurface(&sd, 4, 4, 0, 0, 0, 0, 0));
    EXPECT_EQ(sd.lpDT->systemTexture, 1);
    EXPECT_EQ(sd.lpDT->renderTarget, 0);
    EXPECT_EQ(log.lines.size(), 1u);
    DDReleaseSurface(&sd);
}

TEST_F(TextureSurface, AbsurdSizesFailWithoutAllocating)
{
    DDSURFACEDATA sd;
    EXPECT_FALSE(DDCreateSurface(&sd, 100000, 100000, 0, 0, 0, 0, 0));
    EXPECT_FALSE(DDCreateSurface(&sd, -5, 10, 0, 0, 0, 0, 0));
    LogRecorder log;
    EXPECT_FALSE(DDCreateSurface(&sd, 100000, 4, 0, 0, 1, 0, 0));
    EXPECT_TRUE(log.saw("close:")) << "a system texture that cannot be made closes the game";
    DDReleaseSurface(&sd);
}

TEST_F(TextureSurface, LinkSharedTexturesLinksEveryDirectDrawOnlyCopy)
{
    for (auto& sd : g_BitmapSD)
        sd.lpMirror = nullptr;
    LinkSharedTextures();
    int links = 0;
    for (int n = 0; n < BITMAP_COUNT; ++n) {
        if (g_BitmapSD[n].lpMirror) {
            ++links;
            EXPECT_EQ(g_BitmapTable[n].noTexture, 1) << n;
            int target = static_cast<int>(g_BitmapSD[n].lpMirror - g_BitmapSD.data());
            EXPECT_EQ(g_BitmapTable[target].name, g_BitmapTable[n].name) << n;
            EXPECT_EQ(g_BitmapTable[target].cellWidth, g_BitmapTable[n].cellWidth) << n;
        }
    }
    EXPECT_EQ(links, 22);
    for (auto& sd : g_BitmapSD)
        sd.lpMirror = nullptr;
}

TEST(DirectDrawSurface, VideoMemoryExhaustionFallsBackToSystemMemory)
{
    ASSERT_TRUE(SetUpMode(AllModes()[5], 16, 12));
    g_DDVideoMemoryFull = true;
    DDSURFACEDATA sd;
    ASSERT_TRUE(DDCreateSurface(&sd, 4, 4, 0, 0, 0, 0, 0));
    EXPECT_EQ(sd.ddMemory, 1);
    EXPECT_EQ(sd.lpDD->lpDDSurface->memoryType, 1);
    DDReleaseSurface(&sd);
    EXPECT_FALSE(DDCreateSurface(&sd, 20000, 4, 0, 1, 0, 0, 0));
    TearDownMode();
}

TEST(DirectDrawSurface, NewSurfaceIsFilledWithPaletteColourZeroAndKeyed)
{
    ASSERT_TRUE(SetUpMode(AllModes()[4], 16, 12));
    DDSURFACEDATA sd;
    ASSERT_TRUE(DDCreateSurface(&sd, 3, 3, 1, 1, 0, 0, 0));
    EXPECT_EQ(sd.pixels()->get(2, 2), DDRGBTo16(&g_Palette[0]));
    EXPECT_TRUE(sd.lpDD->lpDDSurface->hasColorKey);
    EXPECT_EQ(sd.lpDD->lpDDSurface->colorKey, g_DDKeyColor);
    DDReleaseSurface(&sd);
    TearDownMode();
}

TEST(SurfaceErrorName, NamesTheLoadFailures)
{
    struct Case {
        int number;
        bool result;
        std::string line;
    };
    const Case cases[] = {{4, false, "log:CREATESURFACE_ERR"},
                          {8, false, "log:LOADIMAGE_ERR"},
                          {9, false, "log:SETCOLORKEY_ERR"},
                          {0, true, ""},
                          {-2005530516, true, ""}};
    for (const Case& c : cases) {
        LogRecorder log;
        EXPECT_EQ(DDSurfaceErrorName(c.number), c.result) << c.number;
        if (c.line.empty()) {
            EXPECT_TRUE(log.lines.empty()) << c.number;
        } else {
            EXPECT_TRUE(log.saw(c.line)) << c.number;
        }
    }
}

} // namespace
