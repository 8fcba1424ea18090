// The kinds of pixel rows that copies take whole or leave alone: judged by
// alpha or by the key, found again after every change of the pixels, and
// copies that follow a picture changed between them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "media/dd_blit.h"
#include "media/dd_lock.h"
#include "media/dd_pixels.h"
#include "media/dd_render.h"
#include "media/dd_row_kernel.h"
#include "media/graphics_fixture.h"

namespace {

DDPixels Row(DDFormat format, const std::vector<std::uint32_t>& values)
{
    DDPixels p(format, static_cast<int>(values.size()), 1);
    for (int x = 0; x < p.width; ++x)
        p.set(x, 0, values[x]);
    return p;
}

TEST(RowKinds, ByAlphaOrByKey)
{
    struct Case {
        DDFormat format;
        std::vector<std::uint32_t> values;
        DDRowKind expected;
    };
    const std::uint32_t key = 7;
    const Case cases[] = {
        {DDFormat::A8R8G8B8, {0xFF000000u, 0xFF123456u}, DDRowKind::Opaque},
        {DDFormat::A8R8G8B8, {0x00000000u, 0x00FFFFFFu}, DDRowKind::Empty},
        {DDFormat::A8R8G8B8, {0xFF000000u, 0x00000000u}, DDRowKind::Binary},
        {DDFormat::A8R8G8B8, {0xFF000000u, 0x80000000u, 0u}, DDRowKind::Mixed},
        {DDFormat::A1R5G5B5, {0x8000u, 0x7FFFu}, DDRowKind::Binary},
        {DDFormat::A1R5G5B5, {0x8001u, 0xFFFFu}, DDRowKind::Opaque},
        {DDFormat::X8R8G8B8, {1, 2, 3}, DDRowKind::Opaque},
        {DDFormat::X8R8G8B8, {1, key, 3}, DDRowKind::Binary},
        {DDFormat::R5G6B5, {key, key}, DDRowKind::Empty},
        {DDFormat::P8, {key, 9}, DDRowKind::Binary},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.format) << " " << c.values[0]);
        EXPECT_EQ(Row(c.format, c.values).rowKind(0, key), c.expected);
    }
}

// Every way of writing pixels makes the kind be found again.
TEST(RowKinds, FoundAgainAfterEveryChange)
{
    DDPixels p(DDFormat::A8R8G8B8, 4, 2);
    p.fill(0xFF000000u);
    EXPECT_EQ(p.rowKind(1, 0), DDRowKind::Opaque);
    p.set(2, 1, 0);
    EXPECT_EQ(p.rowKind(1, 0), DDRowKind::Binary);
    p.fillRect(0, 1, 4, 1, 0);
    EXPECT_EQ(p.rowKind(1, 0), DDRowKind::Empty);
    reinterpret_cast<std::uint32_t*>(p.row(1))[0] = 0x40000000u;
    EXPECT_EQ(p.rowKind(1, 0), DDRowKind::Mixed);
    std::fill_n(p.data(), p.storage().size(), std::uint8_t{0xFF});
    EXPECT_EQ(p.rowKind(1, 0), DDRowKind::Opaque);
    // By key: another key is another judgement.
    DDPixels k = Row(DDFormat::X8R8G8B8, {1, 2});
    EXPECT_EQ(k.rowKind(0, 2), DDRowKind::Binary);
    EXPECT_EQ(k.rowKind(0, 5), DDRowKind::Opaque);
    EXPECT_EQ(k.rowKind(0, 2), DDRowKind::Binary);
}

// A picture copied whole, then changed through a lock and copied again:
// the second copy shows the change in both back ends.
TEST(RowKinds, CopiesFollowAPictureChangedThroughALock)
{
    using namespace gfxtest;
    for (const Mode& mode : {AllModes()[0], AllModes()[5]}) {
        SCOPED_TRACE(mode.name);
        ASSERT_TRUE(SetUpMode(mode, 8, 4));
        {
            PaletteReader reader;
            DDSURFACEDATA src, dest;
            ASSERT_TRUE(DDCreateSurface(&src, 4, 1, 1, 1, 0, 0, 0));
            ASSERT_TRUE(DDCreateSurface(&dest, 4, 1, 0, 1, 0, 0, 0));
            Paint(&src, {{1, 2, 3, 4}});
            DDClearPal(&dest, 9);
            DDBlt(&dest, 0, 0, 4, 1, &src, 0, 0, 1);
            EXPECT_EQ(reader.grid(dest, 4, 1)[0], (std::vector<int>{1, 2, 3, 4}));
            DDLOCKDATA lock;
            ASSERT_TRUE(DDLockData(&lock, &src));
            const std::uint32_t transparent = g_D3DState ? 0u : g_DDKeyColor;
            std::memcpy(lock.m_lpBits + 4 * 2, &transparent, 4);
            DDUnlock(&lock);
            DDClearPal(&dest, 9);
            DDBlt(&dest, 0, 0, 4, 1, &src, 0, 0, 1);
            EXPECT_EQ(reader.grid(dest, 4, 1)[0], (std::vector<int>{1, 2, 9, 4}));
            DDReleaseSurface(&src);
            DDReleaseSurface(&dest);
        }
        TearDownMode();
    }
}

} // namespace

namespace {

// The row loops built for the baseline instruction set and for wide vectors
// give the same pixels: copies of every row kind, half translucency and
// keyed copies, each run both ways.
TEST(RowKernels, BaselineAndWideGiveTheSamePixels)
{
    using namespace gfxtest;
    auto draw = [](const Mode& mode) {
        EXPECT_TRUE(SetUpMode(mode, 40, 6));
        DDSURFACEDATA src;
        EXPECT_TRUE(DDCreateSurface(&src, 37, 5, 1, 1, 0, 0, 0));
        // Rows: opaque, opaque and transparent, partly translucent, empty.
        for (int x = 0; x < 37; ++x) {
            DDBoxFillPal(&src, x, 0, 1, 1, 1 + x);
            DDBoxFillPal(&src, x, 1, 1, 1, x % 3 ? 2 + x : 0);
            DDBoxFillPal(&src, x, 2, 1, 1, 3 + x);
            DDBoxFillPal(&src, x, 3, 1, 1, 0);
            DDBoxFillPal(&src, x, 4, 1, 1, 4 + x);
        }
        if (g_D3DState) src.pixels()->set(4, 2, 0x40123456u);
        DDClearPal(&BackBuffer, 9);
        DDBlt(&BackBuffer, 1, 0, 37, 5, &src, 0, 0, 1);
        if (g_D3DState) {
            DDSetVertexColor(0x80FFFFFFu);
            g_D3DState->alphaOp = D3DTOP_MODULATE;
            DDBlt(&BackBuffer, 2, 1, 37, 5, &src, 0, 0, 1);
            DDResetVertexColor();
            DDResetAlphaOp();
        }
        const std::vector<std::uint8_t> pixels = BackBuffer.pixels()->storage();
        DDReleaseSurface(&src);
        TearDownMode();
        return pixels;
    };
    for (const Mode& mode : {AllModes()[0], AllModes()[1], AllModes()[4], AllModes()[5]}) {
        SCOPED_TRACE(mode.name);
        g_DDRowKernelsBaseline = true;
        const std::vector<std::uint8_t> baseline = draw(mode);
        g_DDRowKernelsBaseline = false;
        EXPECT_EQ(draw(mode), baseline);
    }
}

} // namespace
