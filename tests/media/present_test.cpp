// Showing frames: the texture back end's present and virtual back buffer,
// the surface back end's copy to the window and flip, and frames of 8 bits
// shown through the palette.

#include "media/graphics_fixture.h"

#include <array>

#include "media/dd_blit.h"
#include "media/dd_output.h"
#include "media/dd_present.h"

using namespace gfxtest;

namespace {

class FrameRecorder {
public:
    FrameRecorder()
    {
        DDSetFrameSink([this](const std::uint32_t* xrgb, int w, int h) {
            ++frames;
            width = w;
            height = h;
            last.assign(xrgb, xrgb + static_cast<std::size_t>(w) * h);
        });
    }
    ~FrameRecorder() { DDSetFrameSink(nullptr); }
    std::uint32_t at(int x, int y) const { return last[static_cast<std::size_t>(y) * width + x]; }
    int frames = 0, width = 0, height = 0;
    std::vector<std::uint32_t> last;
};

class TexturePresent : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SetUpMode(AllModes()[0], 8, 6)); }
    void TearDown() override { TearDownMode(); }
};

TEST_F(TexturePresent, PresentShowsTheBackBuffer)
{
    FrameRecorder shown;
    DDClearPal(&BackBuffer, 5);
    EXPECT_EQ(DDPresent(), 1);
    ASSERT_EQ(shown.frames, 1);
    EXPECT_EQ(shown.width, 8);
    EXPECT_EQ(shown.height, 6);
    EXPECT_EQ(shown.at(7, 5), 0x2808D0u);
}

TEST_F(TexturePresent, VirtualBackBufferTakesTheScreenUntilPresent)
{
    FrameRecorder shown;
    DDSURFACEDATA picture;
    ASSERT_TRUE(DDCreateSurface(&picture, 2, 2, 0, 0, 0, 0, 0));
    DDClearPal(&picture, 7);
    DDClearPal(&BackBuffer, 5);
    DDSetVirtualBackBuffer(1);
    DDClearPal(&BackBuffer, 9);
    DDBlt(&BackBuffer, 0, 0, 2, 2, &picture, 0, 0, 0);
    PaletteReader reader;
    EXPECT_EQ(reader.at(BackBuffer, 0, 0), 5) << "the real back buffer is untouched";
    EXPECT_EQ(reader.at(VirBackBuffer, 0, 0), 7);
    EXPECT_EQ(reader.at(VirBackBuffer, 5, 5), 9);
    EXPECT_EQ(DDPresent(), 1);
    EXPECT_EQ(shown.at(1, 1), 0x3808C0u) << "colour 7";
    EXPECT_EQ(shown.at(5, 5), 0x4808B0u) << "colour 9";
    // Leaving the mode keeps what was drawn so far.
    DDBlt(&BackBuffer, 6, 4, 2, 2, &picture, 0, 0, 0);
    DDSetVirtualBackBuffer(0);
    EXPECT_EQ(reader.at(BackBuffer, 7, 5), 7);
    DDReleaseSurface(&picture);
}

TEST_F(TexturePresent, LostDeviceIsReportedUntilRestored)
{
    FrameRecorder shown;
    lpDevice->Lose();
    EXPECT_EQ(DDPresent(), 0);
    EXPECT_EQ(shown.frames, 0);
    EXPECT_EQ(DDRestoreSurface(), 1);
    EXPECT_EQ(DDPresent(), 1);
    EXPECT_EQ(shown.frames, 1);
}

TEST_F(TexturePresent, RestoreOfTheOtherBackEndOnlyLogs)
{
    LogRecorder log;
    EXPECT_EQ(DDRestore(), 1);
    EXPECT_EQ(log.lines.size(), 1u);
}

TEST(SurfacePresent, WindowCopyShowsTheBackBuffer)
{
    ASSERT_TRUE(SetUpMode(AllModes()[5], 8, 6));
    {
        FrameRecorder shown;
        DDClearPal(&BackBuffer, 5);
        EXPECT_EQ(DDBltToPrimary(), DD_OK);
        ASSERT_EQ(shown.frames, 1);
        EXPECT_EQ(shown.at(3, 3), 0x2808D0u);
        LogRecorder log;
        EXPECT_EQ(DDPresent(), 1) << "nothing to do for this back end";
        EXPECT_EQ(DDRestoreSurface(), 1);
        EXPECT_EQ(log.lines.size(), 1u);
    }
    TearDownMode();
}

TEST(SurfacePresent, EightBitFramesAreShownThroughTheDisplayPalette)
{
    ASSERT_TRUE(SetUpMode(AllModes()[3], 8, 6));
    {
        FrameRecorder shown;
        lpDDPalette->SetEntries(0, 256, g_Palette.data());
        DDClearPal(&BackBuffer, 5);
        EXPECT_EQ(DDFlipPrimary(), DD_OK);
        EXPECT_EQ(shown.at(0, 0), 0x2808D0u);
        // A palette change alone shows on the next frame.
        DDPALENTRY red{255, 0, 0, 0};
        lpDDPalette->SetEntries(5, 1, &red);
        DDClearPal(&BackBuffer, 5);
        DDFlipPrimary();
        EXPECT_EQ(shown.at(0, 0), 0xFF0000u);
    }
    TearDownMode();
}

TEST(SurfacePresent, SixteenBitFramesWidenEachChannel)
{
    DDPixels frame(DDFormat::R5G6B5, 2, 1);
    frame.set(0, 0, 0xFFFF);
    frame.set(1, 0, 16u << 11 | 32u << 5 | 1u);
    std::uint32_t out[2];
    DDFrameToXrgb(frame, nullptr, out);
    EXPECT_EQ(out[0], 0xFFFFFFu);
    EXPECT_EQ(out[1], 0x848208u);
}

} // namespace

namespace {

// Each index through the palette, whatever the width (whole groups of eight
// pixels and the rest of a row alike).
TEST(SurfacePresent, EightBitFramesTakeEachColourFromThePalette)
{
    std::array<DDPALENTRY, 256> palette{};
    for (int n = 0; n < 256; ++n)
        palette[n] = DDPALENTRY{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n ^ 0x5A),
                                static_cast<std::uint8_t>(255 - n), 0};
    DDPixels frame(DDFormat::P8, 19, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 19; ++x)
            frame.set(x, y, static_cast<std::uint32_t>((x * 37 + y * 101) & 0xFF));
    std::vector<std::uint32_t> out(19 * 3);
    DDFrameToXrgb(frame, palette.data(), out.data());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 19; ++x) {
            const DDPALENTRY& e = palette[(x * 37 + y * 101) & 0xFF];
            EXPECT_EQ(out[y * 19 + x],
                      std::uint32_t{e.red} << 16 | std::uint32_t{e.green} << 8 | e.blue)
                << x << "," << y;
        }
}

} // namespace
