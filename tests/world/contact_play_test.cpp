// Contact with flows running: death flows that fire and summon in the
// middle of the hit checks, shots fired and swords swung by their commands
// in play, items that shots give, the jump from a solid character.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "data/ed_palette.h"
#include "world/activity.h"
#include "world/flow_fixture.h"
#include "world/hit_checks.h"
#include "world/trace.h"

namespace {

using test::Command;
using test::Flow;

constexpr int kTriggerDeath = 3;
constexpr int kTriggerAlways = 0;
constexpr int kShot = 11;
constexpr int kCharaSummon = 14;

// A firing command with a one-element shot part flying in a direction.
cEdCommand Firing(int kind, int dir, int parallel = 0)
{
    cEdCommand command = Command(kind, 0, {}, parallel);
    MakeShotPart(command.m_Shot);
    command.m_Shot->m_Count = 1;
    command.m_Shot->m_Dir = static_cast<std::uint8_t>(dir);
    return command;
}

class ContactPlay : public test::FlowFixture {
protected:
    void SetUp() override
    {
        m_SavedPalette = g_CommonPalette;
        FlowFixture::SetUp();
        // The world reaches the stage's far edges.
        g_Stage.nOuterX = g_Stage.nWidth * 32;
        g_Stage.nOuterY = g_Stage.nHeight * 32;
    }
    void TearDown() override
    {
        FlowFixture::TearDown();
        g_CommonPalette = m_SavedPalette;
    }

    // The (object, trigger) lines of the trace, in order.
    std::vector<std::pair<int, int>> Fired() const
    {
        std::vector<std::pair<int, int>> out;
        for (const std::string& line : trace.Lines()) {
            int step = 0, object = 0, trigger = 0;
            if (std::sscanf(line.c_str(), "fire %d %d %d", &step, &object, &trigger) == 3)
                out.emplace_back(object, trigger);
        }
        return out;
    }

    // A shot of the player's group lying at a place.
    cShotObj& PlayerShot(double x, double y, int power, int pierce)
    {
        cEdShot def;
        def.Clear();
        def.m_UserGroup = 1;
        def.m_Size = 1;
        def.m_Count = 1;
        def.m_Power = power;
        def.m_Pierce = static_cast<std::uint8_t>(pierce);
        ShotFireRequest request;
        request.m_X = static_cast<int>(x);
        request.m_Y = static_cast<int>(y);
        cShotObj shot;
        shot.SetupShot(Player(), 11, def, request);
        shot.m_Present = shot.m_OnScreen = 1;
        cShotObj& stored = Play().AddShot(shot);
        ++Play().m_BlockSerial;
        return stored;
    }

