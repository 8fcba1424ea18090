// The player's body: its set-up from the hero, its flying mode at run time,
// its boxes and their display, the view that follows it, its screen box
// and its moves.

#include <gtest/gtest.h>

#include <vector>

#include "media/bitmap_table.h"
#include "support/world_fixture.h"
#include "world/play_screen.h"

namespace {

class PlayerBody : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        cEdStage data = test::MakeStage(60, 40, 20, 20);
        data.nPlayerBoxW = 16;
        data.nPlayerBoxH = 24;
        data.nPlayerFlyBoxW = 20;
        data.nPlayerFlyBoxH = 20;
        data.bPlayerFlyBoxBottom = 0;
        data.nPlayerPickW = 40;
        data.nPlayerPickH = 40;
        Start(data);
    }
};

TEST_F(PlayerBody, SetUpFromTheHero)
{
    cPlayerObj& p = player();
    EXPECT_EQ(p.m_Width, 16);
    EXPECT_EQ(p.m_Height, 24);
    EXPECT_EQ(p.m_PicOffX, 8) << "centred in the 32-pixel cell";
    EXPECT_EQ(p.m_PicOffY, 8) << "on the cell's bottom";
    EXPECT_EQ(p.m_Input, &g_InputState[0]);
    EXPECT_EQ(p.m_JumpReady, 1);
    EXPECT_DOUBLE_EQ(p.m_X, (20 + 10) * 32 + 8 + 0.5) << "the picture's top-left on the cell's";
    EXPECT_DOUBLE_EQ(p.m_Y, (20 + 10) * 32 + 8);
    EXPECT_EQ(p.m_Airborne, 1);
    EXPECT_EQ(p.m_WallSide, -1);
    EXPECT_EQ(p.m_Hp, 10);
}

TEST_F(PlayerBody, FlyingModeAtRunTime)
{
    cPlayerObj& p = player();
    p.m_SpeedX = 3;
    p.m_InertiaY = 2;
    p.SetPlayerFlyMode(1, 0);
    EXPECT_EQ(p.m_Flying, 1);
    EXPECT_EQ(p.m_CrushGrace, 2);
    EXPECT_EQ(p.m_Width, 20);
    EXPECT_EQ(p.m_PicOffY, 6) << "centred: (32 - 20) >> 1";
    EXPECT_DOUBLE_EQ(p.m_SpeedX, 3) << "taking off keeps the speeds";
    p.m_CrushGrace = 0;
    p.SetPlayerFlyMode(2, 0);
    EXPECT_EQ(p.m_CrushGrace, 0) << "still flying: no grace";
    p.SetPlayerFlyMode(0, 0);
    EXPECT_EQ(p.m_CrushGrace, 2);
    EXPECT_EQ(p.m_SpeedX, 0) << "landing from flight stops the player dead";
    EXPECT_EQ(p.m_InertiaY, 0);
    p.m_Def.nSize = 2;
    p.SetPlayerFlyMode(0, 1);
    EXPECT_EQ(p.m_Width, 32);
    EXPECT_EQ(p.m_ItemBox.m_Width, 80);
}

TEST_F(PlayerBody, BoxDisplayIsSortedLargestFirstKeepingTheOrderOfEquals)
{
    cPlayerObj& p = player();
    std::vector<int> kinds;
    for (const BoxDisplay& d : p.m_BoxDisplay)
        kinds.push_back(d.m_Kind);
    // Item 40 x 40, then the body 16 x 24 and the contact box 16 x 24 (equal:
    // body first), then the shot box 12 x 8.
    EXPECT_EQ(kinds, (std::vector<int>{2, 0, 1, 3}));
}

TEST_F(PlayerBody, TheViewFollowsWithinItsLimits)
{
    cPlayerObj& p = player();
    cScrollAxis& x = stage->m_ScrollX;
    p.m_X = 1000;
    p.OnMovedX();
    EXPECT_DOUBLE_EQ(x.m_Pos, 1000 - (320 - 8));
    p.m_X = 330;
    p.OnMovedX();
    EXPECT_EQ(x.m_Pos, 320);
    p.m_X = (60 + 10) * 32 - 20;
    p.OnMovedX();
    EXPECT_EQ(x.m_Pos, (60 + 10) * 32 - 640);
    // A range smaller than the view: the minimum wins.
    x.m_Max = 700;
    p.m_X = 900;
    p.OnMovedX();
    EXPECT_EQ(x.m_Pos, 320);
    // An auto-scrolling axis does not follow.
    x.m_Auto = 1;
    x.m_Pos = 500;
    p.m_X = 1500;
    p.OnMovedX();
    EXPECT_EQ(x.m_Pos, 500);
}

