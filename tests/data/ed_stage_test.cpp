// The stage record: its file layout per version, the upgrades of older
// files, the repair step, the derived speed values, the hero, the copies
// kept of a stage, and the refusal of damaged files.

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "data/ed_stage.h"
#include "data/load_checks.h"
#include "file_bytes.h"
#include "record_fields.h"
#include "stage_fixtures.h"

namespace {

using test::Field;
using test::FileBytes;
using test::Hero;

#define I4(m, from) RECORD_FIELD(cEdStage, m, 4, from, -1)
#define D8(m, from) RECORD_FIELD(cEdStage, m, 8, from, -1)

const std::vector<Field<cEdStage>> kStageFields = {
    I4(nWidth, 0),
    I4(nSpare1, 0),
    I4(nSpare2, 0),
    I4(nHeight, 0),
    I4(bLimitLeft, 0),
    I4(bLimitRight, 0),
    I4(bLimitTop, 0),
    I4(bLimitBottom, 0),
    I4(nLimitLeft, 0),
    I4(nLimitRight, 0),
    I4(nLimitTop, 0),
    I4(nLimitBottom, 0),
    I4(nFrameRate, 0),
    I4(bTimeLimit, 0),
    I4(nTimeLimit, 0),
    I4(nTimeWarning, 0),
    I4(bAutoScrollX, 0),
    I4(bAutoScrollY, 0),
    I4(nAutoScrollX, 0),
    I4(nAutoScrollY, 0),
    D8(dGravity, 0),
    I4(nSpeedLevel, 0),
    I4(nHitLevel, 0),
    I4(nBgm, 0),
    I4(bBgmLoop, 166),
    I4(bKeepBgm, 199),
    I4(bZOrder, 0),
    I4(bCarryStatus, 0),
    I4(bStoreStatus, 0),
    I4(bShowStatus, 183),
    I4(bAutoAdvance, 184),
    I4(bShowStageNo, 0),
    I4(bShowStartSign, 225),
    I4(bShowClear, 0),
    I4(bShowGameOver, 0),
    I4(nPlayerBoxW, 200),
    I4(nPlayerBoxH, 200),
    I4(nPlayerFlyBoxW, 200),
    I4(nPlayerFlyBoxH, 200),
    I4(nPlayerHitW, 0),
    I4(nPlayerHitH, 0),
    I4(nPlayerFlyHitW, 155),
    I4(nPlayerFlyHitH, 155),
    I4(nPlayerShotHitW, 0),
    I4(nPlayerShotHitH, 0),
    I4(nPlayerPickW, 0),
    I4(nPlayerPickH, 0),
    I4(bPlayerBoxBottom, 200),
    I4(bPlayerFlyBoxBottom, 200),
    I4(bPlayerHitBottom, 155),
    I4(bPlayerFlyHitBottom, 155),
    I4(nShowBox, 200),
    I4(nShowHit, 0),
    I4(nShowShotHit, 0),
    I4(nShowPick, 0),
    I4(nColorBox, 200),
    I4(nColorHit, 0),
    I4(nColorShotHit, 0),
    I4(nColorPick, 0),
    I4(nCharaBoxW, 200),
    I4(nCharaBoxH, 200),
    I4(nCharaFlyBoxW, 200),
    I4(nCharaFlyBoxH, 200),
    I4(nCharaHitW, 0),
    I4(nCharaHitH, 0),
    I4(nCharaFlyHitW, 155),
    I4(nCharaFlyHitH, 155),
    I4(nCharaShotHitW, 0),
    I4(nCharaShotHitH, 0),
    I4(bCharaBoxBottom, 200),
    I4(bCharaFlyBoxBottom, 200),
    I4(bCharaHitBottom, 155),
    I4(bCharaFlyHitBottom, 155),
    I4(nItemBoxW, 0),
    I4(nItemBoxH, 0),
    I4(nPlayerShotW, 0),
    I4(nPlayerShotH, 0),
    I4(nPlayerShotBoxW, 0),
    I4(nPlayerShotBoxH, 0),
    I4(nCharaShotW, 0),
    I4(nCharaShotH, 0),
    I4(nCharaShotBoxW, 0),
    I4(nCharaShotBoxH, 0),
    I4(nSpare3, 0),
    I4(nOuterX, 0),
    I4(nOuterY, 0),
    I4(nSubSteps, 0),
    D8(dSubSteps, 0),
    D8(dSubSteps2, 0),
    D8(dSpeedLimit, 0),
    D8(dGravityStep, 0),
    D8(dMaxStep, 0),
    I4(nAirSteps, 0),
    I4(bHitOnScreenOnly, 0),
    I4(nPlayerAttackerGuard, 0),
    I4(nPlayerGuard, 0),
    I4(nCharaAttackerGuard, 0),
    I4(nCharaGuard, 0),
};

// Members that the repair step derives or bounds: not as stored.
const std::set<std::size_t> kCheckedFields = {8, 9, 10, 11, 86, 87, 88, 89, 90, 91, 92};

// A whole stage file whose member i holds i + 1, with empty lists.
FileBytes NumberedStageFile(int version)
{
    FileBytes b;
    b.i32(version);
    test::PutFields(b, kStageFields, version);
    b.i32(1).str("stage text");
    b.i32(0);
    for (int area = 0; area < 5; ++area) {
        b.i32(version >= 125 ? 8 : 5);
        for (int i = 0; i < (version >= 125 ? 8 : 5); ++i)
            b.i32(area * 10 + i);
        b.i32(0);
    }
    for (int list = 0; list < 8; ++list)
        b.i32(0);
    if (version >= 173) b.i32(STAGE_END_CODE);
    return b;
}

cEdCommand ShotCommand()
{
    cEdCommand command;
    command.m_Kind = 11;
    MakeShotPart(command.m_Shot);
    command.m_Shot->m_ItemPalette = 2;
    command.m_Shot->m_ItemIndex = 1;
    return command;
}

// A stage with something in every list: palette entries that inherit from
// each other and from the common palette, placed objects that inherit from
// the palette, flows with commands and parts, layers and texts.
cEdStage RichStage()
{
    cEdStage s;
    s.nWidth = 200;
    s.nHeight = 100;
    s.nLimitRight = 150;
    s.dGravity = 0.55;
    s.nSpeedLevel = 13;
    s.nBgm = 1;
    s.strStageText = "a stage";
    s.ResultFlags = {1, 0, 1, 1, 0, 1};
    s.Areas[2].Set(1, 0, 1, 0, 3, 4, 5, 6);

    s.PaletteBlocks.resize(3, NoneBlock());
    s.PaletteBlocks[1].nGraphicNo = 5;
    s.PaletteBlocks[1].nHitMode = 2;
    s.PaletteBlocks[1].strName = "wall";
    s.PaletteBlocks[2].nPaletteKind = 2;
    s.PaletteBlocks[2].nPaletteIndex = 1;
    s.PaletteBlocks[2].InheritFlags[6] = 1;
    s.PaletteBlocks[2].nGraphicNo = 6;
    s.PaletteBlocks[2].nItemKind = 2;
    s.PaletteBlocks[2].nItemIndex = 1;

    s.PaletteCharas.resize(3, NoneChara());
    s.PaletteCharas[1] = Hero();
    s.PaletteCharas[1].strName = "hero";
    s.PaletteCharas[1].nMaxHP = 30;
    cEdFlow flow;
    flow.m_Trigger = 7;
    flow.m_Commands = {ShotCommand()};
    flow.m_Conds.resize(1);
    s.PaletteCharas[1].Flows = {flow};
    s.PaletteCharas[2].nPaletteKind = 1;
    s.PaletteCharas[2].nPaletteIndex = 1;
    s.PaletteCharas[2].InheritFlags[23] = 1;

    s.PaletteItems.resize(2, NoneItem());
    s.PaletteItems[1].strName = "coin";
    s.PaletteItems[1].nGraphicNo = 3;
    s.PaletteItems[1].Commands.resize(1);
    s.PaletteItems[1].Commands[0].m_ListKind = 1;
    s.PaletteItems[1].Commands[0].m_Kind = 9;
    s.PaletteItems[1].Commands[0].m_Params = {1, 1};

    for (int x = 0; x < 20; ++x) {
        cEdBlock block = NoneBlock();
        block.nX = static_cast<std::int16_t>(x);
        block.nY = 10;
        block.nPaletteKind = 2;
        block.nPaletteIndex = static_cast<std::int16_t>(1 + x % 2);
        block.InheritFlags.assign(11, 1);
        s.PlacedBlocks.push_back(block);
    }
    cEdChara placed = Hero();
    placed.nX = 2;
    placed.nY = 9;
    placed.nPaletteKind = 2;
    placed.nPaletteIndex = 1;
    placed.InheritFlags[36] = 1;
    placed.InheritFlags[23] = 1;
    placed.nCarriedItem = 0;
    s.PlacedCharas = {placed};
    cEdItem item = NoneItem();
    item.nX = 4;
    item.nY = 8;
    item.nPaletteKind = 2;
    item.nPaletteIndex = 1;
    item.InheritFlags[12] = 1;
    s.PlacedItems = {item};

    s.Layers.resize(2);
    s.Layers[1].SetDefaults();
    s.Layers[1].strPicture = "bg.bmp";
    s.Layers[1].dFactorX = 0.25;
    s.TextItems.resize(1);
    s.TextItems[0].strText = "note";
    return s;
}

std::vector<std::uint8_t> SaveStage(cEdStage& stage)
{
    return SaveToBytes(stage);
}

class Stages : public test::StageRecordsTest {};

TEST_F(Stages, MembersLieInFileOrderForEveryVersion)
{
    g_Database.Bgm.resize(1000);
    for (int version : {100, 154, 155, 165, 166, 182, 183, 184, 198, 199, 200, 224, 225, 511}) {
        SCOPED_TRACE(version);
        cEdStage stage;
        ASSERT_EQ(test::LoadStageBytes(stage, NumberedStageFile(version).bytes()), 1);
        for (std::size_t i = 0; i < kStageFields.size(); ++i) {
            if (kStageFields[i].from > version || kCheckedFields.count(i)) continue;
            EXPECT_EQ(kStageFields[i].get(stage), double(i + 1)) << "stage member " << i;
        }
        EXPECT_EQ(stage.strStageText, "stage text");
        EXPECT_EQ(stage.Areas[4].nBottom, version >= 125 ? 47 : 44);
        EXPECT_EQ(stage.Areas[0].bLeft, 0);
    }
    // The current layout reads back to the same bytes, once the repair step
    // has put the bounded and derived members right.
    cEdStage stage;
    ASSERT_EQ(test::LoadStageBytes(stage, NumberedStageFile(kDataVersion).bytes()), 1);
    const auto bytes = SaveStage(stage);
    cEdStage again;
    ASSERT_EQ(test::LoadStageBytes(again, bytes), 1);
    EXPECT_EQ(SaveStage(again), bytes);
}

TEST_F(Stages, SavedStagesLoadToTheSameBytes)
{
    g_CommonPalette.PaletteCharas.resize(2);
    g_CommonPalette.PaletteCharas[1].nMaxHP = 55;
    cEdStage stage = RichStage();
    cEdStage loaded;
    ASSERT_EQ(test::LoadStageBytes(loaded, SaveStage(stage)), 1);
    const auto bytes = SaveStage(loaded);
    cEdStage again;
    ASSERT_EQ(test::LoadStageBytes(again, bytes), 1);
    EXPECT_EQ(SaveStage(again), bytes);

    // What the inheritance and the checks gave it.
    EXPECT_EQ(loaded.PaletteBlocks[2].nHitMode, 2);
    EXPECT_EQ(loaded.PaletteCharas[2].nMaxHP, 55);
    ASSERT_EQ(loaded.PlacedBlocks.size(), 20u);
    EXPECT_EQ(loaded.PlacedBlocks[1].nGraphicNo, 6);
    EXPECT_EQ(loaded.PlacedBlocks[1].nItemKind, 2);
    EXPECT_EQ(loaded.PlacedBlocks[0].strName, "wall");
    ASSERT_EQ(loaded.PlacedCharas.size(), 1u);
    EXPECT_EQ(loaded.PlacedCharas[0].nMaxHP, 30);
    ASSERT_EQ(loaded.PlacedCharas[0].Flows.size(), 1u);
    EXPECT_EQ(loaded.PlacedCharas[0].Flows[0].m_Commands[0].m_Shot->m_ItemPalette, 2);
    EXPECT_EQ(loaded.PlacedItems[0].Commands.size(), 1u);
    EXPECT_EQ(loaded.Layers[1].strPicture, "bg.bmp");
    EXPECT_EQ(loaded.TextItems[0].strText, "note");
    EXPECT_EQ(loaded.ResultFlags, (std::vector<std::int32_t>{1, 0, 1, 1, 0, 1}));
    EXPECT_EQ(loaded.Areas[2].nBottom, 6);
    EXPECT_EQ(loaded.nSubSteps, 3);
    EXPECT_EQ(loaded.FindHero(), 0);
}

TEST_F(Stages, NewStageHasItsDefaults)
{
    const cEdStage s;
    EXPECT_EQ(s.nFrameRate, 60);
    EXPECT_EQ(s.nTimeLimit, 200);
    EXPECT_EQ(s.nSpeedLevel, 10);
    EXPECT_EQ(s.dGravity, 0.4);
    EXPECT_EQ(s.nCharaBoxH, 24);
    EXPECT_EQ(s.nCharaShotHitW, 30);
    EXPECT_EQ(s.nItemBoxW, 28);
    EXPECT_EQ(s.nSpare3, 1);
    EXPECT_EQ(s.bShowStartSign, 1);
    EXPECT_EQ(s.nPlayerAttackerGuard, 30);
    EXPECT_EQ(s.nSubSteps, 0);
    EXPECT_EQ(s.ResultFlags, std::vector<std::int32_t>(5, 1));
    ASSERT_EQ(s.Layers.size(), 1u);
    EXPECT_EQ(s.Layers[0].bFill, 1);
    EXPECT_EQ(s.Layers[0].nFillColor, 16);
    EXPECT_EQ(s.Layers[0].dFactorX, 0.1);
    EXPECT_EQ(s.PaletteBlocks.size(), 1u);
    EXPECT_EQ(s.PaletteCharas.size(), 1u);
    EXPECT_EQ(s.PaletteItems.size(), 1u);
    EXPECT_EQ(s.Areas[0].bLeft, 0);
    EXPECT_EQ(s.Areas[3].bBottom, 1);
    EXPECT_EQ(s.Areas[3].nLeft, 0);
    EXPECT_EQ(s.Areas[4].nTop, 10);
}

TEST_F(Stages, OlderStagesAreUpgraded)
{
    cEdStage stage;
    stage.nPlayerHitW = 20;
    stage.nPlayerHitH = 21;
    stage.nCharaHitW = 22;
    stage.nCharaHitH = 23;
    stage.nPlayerFlyHitW = 5;
    stage.bPlayerHitBottom = 1;
    stage.bCharaFlyHitBottom = 1;
    stage.bBgmLoop = 0;
    stage.bShowStatus = 0;
    stage.bAutoAdvance = 1;
    stage.bKeepBgm = 1;
    stage.nPlayerBoxW = 40;
    stage.nCharaBoxH = 41;
    stage.nColorBox = 2;
    stage.bCharaFlyBoxBottom = 0;
    stage.bShowStartSign = 1;

    struct Case {
        int version;
        int flyHitW, flyHitH, charaFlyHitW, hitBottom, charaFlyHitBottom;
        int bgmLoop, showStatus, autoAdvance, keepBgm;
        int boxW, charaBoxH, colorBox, charaFlyBoxBottom, startSign;
    };
    const Case cases[] = {
        {154, 20, 21, 22, 0, 0, 1, 1, 0, 0, 16, 30, 5, 1, 0},
        {155, 5, 16, 12, 1, 1, 1, 1, 0, 0, 16, 30, 5, 1, 0},
        {166, 5, 16, 12, 1, 1, 0, 1, 0, 0, 16, 30, 5, 1, 0},
        {183, 5, 16, 12, 1, 1, 0, 0, 0, 0, 16, 30, 5, 1, 0},
        {184, 5, 16, 12, 1, 1, 0, 0, 1, 0, 16, 30, 5, 1, 0},
        {199, 5, 16, 12, 1, 1, 0, 0, 1, 1, 16, 30, 5, 1, 0},
        {200, 5, 16, 12, 1, 1, 0, 0, 1, 1, 40, 41, 2, 0, 0},
        {225, 5, 16, 12, 1, 1, 0, 0, 1, 1, 40, 41, 2, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        cEdStage loaded;
        ASSERT_EQ(test::LoadStageBytes(loaded, test::StageAtVersion(stage, c.version)), 1);
        EXPECT_EQ(loaded.nPlayerFlyHitW, c.flyHitW);
        EXPECT_EQ(loaded.nPlayerFlyHitH, c.flyHitH);
        EXPECT_EQ(loaded.nCharaFlyHitW, c.charaFlyHitW);
        EXPECT_EQ(loaded.bPlayerHitBottom, c.hitBottom);
        EXPECT_EQ(loaded.bCharaFlyHitBottom, c.charaFlyHitBottom);
        EXPECT_EQ(loaded.bBgmLoop, c.bgmLoop);
        EXPECT_EQ(loaded.bShowStatus, c.showStatus);
        EXPECT_EQ(loaded.bAutoAdvance, c.autoAdvance);
        EXPECT_EQ(loaded.bKeepBgm, c.keepBgm);
        EXPECT_EQ(loaded.nPlayerBoxW, c.boxW);
        EXPECT_EQ(loaded.nCharaBoxH, c.charaBoxH);
        EXPECT_EQ(loaded.nColorBox, c.colorBox);
        EXPECT_EQ(loaded.bCharaFlyBoxBottom, c.charaFlyBoxBottom);
        EXPECT_EQ(loaded.bShowStartSign, c.startSign);
    }
}

TEST_F(Stages, OlderResultRowsGetTheTwoNewRowsOff)
{
    struct Case {
        int version;
        std::vector<std::int32_t> stored, loaded;
    };
    const Case cases[] = {
        {180, {1, 1, 1}, {1, 1, 1, 0, 0}},
        {180, {1, 1, 1, 1, 1, 1, 1}, {1, 1, 1, 0, 0, 1, 1}},
        {181, {1, 1, 1}, {1, 1, 1}},
    };
    for (const Case& c : cases) {
        cEdStage stage;
        stage.ResultFlags = c.stored;
        cEdStage loaded;
        ASSERT_EQ(test::LoadStageBytes(loaded, test::StageAtVersion(stage, c.version)), 1);
        EXPECT_EQ(loaded.ResultFlags, c.loaded) << c.version << " " << c.stored.size();
    }
}

TEST_F(Stages, EndCodeIsPresentFromVersion173)
{
    cEdStage stage = RichStage();
    const auto v172 = test::StageAtVersion(stage, 172);
    const auto v173 = test::StageAtVersion(stage, 173);
    EXPECT_EQ(v173.size(), v172.size() + 4);
    cEdStage loaded;
    EXPECT_EQ(test::LoadStageBytes(loaded, v172), 1);
    EXPECT_EQ(loaded.PlacedBlocks.size(), 20u);
    EXPECT_EQ(test::LoadStageBytes(loaded, v173), 1);
    EXPECT_EQ(loaded.TextItems.size(), 1u);
}

TEST_F(Stages, AreasOfOldFilesStartFromTheDefaults)
{
    cEdStage stage;
    stage.Areas[1].Set(1, 1, 1, 1, 2, 2, 2, 2);
    stage.Areas[3].Set(1, 0, 0, 0, 7, 7, 7, 7);
    const auto v124 = test::StageAtVersion(stage, 124);
    // The live stage's areas differ from a new stage's.
    for (cEdArea& area : g_Stage.Areas)
        area.Set(0, 0, 0, 0, 9, 9, 9, 9);
    ASSERT_EQ(test::LoadStageBytes(g_Stage, v124), 1);
    // Area 1's stored left switch, the others as a new stage's area 1.
    EXPECT_EQ(g_Stage.Areas[1].bLeft, 1);
    EXPECT_EQ(g_Stage.Areas[1].bRight, 0);
    EXPECT_EQ(g_Stage.Areas[1].nTop, 2);
    // Area 3 of a new stage has all four switches on.
    EXPECT_EQ(g_Stage.Areas[3].bRight, 1);
    EXPECT_EQ(g_Stage.Areas[3].bBottom, 1);
    EXPECT_EQ(g_Stage.Areas[3].nLeft, 7);
}

TEST_F(Stages, SpeedLevelsDeriveSubStepsAndLimits)
{
    struct Case {
        int level;
        int subSteps;
        double limit, maxStep;
        int tenth, air;
    };
    const Case cases[] = {
        {10, 10, 60.0, 6.0, 60, 80},
        {1, 1, 6.0, 6.0, 6, 8},
        {5, 5, 30.0, 6.0, 30, 40},
        {11, 1, 60.0, 60.0, 6, 8},
        {19, 9, 60.0, 60.0 / 9, 54, 72},
        // Outside 1 to 19: the nearest level's values, never a division by zero.
        {0, 1, 6.0, 6.0, 6, 8},
        {-7, 1, 6.0, 6.0, 6, 8},
        {20, 9, 60.0, 60.0 / 9, 54, 72},
        {INT32_MAX, 9, 60.0, 60.0 / 9, 54, 72},
    };
    for (const Case& c : cases) {
        cEdStage s;
        s.dGravity = 0.8;
        s.SetSpeedLevel(c.level);
        EXPECT_EQ(s.nSpeedLevel, c.level);
        EXPECT_EQ(s.nSubSteps, c.subSteps) << c.level;
        EXPECT_EQ(s.dSubSteps, c.subSteps) << c.level;
        EXPECT_EQ(s.dSubSteps2, double(c.subSteps) * c.subSteps) << c.level;
        EXPECT_EQ(s.dSpeedLimit, c.limit) << c.level;
        EXPECT_DOUBLE_EQ(s.dMaxStep, c.maxStep) << c.level;
        EXPECT_DOUBLE_EQ(s.dGravityStep, 0.8 / (c.subSteps * c.subSteps)) << c.level;
        EXPECT_EQ(s.nTenthSteps, c.tenth) << c.level;
        EXPECT_EQ(s.nAirSteps, c.air) << c.level;
    }
}

TEST_F(Stages, CheckBoundsTheViewAndTheMusic)
{
    struct Case {
        int width, height, left, right, top, bottom, bgm;
        int outLeft, outRight, outTop, outBottom, outBgm;
    };
    const Case cases[] = {
        {60, 30, 50, 70, 20, 99, 1, 40, 59, 15, 29, 1},
        {60, 30, 10, 20, 5, 9, 2, 10, 20, 5, 9, 0},
        {10, 10, 0, 0, 0, 0, -1, -10, 0, -5, 0, 0},
        {INT32_MIN, 1, 0, 0, 0, 0, 0, INT32_MIN, INT32_MIN, -14, 0, 0},
    };
    for (const Case& c : cases) {
        cEdStage s;
        s.nWidth = c.width;
        s.nHeight = c.height;
        s.nLimitLeft = c.left;
        s.nLimitRight = c.right;
        s.nLimitTop = c.top;
        s.nLimitBottom = c.bottom;
        s.nBgm = c.bgm;
        s.Check();
        EXPECT_EQ(s.nLimitLeft, c.outLeft);
        EXPECT_EQ(s.nLimitRight, c.outRight);
        EXPECT_EQ(s.nLimitTop, c.outTop);
        EXPECT_EQ(s.nLimitBottom, c.outBottom);
        EXPECT_EQ(s.nBgm, c.outBgm);
        EXPECT_EQ(s.PaletteBlocks.size(), 2u);
        EXPECT_EQ(s.PaletteCharas.size(), 2u);
        EXPECT_EQ(s.PaletteItems.size(), 2u);
    }
}

TEST_F(Stages, PaletteEntriesOfTheFileAreRepaired)
{
    cEdStage stage;
    stage.PaletteBlocks.assign(3, NoneBlock());
    // Entry 0 holds a graphic in the file; it loads as the none entry.
    stage.PaletteBlocks[0].nGraphicNo = 9;
    stage.PaletteBlocks[0].nHitMode = 2;
    stage.PaletteBlocks[2].nHitMode = 2;
    stage.PaletteBlocks[2].nGraphicNo = 3;
    // Entry 1 names the later entry 2: it takes a none block's hit mode.
    stage.PaletteBlocks[1].nPaletteKind = 2;
    stage.PaletteBlocks[1].nPaletteIndex = 2;
    stage.PaletteBlocks[1].nGraphicNo = 4;
    stage.PaletteBlocks[1].InheritFlags[6] = 1;
    stage.PaletteCharas = {Hero()};
    stage.PaletteItems.clear();
    cEdStage loaded;
    ASSERT_EQ(test::LoadStageBytes(loaded, SaveStage(stage)), 1);
    EXPECT_EQ(loaded.PaletteBlocks[0].nGraphicNo, 0);
    EXPECT_EQ(loaded.PaletteBlocks[0].nHitMode, 0);
    EXPECT_EQ(loaded.PaletteBlocks[1].nHitMode, 1);
    EXPECT_EQ(loaded.PaletteBlocks[1].nPaletteKind, 2);
    EXPECT_EQ(loaded.PaletteBlocks[2].nHitMode, 2);
    ASSERT_EQ(loaded.PaletteCharas.size(), 2u);
    EXPECT_EQ(loaded.PaletteCharas[0].nOperator, 1);
    EXPECT_EQ(loaded.PaletteItems.size(), 2u);
}

TEST_F(Stages, HeroIsTheFirstPlayerOperatedCharacterWithAGraphic)
{
    cEdChara computer = Hero();
    computer.nOperator = 1;
    cEdChara blank = Hero();
    blank.nGraphicNo = 0;
    struct Case {
        std::vector<cEdChara> charas;
        int hero;
    };
    const Case cases[] = {
        {{}, -1},
        {{computer, blank}, -1},
        {{computer, blank, Hero(), Hero()}, 2},
        {{Hero()}, 0},
    };
    for (const Case& c : cases) {
        cEdStage s;
        s.PlacedCharas = c.charas;
        EXPECT_EQ(s.FindHero(), c.hero);
        EXPECT_EQ(s.HasHero(), c.hero >= 0 ? 1 : 0);
    }
}

TEST_F(Stages, SettingsCopyLeavesOutPaletteAndPlacedObjects)
{
    cEdStage stage = RichStage();
    stage.Check();
    cEdStage copy;
    copy.CopySettingsFrom(stage);
    EXPECT_TRUE(copy.PlacedBlocks.empty());
    EXPECT_TRUE(copy.PlacedCharas.empty());
    EXPECT_TRUE(copy.PlacedItems.empty());
    EXPECT_TRUE(copy.PaletteBlocks.empty());
    EXPECT_TRUE(copy.PaletteCharas.empty());
    EXPECT_TRUE(copy.PaletteItems.empty());
    EXPECT_EQ(copy.nWidth, 200);
    EXPECT_EQ(copy.dGravity, 0.55);
    EXPECT_EQ(copy.nSubSteps, 3);
    EXPECT_EQ(copy.strStageText, "a stage");
    EXPECT_EQ(copy.Layers.size(), 2u);
    EXPECT_EQ(copy.Layers[1].strPicture, "bg.bmp");
    EXPECT_EQ(copy.TextItems.size(), 1u);
    EXPECT_EQ(copy.Areas[2].nLeft, 3);
    EXPECT_EQ(copy.ResultFlags, stage.ResultFlags);
}

TEST_F(Stages, ReplaySnapshotTakesSettingsFromTheStartAndObjectsFromThePlay)
{
    cEdStage live = RichStage();
    cEdStage atStart;
    atStart.CopySettingsFrom(live);
    atStart.nWidth = 300;
    atStart.ResultFlags = {0, 0, 0, 0, 0};
    atStart.TextItems.clear();
    live.nWidth = 250;
    live.PlacedBlocks.resize(3);

    ByteWriter out;
    out.writeI32(kDataVersion);
    live.SaveForReplay(out, atStart);
    cEdStage loaded;
    ASSERT_EQ(test::LoadStageBytes(loaded, out.take()), 1);
    EXPECT_EQ(loaded.nWidth, 300);
    EXPECT_EQ(loaded.ResultFlags, std::vector<std::int32_t>(5, 0));
    EXPECT_TRUE(loaded.TextItems.empty());
    EXPECT_EQ(loaded.PlacedBlocks.size(), 3u);
    EXPECT_EQ(loaded.PaletteCharas.size(), 3u);
}

TEST_F(Stages, DamagedFilesLeaveTheTargetAsItWas)
{
    cEdStage stage = RichStage();
    const auto good = SaveStage(stage);
    g_Stage.nWidth = 77;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"cut short", {good.begin(), good.end() - 9}});
    cases.push_back({"only the version", {good.begin(), good.begin() + 4}});
    cases.push_back({"empty", {}});
    // The result-row count follows the record body; make it impossible.
    ByteWriter body;
    stage.cEdData::Save(body);
    auto hugeCount = good;
    for (std::size_t i = 0; i < 4; ++i)
        hugeCount[4 + body.size() + i] = i == 3 ? 0x7f : 0xff;
    cases.push_back({"a count beyond the file", hugeCount});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(test::LoadStageBytes(g_Stage, c.bytes), 0);
        EXPECT_EQ(g_Stage.nWidth, 77);
        EXPECT_TRUE(g_Stage.PlacedBlocks.empty());
    }
    // The end code is the loader's to compare: the record reads past it.
    auto badEnd = good;
    badEnd.back() ^= 1;
    EXPECT_EQ(test::LoadStageBytes(g_Stage, badEnd), 1);
}

