// The running stage's objects: numbers, the one removal routine of each
// kind with every link it cuts, walks that survive removals, and deaths.

#include <gtest/gtest.h>

#include <vector>

#include "support/world_fixture.h"

namespace {

class RunningStageObjects : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Start(test::MakeStage(40, 30, 5, 5));
    }
    // A computer character of a number and group added to the stage.
    cNpcObj& Add(int number, int group)
    {
        cNpcObj chara;
        chara.m_ObjNo = number;
        chara.m_Group = group;
        chara.m_Operator = 1;
        return stage->AddChara(chara);
    }
    cShotObj& AddShot(int number, int group)
    {
        cShotObj shot;
        shot.m_ObjNo = number;
        shot.m_Group = group;
        return stage->AddShot(shot);
    }
};

TEST_F(RunningStageObjects, ObjectsByNumber)
{
    cNpcObj& a = Add(1, 2);
    cNpcObj& b = Add(2, 2);
    EXPECT_EQ(stage->FindObjectByNumber(0), &player());
    EXPECT_EQ(stage->FindObjectByNumber(1), &a);
    EXPECT_EQ(stage->FindObjectByNumber(2), &b);
    EXPECT_EQ(stage->FindObjectByNumber(3), nullptr);
    EXPECT_EQ(stage->FindObjectByNumber(-1), nullptr);
    EXPECT_EQ(stage->m_CharaGroups[2].size(), 2u);
}

TEST_F(RunningStageObjects, ErasingACharacterCutsEveryLinkToIt)
{
    cNpcObj& victim = Add(1, 3);
    cNpcObj& hunter = Add(2, 4);
    cShotObj& shot = AddShot(7, 4);
    stage->SetTarget(hunter, 1);
    stage->SetTarget(victim, 0);
    shot.m_TargetNo = 1;
    victim.m_AimedShots.push_back(7);
    EXPECT_EQ(victim.m_TargetedBy, std::vector<std::int32_t>{2});
    EXPECT_TRUE(HoldsChara(player().m_TargetedBy, 1));

    stage->EraseChara(stage->CharaNode(victim));
    EXPECT_EQ(hunter.m_TargetNo, -1);
    EXPECT_EQ(shot.m_TargetNo, -1);
    EXPECT_FALSE(HoldsChara(player().m_TargetedBy, 1));
    EXPECT_TRUE(stage->m_CharaGroups[3].empty());
    EXPECT_EQ(stage->FindObjectByNumber(1), nullptr);
    EXPECT_EQ(stage->m_CharaList.size(), 1u);
}

TEST_F(RunningStageObjects, RemovingAShotLeavesItsGroupAndItsTarget)
{
    cNpcObj& target = Add(1, 3);
    cShotObj& shot = AddShot(4, 5);
    shot.m_TargetNo = 1;
    target.m_AimedShots = {4, 9};
    stage->RemoveShot(stage->m_ShotList.begin());
    EXPECT_TRUE(stage->m_ShotGroups[5].empty());
    EXPECT_EQ(target.m_AimedShots, std::vector<std::int32_t>{9});
    EXPECT_EQ(stage->FindShotByNumber(4), nullptr);
}

TEST_F(RunningStageObjects, WalksSurviveTheRemovalOfAnyObjectDuringThem)
{
    for (int n = 1; n <= 5; ++n)
        Add(n, 1);
    std::vector<int> visited;
    for (auto walk = stage->WalkCharas(); !walk.Done(); walk.Next()) {
        visited.push_back(walk->m_ObjNo);
        if (walk->m_ObjNo == 2) {
            // The next one and the current one go; one is added at the end.
            stage->EraseChara(std::next(walk.Node()));
            stage->EraseChara(walk.Node());
            Add(6, 1);
        }
    }
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 4, 5, 6}));
    EXPECT_EQ(stage->m_CharaList.size(), 4u);
}

TEST_F(RunningStageObjects, DeathCutsTheLinksAndSetsTheDyingFlag)
{
    cNpcObj& a = Add(1, 2);
    cNpcObj& b = Add(2, 2);
    stage->SetTarget(b, 1);
    a.m_Def.nScoreGain = 700;
    g_Progress.nStageScore = 999900;
    EXPECT_EQ(a.KillChara(), 0);
    EXPECT_EQ(a.m_Dying, 1);
    EXPECT_EQ(b.m_TargetNo, -1);
    EXPECT_TRUE(a.m_TargetedBy.empty());
    EXPECT_EQ(g_Progress.nStageScore, 999999) << "the score is clamped";
    cNpcObj& c = Add(3, 2);
    c.m_Def.nScoreGain = -5000;
    g_Progress.nStageScore = 100;
    c.KillChara();
    EXPECT_EQ(g_Progress.nStageScore, 0);
    // A death while the stage is being cleared returns 1 and leaves it alive.
    cNpcObj& d = Add(4, 2);
    stage->m_ClearRequest = 1;
    EXPECT_EQ(d.KillChara(), 1);
    EXPECT_EQ(d.m_Dying, 0);
}

TEST_F(RunningStageObjects, FatalHits)
{
    cNpcObj& a = Add(1, 2);
    EXPECT_EQ(stage->HandleFatalHit(a), 0);
    EXPECT_EQ(a.m_Dying, 1);
    EXPECT_EQ(stage->KillObject(a), 0) << "already dying";
    EXPECT_EQ(stage->HandleFatalHit(player()), 2);
    EXPECT_EQ(player().m_Dying, 1);
    EXPECT_EQ(services.m_Sounds, std::vector<std::uint32_t>{8});
    cNpcObj& b = Add(2, 2);
    stage->m_ClearRequest = 1;
    EXPECT_EQ(stage->HandleFatalHit(b), 1);
    EXPECT_EQ(stage->m_AskedPhase, PHASE_CLEAR);
}

TEST_F(RunningStageObjects, TheDeathDisplayOfAComputerCharacterWithoutAnEffectEndsAtOnce)
{
    cNpcObj& a = Add(1, 2);
    a.KillChara();
    EXPECT_EQ(a.DrawDeath(nullptr, 0), 1);
    player().m_Dying = 1;
    stage->m_FrameRate = 3;
    EXPECT_EQ(player().DrawDeath(nullptr, 1), 0) << "a frozen frame never ends it";
    EXPECT_EQ(player().DrawDeath(nullptr, 0), 0);
    EXPECT_EQ(player().DrawDeath(nullptr, 0), 0);
    EXPECT_EQ(player().DrawDeath(nullptr, 0), 0);
    EXPECT_EQ(player().DrawDeath(nullptr, 0), 1) << "once the counter exceeds the frame rate";
}

} // namespace
