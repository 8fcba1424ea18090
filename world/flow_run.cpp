// The flow runner: starting, stepping and stopping a character's running
// flows and counting each command's time.

#include "world/flow_run.h"

#include <cmath>

#include "core/message_box.h"
#include "core/saturate.h"
#include "core/sjis_text.h"
#include "data/ed_flow.h"
#include "world/chara_obj.h"
#include "world/commands.h"
#include "world/flow_context.h"
#include "world/running_stage.h"
#include "world/trunc.h"

namespace {

// The instant kinds begin with the flow operation.
constexpr int kFirstInstantKind = 16;
constexpr int kKindMessage = 19;
constexpr int kTriggerAlways = 0;
constexpr int kTriggerDeath = 3;
constexpr int kTriggerBeforeStart = 18;

// A message that waits until a button is pressed (its duration mode 0).
bool IsKeyWaitMessage(const cEdCommand& command)
{
    return command.m_Kind == kKindMessage && command.m_Params.size() > 6 &&
           command.m_Params[6] == 0;
}

// The byte of the character's exclusion vectors, or null for a number
// outside 1..26 (no exclusion).
std::uint8_t* ExclByte(std::vector<std::uint8_t>& flags, int number)
{
    if (number < 1 || number >= kFlowExclCount || static_cast<std::size_t>(number) >= flags.size())
        return nullptr;
    return &flags[static_cast<std::size_t>(number)];
}

// The ending part of Stop and StopForever: every command restarts with
// Reset next time, and the flow's exclusion number is marked ended.
void ClearRun(cFlowRun& run, cCharaObj* chara)
{
    for (cCommandRun& command : run.m_Commands)
        command.m_Remaining = 0;
    if (!chara || !run.m_Flow) return;
    if (std::uint8_t* ended = ExclByte(chara->m_FlowExclEnded, run.m_Flow->m_Group)) {
        *ended = 1;
        chara->m_FlowEnded = 1;
    }
}

// Command i of the run is done for this run of the flow.
void MarkDone(cFlowRun& run, int i)
{
    run.m_Commands[static_cast<std::size_t>(i)].m_Done = 1;
    if (i == run.m_FirstOpen) run.m_FirstOpen = i + 1;
}

} // namespace

int FlowExclNumber(const cEdFlow& flow)
{
    return flow.m_Group >= 1 && flow.m_Group < kFlowExclCount ? flow.m_Group : 0;
}

void cCommandRun::Reset()
{
    m_Remaining = m_Duration;
    m_Done = 0;
    m_FacingRequest = 0;
    m_Repeat = 0;
    m_Started = 0;
    m_PrevFacing = 0;
}

int cCommandRun::Step()
{
    cRunningStage& stage = RunStage();
    stage.m_CurCommandRun = this;
    if (stage.m_CurChara) RunCharaCommand(*stage.m_CurChara, *this);
    // Counted down; a command whose count was 1 or less ends now.
    if (m_Remaining > 1) {
        --m_Remaining;
        return 0;
    }
    m_Remaining = 0;
    return 1;
}

void cCommandRun::SetMoveTiming(const cEdCommand& command, int copyNo)
{
    if (!command.m_Move) return;
    const cEdMove& move = *command.m_Move;
    double distance = move.m_Distance + static_cast<double>(move.m_DistanceStep) * copyNo;
    if (move.m_DistanceUnit != 1) distance *= 16.0;
    switch (move.m_CalcMode) {
    case 1:
        // A command of duration 0 still runs one sub-step.
        m_Speed = distance / (m_Duration > 0 ? m_Duration : 1);
        break;
    case 2:
        // A speed of 0 would never cover the distance: the time given stays.
        if (m_Speed != 0) m_Duration = TruncToInt(distance / m_Speed);
        break;
    default:
        break;
    }
}

