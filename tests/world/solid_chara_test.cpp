// Solid characters against a moving character: pushed out at the sides,
// landing and riding, leaving the carrier, crushes and squeezes, the flight
// branch.

#include <gtest/gtest.h>

#include "world/contact_fixture.h"
#include "world/solid_charas.h"

namespace {

using test::CharaBox;
using test::ContactStage;

class SolidCharas : public ContactStage {
protected:
    cNpcObj& Solid(CharaBox box)
    {
        cNpcObj& s = AddChara(5, box);
        s.m_Def.bSolid = 1;
        return s;
    }

    int Collide() { return CollideSolidCharas(Hero(), stage.m_CharaList); }
};

TEST_F(SolidCharas, WalkingIntoOneStopsShortOfIt)
{
    cNpcObj& s = Solid({700, 600, 32, 32});
    // Moving right from 684 into the solid's left edge.
    PlaceHero(690, 600);
    Hero().m_SavedBox.x1 = 684;
    Hero().m_SpeedX = 6;
    Hero().m_InertiaX = 2;
    EXPECT_EQ(Collide(), 0);
    EXPECT_EQ(Hero().m_Right, s.m_X - 1.5);
    EXPECT_EQ(Hero().m_ContactR, 1);
    EXPECT_EQ(Hero().m_ContactL, 0);
    EXPECT_EQ(Hero().m_InertiaX, 0);
    EXPECT_EQ(Hero().m_Rider, 1);
    EXPECT_EQ(Triggers(Hero().m_ObjNo), (std::vector<int>{5}));

    // Moving left into a solid on the left: 1.5 pixels after its right edge.
    PlaceHero(725, 600);
    Hero().m_SpeedX = -6;
    Hero().m_ContactR = 0;
    EXPECT_EQ(Collide(), 0);
    EXPECT_EQ(Hero().m_X, s.m_Right + 1.5);
    EXPECT_EQ(Hero().m_ContactL, 1);
}

TEST_F(SolidCharas, ALandingRidesAndIsCarriedEverySubStep)
{
    cNpcObj& carrier = Solid({700, 600, 64, 32});
    // Falling onto its top, one pixel into it.
    PlaceHero(710, 578);
    Hero().m_SavedBox = {710, 570, 725, 593};
    Hero().m_SpeedY = 3;
    Hero().m_Jumping = 1;
    EXPECT_EQ(Collide(), 0);
    EXPECT_EQ(Hero().m_Riding, 1);
    EXPECT_EQ(Hero().m_Bottom, carrier.m_Y - 1);
    EXPECT_EQ(Hero().m_SpeedY, 0);
    EXPECT_EQ(Hero().m_Jumping, 0);
    EXPECT_EQ(Hero().m_CarrierNo, carrier.m_ObjNo);
    EXPECT_EQ(Triggers(carrier.m_ObjNo), (std::vector<int>{16, 17}));
    EXPECT_EQ(Triggers(Hero().m_ObjNo), (std::vector<int>{5, 6}));

    // The carrier moves by (3, -2); the rider follows it.
    for (int sub = 0; sub < 3; ++sub) {
        SCOPED_TRACE(sub);
        trace.Clear();
        MoveChara(carrier, carrier.m_X + 3, carrier.m_Y - 2);
        Hero().m_SpeedX = 0;
        CarryRider(Hero(), stage.m_CharaList);
        EXPECT_EQ(Hero().m_SpeedX, 3);
        EXPECT_EQ(Hero().m_SpeedY, -2);
        EXPECT_EQ(Triggers(carrier.m_ObjNo), (std::vector<int>{16, 17}));
        Hero().m_X += Hero().m_SpeedX;
        Hero().m_Y += Hero().m_SpeedY;
        Hero().OnMovedX();
        Hero().OnMovedY();
        EXPECT_EQ(Collide(), 0);
        EXPECT_EQ(Hero().m_Riding, 1);
        EXPECT_EQ(Hero().m_Bottom, carrier.m_Y - 1);
        EXPECT_EQ(Hero().m_CarrierBox.x1, carrier.m_X);
        EXPECT_EQ(Triggers(Hero().m_ObjNo), (std::vector<int>{5, 6}));
    }
}

TEST_F(SolidCharas, ARiderLeavesBeyondAFivePixelGap)
{
    cNpcObj& carrier = Solid({700, 600, 64, 32});
    struct Case {
        int gap;
        int riding;
    };
    for (const Case c : {Case{5, 1}, Case{6, 0}}) {
        SCOPED_TRACE(c.gap);
        PlaceHero(710, carrier.m_Y - 23 - c.gap);
        Hero().m_Riding = 1;
        Hero().m_Rider = 0;
        Hero().m_CarrierNo = carrier.m_ObjNo;
        Hero().m_SpeedY = 0.5;
        EXPECT_EQ(Collide(), 0);
        EXPECT_EQ(Hero().m_Riding, c.riding);
        EXPECT_EQ(Hero().m_Rider, 1 - c.riding);
        if (!c.riding) {
            EXPECT_EQ(Hero().m_SpeedY, 0);
        }
    }
    // Knocked upward: it leaves at once.
    PlaceHero(710, carrier.m_Y - 24);
    Hero().m_Riding = 1;
    Hero().m_KnockY = -1;
    Collide();
    EXPECT_EQ(Hero().m_Riding, 0);
}

TEST_F(SolidCharas, ARisingCarrierCrushesItsRiderAgainstAFallingSolid)
{
    cNpcObj& carrier = Solid({700, 600, 64, 32});
    carrier.m_SpeedY = -1;
    cNpcObj& above = Solid({690, 560, 64, 20});
    above.m_SpeedY = 1;
    PlaceHero(710, 577);
    Hero().m_Riding = 1;
    Hero().m_CarrierNo = carrier.m_ObjNo;
    Hero().m_SpeedY = -1;
    EXPECT_EQ(Collide(), 2);
    EXPECT_EQ(Hero().m_ContactU, 1);
    EXPECT_EQ(Hero().m_ContactD, 1);
}

TEST_F(SolidCharas, SqueezedFromBothSidesInTheAirGoesUnderNotDead)
{
    Solid({680, 590, 24, 20});
    Solid({712, 590, 24, 20});
    PlaceHero(700, 600);
    EXPECT_EQ(Collide(), 0);
    EXPECT_EQ(Hero().m_Y, 610);
    EXPECT_EQ(Hero().m_ContactL, 0);
    EXPECT_EQ(Hero().m_ContactR, 0);
    EXPECT_EQ(Hero().m_JumpEnded, 1);
    EXPECT_EQ(Hero().m_JumpLatch, 1);
}

TEST_F(SolidCharas, AHeadKnockPushesDownOnlyWhereThereIsRoom)
{
    cNpcObj& above = Solid({700, 560, 64, 32});
    above.m_SpeedY = -2;
    PlaceHero(710, 585);
    Hero().m_SavedBox = {710, 590, 725, 613};
    Hero().m_SpeedY = -3;
    EXPECT_EQ(Collide(), 0);
    EXPECT_EQ(Hero().m_Y, above.m_Bottom + 1);
    EXPECT_EQ(Hero().m_SpeedY, -2);

    // A block under the pushed box keeps it where it is.
    PlaceHero(710, 585);
    BlockCell& cell = stage.CellAt(710 >> 5, 585 >> 5);
    cell.nGraphicNo = 1;
    cell.nHitMode = 1;
    Hero().m_SpeedY = -3;
    Collide();
    EXPECT_EQ(Hero().m_Y, 585);
}

TEST_F(SolidCharas, FlyingCharactersArePushedOutOrKilled)
{
    Solid({700, 600, 32, 32});
    Hero().SetPlayerFlyMode(2, 0);
    // Overlapping the solid's left side by 4 pixels, centred on it.
    PlaceHero(688, 604);
    Hero().m_SpeedX = 1;
    EXPECT_EQ(Collide(), 0);
    EXPECT_EQ(Hero().m_X, 700 - 16);
    EXPECT_EQ(Hero().m_ContactR, 1);

    Hero().SetPlayerFlyMode(3, 0);
    PlaceHero(688, 604);
    EXPECT_EQ(Collide(), 2);

    Hero().SetPlayerFlyMode(1, 0);
    PlaceHero(688, 604);
    EXPECT_EQ(Collide(), 0);
    EXPECT_EQ(Hero().m_X, 688);
    EXPECT_EQ(Triggers(Hero().m_ObjNo), (std::vector<int>{5, 5}));
}

TEST_F(SolidCharas, OverlapAndCornerTests)
{
    cNpcObj& a = Solid({700, 600, 32, 32});
    Solid({732, 600, 32, 32});
    PlaceHero(720, 604);
    EXPECT_EQ(OverlapsSolidChara(Hero(), stage.m_CharaList), 1);
    EXPECT_EQ(OverlapsSolidCharaExcept(Hero(), stage.m_CharaList, a.m_ObjNo), 1);
    PlaceHero(704, 604);
    EXPECT_EQ(OverlapsSolidCharaExcept(Hero(), stage.m_CharaList, a.m_ObjNo), 0);
    // Every corner inside one solid or the other: crushed.
    EXPECT_EQ(CornersInSolidCharas(Hero(), {720, 604, 735, 627}), 1);
    PlaceHero(704, 620);
    EXPECT_EQ(CornersInSolidCharas(Hero(), {704, 620, 719, 643}), 0);
    // A dying or absent solid counts for nothing.
    a.m_Dying = 1;
    PlaceHero(704, 604);
    EXPECT_EQ(OverlapsSolidChara(Hero(), stage.m_CharaList), 0);
}

TEST_F(SolidCharas, WithoutSolidsOnlyTheCrushByContactsAndTheNudgeRemain)
{
    // No solid character on the stage: contacts on both ends of an axis
    // still crush, and a box left in a block is nudged out.
    struct Case {
        const char* what;
        int l, r, u, d;
        int result;
    };
    const Case cases[] = {
        {"left and right", 1, 1, 0, 0, 2},
        {"up and down", 0, 0, 1, 1, 2},
        {"one side", 1, 0, 0, 0, 0},
        {"none", 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlaceHero(710, 585);
        Hero().m_ContactL = c.l;
        Hero().m_ContactR = c.r;
        Hero().m_ContactU = c.u;
        Hero().m_ContactD = c.d;
        EXPECT_EQ(Collide(), c.result);
        EXPECT_EQ(Hero().m_Y, 585) << "no block: no nudge";
    }
    // Landed into a block: nudged down 0.1 pixel at a time, 15 times at most.
    PlaceHero(710, 585);
    BlockCell& cell = stage.CellAt(710 >> 5, 585 >> 5);
    cell.nGraphicNo = 1;
    cell.nHitMode = 1;
    Hero().ClearContacts();
    Hero().m_ContactD = 1;
    EXPECT_EQ(Collide(), 0);
    EXPECT_NEAR(Hero().m_Y, 586.5, 1e-9);
}

} // namespace
