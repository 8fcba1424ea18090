// The end of a move: the world-edge update of computer characters and of
// shots, which the step makes without more work than it needs.

#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

#include "world/contact_fixture.h"
#include "world/shot_obj.h"

namespace {

using test::ContactStage;

class MoveEnds : public ContactStage {};

// A character wider (or taller) than the world is held at the far edge by
// the move's first edge update, which leaves it beyond the near one; the
// move's second update brings it back to the near edge.
TEST_F(MoveEnds, ACharacterLargerThanTheWorldEndsAtItsNearEdge)
{
    const double outerX = stage.m_ScrollX.m_Outer;
    const double outerY = stage.m_ScrollY.m_Outer;
    cNpcObj& wide = AddChara(1, {100, 100, static_cast<int>(outerX) + 50, 16});
    wide.m_Flying = 1;
    wide.m_SpeedX = 2;
    EXPECT_EQ(wide.MoveX(), 4);
    EXPECT_DOUBLE_EQ(wide.m_X, 0);
    EXPECT_DOUBLE_EQ(wide.m_Right, outerX + 49);
    cNpcObj& tall = AddChara(1, {100, 100, 16, static_cast<int>(outerY) + 50});
    tall.m_Flying = 1;
    tall.m_SpeedY = 2;
    EXPECT_EQ(tall.MoveY(), 8);
    EXPECT_DOUBLE_EQ(tall.m_Y, 0);
    EXPECT_DOUBLE_EQ(tall.m_Bottom, outerY + 49);
    // One that fits moves freely.
    cNpcObj& small = AddChara(1, {100, 100});
    small.m_Flying = 1;
    small.m_SpeedX = 2;
    small.m_SpeedY = 3;
    small.MoveX();
    small.MoveY();
    EXPECT_DOUBLE_EQ(small.m_X, 102);
    EXPECT_DOUBLE_EQ(small.m_Y, 103);
    EXPECT_EQ(small.m_CellTop, 103 >> 5);
}

// A character's move places its box, both hit boxes and its cells and
// reports its edge code exactly as the object base's step of mode 2 with
// the character's own hit-box update: at every kind of edge, with
// fractional positions and speeds of both signs.
TEST_F(MoveEnds, ACharactersMoveMatchesTheGenericStep)
{
    const cScrollAxis& ax = stage.m_ScrollX;
    const cScrollAxis& ay = stage.m_ScrollY;
    struct Case {
        double pos;
        double speed;
    };
    auto cases = [](const cScrollAxis& a) {
        return std::vector<Case>{{3.5, -5.25},
                                 {a.m_Base - 20.5, 2.5},
                                 {a.m_Base + 0.5, -1.0},
                                 {a.m_Min + 40.25, 3.75},
                                 {a.m_Max - 17.5, 2.0},
                                 {a.m_Full - 17.0, 1.5},
                                 {a.m_Outer - 17.5, 3.0},
                                 {200.75, 0.0}};
    };
    auto twins = [&](double x, double y) {
        std::pair<cNpcObj*, cNpcObj*> pair{&AddChara(1, {x, y}), &AddChara(1, {x, y})};
        for (cNpcObj* c : {pair.first, pair.second}) {
            c->m_Flying = 1;
            c->m_HitB.m_OffX = c->m_HitB.m_OffY = 3;
            c->m_HitB.m_Width = c->m_HitB.m_Height = 10;
        }
        return pair;
    };
    for (const Case& c : cases(ax)) {
        auto [moved, reference] = twins(c.pos, 200);
        moved->m_SpeedX = reference->m_SpeedX = c.speed;
        const int code = reference->StepX(2);
        EXPECT_EQ(moved->MoveX(), code == 3 ? 4 : code) << c.pos;
        EXPECT_EQ(moved->m_X, reference->m_X) << c.pos;
        EXPECT_EQ(moved->m_Right, reference->m_Right) << c.pos;
        EXPECT_EQ(moved->m_CellLeft, reference->m_CellLeft) << c.pos;
        EXPECT_EQ(moved->m_CellRight, reference->m_CellRight) << c.pos;
        for (const auto& [a, b] : {std::pair{moved->m_HitA, reference->m_HitA},
                                   std::pair{moved->m_HitB, reference->m_HitB}}) {
            EXPECT_EQ(a.m_Rect.x1, b.m_Rect.x1) << c.pos;
            EXPECT_EQ(a.m_Rect.x2, b.m_Rect.x2) << c.pos;
        }
    }
    for (const Case& c : cases(ay)) {
        auto [moved, reference] = twins(200, c.pos);
        moved->m_SpeedY = reference->m_SpeedY = c.speed;
        const int code = reference->StepY(2);
        EXPECT_EQ(moved->MoveY(), code == 3 || code == 6 ? 8 : code) << c.pos;
        EXPECT_EQ(moved->m_Y, reference->m_Y) << c.pos;
        EXPECT_EQ(moved->m_Bottom, reference->m_Bottom) << c.pos;
        EXPECT_EQ(moved->m_CellTop, reference->m_CellTop) << c.pos;
        EXPECT_EQ(moved->m_CellBottom, reference->m_CellBottom) << c.pos;
        for (const auto& [a, b] : {std::pair{moved->m_HitA, reference->m_HitA},
                                   std::pair{moved->m_HitB, reference->m_HitB}}) {
            EXPECT_EQ(a.m_Rect.y1, b.m_Rect.y1) << c.pos;
            EXPECT_EQ(a.m_Rect.y2, b.m_Rect.y2) << c.pos;
        }
    }
}

// A shot's vertical move: clamped speed, held inside the world, hit box and
// cells following; a speed gone bad stops it.
TEST_F(MoveEnds, AShotsVerticalMoveStaysInTheWorld)
{
    const double outerY = stage.m_ScrollY.m_Outer;
    struct Case {
        double y;
        double speed;
        double endY;
        double endSpeed;
    };
    const double limit = g_Stage.dMaxStep;
    const Case cases[] = {
        {200, 3, 203, 3},
        {200, 1000, 200 + limit, limit},
        {2, -5, 0, -5},
        {outerY - 20, 5, outerY - 16, 5},
        {200, std::numeric_limits<double>::quiet_NaN(), 200, 0},
    };
    for (const Case& c : cases) {
        cShotObj& shot = AddShot(1, 100, c.y, ShotDef());
        ASSERT_EQ(shot.m_Height, 16);
        shot.m_SpeedY = c.speed;
        shot.MoveShotY();
        EXPECT_DOUBLE_EQ(shot.m_Y, c.endY) << c.y << " " << c.speed;
        EXPECT_EQ(shot.m_SpeedY, c.endSpeed) << c.y << " " << c.speed;
        EXPECT_DOUBLE_EQ(shot.m_Bottom, shot.m_Y + 15);
        EXPECT_EQ(shot.m_HitTop, static_cast<int>(shot.m_Y) + shot.m_HitOffY);
        EXPECT_EQ(shot.m_CellBottom, static_cast<int>(shot.m_Bottom) >> 5);
    }
}

} // namespace
