// The play field's frame: the order of its parts and of the objects by
// drawing layer (read from the draw trace), a restart of the stage in the
// middle of the object pass, the block cells that their conditions show
// (frozen frames answer from the last play frame), and in both back ends
// the pixels of the layers, the status bar, the time and the tint.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "core/timer.h"
#include "data/ed_command.h"
#include "media/bitmap_table.h"
#include "media/dd_palette.h"
#include "media/graphics_fixture.h"
#include "support/world_fixture.h"
#include "world/play_pictures.h"
#include "world/play_screen.h"
#include "world/random.h"
#include "world/trace.h"

namespace {

using gfxtest::Mode;
using Grid = std::vector<std::vector<int>>;

const Mode kTexture32{"Texture32", 1, 32, 1};
const Mode kSurface32{"Surface32", 0, 32, 1};
const Mode kSurface8{"Surface8", 0, 8, 0};

// A running stage of 30 x 20 blocks on a display of the given size in one
// mode of the graphics layer, with a draw trace.
class FieldTest : public test::WorldTest {
protected:
    void SetUpField(const Mode& mode, int width, int height)
    {
        ASSERT_TRUE(gfxtest::SetUpMode(mode, width, height));
        reader = std::make_unique<gfxtest::PaletteReader>();
        cEdStage data = test::MakeStage(30, 20, 2, 10);
        data.bShowStatus = 1;
        Start(data);
        g_Stage.Layers.clear();
        g_System.vStatusItem.assign(5, cEdStatusItem());
        g_System.SysText.assign(kSysTexts, "");
        stage->m_NoTimeLimit = 1;
    }
    void TearDown() override
    {
        for (DDSURFACEDATA& sd : g_BitmapSD)
            DDReleaseSurface(&sd);
        gfxtest::TearDownMode();
        test::WorldTest::TearDown();
    }

    // A plain keyed surface in a bitmap slot painted with a picture.
    void Slot(int n, const Grid& picture, int colourKey = 1)
    {
        DDSURFACEDATA& sd = g_BitmapSD[n];
        ASSERT_TRUE(DDCreateSurface(&sd, static_cast<int>(picture[0].size()),
                                    static_cast<int>(picture.size()), colourKey, 1, 0, 0, 0));
        gfxtest::Paint(&sd, picture);
    }
    // A plain keyed surface in a bitmap slot filled with one colour.
    void SlotFilled(int n, int w, int h, int colour)
    {
        DDSURFACEDATA& sd = g_BitmapSD[n];
        ASSERT_TRUE(DDCreateSurface(&sd, w, h, 1, 1, 0, 0, 0));
        DDClearPal(&sd, colour);
    }
    int At(int x, int y) const { return reader->at(BackBuffer, x, y); }

    // The draw trace's parts in order ("draw chara 3" -> "chara 3").
    std::vector<std::string> Drawn() const
    {
        std::vector<std::string> out;
        for (const std::string& line : trace.LinesStartingWith("draw "))
            out.push_back(line.substr(5));
        return out;
    }
    std::vector<std::string> DrawnOf(const std::string& part) const
    {
        std::vector<std::string> out;
        for (const std::string& line : Drawn())
            if (line.compare(0, part.size() + 1, part + " ") == 0) out.push_back(line);
        return out;
    }

    cNpcObj& AddNpc(int z)
    {
        cNpcObj c;
        c.m_Def.Clear();
        c.m_Def.nOperator = 1;
        c.m_Def.nZ = static_cast<std::uint8_t>(z);
        c.m_ObjNo = stage->m_CharaSerial++;
        c.m_Operator = 1;
        c.m_Vars.assign(9, 0);
        c.m_Present = 1;
        return stage->AddChara(c);
    }
    cItemObj& AddItem()
    {
        cItemObj item;
        item.m_ObjNo = 100 + stage->m_ItemSerial++;
        item.m_OnScreen = 1;
        return stage->AddItem(item);
    }
    cShotObj& AddShot(int z)
    {
        cShotObj shot;
        shot.m_ObjNo = 200 + stage->m_BlockSerial++;
        shot.m_OnScreen = 1;
        shot.m_Z = z;
        return stage->AddShot(shot);
    }

