// Set-up of the two back ends: the texture back end's refusals and the
// fallback contract, the formats of each depth, the surface back end's
// error numbers, and release.

#include "media/graphics_fixture.h"

#include "core/sjis_text.h"
#include "media/dd_output.h"

using namespace gfxtest;

namespace {

std::uint8_t InitTexture(int bpp, int windowed = 1)
{
    return DDInit(1, 0, 32, 24, bpp, 0, windowed, 1, 60, 0, g_BitmapSD.data(), g_BitmapTable.data(),
                  BITMAP_COUNT, 0);
}

std::uint8_t InitSurface(int bpp, int windowed = 1)
{
    return DDInit(0, 0, 32, 24, bpp, 0, windowed, 1, 60, 1, g_BitmapSD.data(), g_BitmapTable.data(),
                  BITMAP_COUNT, 0);
}

class GraphicsInit : public testing::Test {
protected:
    void SetUp() override
    {
        InitBitmapTable();
        g_DDD3DFaults = DDD3DFAULTS{};
        g_DDDrawFaults = DDDRAWFAULTS{};
        g_DDSetUp = 0;
        g_DDReady = 0;
    }
    void TearDown() override { TearDownMode(); }
};

struct RefusalCase {
    const char* name;
    DDD3DFAULTS faults;
    int bpp;
    bool stateLeftBehind;
};

DDD3DFAULTS Faults(int ddi, int noD3D, int hard, int soft)
{
    DDD3DFAULTS f;
    f.ddiVersion = ddi;
    f.noDirect3D = noD3D;
    f.hardwareDeviceFails = hard;
    f.softwareDeviceFails = soft;
    return f;
}

TEST_F(GraphicsInit, TextureBackEndRefusalsFallBackToSurfaces)
{
    const RefusalCase cases[] = {
        {"OldDriver", Faults(8, 0, 0, 0), 32, false},
        {"NoDirect3D", Faults(-1, 1, 0, 0), 32, false},
        {"TwentyFourBits", Faults(-1, 0, 0, 0), 24, true},
        {"EightBits", Faults(-1, 0, 0, 0), 8, true},
        {"NoDevice", Faults(-1, 0, 1, 1), 32, true},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_DDD3DFaults = c.faults;
        EXPECT_EQ(InitTexture(c.bpp), 0);
        EXPECT_EQ(g_D3DState != nullptr, c.stateLeftBehind);
        EXPECT_EQ(g_DDReady, 0);
        DDUninit();
        EXPECT_EQ(g_D3DState, nullptr) << "no texture state may survive the release";
        EXPECT_EQ(lpD3D, nullptr);
        EXPECT_EQ(lpDevice, nullptr);
        g_DDD3DFaults = DDD3DFAULTS{};
        ASSERT_EQ(InitSurface(32), 1);
        EXPECT_EQ(g_D3DState, nullptr);
        EXPECT_TRUE(BackBuffer.lpDD != nullptr);
        EXPECT_EQ(g_DDReady, 1);
        DDUninit();
        g_DDReady = 0;
    }
}

TEST_F(GraphicsInit, DriverVersionNineAndUnknownAreAccepted)
{
    for (int ddi : {9, 99999}) {
        LogRecorder log;
        g_DDD3DFaults.ddiVersion = ddi;
        EXPECT_EQ(InitTexture(32), 1) << ddi;
        EXPECT_TRUE(log.saw("report:Device HAL-HARD"));
        EXPECT_TRUE(log.saw("report:X8R8G8B8"));
        DDUninit();
    }
}

TEST_F(GraphicsInit, OldDriverIsReportedWithItsVersion)
{
    LogRecorder log;
    g_DDD3DFaults.ddiVersion = 8;
    EXPECT_EQ(InitTexture(32), 0);
    EXPECT_TRUE(log.saw(std::string("report:") +
                        Sjis("ビデオカードのドライバがDirectX9をサポートしていません！ 8")));
}

TEST_F(GraphicsInit, SoftwareVertexProcessingWhenHardwareFails)
{
    LogRecorder log;
    g_DDD3DFaults.hardwareDeviceFails = 1;
    EXPECT_EQ(InitTexture(32), 1);
    EXPECT_TRUE(log.saw("report:Device HAL-SOFT"));
}

TEST_F(GraphicsInit, TextureFormatsOfEachDepth)
{
    struct Case {
        int bpp, windowed;
        DDFormat back, texture;
        DDFORMATDATA pixel, backBuffer;
    };
    const DDFORMATDATA argb32{16, 8, 0, 24, 255, 255, 255, 255};
    const DDFORMATDATA argb1555{10, 5, 0, 15, 31, 31, 31, 1};
    const DDFORMATDATA rgb565{11, 5, 0, 16, 31, 63, 31, 0};
    const Case cases[] = {
        {32, 1, DDFormat::X8R8G8B8, DDFormat::A8R8G8B8, argb32, DDFORMATDATA{}},
        {16, 1, DDFormat::A1R5G5B5, DDFormat::A1R5G5B5, argb1555, argb1555},
        {16, 0, DDFormat::R5G6B5, DDFormat::A1R5G5B5, argb1555, rgb565},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bpp << " bpp, windowed " << c.windowed);
        g_BackBufferFormat = DDFORMATDATA{};
        ASSERT_EQ(InitTexture(c.bpp, c.windowed), 1);
        EXPECT_EQ(g_D3DState->backBufferFormat, c.back);
        EXPECT_EQ(g_D3DState->textureFormat, c.texture);
        EXPECT_EQ(BackBuffer.pixels()->format, c.back);
        EXPECT_EQ(VirBackBuffer.pixels()->format, c.texture);
        const DDFORMATDATA& p = g_PixelFormat;
        EXPECT_EQ((std::vector<int>{p.shiftR, p.shiftG, p.shiftB, p.shiftA, p.maxR, p.maxG, p.maxB,
                                    p.maxA}),
                  (std::vector<int>{c.pixel.shiftR, c.pixel.shiftG, c.pixel.shiftB, c.pixel.shiftA,
                                    c.pixel.maxR, c.pixel.maxG, c.pixel.maxB, c.pixel.maxA}));
        const DDFORMATDATA& b = g_BackBufferFormat;
        EXPECT_EQ((std::vector<int>{b.shiftR, b.shiftG, b.shiftB, b.maxG}),
                  (std::vector<int>{c.backBuffer.shiftR, c.backBuffer.shiftG, c.backBuffer.shiftB,
                                    c.backBuffer.maxG}));
        EXPECT_EQ(BackBuffer.szSurfaceType, "BackBuffer");
        EXPECT_EQ(VirBackBuffer.szSurfaceType, "VirBackBuffer");
        EXPECT_EQ(WorkSD.szSurfaceType, "WorkSD");
        EXPECT_EQ(BackBuffer.lpDT->serial, 0);
        EXPECT_EQ(g_D3DState->alphaOp, D3DTOP_SELECTARG1);
        DDUninit();
    }
}

