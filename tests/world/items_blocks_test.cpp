// Items the player touches, the effects of the block under its feet, and
// the items that blocks give.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "data/ed_command.h"
#include "world/contact_fixture.h"
#include "world/items_blocks.h"

namespace {

using test::ContactStage;

// An item command list that clears the stage (flow/item kind 2).
std::vector<cEdCommand> ClearCommands()
{
    cEdCommand clear;
    clear.Clear();
    clear.m_ListKind = 1;
    clear.m_Kind = 2;
    clear.m_Params.assign(5, 0);
    return {clear};
}

cEdItem ItemDef(int takeMode, int sound = 3)
{
    cEdItem def;
    def.Clear();
    def.nGraphicNo = 4;
    def.nTakeMode = static_cast<std::int8_t>(takeMode);
    def.nSound = static_cast<std::int16_t>(sound);
    return def;
}

class BlockEffects : public ContactStage {
protected:
    // The player standing on cell (20, 20) holding an effect.
    BlockCell& StandOn(int effect, int value)
    {
        BlockCell& cell = stage.CellAt(20, 20);
        cell.nGraphicNo = 1;
        cell.nHitMode = 1;
        cell.nEffect = static_cast<std::int8_t>(effect);
        cell.nEffectValue = value;
        Hero().m_UnderFeet = &cell;
        return cell;
    }
};

TEST_F(BlockEffects, ASpringUsesTheLowByteOfItsValueAsHeight)
{
    for (const int value : {5, 261}) {
        StandOn(1, value);
        Hero().m_SpeedY = 0;
        Hero().m_JumpReady = 1;
        services.m_Sounds.clear();
        EXPECT_EQ(ApplyBlockEffect(Hero()), 0);
        EXPECT_EQ(Hero().m_SpeedY, Hero().JumpSpeedHbl(5)) << value;
        EXPECT_EQ(Hero().m_JumpEnded, 1);
        EXPECT_EQ(Hero().m_Jumping, 1);
        EXPECT_EQ(Hero().m_JumpReady, 0);
        EXPECT_EQ(Hero().m_JumpHold, StepsToApex(Hero().JumpSpeedHbl(5)));
        EXPECT_EQ(services.m_Sounds, (std::vector<std::uint32_t>{10}));
    }
    // A negative height throws nothing.
    StandOn(1, 0xF6);
    Hero().m_SpeedY = 0;
    services.m_Sounds.clear();
    ApplyBlockEffect(Hero());
    EXPECT_EQ(Hero().m_SpeedY, 0);
    EXPECT_TRUE(services.m_Sounds.empty());
}

TEST_F(BlockEffects, JumpingIsForbiddenUntilThePlayerLandsElsewhere)
{
    StandOn(2, 0);
    ApplyBlockEffect(Hero());
    EXPECT_EQ(Hero().m_JumpForbid, 1);
    Hero().m_UnderFeet = nullptr;
    ApplyBlockEffect(Hero());
    EXPECT_EQ(Hero().m_JumpForbid, 1);
    StandOn(0, 0);
    ApplyBlockEffect(Hero());
    EXPECT_EQ(Hero().m_JumpForbid, 0);
}

TEST_F(BlockEffects, SpeedAndPushesLastOneFrameAndAreRenewed)
{
    Build(2);
    struct Case {
        int effect;
        int value;
        double speedBefore;
        double inertia;
        double speedAfter;
        double inertiaAfter;
    };
    const Case cases[] = {
        {3, 50, 2.0, 1.0, 1.0, 1.0},
        {4, 10, 2.0, 1.0, 2.0 - 0.5, 0.0},
        {4, 10, 2.0, -1.0, 2.0 - 0.5, -1.0},
        {5, 10, -2.0, -1.0, -2.0 + 0.5, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.effect);
        StandOn(c.effect, c.value);
        Hero().m_BlockEffectOn = 0;
        for (int sub = 0; sub < 4; ++sub) {
            Hero().m_SpeedX = c.speedBefore;
            Hero().m_InertiaX = c.inertia;
            Hero().m_SpeedY = 0.25;
            ApplyBlockEffect(Hero());
            EXPECT_EQ(Hero().m_SpeedX, c.speedAfter);
            EXPECT_EQ(Hero().m_InertiaX, c.inertiaAfter);
            // The frame's last sub-step ends the effect with a nudge down.
            EXPECT_EQ(Hero().m_SpeedY, sub % 2 ? 1.25 : 0.25);
        }
    }
}

TEST_F(BlockEffects, AFlyingPlayerGetsNoEffectAndNoItem)
{
    StandOn(1, 5);
    stage.CellAt(20, 20).nItemKind = 1;
    g_CommonPalette.PaletteItems.push_back(ItemDef(0));
    Hero().SetPlayerFlyMode(1, 0);
    Hero().m_UnderFeet = &stage.CellAt(20, 20);
    Hero().m_SpeedY = 0;
    EXPECT_EQ(ApplyBlockEffect(Hero()), 0);
    EXPECT_EQ(TakeBlockItem(Hero()), 0);
    EXPECT_EQ(Hero().m_SpeedY, 0);
    EXPECT_TRUE(services.m_Sounds.empty());
}

class BlockItems : public BlockEffects {
protected:
    void SetUp() override
    {
        BlockEffects::SetUp();
        g_CommonPalette.PaletteItems.push_back(ItemDef(0));
        for (int column : {20, 21}) {
            BlockCell& cell = stage.CellAt(column, 20);
            cell.nGraphicNo = 1;
            cell.nHitMode = 1;
            cell.nItemKind = 1;
            cell.nItemIndex = 1;
        }
        StandAt(20);
        Hero().m_Airborne = 0;
    }