    cTraceRecorder trace;
    std::unique_ptr<gfxtest::PaletteReader> reader;
};

// --- the order of the frame

class FieldOrder : public FieldTest {
protected:
    void SetUp() override
    {
        FieldTest::SetUp();
        SetUpField(kTexture32, 64, 48);
    }
};

TEST_F(FieldOrder, TheFrameDrawsItsPartsInOrder)
{
    stage->m_NoTimeLimit = 0;
    stage->m_TimeLeft = 50;
    g_System.vStatusItem[0].bShow = 1;
    stage->m_DirectStart = 1;
    DrawPlayScreen(1, 0, 1, 1);
    std::vector<std::string> parts;
    for (const std::string& line : Drawn()) {
        const std::string part = line.substr(0, line.find(' '));
        if (parts.empty() || parts.back() != part) parts.push_back(part);
    }
    EXPECT_EQ(parts, (std::vector<std::string>{"backfill", "player", "sight", "screen-effect",
                                               "status", "time", "hint"}));
}

// A stage whose scene shows its pause menu.
class PausedStage : public cRunningStage {
public:
    int SceneInPauseMenu() const override { return 1; }
};

TEST_F(FieldOrder, ThePauseMenuCanHideEverythingButTheLayersAndTheTint)
{
    PausedStage paused;
    cCurrentStage current(paused);
    paused.SetStage(0, 0);
    cEdLayer front;
    front.SetDefaults();
    front.nFront = 1;
    front.bFill = 1;
    g_Stage.Layers = {front};
    paused.m_Tint.m_Running = 1;
    paused.m_Tint.m_Strength = 50;
    g_System.bPauseHidesObjects = 1;
    DrawPlayScreen(0, 1, 0, 1);
    std::vector<std::string> parts;
    for (const std::string& line : Drawn())
        parts.push_back(line.substr(0, line.find(' ')));
    EXPECT_EQ(parts, (std::vector<std::string>{"backfill", "fill", "tint"}));
    trace.Clear();
    g_System.bPauseHidesObjects = 0;
    DrawPlayScreen(0, 1, 0, 1);
    EXPECT_FALSE(DrawnOf("player").empty());
    trace.Clear();
    g_System.bPauseHidesObjects = 1;
    DrawPlayScreen(1, 0, 1, 1);
    EXPECT_FALSE(DrawnOf("player").empty()) << "only outside play";
}

TEST_F(FieldOrder, ObjectsGoByDrawingLayerAndLayersOutsideZeroToSevenAreNeverDrawn)
{
    g_Stage.bZOrder = 1;
    player().m_Def.nZ = 2;
    const int a = AddNpc(5).m_ObjNo;
    const int b = AddNpc(0).m_ObjNo;
    AddNpc(9);
    const int item = AddItem().m_ObjNo;
    const int shot = AddShot(3).m_ObjNo;
    AddShot(8);
    const int low = AddShot(0).m_ObjNo;
    DrawPlayScreen(1, 0, 0, 0);
    std::vector<std::string> objects;
    for (const std::string& line : Drawn())
        for (const char* kind : {"player ", "chara ", "item ", "shot "})
            if (line.rfind(kind, 0) == 0) objects.push_back(line);
    auto name = [](const char* kind, int n) { return std::string(kind) + " " + std::to_string(n); };
    EXPECT_EQ(objects, (std::vector<std::string>{
                           name("chara", b), name("shot", low), name("player", player().m_ObjNo),
                           name("item", item), name("shot", shot), name("chara", a)}));
}

TEST_F(FieldOrder, WithoutLayersTheObjectsGoByKindInListOrder)
{
    g_Stage.bZOrder = 0;
    const int a = AddNpc(5).m_ObjNo;
    const int b = AddNpc(9).m_ObjNo;
    const int shot = AddShot(8).m_ObjNo;
    const int item = AddItem().m_ObjNo;
    DrawPlayScreen(1, 0, 0, 0);
    std::vector<std::string> objects;
    for (const std::string& line : Drawn())
        for (const char* kind : {"player ", "chara ", "item ", "shot "})
            if (line.rfind(kind, 0) == 0) objects.push_back(line);
    EXPECT_EQ(objects, (std::vector<std::string>{
                           "player " + std::to_string(player().m_ObjNo),
                           "item " + std::to_string(item), "chara " + std::to_string(a),
                           "chara " + std::to_string(b), "shot " + std::to_string(shot)}));
}

TEST_F(FieldOrder, ACarriedOrOffScreenItemIsNotDrawn)
{
    cItemObj& carried = AddItem();
    carried.m_Carried = 1;
    AddItem().m_OnScreen = 0;
    const int shown = AddItem().m_ObjNo;
    DrawItems(0, 0, 0);
    EXPECT_EQ(DrawnOf("item"), std::vector<std::string>{"item " + std::to_string(shown)});
}

TEST_F(FieldOrder, AComputerCharacterWhoseDeathWasShownLeavesTheStage)
{
    cNpcObj& dying = AddNpc(3);
    dying.m_Dying = 1; // no death effect: its display ends at once
    const int number = dying.m_ObjNo;
    const int other = AddNpc(3).m_ObjNo;
    DrawPlayScreen(1, 0, 0, 0);
    EXPECT_EQ(stage->FindCharaByNumber(number), nullptr);
    ASSERT_EQ(stage->m_CharaList.size(), 1u);
    EXPECT_EQ(stage->m_CharaList.front().m_ObjNo, other);
}

TEST_F(FieldOrder, TheHintLineNamesTheWayOutOfADirectStartOrATestPlay)
{
    struct Case {
        int directStart, startedByTool;
        std::vector<std::string> hint;
    };
    for (const Case& c : {Case{1, 1, {"hint 26"}}, Case{0, 1, {"hint 25"}}, Case{0, 0, {}}}) {
        stage->m_DirectStart = c.directStart;
        g_StartedByTool = c.startedByTool;
        trace.Clear();
        DrawTestText();
        EXPECT_EQ(DrawnOf("hint"), c.hint);
    }
    g_StartedByTool = 0;
}

TEST_F(FieldOrder, PicturesAreDrawnOnTheirOwnSideInListOrder)
{
    for (int k = 0; k < 4; ++k) {
        cPictureObj& picture =
            stage->m_PictureList.emplace_back(10 + k, 0, 0, 8, 8, k % 2, 100, 0, 0, 0);
        picture.m_Picture = 10 + k;
        picture.m_Layer = k % 2;
        g_PictureSurfaces.emplace_back();
        g_PictureBmpList.push_back("p");
    }
    trace.Clear();
    DrawPictures(&BackBuffer, 1, 1);
    EXPECT_EQ(DrawnOf("picture"), (std::vector<std::string>{"picture 11", "picture 13"}));
    // Ended pictures leave all three lists together.
    EXPECT_EQ(g_PictureSurfaces.size(), stage->m_PictureList.size());
    EXPECT_EQ(g_PictureBmpList.size(), stage->m_PictureList.size());
    EXPECT_GE(stage->m_PictureList.size(), 2u);
    stage->m_PictureList.clear();
    g_PictureSurfaces.clear();
    g_PictureBmpList.clear();
}

// The end of the player's death display restarts the stage in the middle
// of the object pass: the pass ends there, nothing of the old lists is
// drawn after it, and the rest of the frame goes on.
TEST_F(FieldOrder, ARestartFromThePlayersDeathEndsThatFramesObjectPass)
{
    g_Stage.bZOrder = 1;
    g_Progress.nLives = kUnlimitedLives;
    stage->m_PlayKind = 2; // free play: a retry at once
    player().m_Def.nZ = 1;
    AddNpc(0);
    AddNpc(4);
    AddItem();
    AddShot(6);
    player().m_Dying = 1;
    player().m_DeathCounter = stage->m_FrameRate;
    const int setUps = stage->m_SetStageCount;
    DrawPlayScreen(1, 0, 0, 0);
    EXPECT_EQ(stage->m_SetStageCount, setUps + 1);
    EXPECT_EQ(stage->m_AskedPhase, PHASE_START);
    const std::vector<std::string> drawn = Drawn();
    const auto restart = std::find_if(drawn.begin(), drawn.end(), [](const std::string& line) {
        return line.rfind("restart ", 0) == 0;
    });
    ASSERT_NE(restart, drawn.end());
    for (auto it = restart + 1; it != drawn.end(); ++it)
        for (const char* kind : {"player ", "chara ", "item ", "shot "})
            EXPECT_NE(it->rfind(kind, 0), 0u) << *it;
    EXPECT_FALSE(DrawnOf("screen-effect").empty()) << "the frame went on";
}

// --- block cells

class FieldBlocks : public FieldTest {
protected:
    void SetUp() override
    {
        FieldTest::SetUp();
        SetUpField(kTexture32, 64, 48);
        stage->m_ScrollX.m_Pos = 320;
        stage->m_ScrollY.m_Pos = 320;
    }
    // A cell of the author's stage (column, row from its top-left).
    BlockCell& Cell(int column, int row) { return stage->CellAt(column + 10, row + 10); }
    std::string CellLine(int column, int row)
    {
        return "cell " + std::to_string(stage->CellIndex(&Cell(column, row)));
    }
    void Place(int column, int row)
    {
        BlockCell& cell = Cell(column, row);
        cell.nGraphicNo = 1;
        cell.nLayer = 0;
        cell.bHidden = 0;
    }
    // A condition on stage variable S3 = 1.
    void NeedS3(BlockCell& cell, int latch)
    {
        cEdCond cond;
        cond.m_Kind = 2;
        cond.m_Index = 3;
        cond.m_Value = 1;
        cond.m_Op = 0;
        cell.Conds = std::make_shared<std::vector<cEdCond>>(std::vector<cEdCond>{cond});
        cell.bCondLatch = static_cast<std::int8_t>(latch);
    }
    std::vector<std::string> Cells(int front, int frozen)
    {
        trace.Clear();
        DrawBlockMap(&BackBuffer, front, frozen);
        return DrawnOf("cell");
    }
};

TEST_F(FieldBlocks, ACellIsDrawnOnlyOnItsSideWithItsConditionsHoldingAndNotHidden)
{
    Place(0, 0);
    Place(1, 0);
    Cell(1, 0).nLayer = 1;
    Place(2, 0);
    Cell(2, 0).bHidden = 1;
    Place(3, 0);
    NeedS3(Cell(3, 0), 0);
    EXPECT_EQ(Cells(0, 0), std::vector<std::string>{CellLine(0, 0)});
    EXPECT_EQ(Cells(1, 0), std::vector<std::string>{CellLine(1, 0)});
    stage->m_StageVars[3] = 1;
    EXPECT_EQ(Cells(0, 0), (std::vector<std::string>{CellLine(0, 0), CellLine(3, 0)}));
}

TEST_F(FieldBlocks, TheVisitedCellsAreTwentyOneByTwentyFromTheViewsCell)
{
    for (int c = 0; c < 30; ++c)
        for (int r = 0; r < 20; ++r)
            Place(c, r);
    stage->m_ScrollX.m_Pos = 320 + 32 * 2 + 5.9;
    stage->m_ScrollY.m_Pos = 320 + 32 * 1 + 31;
    const std::vector<std::string> drawn = Cells(0, 0);
    EXPECT_EQ(drawn.size(), 21u * 16u);
    EXPECT_EQ(drawn.front(), CellLine(2, 1));
    EXPECT_EQ(drawn.back(), CellLine(22, 16));
}

TEST_F(FieldBlocks, FrozenFramesAnswerFromTheLastPlayFrameAndChangeNothing)
{
    Place(0, 0);
    NeedS3(Cell(0, 0), 1);
    EXPECT_TRUE(Cells(0, 0).empty());
    stage->m_StageVars[3] = 1;
    SeedRandom(77);
    // The play frame said no: frozen frames keep saying no.
    EXPECT_TRUE(Cells(0, 1).empty());
    EXPECT_TRUE(Cells(0, 1).empty());
    EXPECT_EQ(Cell(0, 0).m_Latch, 0) << "a frozen frame sets no latch";
    EXPECT_EQ(RandomState(), 77u);
    // The next play frame tests again and latches.
    EXPECT_EQ(Cells(0, 0).size(), 1u);
    EXPECT_EQ(Cell(0, 0).m_Latch, 1);
    stage->m_StageVars[3] = 0;
    EXPECT_EQ(Cells(0, 1).size(), 1u);
}

TEST_F(FieldBlocks, AFrozenFrameWithoutAPlayFrameTestsWithoutSideEffects)
{
    Place(0, 0);
    NeedS3(Cell(0, 0), 1);
    stage->m_StageVars[3] = 1;
    SeedRandom(5);
    EXPECT_EQ(Cells(0, 1).size(), 1u);
    EXPECT_EQ(Cell(0, 0).m_Latch, 0);
    EXPECT_EQ(RandomState(), 5u);
}

// --- pixels in both back ends

class FieldPixels : public FieldTest, public testing::WithParamInterface<Mode> {
protected:
    void SetUp() override
    {
        FieldTest::SetUp();
        SetUpField(GetParam(), 640, 64);
        DDClearPal(&BackBuffer, 1);
    }
    cEdLayer Layer(int front)
    {
        cEdLayer layer;
        layer.SetDefaults();
        layer.nFront = front;
        return layer;
    }
};

TEST_P(FieldPixels, WithNoShownLayerTheBackIsFilledEvenWhenAFrontLayerIsShown)
{
    cEdLayer hidden = Layer(0);
    hidden.bShow = 0;
    cEdLayer front = Layer(1);
    front.bFill = 1;
    front.nFillColor = 5;
    g_Stage.Layers = {hidden, front};
    DrawLayers(&BackBuffer, 0);
    EXPECT_EQ(At(0, 0), 16);
    EXPECT_EQ(At(639, 63), 16);
    DrawLayers(&BackBuffer, 1);
    EXPECT_EQ(At(7, 9), 5);
}

struct TileCase {
    const char* name;
    int autoX, autoY;
    double factorX, factorY, offsetX, offsetY;
    double viewX, viewY;
    int cellX, cellY; // the picture cell at screen (0, 0)
};

const std::vector<TileCase> kTiles = {
    // (trunc(330.6 + 0.5) - 320) x 1 = 11 -> 11 mod 5 = 1; (trunc(322.9) - 320) x 1 = 2.
    {"FollowTheViewRoundedAcrossAndTruncatedDown", 0, 0, 1, 1, 0, 0, 330.6, 322.9, 1, 2},
    // trunc(-7 x 0.5) = -3 -> 2; trunc(-2 x 0.5) = -1 -> 2.
    {"ANegativeSourceWrapsIntoThePicture", 0, 0, 0.5, 0.5, 0, 0, 313, 318, 2, 2},
    // trunc(2.7 + 321.5 - 320) = 4; trunc(1.2 + 320 - 320) = 1.
    {"AutoScrollAddsTheOffsetToTheView", 1, 1, 3, 3, 2.7, 1.2, 321.5, 320, 4, 1},
};

TEST_P(FieldPixels, ALayerIsTiledFromItsSourceCell)
{
    // A 5 x 3 picture of distinct colours.
    Grid picture(3, std::vector<int>(5));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            picture[y][x] = 20 + 5 * y + x;
    Slot(55, picture, 0);
    for (const TileCase& c : kTiles) {
        SCOPED_TRACE(c.name);
        cEdLayer layer = Layer(0);
        layer.bAutoX = c.autoX;
        layer.bAutoY = c.autoY;
        layer.dFactorX = c.factorX;
        layer.dFactorY = c.factorY;
        layer.dOffsetX = c.offsetX;
        layer.dOffsetY = c.offsetY;
        g_Stage.Layers = {layer};
        stage->m_ScrollX.m_Pos = c.viewX;
        stage->m_ScrollY.m_Pos = c.viewY;
        DDClearPal(&BackBuffer, 1);
        DrawLayers(&BackBuffer, 0);
        for (int y : {0, 1, 2, 3, 7, 47, 63})
            for (int x : {0, 1, 4, 5, 13, 320, 639})
                ASSERT_EQ(At(x, y), picture[(y + c.cellY) % 3][(x + c.cellX) % 5]) << x << "," << y;
    }
}

// Pictures one pixel wide or high are drawn by stretched rows or columns:
// the pixels must be those of the tiles, transparent ones included.
TEST_P(FieldPixels, ThinPicturesTileToTheSamePixels)
{
    SlotFilled(55, 3, 3, 9);
    const std::vector<Grid> pictures = {{{12}}, {{0}}, {{12}, {0}, {13}}, {{12, 0, 13, 14, 0}}};
    for (const Grid& picture : pictures) {
        SCOPED_TRACE(picture.size() * 10 + picture[0].size());
        DDReleaseSurface(&g_BitmapSD[56]);
        Slot(56, picture);
        cEdLayer thin = Layer(0);
        thin.dFactorX = 1;
        thin.dFactorY = 1;
        g_Stage.Layers = {Layer(0), thin};
        stage->m_ScrollX.m_Pos = 322;
        stage->m_ScrollY.m_Pos = 321;
        DrawLayers(&BackBuffer, 0);
        const int h = static_cast<int>(picture.size());
        const int w = static_cast<int>(picture[0].size());
        for (int y : {0, 1, 2, 5, 40, 63})
            for (int x : {0, 1, 2, 3, 4, 5, 6, 200, 639}) {
                const int v = picture[(y + 1) % h][(x + 2) % w];
                ASSERT_EQ(At(x, y), v == 0 ? 9 : v) << x << "," << y;
            }
    }
}

TEST_P(FieldPixels, LayersAfterTheFirstKeepTheirTransparentPixels)
{
    SlotFilled(55, 4, 4, 9);
    Slot(56, Grid{{0, 12}, {12, 0}});
    g_Stage.Layers = {Layer(0), Layer(0)};
    stage->m_ScrollX.m_Pos = 320;
    stage->m_ScrollY.m_Pos = 320;
    DrawLayers(&BackBuffer, 0);
    EXPECT_EQ(At(0, 0), 9);
    EXPECT_EQ(At(1, 0), 12);
    EXPECT_EQ(At(2, 2), 9);
    EXPECT_EQ(At(3, 2), 12);
}

// A ninth layer would be drawn from bitmap 63, a shot sheet: it has no
// picture. A ninth fill layer still fills.
TEST_P(FieldPixels, LayersBeyondTheEighthHaveNoPicture)
{
    SlotFilled(63, 8, 8, 30);
    SlotFilled(55, 8, 8, 9);
    std::vector<cEdLayer> layers(9, Layer(0));
    for (int i = 1; i < 8; ++i)
        layers[i].bShow = 0;
    g_Stage.Layers = layers;
    DrawLayers(&BackBuffer, 0);
    EXPECT_EQ(At(3, 3), 9);
    g_Stage.Layers[8].bFill = 1;
    g_Stage.Layers[8].nFillColor = 7;
    DrawLayers(&BackBuffer, 0);
    EXPECT_EQ(At(3, 3), 7);
}

// The status bar's accessories: the gauge frame at row 128 (colour 3), its
// long fill at 144 (4), its short fill at 160 (5), the HP icon (6).
void Accessories()
{
    Grid sheet(176, std::vector<int>(128, 0));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 50; ++x) {
            sheet[128 + y][x] = 3;
            sheet[144 + y][x] = 4;
            sheet[160 + y][x] = 5;
        }
    for (int y = 32; y < 48; ++y)
        for (int x = 32; x < 48; ++x)
            sheet[y][x] = 6;
    DDSURFACEDATA& sd = g_BitmapSD[49];
    ASSERT_TRUE(DDCreateSurface(&sd, 128, 176, 1, 1, 0, 0, 0));
    gfxtest::Paint(&sd, sheet);
}

