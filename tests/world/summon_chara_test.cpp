// Character and item summons: copies, blocked places, numbers, group lists
// and life timers, and the palette a summon takes its definition from.

#include <gtest/gtest.h>

#include <vector>

#include "world/contact_fixture.h"
#include "world/fire_patterns.h"
#include "world/flow_run.h"
#include "world/summons.h"

namespace {

using test::ContactStage;

class CharaSummons : public ContactStage {
protected:
    static cEdChara Def()
    {
        cEdChara def;
        def.Clear();
        def.nOperator = 1;
        def.nGraphicNo = 1;
        def.nGroup = 4;
        def.nScoreGain = 50;
        return def;
    }

    static cEdShot Part()
    {
        cEdShot shot = ShotDef();
        shot.m_Dir = 3;
        return shot;
    }

    void Summon(cEdChara def, const cEdShot& shot, int facing = 0, double x = 640, double y = 640)
    {
        SummonChara(stage.m_CharaList, x, y, def.nGroup, facing, shot, def, stage.m_CharaSerial);
    }

    std::vector<cNpcObj*> Charas()
    {
        std::vector<cNpcObj*> out;
        for (cNpcObj& c : stage.m_CharaList)
            out.push_back(&c);
        return out;
    }

    void SolidBlock(int column, int row)
    {
        BlockCell& cell = stage.CellAt(column, row);
        cell.nGraphicNo = 1;
        cell.nHitMode = 1;
    }
};

TEST_F(CharaSummons, CopiesAreLaidOutFromThePictureCorner)
{
    cEdChara def = Def();
    def.nCopies = 2;
    def.nCopyStepX = 32;
    def.bCopyMirrorX = 1;
    for (const int facing : {0, 1}) {
        SCOPED_TRACE(facing);
        Build(1);
        Summon(def, Part(), facing);
        const auto charas = Charas();
        ASSERT_EQ(charas.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            const cNpcObj& c = *charas[static_cast<std::size_t>(i)];
            EXPECT_EQ(c.m_X, 640 + c.m_PicOffX + (facing ? -32 : 32) * i);
            EXPECT_EQ(c.m_Y, 640 + c.m_PicOffY);
            EXPECT_EQ(c.m_Facing, facing);
            EXPECT_EQ(c.m_CopyNo, i);
            EXPECT_EQ(c.m_ObjNo, 1 + i);
        }
        EXPECT_EQ(stage.m_CharaSerial, 4);
        EXPECT_EQ(stage.m_CharaGroups[4].size(), 3u);
    }
}

TEST_F(CharaSummons, ABlockedCopyGoesAgainAndTakesNoNumber)
{
    cEdChara def = Def();
    def.nCopies = 2;
    def.nCopyStepX = 32;
    // Copy 1 lands in cell (21, 20).
    SolidBlock(21, 20);
    Summon(def, Part());
    const auto charas = Charas();
    ASSERT_EQ(charas.size(), 2u);
    EXPECT_EQ(charas[0]->m_ObjNo, 1);
    EXPECT_EQ(charas[1]->m_ObjNo, 2);
    EXPECT_EQ(charas[1]->m_CopyNo, 2);
    EXPECT_EQ(stage.FindCharaByNumber(2), charas[1]);
    EXPECT_EQ(stage.m_CharaGroups[4].size(), 2u);
    // The player's list of the characters targeting it (itself first) keeps
    // only the kept.
    EXPECT_EQ(Hero().m_TargetedBy, (std::vector<std::int32_t>{0, 1, 2}));

    // A solid character on the spot blocks it too.
    cNpcObj& solid = AddChara(6, {700, 640, 64, 40});
    solid.m_Def.bSolid = 1;
    def.nCopies = 0;
    Summon(def, Part(), 0, 690, 640);
    EXPECT_EQ(stage.m_CharaList.size(), 3u);
}

TEST_F(CharaSummons, EverySummonJoinsItsGroupAndOnlyTheLifeDependsOnTheTime)
{
    Build(2);
    cEdShot timed = Part();
    timed.m_MoveTimeOn = 1;
    timed.m_MoveTime = 5;
    Summon(Def(), timed);
    cEdShot untimed = Part();
    untimed.m_MoveTime = 5;
    untimed.m_Option11 = 1;
    Summon(Def(), untimed, 0, 704);
    const auto charas = Charas();
    ASSERT_EQ(charas.size(), 2u);
    EXPECT_EQ(charas[0]->m_Life, 5 * 2 * 6);
    EXPECT_EQ(charas[1]->m_Life, kNoLife);
    EXPECT_EQ(charas[0]->m_Def.nScoreGain, 50);
    EXPECT_EQ(charas[1]->m_Def.nScoreGain, 0);
    EXPECT_EQ(stage.m_CharaGroups[4].size(), 2u);
    EXPECT_EQ(stage.m_CharaSerial, 3);
}

TEST_F(CharaSummons, TheCommandTakesItsPaletteGroupAndFacing)
{
    cNpcObj& shooter = AddChara(1, {480, 480, 32, 32});
    shooter.m_Facing = 0;
    cEdChara common = Def();
    common.nGroup = 2;
    g_CommonPalette.PaletteCharas.push_back(common);
    cEdChara player = Def();
    player.nOperator = 0;
    g_CommonPalette.PaletteCharas.push_back(player);
    g_Stage.PaletteCharas.push_back(Def());
    cCommandRun run;
    run.m_Kind = 14;
    struct Case {
        const char* what;
        int palette;
        int index;
        int groupMode;
        int flip;
        int count;
        int group;
        int facing;
    };
    const Case cases[] = {
        {"common palette, its group", 0, 1, 0, 0, 1, 2, 0},
        {"stage palette, the user's group", 1, 1, 1, 0, 1, 1, 0},
        {"the shot's group, turned round", 1, 1, 2, 1, 1, 6, 1},
        {"a player definition is not summoned", 0, 2, 0, 0, 0, 0, 0},
        {"an index past the end", 1, 2, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t before = stage.m_CharaList.size();
        cEdShot shot = Part();
        shot.m_Count = 1;
        shot.m_SummonPalette = static_cast<std::uint8_t>(c.palette);
        shot.m_SummonIndex = static_cast<std::int16_t>(c.index);
        shot.m_GroupMode = static_cast<std::uint8_t>(c.groupMode);
        shot.m_GroupNumber = 6;
        shot.m_FlipFacing = static_cast<std::uint8_t>(c.flip);
        FireCharaSummon(shooter, run, shot);
        ASSERT_EQ(stage.m_CharaList.size(), before + c.count);
        if (!c.count) continue;
        const cNpcObj& made = stage.m_CharaList.back();
        EXPECT_EQ(made.m_Group, c.group);
        EXPECT_EQ(made.m_Facing, c.facing);
        // Beside the shooter, right of it: its picture's corner at (512, 480).
        EXPECT_EQ(made.m_X - made.m_PicOffX, 512);
        EXPECT_EQ(made.m_Y - made.m_PicOffY, 480);
        stage.EraseChara(stage.CharaNode(made));
    }
}

class ItemSummons : public ContactStage {
protected:
    static cEdItem Def()
    {
        cEdItem def;
        def.Clear();
        def.nGraphicNo = 3;
        def.nItemOption1 = 5;
        def.nItemOption2 = -2;
        return def;
    }
};

TEST_F(ItemSummons, ItemsAppearWithTheirOffsetAndLife)
{
    Build(3);
    cEdShot shot = ShotDef();
    shot.m_MoveTimeOn = 1;
    shot.m_MoveTime = 2;
    cEdItem def = Def();
    SummonItem(stage.m_ItemList, 640, 640, shot, def, stage.m_ItemSerial);
    ASSERT_EQ(stage.m_ItemList.size(), 1u);
    const cItemObj& item = stage.m_ItemList.front();
    EXPECT_EQ(item.m_X, 640 + item.m_PicOffX + 5);
    EXPECT_EQ(item.m_Y, 640 + item.m_PicOffY - 2);
    EXPECT_EQ(item.m_Life, 2 * 3 * 6);
    EXPECT_EQ(item.m_ObjNo, 0);
    EXPECT_EQ(stage.FindItemByNumber(0), &item);
    // Outside the map nothing appears and no number is used.
    SummonItem(stage.m_ItemList, -100, 640, shot, def, stage.m_ItemSerial);
    EXPECT_EQ(stage.m_ItemList.size(), 1u);
    EXPECT_EQ(stage.m_ItemSerial, 1);
}

TEST_F(ItemSummons, TheCommandTakesItsPalette)
{
    cNpcObj& shooter = AddChara(1, {480, 480, 32, 32});
    cEdItem common = Def();
    common.nGraphicNo = 8;
    g_CommonPalette.PaletteItems.push_back(common);
    g_Stage.PaletteItems.push_back(Def());
    cCommandRun run;
    run.m_Kind = 15;
    cEdShot shot = ShotDef();
    shot.m_Dir = 3;
    shot.m_SummonIndex = 1;
    FireItemSummon(shooter, run, shot);
    shot.m_SummonPalette = 1;
    FireItemSummon(shooter, run, shot);
    shot.m_SummonIndex = 2;
    FireItemSummon(shooter, run, shot);
    ASSERT_EQ(stage.m_ItemList.size(), 2u);
    EXPECT_EQ(stage.m_ItemList.front().m_GraphicNo, 8);
    EXPECT_EQ(stage.m_ItemList.back().m_GraphicNo, 3);
}

} // namespace
