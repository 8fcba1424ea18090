// The flow runner: how a flow's commands take their turns and their time,
// pause and resume, the flows before the stage starts, the flow operations,
// the exclusion numbers, the movement timing and the context of nested walks.

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "world/command_object.h"
#include "world/flow_context.h"
#include "world/flow_fixture.h"

namespace {

using test::Command;
using test::Flow;

constexpr int kWait = 1;
constexpr int kFlowOperation = 16;
constexpr int kStageClear = 17;
constexpr int kStraight = 2;
constexpr int kTriggerAlways = 0;
constexpr int kTriggerBeforeStart = 18;
constexpr int kTriggerOperated = 19;

class FlowRunner : public test::FlowFixture {
protected:
    // A started stage with one computer character that runs these flows.
    cNpcObj& CharaWith(std::vector<cEdFlow> flows)
    {
        std::erase_if(g_Stage.PlacedCharas, [](const cEdChara& c) { return c.nOperator == 1; });
        m_Play = std::make_unique<cGamePlay>();
        AddChara(20, 10).Flows = std::move(flows);
        Start();
        cNpcObj& chara = Chara(0);
        Play().m_CurChara = &chara;
        return chara;
    }

    // Steps a started flow until it finishes; the number of steps.
    static int StepsToFinish(cFlowRun& run, int limit = 100)
    {
        for (int step = 1; step <= limit; ++step)
            if (run.Step() == 1) return step;
        return -1;
    }
};

// Waits whose durations are set in sub-steps, each parallel or not.
std::vector<cEdCommand> Waits(const std::vector<int>& parallel)
{
    std::vector<cEdCommand> commands;
    for (int p : parallel)
        commands.push_back(Command(kWait, 0, {}, p));
    return commands;
}

TEST_F(FlowRunner, CommandsTakeTheirTurnsAndTheirTime)
{
    struct Case {
        std::vector<int> durations;
        std::vector<int> parallel;
        int steps;      // Step calls until the flow reports its end
        int runCounter; // sub-steps stepped without finishing
        int firstLeft;  // the first command's remaining time at the end
    };
    const Case cases[] = {
        {{2, 1, 3}, {0, 0, 0}, 6, 5, 0},
        // The parallel first command runs beside the last one, which ends
        // the flow at once: its remaining time is cut short by Stop.
        {{5, 1}, {1, 0}, 1, 0, 4},
        {{5, 1, 10}, {1, 0, 0}, 11, 10, 0},
        // Durations 0 and 1 both take one sub-step.
        {{0, 1, 0}, {0, 0, 0}, 3, 2, 0},
        // A parallel command outlasts the one after it and still runs on
        // every sub-step until its own end.
        {{2, 5, 1, 3}, {0, 1, 0, 0}, 6, 5, 0},
    };
    for (const Case& c : cases) {
        cNpcObj& chara = CharaWith({Flow(kTriggerOperated, Waits(c.parallel))});
        cFlowRun& run = chara.m_FlowRuns[0];
        for (std::size_t i = 0; i < c.durations.size(); ++i)
            run.m_Commands[i].m_Duration = c.durations[i];
        run.Start();
        EXPECT_EQ(StepsToFinish(run), c.steps);
        EXPECT_EQ(run.m_RunCounter, c.runCounter);
        EXPECT_EQ(run.m_Commands[0].m_Remaining, c.firstLeft);
        run.Stop(chara);
        EXPECT_EQ(run.m_Commands[0].m_Remaining, 0);
        EXPECT_EQ(run.m_Running, 0);
        // Started again, the flow runs from its first command as before.
        run.Start();
        EXPECT_EQ(StepsToFinish(run), c.steps);
        EXPECT_EQ(run.m_RunCounter, c.runCounter);
    }
}

TEST_F(FlowRunner, PausedFlowKeepsItsPlaceUntilResumed)
{
    // The pause comes from a flow listed before the waiting one, so that it
    // takes effect before the waiting flow's turn in the same sub-step.
    const cEdCommand resume = Command(kFlowOperation, 0, {3, 2, 7});
    cNpcObj& chara = CharaWith({Flow(kTriggerOperated, {Command(kFlowOperation, 0, {2, 2, 7})}),
                                Flow(kTriggerOperated, {Command(kWait)}, 0, 7)});
    cFlowRun& waiting = chara.m_FlowRuns[1];
    waiting.m_Commands[0].m_Duration = 60;
    waiting.Start();
    for (int i = 0; i < 40; ++i)
        chara.RunFlows(0);
    ASSERT_EQ(waiting.m_Commands[0].m_Remaining, 20);

    Play().m_CurChara = &chara;
    chara.m_FlowRuns[0].Start();
    chara.RunFlows(0);
    EXPECT_EQ(waiting.m_Paused, 1);
    for (int i = 0; i < 10; ++i)
        chara.RunFlows(0);
    EXPECT_EQ(waiting.m_Commands[0].m_Remaining, 20);

    cCommandRun run;
    run.m_Command = &resume;
    ExecFlowOperation(chara, run);
    EXPECT_EQ(waiting.m_Paused, 0);
    EXPECT_EQ(waiting.m_Running, 1);
    EXPECT_EQ(waiting.m_Commands[0].m_Remaining, 20);
    chara.RunFlows(0);
    EXPECT_EQ(waiting.m_Commands[0].m_Remaining, 19);
}

TEST_F(FlowRunner, BeforeStartFlowsRunOnlyTheirInstantParallelCommands)
{
    cEdCommand move = test::MoveCommand(kStraight, 10, [](cEdMove& m) { m.m_Dir = 2; });
    move.m_Parallel = 1;
    // A parallel stage clear runs (next stage 7); one without the flag is skipped (9).
    cNpcObj& chara =
        CharaWith({Flow(kTriggerBeforeStart, {move, Command(kStageClear, 0, {1, 7, 0, 0, 0}, 1),
                                              Command(kStageClear, 0, {1, 9, 0, 0, 0})})});
    EXPECT_EQ(Play().m_NextStage, 7) << "the set-up fired the flow";
    EXPECT_EQ(Play().m_ClearRequest, 1);
    Play().m_NextStage = 0;
    Play().m_ClearRequest = 0;
    chara.m_SpeedX = 0;
    chara.ResetFlowStepFlags();
    chara.FireFlows(kTriggerBeforeStart);
    EXPECT_EQ(Play().m_NextStage, 7);
    EXPECT_EQ(chara.m_SpeedX, 0) << "the movement is not an instant command";
    const cFlowRun& run = chara.m_FlowRuns[0];
    EXPECT_EQ(run.m_Running, 0);
    EXPECT_EQ(run.m_Commands[0].m_Remaining, 0);
}

TEST_F(FlowRunner, FlowOperationsChangeTheChosenFlows)
{
    struct Case {
        int operation;
        int running, paused, stoppedForGood, deleteRequest, abort;
    };
    // 0 start, 1 end, 2 pause, 3 resume, 4 delete, 5 stop for good, 6 nothing.
    const Case cases[] = {
        {0, 1, 0, 0, 0, 1}, {1, 0, 0, 0, 0, 1}, {2, 1, 1, 0, 0, 1}, {3, 1, 0, 0, 0, 0},
        {4, 1, 0, 0, 1, 1}, {5, 1, 0, 1, 0, 1}, {6, 1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        cNpcObj& chara =
            CharaWith({Flow(kTriggerOperated, {Command(kWait), Command(kWait)}, 0, 4)});
        cFlowRun& target = chara.m_FlowRuns[0];
        target.m_Commands[0].m_Duration = 10;
        target.Start();
        for (int i = 0; i < 3; ++i)
            target.Step();
        ASSERT_EQ(target.m_Commands[0].m_Remaining, 7);
        const cEdCommand operation = Command(kFlowOperation, 0, {c.operation, 2, 4});
        cCommandRun run;
        run.m_Command = &operation;
        Play().m_CurChara = &chara;
        Play().m_CurFlowRun = nullptr;
        ExecFlowOperation(chara, run);
        EXPECT_EQ(target.m_Running, c.running) << c.operation;
        EXPECT_EQ(target.m_Paused, c.paused) << c.operation;
        EXPECT_EQ(target.m_StoppedForGood, c.stoppedForGood) << c.operation;
        EXPECT_EQ(target.m_DeleteRequest, c.deleteRequest) << c.operation;
        EXPECT_EQ(chara.m_FlowDeleted, c.deleteRequest) << c.operation;
        EXPECT_EQ(target.m_Abort, c.abort) << c.operation;
        if (c.operation == 0) {
            // A fresh start: the first command begins again from its full time.
            target.Step();
            EXPECT_EQ(target.m_Commands[0].m_Remaining, 9);
        }
    }
}

TEST_F(FlowRunner, OperationOnItsOwnFlowGivesUpTheRestOfThePass)
{
    // "終了" of this flow by a parallel command: the next command of the
    // stopped flow does not run in the same pass.
    cNpcObj& chara = CharaWith(
        {Flow(kTriggerOperated, {Command(kFlowOperation, 0, {1, 0, 0}, 1), Command(kWait)})});
    cFlowRun& run = chara.m_FlowRuns[0];
    run.m_Commands[1].m_Duration = 5;
    run.Start();
    chara.RunFlows(0);
    EXPECT_EQ(run.m_Running, 0);
    EXPECT_EQ(run.m_Commands[1].m_Remaining, 0);
    EXPECT_EQ(run.m_Commands[1].m_Done, 0);

    // "開始" of this flow runs it again from its first command.
    cNpcObj& other =
        CharaWith({Flow(kTriggerOperated,
                        {Command(kWait), Command(kFlowOperation, 0, {0, 0, 0}), Command(kWait)})});
    cFlowRun& again = other.m_FlowRuns[0];
    again.m_Commands[0].m_Duration = 2;
    again.Start();
    for (int i = 0; i < 3; ++i)
        other.RunFlows(0);
    EXPECT_EQ(again.m_Running, 1);
    EXPECT_EQ(again.m_Commands[0].m_Done, 0);
    other.RunFlows(0);
    EXPECT_EQ(again.m_Commands[0].m_Remaining, 1);
}

TEST_F(FlowRunner, StopForeverKeepsAnIdleFlowFromEverStarting)
{
    cNpcObj& chara = CharaWith({Flow(kTriggerAlways, {Command(kWait)})});
    cFlowRun& run = chara.m_FlowRuns[0];
    run.Stop(chara);
    run.StopForever(chara);
    EXPECT_EQ(run.m_StoppedForGood, 1);
    EXPECT_EQ(run.m_Running, 0);
    EXPECT_EQ(chara.m_FlowEnded, 0);
    chara.ResetFlowStepFlags();
    chara.FireFlows(kTriggerAlways);
    EXPECT_EQ(run.m_Running, 0);
}

TEST_F(FlowRunner, ExclusionNumbersLetOneAlwaysFlowRunAtATime)
{
    struct Case {
        int number;
        bool excludes;
    };
    // Numbers outside 1 to 26 mean no exclusion.
    const Case cases[] = {{3, true},   {26, true},  {0, false},
                          {27, false}, {-1, false}, {100, false}};
    for (const Case& c : cases) {
        cNpcObj& chara = CharaWith({Flow(kTriggerAlways, {Command(kWait)}, c.number),
                                    Flow(kTriggerAlways, {Command(kWait)}, c.number)});
        chara.m_FlowRuns[0].m_Commands[0].m_Duration = 4;
        chara.ResetFlowStepFlags();
        chara.FireFlows(kTriggerAlways);
        EXPECT_EQ(chara.m_FlowRuns[0].m_Running, 1) << c.number;
        EXPECT_EQ(chara.m_FlowRuns[1].m_Running, c.excludes ? 0 : 1) << c.number;
        if (!c.excludes) continue;
        // Running the first: the second stays out while it runs, and in the
        // frame in which the first started even once it has ended.
        for (int i = 0; i < 4; ++i) {
            chara.RunFlows(0);
            chara.FireFlows(kTriggerAlways);
        }
        EXPECT_EQ(chara.m_FlowRuns[0].m_Running, 0);
        EXPECT_EQ(chara.m_FlowRuns[1].m_Running, 0);
        chara.ResetFlowStepFlags();
        chara.FireFlows(kTriggerAlways);
        EXPECT_EQ(chara.m_FlowRuns[0].m_Running, 1) << "listed first, it starts again first";
        EXPECT_EQ(chara.m_FlowRuns[1].m_Running, 0);
    }
}

TEST_F(FlowRunner, MovementTimingFromADistance)
{
    struct Case {
        int calcMode, distance, distanceStep, unit, copy;
        int duration;
        double speed;
        int wantDuration;
        double wantSpeed;
    };
    const Case cases[] = {
        {1, 5, 0, 0, 0, 10, 0.5, 10, 8.0}, // 80 px in 10 sub-steps
        {1, 5, 1, 1, 3, 4, 0.5, 4, 2.0},   // (5 + 3) px in pixels
        {1, 5, 0, 0, 0, 0, 0.5, 0, 80.0},  // duration 0: one sub-step
        {2, 5, 0, 0, 0, 10, 3.0, 26, 3.0}, // 80 / 3 truncated
        {2, 5, 0, 0, 0, 10, 0.0, 10, 0.0}, // speed 0: the time given stays
        {0, 5, 0, 0, 0, 10, 0.5, 10, 0.5}, // no timing mode
    };
    for (const Case& c : cases) {
        cEdCommand command = test::MoveCommand(kStraight, 0, [&](cEdMove& m) {
            m.m_CalcMode = static_cast<std::uint8_t>(c.calcMode);
            m.m_Distance = static_cast<std::int16_t>(c.distance);
            m.m_DistanceStep = static_cast<std::int16_t>(c.distanceStep);
            m.m_DistanceUnit = static_cast<std::uint8_t>(c.unit);
        });
        cCommandRun run;
        run.m_Duration = c.duration;
        run.m_Speed = c.speed;
        run.SetMoveTiming(command, c.copy);
        EXPECT_EQ(run.m_Duration, c.wantDuration);
        EXPECT_DOUBLE_EQ(run.m_Speed, c.wantSpeed);
    }
}

TEST_F(FlowRunner, ExtremeDurationsAreHeldAtTheCountersEnd)
{
    cEdCommand longest = Command(kWait, 32767);
    longest.m_TimeStep = 32767;
    g_Stage.nSpeedLevel = 10;
    cNpcObj& chara = CharaWith({});
    chara.m_CopyNo = 32767;
    chara.InstallFlows({Flow(kTriggerOperated, {longest})}, 0, 0, -1);
    EXPECT_EQ(chara.m_FlowRuns[0].m_Commands[0].m_Duration, INT_MAX);
    longest.m_Time = longest.m_TimeStep = -32768;
    chara.InstallFlows({Flow(kTriggerOperated, {longest})}, 0, 0, -1);
    EXPECT_EQ(chara.m_FlowRuns[0].m_Commands[0].m_Duration, INT_MIN);
    // A negative duration still takes one sub-step.
    chara.m_FlowRuns[0].Start();
    EXPECT_EQ(StepsToFinish(chara.m_FlowRuns[0]), 1);
}

TEST_F(FlowRunner, NestedWalksPutTheContextBack)
{
    cNpcObj& chara = CharaWith({Flow(1, {Command(kWait)})});
    cFlowRun outerFlow;
    cCommandRun outerCommand;
    Play().m_CurChara = &Player();
    Play().m_CurFlowRun = &outerFlow;
    Play().m_CurCommandRun = &outerCommand;
    chara.FireFlows(1);
    EXPECT_EQ(Play().m_CurChara, &Player());
    EXPECT_EQ(Play().m_CurFlowRun, &outerFlow);
    EXPECT_EQ(Play().m_CurCommandRun, &outerCommand);
    chara.RunFlows(0);
    EXPECT_EQ(Play().m_CurChara, &Player());
    EXPECT_EQ(Play().m_CurFlowRun, &outerFlow);
    EXPECT_EQ(Play().m_CurCommandRun, &outerCommand);
    EXPECT_EQ(chara.m_FlowWalks, 0);
    // At the top level the walk leaves nothing current.
    Play().m_CurChara = nullptr;
    Play().m_CurFlowRun = nullptr;
    Play().m_CurCommandRun = nullptr;
    chara.RunFlows(0);
    EXPECT_EQ(Play().m_CurChara, nullptr);
    EXPECT_EQ(Play().m_CurFlowRun, nullptr);
}

} // namespace