TEST(StatusBar, ShownItemsShareTheFreeWidthEvenly)
{
    EXPECT_EQ(StatusItemPositions({100, 66, 80}), (std::vector<int>{98, 296, 460}));
    EXPECT_EQ(StatusItemPositions({66}), std::vector<int>{286});
}

TEST_P(FieldPixels, TheHpGaugeIsFilledFromItsLongRowAbove16Pixels)
{
    SlotFilled(46, 640, 20, 2);
    Accessories();
    cEdStatusItem& hp = g_System.vStatusItem[2];
    hp.bShow = 1;
    hp.bIcon = 1;
    hp.bGaugeNumber = 0;
    player().m_Def.nMaxHP = 50;
    // One item of 16 + 50: x = (638 - 66) / 2 = 286, the gauge at 302.
    struct Case {
        int hp, fillRow;
    };
    for (const Case c : {Case{17, 4}, Case{16, 5}}) {
        SCOPED_TRACE(c.hp);
        player().m_Hp = c.hp;
        DrawStatusBar(&BackBuffer);
        EXPECT_EQ(At(285, 5), 2) << "the bar";
        EXPECT_EQ(At(286, 5), 6) << "the icon";
        EXPECT_EQ(At(302, 5), c.fillRow);
        EXPECT_EQ(At(302 + c.hp - 1, 18), c.fillRow);
        EXPECT_EQ(At(302 + c.hp, 5), 3) << "the frame beyond the fill";
    }
    // A label of two double-byte characters instead of the icon: 32 + 50,
    // x = (638 - 82) / 2 = 278, the gauge at 310.
    hp.bIcon = 0;
    hp.strLabel = Sjis("ＨＰ");
    DDClearPal(&BackBuffer, 1);
    DrawStatusBar(&BackBuffer);
    EXPECT_EQ(At(309, 5), 2);
    EXPECT_EQ(At(310, 5), 5);
    g_Stage.bShowStatus = 0;
    DDClearPal(&BackBuffer, 1);
    DrawStatusBar(&BackBuffer);
    EXPECT_EQ(At(286, 5), 1) << "nothing with the stage's status display off";
}

