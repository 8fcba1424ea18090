// The block map against a moving character: landing, ceilings, walls,
// probes and their tie-breaks, deadly blocks, the long fall, flying modes,
// the screen clamps and the crush re-tests.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/world_fixture.h"
#include "world/block_collision.h"

namespace {

using test::BlockAt;

// A stage of 40 x 30 blocks with the hero standing in the air at block
// (5, 5); tests add blocks to the map themselves.
class BlockCollision : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Start(test::MakeStage(40, 30, 5, 5));
    }
    // Puts a block of a hit mode into map cell (column, row).
    void Put(int column, int row, int hitMode = 1)
    {
        stage->CellAt(column, row).Assign(BlockAt(0, 0, hitMode));
    }
    // Moves the player's box so that its edges lie where a test wants them.
    void Box(double x, double y)
    {
        cPlayerObj& p = player();
        p.m_X = x;
        p.m_Y = y;
        p.UpdateEdgeX(-1);
        p.UpdateEdgeY(-1);
    }
    std::vector<std::string> Fired() const { return trace.LinesStartingWith("fire"); }

    cTraceRecorder trace;
};

TEST_F(BlockCollision, LandingRestsTheBottomOnTheCellAboveAndFiresTheFootTriggers)
{
    cPlayerObj& p = player();
    Put(20, 12);                           // pixels 640..671 x 384..415
    Box(650, 99.5 + 288 - p.m_Height + 1); // bottom edge at 387.5, inside row 12
    p.m_SpeedY = 3;
    p.m_InertiaY = 1;
    p.m_Airborne = 1;
    p.m_Jumping = 1;
    trace.Clear();
    EXPECT_EQ(CollideBlocksY(p), 0);
    EXPECT_DOUBLE_EQ(p.m_Bottom, 383.5) << "(387 & 31) + 1 = 4 up";
    EXPECT_EQ(p.m_SpeedY, 0);
    EXPECT_EQ(p.m_InertiaY, 0);
    EXPECT_EQ(p.m_ContactD, 1);
    EXPECT_EQ(p.m_Airborne, 0);
    EXPECT_EQ(p.m_Jumping, 0);
    EXPECT_EQ(p.m_UnderFeet, &stage->CellAt(20, 12));
    EXPECT_EQ(p.m_LastBlock, p.m_UnderFeet);
    EXPECT_EQ(p.IsOnGround(), 1);
    EXPECT_EQ(Fired(), (std::vector<std::string>{"fire 0 0 9", "fire 0 0 13", "fire 0 0 15"}));
}

TEST_F(BlockCollision, LandingOnTheExampleEdge)
{
    // Stage pixels are map pixels less the 320 of the margin: a bottom edge
    // at 99.5 of the stage ends at 95.5.
    cPlayerObj& p = player();
    Put(20, 13);
    Box(650, 320 + 99.5 - p.m_Height + 1);
    p.m_SpeedY = 1;
    CollideBlocksY(p);
    EXPECT_DOUBLE_EQ(p.m_Bottom, 320 + 95.5);
}

TEST_F(BlockCollision, WallsPushBackToTheCellEdge)
{
    cPlayerObj& p = player();
    Put(13, 15); // stage pixels 96..127 across
    Box(320 + 100.5 - p.m_Width + 1, 485);
    p.m_SpeedX = 2;
    p.m_InertiaX = 2;
    trace.Clear();
    EXPECT_EQ(CollideBlocksX(p), 0);
    EXPECT_DOUBLE_EQ(p.m_Right, 320 + 95.5) << "right edge 100.5: left decreases by 5";
    EXPECT_EQ(p.m_ContactR, 1);
    EXPECT_EQ(p.m_InertiaX, 0);
    EXPECT_EQ(p.m_WallSide, 1);
    EXPECT_EQ(Fired(), (std::vector<std::string>{"fire 0 0 9", "fire 0 0 10", "fire 0 0 12"}));
    // A left edge exactly on a cell boundary inside a solid cell moves a whole cell.
    Box(416, 485);
    p.m_SpeedX = -1;
    EXPECT_EQ(CollideBlocksX(p), 0);
    EXPECT_DOUBLE_EQ(p.m_X, 448);
    EXPECT_EQ(p.m_ContactL, 1);
    EXPECT_EQ(p.m_WallSide, 0);
}

