// Item and block command lists running the status, graphic, media and code
// bodies in order, and the code and animation commands over the sub-steps
// of a flow.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/ed_database.h"
#include "world/command_lists.h"
#include "world/flow_fixture.h"

namespace {

using test::Command;
using test::Flow;

// Flow and item command kinds.
constexpr int kListStageClear = 2;
constexpr int kListStatusOp = 7;
constexpr int kListSwitch = 8;
constexpr int kListGetItem = 9;
constexpr int kListGraphic = 10;
constexpr int kListAnime = 12;
constexpr int kListEffect = 13;
constexpr int kListBackground = 18;
constexpr int kListSound = 19;
constexpr int kListBgm = 20;
constexpr int kListCode = 21;
constexpr int kCode = 36;
constexpr int kAnime = 27;

cEdCommand ListCommand(int kind, std::vector<int> params = {}, const std::string& text = "")
{
    cEdCommand command = Command(kind);
    command.m_ListKind = 1;
    command.m_Params.assign(params.begin(), params.end());
    command.m_Text = text;
    return command;
}

cEdCommand Code(const std::string& text)
{
    return ListCommand(kListCode, {}, text);
}

class ItemLists : public test::FlowFixture {
protected:
    void SetUp() override
    {
        FlowFixture::SetUp();
        g_Stage.nOuterX = (g_Stage.nWidth + 10) * 32;
        g_Stage.nOuterY = (g_Stage.nHeight + 10) * 32;
        g_Stage.Layers.resize(1);
        g_AnimeSeqs = {FrameSeq{{0, 1, 1}, {-2, 0, 1}}, FrameSeq{{5, 6, 0}, {-4, 0, 0}}};
        m_SavedEffects = g_Database.Effect;
        m_SavedEffectSeqs = g_EffectSeqs;
        g_Database.Effect.assign(1, cEdEffect());
        g_EffectSeqs.assign(1, FrameSeq{{0, 6, 0}, {-4, 0, 0}});
    }
    void TearDown() override
    {
        g_Database.Effect = m_SavedEffects;
        g_EffectSeqs = m_SavedEffectSeqs;
        FlowFixture::TearDown();
    }

private:
    std::vector<cEdEffect> m_SavedEffects;
    std::vector<FrameSeq> m_SavedEffectSeqs;
};

TEST_F(ItemLists, EveryKindRunsItsBodyInOrder)
{
    cEdItem gift;
    gift.Clear();
    gift.Commands = {Code("S9 = 9")};
    g_Stage.PaletteItems.resize(2);
    g_Stage.PaletteItems[1] = gift;
    Start();
    Frame();
    cPlayerObj& p = Player();
    const std::vector<cEdCommand> list = {
        Code("v1 = 1"),
        Code("v1 = v1 * 10"),
        ListCommand(kListStatusOp, {1, 1, 3, 0, 0, 1, 0, 5}),
        ListCommand(kListSwitch, {0, 1, 1}),
        ListCommand(kListGraphic, {2, 17, 3}),
        ListCommand(kListAnime, {1}),
        ListCommand(kListEffect, {0, 0, 0, 0, 0, 0, 100, 0}),
        ListCommand(kListBackground, {1, 1}),
        ListCommand(kListSound, {2}),
        ListCommand(kListBgm, {4, 1}),
        ListCommand(kListGetItem, {1, 1}),
    };
    m_Services->m_Sounds.clear();
    m_Services->m_Music.clear();
    EXPECT_EQ(RunCommandList(p, list), 0);
    EXPECT_EQ(p.m_Vars[1], 10) << "the two code commands ran in their order";
    EXPECT_EQ(Play().m_StageVars[3], 5);
    EXPECT_EQ(p.m_Def.bTransparent, 1);
    EXPECT_EQ(p.m_GraphicKind, 2);
    EXPECT_EQ(p.m_GraphicNo, 17);
    EXPECT_EQ(p.m_Overlays.size(), 1u);
    EXPECT_EQ(Play().m_EffectList.size(), 1u);
    EXPECT_EQ(g_Stage.Layers[0].bShow, 0);
    EXPECT_EQ(m_Services->m_Sounds, std::vector<std::uint32_t>{18});
    EXPECT_EQ(m_Services->m_Music, std::vector<std::int32_t>{4});
    EXPECT_EQ(Play().m_StageVars[9], 9) << "the gift's own list ran";
    EXPECT_EQ(Play().m_ClearRequest, 0);
    EXPECT_EQ(m_Services->m_CloseRequests, 0);
}

TEST_F(ItemLists, AClearOrTheEndOfThePlayersHitPointsStopsTheList)
{
    Start();
    cPlayerObj& p = Player();
    const std::vector<cEdCommand> clearing = {Code("v1 = 1"), ListCommand(kListStageClear, {0}),
                                              Code("v1 = 2")};
    EXPECT_EQ(RunCommandList(p, clearing), 1);
    EXPECT_EQ(p.m_Vars[1], 1);
    const std::vector<cEdCommand> fatal = {Code("v2 = 1"), Code("hp = 0"), Code("v2 = 2")};
    EXPECT_EQ(RunCommandList(p, fatal), 2);
    EXPECT_EQ(p.m_Vars[2], 1);
}

TEST_F(ItemLists, AGiftThatClearsTheStageSetsTheClearRequest)
{
    cEdItem gift;
    gift.Clear();
    gift.Commands = {ListCommand(kListStageClear, {0})};
    g_Stage.PaletteItems.resize(2);
    g_Stage.PaletteItems[1] = gift;
    Start();
    const std::vector<cEdCommand> list = {ListCommand(kListGetItem, {1, 1}), Code("v1 = 3")};
    EXPECT_EQ(RunCommandList(Player(), list), 0) << "the taking command itself goes on";
    EXPECT_EQ(Play().m_ClearRequest, 1);
    EXPECT_EQ(Player().m_Vars[1], 3);
}

TEST_F(ItemLists, ACodeCommandRunsEachSubStepWithOneErrorBoxPerRun)
{
    cEdCommand code = Command(kCode, 1);
    code.m_Text = "v1 = v1 + 1 v2 = ( 1 / 0 )";
    Hero().Flows.push_back(Flow(0, {code}));
    Floor(11, 0, 39);
    Start();
    const int perRun = 6 * g_Stage.nSubSteps;
    for (int frame = 0; frame < 60 && Player().m_Vars[1] < perRun; ++frame)
        Frame();
    ASSERT_GE(Player().m_Vars[1], perRun);
    EXPECT_EQ(m_Services->m_ErrorBoxes.size(), 1u);
    for (int frame = 0; frame < 60 && Player().m_Vars[1] < 2 * perRun; ++frame)
        Frame();
    EXPECT_EQ(m_Services->m_ErrorBoxes.size(), 2u) << "the next run shows its own";
    EXPECT_EQ(m_Services->m_ErrorBoxes[0], Sjis("0除算が行われました！( 1 / 0 )"));
    EXPECT_EQ(m_Services->m_CloseRequests, 0);
}

TEST_F(ItemLists, AnAnimeCommandOfThreeSubStepsStartsThreePlayers)
{
    Start();
    cPlayerObj& p = Player();
    cEdCommand anime = Command(kAnime, 0, {1});
    cFlowRun flow;
    flow.m_Serial = 9;
    cCommandRun run;
    run.m_Command = &anime;
    run.m_Kind = kAnime;
    run.m_Duration = 3;
    run.Reset();
    Play().m_CurChara = &p;
    Play().m_CurFlowRun = &flow;
    int steps = 1;
    while (run.Step() == 0)
        ++steps;
    Play().m_CurChara = nullptr;
    Play().m_CurFlowRun = nullptr;
    EXPECT_EQ(steps, 3);
    ASSERT_EQ(p.m_Overlays.size(), 3u);
    for (const OverlayAnim& overlay : p.m_Overlays)
        EXPECT_EQ(overlay.m_FlowSerial, 9);
}

} // namespace