TEST_P(FieldPixels, TheTimeIsCentredInThreeDigitsAndWarnsOnlyInPlay)
{
    // Digit d of the strip in colour 40 + d.
    Grid strip(192, std::vector<int>(320, 0));
    for (int d = 0; d < 10; ++d)
        for (int y = 160; y < 192; ++y)
            for (int x = 32 * d; x < 32 * d + 32; ++x)
                strip[y][x] = 40 + d;
    Slot(51, strip);
    stage->m_NoTimeLimit = 0;
    g_Stage.nTimeWarning = 20;
    stage->m_TimeLeft = 7;
    CountEvery(0, 0);
    DrawTime(&BackBuffer, 0);
    EXPECT_EQ(At(303, 30), 1);
    EXPECT_EQ(At(304, 30), 47) << "one digit moved right by two halves of 32";
    EXPECT_TRUE(services.m_Sounds.empty()) << "no warning outside play";
    DrawTime(&BackBuffer, 1);
    EXPECT_EQ(services.m_Sounds, std::vector<std::uint32_t>{13});
    CountEvery(1, 60);
    DrawTime(&BackBuffer, 1);
    EXPECT_EQ(services.m_Sounds.size(), 1u) << "only when the second's counter stands at 0";
    CountEvery(0, 0);
    for (int left : {0, 21}) {
        stage->m_TimeLeft = left;
        DrawTime(&BackBuffer, 1);
    }
    EXPECT_EQ(services.m_Sounds.size(), 1u);
    stage->m_TimeLeft = 1234;
    DrawTime(&BackBuffer, 0);
    EXPECT_EQ(At(272, 30), 41) << "more digits start at 272";
    stage->m_NoTimeLimit = 1;
    DDClearPal(&BackBuffer, 1);
    DrawTime(&BackBuffer, 1);
    EXPECT_EQ(At(304, 30), 1);
}