TEST_F(BlockCollision, CeilingsMoveTheTopBelowTheCell)
{
    cPlayerObj& p = player();
    Put(20, 12);
    Box(650, 410.25);
    p.m_SpeedY = -4;
    trace.Clear();
    EXPECT_EQ(CollideBlocksY(p), 0);
    EXPECT_DOUBLE_EQ(p.m_Y, 416.25);
    EXPECT_EQ(p.m_ContactU, 1);
    EXPECT_EQ(p.m_JumpLatch, 1);
    EXPECT_EQ(p.m_JumpEnded, 1);
    EXPECT_EQ(Fired(), (std::vector<std::string>{"fire 0 0 9", "fire 0 0 13", "fire 0 0 14"}));
}

TEST_F(BlockCollision, TheOrderOfTheSidesFollowsTheMotion)
{
    // A box touching solid cells on both sides: the triggers tell which side
    // was pushed first (11 left, 12 right).
    cPlayerObj& p = player();
    Put(20, 15);
    Put(22, 15);
    p.m_Width = p.m_Width0 = 60;
    struct Case {
        const char* what;
        int flyMode;
        double speed;
        const char* first;
    };
    const Case cases[] = {
        {"standing still tests the left first", 0, 0.0, "fire 0 0 11"},
        {"moving right tests the right first", 0, 2.0, "fire 0 0 12"},
        {"flying into blocks tests the right first, even moving left", 2, -3.0, "fire 0 0 12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        p.SetFlyMode(c.flyMode);
        p.m_SpeedX = c.speed;
        Box(660, 485);
        trace.Clear();
        CollideBlocksX(p);
        ASSERT_GE(Fired().size(), 3u);
        EXPECT_EQ(Fired()[2], c.first);
    }
}

TEST_F(BlockCollision, EdgeProbesTieBreakTowardTheCentre)
{
    cPlayerObj& p = player();
    // Two solid cells under the bottom edge, the second nearer the centre.
    Put(20, 12);
    Put(21, 12);
    p.m_Width = p.m_Width0 = 40;
    p.m_Def.nSize = 1;
    Box(630, 380);
    // Probes at 630 (cell 19, empty), 669 (cell 20); centre 649.
    EXPECT_EQ(&ProbeEdgeCells(p, 630, 400, 669, 400), &stage->CellAt(20, 12));
    // Two probes of equal rank at the same distance: the left one.
    p.m_Width0 = 41;
    EXPECT_EQ(&ProbeEdgeCells(p, 640, 400, 680, 400), &stage->CellAt(20, 12));
    p.m_Width0 = 40;
    p.m_Def.nSize = 2;
    // Probes 620, 659, 698 over cells 19, 20, 21: 659 is nearest to 659.
    EXPECT_EQ(&ProbeEdgeCells(p, 620, 400, 698, 400), &stage->CellAt(20, 12));
    // A vertical edge takes the topmost of equals.
    Put(20, 10);
    p.m_Def.nSize = 1;
    p.m_Height0 = 80;
    EXPECT_EQ(&ProbeEdgeCells(p, 650, 330, 650, 410), &stage->CellAt(20, 10));
}

TEST_F(BlockCollision, FootProbeOfThePlayerIsFinerThanTheEdge)
{
    cPlayerObj& p = player();
    // A box 64 wide over three solid cells: the edge probes (its two ends)
    // take the left one, nearer the centre 631; the foot probe also samples
    // the middle, 632, and takes that one.
    p.m_Width = p.m_Width0 = 64;
    Put(18, 12);
    Put(19, 12);
    Put(20, 12);
    Box(600, 380);
    EXPECT_EQ(&ProbeEdgeCells(p, 600, 403, 663, 403), &stage->CellAt(18, 12));
    EXPECT_EQ(&ProbeFootCells(p), &stage->CellAt(19, 12));
    p.m_SpeedY = 1;
    CollideBlocksY(p);
    EXPECT_EQ(p.m_UnderFeet, &stage->CellAt(19, 12));
    // Scale 2 (even): three probes over the scaled width.
    p.m_Def.nSize = 2;
    p.m_Width = 128;
    Put(19, 12, 0);
    Put(22, 12);
    Box(600, 380);
    // Probes 600 (18), 664 (20) and 727 (22): the middle one is nearest.
    EXPECT_EQ(&ProbeFootCells(p), &stage->CellAt(20, 12));
}

TEST_F(BlockCollision, DeadlyBlocksKillThePlayerAndCarryOthers)
{
    cPlayerObj& p = player();
    Put(20, 12, 2);
    Box(650, 380);
    p.m_SpeedY = 2;
    EXPECT_EQ(CollideBlocksY(p), 2);
    EXPECT_EQ(p.m_LastBlock, &stage->CellAt(20, 12))
        << "the player dies with the cell as its last block";
    p.m_Operator = 1;
    p.m_IsPlayer = 0;
    Box(650, 380);
    EXPECT_EQ(CollideBlocksY(p), 0) << "solid for a computer character";
    EXPECT_EQ(p.m_ContactD, 1);
}

TEST_F(BlockCollision, FlyingModes)
{
    cPlayerObj& p = player();
    Put(20, 12);
    // Through blocks: nothing at all, the block under the feet not even cleared.
    p.SetFlyMode(1);
    BlockCell* before = &stage->CellAt(1, 1);
    p.m_UnderFeet = before;
    Box(650, 380);
    EXPECT_EQ(CollideBlocksY(p), 0);
    EXPECT_EQ(p.m_ContactD, 0);
    EXPECT_EQ(p.m_UnderFeet, before);
    // Killed by blocks: the first contact returns 2 and nothing moves.
    p.SetFlyMode(3);
    Box(650, 380);
    EXPECT_EQ(CollideBlocksY(p), 2);
    EXPECT_DOUBLE_EQ(p.m_Y, 380);
}

TEST_F(BlockCollision, LongFallAfterEightFramesOfSubSteps)
{
    cPlayerObj& p = player();
    p.m_Airborne = 0;
    p.m_JumpReady = 0;
    Box(650, 380);
    const int limit = g_Stage.nAirSteps;
    ASSERT_EQ(limit, 8 * g_Stage.nSubSteps);
    for (int i = 1; i < limit; ++i)
        CollideBlocksY(p);
    EXPECT_EQ(p.m_Airborne, 0);
    CollideBlocksY(p);
    EXPECT_EQ(p.m_Airborne, 1);
    EXPECT_EQ(p.m_JumpReady, 1);
    // Riding a solid character, the player gets neither.
    p.m_Airborne = 0;
    p.m_JumpReady = 0;
    p.m_Riding = 1;
    CollideBlocksY(p);
    EXPECT_EQ(p.m_Airborne, 0);
    EXPECT_EQ(p.m_JumpReady, 0);
}

TEST_F(BlockCollision, TheScreenHoldsAFlyingPlayerAndDropsAWalkingOneOffAnAutoScroll)
{
    cPlayerObj& p = player();
    cScrollAxis& y = stage->m_ScrollY;
    y.m_Pos = 320;
    Box(650, 320 + 470);
    EXPECT_EQ(ClampToScreenY(p), 0) << "a walking player without auto-scroll is never clamped";
    y.m_Auto = 1;
    Box(650, 320 + 470);
    EXPECT_EQ(ClampToScreenY(p), 2);
    EXPECT_EQ(p.m_ContactD, 1);
    p.SetFlyMode(2);
    Box(650, 320 + 470);
    EXPECT_EQ(ClampToScreenY(p), 0);
    EXPECT_DOUBLE_EQ(p.m_Y, 320 + 480 - p.m_Height - 1);
    cScrollAxis& x = stage->m_ScrollX;
    x.m_Pos = 400;
    Box(380, 500);
    ClampToScreenX(p);
    EXPECT_EQ(p.m_ContactL, 1);
    EXPECT_DOUBLE_EQ(p.m_X, 400);
}

TEST_F(BlockCollision, CrushReTestsBothSides)
{
    cPlayerObj& p = player();
    Put(20, 15);
    Put(22, 15);
    p.m_Width = p.m_Width0 = 60;
    Box(660, 485);
    EXPECT_EQ(CheckBlockCrushX(p), 0);
    EXPECT_EQ(p.m_ContactL + p.m_ContactR, 2) << "both sides are tested whatever the motion";
    Put(24, 12, 2);
    Box(780, 380);
    EXPECT_EQ(CheckBlockCrushY(p), 2);
}

TEST_F(BlockCollision, EveryCornerCellOfTheBoxIsMetByBothPasses)
{
    // The box spans two columns and two rows of cells; the edge probes of
    // each pass reach all four, so a block in any one of them is met, and
    // a block in a cell only beside the box, or one its group passes, is not.
    cPlayerObj& p = player();
    const double x = 666.5, y = 410.5;
    Box(x, y);
    const int left = static_cast<int>(p.m_X) >> 5, right = static_cast<int>(p.m_Right) >> 5;
    const int top = static_cast<int>(p.m_Y) >> 5, bottom = static_cast<int>(p.m_Bottom) >> 5;
    ASSERT_NE(left, right);
    ASSERT_NE(top, bottom);
    struct Case {
        const char* what;
        int column;
        int row;
        bool passable;
        bool met;
    };
    const Case cases[] = {
        {"upper left", left, top, false, true},
        {"lower left", left, bottom, false, true},
        {"upper right", right, top, false, true},
        {"lower right", right, bottom, false, true},
        {"beside the box", right + 1, top, false, false},
        {"below the box", left, bottom + 1, false, false},
        {"passed by the group", right, bottom, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEdBlock block = BlockAt(0, 0);
        if (c.passable) block.nPassGroup = static_cast<std::int8_t>(p.m_Group);
        stage->CellAt(c.column, c.row).Assign(block);
        p.ClearContacts();
        Box(x, y);
        p.m_SpeedX = 0;
        CollideBlocksX(p);
        EXPECT_EQ(p.m_ContactL || p.m_ContactR, c.met) << "sides";
        p.ClearContacts();
        Box(x, y);
        p.m_SpeedY = 0;
        CollideBlocksY(p);
        EXPECT_EQ(p.m_ContactU || p.m_ContactD, c.met) << "top and bottom";
        p.ClearContacts();
        Box(x, y);
        CheckBlockCrushX(p);
        CheckBlockCrushY(p);
        EXPECT_EQ(p.m_ContactL || p.m_ContactR || p.m_ContactU || p.m_ContactD, c.met)
            << "crush re-tests";
        stage->CellAt(c.column, c.row).Reset();
    }
}

TEST_F(BlockCollision, BothCrushReTestsAtOnceDoWhatEachDoes)
{
    // A box of size 3, 50 pixels unscaled: its top and bottom edges are
    // probed at 640, 689, 738 and 787 (columns 20, 21, 23, 24; column 22
    // lies between two probes), its sides at rows 12, 14, 15 and 17.
    cPlayerObj& p = player();
    p.m_Def.nSize = 3;
    p.m_Width0 = p.m_Height0 = 50;
    p.m_Width = p.m_Height = 150;
    const double x = 640.5, y = 400.5;
    struct Case {
        const char* what;
        int column;
        int row;
        bool met;
    };
    const Case cases[] = {
        {"nothing", 0, 0, false},
        {"upper left corner", 20, 12, true},
        {"lower right corner", 24, 17, true},
        {"a middle probe of the top edge", 21, 12, true},
        {"a middle probe of the bottom edge", 23, 17, true},
        {"a middle probe of the left side", 20, 14, true},
        {"a middle probe of the right side", 24, 15, true},
        {"between two probes of the top edge", 22, 12, false},
        {"inside the box", 22, 14, false},
    };
    struct Outcome {
        double x, y;
        int l, r, u, d;
        std::vector<std::string> fired;
    };
    auto run = [&](bool together) {
        p.ClearContacts();
        Box(x, y);
        trace.Clear();
        if (together) {
            CheckBlockCrushes(p);
        } else {
            CheckBlockCrushX(p);
            CheckBlockCrushY(p);
        }
        return Outcome{p.m_X,        p.m_Y,        p.m_ContactL, p.m_ContactR,
                       p.m_ContactU, p.m_ContactD, Fired()};
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.column != 0) Put(c.column, c.row);
        const Outcome apart = run(false);
        const Outcome together = run(true);
        EXPECT_EQ(apart.l || apart.r || apart.u || apart.d, c.met);
        EXPECT_DOUBLE_EQ(together.x, apart.x);
        EXPECT_DOUBLE_EQ(together.y, apart.y);
        EXPECT_EQ(together.l, apart.l);
        EXPECT_EQ(together.r, apart.r);
        EXPECT_EQ(together.u, apart.u);
        EXPECT_EQ(together.d, apart.d);
        EXPECT_EQ(together.fired, apart.fired);
        stage->CellAt(c.column, c.row).Reset();
    }
}

TEST_F(BlockCollision, ABoxWithinOneColumnOrRowMeetsTheBlocksOfItsCells)
{
    // A box whose edges share a column or a row of cells: each cell of its
    // cell box still counts for every pass.
    cPlayerObj& p = player();
    struct Case {
        const char* what;
        int width, height;
        int column, row;
    };
    const Case cases[] = {
        {"one cell", 20, 20, 21, 13},
        {"one column, lower row", 20, 40, 21, 14},
        {"one row, right column", 40, 20, 22, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        p.m_Width = p.m_Width0 = c.width;
        p.m_Height = p.m_Height0 = c.height;
        Put(c.column, c.row);
        auto met = [&](auto pass) {
            p.ClearContacts();
            Box(21 * 32 + 4.5, 13 * 32 + 4.5);
            p.m_SpeedX = p.m_SpeedY = 0;
            pass();
            return p.m_ContactL || p.m_ContactR || p.m_ContactU || p.m_ContactD;
        };
        EXPECT_TRUE(met([&] { CollideBlocksX(p); })) << "sides";
        EXPECT_TRUE(met([&] { CollideBlocksY(p); })) << "top and bottom";
        EXPECT_TRUE(met([&] { CheckBlockCrushes(p); })) << "crush re-tests";
        Box(21 * 32 + 4.5, 13 * 32 + 4.5);
        EXPECT_EQ(CellBoxEmpty(p), 0);
        stage->CellAt(c.column, c.row).Reset();
    }
}

TEST_F(BlockCollision, CellBoxEmptyOnlyForEmptyCellsOfTheMap)
{
    cPlayerObj& p = player();
    Box(650.5, 404.5);
    EXPECT_EQ(CellBoxEmpty(p), 1);
    // Any picture counts, even one that collides with nothing.
    stage->CellAt(p.m_CellRight, p.m_CellBottom).Assign(BlockAt(0, 0, 0));
    EXPECT_EQ(CellBoxEmpty(p), 0);
    EXPECT_EQ(p.BoxHitsBlocks(), 0) << "the full test still decides";
    stage->CellAt(p.m_CellRight, p.m_CellBottom).Reset();
    Box(-40, 404.5);
    EXPECT_EQ(CellBoxEmpty(p), 0) << "a box reaching out of the map";
}

TEST_F(BlockCollision, PlacesTakenByBlocks)
{
    cPlayerObj& p = player();
    Put(20, 12);
    Box(650, 390);
    EXPECT_EQ(IsPlaceBlocked(p), 1);
    Box(700, 500);
    EXPECT_EQ(IsPlaceBlocked(p), 0);
    p.SetFlyMode(1);
    Box(650, 390);
    EXPECT_EQ(IsPlaceBlocked(p), 0);
}

TEST_F(BlockCollision, CellConditionsAndPassGroups)
{
    cPlayerObj& p = player();
    cEdBlock block = BlockAt(0, 0);
    block.nPassGroup = static_cast<std::int8_t>(p.m_Group);
    stage->CellAt(20, 12).Assign(block);
    EXPECT_EQ(stage->HitMode(stage->CellAt(20, 12), p.m_Group), 0);
    EXPECT_EQ(stage->HitMode(stage->CellAt(20, 12), p.m_Group + 1), 1);
    cEdCond cond;
    cond.m_Kind = 2;
    cond.m_Index = 4;
    cond.m_Op = 0;
    cond.m_Value = 1;
    block = BlockAt(0, 0);
    block.Conds.push_back(cond);
    stage->CellAt(21, 12).Assign(block);
    EXPECT_EQ(stage->HitMode(stage->CellAt(21, 12), 1), 0);
    stage->m_StageVars[4] = 1;
    EXPECT_EQ(stage->HitMode(stage->CellAt(21, 12), 1), 1);
    // An unknown hit mode is no block: it never hides a real one.
    block = BlockAt(0, 0, 7);
    stage->CellAt(22, 12).Assign(block);
    EXPECT_EQ(stage->CellAt(22, 12).nHitMode, 0);
}

} // namespace
