// The commands that act on the stage and on other objects: item and block
// command lists run at once on the player, the flow change and when it
// waits, the stage clear and the clear phase, the warp and the target.

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "data/ed_world_map.h"
#include "scenes/scene_mgr.h"
#include "world/command_lists.h"
#include "world/command_object.h"
#include "world/flow_context.h"
#include "world/flow_fixture.h"

namespace {

using test::Command;
using test::Flow;

constexpr int kListNothing = 0;
constexpr int kListFlowChange = 1;
constexpr int kListStageClear = 2;
constexpr int kStageClear = 17;
constexpr int kWarp = 20;
constexpr int kSetTarget = 21;

class StageCommands : public test::FlowFixture {};

cEdCommand ListCommand(int kind, std::initializer_list<int> params = {})
{
    cEdCommand command = Command(kind, 0, params);
    command.m_ListKind = 1;
    return command;
}

cEdCommand FlowChange(int mode, int id, std::vector<cEdFlow> flows = {})
{
    cEdCommand command = ListCommand(kListFlowChange, {mode, id});
    command.m_Flows = std::move(flows);
    return command;
}

std::vector<int> FlowIds(const cCharaObj& chara)
{
    std::vector<int> ids;
    for (const cEdFlow& flow : chara.m_Def.Flows)
        ids.push_back(flow.m_FlowId);
    return ids;
}

TEST_F(StageCommands, ListsRunInOrderUntilAResult)
{
    Start();
    cPlayerObj& player = Player();
    // The second command clears the stage: the third is not run.
    const std::vector<cEdCommand> clearing = {ListCommand(kListNothing),
                                              ListCommand(kListStageClear, {1, 4, 0, 0, 0}),
                                              ListCommand(kListStageClear, {1, 8, 0, 0, 0})};
    EXPECT_EQ(RunCommandList(player, clearing), 1);
    EXPECT_EQ(Play().m_NextStage, 4);
    // A player without hit points ends the list after the first command.
    Play().m_NextStage = 0;
    player.m_Hp = 0;
    EXPECT_EQ(RunCommandList(player, clearing), 2);
    EXPECT_EQ(Play().m_NextStage, 0);
    EXPECT_EQ(RunCommandList(player, {}), 2);
    player.m_Hp = 1;
    EXPECT_EQ(RunCommandList(player, {}), 0);
    // Kinds outside the table are skipped.
    EXPECT_EQ(RunCommandList(player, {ListCommand(22), ListCommand(-1)}), 0);
}

TEST_F(StageCommands, FlowChangesAddReplaceAndRemove)
{
    Hero().Flows = {Flow(1, {}, 0, 1), Flow(1, {}, 0, 2), Flow(1, {}, 0, 1)};
    Start();
    cPlayerObj& player = Player();
    struct Case {
        int mode;
        int id;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {0, 0, {1, 2, 1, 9}}, // add at the end
        {1, 1, {9, 2}},       // replace where the first removed one was
        {1, 5, {1, 2, 1, 9}}, // no flow of that ID: added at the end
        {1, 0, {9}},          // replace every flow
        {2, 1, {2}},          // remove
        {2, 0, {}},           // remove every flow
        {3, 1, {1, 2, 1}},    // an unknown mode does nothing
    };
    for (const Case& c : cases) {
        player.InstallFlows({Flow(1, {}, 0, 1), Flow(1, {}, 0, 2), Flow(1, {}, 0, 1)}, 0, 0, -1);
        ExecFlowChange(player, FlowChange(c.mode, c.id, {Flow(1, {}, 0, 9)}), 0);
        EXPECT_EQ(FlowIds(player), c.ids) << c.mode << " " << c.id;
        EXPECT_TRUE(player.m_PendingFlowChanges.empty());
    }
}

TEST_F(StageCommands, FlowChangeWaitsWhileThePlayersFlowsAreWalked)
{
    Start();
    cPlayerObj& player = Player();
    player.InstallFlows({Flow(1, {}, 0, 1)}, 0, 0, -1);
    const std::vector<cEdCommand> list = {FlowChange(0, 0, {Flow(1, {}, 0, 9)})};
    {
        // The player's flows are being walked: the change waits.
        cFlowWalk walk(player);
        EXPECT_EQ(RunCommandList(player, list), 0);
        EXPECT_EQ(FlowIds(player), std::vector<int>{1});
        EXPECT_EQ(player.m_PendingFlowChanges.size(), 1u);
    }
    // The end of the player's flow run carries it out.
    player.RunFlows(0);
    EXPECT_EQ(FlowIds(player), (std::vector<int>{1, 9}));
    EXPECT_TRUE(player.m_PendingFlowChanges.empty());
    // Another character's walk does not hold the player's flows.
    cNpcObj other;
    {
        cFlowWalk walk(other);
        Play().m_CurChara = &other;
        RunCommandList(player, list);
    }
    EXPECT_EQ(FlowIds(player), (std::vector<int>{1, 9, 9}));
    // Run at once by the flow run itself, it does not wait either.
    {
        cFlowWalk walk(player);
        ExecFlowChange(player, list[0], 1);
    }
    EXPECT_EQ(player.m_Def.Flows.size(), 4u);
}

TEST_F(StageCommands, ItemTakenByThePlayersOwnFlowChangesItsFlowsAfterThem)
{
    // The player's flow takes an item of the stage's palette whose list adds
    // a flow: the player's flows are not changed under the walk over them.
    g_Stage.PaletteItems.resize(2);
    g_Stage.PaletteItems[1].Commands = {FlowChange(0, 0, {Flow(1, {}, 0, 9)})};
    Hero().Flows = {Flow(0, {Command(24, 0, {1, 1}), Command(1)})};
    Start();
    Frame();
    EXPECT_EQ(FlowIds(Player()), (std::vector<int>{0, 9}));
    EXPECT_TRUE(Player().m_PendingFlowChanges.empty());
    Frame();
    EXPECT_EQ(FlowIds(Player()), (std::vector<int>{0, 9, 9}));
}

TEST_F(StageCommands, StageClearSetsTheNextStageAndTheMapPlace)
{
    Start();
    g_Progress.nChainNo = 2;
    g_WorldMap.SetSize(20, 15);
    struct Case {
        std::vector<int> params;
        int next, mapX, mapY;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0}, 3, -1, -1},   // the next stage of the chain
        {{1, 12, 0, 0, 0}, 12, -1, -1}, // by number
        {{2, 0, 0, 0, 0}, 0, -1, -1},   // the world is cleared
        {{5, 0, 0, 0, 0}, 77, -1, -1},  // unknown: unchanged
        {{2, 0, 1, 25, 40}, 0, 19, 14}, // a place beyond the map: its last cell
        {{2, 0, 1, -3, 4}, 0, 0, 4},    // before it: the first
    };
    for (const Case& c : cases) {
        Play().m_NextStage = 77;
        g_Progress.nMapX = g_Progress.nMapY = -1;
        g_Progress.nMapEventNo = 5;
        cEdCommand command = Command(kStageClear);
        command.m_Params = c.params;
        EXPECT_EQ(StageClear(command), 1);
        EXPECT_EQ(Play().m_NextStage, c.next);
        EXPECT_EQ(g_Progress.nMapX, c.mapX);
        EXPECT_EQ(g_Progress.nMapY, c.mapY);
        EXPECT_EQ(g_Progress.nMapEventNo, c.mapX < 0 ? 5 : 0);
    }
    // No number lies beyond the largest one.
    g_Progress.nChainNo = INT_MAX;
    cEdCommand next = Command(kStageClear);
    next.m_Params = {0, 0, 0, 0, 0};
    StageClear(next);
    EXPECT_EQ(Play().m_NextStage, INT_MAX);
}

