// The fire patterns: where each formation puts its elements and how they
// fly, the volleys of a shot command and their random spread.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "world/contact_fixture.h"
#include "world/fire_patterns.h"
#include "world/flow_run.h"
#include "world/random.h"
#include "world/shot_obj.h"

namespace {

using test::ContactStage;

constexpr double kDiag = 0.7071067811865476;
constexpr double kDeg = 0.017453292519943295;

// One spawned shot as a test sees it: its box's top-left and its velocity
// per frame (one sub-step a frame here).
struct Spawned {
    double x, y, vx, vy;
};

class FirePatterns : public ContactStage {
protected:
    void SetUp() override
    {
        ContactStage::SetUp();
        // A 32 x 32 shooter whose screen box is (160, 160)-(191, 191) with
        // the view at (320, 320).
        shooter = &AddChara(1, {480, 480, 32, 32});
        run.m_Kind = 11;
    }

    std::vector<Spawned> Fire(const cEdShot& def)
    {
        while (!stage.m_ShotList.empty())
            stage.RemoveShot(stage.m_ShotList.begin());
        FireShot(stage.m_ShotList, *shooter, run, def);
        std::vector<Spawned> out;
        for (const cShotObj& s : stage.m_ShotList)
            out.push_back({s.m_X, s.m_Y, s.m_OwnSpeedX, s.m_OwnSpeedY});
        return out;
    }

    static cEdShot Def(int pattern, int dir, int count)
    {
        cEdShot def = ShotDef();
        def.m_Pattern = static_cast<std::uint8_t>(pattern);
        def.m_Dir = static_cast<std::uint8_t>(dir);
        def.m_Count = static_cast<std::uint8_t>(count);
        def.m_AngleMirror = 0;
        def.m_MirrorX = 0;
        return def;
    }

    void ExpectShots(const std::vector<Spawned>& got, const std::vector<Spawned>& want)
    {
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(got[i].x, want[i].x);
            EXPECT_EQ(got[i].y, want[i].y);
            EXPECT_NEAR(got[i].vx, want[i].vx, 1e-9);
            EXPECT_NEAR(got[i].vy, want[i].vy, 1e-9);
        }
    }

    cNpcObj* shooter = nullptr;
    cCommandRun run;
};

TEST_F(FirePatterns, ASingleElementSitsBesideTheShooterForEachDirection)
{
    const double v = 4, d = v * kDiag;
    struct Case {
        int dir;
        Spawned shot;
    };
    const Case cases[] = {
        {2, {465, 488, -v, 0}},  {3, {512, 488, v, 0}},   {6, {488, 464, 0, -v}},
        {7, {488, 512, 0, v}},   {8, {471, 471, -d, -d}}, {9, {471, 504, -d, d}},
        {10, {504, 471, d, -d}}, {11, {504, 504, d, d}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dir);
        ExpectShots(Fire(Def(0, c.dir, 1)), {c.shot});
    }
}

TEST_F(FirePatterns, DirectionModesFollowTheFacing)
{
    struct Case {
        int mode;
        int facing;
        double x;
    };
    // Forward and backward: the side point of codes 2 (465) and 3 (512).
    for (const Case c :
         {Case{0, 1, 512}, Case{0, 0, 465}, Case{1, 1, 465}, Case{1, 0, 512}, Case{40, 1, 512}}) {
        shooter->m_Facing = c.facing;
        const auto shots = Fire(Def(0, c.mode, 1));
        ASSERT_EQ(shots.size(), 1u);
        EXPECT_EQ(shots[0].x, c.x) << c.mode << " " << c.facing;
    }
    // Vertical by facing.
    shooter->m_Facing = 1;
    EXPECT_EQ(Fire(Def(0, 4, 1))[0].vy, 4);
    EXPECT_EQ(Fire(Def(0, 5, 1))[0].vy, -4);
}

TEST_F(FirePatterns, AnEvenRowLeavesTheCentreLineFree)
{
    cEdShot def = Def(0, 3, 2);
    def.m_PatternParams[0] = 1;
    ExpectShots(Fire(def), {{512, 472, 4, 0}, {512, 504, 4, 0}});
    def.m_Count = 3;
    ExpectShots(Fire(def), {{512, 456, 4, 0}, {512, 488, 4, 0}, {512, 520, 4, 0}});
    def.m_Count = 0;
    EXPECT_TRUE(Fire(def).empty());
}