    cTraceRecorder trace;

private:
    cEdPalette m_SavedPalette;
};

TEST_F(ContactPlay, ADeathFlowFiresAndSummonsInTheMiddleOfTheShotPass)
{
    g_Stage.bHitOnScreenOnly = 0;
    // The victim (group 2, one hit point) fires a harmless shot of group 0
    // to its right and summons a character of group 5 to its left as it dies.
    cEdCommand shot = Firing(kShot, 3, 1);
    shot.m_Shot->m_UserGroup = 0;
    shot.m_Shot->m_GroupNumber = 0;
    cEdCommand summon = Firing(kCharaSummon, 2);
    summon.m_Shot->m_SummonPalette = 1;
    summon.m_Shot->m_SummonIndex = 1;
    cEdChara summoned;
    summoned.Clear();
    summoned.nOperator = 1;
    summoned.nGraphicNo = 2;
    summoned.nGroup = 5;
    g_Stage.PaletteCharas.resize(1);
    g_Stage.PaletteCharas.push_back(summoned);
    cEdChara& victim = AddChara(12, 10, 2);
    victim.nMaxHP = 1;
    victim.Flows = {Flow(kTriggerDeath, {shot, summon})};
    AddChara(13, 10, 3);
    Start();
    cNpcObj& v = Chara(0);
    cNpcObj& right = Chara(1);
    ASSERT_EQ(v.m_Present, 1);
    // A piercing shot of the player over the victim and the place of the
    // summon.
    PlayerShot(v.m_X - 22, v.m_Y, 1, 1);
    trace.Clear();
    EXPECT_EQ(CheckHits(), 0);
    EXPECT_EQ(v.m_Dying, 1);
    ASSERT_EQ(Play().m_CharaList.size(), 3u);
    const cNpcObj& made = Play().m_CharaList.back();
    EXPECT_EQ(made.m_Group, 5);
    EXPECT_EQ(Play().m_CharaGroups[5].size(), 1u);
    ASSERT_EQ(Play().m_ShotList.size(), 2u);
    // The new shot met the character on the right within the same pass; the
    // summoned character joins its list but is not present before the next
    // sub-step's activity.
    EXPECT_EQ(Fired(), (std::vector<std::pair<int, int>>{
                           {v.m_ObjNo, 7}, {v.m_ObjNo, 1}, {v.m_ObjNo, 3}, {right.m_ObjNo, 7}}));
    EXPECT_EQ(made.m_Present, 0);
}

TEST_F(ContactPlay, ADeathThatClearsTheStageEndsTheHitChecksBeforeTheDying)
{
    g_Stage.bHitOnScreenOnly = 0;
    cEdChara& victim = AddChara(12, 10, 2);
    victim.nMaxHP = 1;
    victim.Flows = {Flow(kTriggerDeath, {Command(17, 0, {0, 0, 0, 0, 0})})};
    Start();
    cNpcObj& v = Chara(0);
    PlayerShot(v.m_X, v.m_Y, 1, 0);
    EXPECT_EQ(CheckHits(), 1);
    EXPECT_EQ(Play().m_ClearRequest, 1);
    EXPECT_EQ(v.m_Dying, 0);
}

TEST_F(ContactPlay, ShotsLeaveByTheirRemovalAreaOnTheFirstSubStepOnly)
{
    // The player's shots go beyond the right edge of the view.
    g_Stage.Areas[3].bRight = 1;
    g_Stage.Areas[3].nRight = 0;
    Start();
    ASSERT_EQ(g_Stage.nSubSteps, 2);
    ASSERT_EQ(Play().m_ScrollX.m_Pos, 320);
    // On screen at 956; off it from 960 on, during the frame's second
    // sub-step; gone on the next frame's first.
    cShotObj& shot = PlayerShot(956, 400, 0, 0);
    shot.m_OwnSpeedX = 4;
    const int number = shot.m_ObjNo;
    Frame();
    ASSERT_NE(Play().FindShotByNumber(number), nullptr);
    EXPECT_EQ(Play().FindShotByNumber(number)->m_X, 964);
    Frame();
    EXPECT_EQ(Play().FindShotByNumber(number), nullptr);
}

TEST_F(ContactPlay, AShotFiredByItsCommandFliesAndHitsInPlay)
{
    Floor(11, 0, 39);
    // A floor for every group.
    for (cEdBlock& block : g_Stage.PlacedBlocks)
        block.nPassGroup = -1;
    cEdCommand shot = Firing(kShot, 3);
    shot.m_Shot->m_Speed = 40;
    shot.m_Shot->m_Power = 3;
    shot.m_Time = 1;
    cEdChara& shooter = AddChara(8, 10, 1);
    shooter.Flows = {Flow(kTriggerAlways, {shot, Command(1, 50)})};
    cEdChara& target = AddChara(14, 10, 2);
    target.nMaxHP = 20;
    Start();
    for (int frame = 0; frame < 120; ++frame)
        Frame();
    EXPECT_EQ(Chara(1).m_Hp, 17);
    EXPECT_EQ(Play().m_BlockSerial, 1);
    EXPECT_TRUE(Play().m_ShotList.empty());
}

TEST_F(ContactPlay, AShotThatCarriesAnItemGivesItOnEveryHit)
{
    g_Stage.bHitOnScreenOnly = 0;
    cEdItem gift;
    gift.Clear();
    gift.nGraphicNo = 2;
    gift.nSound = 4;
    g_CommonPalette.PaletteItems.resize(2);
    g_CommonPalette.PaletteItems[1] = gift;
    AddChara(12, 10, 2);
    AddChara(12, 10, 3);
    Start();
    cShotObj& s = PlayerShot(Chara(0).m_X, Chara(0).m_Y, 0, 1);
    s.m_Def.m_ItemPalette = 1;
    s.m_Def.m_ItemIndex = 1;
    m_Services->m_Sounds.clear();
    EXPECT_EQ(CheckHits(), 0);
    EXPECT_EQ(m_Services->m_Sounds, (std::vector<std::uint32_t>{7, 20, 7, 20}));
}

TEST_F(ContactPlay, TheJumpFromASolidCharacterComesOnTheLastSubStepFaster)
{
    Start();
    cPlayerObj& p = Player();
    cEdCommand jump = Command(10, 5, {0, 0, 3});
    cCommandRun run;
    run.m_Command = &jump;
    run.m_Speed = -3;
    run.m_Duration = 20;
    struct Case {
        int riding;
        int subStep;
        double speed;
    };
    const int b = g_Stage.nSubSteps;
    ASSERT_EQ(b, 2);
    for (const Case c : {Case{1, 1, 0}, Case{1, 2, -3 * 1.0199999809265137}, Case{0, 1, -3}}) {
        SCOPED_TRACE(c.subStep);
        p.m_Riding = c.riding;
        p.m_JumpEnded = 0;
        p.m_JumpReady = 1;
        p.m_JumpLatch = 0;
        p.m_JumpHold = 0;
        p.m_Airborne = 0;
        p.m_Knockback = 0;
        p.m_Jumped = 0;
        p.m_SpeedY = 0;
        run.m_Started = 0;
        Play().m_SubStepNo = c.subStep;
        p.Jump(run);
        EXPECT_EQ(p.m_SpeedY, c.speed);
        EXPECT_EQ(p.m_Riding, c.speed < 0 ? 0 : c.riding);
    }
}

// A sub-step leaves the shots' activity to its shot step. Whether the shot
// step or the end of a sub-step that stopped before it does it, the shots
// that were there at the activity update meet the view it was taken with,
// and a shot that entered since waits for the next sub-step.
TEST_F(ContactPlay, TheShotsActivityLeftToTheShotStepMeetsTheViewOfTheUpdate)
{
    for (const bool byShotStep : {true, false}) {
        SCOPED_TRACE(byShotStep ? "by the shot step" : "at the end of the sub-step");
        Start();
        cGamePlay& play = Play();
        const double left = play.m_ScrollX.m_Pos;
        const double top = play.m_ScrollY.m_Pos;
        cShotObj& inView = PlayerShot(left + 100, top + 100, 0, 0);
        cShotObj& outOfView = PlayerShot(left + 700, top + 100, 0, 0);
        ++play.m_SubStepTotal;
        {
            const cShotActivitySettler settle(play);
            UpdateActivity(ShotActivity::kInShotStep);
            // The view moves on before the shot step; the update's view holds.
            play.m_ScrollX.m_Pos += 400;
            cShotObj& entered = PlayerShot(left + 120, top + 100, 0, 0);
            for (cShotObj* shot : {&inView, &outOfView, &entered})
                shot->m_Present = shot->m_OnScreen = 0;
            if (byShotStep) StepShotList(play, false);
            EXPECT_EQ(play.m_ShotActivityDue, !byShotStep);
            // Not yet, when the shot step did not run.
            EXPECT_EQ(inView.m_Present, byShotStep ? 1 : 0);
        }
        EXPECT_FALSE(play.m_ShotActivityDue);
        EXPECT_EQ(inView.m_Present, 1);
        EXPECT_EQ(inView.m_OnScreen, 1);
        EXPECT_EQ(outOfView.m_Present, 1);
        EXPECT_EQ(outOfView.m_OnScreen, 0);
        const cShotObj& entered = play.m_ShotList.back();
        EXPECT_EQ(entered.m_Present, 0);
        EXPECT_EQ(entered.m_OnScreen, 0);
    }
}

} // namespace
