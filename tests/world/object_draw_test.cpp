// Graphic references resolved to sheets and cells, their 16 x 16 icons, and
// the drawing of items, shots, sword swings, the carried-item hint, the
// player's box display and its sight mask, on small memory surfaces in both
// back ends.

#include "media/graphics_fixture.h"

#include <optional>
#include <string>

#include "data/ed_database.h"
#include "data/ed_system.h"
#include "media/dd_blit.h"
#include "world/graphic_ref.h"
#include "world/item_obj.h"
#include "world/npc_obj.h"
#include "world/play_pictures.h"
#include "world/player_obj.h"
#include "world/running_stage.h"
#include "world/shot_obj.h"
#include "world/world_services.h"

using namespace gfxtest;

namespace {

// The names of the surfaces a reference may point at: "B<n>" for bitmap n,
// "O<i>" for own picture i, "-" for none.
std::string NameOf(const DDSURFACEDATA* sd)
{
    if (!sd) return "-";
    for (std::size_t n = 0; n < g_BitmapSD.size(); ++n)
        if (sd == &g_BitmapSD[n]) return "B" + std::to_string(n);
    for (std::size_t i = 0; i < g_CharaPictures.size(); ++i)
        if (sd == &g_CharaPictures[i]) return "O" + std::to_string(i);
    return "?";
}

std::string Describe(const GraphicRef& ref)
{
    return NameOf(ref.m_Surface) + " " + NameOf(ref.m_Copy) + " " + NameOf(ref.m_Opposite) + " " +
           NameOf(ref.m_OppositeCopy) + " (" + std::to_string(ref.m_X) + "," +
           std::to_string(ref.m_Y) + ") " + std::to_string(ref.m_Large) + "x" +
           std::to_string(int{ref.m_Size});
}

class ResolveGraphicRules : public testing::Test {
protected:
    void SetUp() override
    {
        // The character sheets of 20 frames by 15 rows (nothing drawn: the
        // rules only read their sizes).
        for (int n = 4; n < 20; ++n) {
            g_BitmapSD[static_cast<std::size_t>(n)].width = 640;
            g_BitmapSD[static_cast<std::size_t>(n)].height = 480;
        }
        g_CharaPictures.resize(8);
        g_Database.SetDefaults();
        g_Database.Bmp_CharaExc.resize(3);
        g_Database.Bmp_CharaExc[2].m_Large = 1;
        g_Database.Bmp_CharaExc[2].m_SizeFactor = 2;
    }
    void TearDown() override
    {
        for (int n = 4; n < 20; ++n)
            g_BitmapSD[static_cast<std::size_t>(n)] = DDSURFACEDATA();
        g_CharaPictures.clear();
        g_Database.SetDefaults();
    }
};

TEST_F(ResolveGraphicRules, EachKindNamesItsSheetsAndCell)
{
    struct Case {
        int use, kind, number, frame, facing, offset;
        const char* expected;
    };
    const Case cases[] = {
        {0, 0, 17, 0, 0, 0, "B2 B3 B2 B3 (32,64) 0x1"},
        // Character 15 is row 0 of the second sheet; 119 row 14 of the eighth.
        {1, 1, 15, 2, 0, 1, "B6 B24 B7 B25 (96,0) 0x1"},
        {1, 1, 119, 0, 1, 0, "B19 B37 B18 B36 (0,448) 0x1"},
        // Plain use: frames from 20 on come from the right-facing sheet.
        {0, 1, 3, 20, 0, 0, "B5 B23 - - (0,96) 0x1"},
        {2, 1, 3, 19, 1, 5, "B4 B22 - - (608,96) 0x1"},
        // Cells outside the sheet, and numbers of no sheet, fall back.
        {1, 1, 3, 20, 0, 0, "B4 B22 B4 B22 (0,0) 0x1"},
        {1, 1, 120, 0, 0, 0, "B4 B22 B4 B22 (0,0) 0x1"},
        {0, 1, -1, 0, 0, 0, "B4 B22 B4 B22 (0,0) 0x1"},
        {1, 1, 2, -1, 0, 0, "B4 B22 B4 B22 (0,0) 0x1"},
        // Items: two 32-pixel frames per item, the offset only for use 2.
        {2, 2, 16, 7, 0, 1, "B40 B41 B40 B41 (96,32) 0x1"},
        {0, 2, 16, 7, 0, 1, "B40 B41 B40 B41 (64,32) 0x1"},
        // Shots: columns of 30, the sheet of the facing for use 1.
        {1, 3, 31, 0, 1, 0, "B64 B64 B63 B63 (64,32) 0x1"},
        {1, 3, 31, 0, 0, 0, "B63 B63 B64 B64 (64,32) 0x1"},
        {0, 3, 31, 0, 1, 0, "B63 B63 B63 B63 (64,32) 0x1"},
        // Own pictures: 16 cells of 32 to a row; a large one of factor 2 has
        // 8 of 64 (frame 9 at (64, 64)).
        {0, 4, 1, 17, 0, 0, "O0 O2 - - (32,32) 0x1"},
        {0, 4, 2, 9, 0, 0, "O4 O6 - - (64,64) 1x2"},
        {1, 4, 2, 9, 1, 1, "O5 O7 O4 O6 (128,64) 1x2"},
        {1, 4, 1, 3, 0, 2, "O0 O2 O1 O3 (160,0) 0x1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.use) + " " + std::to_string(c.kind) + " " +
                     std::to_string(c.number) + " " + std::to_string(c.frame));
        cItemObj owner;
        owner.m_Facing = c.facing;
        GraphicRef ref;
        ResolveGraphic(ref, c.use, c.kind, c.number, c.frame, &owner, c.offset);
        EXPECT_EQ(Describe(ref), c.expected);
    }
}

TEST_F(ResolveGraphicRules, AnUnknownKindLeavesTheReferenceAsItWas)
{
    GraphicRef ref;
    ResolveGraphic(ref, 0, 2, 1, 0, nullptr, 0);
    ResolveGraphic(ref, 0, 9, 5, 3, nullptr, 0);
    EXPECT_EQ(Describe(ref), "B40 B41 B40 B41 (0,32) 0x1");
}

// The drawing tests: a small display of each back end and the sheets they
// draw from painted with palette numbers.
const Mode kDrawModes[] = {AllModes()[0], AllModes()[3], AllModes()[5]};

class ObjectDrawing : public testing::TestWithParam<Mode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpMode(GetParam(), 64, 48));
        SetWorldServices(&services_);
        ASSERT_TRUE(DDCreateSurface(&dest_, 96, 80, 0, 1, 0, 0, 0));
        read_.emplace();
        g_Database.SetDefaults();
    }
    void TearDown() override
    {
        read_.reset();
        DDReleaseSurface(&dest_);
        ReleasePlayPictures();
        for (auto& sd : g_BitmapSD)
            DDReleaseSurface(&sd);
        g_CharaPictures.clear();
        g_Database.SetDefaults();
        g_System = cEdSystem();
        SetWorldServices(nullptr);
        TearDownMode();
    }
    // A sheet of bitmap n and of its pixel-effect copy, all of one colour.
    static void Sheet(int n, int copy, int w, int h, int colour)
    {
        for (int k : {n, copy}) {
            if (k < 0) continue;
            DDSURFACEDATA* sd = &g_BitmapSD[static_cast<std::size_t>(k)];
            ASSERT_TRUE(DDCreateSurface(sd, w, h, 1, 0, 0, 0, 0));
            DDBoxFillPal(sd, 0, 0, w, h, colour);
        }
    }
    static void Fill(int n, int copy, int x, int y, int w, int h, int colour)
    {
        for (int k : {n, copy})
            if (k >= 0) DDBoxFillPal(&g_BitmapSD[static_cast<std::size_t>(k)], x, y, w, h, colour);
    }
    void Clear(int colour = 9) { DDBoxFillPal(&dest_, 0, 0, dest_.width, dest_.height, colour); }
    int At(int x, int y) const { return read_->at(dest_, x, y); }

    cRecordingServices services_;
    cRunningStage stage_;
    cCurrentStage current_{stage_};
    DDSURFACEDATA dest_;
    std::optional<PaletteReader> read_; // made once the display is set up
};

