// The pictures the screen effects draw, in both back ends: a patterned
// frame goes through each kind at a set value, and the screen read back as
// palette numbers must hash to the same value in every mode (the mosaic,
// which averages colours, has one value per kind of pixel arithmetic).
// Also: the picture a few kinds must give, and the virtual back buffer held
// while an effect runs.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/ed_database.h"
#include "media/dd_present.h"
#include "media/dd_render.h"
#include "media/dd_state.h"
#include "media/graphics_fixture.h"
#include "support/world_fixture.h"
#include "world/database_tables.h"
#include "world/screen_effects.h"

namespace {

using Grid = std::vector<std::vector<int>>;

constexpr int kW = 640;
constexpr int kH = 480;

// The frame before the effect: blocks of 40 x 40 pixels in 60 colours.
int PatternAt(int x, int y)
{
    return 1 + ((x / 40) * 5 + (y / 40) * 7) % 60;
}

Grid PatternFrame()
{
    Grid frame(kH, std::vector<int>(kW));
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            frame[y][x] = PatternAt(x, y);
    return frame;
}

std::uint64_t Hash(const Grid& grid)
{
    std::uint64_t h = 1469598103934665603ull;
    for (const auto& row : grid)
        for (int v : row) {
            h ^= static_cast<std::uint64_t>(static_cast<std::int64_t>(v));
            h *= 1099511628211ull;
        }
    return h;
}

const std::vector<gfxtest::Mode>& Modes()
{
    static const std::vector<gfxtest::Mode> modes = {{"Texture32", 1, 32, 1},
                                                     {"Texture16", 1, 16, 1},
                                                     {"Surface8", 0, 8, 0},
                                                     {"Surface16", 0, 16, 1},
                                                     {"Surface32", 0, 32, 1}};
    return modes;
}

class ScreenEffectPixels : public test::WorldTest,
                           public ::testing::WithParamInterface<gfxtest::Mode> {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        ASSERT_TRUE(gfxtest::SetUpMode(GetParam(), kW, kH));
        // The work surfaces as the bitmap table makes them; under Direct3D
        // the pixel-effect copy draws through the other's texture.
        ASSERT_TRUE(DDCreateSurface(&g_BitmapSD[67], kW, kH, 1, 0, 0, 0, 0));
        ASSERT_TRUE(DDCreateSurface(&g_BitmapSD[68], kW, kH, 1, 1, 0, 1, 0));
        if (GetParam().d3d) LinkSharedTextures();
        Start(test::MakeStage(30, 20, 2, 2));
        // The player's picture centred at (316, 216).
        player().m_ScrLeft = 300;
        player().m_ScrTop = 200;
        player().m_PicWidth = 32;
        player().m_PicHeight = 32;
        reader = std::make_unique<gfxtest::PaletteReader>();
    }
    void TearDown() override
    {
        reader.reset();
        for (DDSURFACEDATA& sd : g_BitmapSD)
            sd.lpMirror = nullptr;
        DDReleaseSurface(&g_BitmapSD[67]);
        DDReleaseSurface(&g_BitmapSD[68]);
        g_ScrEffectStates.clear();
        g_ScrEffectStatesRev.clear();
        gfxtest::TearDownMode();
        WorldTest::TearDown();
    }

