// Surfaces made from BMP files in each back end: transparent colours,
// mirrored cells, the 24-to-16-bit conversion, the palette-index map, the
// bitmap table's loading, the palette and transparent colour from the
// palette picture, and getting pictures back after a loss.

#include "media/graphics_fixture.h"

#include "core/sjis_text.h"
#include "media/bmp_writer.h"
#include "media/dd_bitmap.h"
#include "media/dd_blit.h"
#include "media/dd_present.h"
#include "support/temp_dir.h"

using namespace gfxtest;

namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;

class BitmapFiles : public testing::Test {
protected:
    BitmapFiles() : cwd_(dir_.path()) {}
    void TearDown() override { TearDownMode(); }
    void write(const std::string& name, const std::string& bytes) const { dir_.write(name, bytes); }

    // A 40 x 2 sheet: column x of row y holds colour 0x0100 * x + y + 1.
    void writeSheet(const std::string& name) const
    {
        std::vector<std::uint32_t> rgb;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 40; ++x)
                rgb.push_back(0x000100u * static_cast<std::uint32_t>(x) +
                              static_cast<std::uint32_t>(y) + 1);
        write(name, WriteBmp24(40, 2, rgb));
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
};

TEST_F(BitmapFiles, TextureLoadMakesTheTransparentColourTransparent)
{
    ASSERT_TRUE(SetUpMode(AllModes()[0], 16, 12));
    DDSetTransmit(255, 0, 255);
    write("bmp/Pic.bmp", WriteBmp24(3, 1, {0x102030, kMagenta, 0x405060}));
    g_D3DState->pow2Only = 1;
    DDSURFACEDATA sd;
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\pic.BMP", 1, 32, 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(sd.width, 3);
    EXPECT_EQ(sd.textureWidth, 4);
    EXPECT_EQ(sd.szFileName, "bmp\\pic.BMP");
    EXPECT_EQ(sd.szSurfaceType, "OffScreenFromFile");
    const DDPixels& p = *sd.pixels();
    EXPECT_EQ(p.get(0, 0), 0xFF102030u);
    EXPECT_EQ(p.get(1, 0), 0u);
    EXPECT_EQ(p.get(2, 0), 0xFF405060u);
    EXPECT_EQ(p.get(3, 0), 0u) << "texture beyond the picture";
    DDReleaseSurface(&sd);
}

TEST_F(BitmapFiles, MissingFileIsALoadFailure)
{
    for (const Mode& mode : {AllModes()[0], AllModes()[5]}) {
        SCOPED_TRACE(mode.name);
        ASSERT_TRUE(SetUpMode(mode, 16, 12));
        DDSURFACEDATA sd;
        EXPECT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\None.bmp", 1, mode.bpp, 0, 0, 0, 0, 0, 0, 0),
                  8);
        write("bmp/Broken.bmp", "BM not really a picture");
        EXPECT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\Broken.bmp", 1, mode.bpp, 0, 0, 0, 0, 0, 0, 0),
                  8);
        DDReleaseSurface(&sd);
        TearDownMode();
    }
}

// A 40-pixel sheet in cells of 32: the whole cell turns, the partial one
// does not appear.
TEST_F(BitmapFiles, MirroredCellsOfASheet)
{
    writeSheet("bmp/Sheet.bmp");
    for (const Mode& mode : {AllModes()[0], AllModes()[5]}) {
        SCOPED_TRACE(mode.name);
        ASSERT_TRUE(SetUpMode(mode, 16, 12));
        DDSURFACEDATA sd;
        ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\Sheet.bmp", 1, 32, 0, 0, 0, 0, 32, 0, 0), 0);
        const DDPixels& p = *sd.pixels();
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < 32; ++x) {
                EXPECT_EQ(p.get(x, y) & 0xFFFFFF, 0x000100u * static_cast<std::uint32_t>(31 - x) +
                                                      static_cast<std::uint32_t>(y) + 1)
                    << x << "," << y;
            }
            for (int x = 32; x < 40; ++x) {
                if (g_D3DState) {
                    EXPECT_EQ(p.get(x, y), 0u) << "transparent";
                } else {
                    EXPECT_EQ(p.get(x, y), g_DDKeyColor) << "not copied";
                }
            }
        }
        EXPECT_EQ(sd.mirrorCellWidth, 32);
        DDReleaseSurface(&sd);
        TearDownMode();
    }
}