// A 32 x 32 cell in four quarters of colours a, b (top) and c, d (bottom).
void Quarters(DDSURFACEDATA* sd, int x, int y, int a, int b, int c, int d)
{
    DDBoxFillPal(sd, x, y, 16, 16, a);
    DDBoxFillPal(sd, x + 16, y, 16, 16, b);
    DDBoxFillPal(sd, x, y + 16, 16, 16, c);
    DDBoxFillPal(sd, x + 16, y + 16, 16, 16, d);
}

TEST_P(ObjectDrawing, IconsAreCellsShrunkTo16Pixels)
{
    Sheet(2, 3, 96, 480, 1);
    Quarters(&g_BitmapSD[3], 32, 64, 11, 12, 13, 14);
    Quarters(&g_BitmapSD[2], 32, 64, 11, 12, 13, 14);
    Sheet(24, 6, 640, 480, 1);
    Quarters(&g_BitmapSD[24], 64, 32, 21, 22, 23, 24);
    Quarters(&g_BitmapSD[6], 64, 32, 21, 22, 23, 24);
    Sheet(42, -1, 64, 240, 1);
    DDBoxFillPal(&g_BitmapSD[42], 32, 16, 16, 16, 31);
    DDBoxFillPal(&g_BitmapSD[42], 32, 16, 8, 8, 0);
    Sheet(63, -1, 256, 960, 1);
    Quarters(&g_BitmapSD[63], 64, 32, 41, 42, 43, 44);
    g_CharaPictures.resize(4);
    ASSERT_TRUE(DDCreateSurface(&g_CharaPictures[2], 512, 64, 1, 0, 0, 0, 0));
    Quarters(&g_CharaPictures[2], 96, 32, 51, 52, 53, 54);
    g_Database.Bmp_CharaExc.resize(2);
    struct Case {
        int kind, number, frame;
        int tl, tr, bl, br;
    };
    // Block 17, character 16 frame 2, item 16 (small sheet), shot 31, own
    // picture 1 frame 19.
    const Case cases[] = {{0, 17, 0, 11, 12, 13, 14},
                          {1, 16, 2, 21, 22, 23, 24},
                          {2, 16, 0, 9, 31, 31, 31},
                          {3, 31, 0, 41, 42, 43, 44},
                          {4, 1, 19, 51, 52, 53, 54}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Clear();
        DrawGraphicIcon(&dest_, 10, 20, c.kind, c.number, c.frame);
        EXPECT_EQ(At(10, 20), c.tl);
        EXPECT_EQ(At(17, 27), c.tl);
        EXPECT_EQ(At(18, 20), c.tr);
        EXPECT_EQ(At(25, 27), c.tr);
        EXPECT_EQ(At(10, 28), c.bl);
        EXPECT_EQ(At(25, 35), c.br);
        EXPECT_EQ(At(26, 20), 9) << "16 pixels wide";
        EXPECT_EQ(At(10, 36), 9) << "16 pixels high";
    }
    Clear();
    DrawGraphicIcon(&dest_, 10, 20, 1, 120, 0);
    DrawGraphicIcon(&dest_, 10, 20, 7, 1, 0);
    EXPECT_EQ(At(10, 20), 9) << "no sheet, no icon";
}

