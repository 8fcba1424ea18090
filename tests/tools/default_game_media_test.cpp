// The generated default game's pictures, sounds and music: every picture of
// the fixed bitmap table is there at a size the drawing code can cut, loads
// in each display mode and is drawn in the game's palette; every cell the
// data names exists; every sound and tune the data names loads.

#include "tools/default_game_fixture.h"

#include <algorithm>
#include <set>

#include "data/ed_database.h"
#include "data/ed_stage.h"
#include "data/stage_load.h"
#include "media/bitmap_table.h"
#include "media/dd_bitmap.h"
#include "media/dd_palette.h"
#include "media/ds_wave.h"
#include "media/graphics_fixture.h"
#include "media/midi_data.h"
#include "scenes/hbt_palette.h"

namespace {

using test::DefaultGame;

// The least size of each picture of the table, and the cells it is cut in
// (its width and height are whole numbers of cells).
struct PictureSize {
    const char* name;
    int width;
    int height;
    int cellWidth;
    int cellHeight;
};

const PictureSize kPictureSizes[] = {
    {"bmp\\plt\\Palette.bmp", 16, 24, 1, 1},   // 16 x 16 colours from row 8
    {"bmp\\Debug.bmp", 1, 1, 1, 1},            //
    {"bmp\\Block.bmp", 32, 480, 32, 32},       // columns of 15 blocks
    {"bmp\\Character1.bmp", 640, 480, 32, 32}, // 15 rows of 20 frames
    {"bmp\\Character2.bmp", 32, 32, 32, 32},   // the other sheets: unused, one cell each
    {"bmp\\Character3.bmp", 32, 32, 32, 32},   //
    {"bmp\\Character4.bmp", 32, 32, 32, 32},   //
    {"bmp\\Character5.bmp", 32, 32, 32, 32},   //
    {"bmp\\Character6.bmp", 32, 32, 32, 32},   //
    {"bmp\\Character7.bmp", 32, 32, 32, 32},   //
    {"bmp\\Character8.bmp", 32, 32, 32, 32},   //
    {"bmp\\Shot.bmp", 480, 480, 16, 16},       // 16 x 16 frames both ways
    {"bmp\\Item.bmp", 64, 480, 64, 32},        // columns of 15 items of 2 frames
    {"bmp\\Item_Mini.bmp", 32, 240, 32, 16},   // the same at 16 x 16
    {"bmp\\Mark.bmp", 32, 480, 32, 32},        // columns of 15 pieces
    {"bmp\\Window.bmp", 640, 480, 1, 1},       // the ground of any box
    {"bmp\\StatusWindow.bmp", 640, 20, 640, 20},
    {"bmp\\Title.bmp", 640, 480, 640, 480},
    {"bmp\\GameMode.bmp", 32, 7 * 32, 1, 32}, // a 32-pixel row per title item
    {"bmp\\Accessory.bmp", 128, 176, 1, 1},   // cursors, icons, map walker, gauges
    {"bmp\\Symbol.bmp", 26 * 16, 16, 16, 16}, // a to z
    {"bmp\\Word.bmp", 320, 192, 1, 1},        // words and two strips of 32 x 32 digits
    {"bmp\\WorldMapChip.bmp", 160, 32, 32, 32},
    {"bmp\\WorldEvent.bmp", 64, 32, 32, 32},
    {"bmp\\WorldBack.bmp", 640, 480, 1, 1},
};

const PictureSize* SizeOf(const std::string& name)
{
    for (const PictureSize& s : kPictureSizes)
        if (name == s.name) return &s;
    return nullptr;
}

// The numbers of the table that name a file; the stage's layer pictures
// (55 to 62) are named by the stages, not by the table.
std::vector<int> FileEntries()
{
    std::vector<int> numbers;
    for (int n = 0; n < 55; ++n)
        if (g_BitmapTable[static_cast<std::size_t>(n)].name != "E") numbers.push_back(n);
    return numbers;
}

class DefaultGamePictures : public DefaultGame {
protected:
    void SetUp() override
    {
        DefaultGame::SetUp();
        InitBitmapTable();
        LoadAuthorsData();
    }