    void StandAt(int column)
    {
        Hero().m_PrevLastBlock = Hero().m_LastBlock;
        Hero().m_UnderFeet = &stage.CellAt(column, 20);
        Hero().m_LastBlock = Hero().m_UnderFeet;
    }

    // The sub-steps (from 1) on which the block gave its item.
    std::vector<int> Gifts(int subSteps, int moveAt = -1)
    {
        std::vector<int> out;
        for (int sub = 1; sub <= subSteps; ++sub) {
            if (sub == moveAt)
                StandAt(21);
            else
                StandAt(Hero().m_UnderFeet == &stage.CellAt(21, 20) ? 21 : 20);
            services.m_Sounds.clear();
            EXPECT_EQ(TakeBlockItem(Hero()), 0);
            if (!services.m_Sounds.empty()) out.push_back(sub);
        }
        return out;
    }
};

TEST_F(BlockItems, ABlockGivesEverySixtyFramesAndAtOnceOnAnotherBlock)
{
    EXPECT_EQ(Gifts(130), (std::vector<int>{1, 61, 121}));
    SetUp();
    EXPECT_EQ(Gifts(30, 10), (std::vector<int>{1, 11}));
}

TEST_F(BlockItems, ALongFallEndsTheDelay)
{
    Gifts(1);
    Hero().m_Airborne = 1;
    EXPECT_EQ(TakeBlockItem(Hero()), 0);
    EXPECT_EQ(Hero().m_ItemBlockDelay, 0);
}

TEST_F(BlockItems, AGiftThatClearsTheStageEndsTheCall)
{
    g_CommonPalette.PaletteItems[1].Commands = ClearCommands();
    EXPECT_EQ(TakeBlockItem(Hero()), 1);
    EXPECT_EQ(Hero().m_ItemBlockDelay, 0);
}

class ItemPickUp : public ContactStage {
protected:
    cItemObj& Lying(const cEdItem& def, double x, double y)
    {
        cItemObj item;
        cEdItem copy = def;
        item.SetupItem(stage.m_ItemSerial++, copy, 0);
        item.m_X = x;
        item.m_Y = y;
        item.UpdateEdgeX(-1);
        item.UpdateEdgeY(-1);
        item.m_Present = 1;
        return stage.AddItem(item);
    }
};

TEST_F(ItemPickUp, TakeRulesOnceAlwaysAndNever)
{
    PlaceHero(600, 600);
    const int once = Lying(ItemDef(0, 1), 600, 600).m_ObjNo;
    const int again = Lying(ItemDef(1, 2), 604, 600).m_ObjNo;
    Lying(ItemDef(2, 3), 600, 604);
    std::vector<std::uint32_t> sounds;
    for (int sub = 0; sub < 3; ++sub) {
        services.m_Sounds.clear();
        EXPECT_EQ(PickUpItems(Hero()), 0);
        sounds.insert(sounds.end(), services.m_Sounds.begin(), services.m_Sounds.end());
    }
    // The take-once item once, the take-again item once while it is touched.
    EXPECT_EQ(sounds, (std::vector<std::uint32_t>{17, 18}));
    EXPECT_EQ(stage.FindItemByNumber(once), nullptr);
    EXPECT_EQ(stage.m_ItemList.size(), 2u);
    // Trigger 8 fires on every sub-step of a contact with an item that can be taken.
    const auto t = Triggers(Hero().m_ObjNo);
    EXPECT_EQ(std::count(t.begin(), t.end(), 8), 4);
    EXPECT_EQ(Hero().m_TouchedItems, (std::vector<std::int32_t>{again}));
    // Leaving and touching again gives it again.
    PlaceHero(900, 600);
    PickUpItems(Hero());
    EXPECT_TRUE(Hero().m_TouchedItems.empty());
    PlaceHero(600, 600);
    services.m_Sounds.clear();
    PickUpItems(Hero());
    EXPECT_EQ(services.m_Sounds, (std::vector<std::uint32_t>{18}));
}

TEST_F(ItemPickUp, ATakeOnceItemGoesEvenWhenItsGiftEndsThePlay)
{
    PlaceHero(600, 600);
    cEdItem clearing = ItemDef(0);
    clearing.Commands = ClearCommands();
    Lying(clearing, 600, 600);
    Lying(ItemDef(0), 600, 600);
    EXPECT_EQ(PickUpItems(Hero()), 1);
    EXPECT_EQ(stage.m_ItemList.size(), 1u);
    // A gift after which the player has no hit points left.
    Hero().m_Hp = 0;
    EXPECT_EQ(PickUpItems(Hero()), 2);
    EXPECT_TRUE(stage.m_ItemList.empty());
}

TEST_F(ItemPickUp, WhatGivesNothing)
{
    cItemObj item;
    cEdItem def = ItemDef(0);
    item.SetupItem(0, def, 0);
    item.m_Present = 1;
    EXPECT_EQ(GiveItem(item, Hero()), 0);
    EXPECT_EQ(services.m_Sounds, (std::vector<std::uint32_t>{19}));
    EXPECT_EQ(stage.m_MessageList.size(), 1u);
    services.m_Sounds.clear();
    struct Case {
        const char* what;
        int graphic;
        int takeMode;
        int present;
    };
    for (const Case c : {Case{"no graphic", 0, 0, 1}, Case{"never taken", 4, 2, 1},
                         Case{"not present", 4, 0, 0}}) {
        cEdItem d = ItemDef(c.takeMode);
        d.nGraphicNo = static_cast<std::int16_t>(c.graphic);
        d.Commands = ClearCommands();
        cItemObj it;
        it.SetupItem(0, d, 0);
        it.m_Present = c.present;
        EXPECT_EQ(GiveItem(it, Hero()), 0) << c.what;
    }
    EXPECT_TRUE(services.m_Sounds.empty());
}

} // namespace