INSTANTIATE_TEST_SUITE_P(BothBackEnds, FieldPixels,
                         testing::Values(kTexture32, kSurface32, kSurface8), gfxtest::ModeName);

// --- the tint

cEdCommand Tint(int r, int g, int b, int strength, int backToNormal, int tenths, int backAndForth,
                int repeats)
{
    cEdCommand command;
    command.Clear();
    command.m_Params = {r, g, b, strength, backToNormal, tenths, backAndForth, repeats};
    return command;
}

class FieldTint : public FieldTest, public testing::WithParamInterface<Mode> {
protected:
    void SetUp() override
    {
        FieldTest::SetUp();
        SetUpField(GetParam(), 8, 8);
        stage->m_Tint.Reset();
    }
    // The alphas of n frames (frozen or not).
    std::vector<int> Frames(int n, int frozen = 0)
    {
        trace.Clear();
        for (int i = 0; i < n; ++i)
            DrawTint(frozen);
        std::vector<int> alphas;
        for (const std::string& line : DrawnOf("tint"))
            alphas.push_back(std::stoi(line.substr(5)));
        return alphas;
    }
};

using TextureTint = FieldTint;

TEST_P(TextureTint, TowardAColourThenBackToNormal)
{
    StartTint(Tint(255, 0, 0, 100, 0, 1, 0, 0)); // six frames
    EXPECT_EQ(Frames(8), (std::vector<int>{255, 212, 170, 127, 85, 42, 0, 0}));
    EXPECT_EQ(Frames(2, 1), (std::vector<int>{0, 0})) << "frozen: drawn, not advanced";
    EXPECT_EQ(stage->m_Tint.m_Running, 1) << "it stays at full strength";
    StartTint(Tint(0, 0, 0, 0, 1, 1, 0, 0));
    EXPECT_EQ(Frames(8), (std::vector<int>{0, 42, 85, 127, 170, 212, 255}));
    EXPECT_EQ(stage->m_Tint.m_Running, 0);
}