TEST_F(Stages, StagesOlderThan174AreReadAsFarAsTheyGo)
{
    cEdStage stage = RichStage();
    const auto full = test::StageAtVersion(stage, 172);
    // Cut inside the placed blocks: the palette and the first blocks stay.
    const auto cut = std::vector<std::uint8_t>(full.begin(), full.begin() + full.size() / 2);
    cEdStage loaded;
    ASSERT_EQ(test::LoadStageBytes(loaded, cut), 1);
    EXPECT_EQ(loaded.nWidth, 200);
    EXPECT_EQ(loaded.PaletteBlocks.size(), 3u);
    EXPECT_TRUE(loaded.TextItems.empty());
    EXPECT_EQ(loaded.nSubSteps, 3);

    // From 174 on the same cut is a damaged file.
    const auto guarded = test::StageAtVersion(stage, 174);
    EXPECT_EQ(test::LoadStageBytes(
                  loaded,
                  std::vector<std::uint8_t>(guarded.begin(), guarded.begin() + guarded.size() / 2)),
              0);

    // A fault of content (flows nested past every author's data) refuses
    // even an old file.
    cEdStage bad = RichStage();
    cEdFlow nested;
    for (int level = 1; level <= kMaxFlowNesting; ++level) {
        cEdCommand change;
        change.m_ListKind = 1;
        change.m_Kind = 1;
        change.m_Flows = {nested};
        nested.m_Commands = {change};
    }
    bad.PaletteCharas[1].Flows = {nested};
    loaded.nWidth = 5;
    EXPECT_EQ(test::LoadStageBytes(loaded, test::StageAtVersion(bad, 172)), 0);
    EXPECT_EQ(loaded.nWidth, 5);
}

} // namespace