// An item of kind 2, picture 1, whose animation shows frame 1.
void MakeItem(cItemObj& item, int scale)
{
    item.m_Def.nGraphicKind = 2;
    item.m_Def.nGraphicNo = 1;
    item.m_Def.nSize = static_cast<std::uint8_t>(scale);
    item.m_Anime.Build({{{1, 100, 0}, {-2, 0, 0}}});
    item.m_Anime.Set(0, 1);
    item.m_ScrLeft = 8;
    item.m_ScrTop = 6;
    item.m_PicWidth0 = item.m_PicHeight0 = 32;
    item.m_PicWidth = item.m_PicHeight = 32 * scale;
}

TEST_P(ObjectDrawing, ItemsDrawTheirFrameAtTheirScaleWithTheSymbolOnTop)
{
    Sheet(40, 41, 128, 480, 1);
    Fill(40, 41, 0, 32, 32, 32, 3);
    Fill(40, 41, 32, 32, 32, 32, 4);
    Fill(40, 41, 32, 32, 4, 4, 0);
    Sheet(43, 44, 64, 480, 1);
    Fill(43, 44, 32, 32, 32, 16, 6);
    Fill(43, 44, 32, 48, 32, 16, 0);
    cItemObj item;
    MakeItem(item, 1);
    Clear();
    EXPECT_EQ(item.DrawItem(&dest_, 1), 0);
    EXPECT_EQ(At(8, 6), 9) << "the cell's transparent corner";
    EXPECT_EQ(At(12, 6), 4) << "frame 1 of item 1";
    EXPECT_EQ(At(39, 37), 4);
    EXPECT_EQ(At(40, 38), 9);
    // Symbol 16 lies at (32, 32) of the symbol sheet; its lower half is clear.
    item.m_Def.bOverlay = 1;
    item.m_Def.nOverlayPiece = 16;
    Clear();
    item.DrawItem(&dest_, 0);
    EXPECT_EQ(At(8, 6), 6);
    EXPECT_EQ(At(39, 21), 6);
    EXPECT_EQ(At(20, 22), 4);
    // At scale 2 both are stretched to the picture's size.
    cItemObj big;
    MakeItem(big, 2);
    big.m_Def.bOverlay = 1;
    big.m_Def.nOverlayPiece = 16;
    Clear();
    big.DrawItem(&dest_, 1);
    EXPECT_EQ(At(8, 6), 6);
    EXPECT_EQ(At(71, 37), 6);
    EXPECT_EQ(At(71, 38), 4);
    EXPECT_EQ(At(71, 69), 4);
    EXPECT_EQ(At(72, 69), 9);
    // A hidden item draws nothing and answers its flag.
    big.m_Def.bHidden = 1;
    Clear();
    EXPECT_EQ(big.DrawItem(&dest_, 1), 1);
    EXPECT_EQ(At(20, 20), 9);
}