TEST_F(StageCommands, StageClearCommandEndsThePlayInTheClearPhase)
{
    Hero().Flows = {Flow(0, {Command(kStageClear, 0, {1, 6, 0, 0, 0})})};
    g_Stage.bShowClear = 0;
    Start();
    Frame();
    EXPECT_EQ(Play().m_ClearRequest, 1);
    EXPECT_EQ(Play().m_NextStage, 6);
    ASSERT_EQ(Play().m_Phase, PHASE_CLEAR);
    // Without the clear picture the results may be left at once, with
    // button 1 (pressed freshly).
    g_InputState[0].m_ButtonBits = 0;
    Play().PhaseClear();
    EXPECT_EQ(Play().m_Phase, PHASE_CLEAR);
    g_InputState[0].m_ButtonBits = 1;
    Play().PhaseClear();
    EXPECT_EQ(Play().m_Phase, PHASE_FADE_OUT);
    EXPECT_EQ(m_Services->m_Sounds.back(), 1u);
}

TEST_F(StageCommands, ClearPictureIsShownBeforeTheStageMayBeLeft)
{
    g_Stage.bAutoAdvance = 1;
    Start();
    Play().m_Phase = PHASE_CLEAR;
    Play().m_SubState = 0;
    int frames = 0;
    while (Play().m_Phase == PHASE_CLEAR && frames < 100) {
        Play().PhaseClear();
        ++frames;
    }
    // 4 a frame up to 200, then the frame that leaves.
    EXPECT_EQ(frames, 51);
    EXPECT_EQ(Play().m_Phase, PHASE_FADE_OUT);
}

class Warps : public test::FlowFixture {
protected:
    void SetUp() override
    {
        FlowFixture::SetUp();
        Floor(11, 0, 39);
        Floor(5, 12, 12); // a wall block two rows up
        AddChara(10, 10);
        Start();
    }
    cEdCommand WarpCommand(const std::function<void(cEdMove&)>& set)
    {
        return test::MoveCommand(kWarp, 0, set);
    }
};

