// The pictures a play draws from: the shot sheets built from "bmp\Shot.bmp"
// and its mirrored copy, the picture vectors of the database (how many
// surfaces each table gives, mirrored cells, the links of the pixel-effect
// copies, bad files), the sight overlay with its hole, and the release of
// picture and message surfaces; in both back ends.

#include "media/bmp_writer.h"
#include "media/graphics_fixture.h"

#include "core/err_log.h"
#include "core/sjis_text.h"
#include "data/ed_database.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "media/dd_bitmap.h"
#include "support/temp_dir.h"
#include "world/play_pictures.h"
#include "world/running_stage.h"
#include "world/world_services.h"

using namespace gfxtest;

namespace {

// The back ends as the play scene runs them: textures, and surfaces at 8 and
// 32 bits per pixel.
const Mode kDrawModes[] = {AllModes()[0], AllModes()[3], AllModes()[5]};
// Modes that read 24-bit picture files.
const Mode kFileModes[] = {AllModes()[0], AllModes()[5]};

class PlayPictures : public testing::Test {
protected:
    PlayPictures() : cwd_(dir_.path()) { SetWorldServices(&services_); }
    ~PlayPictures() override
    {
        ReleasePlayPictures();
        TearDownMode();
        g_Database.SetDefaults();
        g_System = cEdSystem();
        g_Stage = cEdStage();
        ErrLogSetFile(0, "");
        SetWorldServices(nullptr);
    }
    void SetUpDisplay(const Mode& mode)
    {
        ReleasePlayPictures();
        TearDownMode();
        ASSERT_TRUE(SetUpMode(mode, 64, 48));
    }
    static void Load(std::initializer_list<int> numbers)
    {
        const std::vector<int> list(numbers);
        ASSERT_EQ(DDLoadBitmaps(g_BitmapSD.data(), list.data(), static_cast<int>(list.size())), 1);
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
    cRecordingServices services_;
    cRunningStage stage_;
    cCurrentStage current_{stage_};
};

// Colour of frame (k, r) of the test shot sheet: 1 to 62, neighbours differ.
int FrameColour(int k, int r, int sheet)
{
    return 1 + (k * 7 + r * 3 + sheet * 11) % 62;
}

// Paints a shot sheet of 8 x 30 frames of 16 x 16: each frame in its own
// colour, its bottom-right pixel transparent.
void PaintShotSheet(DDSURFACEDATA* sd, int sheet)
{
    ASSERT_TRUE(DDCreateSurface(sd, 128, 480, 1, 0, 0, 0, 0));
    for (int r = 0; r < 30; ++r) {
        for (int k = 0; k < 8; ++k) {
            DDBoxFillPal(sd, 16 * k, 16 * r, 16, 16, FrameColour(k, r, sheet));
            DDBoxFillPal(sd, 16 * k + 15, 16 * r + 15, 1, 1, 0);
        }
    }
}

TEST_F(PlayPictures, ShotSheetsCentreEachFrameInA32PixelCell)
{
    for (const Mode& mode : kDrawModes) {
        SCOPED_TRACE(mode.name);
        SetUpDisplay(mode);
        PaintShotSheet(&g_BitmapSD[20], 0);
        PaintShotSheet(&g_BitmapSD[21], 1);
        Load({63, 64});
        BuildShotSheets();
        const PaletteReader read;
        for (int sheet = 0; sheet < 2; ++sheet) {
            const DDSURFACEDATA& cells = g_BitmapSD[static_cast<std::size_t>(63 + sheet)];
            ASSERT_EQ(cells.width, 256);
            ASSERT_EQ(cells.height, 960);
            for (int r : {0, 1, 17, 29}) {
                for (int k : {0, 3, 7}) {
                    const int x = 32 * k + 8;
                    const int y = 32 * r + 8;
                    const int colour = FrameColour(k, r, sheet);
                    EXPECT_EQ(read.at(cells, x, y), colour) << k << "," << r;
                    EXPECT_EQ(read.at(cells, x + 14, y + 15), colour);
                    EXPECT_EQ(read.at(cells, x + 15, y + 15), 0) << "the frame's own transparency";
                    EXPECT_EQ(read.at(cells, x - 1, y), 0) << "the cell's margin";
                    EXPECT_EQ(read.at(cells, x, y + 16), 0);
                }
            }
        }
        // The last row of frames lands at y = 936.
        EXPECT_EQ(read.at(g_BitmapSD[63], 8, 936), FrameColour(0, 29, 0));
        EXPECT_EQ(read.at(g_BitmapSD[63], 8, 935), 0);
    }
}

// A w x h picture whose pixel (x, y) has colour base + 0x100 x + y (never the
// transparent colour of the test palette).
std::string Picture(int w, int h, std::uint32_t base)
{
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            rgb.push_back(base + 0x100u * static_cast<std::uint32_t>(x) +
                          static_cast<std::uint32_t>(y));
    return WriteBmp24(w, h, rgb);
}

// The colour of a pixel; 0xFFFFFFFF for a surface without pixels.
std::uint32_t Rgb(const DDSURFACEDATA& sd, int x, int y)
{
    return sd.pixels() ? sd.pixels()->get(x, y) & 0xFFFFFF : 0xFFFFFFFFu;
}

cEdBmpCharaExc OwnPictureRecord(const std::string& file, int large, int factor)
{
    cEdBmpCharaExc record;
    record.m_FileName = file;
    record.m_Large = large;
    record.m_SizeFactor = factor;
    return record;
}

// The drawing copy a pixel-effect copy links to; -1 for none.
int LinkOf(const std::vector<DDSURFACEDATA>& v, std::size_t i)
{
    for (std::size_t k = 0; k < v.size(); ++k)
        if (v[i].lpMirror == &v[k]) return static_cast<int>(k);
    return -1;
}

TEST_F(PlayPictures, EachTableGivesItsRecordsTheirGroupsOfSurfaces)
{
    dir_.write("bmp/Own.bmp", Picture(64, 32, 0x100000));
    dir_.write("bmp/Big.bmp", Picture(128, 64, 0x200000));
    dir_.write("bmp/SwordA.bmp", Picture(8, 4, 0x300000));
    dir_.write("bmp/SwordB.bmp", Picture(8, 4, 0x400000));
    dir_.write("bmp/Fx.bmp", Picture(6, 2, 0x500000));
    for (const Mode& mode : kFileModes) {
        SCOPED_TRACE(mode.name);
        SetUpDisplay(mode);
        g_Database.SetDefaults();
        g_Database.Bmp_CharaExc.resize(1);
        g_Database.Bmp_CharaExc.push_back(OwnPictureRecord("bmp\\Own.bmp", 0, 2));
        g_Database.Bmp_CharaExc.push_back(OwnPictureRecord("bmp\\Big.bmp", 1, 2));
        g_Database.SwordType[0].m_FileName1 = "bmp\\SwordA.bmp";
        g_Database.SwordType[0].m_FileName2 = "bmp\\SwordB.bmp";
        g_Database.Effect.resize(2);
        g_Database.Effect[1].m_FileName = "bmp\\Fx.bmp";
        LoadCharaBitmaps();
        LoadSwordPictures();
        LoadEffectPictures();
        ASSERT_EQ(g_CharaPictures.size(), 8u) << "records 1 and 2, four surfaces each";
        ASSERT_EQ(g_SwordPictures.size(), 4u) << "record 0 is a sword too";
        ASSERT_EQ(g_EffectPictures.size(), 2u);

        // Record 1: 32-pixel cells mirrored in place for the right-facing copy.
        EXPECT_EQ(Rgb(g_CharaPictures[0], 0, 5), 0x100005u);
        EXPECT_EQ(Rgb(g_CharaPictures[1], 0, 5), 0x101F05u);
        EXPECT_EQ(Rgb(g_CharaPictures[1], 32, 0), 0x103F00u);
        // Record 2 is large with factor 2: its cells are 64 wide.
        EXPECT_EQ(Rgb(g_CharaPictures[5], 0, 0), 0x203F00u);
        EXPECT_EQ(Rgb(g_CharaPictures[5], 64, 0), 0x207F00u);
        // The pixel-effect copies draw through their drawing copies.
        for (std::size_t group = 0; group < 2; ++group) {
            EXPECT_EQ(LinkOf(g_CharaPictures, 4 * group), -1);
            EXPECT_EQ(LinkOf(g_CharaPictures, 4 * group + 1), -1);
            EXPECT_EQ(LinkOf(g_CharaPictures, 4 * group + 2), static_cast<int>(4 * group));
            EXPECT_EQ(LinkOf(g_CharaPictures, 4 * group + 3), static_cast<int>(4 * group + 1));
        }
        EXPECT_EQ(g_CharaPictures[2].width, 64);
        EXPECT_EQ(g_CharaPictures[7].mirrorCellWidth, 64);
        // Swords: first file, second file, their copies.
        EXPECT_EQ(Rgb(g_SwordPictures[0], 1, 1), 0x300101u);
        EXPECT_EQ(Rgb(g_SwordPictures[1], 1, 1), 0x400101u);
        EXPECT_EQ(LinkOf(g_SwordPictures, 2), 0);
        EXPECT_EQ(LinkOf(g_SwordPictures, 3), 1);
        EXPECT_EQ(Rgb(g_EffectPictures[0], 5, 1), 0x500501u);
        EXPECT_EQ(LinkOf(g_EffectPictures, 1), 0);
        if (!g_D3DState) {
            EXPECT_EQ(g_CharaPictures[2].ddMemory, 1) << "copies live in system memory";
            EXPECT_EQ(Rgb(g_CharaPictures[3], 0, 5), 0x101F05u);
        }
    }
}

TEST_F(PlayPictures, TablesWithOnlyTheirNoneRecordLoadNothing)
{
    SetUpDisplay(kFileModes[0]);
    g_Database.SetDefaults();
    g_Database.Bmp_CharaExc.resize(1);
    g_Database.Effect.resize(1);
    g_Database.SwordType.clear();
    LoadCharaBitmaps();
    LoadSwordPictures();
    LoadEffectPictures();
    EXPECT_TRUE(g_CharaPictures.empty());
    EXPECT_TRUE(g_SwordPictures.empty());
    EXPECT_TRUE(g_EffectPictures.empty());
}

TEST_F(PlayPictures, BadPictureFilesAreLoggedAndLeaveEmptyPicturesWhileTheRestLoads)
{
    dir_.write("bmp/Own.bmp", Picture(32, 32, 0x100000));
    dir_.write("bmp/Broken.bmp", "BM but nothing more");
    ErrLogSetFile(1, "EC_Game.txt");
    for (const Mode& mode : kFileModes) {
        SCOPED_TRACE(mode.name);
        SetUpDisplay(mode);
        g_Database.SetDefaults();
        g_Database.Bmp_CharaExc.resize(1);
        g_Database.Bmp_CharaExc.push_back(OwnPictureRecord("bmp\\Gone.bmp", 0, 2));
        g_Database.Bmp_CharaExc.push_back(OwnPictureRecord("bmp\\Own.bmp", 1, 3));
        g_Database.SwordType[0].m_FileName1 = "bmp\\Broken.bmp";
        g_Database.SwordType[0].m_FileName2 = "";
        g_Database.Effect.resize(2);
        g_Database.Effect[1].m_FileName = "bmp\\Gone.bmp";
        LoadCharaBitmaps();
        LoadSwordPictures();
        LoadEffectPictures();
        ASSERT_EQ(g_CharaPictures.size(), 8u);
        EXPECT_EQ(g_CharaPictures[0].pixels(), nullptr);
        EXPECT_EQ(g_CharaPictures[0].width, 0);
        ASSERT_NE(g_CharaPictures[4].pixels(), nullptr) << "the next record still loads";
        EXPECT_EQ(g_CharaPictures[5].mirrorCellWidth, 32) << "a factor of 3 is cut as 1";
        ASSERT_EQ(g_SwordPictures.size(), 4u);
        EXPECT_EQ(g_SwordPictures[0].pixels(), nullptr);
        EXPECT_EQ(g_SwordPictures[1].pixels(), nullptr);
        ASSERT_EQ(g_EffectPictures.size(), 2u);
        EXPECT_EQ(g_EffectPictures[0].pixels(), nullptr);
        EXPECT_EQ(services_.m_CloseRequests, 0);
        EXPECT_TRUE(services_.m_ErrorBoxes.empty());
    }
    const std::string log = dir_.read("EC_Game.txt");
    EXPECT_NE(log.find("専用bmp bmp\\Gone.bmp 読み込み失敗！"), std::string::npos) << log;
    EXPECT_NE(log.find("ソード bmp\\Broken.bmp 読み込み失敗！"), std::string::npos);
    EXPECT_NE(log.find("エフェクト bmp\\Gone.bmp 読み込み失敗！"), std::string::npos);
}

TEST_F(PlayPictures, LoadingAgainReplacesThePicturesAndReleaseEmptiesEveryVector)
{
    dir_.write("bmp/Own.bmp", Picture(32, 32, 0x100000));
    SetUpDisplay(kFileModes[0]);
    g_Database.SetDefaults();
    g_Database.Bmp_CharaExc.resize(1);
    g_Database.Bmp_CharaExc.push_back(OwnPictureRecord("bmp\\Own.bmp", 0, 2));
    LoadCharaBitmaps();
    const std::size_t restoring = g_RestoreList.size();
    LoadCharaBitmaps();
    ASSERT_EQ(g_CharaPictures.size(), 4u);
    EXPECT_EQ(g_RestoreList.size(), restoring) << "the first load's textures were released";
    EXPECT_EQ(g_CharaPictures[2].lpMirror, &g_CharaPictures[0]);
    ReleasePlayPictures();
    EXPECT_TRUE(g_CharaPictures.empty());
    EXPECT_TRUE(g_SwordPictures.empty());
    EXPECT_TRUE(g_EffectPictures.empty());
    EXPECT_EQ(g_RestoreList.size(), restoring - 2) << "the two drawing copies left the list";
}

TEST_F(PlayPictures, PlayBitmapsAreTheSixtyThreeOfThePlayAndBackgroundsFollowTheLayers)
{
    EXPECT_EQ(kPlayBitmaps[0], 2);
    EXPECT_EQ(kPlayBitmaps[45], 47);
    EXPECT_EQ(kPlayBitmaps[46], 49);
    EXPECT_EQ(kPlayBitmaps[48], 51);
    EXPECT_EQ(kPlayBitmaps[49], 55);
    EXPECT_EQ(kPlayBitmaps[62], 68);
    dir_.write("back/Sky.bmp", Picture(4, 4, 0x600000));
    dir_.write("back/Wide.bmp", Picture(700, 2, 0x700000));
    SetUpDisplay(kFileModes[1]);
    g_Stage.Layers.assign(3, cEdLayer());
    g_Stage.Layers[0].strPicture = "back\\Sky.bmp";
    g_Stage.Layers[1].bFill = 1;
    g_Stage.Layers[1].strPicture = "back\\Sky.bmp";
    g_Stage.Layers[2].strPicture = "back\\Wide.bmp";
    ASSERT_EQ(LoadPlayPictures(0), 1);
    EXPECT_EQ(g_BitmapTable[55].name, "back\\Sky.bmp");
    EXPECT_EQ(g_BitmapTable[56].name, "") << "a fill layer has no picture";
    EXPECT_EQ(g_BitmapTable[57].name, "back\\Wide.bmp");
    EXPECT_EQ(g_BitmapTable[58].name, "") << "no such layer";
    EXPECT_EQ(g_BitmapTable[57].ddMemory, 1) << "wider than the screen: system memory";
    EXPECT_EQ(g_BitmapTable[55].ddMemory, 0);
    EXPECT_EQ(Rgb(g_BitmapSD[55], 1, 2), 0x600102u);
    EXPECT_EQ(g_BitmapSD[56].pixels(), nullptr);
    EXPECT_EQ(g_BitmapSD[57].width, 700);
}

TEST_F(PlayPictures, AMissingPlayPictureFailsTheLoad)
{
    SetUpDisplay(kFileModes[0]);
    EXPECT_EQ(LoadPlayPictures(1), 0) << "no bmp\\Block.bmp";
    TearDownMode();
    EXPECT_EQ(LoadPlayPictures(1), 1) << "without a display there is nothing to load";
}

// Palette number of the overlay at a point.
class Sight : public PlayPictures {
protected:
    cPlayerObj& MakePlayer(int range, int shape)
    {
        stage_.Player.resize(1);
        cPlayerObj& player = stage_.Player.front();
        player.m_SightRange = range;
        player.m_Def.nSightShape = static_cast<std::uint8_t>(shape);
        return player;
    }
    DDSURFACEDATA& overlay_ = g_BitmapSD[65];
    DDSURFACEDATA& hole_ = g_BitmapSD[66];
};

TEST_F(Sight, OverlaySizeFollowsTheRangeAndItsHoleTheShape)
{
    for (const Mode& mode : kDrawModes) {
        SCOPED_TRACE(mode.name);
        SetUpDisplay(mode);
        const PaletteReader read;
        struct Case {
            int range, shape;
            bool round;
        };
        for (const Case c :
             {Case{16, 1, true}, Case{16, 2, true}, Case{32, 3, false}, Case{32, 4, false}}) {
            SCOPED_TRACE(c.shape);
            MakePlayer(c.range, c.shape);
            CreateSightSurfaces(&overlay_, &hole_);
            const int r = c.range;
            ASSERT_EQ(overlay_.width, 1280 + 2 * r);
            ASSERT_EQ(overlay_.height, 960 + 2 * r);
            const int cx = overlay_.width / 2;
            const int cy = overlay_.height / 2;
            EXPECT_EQ(read.at(overlay_, 0, 0), 16);
            EXPECT_EQ(read.at(overlay_, cx, cy), 0);
            EXPECT_EQ(read.at(overlay_, cx - r + 1, cy), 0);
            EXPECT_EQ(read.at(overlay_, cx + r - 2, cy - 1), 0);
            EXPECT_EQ(read.at(overlay_, cx - r - 1, cy), 16);
            EXPECT_EQ(read.at(overlay_, cx + r, cy), 16);
            EXPECT_EQ(read.at(overlay_, cx, cy - r - 1), 16);
            // The square's corner lies outside the disc.
            EXPECT_EQ(read.at(overlay_, cx - r, cy - r), c.round ? 16 : 0);
            EXPECT_EQ(read.at(overlay_, cx + r - 1, cy + r - 1), c.round ? 16 : 0);
            EXPECT_EQ(hole_.pixels() != nullptr, c.round);
        }
        MakePlayer(0, 1);
        CreateSightSurfaces(&overlay_, &hole_);
        ASSERT_EQ(overlay_.width, 1280);
        EXPECT_EQ(read.at(overlay_, 640, 480), 16) << "a range of 0 leaves no hole";
        EXPECT_EQ(hole_.pixels(), nullptr);
    }
}

// In full-colour mode the transparent colour is a colour of its own, not
// palette number 0: both hole shapes are cut with it.
TEST_F(Sight, FullColourHolesAreCutWithTheTransparentColour)
{
    for (const Mode& mode : kFileModes) {
        SCOPED_TRACE(mode.name);
        SetUpDisplay(mode);
        g_System.nColourMode = 1;
        DDSetTransmit(255, 0, 255);
        const PaletteReader read;
        for (int shape : {1, 3}) {
            SCOPED_TRACE(shape);
            MakePlayer(16, shape);
            CreateSightSurfaces(&overlay_, &hole_);
            const int cx = overlay_.width / 2;
            const int cy = overlay_.height / 2;
            EXPECT_EQ(read.at(overlay_, cx, cy), 0);
            EXPECT_EQ(read.at(overlay_, cx - 14, cy + 14), shape == 1 ? 16 : 0);
            EXPECT_EQ(read.at(overlay_, cx - 17, cy), 16);
        }
    }
}

TEST_F(Sight, AnOverlayThatCannotBeMadeSaysSoAndClosesTheGame)
{
    SetUpDisplay(kDrawModes[0]);
    // Beyond the largest surface the renderer makes.
    MakePlayer(DD_MAX_TEXTURE_SIDE, 1);
    CreateSightSurfaces(&overlay_, &hole_);
    EXPECT_EQ(overlay_.pixels(), nullptr);
    ASSERT_EQ(services_.m_ErrorBoxes.size(), 1u);
    EXPECT_EQ(services_.m_ErrorBoxes[0], Sjis("メモリが不足しています！"));
    EXPECT_EQ(services_.m_CloseRequests, 1);
}

TEST_F(PlayPictures, ResetAndMessageReleaseEmptyTheirLists)
{
    SetUpDisplay(kDrawModes[0]);
    const std::size_t before = g_RestoreList.size();
    for (int k = 0; k < 2; ++k) {
        stage_.m_PictureList.emplace_back(1, 0, 0, 4, 4, 0, 100, 0, 0, 0);
        ASSERT_TRUE(DDCreateSurface(&g_PictureSurfaces.emplace_back(), 4, 4, 1, 0, 0, 0, 0));
        g_PictureBmpList.push_back("pic");
        ASSERT_TRUE(DDCreateSurface(&g_MessageSurfaces.emplace_back(), 4, 4, 1, 0, 0, 0, 0));
    }
    ResetPictures();
    EXPECT_TRUE(g_PictureSurfaces.empty());
    EXPECT_TRUE(g_PictureBmpList.empty());
    EXPECT_TRUE(stage_.m_PictureList.empty());
    EXPECT_EQ(g_MessageSurfaces.size(), 2u);
    EXPECT_EQ(g_RestoreList.size(), before + 2) << "only the message surfaces are left";
    ReleaseMessageSurfaces();
    EXPECT_TRUE(g_MessageSurfaces.empty());
    EXPECT_EQ(g_RestoreList.size(), before);
}

} // namespace