TEST_F(FirePatterns, AnAngleTurnsTheRowsFlight)
{
    cEdShot def = Def(0, 3, 1);
    def.m_Angle = 30;
    const double a = (180 + 30) * kDeg;
    ExpectShots(Fire(def), {{512, 488, -4 * std::cos(a), -4 * std::sin(a)}});
    // Facing right, the mirrored angle: 30 becomes 330.
    def.m_AngleMirror = 1;
    shooter->m_Facing = 1;
    const double m = (180 + 330) * kDeg;
    ExpectShots(Fire(def), {{512, 488, -4 * std::cos(m), -4 * std::sin(m)}});
}

TEST_F(FirePatterns, AColumnStandsOnTheFootLine)
{
    cEdShot def = Def(1, 3, 2);
    def.m_PatternParams[0] = 1;
    ExpectShots(Fire(def), {{512, 496, 4, 0}, {512, 464, 4, 0}});
    shooter->m_Facing = 0;
    def.m_Dir = 6;
    ExpectShots(Fire(def), {{465, 496, 0, -4}, {465, 464, 0, -4}});
}

TEST_F(FirePatterns, RowsAndColumnsFlyTurnedOrAimed)
{
    const double a = (180 + 30) * kDeg;
    cEdShot column = Def(1, 3, 1);
    column.m_Angle = 30;
    ExpectShots(Fire(column), {{512, 496, -4 * std::cos(a), -4 * std::sin(a)}});

    // A target straight below the first element's centre: aimed, both fly down.
    cNpcObj& target = AddChara(2, {504, 700, 32, 32});
    target.UpdateScreenBox();
    stage.SetTarget(*shooter, target.m_ObjNo);
    column.m_Angle = 0;
    column.m_Aim = 1;
    ExpectShots(Fire(column), {{512, 496, 0, 4}});
    cEdShot row = Def(0, 3, 1);
    row.m_Aim = 1;
    ExpectShots(Fire(row), {{512, 488, 0, 4}});
}

TEST_F(FirePatterns, AFanSpreadsAroundItsCentreAngle)
{
    cEdShot def = Def(2, 2, 1);
    def.m_PatternParams[0] = 30;
    auto at = [](double degrees) {
        return Spawned{465, 488, -4 * std::cos(degrees * kDeg), -4 * std::sin(degrees * kDeg)};
    };
    ExpectShots(Fire(def), {at(0)});
    def.m_Count = 2;
    ExpectShots(Fire(def), {at(-15), at(15)});
    def.m_Count = 3;
    ExpectShots(Fire(def), {at(-30), at(0), at(30)});
    // The fan flies at the speed's size whatever its sign.
    def.m_Speed = -40;
    def.m_Count = 1;
    ExpectShots(Fire(def), {at(0)});
}

TEST_F(FirePatterns, ABurstFliesEvenlyRoundAndCountZeroFiresNothing)
{
    cEdShot def = Def(4, 2, 4);
    std::vector<Spawned> want;
    for (int i = 0; i < 4; ++i)
        want.push_back({488, 488, -4 * std::cos(i * 90 * kDeg), -4 * std::sin(i * 90 * kDeg)});
    ExpectShots(Fire(def), want);
    def.m_Count = 0;
    EXPECT_TRUE(Fire(def).empty());
}