// A large own picture of factor 2 is a copy made for scale 2: drawn as it
// is at that scale, stretched at any other.
TEST_P(ObjectDrawing, ItemsOfALargeOwnPictureStretchOnlyAwayFromItsFactor)
{
    g_Database.Bmp_CharaExc.resize(2);
    g_Database.Bmp_CharaExc[1].m_Large = 1;
    g_Database.Bmp_CharaExc[1].m_SizeFactor = 2;
    g_CharaPictures.resize(4);
    for (std::size_t k : {0u, 2u}) {
        ASSERT_TRUE(DDCreateSurface(&g_CharaPictures[k], 128, 64, 1, 0, 0, 0, 0));
        DDBoxFillPal(&g_CharaPictures[k], 0, 0, 128, 64, 1);
        DDBoxFillPal(&g_CharaPictures[k], 64, 0, 32, 64, 7); // cell 1, left half
        DDBoxFillPal(&g_CharaPictures[k], 96, 0, 32, 64, 8);
    }
    for (int scale : {1, 2, 3}) {
        SCOPED_TRACE(scale);
        cItemObj item;
        MakeItem(item, scale);
        item.m_Def.nGraphicKind = 4;
        item.m_Def.nGraphicFrame = 1;
        Clear();
        item.DrawItem(&dest_, 1);
        const int half = 16 * scale;
        EXPECT_EQ(At(8, 6), 7);
        EXPECT_EQ(At(8 + half - 1, 6 + half), 7);
        EXPECT_EQ(At(8 + half, 6), 8);
        if (8 + 2 * half < dest_.width) {
            EXPECT_EQ(At(8 + 2 * half, 6), 9);
        }
        if (6 + 2 * half < dest_.height) {
            EXPECT_EQ(At(8, 6 + 2 * half), 9);
        }
    }
}

// Colour of frame (k, r) of the 16-pixel shot sheet `sheet` (0 left, 1 right).
int ShotColour(int k, int r, int sheet)
{
    return 1 + (k * 7 + r * 3 + sheet * 11) % 62;
}

void PaintShotSheets()
{
    for (int sheet = 0; sheet < 2; ++sheet) {
        DDSURFACEDATA* sd = &g_BitmapSD[static_cast<std::size_t>(20 + sheet)];
        ASSERT_TRUE(DDCreateSurface(sd, 128, 480, 1, 0, 0, 0, 0));
        for (int r = 0; r < 30; ++r)
            for (int k = 0; k < 8; ++k)
                DDBoxFillPal(sd, 16 * k, 16 * r, 16, 16, ShotColour(k, r, sheet));
    }
}