TEST_P(TextureTint, BackAndForthRepeatsThenStops)
{
    StartTint(Tint(0, 0, 255, 50, 0, 1, 1, 2));
    // 255 - t / 6 x 50 x 2.55; at t = 6 alpha 255 and the next round.
    const std::vector<int> round = {255, 233, 212, 191, 170, 148, 255};
    std::vector<int> two = round;
    two.insert(two.end(), round.begin(), round.end());
    EXPECT_EQ(Frames(20), two);
    EXPECT_EQ(stage->m_Tint.m_Running, 0);
}

TEST_P(TextureTint, BackToNormalWithoutATintDoesNothingAndStrengthZeroStops)
{
    StartTint(Tint(9, 9, 9, 80, 1, 1, 0, 0));
    EXPECT_EQ(stage->m_Tint.m_Running, 0);
    EXPECT_TRUE(Frames(3).empty());
    StartTint(Tint(9, 9, 9, 0, 0, 1, 0, 0));
    EXPECT_TRUE(Frames(1).empty());
    EXPECT_EQ(stage->m_Tint.m_Running, 0);
}

TEST_P(TextureTint, TheFrameIsBlendedTowardTheColour)
{
    DDClearPal(&BackBuffer, 1);
    StartTint(Tint(0, 0, 0, 100, 0, 0, 0, 0)); // at once, full strength
    Frames(1);
    const std::uint32_t argb =
        DDToARGB(BackBuffer.pixels()->format, BackBuffer.pixels()->get(3, 3));
    EXPECT_EQ(argb & 0xFFFFFF, 0u);
}

