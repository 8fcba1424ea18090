// Shot objects and sword swings: set-up, range and time limits, the scroll,
// the world's edge, blocks, and the parts of a swing.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <vector>

#include "contact_fixture.h"
#include "data/ed_command.h"
#include "data/ed_sword_type.h"
#include "world/command_object.h"
#include "world/flow_run.h"
#include "world/shot_obj.h"

namespace {

using test::ContactStage;

class Shots : public ContactStage {
protected:
    // A shot of the shooter set up from a request.
    cShotObj Fire(cCharaObj& shooter, const cEdShot& def, ShotFireRequest request, int kind = 11)
    {
        cShotObj shot;
        shot.SetupShot(shooter, kind, def, request);
        return shot;
    }

    static ShotFireRequest Request(double speed, double vx, double vy, int range = 0)
    {
        ShotFireRequest r;
        r.m_X = 600;
        r.m_Y = 500;
        r.m_Speed = speed;
        r.m_VX = vx;
        r.m_VY = vy;
        r.m_Range = range;
        return r;
    }
};

TEST_F(Shots, FacingFollowsTheVelocityOrTheShooter)
{
    cNpcObj& shooter = AddChara(1, {500, 500});
    struct Case {
        double vx;
        int shooterFacing;
        int facing;
    };
    for (const Case c : {Case{3, 0, 1}, Case{-3, 1, 0}, Case{0, 1, 1}, Case{0, 0, 0}}) {
        shooter.m_Facing = c.shooterFacing;
        cShotObj shot = Fire(shooter, ShotDef(), Request(3, c.vx, 2));
        EXPECT_EQ(shot.m_Facing, c.facing) << c.vx;
        // Without an x speed the facing never changes.
        if (c.vx == 0) {
            shot.StepShot();
            EXPECT_EQ(shot.m_Facing, c.facing);
        }
    }
}

TEST_F(Shots, BoxesComeFromTheStageForEachSideAndCentreInTheCell)
{
    g_Stage.nPlayerShotBoxW = 10;
    g_Stage.nPlayerShotBoxH = 6;
    g_Stage.nPlayerShotW = 4;
    g_Stage.nPlayerShotH = 12;
    g_Stage.nCharaShotBoxW = 14;
    cEdShot def = ShotDef();
    def.m_Size = 0;
    cShotObj mine = Fire(Hero(), def, Request(0, 0, 0));
    EXPECT_EQ(mine.m_Def.m_Size, 1);
    EXPECT_EQ(mine.m_Width, 10);
    EXPECT_EQ(mine.m_Height, 6);
    EXPECT_EQ(mine.m_PicOffX, 3);
    EXPECT_EQ(mine.m_PicOffY, 5);
    EXPECT_EQ(mine.m_HitWidth, 4);
    EXPECT_EQ(mine.m_HitOffY, 2);
    EXPECT_EQ(mine.m_HitLeft, 600 + 6);
    EXPECT_EQ(mine.m_HitBottom, 500 + 2 + 12 - 1);
    EXPECT_EQ(mine.m_Group, Hero().m_Group);
    cNpcObj& enemy = AddChara(3, {500, 500});
    def.m_Size = 2;
    cShotObj theirs = Fire(enemy, def, Request(0, 0, 0));
    EXPECT_EQ(theirs.m_Width, 28);
    EXPECT_EQ(theirs.m_Group, 3);
    EXPECT_EQ(theirs.m_OwnerNo, enemy.m_ObjNo);
}

TEST_F(Shots, RangeLimitsTheFlightAndAFastShotCoversItWithinAFrame)
{
    Build(2);
    cNpcObj& shooter = AddChara(1, {500, 500});
    struct Case {
        const char* what;
        double speed;
        double vx;
        double vy;
        int range;
        int countdown;
        double ownX;
    };
    const Case cases[] = {
        {"3 hbl at 4 px a frame", 4, 4, 0, 3, 16, 2},
        {"no distance, slow: one frame", 4, 4, 0, 1, 2, 2},
        {"no distance, fast: stands still", 40, 40, 0, 1, 2, 0},
        {"16 px, fast: covered in one frame", 40, -40, 0, 2, 2, -8},
        {"a still request keeps speed 0", 40, 0, 0, 2, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEdShot def = ShotDef();
        def.m_MoveTimeOn = 1;
        cShotObj shot = Fire(shooter, def, Request(c.speed, c.vx, c.vy, c.range));
        EXPECT_EQ(shot.m_RangeLeft, c.countdown);
        EXPECT_EQ(shot.m_OwnSpeedX, c.ownX);
        EXPECT_FALSE(std::isnan(shot.m_OwnSpeedY));
    }
}

TEST_F(Shots, AtItsRangeAShotVanishesOrStopsAndFollowsTheScroll)
{
    stage.m_ScrollX.m_Speed = 0.5;
    stage.m_ScrollX.m_AtLimit = 0;
    cNpcObj& shooter = AddChara(1, {500, 500});
    cEdShot def = ShotDef();
    def.m_MoveTimeOn = 1;
    def.m_MoveKind = 8;
    cShotObj vanishing = Fire(shooter, def, Request(4, 4, 0, 3));
    ASSERT_EQ(vanishing.m_RangeLeft, 8);
    int steps = 0;
    while (!vanishing.StepShot() && steps < 100)
        ++steps;
    EXPECT_EQ(steps, 8);

    def.m_StopAtEnd = 1;
    def.m_Homing = 1;
    cShotObj stopping = Fire(shooter, def, Request(4, 4, 0, 3));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(stopping.StepShot(), 0);
    EXPECT_EQ(stopping.m_Def.m_MoveKind, 0);
    EXPECT_EQ(stopping.m_OwnSpeedX, 0);
    EXPECT_EQ(stopping.m_SpeedX, 0.5);
    stopping.StepShot();
    EXPECT_EQ(stopping.m_SpeedX, 0.5);
}

TEST_F(Shots, TimeLimitCountsTenthsOfASecond)
{
    Build(2);
    cNpcObj& shooter = AddChara(1, {500, 500});
    cEdShot def = ShotDef();
    def.m_LifeTimeOn = 1;
    ShotFireRequest request = Request(1, 1, 0);
    request.m_Time = 2;
    cShotObj shot = Fire(shooter, def, request);
    int steps = 0;
    while (!shot.StepShot() && steps < 100)
        ++steps;
    EXPECT_EQ(steps, 2 * 6 * 2);
}

TEST_F(Shots, ScrollFollowingUnlessTheSystemSaysNot)
{
    stage.m_ScrollX.m_Speed = 1.5;
    stage.m_ScrollY.m_Speed = -0.5;
    stage.m_ScrollX.m_AtLimit = 0;
    stage.m_ScrollY.m_AtLimit = 0;
    cNpcObj& shooter = AddChara(1, {500, 500});
    cEdShot def = ShotDef();
    def.m_Homing = 1;
    cShotObj shot = Fire(shooter, def, Request(2, 2, 0));
    shot.StepShot();
    EXPECT_EQ(shot.m_SpeedX, 1.5 + 2);
    EXPECT_EQ(shot.m_SpeedY, -0.5);
    stage.m_ScrollX.m_AtLimit = 1;
    shot.StepShot();
    EXPECT_EQ(shot.m_SpeedX, 2);
    g_System.bNoScrollCarry = 1;
    stage.m_ScrollX.m_AtLimit = 0;
    shot.StepShot();
    EXPECT_EQ(shot.m_SpeedX, 2);
    EXPECT_EQ(shot.m_SpeedY, 0);
}

TEST_F(Shots, TheWorldsEdgeClampsAtItsLastPixel)
{
    cNpcObj& shooter = AddChara(1, {500, 500});
    cShotObj shot = Fire(shooter, ShotDef(), Request(0, 0, 0));
    const double extent = stage.m_ScrollX.m_Outer;
    shot.m_X = extent - 16;
    EXPECT_EQ(shot.UpdateShotX(), 0);
    shot.m_X = extent - 15;
    EXPECT_EQ(shot.UpdateShotX(), 3);
    EXPECT_EQ(shot.m_X, extent - 16);
    shot.m_X = -0.5;
    EXPECT_EQ(shot.UpdateShotX(), 3);
    EXPECT_EQ(shot.m_X, 0);
}

TEST_F(Shots, WideShotsProbeBlocksOnAGrid)
{
    cNpcObj& shooter = AddChara(1, {500, 500});
    BlockCell& cell = stage.CellAt(21, 20);
    cell.nGraphicNo = 1;
    cell.nHitMode = 1;
    struct Case {
        int width;
        std::uint8_t passBlocks;
        int hits;
    };
    for (const Case c : {Case{32, 0, 0}, Case{33, 0, 1}, Case{33, 1, 0}}) {
        g_Stage.nCharaShotBoxW = c.width;
        g_Stage.nCharaShotBoxH = 8;
        cEdShot def = ShotDef();
        def.m_PassBlocks = c.passBlocks;
        ShotFireRequest request = Request(0, 0, 0);
        request.m_X = 20 * 32;
        request.m_Y = 20 * 32 + 4;
        cShotObj shot = Fire(shooter, def, request);
        EXPECT_EQ(shot.ShotHitsBlock(), c.hits) << c.width;
    }
}

TEST_F(Shots, AccelerationFollowsTheFlightDirection)
{
    Build(2);
    cNpcObj& shooter = AddChara(1, {500, 500});
    cEdShot def = ShotDef();
    def.m_SecondSpeedOn = 1;
    def.m_SecondSpeed = 30;
    def.m_SecondSpeedStep = 10;
    ShotFireRequest request = Request(5, 3, -4);
    request.m_CopyNo = 1;
    cShotObj shot = Fire(shooter, def, request);
    // (30 + 10 x copy 1) tenths a frame, per sub-step.
    EXPECT_DOUBLE_EQ(shot.m_Accel, 2.0);
    EXPECT_DOUBLE_EQ(shot.m_InertiaX, 2.0 * 0.6 / 2 / 60);
    EXPECT_DOUBLE_EQ(shot.m_InertiaY, 2.0 * -0.8 / 2 / 60);
    double x = 1, y = 1;
    shot.SplitSpeed(x, y, -2, 0);
    EXPECT_DOUBLE_EQ(x, -2.0 / 2 / 60);
    EXPECT_EQ(y, 0);
    shot.SplitSpeed(x, y, 0, 0);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

class Swords : public Shots {
protected:
    // Sword type 1: parts of size 20 x 10, times 1, placements and offsets.
    void SwordType(std::vector<std::array<int, 5>> parts)
    {
        g_Database.SwordType.resize(2);
        cEdSwordType& type = g_Database.SwordType[1];
        type.m_Parts.clear();
        for (const auto& p : parts) {
            cEdSwordPart part;
            part.m_Setting[0] = p[1]; // offset x
            part.m_Setting[1] = p[2]; // offset y
            part.m_Setting[2] = p[3]; // x mirrored
            part.m_Setting[4] = p[0]; // placement
            part.m_Setting[7] = 20;
            part.m_Setting[8] = 10;
            part.m_Setting[9] = p[4]; // time
            type.m_Parts.push_back(part);
        }
    }

    // A sword command of type 1 on the hero.
    cEdCommand Command()
    {
        cEdCommand command;
        command.m_Kind = 12;
        command.m_Shot = std::make_shared<cEdShot>(ShotDef());
        command.m_Shot->m_MoveKind = 1;
        return command;
    }
};

TEST_F(Swords, EachPartSitsBesideItsOwner)
{
    SwordType({{0, 0, 0, 0, 1}});
    cPlayerObj& hero = Hero();
    struct Case {
        int place;
        int facing;
        int offX;
        int mirror;
        double x;
        double y;
        int swingFacing;
    };
    // The owner's picture: 32 x 32 on the screen box.
    const Case cases[] = {
        {0, 1, 0, 0, 32, 11, 1}, {0, 0, 0, 0, -20, 11, 0}, {1, 1, 0, 0, -20, 11, 0},
        {1, 0, 0, 0, 32, 11, 1}, {2, 1, 0, 0, 6, -10, 1},  {3, 0, 0, 0, 6, 32, 0},
        {0, 1, 5, 0, 37, 11, 1}, {0, 1, 5, 1, 27, 11, 1},  {0, 0, 5, 1, -15, 11, 0},
    };
    for (const Case& c : cases) {
        SwordType({{c.place, c.offX, 0, c.mirror, 1}});
        hero.m_Facing = c.facing;
        hero.UpdatePlayerScreenBox();
        const double left = hero.m_ScrLeft + stage.m_ScrollX.m_Pos;
        const double top = hero.m_ScrTop + stage.m_ScrollY.m_Pos;
        cEdCommand command = Command();
        cShotObj swing;
        ShotFireRequest request;
        swing.SetupShot(hero, 12, *command.m_Shot, request);
        EXPECT_EQ(swing.m_IsShot, 0);
        EXPECT_EQ(swing.StepSword(), 0);
        EXPECT_EQ(swing.m_X - left, c.x) << c.place << " " << c.facing << " " << c.offX;
        EXPECT_EQ(swing.m_Y - top, c.y) << c.place;
        EXPECT_EQ(swing.m_Facing, c.swingFacing);
        EXPECT_EQ(swing.m_HitWidth, 20);
    }
}

TEST_F(Swords, TheSwingShowsEachPartForItsTimeThenEnds)
{
    Build(2);
    SwordType({{0, 0, 0, 0, 1}, {2, 0, 0, 0, 2}});
    cEdCommand command = Command();
    cShotObj swing;
    ShotFireRequest request;
    swing.SetupShot(Hero(), 12, *command.m_Shot, request);
    int steps = 1;
    while (!swing.StepSword() && steps < 1000)
        ++steps;
    // Each part: its time x 6 x 2 sub-steps, plus the sub-step that moves on.
    EXPECT_EQ(steps, (12 + 1) + (24 + 1));
}

TEST_F(Swords, ASwingEndsWithItsOwner)
{
    SwordType({{0, 0, 0, 0, 5}});
    cNpcObj& owner = AddChara(1, {500, 500});
    cEdCommand command = Command();
    cShotObj swing;
    ShotFireRequest request;
    swing.SetupShot(owner, 12, *command.m_Shot, request);
    EXPECT_EQ(swing.StepSword(), 0);
    stage.EraseChara(stage.CharaNode(owner));
    EXPECT_EQ(swing.StepSword(), 1);
}

TEST_F(Swords, TheCommandSwingsOnceAndNeverWithoutParts)
{
    SwordType({{0, 0, 0, 0, 1}});
    cEdCommand command = Command();
    cCommandRun run;
    run.m_Command = &command;
    run.m_Kind = 12;
    ExecSword(Hero(), run);
    ExecSword(Hero(), run);
    ASSERT_EQ(stage.m_ShotList.size(), 1u);
    EXPECT_EQ(stage.m_ShotGroups[0].size(), 1u);
    EXPECT_EQ(stage.m_BlockSerial, 1);

    struct Case {
        const char* what;
        int type;
        bool parts;
    };
    for (const Case c : {Case{"no parts", 1, false}, Case{"outside the table", 7, true}}) {
        SwordType(c.parts ? std::vector<std::array<int, 5>>{{0, 0, 0, 0, 1}}
                          : std::vector<std::array<int, 5>>{});
        command.m_Shot->m_MoveKind = static_cast<std::uint8_t>(c.type);
        cCommandRun fresh;
        fresh.m_Command = &command;
        fresh.m_Kind = 12;
        ExecSword(Hero(), fresh);
        EXPECT_EQ(stage.m_ShotList.size(), 1u) << c.what;
    }
}

} // namespace