    // Starts record 1 as the effect, drawing into the virtual back buffer
    // as the play screen does.
    void Run(int kind, std::array<std::int32_t, 5> params)
    {
        g_Database.ScrEffect.resize(2);
        g_Database.ScrEffect[1].m_Kind = kind;
        for (int i = 0; i < 5; ++i)
            g_Database.ScrEffect[1].m_Param[i] = params[static_cast<std::size_t>(i)];
        BuildDatabaseTables();
        stage->m_ScrEffect.Start(1, 0, 0);
        DDSetVirtualBackBuffer(1);
    }
    void PaintFrame()
    {
        for (int y = 0; y < kH; y += 40)
            for (int x = 0; x < kW; x += 40)
                DDBoxFillPal(&BackBuffer, x, y, 40, 40, PatternAt(x, y));
    }
    // The frame as drawn so far (under Direct3D in the virtual back buffer).
    Grid Screen()
    {
        DDSURFACEDATA* shown = &BackBuffer;
        DDVirtualTarget(&shown);
        // A pixel value reads as the same number wherever it is.
        const DDPixels& pixels = *shown->pixels();
        std::unordered_map<std::uint32_t, int> numbers;
        Grid grid(kH, std::vector<int>(kW));
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const std::uint32_t v = pixels.get(x, y);
                auto it = numbers.find(v);
                if (it == numbers.end()) it = numbers.emplace(v, reader->at(*shown, x, y)).first;
                grid[y][x] = it->second;
            }
        return grid;
    }
    // The patterned frame drawn through the effect once, frozen.
    Grid Through(int kind, std::array<std::int32_t, 5> params, double value, int int1 = 0,
                 int int2 = 0, double value2 = 0)
    {
        Run(kind, params);
        stage->m_ScrEffect.m_Value = value;
        stage->m_ScrEffect.m_Value2 = value2;
        stage->m_ScrEffect.m_Int1 = int1;
        stage->m_ScrEffect.m_Int2 = int2;
        PaintFrame();
        DrawScrEffect(1);
        return Screen();
    }
    bool Texture() const { return GetParam().d3d != 0; }

    std::unique_ptr<gfxtest::PaletteReader> reader;
};

TEST_P(ScreenEffectPixels, EachKindDrawsTheSamePictureInEveryMode)
{
    struct Case {
        const char* name;
        int kind;
        std::array<std::int32_t, 5> params;
        double value;
        int int1;
        double value2;
    };
    const Case cases[] = {
        {"slide", 1, {10, 0, 0, 640, 0}, 0, 37, 0},
        {"shake x", 2, {10, 4, 4, 0, 0}, 0, 0, -3.5},
        {"shake y", 3, {10, 4, 4, 0, 0}, 0, 0, 3.5},
        {"strips x", 4, {10, 0, 640, 7, 0}, 25, 0, 0},
        {"strips y", 5, {10, 0, 480, 9, 0}, 31, 0, 0},
        {"wave x", 6, {10, 0, 640, 4, 8}, 20.5, 30, 0},
        {"wave y", 7, {10, 0, 480, 3, 10}, 15.5, 100, 0},
        {"rotation", 9, {10, 0, 1440, 0, 0}, 30, 0, 0},
        {"circle", 10, {10, 640, 0, 8, 0}, 150, 0, 0},
        {"zoom in", 11, {10, 640, 1280, 0, 0}, 1000, 0, 0},
        {"zoom out", 11, {10, 640, 1280, 0, 0}, 400, 0, 0},
        {"lens", 12, {10, 1500, 5, 20, -10}, 300, 0, 0},
        {"mosaic", 13, {10, 1, 60, 0, 0}, 13, 0, 0},
    };
    std::map<std::string, std::uint64_t> hashes;
    for (const Case& c : cases)
        hashes[c.name] = Hash(Through(c.kind, c.params, c.value, c.int1, 0, c.value2));
    // Under Direct3D the rotation and the stretch are textured quads. The
    // mosaic takes a block's first pixel at 8 bits and in the 16-bit
    // texture branch, and averages colours otherwise, in the channels of the
    // depth.
    const bool quad = Texture();
    const int bpp = GetParam().bpp;
    const std::uint64_t mosaic = bpp == 8 || (quad && bpp == 16) ? 17473707052183896961ull
                                 : bpp == 16                     ? 13527433256064336771ull
                                                                 : 7327194688043812796ull;
    const std::map<std::string, std::uint64_t> expected = {
        {"slide", 16865534168589042691ull},
        {"shake x", 13147342662303465091ull},
        {"shake y", 4637311928196441891ull},
        {"strips x", 16658432762467532172ull},
        {"strips y", 6988925110064043211ull},
        {"wave x", 17380131190913223235ull},
        {"wave y", 2450548847224528771ull},
        {"rotation", quad ? 13999595625269478447ull : 12973685459561325567ull},
        {"circle", 12095559066856033911ull},
        {"zoom in", quad ? 14440389853068598151ull : 8262777979659534251ull},
        {"zoom out", 14952066184566660115ull},
        {"lens", 13947056435555395394ull},
        {"mosaic", mosaic},
    };
    // None of them leaves the frame as it was or draws nothing but the back.
    const Grid back(kH, std::vector<int>(kW, 16));
    const Grid frame = PatternFrame();
    for (const auto& [name, hash] : hashes) {
        EXPECT_EQ(hash, expected.at(name)) << name;
        EXPECT_NE(hash, Hash(back)) << name;
        EXPECT_NE(hash, Hash(frame)) << name;
    }
}