TEST_F(FirePatterns, ThunderAndSurroundNeedATarget)
{
    stage.SetTarget(*shooter, -1);
    EXPECT_TRUE(Fire(Def(3, 3, 2)).empty());
    EXPECT_TRUE(Fire(Def(5, 3, 4)).empty());
    cNpcObj& target = AddChara(2, {600, 400, 32, 32});
    target.UpdateScreenBox();
    stage.SetTarget(*shooter, target.m_ObjNo);
    EXPECT_EQ(Fire(Def(5, 3, 0)).size(), 0u);

    // Surround: a ring of radius 6 hbl round the target's centre, inward.
    cEdShot ring = Def(5, 2, 4);
    ring.m_PatternParams[0] = 6;
    std::vector<Spawned> want;
    for (int i = 0; i < 4; ++i) {
        const double a = i * 90 * kDeg;
        want.push_back({608.0 + static_cast<int>(96 * std::cos(a) + 0.5),
                        408.0 + static_cast<int>(96 * std::sin(a) + 0.5), -4 * std::cos(a),
                        -4 * std::sin(a)});
    }
    ExpectShots(Fire(ring), want);

    // Thunder to the right: from the view's left edge level with the
    // target, two rows 16 pixels apart across the flight line.
    cEdShot thunder = Def(3, 3, 2);
    thunder.m_PatternParams[1] = 2;
    thunder.m_PatternParams[2] = 1;
    ExpectShots(Fire(thunder),
                {{320, 400, 4, 0}, {320, 416, 4, 0}, {336, 400, 4, 0}, {336, 416, 4, 0}});
}

TEST_F(FirePatterns, AimingTakesTheTargetsCentre)
{
    cNpcObj& target = AddChara(2, {700, 480, 32, 32});
    target.UpdateScreenBox();
    stage.SetTarget(*shooter, target.m_ObjNo);
    ShotFireRequest request;
    // Straight to the right flies at 180 degrees; straight down at 270.
    EXPECT_EQ(AimAngle(500, 496, *shooter, ShotDef(), request), 180);
    EXPECT_EQ(AimAngle(716, 300, *shooter, ShotDef(), request), 270);
    stage.SetTarget(*shooter, -1);
    shooter->m_Facing = 1;
    EXPECT_EQ(AimAngle(500, 496, *shooter, ShotDef(), request), 180);
    shooter->m_Facing = 0;
    EXPECT_EQ(AimAngle(500, 496, *shooter, ShotDef(), request), 0);
}

// The game's generator, computed here on its own.
int NextRandom(std::uint32_t& state)
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

TEST_F(FirePatterns, EachVolleyDrawsOneSpreadAndStepsItsValues)
{
    cEdShot def = Def(0, 3, 1);
    def.m_Repeat = 2;
    def.m_Angle = 30;
    def.m_AngleStep = 5;
    def.m_AngleMirror = 1;
    def.m_AngleRandom = 10;
    def.m_Speed = 40;
    def.m_SpeedStep = 10;
    def.m_OffsetX = 4;
    def.m_OffsetXStep = 2;
    def.m_MirrorX = 1;
    shooter->m_Facing = 1;
    SeedRandom(777);
    std::uint32_t state = 777;
    std::vector<Spawned> want;
    for (int i = 0; i < 3; ++i) {
        const int angle = 360 - (30 + 5 * i) + NextRandom(state) % 21 - 10;
        const double v = 4 + i;
        const double a = (180 + angle) * kDeg;
        want.push_back({512.0 - (4 + 2 * i), 488, -v * std::cos(a), -v * std::sin(a)});
    }
    ExpectShots(Fire(def), want);
    EXPECT_EQ(RandomState(), state);

    // Without a spread nothing is drawn.
    def.m_AngleRandom = 0;
    Fire(def);
    EXPECT_EQ(RandomState(), state);
}

TEST_F(FirePatterns, ShotsAimedByTargetMovementRegisterWithTheTarget)
{
    cNpcObj& target = AddChara(2, {700, 480, 32, 32});
    stage.SetTarget(*shooter, target.m_ObjNo);
    cEdShot def = Def(0, 3, 2);
    def.m_MoveKind = 3;
    Fire(def);
    ASSERT_EQ(target.m_AimedShots.size(), 2u);
    EXPECT_EQ(stage.m_ShotList.front().m_TargetNo, target.m_ObjNo);
    // Another movement kind keeps no target.
    def.m_MoveKind = 1;
    Fire(def);
    EXPECT_EQ(stage.m_ShotList.front().m_TargetNo, -1);
    // Removing a shot takes it off its target's list.
    target.m_AimedShots.clear();
    def.m_MoveKind = 6;
    Fire(def);
    stage.RemoveShot(stage.m_ShotList.begin());
    EXPECT_EQ(target.m_AimedShots.size(), 1u);
}

} // namespace