void cFlowRun::Start()
{
    cRunningStage& stage = RunStage();
    m_Running = 1;
    m_CurIndex = 0;
    m_RunCounter = 0;
    m_MsgChain = 0;
    for (cCommandRun& command : m_Commands)
        command.m_Done = 0;
    m_FirstOpen = 0;
    m_FiredThisFrame = 1;
    if (!m_Flow) return;
    cCharaObj* chara = stage.m_CurChara;
    if (m_Flow->m_Trigger == kTriggerAlways && chara) {
        const int number = FlowExclNumber(*m_Flow);
        if (std::uint8_t* running = ExclByte(chara->m_FlowExclRunning, number)) *running = 1;
        if (std::uint8_t* started = ExclByte(chara->m_FlowExclStarted, number)) *started = 1;
    }
    if (m_Commands.empty() || m_Flow->m_Trigger != kTriggerBeforeStart) return;
    // Before the stage starts only the instant commands run, each once, at once.
    {
        cFlowContext context;
        stage.m_CurFlowRun = this;
        m_Abort = 0;
        for (m_CurIndex = 0; m_CurIndex < static_cast<int>(m_Commands.size()); ++m_CurIndex) {
            cCommandRun& command = m_Commands[static_cast<std::size_t>(m_CurIndex)];
            if (!command.m_Command || command.m_Command->m_Kind < kFirstInstantKind ||
                !command.m_Command->m_Parallel)
                continue;
            if (command.Step() != 1)
                DebugBoxF("%s", Sjis("使用時間0なので、ここにくることはあり得ないはず！"));
            if (m_Abort) break;
            command.m_Done = 1;
        }
    }
    if (chara)
        Stop(*chara);
    else if (m_Running) {
        m_Running = 0;
        ClearRun(*this, nullptr);
    }
}

int cFlowRun::Step()
{
    RunStage().m_CurFlowRun = this;
    m_Abort = 0;
    const int count = static_cast<int>(m_Commands.size());
    // The done commands before the first open one would only be skipped.
    for (int i = m_FirstOpen; i <= m_CurIndex && i < count; ++i) {
        cCommandRun& command = m_Commands[static_cast<std::size_t>(i)];
        if (command.m_Done) continue;
        const bool parallel = command.m_Command && command.m_Command->m_Parallel;
        const bool keyWait = command.m_Command && IsKeyWaitMessage(*command.m_Command);
        if (command.m_Remaining == 0) {
            command.Reset();
            if (!keyWait && !parallel) m_MsgChain = 0;
        }
        if (parallel) {
            if (command.Step() == 1) {
                MarkDone(*this, i);
                if (i == count - 1) return 1;
            }
            if (i == m_CurIndex) m_CurIndex = i + 1;
            if (m_Abort) return 0;
            continue;
        }
        if (command.Step() == 0) {
            if (m_Abort) return 0;
            continue;
        }
        MarkDone(*this, i);
        if (keyWait) m_MsgChain = 1;
        if (i == count - 1) return 1;
        ++m_CurIndex;
        break;
    }
    if (count > 0 && m_Commands.back().m_Done) return 1;
    if (m_RunCounter < 2147483647) ++m_RunCounter;
    return 0;
}

bool StepFlowRun(cCharaObj& chara, std::size_t index, int deathOnly)
{
    cFlowRun& run = chara.m_FlowRuns[index];
    if (!run.m_Running) return false;
    if (run.m_Commands.empty()) {
        run.Stop(chara);
        return false;
    }
    if (run.m_Paused || run.m_StoppedForGood) return false;
    if (deathOnly && (!run.m_Flow || run.m_Flow->m_Trigger != kTriggerDeath)) return false;
    if (run.Step() == 1) chara.m_FlowRuns[index].Stop(chara);
    return true;
}

int StepFlowRuns(cCharaObj& chara, int deathOnly)
{
    for (std::size_t i = 0; i < chara.m_FlowRuns.size(); ++i) {
        if (!StepFlowRun(chara, i, deathOnly)) continue;
        if (chara.m_Vanish) return 1;
        if (!deathOnly && chara.m_Hp <= 0 && chara.m_FlowRuns[i].m_Flow &&
            chara.m_FlowRuns[i].m_Flow->m_Trigger != kTriggerDeath)
            return 1;
    }
    return 0;
}

void cFlowRun::Stop(cCharaObj& chara)
{
    if (!m_Running) return;
    m_Running = 0;
    ClearRun(*this, &chara);
}

void cFlowRun::StopForever(cCharaObj& chara)
{
    m_StoppedForGood = 1;
    // It keeps its place as a running flow that nothing steps or fires again.
    if (m_Running) ClearRun(*this, &chara);
}