    DDBitmapImage Read(const std::string& name)
    {
        DDBitmapImage image;
        EXPECT_TRUE(DDReadBmp(name, image)) << name;
        return image;
    }
};

TEST_F(DefaultGamePictures, EveryPictureOfTheTableIsThereAtASizeTheDrawingCutsFrom)
{
    for (int n : FileEntries()) {
        const DDBMPDATA& entry = g_BitmapTable[static_cast<std::size_t>(n)];
        SCOPED_TRACE(entry.name);
        DDBitmapImage image;
        const bool present = DDReadBmp(entry.name, image);
        const PictureSize* size = SizeOf(entry.name);
        if (!size) {
            // Only pictures the table allows to be missing are left out.
            EXPECT_TRUE(entry.mayBeMissing);
            EXPECT_FALSE(present);
            continue;
        }
        ASSERT_TRUE(present);
        EXPECT_GE(image.width, size->width);
        EXPECT_GE(image.height, size->height);
        EXPECT_EQ(image.width % size->cellWidth, 0);
        EXPECT_EQ(image.height % size->cellHeight, 0);
    }
}

TEST_F(DefaultGamePictures, EveryCellTheDataNamesLiesInsideItsSheet)
{
    const DDBitmapImage blocks = Read("bmp\\Block.bmp");
    const DDBitmapImage charas = Read("bmp\\Character1.bmp");
    const DDBitmapImage items = Read("bmp\\Item.bmp");
    const DDBitmapImage smallItems = Read("bmp\\Item_Mini.bmp");
    const cEdPalette& palette = g_CommonPalette;
    for (const cEdBlock& b : palette.PaletteBlocks) {
        if (b.nGraphicNo == 0) continue;
        EXPECT_EQ(b.nGraphicKind, 0);
        EXPECT_LT((b.nGraphicNo % 15) * 32, blocks.height) << b.nGraphicNo;
        EXPECT_LT((b.nGraphicNo / 15) * 32, blocks.width) << b.nGraphicNo;
    }
    // Character n is row n mod 15 of sheet n / 15; this game has one sheet.
    int lastFrame = 0;
    for (const cEdAnimeSet& set : g_Database.AnimeSet)
        for (const cEdAnime& a : set.m_Animes)
            for (const cEdAnimeFrame& f : a.m_Frames)
                lastFrame = std::max(lastFrame, f.m_PictureNo);
    for (const cEdAnime& a : g_Database.Anime)
        for (const cEdAnimeFrame& f : a.m_Frames)
            lastFrame = std::max(lastFrame, f.m_PictureNo);
    EXPECT_LT(lastFrame, 20) << "frames 20 on come from the mirrored sheet";
    EXPECT_LE((lastFrame + 1) * 32, charas.width);
    for (const cEdChara& c : palette.PaletteCharas) {
        if (c.nGraphicNo == 0) continue;
        EXPECT_EQ(c.nGraphicKind, 1);
        EXPECT_LT(c.nGraphicNo, 15);
        EXPECT_LT(c.nGraphicNo * 32, charas.height);
        EXPECT_LT(c.nAnimeSet, static_cast<int>(g_Database.AnimeSet.size()));
    }
    for (const cEdItem& i : palette.PaletteItems) {
        if (i.nGraphicNo == 0) continue;
        EXPECT_EQ(i.nGraphicKind, 2);
        EXPECT_LT((i.nGraphicNo % 15) * 32, items.height);
        EXPECT_LT((i.nGraphicNo % 15) * 16, smallItems.height);
    }

    const DDBitmapImage chips = Read("bmp\\WorldMapChip.bmp");
    for (const cEdWorldChip& chip : g_WorldMap.m_Chips) {
        EXPECT_LT((chip.m_PictureNo % 5) * 32, chips.width);
        EXPECT_LT((chip.m_PictureNo / 5) * 32, chips.height);
    }
    const DDBitmapImage signs = Read("bmp\\WorldEvent.bmp");
    for (const cEdWorldEvent& event : g_WorldMap.m_Events)
        for (const cEdWorldEventItem& item : event.m_Items)
            EXPECT_LT(item.m_SignRow * 32, signs.height);

    const DDBitmapImage menu = Read("bmp\\GameMode.bmp");
    EXPECT_GE(menu.height, static_cast<int>(g_System.vTitleMenu.size()) * 32)
        << "a row for every title item";
}

TEST_F(DefaultGamePictures, PicturesTheDataNamesAreThereAndHoldTheirCells)
{
    for (const cEdEffect& e : g_Database.Effect) {
        if (e.m_FileName.empty()) continue;
        const DDBitmapImage image = Read(e.m_FileName);
        for (const cEdEffectFrame& f : e.m_Frames)
            EXPECT_LE((f.m_PictureNo + 1) * e.m_CellWidth, image.width) << e.m_FileName;
        EXPECT_GE(image.height, e.m_CellHeight);
    }
    for (const cEdSwordType& s : g_Database.SwordType) {
        const DDBitmapImage first = Read(s.m_FileName1);
        Read(s.m_FileName2);
        for (const cEdSwordPart& p : s.m_Parts) {
            EXPECT_LE(p.m_Setting[5] + p.m_Setting[7], first.width);
            EXPECT_LE(p.m_Setting[6] + p.m_Setting[8], first.height);
        }
    }
    std::set<std::string> layers;
    for (const std::string& name : StageNames()) {
        ASSERT_EQ(LoadStage(name, 1, &g_StageAtStart), 1) << name;
        for (const cEdLayer& layer : g_Stage.Layers)
            if (!layer.bFill) layers.insert(layer.strPicture);
    }
    EXPECT_FALSE(layers.empty());
    for (const std::string& picture : layers) {
        const DDBitmapImage image = Read(picture);
        EXPECT_GE(image.height, 480) << picture << " covers the screen's height";
    }
}

// At 8 bits per pixel the pictures' palette numbers are shown as they stand,
// so every picture must be drawn over the palette picture's colour table.
TEST_F(DefaultGamePictures, EveryPictureIsDrawnInTheGamesPalette)
{
    const DDBitmapImage palette = Read("bmp\\plt\\Palette.bmp");
    ASSERT_EQ(palette.bitCount, 8);
    ASSERT_EQ(palette.colours.size(), 256u);
    EXPECT_EQ(palette.indexAt(0, 0), 0) << "the top-left pixel is the transparent colour";
    for (int n = 0; n < 256; ++n)
        ASSERT_EQ(palette.indexAt(n % 16, 8 + n / 16), n);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_ / "bmp")) {
        if (!entry.is_regular_file() || entry.path().extension() != ".bmp") continue;
        std::string name = std::filesystem::relative(entry.path(), dir_.path()).string();
        std::replace(name.begin(), name.end(), '/', '\\');
        const DDBitmapImage image = Read(name);
        EXPECT_EQ(image.bitCount, 8) << name;
        EXPECT_EQ(image.colours, palette.colours) << name;
    }
    // No drawn colour but the transparent one is the transparent colour.
    const std::uint32_t key = palette.colours[0];
    EXPECT_EQ(std::count(palette.colours.begin(), palette.colours.end(), key), 1);
}