TEST_F(Warps, MovesWhereItIsFreeAndStaysOtherwise)
{
    cNpcObj& chara = Chara(0);
    chara.m_SpeedY = 3;
    const double x = chara.m_X;
    const double y = chara.m_Y;
    // Facing left, 3 hbl "前" (to the front): 48 pixels left.
    Warp(chara, WarpCommand([](cEdMove& m) {
             m.m_Dir = 0;
             m.m_Distance = 3;
         }));
    EXPECT_DOUBLE_EQ(chara.m_X, x - 48);
    EXPECT_DOUBLE_EQ(chara.m_Y, y);
    EXPECT_EQ(chara.m_SpeedY, 0) << "a walker lands where it warps";
    // Into the floor: nothing moves.
    chara.m_SpeedY = 3;
    Warp(chara, WarpCommand([](cEdMove& m) {
             m.m_Dir = 7;
             m.m_Distance = 2;
         }));
    EXPECT_DOUBLE_EQ(chara.m_X, x - 48);
    EXPECT_DOUBLE_EQ(chara.m_Y, y);
    EXPECT_EQ(chara.m_SpeedY, 3);
    // Onto a block of the stage by its coordinates, then beyond the stage.
    Warp(chara, WarpCommand([](cEdMove& m) {
             m.m_TargetMode = 2;
             m.m_CoordMode = 1;
             m.m_TargetX = 20;
             m.m_TargetY = 8;
         }));
    EXPECT_EQ(chara.m_CellLeft, 30);
    const double placedX = chara.m_X;
    Warp(chara, WarpCommand([](cEdMove& m) {
             m.m_TargetMode = 2;
             m.m_CoordMode = 1;
             m.m_TargetX = -3;
             m.m_TargetY = 8;
         }));
    EXPECT_DOUBLE_EQ(chara.m_X, placedX);
    // From the target without one: nothing at all.
    Play().SetTarget(chara, -1);
    Warp(chara, WarpCommand([](cEdMove& m) {
             m.m_TargetMode = 1;
             m.m_Distance = 2;
         }));
    EXPECT_DOUBLE_EQ(chara.m_X, placedX);
}

TEST_F(Warps, FromTheTargetsCentre)
{
    cNpcObj& chara = Chara(0);
    cPlayerObj& player = Player();
    // 2 hbl in front of the player, who faces right.
    Warp(chara, WarpCommand([](cEdMove& m) {
             m.m_TargetMode = 1;
             m.m_Dir = 0;
             m.m_Distance = 2;
         }));
    const double playerCentre = player.m_X - player.m_PicOffX + player.m_PicWidth / 2;
    const double centre = chara.m_X - chara.m_PicOffX + chara.m_PicWidth / 2;
    EXPECT_DOUBLE_EQ(centre, playerCentre + 32);
}

class Targets : public test::FlowFixture {
protected:
    void SetUp() override
    {
        FlowFixture::SetUp();
        AddChara(10, 10, 1);
        AddChara(16, 10, 2);
        AddChara(30, 10, 2);
        Start();
    }
    cEdCommand TargetCommand(std::initializer_list<int> params)
    {
        return Command(kSetTarget, 0, params);
    }
};

TEST_F(Targets, ChoosesAndKeepsBothSidesOfTheLink)
{
    cNpcObj& chara = Chara(0);
    cPlayerObj& player = Player();
    EXPECT_EQ(chara.m_TargetNo, player.m_ObjNo) << "set up aiming at the player";
    // Itself: listed in its own list of characters targeting it.
    SetTarget(chara, TargetCommand({1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(chara.m_TargetNo, chara.m_ObjNo);
    EXPECT_TRUE(HoldsChara(chara.m_TargetedBy, chara.m_ObjNo));
    EXPECT_FALSE(HoldsChara(player.m_TargetedBy, chara.m_ObjNo));
    // The nearest of group 2 from its place on the screen.
    SetTarget(chara, TargetCommand({2, 2, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(chara.m_TargetNo, Chara(1).m_ObjNo);
    EXPECT_FALSE(HoldsChara(chara.m_TargetedBy, chara.m_ObjNo));
    EXPECT_TRUE(HoldsChara(Chara(1).m_TargetedBy, chara.m_ObjNo));
    // The nearest of every group, itself excluded: the player is nearer.
    SetTarget(chara, TargetCommand({2, 0, 1, 1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(chara.m_TargetNo, player.m_ObjNo);
    // An unknown choice keeps the target and its link.
    SetTarget(chara, TargetCommand({7, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(chara.m_TargetNo, player.m_ObjNo);
    EXPECT_TRUE(HoldsChara(player.m_TargetedBy, chara.m_ObjNo));
    // By ID: the first of group 2 with it; none found clears the target.
    Chara(2).m_Def.nCharaId = 5;
    SetTarget(chara, TargetCommand({3, 2, 0, 0, 0, 0, 0, 0, 1, 5}));
    EXPECT_EQ(chara.m_TargetNo, Chara(2).m_ObjNo);
    SetTarget(chara, TargetCommand({3, 2, 0, 0, 0, 0, 0, 0, 1, 6}));
    EXPECT_EQ(chara.m_TargetNo, -1);
    EXPECT_FALSE(HoldsChara(Chara(2).m_TargetedBy, chara.m_ObjNo));
}

} // namespace