TEST_F(PlayerBody, AWalkingPlayerStaysInTheStageAFlyingOneInTheView)
{
    cPlayerObj& p = player();
    p.m_X = 100;
    p.OnMovedX();
    EXPECT_EQ(p.m_X, 320);
    cScrollAxis& x = stage->m_ScrollX;
    x.m_Auto = 1;
    x.m_Min = 400;
    x.m_Max = 1040;
    p.SetPlayerFlyMode(1, 0);
    p.m_X = 350;
    p.OnMovedX();
    EXPECT_EQ(p.m_X, 400);
}

TEST_F(PlayerBody, ScreenBoxRoundsAnAutoScrollingAxisSeparately)
{
    cPlayerObj& p = player();
    p.m_X = 400.7;
    stage->m_ScrollX.m_Pos = 100.6;
    p.UpdatePlayerScreenBox();
    EXPECT_EQ(p.m_ScrLeft, 292) << "int(400.7 - 100.6 - 8)";
    stage->m_ScrollX.m_Auto = 1;
    p.UpdatePlayerScreenBox();
    EXPECT_EQ(p.m_ScrLeft, 292) << "400 - 100 - 8";
    p.m_X = 400.2;
    p.UpdatePlayerScreenBox();
    EXPECT_EQ(p.m_ScrLeft, 292);
    stage->m_ScrollX.m_Auto = 0;
    p.UpdatePlayerScreenBox();
    EXPECT_EQ(p.m_ScrLeft, 291);
}

TEST_F(PlayerBody, FallingOutOfTheStageIsADeathButAFlyerIsHeld)
{
    cPlayerObj& p = player();
    p.m_Y = (40 + 10) * 32 - 10;
    p.m_SpeedY = 5;
    EXPECT_EQ(p.MoveY(), 7);
    EXPECT_DOUBLE_EQ(p.m_Bottom, (40 + 10) * 32 - 1) << "put back at the stage's bottom edge";
    p.SetPlayerFlyMode(1, 0);
    p.m_Y = (40 + 10) * 32 - 10;
    p.m_SpeedY = 5;
    EXPECT_NE(p.MoveY(), 7);
}

TEST_F(PlayerBody, ASpeedBlockGrowsTheInertiaInItsDirection)
{
    cPlayerObj& p = player();
    p.m_InertiaX = 1;
    p.m_SpeedX = 0;
    p.m_BlockEffectOn = 1;
    p.m_BlockEffect = 3;
    p.m_SpeedFactor = 2;
    const double x = p.m_X;
    p.MoveX();
    const double grow = cGameObj::FrameToSubStep(p.m_AccelUnit);
    EXPECT_DOUBLE_EQ(p.m_InertiaX, 1 + grow);
    EXPECT_DOUBLE_EQ(p.m_X, x + 1 + grow);
    // A running knock-back takes over the speed.
    p.m_KnockX = -2;
    p.MoveX();
    EXPECT_DOUBLE_EQ(p.m_SpeedX, -2);
}

TEST_F(PlayerBody, TouchedItemsByNumber)
{
    cPlayerObj& p = player();
    EXPECT_EQ(p.IsNewItemContact(3), 1);
    p.m_TouchedItems = {3, 5, 3};
    EXPECT_EQ(p.IsNewItemContact(3), 0);
    p.ForgetItemContact(3);
    EXPECT_EQ(p.m_TouchedItems, std::vector<std::int32_t>{5});
}

TEST_F(PlayerBody, AutoScrollingLayersWrapAroundTheirPicture)
{
    cEdLayer layer;
    layer.SetDefaults();
    layer.bAutoX = 1;
    layer.dFactorX = 3;
    layer.bAutoY = 1;
    layer.dFactorY = -40;
    g_Stage.Layers = {layer};
    g_BitmapSD[55].width = 100;
    g_BitmapSD[55].height = 60;
    StepLayers();
    EXPECT_DOUBLE_EQ(g_Stage.Layers[0].dOffsetX, 97);
    EXPECT_DOUBLE_EQ(g_Stage.Layers[0].dOffsetY, 40);
    StepLayers();
    EXPECT_DOUBLE_EQ(g_Stage.Layers[0].dOffsetX, 94);
    EXPECT_DOUBLE_EQ(g_Stage.Layers[0].dOffsetY, 20);
    // A layer without a picture moves but has nothing to wrap around.
    g_BitmapSD[55].width = 0;
    g_BitmapSD[55].height = 0;
    g_Stage.Layers[0].dOffsetX = 0;
    StepLayers();
    EXPECT_DOUBLE_EQ(g_Stage.Layers[0].dOffsetX, -3);
}

} // namespace