TEST_P(ScreenEffectPixels, ASlideMovesThePictureAndUncoversTheBackColour)
{
    const Grid screen = Through(1, {10, 0, 0, 640, 0}, 0, 37);
    for (int y : {0, 239, 479})
        for (int x : {0, 36, 37, 200, 639})
            EXPECT_EQ(screen[y][x], x < 37 ? 16 : PatternAt(x - 37, y)) << x << "," << y;
}

TEST_P(ScreenEffectPixels, AZoomOf640CopiesTheFrameOneToOne)
{
    EXPECT_TRUE(Through(11, {10, 640, 1280, 0, 0}, 640) == PatternFrame());
}

TEST_P(ScreenEffectPixels, SevenStripsAre69PixelsHigh)
{
    const Grid screen = Through(4, {10, 0, 640, 7, 0}, 25);
    // Even strips move right, odd ones left; six whole strips fill 414 rows.
    for (int y : {0, 68, 138})
        EXPECT_EQ(screen[y][100], PatternAt(75, y)) << y;
    for (int y : {69, 137, 413})
        EXPECT_EQ(screen[y][100], PatternAt(125, y)) << y;
    EXPECT_EQ(screen[414][100], 16);
    // A damaged count is read as 2 strips.
    EXPECT_TRUE(Through(4, {10, 0, 640, 0, 0}, 25) == Through(4, {10, 0, 640, 2, 0}, 25));
}

TEST_P(ScreenEffectPixels, TheBlinkLeavesTheFrameAsDrawnWhileShown)
{
    EXPECT_TRUE(Through(8, {10, 3, 0, 0, 0}, 0, 0, 1) == PatternFrame());
}

TEST_P(ScreenEffectPixels, TheCircleShowsTheFrameAroundThePlayerOnly)
{
    const Grid screen = Through(10, {10, 640, 0, 8, 0}, 100);
    EXPECT_EQ(screen[216][316], PatternAt(316, 216));
    EXPECT_EQ(screen[216][316 - 90], PatternAt(316 - 90, 216));
    EXPECT_EQ(screen[216][316 + 120], 16);
    EXPECT_EQ(screen[0][0], 16);
}

TEST_P(ScreenEffectPixels, TheVirtualBackBufferIsHeldUntilTheEffectEnds)
{
    Run(0, {10, 0, 0, 0, 0});
    for (int frame = 0; frame < 100; ++frame)
        DrawScrEffect(0);
    EXPECT_EQ(stage->m_ScrEffect.m_Index, 1);
    if (Texture()) {
        EXPECT_EQ(g_D3DState->virtualMode, 1) << "kind 0 holds it";
    }

    Run(1, {1, 0, 0, 0, 0});
    PaintFrame();
    int frames = 0;
    while (stage->m_ScrEffect.m_Index != 0 && frames < 100) {
        DrawScrEffect(0);
        ++frames;
    }
    EXPECT_EQ(frames, 12);
    if (Texture()) {
        EXPECT_EQ(g_D3DState->virtualMode, 0);
    }
    // The last frame went to the screen.
    EXPECT_EQ(reader->at(BackBuffer, 100, 100), PatternAt(100, 100));
}

INSTANTIATE_TEST_SUITE_P(Modes, ScreenEffectPixels, ::testing::ValuesIn(Modes()),
                         gfxtest::ModeName);

} // namespace