class DefaultGameDisplay : public DefaultGame, public testing::WithParamInterface<gfxtest::Mode> {
protected:
    void SetUp() override
    {
        DefaultGame::SetUp();
        ASSERT_TRUE(gfxtest::SetUpMode(GetParam(), 640, 480));
    }
    void TearDown() override
    {
        gfxtest::TearDownMode();
        DefaultGame::TearDown();
    }
};

TEST_P(DefaultGameDisplay, EveryPictureOfTheTableLoadsAsTheStartUpAndScenesLoadIt)
{
    ASSERT_TRUE(DDLoadPaletteFromFile(g_Palette.data(), g_BitmapTable[0].name.c_str()));
    ASSERT_EQ(DDSetTransmitFromFile(g_BitmapTable[0].name.c_str()), 1);
    if (!GetParam().d3d && GetParam().bpp == 8) {
        EXPECT_EQ(g_DDKeyColor, 0u);
    }
    const std::vector<int> numbers = FileEntries();
    ASSERT_EQ(DDLoadBitmaps(g_BitmapSD.data(), numbers.data(), static_cast<int>(numbers.size())),
              1);
    for (int n : numbers) {
        const DDBMPDATA& entry = g_BitmapTable[static_cast<std::size_t>(n)];
        DDBitmapImage image;
        if (!DDReadBmp(entry.name, image)) continue; // may be missing
        EXPECT_EQ(g_BitmapSD[static_cast<std::size_t>(n)].width, image.width) << n;
        EXPECT_EQ(g_BitmapSD[static_cast<std::size_t>(n)].height, image.height) << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, DefaultGameDisplay,
                         testing::Values(gfxtest::AllModes()[0], gfxtest::AllModes()[3],
                                         gfxtest::AllModes()[4]),
                         gfxtest::ModeName);

// The 8-bit mode: every palette variant the options offer loads its blend
// table, and the table's entry for two colours is the colour of the variant's
// palette, as the runtime makes it, nearest to their even mix; never the
// transparent colour nor one that cycles.
class DefaultGameEightBit : public DefaultGame {
protected:
    void SetUp() override
    {
        DefaultGame::SetUp();
        ASSERT_TRUE(gfxtest::SetUpMode(gfxtest::AllModes()[3], 640, 480));
        boxes.clear(); // the question before the data folder was made
    }
    void TearDown() override
    {
        gfxtest::TearDownMode();
        DefaultGame::TearDown();
    }
};

TEST_F(DefaultGameEightBit, EveryPaletteVariantHasTheBlendTableOfItsColours)
{
    auto mixable = [](int n) { return n > 0 && (n < 208 || n > 239); };
    for (int variant = 0; variant < 24; ++variant) {
        SCOPED_TRACE(variant);
        ASSERT_EQ(LoadHbtPalette(variant), 1);
        // Twice the distance, so that the mix needs no rounding.
        auto distance = [](const DDPALENTRY& c, const DDPALENTRY& a, const DDPALENTRY& b) {
            const int r = 2 * c.red - a.red - b.red, g = 2 * c.green - a.green - b.green,
                      bl = 2 * c.blue - a.blue - b.blue;
            return r * r + g * g + bl * bl;
        };
        for (int a = 0; a < 256; a += 5) {
            for (int b = 0; b < 256; b += 9) {
                const int mix = g_BlendTable[static_cast<std::size_t>(a * 256 + b)];
                ASSERT_EQ(mix, g_BlendTable[static_cast<std::size_t>(b * 256 + a)]);
                ASSERT_TRUE(mixable(mix)) << a << " with " << b << " gives " << mix;
                const DDPALENTRY& ca = g_Palette[static_cast<std::size_t>(a)];
                const DDPALENTRY& cb = g_Palette[static_cast<std::size_t>(b)];
                int nearest = distance(g_Palette[static_cast<std::size_t>(mix)], ca, cb);
                for (int k = 0; k < 256; ++k)
                    if (mixable(k))
                        nearest = std::min(
                            nearest, distance(g_Palette[static_cast<std::size_t>(k)], ca, cb));
                ASSERT_EQ(distance(g_Palette[static_cast<std::size_t>(mix)], ca, cb), nearest)
                    << a << " with " << b << " gives " << mix;
            }
        }
    }
    EXPECT_TRUE(boxes.empty()) << boxes.front();
}

TEST_F(DefaultGame, EverySoundTheDataNamesIsAWaveFileOfTheSoundLayersFormat)
{
    LoadAuthorsData();
    std::vector<std::string> files(g_System.vSeName.begin(), g_System.vSeName.end());
    ASSERT_EQ(files.size(), 17u);
    for (std::size_t k = 1; k < g_Database.Sound.size(); ++k)
        files.push_back(g_Database.Sound[k].m_FileName);
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        DSWAVE wave;
        ASSERT_TRUE(DSLoadWave(file.c_str(), wave));
        EXPECT_EQ(wave.fmt.wFormatTag, kWaveFormatPcm);
        EXPECT_EQ(wave.fmt.nChannels, 1);
        EXPECT_EQ(wave.fmt.nSamplesPerSec, 22050u);
        EXPECT_EQ(wave.fmt.wBitsPerSample, 8);
        EXPECT_GT(wave.data.size(), 22050u / 100) << "longer than a hundredth of a second";
        EXPECT_NE(std::count(wave.data.begin(), wave.data.end(), 128),
                  static_cast<long>(wave.data.size()))
            << "not silence";
    }
}

TEST_F(DefaultGame, EveryTuneTheDataNamesIsAMidiFileThatLoads)
{
    LoadAuthorsData();
    ASSERT_GE(g_Database.Bgm.size(), 2u);
    for (std::size_t k = 1; k < g_Database.Bgm.size(); ++k) {
        const std::string& file = g_Database.Bgm[k].m_FileName;
        SCOPED_TRACE(file);
        EXPECT_EQ(file.substr(file.size() - 4), ".mid");
        cMidiData midi(file.c_str());
        ASSERT_TRUE(midi.HasImage());
        EXPECT_GT(midi.Image().size(), kMidiImageHeaderBytes + 100) << "a tune, not a blip";
    }
    for (std::int32_t music : g_System.vMusicNo) {
        EXPECT_GT(music, 0) << "every menu has its music";
        EXPECT_LT(music, static_cast<std::int32_t>(g_Database.Bgm.size()));
    }
}

} // namespace
