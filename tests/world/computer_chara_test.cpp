// Computer characters: their set-up from a definition, their boxes at any
// scale, whether they act in a sub-step (activity range, area switches
// shared by all, the activation that once true stays true, jumps and falls
// out of range) and the activity of items and shots.

#include <gtest/gtest.h>

#include <vector>

#include "world/activity.h"
#include "world/flow_fixture.h"

namespace {

class ComputerChara : public test::FlowFixture {};

TEST_F(ComputerChara, SetUpFromItsDefinition)
{
    cEdChara& walker = AddChara(20, 10);
    walker.nFacing = 1;
    cEdChara& flyer = AddChara(22, 5);
    flyer.nFlying = 1;
    cEdChara& solid = AddChara(24, 10);
    solid.bSolid = 1;
    Start();
    cNpcObj& w = Chara(0);
    EXPECT_EQ(w.m_Operator, 1);
    EXPECT_EQ(w.m_Facing, 1);
    EXPECT_EQ(w.m_Anime.CurrentSequence(), 1) << "walking";
    EXPECT_EQ(Chara(1).m_Anime.CurrentSequence(), 0) << "flying";
    // The body from the stage's sizes, on the cell's bottom; the contact box
    // and the shot box around it.
    EXPECT_EQ(w.m_Width, g_Stage.nCharaBoxW);
    EXPECT_EQ(w.m_PicOffY, 32 - g_Stage.nCharaBoxH);
    EXPECT_EQ(w.m_HitA.m_Width, g_Stage.nCharaHitW);
    EXPECT_EQ(w.m_HitB.m_Width, g_Stage.nCharaShotHitW);
    EXPECT_DOUBLE_EQ(w.m_HitA.m_Rect.x1, static_cast<int>(w.m_X) + w.m_HitA.m_OffX);
    EXPECT_EQ(Chara(1).m_Height, g_Stage.nCharaFlyBoxH);
    // Without contact: a whole cell of body, no contact box, the cell for shots.
    cNpcObj& s = Chara(2);
    EXPECT_EQ(s.m_Width, 32);
    EXPECT_EQ(s.m_HitA.m_Width, 0);
    EXPECT_EQ(s.m_HitB.m_Width, 32);
    // Every copy starts aiming at the player, who lists them all.
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(HoldsChara(Player().m_TargetedBy, Chara(i).m_ObjNo));
}

TEST_F(ComputerChara, BoxesFollowTheScale)
{
    struct Case {
        int solid, scale;
        int contactW, shotW;
    };
    const Case cases[] = {{0, 1, 12, 30}, {0, 2, 24, 60}, {1, 1, 0, 32}, {1, 2, 64, 64}};
    for (const Case& c : cases) {
        g_Stage.PlacedCharas.resize(1);
        cEdChara& def = AddChara(20, 5);
        def.bSolid = static_cast<std::uint8_t>(c.solid);
        def.nSize = static_cast<std::uint8_t>(c.scale);
        m_Play = std::make_unique<cGamePlay>();
        Start();
        EXPECT_EQ(Chara(0).m_HitA.m_Width, c.contactW) << c.solid << " " << c.scale;
        EXPECT_EQ(Chara(0).m_HitB.m_Width, c.shotW) << c.solid << " " << c.scale;
    }
}

TEST_F(ComputerChara, CarriedItemIsAlwaysItsOwn)
{
    cNpcObj first;
    cNpcObj second;
    Start();
    cItemObj item;
    cEdItem def;
    def.Clear();
    def.nGraphicNo = 5;
    item.SetupItem(3, def, 1);
    cEdChara chara = g_Stage.PlacedCharas.front();
    chara.nOperator = 1;
    first.SetupNpc(7, chara, &item, 0, 0, 0);
    EXPECT_EQ(first.m_CarriedItem.m_GraphicNo, 5);
    EXPECT_EQ(first.m_CarriedItem.m_Carried, 1);
    // Set up again without one, it carries nothing.
    first.SetupNpc(8, chara, nullptr, 0, 0, 0);
    EXPECT_EQ(first.m_CarriedItem.m_GraphicNo, 0);
    EXPECT_EQ(first.m_CarriedItem.m_Def.nGraphicNo, 0);
    EXPECT_EQ(first.m_CarriedItem.m_Carried, 0);
    second.SetupNpc(9, chara, nullptr, 0, 0, 0);
    EXPECT_EQ(second.GetCarriedItem()->m_GraphicNo, 0);
}

class Activity : public test::FlowFixture {
protected:
    // Characters on the screen's row of the hero and far to its right.
    void SetUp() override
    {
        FlowFixture::SetUp();
        g_Stage.nWidth = 200;
        g_Stage.nOuterX = 200 * 32;
        Floor(11, 0, 199);
    }
};

TEST_F(Activity, ActivityRangesAndSharedSwitches)
{
    AddChara(8, 10);                     // on screen
    AddChara(150, 10);                   // far away
    AddChara(150, 10).nCharaOption8 = 3; // always in range
    AddChara(150, 10).nCharaOption8 = 2; // only y tested: the same row
    // Far away, listed first, and acting on switch 7, which a character
    // later in the list raises from the screen in the same sub-step.
    cEdChara& listening = AddChara(160, 10);
    listening.bAreaSwitch = 1;
    listening.nAreaSwitchNo = 7;
    cEdChara& lit = AddChara(10, 10);
    lit.bAreaSwitch = 1;
    lit.nAreaSwitchNo = 7;
    Start();
    for (cNpcObj& chara : Play().m_CharaList)
        chara.m_Airborne = 0; // all standing
    UpdateActivity();
    const int acting[] = {1, 0, 1, 1, 1, 1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Chara(i).m_Acting, acting[i]) << i;
    EXPECT_EQ(Play().m_FlowFlags[7], 1);
    // The switch is set anew every sub-step: without the lit one in range,
    // the listener stops.
    Chara(5).m_X = 4000;
    Chara(5).OnMovedX();
    UpdateActivity();
    EXPECT_EQ(Play().m_FlowFlags[7], 0);
    EXPECT_EQ(Chara(4).m_Acting, 0);
    // A character whose conditions fail is absent and does not act.
    cEdCond never;
    never.Clear();
    never.m_Kind = 2;
    never.m_Value = 1;
    Chara(0).m_Def.Conds = {never};
    UpdateActivity();
    EXPECT_EQ(Chara(0).m_Present, 0);
    EXPECT_EQ(Chara(0).m_Acting, 0);
}

TEST_F(Activity, OnceActiveAlwaysActiveAndFallsFinish)
{
    AddChara(8, 10).nActivateMode = 1; // latches
    AddChara(9, 10);                   // walking, no latch
    AddChara(10, 5).nFlying = 1;       // flying, no latch
    Start();
    for (cNpcObj& chara : Play().m_CharaList)
        chara.m_Airborne = 0; // all standing
    UpdateActivity();
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(Chara(i).m_Acting, 1) << i;
    // The view moves far away.
    Play().m_ScrollX.m_Pos = 4000;
    Chara(1).m_Jumping = 1; // in the middle of a jump
    UpdateActivity();
    EXPECT_EQ(Chara(0).m_Acting, 1) << "the latch holds";
    EXPECT_EQ(Chara(1).m_Acting, 1) << "a walker finishes its jump";
    EXPECT_EQ(Chara(2).m_Acting, 0) << "a flyer stops at once";
    Chara(1).m_Jumping = 0;
    Chara(1).m_Airborne = 1;
    UpdateActivity();
    EXPECT_EQ(Chara(1).m_Acting, 1) << "and its fall, having acted before";
    Chara(1).m_Airborne = 0;
    UpdateActivity();
    EXPECT_EQ(Chara(1).m_Acting, 0);
    // A walker that never acted does not start to by falling.
    Chara(2).m_Flying = 0;
    Chara(2).m_HasActed = 0;
    Chara(2).m_Airborne = 1;
    UpdateActivity();
    EXPECT_EQ(Chara(2).m_Acting, 0);
}

// Opening a sub-step, the walk also starts each character's sub-step; one
// whose life runs out leaves only once the update is done, so that a later
// character's conditions still find it as their target.
TEST_F(Activity, ACharacterWhoseLifeRunsOutLeavesAfterTheUpdate)
{
    AddChara(8, 10);
    cEdChara& watcher = AddChara(9, 10);
    cEdCond targetAlive;
    targetAlive.Clear();
    targetAlive.m_Kind = 4; // its target's HP at least 1
    targetAlive.m_Owner = 1;
    targetAlive.m_Item = 1;
    targetAlive.m_Op = 2;
    targetAlive.m_Value = 1;
    watcher.Conds = {targetAlive};
    Start();
    cNpcObj& expiring = Chara(0);
    const int expiringNo = expiring.m_ObjNo;
    Play().SetTarget(Chara(1), expiringNo);
    expiring.m_Life = 0;
    expiring.m_ContactL = 1;
    Chara(1).m_ContactL = 1;
    Chara(1).m_ProtectTime = 2;
    UpdateActivity(ShotActivity::kNow, CharaStart::kHousekeeping);
    ASSERT_EQ(Play().m_CharaList.size(), 2u) << "lives are held";
    EXPECT_EQ(expiring.m_Life, 0);
    EXPECT_EQ(expiring.m_ContactL, 0);
    EXPECT_EQ(Chara(1).m_ProtectTime, 1);
    UpdateActivity(ShotActivity::kNow, CharaStart::kLifeAndHousekeeping);
    EXPECT_EQ(Play().FindCharaByNumber(expiringNo), nullptr) << "its life ran out";
    ASSERT_EQ(Play().m_CharaList.size(), 1u);
    EXPECT_EQ(Chara(0).m_Present, 1) << "its target was still there for its conditions";
    EXPECT_EQ(Chara(0).m_TargetNo, -1) << "and the target link went with it";
    EXPECT_EQ(Chara(0).m_ProtectTime, 0);
    UpdateActivity(ShotActivity::kNow, CharaStart::kLifeAndHousekeeping);
    EXPECT_EQ(Chara(0).m_Present, 0) << "no target, no presence";
}

TEST_F(Activity, ItemsAndShotsArePresentByTheirConditions)
{
    AddItem(8, 10);
    cEdItem& hidden = AddItem(9, 10);
    cEdCond cond;
    cond.Clear();
    cond.m_Kind = 2;
    cond.m_Value = 1;
    hidden.Conds = {cond};
    AddItem(150, 10);
    Start();
    UpdateActivity();
    auto it = Play().m_ItemList.begin();
    EXPECT_EQ(it->m_Present, 1);
    EXPECT_EQ(it->m_OnScreen, 1);
    ++it;
    EXPECT_EQ(it->m_Present, 0);
    ++it;
    EXPECT_EQ(it->m_Present, 1);
    EXPECT_EQ(it->m_OnScreen, 0);
    Play().m_StageVars[0] = 1;
    UpdateActivity();
    EXPECT_EQ(std::next(Play().m_ItemList.begin())->m_Present, 1);
}

TEST_F(Activity, OnScreenFlagsMeetTheViewAtItsEdges)
{
    AddChara(8, 10);
    AddItem(9, 10);
    Start();
    cRunningStage& stage = Play();
    stage.AddShot(cShotObj());
    stage.m_ScrollX.m_Pos = 100.5;
    stage.m_ScrollY.m_Pos = 20.25;
    // Boxes of 32 x 32 just outside and just inside each edge of the view.
    struct Case {
        double x, y;
        int shown;
    };
    const Case cases[] = {
        {69.5, 100, 1},   {69.0, 100, 0},   // left edge: the right side at 100.5
        {740.0, 100, 1},  {740.5, 100, 0},  // right edge at 740.5
        {300, -10.75, 1}, {300, -11.0, 0},  // top edge: the bottom at 20.25
        {300, 500.0, 1},  {300, 500.25, 0}, // bottom edge at 500.25
    };
    for (const Case& c : cases) {
        std::vector<cGameObj*> objects = {&Chara(0), &stage.m_ItemList.front(),
                                          &stage.m_ShotList.front()};
        for (cGameObj* obj : objects) {
            obj->m_X = c.x;
            obj->m_Right = c.x + 31;
            obj->m_Y = c.y;
            obj->m_Bottom = c.y + 31;
        }
        UpdateActivity();
        for (cGameObj* obj : objects) {
            EXPECT_EQ(obj->m_OnScreen, c.shown) << c.x << " " << c.y;
            EXPECT_EQ(obj->IsOnScreen(), c.shown) << c.x << " " << c.y;
        }
    }
}

} // namespace