INSTANTIATE_TEST_SUITE_P(Texture, TextureTint, testing::Values(kTexture32), gfxtest::ModeName);

using SurfaceTint = FieldTint;

TEST_P(SurfaceTint, SurfaceDisplaysOfSixteenAndThirtyTwoBitsStopATintAtOnce)
{
    StartTint(Tint(255, 0, 0, 100, 0, 1, 0, 0));
    EXPECT_TRUE(Frames(1).empty());
    EXPECT_EQ(stage->m_Tint.m_Running, 0);
}

INSTANTIATE_TEST_SUITE_P(Surface, SurfaceTint, testing::Values(kSurface32), gfxtest::ModeName);

using PaletteTint = FieldTint;

TEST_P(PaletteTint, EightBitTintsTheScreenPaletteAndFrozenFramesWait)
{
    StartTint(Tint(0, 0, 0, 100, 0, 1, 0, 0));
    EXPECT_TRUE(Frames(2, 1).empty()) << "nothing while frozen";
    EXPECT_EQ(Frames(8), (std::vector<int>{255, 212, 170, 127, 85, 42, 0}));
    EXPECT_EQ(stage->m_Tint.m_Running, 0) << "the palette keeps its last state";
    EXPECT_EQ(g_ScreenPalette[40].red, 0);
    EXPECT_NE(g_Palette[40].red, 0);
    // A back-to-normal tint follows the 8-bit tinted flag.
    StartTint(Tint(0, 0, 0, 0, 1, 0, 0, 0));
    EXPECT_EQ(Frames(1), std::vector<int>{255});
    ResetScreenPalette();
    EXPECT_EQ(g_ScreenPalette[40].red, g_Palette[40].red);
}