TEST_P(ObjectDrawing, ShotsDrawTheirFrameFromTheSheetOfTheirFacing)
{
    // The sheet is 8 cells across and 30 down: reading the row from the
    // frame and the column from the graphic (x from g mod 30) would land on
    // another cell, (1, 3) instead of (3, 1).
    PaintShotSheets();
    cShotObj shot;
    shot.m_GraphicNo = 31; // row 1, second pair of frames
    shot.m_Anime.Build({{{1, 100, 0}, {-2, 0, 0}}});
    shot.m_Anime.Set(0, 1);
    shot.m_X = 10;
    shot.m_Y = 12;
    shot.m_PicWidth = shot.m_PicHeight = 16;
    for (int facing : {0, 1}) {
        SCOPED_TRACE(facing);
        shot.m_Facing = facing;
        Clear();
        shot.DrawShot(&dest_, 0);
        const int colour = ShotColour(3, 1, facing);
        EXPECT_EQ(At(10, 12), colour);
        EXPECT_EQ(At(25, 27), colour);
        EXPECT_EQ(At(26, 27), 9);
        EXPECT_EQ(At(25, 28), 9);
    }
    shot.m_Def.m_Size = 3;
    shot.m_PicWidth = shot.m_PicHeight = 48;
    Clear();
    shot.DrawShot(&dest_, 1);
    EXPECT_EQ(At(57, 59), ShotColour(3, 1, 1));
    EXPECT_EQ(At(58, 59), 9);
    shot.m_Def.m_Invisible = 1;
    Clear();
    EXPECT_EQ(shot.DrawShot(&dest_, 0), 1);
    EXPECT_EQ(At(10, 12), 9);
}

TEST_P(ObjectDrawing, SwordSwingsDrawTheirPartFromThePictureOfFacingAndScale)
{
    cEdSwordPart& part = g_Database.SwordType[0].m_Parts[0];
    part.m_Setting[5] = 4; // x and y in the sword picture
    part.m_Setting[6] = 2;
    part.m_Setting[7] = 6; // width and height
    part.m_Setting[8] = 3;
    g_SwordPictures.resize(4);
    for (int i = 0; i < 4; ++i) {
        DDSURFACEDATA* sd = &g_SwordPictures[static_cast<std::size_t>(i)];
        ASSERT_TRUE(DDCreateSurface(sd, 16, 8, 1, 0, 0, 0, 0));
        DDBoxFillPal(sd, 0, 0, 16, 8, 20 + i);
        DDBoxFillPal(sd, 4, 2, 6, 3, 10 + i);
    }
    cShotObj sword;
    sword.m_IsShot = 0;
    sword.m_X = 30;
    sword.m_Y = 20;
    sword.m_Width = 6;
    sword.m_Height = 3;
    struct Case {
        int facing, scale, colour;
    };
    for (const Case c : {Case{0, 1, 10}, Case{1, 1, 11}, Case{0, 2, 12}, Case{1, 2, 13}}) {
        SCOPED_TRACE(std::to_string(c.facing) + " " + std::to_string(c.scale));
        sword.m_Facing = c.facing;
        sword.m_Def.m_Size = static_cast<std::uint8_t>(c.scale);
        sword.m_Width = 6 * c.scale;
        sword.m_Height = 3 * c.scale;
        Clear();
        sword.DrawShot(&dest_, 0);
        EXPECT_EQ(At(30, 20), c.colour);
        EXPECT_EQ(At(30 + 6 * c.scale - 1, 20 + 3 * c.scale - 1), c.colour);
        EXPECT_EQ(At(30 + 6 * c.scale, 20), 9);
        EXPECT_EQ(At(30, 20 + 3 * c.scale), 9);
    }
    // A part or sword type that is not there draws nothing.
    sword.m_PartIndex = 1;
    Clear();
    EXPECT_EQ(sword.DrawShot(&dest_, 0), 0);
    sword.m_PartIndex = 0;
    sword.m_Def.m_MoveKind = 5;
    sword.DrawShot(&dest_, 0);
    EXPECT_EQ(At(30, 20), 9);
}

