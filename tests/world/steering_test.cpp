// Steering toward a point with the view's auto-scroll taken into account,
// the one-axis forms, arrival and snapping, the target point, the circle
// terms and the searches for a target character.

#include <gtest/gtest.h>

#include <cmath>
#include <list>
#include <string>
#include <vector>

#include "world/flow_fixture.h"
#include "world/steering.h"

namespace {

class Steering : public test::FlowFixture {
protected:
    void SetUp() override
    {
        FlowFixture::SetUp();
        Start();
    }
    // The horizontal and vertical auto-scroll speeds.
    void Scroll(double q, double o)
    {
        Play().m_ScrollX.m_Speed = q;
        Play().m_ScrollY.m_Speed = o;
        Play().m_ScrollX.m_AtLimit = Play().m_ScrollY.m_AtLimit = 0;
    }
};

TEST_F(Steering, SolverWithoutScroll)
{
    struct Case {
        const char* name;
        double x, y, tx, ty, speed;
        double vx, vy;
        int direction, arrived;
    };
    const double u = 4 * 0.7071067811865476;
    const Case cases[] = {
        {"straight", 0, 0, 30, 40, 5, 3, 4, 2, 0},
        {"on the target", 0, 0, 0, 0, 5, 0, 0, 0, 1},
        {"within one step", 0, 0, 3, 0, 4, 4, 0, 2, 1},
        {"exactly one step away", 0, 0, -3, 0, 3, -3, 0, 1, 0},
        {"fleeing", 0, 0, 10, 0, -4, -u, u, 1, 0},
        {"fleeing from the target itself", 5, 5, 5, 5, -4, u, u, 2, 0},
    };
    for (const Case& c : cases) {
        double vx = 99;
        double vy = 99;
        int direction = 99;
        const int arrived =
            SteerSolve(vx, vy, direction, nullptr, c.x, c.y, c.tx, c.ty, c.speed, 0, 0, 1);
        EXPECT_NEAR(vx, c.vx, 1e-12) << c.name;
        EXPECT_NEAR(vy, c.vy, 1e-12) << c.name;
        EXPECT_EQ(direction, c.direction) << c.name;
        EXPECT_EQ(arrived, c.arrived) << c.name;
    }
}

TEST_F(Steering, ScrollCorrections)
{
    cNpcObj follows;
    follows.m_ScrollFollow = 1;
    cNpcObj stays;
    struct Case {
        const char* name;
        int inCommands;
        cCharaObj* target;
        int ownFollow;
        double q, o;
        double vx, vy;
    };
    const Case cases[] = {
        {"switch on: the scroll is added", 1, nullptr, 0, 2, 1, 5, 1},
        {"switch off, no target: nothing", 0, nullptr, 0, 2, 1, 3, 0},
        {"a target that stays: the scroll taken off", 0, &stays, 1, 2, 1, 1, -1},
        {"both follow: nothing", 0, &follows, 1, 2, 1, 3, 0},
        // The mover does not follow, the target does: a course of the same
        // speed whose motion against the scroll points at the target.
        {"intercept", 0, &follows, 0, 0, 1, std::sqrt(96.0) / 2 * 3 / 5, 1},
        // The scroll outruns the speed: the straight course stays.
        {"no intercept", 0, &follows, 0, 0, 10, 3, 0},
    };
    for (const Case& c : cases) {
        g_System.bNoScrollCarry = c.inCommands;
        Scroll(c.q, c.o);
        double vx = 0;
        double vy = 0;
        int direction = 0;
        SteerSolve(vx, vy, direction, c.target, 0, 0, 100, 0, 3, c.ownFollow, 0, 0);
        if (std::string(c.name) == "intercept") {
            // Speed 3 of which the vertical part keeps up with the scroll.
            EXPECT_NEAR(std::hypot(vx, vy), 3, 1e-9) << c.name;
            EXPECT_NEAR(vy, 1, 1e-9) << c.name;
            EXPECT_NEAR(vx, std::sqrt(8.0), 1e-9) << c.name;
        } else {
            EXPECT_NEAR(vx, c.vx, 1e-12) << c.name;
            EXPECT_NEAR(vy, c.vy, 1e-12) << c.name;
        }
        EXPECT_EQ(direction, 2) << c.name;
    }
    // The intercept along a longer vertical distance: the horizontal part
    // keeps up with the scroll.
    g_System.bNoScrollCarry = 0;
    Scroll(1, 0);
    double ux = 0;
    double uy = 0;
    int turn = 0;
    SteerSolve(ux, uy, turn, &follows, 0, 0, 0, 100, 3, 0, 0, 0);
    EXPECT_NEAR(ux, 1, 1e-9);
    EXPECT_NEAR(uy, std::sqrt(8.0), 1e-9);
    // At its limit a scroll counts as still.
    g_System.bNoScrollCarry = 1;
    Scroll(2, 0);
    Play().m_ScrollX.m_AtLimit = 1;
    double vx = 0;
    double vy = 0;
    int direction = 0;
    SteerSolve(vx, vy, direction, nullptr, 0, 0, 100, 0, 3, 0, 0, 0);
    EXPECT_DOUBLE_EQ(vx, 3);
}

TEST_F(Steering, OneAxisForms)
{
    cNpcObj follows;
    follows.m_ScrollFollow = 1;
    double vx = 9;
    double vy = 9;
    int direction = 9;
    // Arrival only with the speed strictly beyond the distance.
    EXPECT_EQ(SteerSolveX(vx, vy, direction, nullptr, 10, 10, 2, 0, 1), 1);
    EXPECT_EQ(vx, -2);
    EXPECT_EQ(vy, 0);
    EXPECT_EQ(direction, 1);
    EXPECT_EQ(SteerSolveX(vx, vy, direction, nullptr, 8, 10, 2, 0, 1), 0);
    EXPECT_EQ(direction, 2);
    EXPECT_EQ(SteerSolveY(vx, vy, direction, nullptr, 8, 10, 3, 0, 1), 1);
    EXPECT_EQ(vy, 3);
    EXPECT_EQ(vx, 0);
    EXPECT_EQ(direction, 0);
    // The scroll is added only for a still mover after a following target
    // with the switch on.
    Scroll(2, 1);
    g_System.bNoScrollCarry = 1;
    SteerSolveX(vx, vy, direction, &follows, 8, 10, 2, 0, 0);
    EXPECT_EQ(vx, 4);
    SteerSolveY(vx, vy, direction, &follows, 8, 10, 2, 0, 0);
    EXPECT_EQ(vy, 3);
    SteerSolveX(vx, vy, direction, &follows, 8, 10, 2, 1, 0);
    EXPECT_EQ(vx, 2);
    g_System.bNoScrollCarry = 0;
    SteerSolveX(vx, vy, direction, &follows, 8, 10, 2, 0, 0);
    EXPECT_EQ(vx, 2);
}

TEST_F(Steering, TargetPointAndSnapping)
{
    AddChara(20, 10);
    m_Play = std::make_unique<cGamePlay>();
    Start();
    cNpcObj& mover = Chara(0);
    mover.RefreshScreenBox();
    cPlayerObj& player = Player();
    player.UpdatePlayerScreenBox();
    cEdCommand command = test::MoveCommand(5, 10, [](cEdMove&) {});
    cCommandRun run;
    run.m_Command = &command;
    run.m_OffsetX = 5;
    run.m_OffsetY = -7;
    const double cx = player.m_ScrLeft + (player.m_PicWidth >> 1) + 5;
    const double cy = player.m_ScrTop + (player.m_PicHeight >> 1) - 7;
    struct Case {
        int noSpeedX, noSpeedY;
        bool x, y;
    };
    // m_NoSpeedY steers on x alone (and wins); m_NoSpeedX on y alone.
    const Case cases[] = {
        {0, 0, true, true}, {0, 1, true, false}, {1, 0, false, true}, {1, 1, true, false}};
    for (const Case& c : cases) {
        command.m_Move->m_NoSpeedX = static_cast<std::uint8_t>(c.noSpeedX);
        command.m_Move->m_NoSpeedY = static_cast<std::uint8_t>(c.noSpeedY);
        double x = -1;
        double y = -1;
        player.TargetPoint(x, y, run);
        EXPECT_EQ(x, c.x ? cx : -1) << c.noSpeedX << c.noSpeedY;
        EXPECT_EQ(y, c.y ? cy : -1) << c.noSpeedX << c.noSpeedY;
    }
    // Arriving with the snap switch puts the mover's centre on the point
    // and stops the run.
    command.m_Move->m_Flag61 = 1;
    run.m_Speed = 4;
    const int tx = mover.m_ScrLeft + (mover.m_PicWidth >> 1) + 3;
    const int ty = mover.m_ScrTop + (mover.m_PicHeight >> 1) - 2;
    const double x0 = mover.m_X;
    EXPECT_EQ(mover.SteerToward(run, nullptr, tx, ty, 0, 1), 1);
    EXPECT_EQ(run.m_SpeedX, 0);
    EXPECT_EQ(run.m_SpeedY, 0);
    EXPECT_DOUBLE_EQ(mover.m_X, x0 + 3);
    // Without it the mover only aims.
    command.m_Move->m_Flag61 = 0;
    mover.RefreshScreenBox();
    EXPECT_EQ(mover.SteerTowardX(run, nullptr, tx + 3, 0, 1), 1);
    EXPECT_EQ(run.m_SpeedX, 4);
}

TEST_F(Steering, CircleTerms)
{
    // b = 2: the phase is kept in degrees x 2 and wraps at 720.
    const double k = 0.017453292519943295;
    double phase = 716;
    const double v = CircleSpeedX(10, 1, phase, 6, 30);
    EXPECT_NEAR(v, 10 * k * std::cos(k * (716 / 2.0 + 30)) / 2, 1e-12);
    EXPECT_DOUBLE_EQ(phase, 2);
    phase = 90;
    const double a = CircleAccelY(10, 2, phase, 4, 0);
    EXPECT_NEAR(a, -10 * (2 * k) * (2 * k) * std::sin(2 * k * 45) / 4, 1e-12);
    EXPECT_DOUBLE_EQ(phase, 94);
}

// Characters for a search, each with its screen-box centre at x.
class Searching : public test::FlowFixture {
protected:
    cNpcObj& Add(int centreX, int present, int onScreen)
    {
        cNpcObj& c = m_Charas.emplace_back();
        c.m_ScrLeft = centreX - 16;
        c.m_PicWidth = 32;
        c.m_ScrTop = -16;
        c.m_PicHeight = 32;
        c.m_Present = present;
        c.m_OnScreen = onScreen;
        c.m_ObjNo = static_cast<int>(m_Charas.size());
        m_List.push_back(&c);
        return c;
    }
    std::list<cNpcObj> m_Charas;
    std::vector<cCharaObj*> m_List;
};

TEST_F(Searching, NearestByModeAndFilters)
{
    cNpcObj& offNear = Add(10, 1, 0);
    cNpcObj& onFar = Add(300, 1, 1);
    cNpcObj& onNearer = Add(-200, 1, 1);
    Add(1, 0, 1); // not present
    EXPECT_EQ(FindNearestChara(0, 0, m_List, 0, 0, 0, 0, 0, 0, 0, 0), &onNearer)
        << "any on screen before a nearer one off it";
    EXPECT_EQ(FindNearestChara(0, 0, m_List, 1, 0, 0, 0, 0, 0, 0, 0), &offNear);
    EXPECT_EQ(FindNearestChara(0, 0, m_List, 2, 0, 0, 0, 0, 0, 0, 0), &onNearer);
    EXPECT_EQ(FindNearestChara(0, 0, m_List, 3, 0, 0, 0, 0, 0, 0, 0), nullptr);
    onNearer.m_Dying = 1;
    EXPECT_EQ(FindNearestChara(0, 0, m_List, 0, 0, 0, 0, 0, 0, 0, 0), &onFar);
    onFar.m_Present = 0;
    EXPECT_EQ(FindNearestChara(0, 0, m_List, 0, 0, 0, 0, 0, 0, 0, 0), &offNear)
        << "none on screen: the nearest off it";
    offNear.m_Def.nCharaId = 4;
    EXPECT_EQ(FindNearestChara(0, 0, m_List, 1, 1, 3, 0, 0, 0, 0, 0), nullptr);
    EXPECT_EQ(FindNearestChara(0, 0, m_List, 1, 1, 4, 0, 0, 0, 0, 0), &offNear);
    struct Case {
        int excludeNumber, inv1, inv2, noContact;
        int invincible, solid;
        bool found;
    };
    const Case cases[] = {
        {1, 0, 0, 0, 0, 0, false}, {0, 1, 0, 0, 1, 0, false}, {0, 1, 0, 0, 2, 0, true},
        {0, 0, 1, 0, 2, 0, false}, {0, 0, 0, 1, 0, 1, false}, {0, 0, 0, 0, 2, 1, true},
    };
    for (const Case& c : cases) {
        offNear.m_Def.nInvincible = static_cast<std::uint8_t>(c.invincible);
        offNear.m_Def.bSolid = static_cast<std::uint8_t>(c.solid);
        EXPECT_EQ(FindNearestChara(0, 0, m_List, 1, 0, 0, c.excludeNumber, c.inv1, c.inv2,
                                   c.noContact, offNear.m_ObjNo) == &offNear,
                  c.found);
        EXPECT_EQ(FirstChara(m_List, 0, 0, c.excludeNumber, c.inv1, c.inv2, c.noContact,
                             offNear.m_ObjNo) == &offNear,
                  c.found);
    }
    // The first in list order on a tie, presence not needed for the first.
    offNear.m_Def.nInvincible = 0;
    offNear.m_Def.bSolid = 0;
    cNpcObj& twin = Add(-10, 1, 0);
    EXPECT_EQ(FindNearestChara(0, 0, m_List, 1, 0, 0, 0, 0, 0, 0, 0), &offNear);
    EXPECT_NE(&twin, &offNear);
    EXPECT_EQ(FirstChara(m_List, 1, 0, 0, 0, 0, 0, 0), &onFar);
    EXPECT_EQ(onFar.m_Present, 0);
    // The everyday search skips those that shots pass through.
    g_Stage.bHitOnScreenOnly = 0;
    offNear.m_Def.nInvincible = 2;
    EXPECT_EQ(NearestChara(0, 0, m_List), &twin);
}

} // namespace