TEST_F(BitmapFiles, MirroredCellsBothWaysOnTheSurfaceBackEnd)
{
    write("bmp/Four.bmp", WriteBmp24(4, 2, {1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_TRUE(SetUpMode(AllModes()[5], 16, 12));
    DDSURFACEDATA sd;
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\Four.bmp", 0, 32, 0, 0, 0, 0, 2, 2, 0), 0);
    const DDPixels& p = *sd.pixels();
    EXPECT_EQ((std::vector<std::uint32_t>{p.get(0, 0), p.get(1, 0), p.get(2, 0), p.get(3, 0),
                                          p.get(0, 1), p.get(1, 1), p.get(2, 1), p.get(3, 1)}),
              (std::vector<std::uint32_t>{6, 5, 8, 7, 2, 1, 4, 3}));
    DDReleaseSurface(&sd);
}

TEST_F(BitmapFiles, EightBitPicturesGiveTheirPaletteNumbersAtEightBits)
{
    write("bmp/Idx.bmp",
          WriteBmp8(5, 2, {0, 0x111111, 0x222222, 0x333333}, {0, 1, 2, 3, 1, 3, 3, 2, 1, 0}));
    ASSERT_TRUE(SetUpMode(AllModes()[3], 16, 12));
    DDSURFACEDATA sd;
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\Idx.bmp", 1, 8, 0, 0, 0, 0, 0, 0, 0), 0);
    const DDPixels& p = *sd.pixels();
    EXPECT_EQ(p.get(3, 0), 3u);
    EXPECT_EQ(p.get(0, 1), 3u);
    EXPECT_EQ(p.get(4, 1), 0u);
    DDReleaseSurface(&sd);
}

TEST_F(BitmapFiles, TwentyFourBitPicturesAtSixteenBitsKeepTransparencyApart)
{
    ASSERT_TRUE(SetUpMode(AllModes()[4], 16, 12));
    // Transparent colour magenta: 0xF81F on the 5-6-5 display.
    g_DDrawState->key16[0] = 255;
    g_DDrawState->key16[1] = 0;
    g_DDrawState->key16[2] = 255;
    g_DDKeyColor = 0xF81F;
    write("bmp/Key.bmp", WriteBmp24(3, 1, {kMagenta, 0xFF03FF, 0x808080}));
    DDSURFACEDATA sd;
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\Key.bmp", 1, 16, 0, 0, 0, 0, 0, 0, 0), 0);
    const DDPixels& p = *sd.pixels();
    EXPECT_EQ(p.get(0, 0), 0xF81Fu) << "the transparent colour";
    EXPECT_EQ(p.get(1, 0), 0xF81Eu) << "converts to the key: blue at its maximum steps down";
    EXPECT_EQ(p.get(2, 0), (128u * 31 / 255) << 11 | (128u * 63 / 255) << 5 | (128u * 31 / 255));
    // A key colour whose blue is not at its maximum: the neighbour steps up.
    g_DDrawState->key16[0] = g_DDrawState->key16[1] = g_DDrawState->key16[2] = 0;
    g_DDKeyColor = 0;
    write("bmp/Dark.bmp", WriteBmp24(2, 1, {0x000000, 0x010101}));
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\Dark.bmp", 1, 16, 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(sd.pixels()->get(0, 0), 0u);
    EXPECT_EQ(sd.pixels()->get(1, 0), 1u);
    DDReleaseSurface(&sd);
}

TEST_F(BitmapFiles, OtherPicturesAtSixteenBitsTakeTheDisplaysColours)
{
    ASSERT_TRUE(SetUpMode(AllModes()[4], 16, 12));
    write("bmp/Idx.bmp", WriteBmp8(2, 1, {0xFF8040, 0x0C0C0C}, {0, 1}));
    DDSURFACEDATA sd;
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\Idx.bmp", 0, 16, 0, 0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(sd.pixels()->get(0, 0), 31u << 11 | (0x80u >> 2) << 5 | (0x40u >> 3));
    EXPECT_EQ(sd.pixels()->get(1, 0), 1u << 11 | 3u << 5 | 1u);
    DDReleaseSurface(&sd);
}

TEST_F(BitmapFiles, IndexMapNamesThePaletteNumberOfEachPixel)
{
    ASSERT_TRUE(SetUpMode(AllModes()[4], 16, 12));
    // Palette colours 7 and 9 (raw 5-6-5 channel values) as 8-bit colours
    // that the conversion (channel x maximum / 255) turns back into them.
    auto widen = [](std::uint32_t c, std::uint32_t max) { return (c * 255 + max - 1) / max; };
    auto colourOf = [&](int n) {
        const DDPALENTRY& e = g_Palette[n];
        return widen(e.red, 31) << 16 | widen(e.green, 63) << 8 | widen(e.blue, 31);
    };
    write("bmp/Map.bmp", WriteBmp24(3, 1, {colourOf(7), colourOf(9), 0x040404}));
    DDSURFACEDATA sd;
    ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\Map.bmp", 0, 16, 0, 0, 0, 1, 0, 0, 0), 0);
    ASSERT_EQ(sd.lpDD->indexMap.size(), 3u);
    EXPECT_EQ(sd.lpDD->indexMap[0], 7);
    EXPECT_EQ(sd.lpDD->indexMap[1], 9);
    EXPECT_EQ(sd.lpDD->indexMap[2], 0) << "no palette colour matches";
    DDReleaseSurface(&sd);
}

TEST_F(BitmapFiles, LoadBitmapsSkipsMissingPicturesThatMayBeMissing)
{
    ASSERT_TRUE(SetUpMode(AllModes()[0], 16, 12));
    write("bmp/Character1.bmp", WriteBmp24(64, 2, std::vector<std::uint32_t>(128, 0x123456)));
    const int numbers[] = {4, 5, 14, 65};
    EXPECT_EQ(DDLoadBitmaps(g_BitmapSD.data(), numbers, 4), 1);
    EXPECT_EQ(g_BitmapSD[5].width, 64);
    EXPECT_EQ(g_BitmapSD[14].pixels(), nullptr) << "Character5 is missing";
    EXPECT_EQ(g_BitmapSD[65].width, 640);
    EXPECT_EQ(g_BitmapSD[65].height, 480);
    LogRecorder log;
    write("bmp/Character1.bmp", "");
    EXPECT_EQ(DDLoadBitmaps(g_BitmapSD.data(), numbers, 1), 0);
    EXPECT_TRUE(log.saw(std::string("box:") + Sjis("bmp\\Character1.bmp の読み込みに失敗！")));
    const int outside[] = {69};
    EXPECT_EQ(DDLoadBitmaps(g_BitmapSD.data(), outside, 1), 0);
}

TEST_F(BitmapFiles, CheckBitmapSize)
{
    write("bmp/Big.bmp", WriteBmp24(5, 3, std::vector<std::uint32_t>(15, 0)));
    ASSERT_TRUE(SetUpMode(AllModes()[5], 16, 12));
    int tooLarge = 7;
    EXPECT_EQ(DDCheckBitmapSize(&tooLarge, "bmp\\Big.bmp", 4, 4), 1);
    EXPECT_EQ(tooLarge, 1);
    EXPECT_EQ(DDCheckBitmapSize(&tooLarge, "bmp\\Big.bmp", 5, 3), 1);
    EXPECT_EQ(tooLarge, 0);
    tooLarge = 7;
    EXPECT_EQ(DDCheckBitmapSize(&tooLarge, "bmp\\Gone.bmp", 5, 3), 0);
    EXPECT_EQ(tooLarge, 0);
    TearDownMode();
    ASSERT_TRUE(SetUpMode(AllModes()[0], 16, 12));
    tooLarge = 7;
    EXPECT_EQ(DDCheckBitmapSize(&tooLarge, "bmp\\Big.bmp", 4, 4), 1);
    EXPECT_EQ(tooLarge, 7);
}

// The palette picture: an 8-bit colour table, the same colours in its
// 16 x 16 block from row 8, and the transparent colour at the top left.
std::string PalettePicture()
{
    std::vector<std::uint32_t> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint32_t>(i) << 16 | static_cast<std::uint32_t>(255 - i) << 8 |
                   static_cast<std::uint32_t>(i / 2 * 8 % 256);
    table[0] = kMagenta;
    std::vector<int> indices(16 * 24, 0);
    for (int r = 0; r < 16; ++r)
        for (int c = 0; c < 16; ++c)
            indices[static_cast<std::size_t>(8 + r) * 16 + c] = 16 * r + c;
    return WriteBmp8(16, 24, table, indices);
}

TEST_F(BitmapFiles, PaletteFromThePalettePictureInEachMode)
{
    write("bmp/plt/Palette.bmp", PalettePicture());
    for (const Mode& mode : {AllModes()[0], AllModes()[3], AllModes()[4], AllModes()[5]}) {
        SCOPED_TRACE(mode.name);
        ASSERT_TRUE(SetUpMode(mode, 16, 12));
        std::array<DDPALENTRY, 256> palette{};
        ASSERT_TRUE(DDLoadPaletteFromFile(palette.data(), "bmp\\plt\\Palette.bmp"));
        if (mode.bpp == 16) {
            // Raw 5-6-5 channel values of colour 200 (200, 55, 32).
            EXPECT_EQ(palette[200].red, 200 >> 3);
            EXPECT_EQ(palette[200].green, 55 >> 2);
        } else {
            EXPECT_EQ(palette[200].red, 200);
            EXPECT_EQ(palette[200].green, 55);
            EXPECT_EQ(palette[200].blue, 32);
        }
        EXPECT_EQ(palette[3].flags, mode.bpp == 32 && !mode.d3d ? 0 : PC_EXPLICIT);
        if (mode.bpp == 8) {
            EXPECT_EQ(lpDDPalette->entries[200].red, 200);
        }
        TearDownMode();
    }
    EXPECT_FALSE(DDLoadPaletteFromFile(g_Palette.data(), "bmp\\plt\\Missing.bmp"));
}

TEST_F(BitmapFiles, TransparentColourFromThePalettePicture)
{
    write("bmp/plt/Palette.bmp", PalettePicture());
    write("bmp/Pic.bmp", WriteBmp24(2, 1, {kMagenta, 0x010203}));
    struct Case {
        Mode mode;
        std::uint32_t key;
    };
    for (const Case& c :
         {Case{AllModes()[0], 0u}, Case{AllModes()[5], kMagenta}, Case{AllModes()[3], 0u}}) {
        SCOPED_TRACE(c.mode.name);
        ASSERT_TRUE(SetUpMode(c.mode, 16, 12));
        ASSERT_EQ(DDSetTransmitFromFile("bmp\\plt\\Palette.bmp"), 1);
        EXPECT_EQ(g_DDKeyColor, c.key);
        if (c.mode.d3d) {
            EXPECT_EQ(g_D3DState->opaqueKey32, 0xFF000000u | kMagenta);
            DDSURFACEDATA sd;
            ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "bmp\\Pic.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0), 0);
            EXPECT_EQ(sd.pixels()->get(0, 0), 0u) << "magenta is transparent in later pictures";
            EXPECT_EQ(sd.pixels()->get(1, 0), 0xFF010203u);
            DDReleaseSurface(&sd);
        }
        TearDownMode();
    }
    ASSERT_TRUE(SetUpMode(AllModes()[5], 16, 12));
    LogRecorder log;
    EXPECT_EQ(DDSetTransmitFromFile("bmp\\plt\\Missing.bmp"), 0);
    EXPECT_FALSE(log.lines.empty());
}

TEST_F(BitmapFiles, TextureRecoveryReloadsPicturesAndRecreatesPlainSurfacesEmpty)
{
    ASSERT_TRUE(SetUpMode(AllModes()[0], 16, 12));
    write("bmp/Pic.bmp", WriteBmp24(2, 1, {0x111111, 0x222222}));
    DDSURFACEDATA picture, plain, system;
    ASSERT_EQ(DDCreateSurfaceFromFile(&picture, "bmp\\Pic.bmp", 1, 32, 0, 0, 0, 0, 0, 0, 0), 0);
    ASSERT_TRUE(DDCreateSurface(&plain, 2, 1, 1, 0, 0, 0, 0));
    ASSERT_TRUE(DDCreateSurface(&system, 2, 1, 1, 0, 1, 0, 0));
    DDClearPal(&plain, 5);
    system.pixels()->set(0, 0, 0xFF445566u);
    picture.pixels()->set(0, 0, 0xFF999999u); // drawn over since loading
    const DDPixels* systemTexture = system.pixels();

    lpDevice->Lose(2, 1);
    EXPECT_EQ(DDPresent(), 0);
    EXPECT_EQ(DDRestoreSurface(), 0) << "still lost";
    EXPECT_EQ(DDRestoreSurface(), 0) << "still lost";
    EXPECT_EQ(DDRestoreSurface(), 0) << "the reset fails once";
    EXPECT_EQ(picture.pixels(), nullptr) << "released while lost";
    ASSERT_EQ(DDRestoreSurface(), 1);
    EXPECT_EQ(DDPresent(), 1);

    EXPECT_EQ(picture.pixels()->get(0, 0), 0xFF111111u) << "reloaded from its file";
    EXPECT_EQ(picture.lpDT->redraw, 0);
    EXPECT_EQ(plain.lpDT->redraw, 1);
    EXPECT_EQ(plain.pixels()->get(0, 0), g_D3DState->opaqueKey32) << "recreated empty";
    EXPECT_EQ(system.pixels(), systemTexture) << "a system-memory texture survives";
    EXPECT_EQ(system.pixels()->get(0, 0), 0xFF445566u);
    EXPECT_EQ(BackBuffer.pixels(), lpDevice->GetBackBuffer().get());
    DDReleaseSurface(&picture);
    DDReleaseSurface(&plain);
    DDReleaseSurface(&system);
}

TEST_F(BitmapFiles, SurfaceRecoveryReloadsVideoMemoryPictures)
{
    ASSERT_TRUE(SetUpMode(AllModes()[5], 16, 12));
    write("bmp/Block.bmp", WriteBmp24(2, 1, {0x111111, 0x222222}));
    const int numbers[] = {2, 3, 66};
    ASSERT_EQ(DDLoadBitmaps(g_BitmapSD.data(), numbers, 3), 1);
    DDClearPal(&g_BitmapSD[66], 5);
    const std::uint32_t plainValue = g_BitmapSD[66].pixels()->get(0, 0);

    EXPECT_EQ(DDRestore(), 1) << "nothing lost: nothing to do";
    EXPECT_EQ(g_BitmapSD[2].pixels()->get(1, 0), 0x222222u);

    lpDD->LoseVideoMemory();
    EXPECT_EQ(PrimarySD.lpDD->lpDDSurface->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(g_BitmapSD[2].lpDD->lpDDSurface->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(g_BitmapSD[3].lpDD->lpDDSurface->IsLost(), DD_OK) << "system memory is kept";
    EXPECT_NE(DDBlt(&BackBuffer, 0, 0, 2, 1, &g_BitmapSD[2], 0, 0, 0), DD_OK);
    ASSERT_EQ(DDRestore(), 1);
    EXPECT_EQ(g_BitmapSD[2].lpDD->lpDDSurface->IsLost(), DD_OK);
    EXPECT_EQ(g_BitmapSD[2].pixels()->get(1, 0), 0x222222u) << "reloaded";
    EXPECT_EQ(g_BitmapSD[66].pixels()->get(0, 0), plainValue) << "system memory untouched";
    EXPECT_EQ(DDBlt(&BackBuffer, 0, 0, 2, 1, &g_BitmapSD[2], 0, 0, 0), DD_OK);
}

TEST_F(BitmapFiles, BlendTableLoadsWholeOrNotAtAll)
{
    ASSERT_TRUE(SetUpMode(AllModes()[3], 16, 12));
    std::string table(65536, '\0');
    table[258] = 7;
    write("bmp/hbt/hbtA.dat", table);
    write("bmp/hbt/hbtB.dat", table.substr(0, 1000));
    g_BlendTable.fill(0);
    EXPECT_TRUE(DDLoadBlendTable(g_BlendTable.data(), "bmp\\hbt\\hbtA.dat"));
    EXPECT_EQ(g_BlendTable[258], 7);
    EXPECT_FALSE(DDLoadBlendTable(g_BlendTable.data(), "bmp\\hbt\\hbtB.dat"));
    EXPECT_FALSE(DDLoadBlendTable(g_BlendTable.data(), "bmp\\hbt\\hbtC.dat"));
}

} // namespace
