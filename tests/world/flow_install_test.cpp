// Installing and removing a character's running flows: what each command
// run starts with, the animation schedule, the animations played over the
// character and their choice, and removal by index and by ID.

#include <gtest/gtest.h>

#include <vector>

#include "world/flow_fixture.h"

namespace {

using test::Command;
using test::Flow;

constexpr int kWait = 1;
constexpr int kStraight = 2;
constexpr int kJump = 10;
constexpr int kTriggerOperated = 19;

class FlowInstall : public test::FlowFixture {
protected:
    void SetUp() override
    {
        FlowFixture::SetUp();
        AddChara(20, 10);
        Start();
    }
    cNpcObj& Walker() { return Chara(0); }

    // Every run points at its own flow and commands.
    static void ExpectLinked(const cCharaObj& chara)
    {
        ASSERT_EQ(chara.m_FlowRuns.size(), chara.m_Def.Flows.size());
        for (std::size_t i = 0; i < chara.m_FlowRuns.size(); ++i) {
            const cFlowRun& run = chara.m_FlowRuns[i];
            EXPECT_EQ(run.m_Index, static_cast<int>(i));
            EXPECT_EQ(run.m_Flow, &chara.m_Def.Flows[i]);
            ASSERT_EQ(run.m_Commands.size(), chara.m_Def.Flows[i].m_Commands.size());
            for (std::size_t j = 0; j < run.m_Commands.size(); ++j)
                EXPECT_EQ(run.m_Commands[j].m_Command, &chara.m_Def.Flows[i].m_Commands[j]);
        }
    }
};

TEST_F(FlowInstall, CommandRunsStartFromTheCommandAndTheCopyNumber)
{
    cNpcObj& chara = Walker();
    chara.m_CopyNo = 2;
    cEdCommand wait = Command(kWait, 10);
    wait.m_TimeStep = 5;
    cEdCommand move = test::MoveCommand(kStraight, 0, [](cEdMove& m) {
        m.m_Speed = 20;
        m.m_SpeedStep = 5;
        m.m_Inertia = 1;
        m.m_MaxSpeed = 40;
        m.m_Dir = 3;
        m.m_Angle = 10;
        m.m_AngleStep = 15;
        m.m_AngleMirror = 0;
    });
    EXPECT_EQ(chara.InstallFlows({Flow(kTriggerOperated, {wait, move})}, 0, 0, -1), 1);
    const cFlowRun& run = chara.m_FlowRuns[0];
    // (10 + 5 x 2) tenths x 6 frames x 2 sub-steps.
    EXPECT_EQ(run.m_Commands[0].m_Duration, 240);
    // (20 + 5 x 2) tenths of a pixel per frame over 2 sub-steps.
    EXPECT_DOUBLE_EQ(run.m_Commands[1].m_Speed, 1.5);
    EXPECT_DOUBLE_EQ(run.m_Commands[1].m_MaxSpeed, 2.0);
    EXPECT_EQ(run.m_Commands[1].m_Dir, 3);
    EXPECT_EQ(run.m_Commands[1].m_Angle, 40) << "the start handler ran";
    ExpectLinked(chara);
    // Each installed flow takes the next serial.
    const int serial = run.m_Serial;
    chara.InstallFlows({Flow(1, {}), Flow(1, {})}, 0, 1, -1);
    EXPECT_EQ(chara.m_FlowRuns[1].m_Serial, serial + 1);
    EXPECT_EQ(chara.m_FlowRuns[2].m_Serial, serial + 2);
}

TEST_F(FlowInstall, InsertionKeepsTheRunsBesideTheirFlows)
{
    cNpcObj& chara = Walker();
    chara.InstallFlows({Flow(1, {}, 0, 1), Flow(1, {}, 0, 2)}, 0, 0, -1);
    struct Case {
        int position;
        std::vector<int> ids;
    };
    const Case cases[] = {{1, {1, 9, 2}}, {0, {9, 1, 2}}, {-1, {1, 2, 9}}, {7, {1, 2, 9}}};
    for (const Case& c : cases) {
        chara.InstallFlows({Flow(1, {}, 0, 1), Flow(1, {}, 0, 2)}, 0, 0, -1);
        chara.InstallFlows({Flow(1, {Command(kWait)}, 0, 9)}, 0, 1, c.position);
        std::vector<int> ids;
        for (const cEdFlow& flow : chara.m_Def.Flows)
            ids.push_back(flow.m_FlowId);
        EXPECT_EQ(ids, c.ids) << c.position;
        ExpectLinked(chara);
    }
    // A character's own list inserted into itself doubles it.
    chara.InstallFlows(chara.m_Def.Flows, 0, 1, -1);
    EXPECT_EQ(chara.m_Def.Flows.size(), 6u);
    ExpectLinked(chara);
}

TEST_F(FlowInstall, RemovalByIndexAndById)
{
    cNpcObj& chara = Walker();
    chara.InstallFlows({Flow(1, {}, 0, 3), Flow(1, {}, 0, 4), Flow(1, {}, 0, 3), Flow(1, {}, 0, 5)},
                       0, 0, -1);
    chara.m_Overlays.push_back(OverlayAnim());
    EXPECT_EQ(chara.RemoveFlowsById(3), 0);
    ASSERT_EQ(chara.m_Def.Flows.size(), 2u);
    EXPECT_EQ(chara.m_Def.Flows[0].m_FlowId, 4);
    ExpectLinked(chara);
    EXPECT_EQ(chara.RemoveFlowsById(8), -1);
    chara.RemoveFlow(0);
    ASSERT_EQ(chara.m_Def.Flows.size(), 1u);
    EXPECT_EQ(chara.m_Def.Flows[0].m_FlowId, 5);
    ExpectLinked(chara);
    EXPECT_EQ(chara.RemoveFlowsById(0), 0);
    EXPECT_TRUE(chara.m_Def.Flows.empty());
    EXPECT_TRUE(chara.m_FlowRuns.empty());
    EXPECT_TRUE(chara.m_Overlays.empty());
}

TEST_F(FlowInstall, DeletedFlowsGoAtTheEndOfTheFlowRun)
{
    cNpcObj& chara = Walker();
    const cEdCommand deleteAll = Command(16, 0, {4, 2, 6});
    chara.InstallFlows({Flow(kTriggerOperated, {deleteAll}), Flow(1, {}, 0, 6), Flow(1, {}, 0, 7),
                        Flow(1, {}, 0, 6)},
                       0, 0, -1);
    Play().m_CurChara = &chara;
    chara.m_FlowRuns[0].Start();
    chara.RunFlows(0);
    ASSERT_EQ(chara.m_Def.Flows.size(), 2u);
    EXPECT_EQ(chara.m_Def.Flows[1].m_FlowId, 7);
    EXPECT_EQ(chara.m_FlowDeleted, 0);
    ExpectLinked(chara);
}

// Anime 1: two lead-in frames of 6 frames each, then a held frame, then
// the end; Anime 2 has no lead-in.
void SetAnimes()
{
    g_AnimeSeqs = {{{0, 0, 1}, {-2, 0, 1}},
                   {{5, 6, 0}, {6, 6, 0}, {7, 6, 1}, {-4, 0, 0}},
                   {{8, 6, 1}, {-4, 0, 0}}};
}

TEST_F(FlowInstall, AnimationsAreScheduledToEndTheirLeadInAtTheirCommand)
{
    SetAnimes();
    cNpcObj& chara = Walker();
    auto anim = [](int kind, int time, int anime, int parallel = 0) {
        cEdCommand command = Command(kind, time, {}, parallel);
        command.m_Anime = static_cast<std::int16_t>(anime);
        return command;
    };
    struct Case {
        const char* name;
        std::vector<cEdCommand> commands;
        int start, skipped, leadIn, hold, holdSwitch;
    };
    const Case cases[] = {
        // 1 s of 2 sub-steps = 120 sub-steps before; the 12-frame lead-in
        // starts 24 sub-steps earlier.
        {"room before", {Command(kWait, 10), anim(kWait, 5, 1)}, 96, 0, 12, 30, 1},
        {"no room", {anim(kWait, 5, 1)}, 0, 12, 0, 30, 1},
        {"a little room", {Command(kWait, 0), anim(kWait, 5, 1)}, 0, 12, 0, 30, 1},
        {"parallel commands take no room",
         {Command(kWait, 10, {}, 1), anim(kWait, 5, 1)},
         0,
         12,
         0,
         30,
         1},
        {"no lead-in", {Command(kWait, 10), anim(kWait, 5, 2)}, 120, 0, 0, 30, 1},
        {"a jump holds nothing", {Command(kWait, 10), anim(kJump, 0, 1)}, 96, 0, 12, -1, 0},
    };
    for (const Case& c : cases) {
        chara.InstallFlows({Flow(kTriggerOperated, c.commands)}, 0, 0, -1);
        const auto& anims = chara.m_FlowRuns[0].m_Anims;
        ASSERT_EQ(anims.size(), 1u) << c.name;
        EXPECT_EQ(anims[0].m_StartTime, c.start) << c.name;
        EXPECT_EQ(anims[0].m_Skipped, c.skipped) << c.name;
        EXPECT_EQ(anims[0].m_LeadIn, c.leadIn) << c.name;
        if (c.hold >= 0) {
            EXPECT_EQ(anims[0].m_Hold, c.hold) << c.name;
        }
        EXPECT_EQ(anims[0].m_HoldSwitch, c.holdSwitch) << c.name;
    }
}

TEST_F(FlowInstall, ScheduledAnimationsStartAtTheirRunCounter)
{
    SetAnimes();
    cNpcObj& chara = Walker();
    cEdCommand shown = Command(kWait, 5);
    shown.m_Anime = 1;
    chara.InstallFlows({Flow(kTriggerOperated, {Command(kWait, 2), shown})}, 0, 0, -1);
    cFlowRun& run = chara.m_FlowRuns[0];
    ASSERT_EQ(run.m_Anims[0].m_StartTime, 0);
    ASSERT_EQ(run.m_Anims[0].m_Skipped, 0);
    // The wait before lasts 24 sub-steps, exactly the room for the lead-in:
    // the overlay starts with the flow.
    Play().m_CurChara = &chara;
    run.Start();
    chara.RunFlows(0);
    ASSERT_EQ(chara.m_Overlays.size(), 1u);
    const OverlayAnim& overlay = chara.m_Overlays.front();
    EXPECT_EQ(overlay.m_Ranked, 1);
    EXPECT_EQ(overlay.m_Countdown, 12);
    EXPECT_EQ(overlay.m_Length, 30);
    EXPECT_EQ(overlay.m_FlowSerial, run.m_Serial);
    // Its held frame lasts the command's hold.
    EXPECT_EQ(overlay.m_Seq.Sequences()[0][2].m_Duration, 6 + 30 - 1);
    chara.RunFlows(0);
    EXPECT_EQ(chara.m_Overlays.size(), 1u) << "started once";
    // A skipped lead-in starts the animation that far in.
    chara.m_Overlays.clear();
    chara.InstallFlows({Flow(kTriggerOperated, {shown})}, 0, 0, -1);
    chara.m_FlowRuns[0].Start();
    chara.RunFlows(0);
    ASSERT_EQ(chara.m_Overlays.size(), 1u);
    EXPECT_EQ(chara.m_Overlays.front().m_Seq.Current(), 7);
    EXPECT_EQ(chara.m_Overlays.front().m_Countdown, 0);
}

// An overlay showing one frame for good, started `started` frames ago
// (negative: still to start).
OverlayAnim Overlay(int frame, int countdown, int ranked, int serial = 0, int length = 100)
{
    OverlayAnim overlay;
    overlay.m_Seq.Build({{{frame, 1000, 0}, {-2, 0, 0}}});
    overlay.m_Countdown = countdown;
    overlay.m_Ranked = ranked;
    overlay.m_FlowSerial = serial;
    overlay.m_Length = length;
    return overlay;
}

TEST_F(FlowInstall, TheFrameShownComesFromTheChosenOverlay)
{
    cNpcObj& chara = Walker();
    chara.m_Anime.Build({{{42, 1000, 0}, {-2, 0, 0}}});
    chara.m_Anime.Set(0, 1);
    struct Case {
        const char* name;
        std::vector<OverlayAnim> overlays;
        int frame;
    };
    const Case cases[] = {
        {"none", {}, 42},
        {"a command's overlay", {Overlay(1, 0, 0)}, 1},
        {"the soonest to start", {Overlay(1, 9, 1), Overlay(2, 4, 1), Overlay(3, 6, 1)}, 2},
        // Of started ones the second is taken even though it started
        // earlier; a third, started later than it, replaces it.
        {"started ones", {Overlay(1, -5, 1), Overlay(2, -10, 1), Overlay(3, -2, 1)}, 3},
        {"started before later ones",
         {Overlay(1, -5, 1), Overlay(2, -10, 1), Overlay(3, -20, 1)},
         2},
        {"a flow's overlay before a command's", {Overlay(1, 0, 0), Overlay(2, 30, 1)}, 2},
    };
    for (const Case& c : cases) {
        chara.m_Overlays.assign(c.overlays.begin(), c.overlays.end());
        EXPECT_EQ(chara.CurrentFrame(1), c.frame) << c.name;
    }
    // Held overlays are neither chosen nor stepped.
    chara.m_Overlays = {Overlay(1, 0, 1)};
    chara.m_Overlays.front().m_Held = 1;
    EXPECT_EQ(chara.CurrentFrame(0), 42);
    EXPECT_EQ(chara.m_Overlays.front().m_Countdown, 0);
    // Stepping counts the overlays down and drops those that ended.
    chara.m_Overlays = {Overlay(1, 3, 1)};
    chara.m_Overlays.push_back(OverlayAnim());
    chara.m_Overlays.back().m_Seq.Build({{{9, 1, 0}, {-4, 0, 0}}});
    chara.CurrentFrame(0);
    ASSERT_EQ(chara.m_Overlays.size(), 1u);
    EXPECT_EQ(chara.m_Overlays.front().m_Countdown, 2);
}

TEST_F(FlowInstall, FlowOperationsOnOverlays)
{
    cNpcObj& chara = Walker();
    // Serial 1: one waiting to start, one past its length; serial 2 apart.
    chara.m_Overlays = {Overlay(1, 5, 1, 1, 10), Overlay(2, -20, 1, 1, 10), Overlay(3, 0, 1, 2)};
    chara.EndOverlays(1);
    ASSERT_EQ(chara.m_Overlays.size(), 2u);
    EXPECT_EQ(chara.m_Overlays.front().m_Held, 1);
    EXPECT_EQ(chara.m_Overlays.back().m_Held, 0);
    chara.ResumeOverlays(1);
    EXPECT_EQ(chara.m_Overlays.front().m_Held, 0);
    chara.RemoveOverlays(1);
    ASSERT_EQ(chara.m_Overlays.size(), 1u);
    EXPECT_EQ(chara.m_Overlays.front().m_FlowSerial, 2);
}

} // namespace