TEST_F(GraphicsInit, WindowedSurfacesTakeTheDisplayFormatAfterAFailedTextureSetUp)
{
    g_DDD3DFaults.noDirect3D = 0;
    ASSERT_EQ(InitTexture(24), 0); // fills nothing, but a 32-bit attempt would have
    g_PixelFormat = DDFORMATDATA{16, 8, 0, 24, 255, 255, 255, 255};
    DDUninit();
    ASSERT_EQ(InitSurface(32), 1);
    const DDFORMATDATA& p = g_PixelFormat;
    EXPECT_EQ((std::vector<int>{p.shiftR, p.shiftG, p.shiftB, p.maxR, p.maxG, p.maxB}),
              (std::vector<int>{16, 8, 0, 255, 255, 255}));
    DDUninit();
    ASSERT_EQ(InitSurface(16), 1);
    EXPECT_EQ((std::vector<int>{p.shiftR, p.shiftG, p.shiftB, p.maxR, p.maxG, p.maxB}),
              (std::vector<int>{11, 5, 0, 31, 63, 31}));
    EXPECT_EQ(p.shiftA, 24) << "the alpha fields are not the display's to set";
}

TEST_F(GraphicsInit, SixteenBitDisplayWithFiveBitsOfGreen)
{
    g_DDDrawFaults.display555 = 1;
    ASSERT_EQ(InitSurface(16, 0), 1);
    EXPECT_EQ(g_PixelFormat.shiftR, 10);
    EXPECT_EQ(g_PixelFormat.maxG, 31);
}