TEST_P(ObjectDrawing, TheCarriedItemHintShows32FramesOf96AboveTheCharacter)
{
    Sheet(42, -1, 64, 240, 1);
    DDBoxFillPal(&g_BitmapSD[42], 32, 16, 16, 16, 31); // item 16, frame 0
    cNpcObj chara;
    chara.m_OnScreen = 1;
    chara.m_ScrLeft = 20;
    chara.m_ScrTop = 40;
    chara.m_PicWidth = 32;
    cItemObj& item = chara.m_CarriedItem;
    item.m_Carried = 1;
    item.m_Def.nGraphicKind = 2;
    item.m_Def.nGraphicNo = 16;
    item.m_PicWidth = item.m_PicHeight = 32;
    std::vector<int> shown;
    for (int call = 1; call <= 192; ++call) {
        Clear();
        chara.DrawCarriedHint(&dest_);
        if (At(28, 24) == 31) shown.push_back(call);
        EXPECT_EQ(At(27, 24), 9);
        EXPECT_EQ(At(28, 23), 9);
    }
    ASSERT_EQ(shown.size(), 64u);
    EXPECT_EQ(shown.front(), 64);
    EXPECT_EQ(shown[31], 95);
    EXPECT_EQ(shown[32], 160);
    // No hint for a hidden item, a transparent character, or no item.
    for (int k = 0; k < 3; ++k) {
        cNpcObj other = chara;
        other.m_HintCounter = 70;
        if (k == 0) other.m_CarriedItem.m_Def.bHidden = 1;
        if (k == 1) other.m_Def.bTransparent = 1;
        if (k == 2) other.m_CarriedItem.m_Carried = 0;
        Clear();
        other.DrawCarriedHint(&dest_);
        EXPECT_EQ(At(28, 24), 9) << k;
        EXPECT_EQ(other.m_HintCounter, 70) << k;
    }
}

// A player whose body is not drawn, with two box displays.
cPlayerObj& BoxedPlayer(cRunningStage& stage)
{
    stage.Player.resize(1);
    cPlayerObj& player = stage.Player.front();
    player.m_Def.bTransparent = 1;
    player.m_ScrLeft = 10;
    player.m_ScrTop = 10;
    player.m_PicOffX = 2;
    player.m_PicOffY = 3;
    player.m_HitA.m_OffX = 1;
    player.m_HitA.m_OffY = 1;
    BoxDisplay body;
    body.m_Kind = 0;
    body.m_Mode = 2;
    body.m_Colour = 30;
    body.m_Width = 6;
    body.m_Height = 5;
    BoxDisplay contact;
    contact.m_Kind = 1;
    contact.m_Mode = 1;
    contact.m_Colour = 20;
    contact.m_Width = 4;
    contact.m_Height = 3;
    contact.m_Blink = 8;
    player.m_BoxDisplay = {body, contact};
    return player;
}

TEST_P(ObjectDrawing, TheBoxDisplayFillsOrFramesEachBoxAndBlinks)
{
    cPlayerObj& player = BoxedPlayer(stage_);
    Clear();
    player.Draw(&dest_, 1);
    EXPECT_EQ(At(12, 13), 30) << "the body box's frame";
    EXPECT_EQ(At(17, 17), 30);
    EXPECT_EQ(At(16, 17), 30);
    EXPECT_EQ(At(18, 17), 9);
    EXPECT_EQ(At(13, 14), 21) << "the contact box, a shade lighter at blink 8";
    EXPECT_EQ(At(16, 16), 21);
    EXPECT_EQ(At(16, 16), 21);
    EXPECT_EQ(At(15, 16), 21);
    EXPECT_EQ(At(14, 15), 21);
    EXPECT_EQ(player.m_BoxDisplay[0].m_X, 12);
    EXPECT_EQ(player.m_BoxDisplay[1].m_Y, 14);
    EXPECT_EQ(player.m_BoxDisplay[1].m_Blink, 9);
    player.m_BoxDisplay[1].m_Blink = 31;
    player.Draw(&dest_, 1);
    EXPECT_EQ(player.m_BoxDisplay[1].m_Blink, 0) << "wraps from 32 to 0";
    player.Draw(&dest_, 0);
    EXPECT_EQ(player.m_BoxDisplay[1].m_Blink, 1) << "a frozen frame blinks too";
    player.m_BoxDisplay[1].m_Blink = 24;
    g_System.bColourCycle = 1;
    Clear();
    player.Draw(&dest_, 0);
    EXPECT_EQ(At(13, 14), GetParam().bpp == 8 ? 20 : 23)
        << "at 8 bits with colour cycling the palette blinks instead";
    player.m_BoxDisplay[1].m_Mode = 0;
    Clear();
    player.Draw(&dest_, 0);
    EXPECT_EQ(At(13, 14), 9) << "mode 0 shows nothing";
}