INSTANTIATE_TEST_SUITE_P(Palette, PaletteTint, testing::Values(kSurface8), gfxtest::ModeName);

// --- highlight colours

TEST(HighlightColours, PingPongTurnsAtBothEnds)
{
    int value = 0, direction = 0;
    std::vector<int> values;
    std::vector<int> turns;
    for (int i = 0; i < 34; ++i) {
        turns.push_back(PingPong(value, direction, 16, 0, 255));
        values.push_back(value);
    }
    EXPECT_EQ(values[14], 240);
    EXPECT_EQ(values[15], 240) << "stays on the turning call";
    EXPECT_EQ(values[16], 224);
    EXPECT_EQ(values[29], 16);
    EXPECT_EQ(values[30], 16);
    EXPECT_EQ(turns[30], 1);
    EXPECT_EQ(std::count(turns.begin(), turns.end(), 1), 1);
}

class HighlightDisplay : public FieldTest, public testing::WithParamInterface<Mode> {
protected:
    void SetUp() override
    {
        FieldTest::SetUp();
        SetUpField(GetParam(), 8, 8);
    }
};

using TextureHighlights = HighlightDisplay;

TEST_P(TextureHighlights, EntriesPulseTogetherAndTheLastChangesHueAtTheBottom)
{
    struct Seen {
        std::uint32_t colour1, colour2, colour3, colour9;
        int mode1, mode2;
    };
    std::vector<Seen> seen;
    for (int i = 0; i < 70; ++i) {
        CycleColors();
        seen.push_back({g_CycleColors[1].m_Colour, g_CycleColors[2].m_Colour,
                        g_CycleColors[3].m_Colour, g_CycleColors[9].m_Colour,
                        g_CycleColors[1].m_Mode, g_CycleColors[2].m_Mode});
    }
    int hueChanges = 0;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        const std::uint32_t v = seen[i].colour1 & 0xFF;
        EXPECT_EQ(seen[i].colour1, 0xFF000000u | v << 16 | v << 8 | v);
        EXPECT_EQ(seen[i].colour2, seen[i].colour1);
        EXPECT_EQ(seen[i].colour3, 0xFF000000u | v << 16);
        EXPECT_EQ(seen[i].mode1, 7);
        EXPECT_EQ(seen[i].mode2, 10);
        if (i == 0) continue;
        // Entry 9 keeps its level across a change of hue.
        const std::uint32_t before = seen[i - 1].colour9, after = seen[i].colour9;
        const auto level = [](std::uint32_t c) {
            return std::max({(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF});
        };
        if (before != after && level(before) == level(after)) {
            ++hueChanges;
            EXPECT_EQ(level(before), 16u) << "the hue changes only at the bottom";
        }
    }
    EXPECT_GE(hueChanges, 2);
}

INSTANTIATE_TEST_SUITE_P(Texture, TextureHighlights, testing::Values(kTexture32),
                         gfxtest::ModeName);

using PaletteHighlights = HighlightDisplay;

TEST_P(PaletteHighlights, EightBitGroupsOfFourStepOnceEverySixCalls)
{
    g_System.bColourCycle = 1;
    int calls = 0;
    while (g_ScreenPalette[208].red == g_Palette[208].red && calls < 6) {
        CycleColors();
        ++calls;
    }
    ASSERT_LE(calls, 6);
    const auto after = g_ScreenPalette;
    EXPECT_EQ(after[208].red, g_Palette[209].red);
    EXPECT_EQ(after[211].red, g_Palette[208].red);
    EXPECT_EQ(after[236].red, g_Palette[237].red);
    EXPECT_EQ(after[207].red, g_Palette[207].red);
    EXPECT_EQ(after[240].red, g_Palette[240].red);
    for (int i = 0; i < 5; ++i)
        CycleColors();
    EXPECT_EQ(g_ScreenPalette[208].red, after[208].red);
    CycleColors();
    EXPECT_EQ(g_ScreenPalette[208].red, after[209].red);
    // Without the system's switch nothing turns.
    g_System.bColourCycle = 0;
    const auto still = g_ScreenPalette;
    for (int i = 0; i < 12; ++i)
        CycleColors();
    EXPECT_EQ(g_ScreenPalette[208].red, still[208].red);
}

INSTANTIATE_TEST_SUITE_P(Palette, PaletteHighlights, testing::Values(kSurface8), gfxtest::ModeName);

} // namespace
