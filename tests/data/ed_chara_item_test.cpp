// Character and item definitions: their file layouts, the upgrades of older
// files, the inheritance of every group, the checks after loading and the
// lookups.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "data/ed_chara.h"
#include "data/ed_item.h"
#include "file_bytes.h"
#include "record_fields.h"
#include "stage_fixtures.h"

namespace {

using test::Field;
using test::FileBytes;

#define CHARA(m, size, from, group) RECORD_FIELD(cEdChara, m, size, from, group)
#define ITEM(m, size, group) RECORD_FIELD(cEdItem, m, size, 0, group)

const std::vector<Field<cEdChara>> kCharaFields = {
    CHARA(nPaletteKind, 1, 0, -1),
    CHARA(nPaletteIndex, 2, 0, -1),
    CHARA(nCondMode, 1, 0, 4),
    CHARA(bCondLatch, 1, 0, 4),
    CHARA(nFacing, 1, 0, 5),
    CHARA(nCopies, 1, 0, 6),
    CHARA(nCopyX, 2, 0, 7),
    CHARA(nCopyStepX, 2, 0, 7),
    CHARA(nCopyY, 2, 0, 8),
    CHARA(nCopyStepY, 2, 0, 8),
    CHARA(bCopyMirrorX, 1, 0, 7),
    CHARA(bCopyMirrorY, 1, 0, 8),
    CHARA(nGraphicNo, 2, 0, 9),
    CHARA(nGraphicKind, 1, 0, 9),
    CHARA(nGraphicFrame, 2, 0, 9),
    CHARA(nAnimeSet, 2, 0, 10),
    CHARA(nZ, 1, 0, 11),
    CHARA(bTransparent, 1, 0, 12),
    CHARA(nCharaEffect, 2, 0, 13),
    CHARA(nCharaEffectParam1, 1, 196, 13),
    CHARA(nCharaEffectParam2, 1, 0, 13),
    CHARA(nDeathEffect, 2, 0, 14),
    CHARA(nDeathEffectParam, 1, 196, 14),
    CHARA(nCharaOption1, 1, 0, 15),
    CHARA(nEmblemNo, 2, 0, 15),
    CHARA(nOperator, 1, 0, 1),
    CHARA(nInputNo, 1, 0, 1),
    CHARA(nGroup, 1, 0, 2),
    CHARA(nCharaId, 1, 0, 3),
    CHARA(nFlying, 1, 0, 17),
    CHARA(bFixedFacing, 1, 0, 16),
    CHARA(nInvincible, 1, 0, 18),
    CHARA(nCharaOption2, 1, 285, 18),
    CHARA(bSolid, 1, 0, 19),
    CHARA(nSize, 1, 0, 20),
    CHARA(bScrollSync, 1, 210, 21),
    CHARA(nSightShape, 1, 0, 22),
    CHARA(nSight, 1, 0, 22),
    CHARA(nMaxHP, 4, 0, 23),
    CHARA(nMaxSP, 4, 0, 24),
    CHARA(nStopRate, 2, 0, 31),
    CHARA(nBoxKind, 1, 201, 25),
    CHARA(nBodyPower, 4, 0, 26),
    CHARA(nBodyImpact, 1, 0, 27),
    CHARA(nHitEffect, 2, 0, 28),
    CHARA(nDefence, 4, 168, 29),
    CHARA(nImpactResist, 1, 0, 30),
    CHARA(nScoreGain, 4, 0, 34),
    CHARA(nCharaOption5, 1, 0, 35),
    CHARA(bAreaSwitch, 1, 0, 33),
    CHARA(nAreaSwitchNo, 2, 0, 33),
    CHARA(nCharaOption8, 1, 0, 32),
    CHARA(nActivateMode, 1, 0, 32),
};

const std::vector<Field<cEdItem>> kItemFields = {
    ITEM(nPaletteKind, 1, -1), ITEM(nPaletteIndex, 2, -1), ITEM(nCondMode, 1, 1),
    ITEM(bCondLatch, 1, 1),    ITEM(nItemOption1, 2, 2),   ITEM(nItemOption2, 2, 3),
    ITEM(nGraphicNo, 2, 4),    ITEM(nGraphicKind, 1, 4),   ITEM(nGraphicFrame, 2, 4),
    ITEM(nItemOption3, 1, 5),  ITEM(bHidden, 1, 6),        ITEM(bOverlay, 1, 7),
    ITEM(nOverlayPiece, 2, 7), ITEM(bShowGraphic, 1, 10),  ITEM(nTakeMode, 1, 9),
    ITEM(nSize, 1, 8),         ITEM(nSound, 2, 11),
};

// The database and palettes large enough that no member i + 1 is reset.
void RoomForEveryValue()
{
    g_Database.AnimeSet.resize(100);
    g_Database.CharaEffect.resize(100);
    g_Database.Effect.resize(100);
    g_Database.Sound.resize(100);
    g_CommonPalette.PaletteCharas.resize(3);
    g_CommonPalette.PaletteItems.resize(3);
}

// A character (or item) read from a body whose member i holds i + 1.
cEdChara NumberedChara()
{
    FileBytes b;
    b.i32(kDataVersion);
    test::PutFields(b, kCharaFields, kDataVersion);
    b.i32(1).str("numbered").i16(0).i16(0).i32(-1).i32(0).i32(0).i32(0);
    cEdChara chara;
    EXPECT_EQ(LoadFileBytes(chara, b.bytes()), 1);
    return chara;
}

cEdItem NumberedItem()
{
    FileBytes b;
    b.i32(kDataVersion);
    test::PutFields(b, kItemFields, kDataVersion);
    b.i32(1).str("numbered").i16(0).i16(0).i32(0).i32(0).i32(0);
    cEdItem item;
    EXPECT_EQ(LoadFileBytes(item, b.bytes()), 1);
    return item;
}

cEdFlow FlowWithCommand(int testOnly = 0)
{
    cEdFlow flow;
    flow.m_TestOnly = static_cast<std::uint8_t>(testOnly);
    flow.m_Commands.resize(1);
    return flow;
}

class Definitions : public test::StageRecordsTest {};

TEST_F(Definitions, MembersLieInFileOrderAndRoundTrip)
{
    RoomForEveryValue();
    cEdChara chara = NumberedChara();
    for (std::size_t i = 0; i < kCharaFields.size(); ++i) {
        EXPECT_EQ(kCharaFields[i].get(chara), double(i + 1)) << "character member " << i;
    }
    EXPECT_EQ(chara.nCarriedItem, -1);
    EXPECT_EQ(chara.InheritFlags.size(), 0u);
    cEdChara charaBack;
    const auto charaBytes = SaveToBytes(chara);
    ASSERT_EQ(LoadFileBytes(charaBack, charaBytes), 1);
    EXPECT_EQ(SaveToBytes(charaBack), charaBytes);

    cEdItem item = NumberedItem();
    for (std::size_t i = 0; i < kItemFields.size(); ++i) {
        EXPECT_EQ(kItemFields[i].get(item), double(i + 1)) << "item member " << i;
    }
    cEdItem itemBack;
    const auto itemBytes = SaveToBytes(item);
    ASSERT_EQ(LoadFileBytes(itemBack, itemBytes), 1);
    EXPECT_EQ(SaveToBytes(itemBack), itemBytes);
}

TEST_F(Definitions, NewDefinitionsHaveTheirDefaults)
{
    cEdChara chara;
    chara.nMaxHP = 99;
    chara.nCarriedItem = 4;
    chara.Clear();
    EXPECT_EQ(chara.nMaxHP, 10);
    EXPECT_EQ(chara.nCarriedItem, 0);
    EXPECT_EQ(chara.nOperator, 1);
    EXPECT_EQ(chara.nGroup, 1);
    EXPECT_EQ(chara.nZ, 3);
    EXPECT_EQ(chara.nCharaEffectParam2, 1);
    EXPECT_EQ(chara.nStopRate, 10);
    EXPECT_EQ(chara.nGraphicKind, 1);
    EXPECT_EQ(chara.nSize, 1);
    EXPECT_EQ(chara.bFixedFacing, 1);
    EXPECT_EQ(chara.nCharaOption5, 1);
    EXPECT_EQ(chara.InheritFlags.size(), 37u);

    cEdItem item;
    item.nSize = 9;
    item.Clear();
    EXPECT_EQ(item.nGraphicKind, 2);
    EXPECT_EQ(item.bShowGraphic, 1);
    EXPECT_EQ(item.nSize, 1);
    EXPECT_EQ(item.nItemOption3, 6);
    EXPECT_EQ(item.InheritFlags.size(), 13u);
}

TEST_F(Definitions, OldCharacterFlagListsGetTheInsertedGroups)
{
    cEdChara chara;
    chara.InheritFlags.resize(34);
    for (int i = 0; i < 34; ++i)
        chara.InheritFlags[static_cast<std::size_t>(i)] = i + 10;
    cEdChara loaded;
    ASSERT_EQ(LoadFileBytes(loaded, test::SaveAtVersion(chara, 150)), 1);
    std::vector<std::uint8_t> expected;
    for (int i = 0; i <= 20; ++i)
        expected.push_back(static_cast<std::uint8_t>(i + 10));
    expected.push_back(1);
    for (int i = 21; i <= 23; ++i)
        expected.push_back(static_cast<std::uint8_t>(i + 10));
    expected.push_back(1);
    for (int i = 24; i <= 26; ++i)
        expected.push_back(static_cast<std::uint8_t>(i + 10));
    expected.push_back(1);
    for (int i = 27; i <= 33; ++i)
        expected.push_back(static_cast<std::uint8_t>(i + 10));
    EXPECT_EQ(loaded.InheritFlags, expected);

    // From version 210 on nothing is inserted: a file's flags stay as stored.
    cEdChara current;
    ASSERT_EQ(LoadFileBytes(current, test::SaveAtVersion(chara, 210)), 1);
    EXPECT_EQ(current.InheritFlags, chara.InheritFlags);
}

TEST_F(Definitions, OlderCharactersAreUpgraded)
{
    struct Case {
        const char* what;
        int version;
        int boxKind, graphicKind, graphicNo, option2, param1;
        int outBoxKind, outGraphicNo, outOption2, outDefence, outParam1, outScrollSync;
    };
    const Case cases[] = {
        {"no defence before 168", 167, 2, 1, 5, 0, 3, 0, 5, 1, 0, 0, 0},
        {"no effect parameters before 196", 195, 2, 1, 5, 0, 3, 0, 5, 1, 7, 0, 0},
        {"no box kind before 201", 200, 2, 1, 5, 0, 3, 0, 5, 1, 7, 3, 0},
        {"box kinds from 2 move up before 206", 205, 2, 1, 5, 0, 3, 3, 5, 1, 7, 3, 0},
        {"box kind 1 stays", 205, 1, 1, 5, 0, 3, 1, 5, 1, 7, 3, 0},
        {"box kinds from 206 stay", 206, 2, 1, 5, 0, 3, 2, 5, 1, 7, 3, 0},
        {"no scroll sync before 210", 209, 2, 1, 5, 0, 3, 2, 5, 1, 7, 3, 0},
        {"shot sheet graphic moves up before 219", 218, 2, 3, 5, 0, 3, 2, 6, 1, 7, 3, 1},
        {"within 119", 218, 2, 3, 119, 0, 3, 2, 119, 1, 7, 3, 1},
        {"from 219 it stays", 219, 2, 3, 5, 0, 3, 2, 5, 1, 7, 3, 1},
        {"option 2 is 1 before 285", 284, 2, 1, 5, 0, 3, 2, 5, 1, 7, 3, 1},
        {"option 2 stored from 285", 285, 2, 1, 5, 0, 3, 2, 5, 0, 7, 3, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEdChara chara;
        chara.nBoxKind = static_cast<std::uint8_t>(c.boxKind);
        chara.nGraphicKind = static_cast<std::uint8_t>(c.graphicKind);
        chara.nGraphicNo = static_cast<std::int16_t>(c.graphicNo);
        chara.nCharaOption2 = static_cast<std::uint8_t>(c.option2);
        chara.nCharaEffectParam1 = static_cast<std::int8_t>(c.param1);
        chara.nDeathEffectParam = 3;
        chara.nDefence = 7;
        chara.bScrollSync = 1;
        const auto bytes = test::SaveAtVersion(chara, c.version);
        // The record read into holds other values, so a member the file
        // lacks shows what the upgrade gave it.
        cEdChara loaded;
        loaded.nDefence = 5;
        loaded.nCharaEffectParam1 = 5;
        loaded.bScrollSync = 1;
        loaded.nBoxKind = 4;
        ASSERT_EQ(LoadFileBytes(loaded, bytes), 1);
        EXPECT_EQ(loaded.nBoxKind, c.outBoxKind);
        EXPECT_EQ(loaded.nGraphicNo, c.outGraphicNo);
        EXPECT_EQ(loaded.nCharaOption2, c.outOption2);
        EXPECT_EQ(loaded.nDefence, c.outDefence);
        EXPECT_EQ(loaded.nCharaEffectParam1, c.outParam1);
        EXPECT_EQ(loaded.nDeathEffectParam, c.outParam1);
        EXPECT_EQ(loaded.bScrollSync, c.outScrollSync);
    }
}

TEST_F(Definitions, EachCharacterFlagTakesItsGroup)
{
    RoomForEveryValue();
    cEdChara source = NumberedChara();
    source.strName = "source";
    source.Conds.resize(2);
    source.Flows = {FlowWithCommand(), FlowWithCommand()};
    g_Stage.PaletteCharas = {cEdChara(), source};
    for (int group = 0; group < kCharaInheritGroups; ++group) {
        SCOPED_TRACE(group);
        cEdChara placed;
        placed.nPaletteKind = 2;
        placed.nPaletteIndex = 1;
        placed.InheritFlags[static_cast<std::size_t>(group)] = 1;
        const cEdChara own = placed;
        placed.InheritParams();
        for (const auto& f : kCharaFields) {
            if (f.group < 0) continue;
            EXPECT_EQ(f.get(placed), f.get(f.group == group ? source : own));
        }
        EXPECT_EQ(placed.strName, group == 0 ? "source" : "");
        EXPECT_EQ(placed.Conds.size(), group == 4 ? 2u : 0u);
        EXPECT_EQ(placed.Flows.size(), group == 36 ? 2u : 0u);
    }
}

TEST_F(Definitions, EachItemFlagTakesItsGroupAndCommandsAreOwnCopies)
{
    RoomForEveryValue();
    cEdItem source = NumberedItem();
    source.strName = "source";
    source.Conds.resize(2);
    source.Commands.resize(1);
    MakeShotPart(source.Commands[0].m_Shot);
    g_Stage.PaletteItems = {cEdItem(), source};
    for (int group = 0; group < kItemInheritGroups; ++group) {
        SCOPED_TRACE(group);
        cEdItem placed;
        placed.nPaletteKind = 2;
        placed.nPaletteIndex = 1;
        placed.InheritFlags[static_cast<std::size_t>(group)] = 1;
        const cEdItem own = placed;
        placed.InheritItem();
        for (const auto& f : kItemFields) {
            if (f.group < 0) continue;
            EXPECT_EQ(f.get(placed), f.get(f.group == group ? source : own));
        }
        EXPECT_EQ(placed.strName, group == 0 ? "source" : "");
        EXPECT_EQ(placed.Conds.size(), group == 1 ? 2u : 0u);
        EXPECT_EQ(placed.Commands.size(), group == 12 ? 1u : 0u);
        if (group == 12) {
            placed.Commands[0].m_Shot->m_Power = 50;
            EXPECT_EQ(g_Stage.PaletteItems[1].Commands[0].m_Shot->m_Power, 0);
        }
    }
}

TEST_F(Definitions, ReferencesBeyondThePaletteAreDropped)
{
    g_CommonPalette.PaletteCharas.resize(2);
    g_CommonPalette.PaletteItems.resize(2);
    cEdChara chara;
    chara.nPaletteKind = 1;
    chara.nPaletteIndex = 2;
    chara.InheritFlags.assign(37, 1);
    chara.nMaxHP = 77;
    cEdChara loadedChara;
    ASSERT_EQ(LoadFileBytes(loadedChara, SaveToBytes(chara)), 1);
    EXPECT_EQ(loadedChara.nPaletteKind, 0);
    EXPECT_EQ(loadedChara.nMaxHP, 77);

    cEdItem item;
    item.nPaletteKind = 2;
    item.nPaletteIndex = 1;
    item.InheritFlags.assign(13, 1);
    item.nTakeMode = 2;
    item.InheritItem();
    EXPECT_EQ(item.nPaletteKind, 0);
    EXPECT_EQ(item.nTakeMode, 2);
}

TEST_F(Definitions, InheritedEmptyFlowsAreDroppedAtLoad)
{
    g_CommonPalette.PaletteCharas.resize(2);
    cEdChara chara;
    chara.nPaletteKind = 1;
    chara.nPaletteIndex = 1;
    chara.InheritFlags[36] = 1;
    chara.Flows = {FlowWithCommand()};
    // The palette entry has no flows: the character ends with none.
    cEdChara loaded;
    ASSERT_EQ(LoadFileBytes(loaded, SaveToBytes(chara)), 1);
    EXPECT_EQ(loaded.nPaletteKind, 1);
    EXPECT_TRUE(loaded.Flows.empty());

    // The copier itself adds one new flow when the entry has none.
    cEdChara direct = chara;
    direct.InheritParams();
    ASSERT_EQ(direct.Flows.size(), 1u);
    EXPECT_EQ(direct.Flows[0].m_KeyGap, 3);
}

TEST_F(Definitions, CharacterCheckMendsReferencesAndErasesEmptyFlows)
{
    struct Case {
        const char* what;
        int graphicKind, graphicNo, size, animeSet, effect, hitEffect;
        int outGraphicNo, outSize, outAnimeSet, outEffect, outHitEffect;
    };
    // The default database: 1 AnimeSet, 2 Bmp_CharaExc, 2 CharaEffect, 2 Effect.
    const Case cases[] = {
        {"all in range", 4, 1, 3, 0, 1, 1, 1, 3, 0, 1, 1},
        {"own picture beyond its table", 4, 2, 3, 0, 1, 1, 1, 3, 0, 1, 1},
        {"other sheets are not checked", 1, 90, 3, 0, 1, 1, 90, 3, 0, 1, 1},
        {"size 0", 1, 1, 0, 0, 1, 1, 1, 1, 0, 1, 1},
        {"negative size", 1, 1, 200, 0, 1, 1, 1, 1, 0, 1, 1},
        // Reset to the first set, record 0, since the table has no record 1.
        {"anime set beyond its table", 1, 1, 3, 1, 1, 1, 1, 3, 0, 1, 1},
        {"negative anime set", 1, 1, 3, -1, 1, 1, 1, 3, 0, 1, 1},
        {"effects beyond their tables", 1, 1, 3, 0, 2, 2, 1, 3, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEdChara chara;
        chara.nGraphicKind = static_cast<std::uint8_t>(c.graphicKind);
        chara.nGraphicNo = static_cast<std::int16_t>(c.graphicNo);
        chara.nSize = static_cast<std::uint8_t>(c.size);
        chara.nAnimeSet = static_cast<std::int16_t>(c.animeSet);
        chara.nCharaEffect = static_cast<std::int16_t>(c.effect);
        chara.nDeathEffect = static_cast<std::int16_t>(c.effect);
        chara.nHitEffect = static_cast<std::int16_t>(c.hitEffect);
        chara.CheckAfterLoad();
        EXPECT_EQ(chara.nGraphicNo, c.outGraphicNo);
        EXPECT_EQ(chara.nSize, c.outSize);
        EXPECT_EQ(chara.nAnimeSet, c.outAnimeSet);
        EXPECT_EQ(chara.nCharaEffect, c.outEffect);
        EXPECT_EQ(chara.nDeathEffect, c.outEffect);
        EXPECT_EQ(chara.nHitEffect, c.outHitEffect);
    }

    cEdChara chara;
    chara.Flows.resize(5);
    chara.Flows[1].m_Conds.resize(1);
    chara.Flows[1].m_FlowId = 1;
    chara.Flows[3].m_KeyConds.resize(1);
    chara.Flows[3].m_FlowId = 3;
    chara.CheckAfterLoad();
    ASSERT_EQ(chara.Flows.size(), 2u);
    EXPECT_EQ(chara.Flows[0].m_FlowId, 1);
    EXPECT_EQ(chara.Flows[1].m_FlowId, 3);
}

TEST_F(Definitions, TestOnlyFlowsOfCharactersStayOnlyWhenKept)
{
    cEdChara chara;
    chara.Flows = {FlowWithCommand(1), FlowWithCommand(0), FlowWithCommand(1)};
    const auto bytes = SaveToBytes(chara);
    cEdChara normal;
    ASSERT_EQ(LoadFileBytes(normal, bytes), 1);
    EXPECT_EQ(normal.Flows.size(), 1u);
    g_StartedByTool = 1;
    cEdChara testPlay;
    ASSERT_EQ(LoadFileBytes(testPlay, bytes), 1);
    EXPECT_EQ(testPlay.Flows.size(), 3u);
}

TEST_F(Definitions, SavedCharactersKeepAllFlagsAndNoEmptyFlow)
{
    cEdChara chara;
    chara.Flows = {cEdFlow(), FlowWithCommand(), cEdFlow()};
    chara.InheritFlags[36] = 1;
    chara.nCarriedItem = -1;
    const auto bytes = SaveToBytes(chara);
    cEdChara loaded;
    ASSERT_EQ(LoadFileBytes(loaded, bytes), 1);
    EXPECT_EQ(loaded.InheritFlags.size(), 37u);
    EXPECT_EQ(loaded.Flows.size(), 1u);
    EXPECT_EQ(loaded.nCarriedItem, -1);
    EXPECT_EQ(SaveToBytes(loaded), bytes);
}

TEST_F(Definitions, CopyOffsetsStepAndMirror)
{
    cEdChara chara;
    chara.nCopyX = 5;
    chara.nCopyStepX = 3;
    chara.bCopyMirrorX = 1;
    chara.nCopyY = -2;
    chara.nCopyStepY = 4;
    EXPECT_EQ(chara.CopyOffsetX(2, 1), -11.0);
    EXPECT_EQ(chara.CopyOffsetX(2, 0), 11.0);
    EXPECT_EQ(chara.CopyOffsetX(0, 1), -5.0);
    EXPECT_EQ(chara.CopyOffsetY(2, 1), 6.0);
    chara.bCopyMirrorY = 1;
    EXPECT_EQ(chara.CopyOffsetY(2, 1), -6.0);
}

TEST_F(Definitions, ItemsAreUpgradedAndMended)
{
    struct Case {
        int version, graphicKind, graphicNo, size, sound;
        int outGraphicNo, outSize, outSound;
    };
    const Case cases[] = {
        {218, 3, 119, 1, 1, 119, 1, 1}, {218, 3, 5, 1, 1, 6, 1, 1}, {218, 2, 5, 1, 1, 5, 1, 1},
        {219, 3, 5, 1, 1, 5, 1, 1},     {511, 2, 5, 0, 2, 5, 1, 0}, {511, 2, 5, 130, -1, 5, 1, 0},
    };
    for (const Case& c : cases) {
        cEdItem item;
        item.nGraphicKind = static_cast<std::uint8_t>(c.graphicKind);
        item.nGraphicNo = static_cast<std::int16_t>(c.graphicNo);
        item.nSize = static_cast<std::uint8_t>(c.size);
        item.nSound = static_cast<std::int16_t>(c.sound);
        const auto bytes = test::SaveAtVersion(item, c.version);
        cEdItem loaded;
        ASSERT_EQ(LoadFileBytes(loaded, bytes), 1);
        EXPECT_EQ(loaded.nGraphicNo, c.outGraphicNo) << c.version << " " << c.graphicNo;
        EXPECT_EQ(loaded.nSize, c.outSize) << c.size;
        EXPECT_EQ(loaded.nSound, c.outSound) << c.sound;
    }
}

TEST_F(Definitions, ItemDefinitionsAreFoundByPaletteKindAndIndex)
{
    g_CommonPalette.PaletteItems.resize(3);
    g_CommonPalette.PaletteItems[2].nTakeMode = 1;
    g_Stage.PaletteItems.resize(2);
    g_Stage.PaletteItems[1].nTakeMode = 2;
    struct Case {
        int kind, index;
        const cEdItem* found;
    };
    const Case cases[] = {
        {1, 0, &g_CommonPalette.PaletteItems[0]},
        {1, 2, &g_CommonPalette.PaletteItems[2]},
        {1, 3, nullptr},
        {1, -1, nullptr},
        {2, 1, &g_Stage.PaletteItems[1]},
        {2, 2, nullptr},
        {0, 1, nullptr},
        {3, 1, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetItemDef(c.kind, c.index), c.found) << c.kind << " " << c.index;
    }
}

} // namespace