INSTANTIATE_TEST_SUITE_P(BothBackEnds, ObjectDrawing, testing::ValuesIn(kDrawModes), ModeName);

class SightMask : public ObjectDrawing {
protected:
    cPlayerObj& Player(int range, int shape, int facing)
    {
        stage_.Player.resize(1);
        cPlayerObj& player = stage_.Player.front();
        player.m_SightRange = range;
        player.m_Def.nSightShape = static_cast<std::uint8_t>(shape);
        player.m_Facing = facing;
        player.m_ScrLeft = 100;
        player.m_ScrTop = 200;
        player.m_PicWidth = player.m_PicHeight = 32;
        CreateSightSurfaces(&g_BitmapSD[65], &g_BitmapSD[66]);
        return player;
    }
    void SetUp() override
    {
        ObjectDrawing::SetUp();
        DDReleaseSurface(&dest_);
        ASSERT_TRUE(DDCreateSurface(&dest_, 640, 480, 0, 1, 0, 0, 0));
    }
};

TEST_P(SightMask, TheHoleFollowsThePlayerOrLooksAhead)
{
    cPlayerObj& around = Player(32, 1, 1);
    Clear(5);
    around.DrawSightMask(&dest_);
    EXPECT_EQ(At(116, 216), 5) << "the player's centre";
    EXPECT_EQ(At(116 + 30, 216), 5);
    EXPECT_EQ(At(116 + 33, 216), 16);
    EXPECT_EQ(At(116 - 33, 216), 16);
    EXPECT_EQ(At(0, 0), 16);
    EXPECT_EQ(At(639, 479), 16);
    struct Case {
        int facing, centre;
    };
    for (const Case c : {Case{1, 132}, Case{0, 100}}) {
        SCOPED_TRACE(c.facing);
        cPlayerObj& ahead = Player(32, 2, c.facing);
        Clear(5);
        ahead.DrawSightMask(&dest_);
        EXPECT_EQ(At(c.centre, 216), 5);
        EXPECT_EQ(At(c.centre + 30, 216), 5);
        EXPECT_EQ(At(c.centre - 30, 216), 5);
        EXPECT_EQ(At(c.centre + 33, 216), 16);
        EXPECT_EQ(At(c.centre - 33, 216), 16);
    }
    cPlayerObj& square = Player(32, 4, 1);
    Clear(5);
    square.DrawSightMask(&dest_);
    EXPECT_EQ(At(132 - 32, 216 - 32), 5) << "the square's corner";
    EXPECT_EQ(At(132 + 31, 216 + 31), 5);
    EXPECT_EQ(At(132 + 32, 216), 16);
}

TEST_P(SightMask, TheWindowStaysInsideTheOverlay)
{
    cPlayerObj& player = Player(32, 1, 1);
    player.m_ScrLeft = -2000;
    player.m_ScrTop = 5000;
    Clear(5);
    player.DrawSightMask(&dest_);
    EXPECT_EQ(At(0, 0), 16);
    EXPECT_EQ(At(639, 479), 16);
    // No sight, or no surface: nothing is drawn.
    player.m_Def.nSightShape = 0;
    Clear(5);
    player.DrawSightMask(&dest_);
    player.DrawSightMask(nullptr);
    EXPECT_EQ(At(0, 0), 5);
}

INSTANTIATE_TEST_SUITE_P(BothBackEnds, SightMask, testing::ValuesIn(kDrawModes), ModeName);

} // namespace