TEST_F(GraphicsInit, SurfaceBackEndErrorsAreNamedAndFail)
{
    struct Case {
        const char* name;
        DDDRAWFAULTS faults;
        int bpp, windowed;
        const char* line;
    };
    const Case cases[] = {
        {"CreateFails", DDDRAWFAULTS{1, 0, 0}, 32, 0, "log:CREATEEX_ERR"},
        {"CreateFailsWindowed", DDDRAWFAULTS{1, 0, 0}, 32, 1, "log:CREATEEX_ERR"},
        {"NoDisplayMode", DDDRAWFAULTS{0, 2, 0}, 32, 0, "log:SETDISPLAYMODE_ERR"},
        {"TwentyFourBitDisplay", DDDRAWFAULTS{}, 24, 0, "log:SETDISPLAYMODE_ERR"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogRecorder log;
        g_DDDrawFaults = c.faults;
        EXPECT_EQ(InitSurface(c.bpp, c.windowed), 0);
        EXPECT_TRUE(log.saw(c.line));
        DDUninit();
    }
}

TEST_F(GraphicsInit, RefreshRateRequestFallsBackToTheDefault)
{
    g_DDDrawFaults.setDisplayModeFails = 1;
    EXPECT_EQ(InitSurface(32, 0), 1);
}

TEST_F(GraphicsInit, ErrorNames)
{
    struct Case {
        int number;
        const char* name;
    };
    const Case named[] = {{1, "CREATEEX_ERR"},           {2, "SETCOOPLEVEL_ERR"},
                          {3, "SETDISPLAYMODE_ERR"},     {4, "CREATESURFACE_ERR"},
                          {5, "GETATTACHEDSURFACE_ERR"}, {6, "CREATEPALETTE_ERR"},
                          {7, "SETPALETTE_ERR"},         {10, "CLIPPER_ERR"},
                          {11, "SETHWND_ERR"},           {12, "SETCLIPPER_ERR"}};
    for (const Case& c : named) {
        LogRecorder log;
        EXPECT_FALSE(DDErrorName(c.number));
        EXPECT_TRUE(log.saw(std::string("log:") + c.name));
    }
    for (int number : {0, 8, 9, 13}) {
        LogRecorder log;
        EXPECT_TRUE(DDErrorName(number));
        EXPECT_TRUE(log.lines.empty());
    }
}

TEST_F(GraphicsInit, FullScreenSurfacesFlipToTheScreen)
{
    std::vector<std::uint32_t> shown;
    DDSetFrameSink([&](const std::uint32_t* xrgb, int w, int h) {
        shown.assign(xrgb, xrgb + static_cast<std::size_t>(w) * h);
    });
    ASSERT_EQ(InitSurface(32, 0), 1);
    BackBuffer.pixels()->fill(0x00123456);
    const DDPixels* before = BackBuffer.pixels();
    ASSERT_EQ(lpDD->Flip(), DD_OK);
    ASSERT_EQ(shown.size(), 32u * 24u);
    EXPECT_EQ(shown[0], 0x123456u);
    EXPECT_EQ(BackBuffer.pixels(), before) << "the back buffer stays the same surface";
    DDSetFrameSink(nullptr);
}

TEST_F(GraphicsInit, EightBitSurfacesStartWithTheSetUpPalette)
{
    ASSERT_EQ(InitSurface(8, 0), 1);
    ASSERT_TRUE(lpDDPalette != nullptr);
    EXPECT_EQ(lpDDPalette->entries[0].blue, 255);
    EXPECT_EQ(lpDDPalette->entries[7].red, 7);
    EXPECT_EQ(lpDDPalette->entries[7].green, 7);
    EXPECT_TRUE(PrimarySD.lpDD->lpDDSurface->palette != nullptr);
    DDUninit();
    ASSERT_EQ(InitSurface(8, 1), 1);
    EXPECT_EQ(lpDDPalette->entries[5].green, 0) << "the display's fixed colours";
    EXPECT_EQ(lpDDPalette->entries[5].flags, PC_EXPLICIT);
    EXPECT_EQ(lpDDPalette->entries[100].green, 100);
}

TEST_F(GraphicsInit, SecondSetUpReleasesTheFirst)
{
    ASSERT_EQ(InitTexture(32), 1);
    const std::size_t listed = g_RestoreList.size();
    ASSERT_EQ(InitTexture(32), 1);
    EXPECT_EQ(g_RestoreList.size(), listed);
    ASSERT_EQ(InitSurface(32), 1);
    EXPECT_EQ(g_D3DState, nullptr);
    EXPECT_TRUE(g_RestoreList.empty());
}

TEST_F(GraphicsInit, SurfacesStillHeldAtReleaseAreReported)
{
    ASSERT_EQ(InitSurface(32), 1);
    DDSURFACEDATA kept;
    ASSERT_TRUE(DDCreateSurface(&kept, 2, 2, 0, 1, 0, 0, 0));
    LogRecorder log;
    DDUninit();
    EXPECT_EQ(log.lines.size(), 1u);
    EXPECT_NE(log.lines[0].find("DirectDraw"), std::string::npos);
    DDReleaseSurface(&kept);
}

} // namespace
