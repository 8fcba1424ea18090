// The flows on a character: installing the running flows, firing them by
// trigger with their conditions and key sequences, removing them.

#include "world/flows.h"

#include <algorithm>
#include <climits>

#include "core/checked_access.h"
#include "core/saturate.h"
#include "data/ed_flow.h"
#include "world/chara_obj.h"
#include "world/commands.h"
#include "world/conditions.h"
#include "world/database_tables.h"
#include "world/flow_context.h"
#include "world/input_state.h"
#include "world/running_stage.h"
#include "world/sub_steps.h"
#include "world/trace.h"

namespace {

constexpr int kTriggerAlways = 0;
constexpr int kKindJump = 10;
constexpr int kKindSword = 12;

std::int16_t ClampInt16(std::int64_t v)
{
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, -32768, 32767));
}

// Frames of an Anime's lead-in: the steps before its first held step.
std::int64_t LeadInFrames(int anime)
{
    std::int64_t frames = 0;
    for (const FrameStep& step : VecAt(g_AnimeSeqs, anime)) {
        if (step.m_Flag || step.m_Frame < 0) break;
        frames += step.m_Duration;
    }
    return frames;
}

// The animations of a flow's commands, each placed so that its lead-in
// ends where its command begins (as far as the commands before it leave
// room).
void BuildAnimSchedule(cFlowRun& run)
{
    const std::int64_t b = StageSubSteps();
    std::int64_t v = 0;
    for (std::size_t j = 0; j < run.m_Commands.size(); ++j) {
        const cCommandRun& current = run.m_Commands[j];
        if (!current.m_Command) continue;
        const cEdCommand& command = *current.m_Command;
        if (command.m_Anime != 0) {
            const std::int64_t leadIn = LeadInFrames(command.m_Anime);
            FlowAnimEntry entry;
            entry.m_Anime = command.m_Anime;
            entry.m_Hold = ClampInt16(std::int64_t{command.m_Time} * 6);
            entry.m_HoldSwitch =
                command.m_Kind == kKindJump || command.m_Kind == kKindSword ? 0 : 1;
            std::int64_t room = leadIn * b;
            for (std::size_t k = j; k-- > 0 && room > 0;) {
                const cCommandRun& earlier = run.m_Commands[k];
                if (earlier.m_Command && earlier.m_Command->m_Parallel) continue;
                room -= earlier.m_Duration;
            }
            if (room <= 0) {
                entry.m_StartTime = SaturateToInt32(v - leadIn * b);
                entry.m_LeadIn = ClampInt16(leadIn);
            } else {
                const std::int64_t skipped = std::min(room / b, leadIn);
                entry.m_Skipped = ClampInt16(skipped);
                entry.m_LeadIn = ClampInt16(leadIn - skipped);
            }
            run.m_Anims.push_back(entry);
        }
        if (!command.m_Parallel) v += current.m_Duration;
    }
}

// A running flow for flow index of the character's list.
void BuildRun(cCharaObj& chara, cFlowRun& run, int index, int facing)
{
    const cEdFlow& flow = chara.m_Def.Flows[static_cast<std::size_t>(index)];
    const int copy = chara.m_CopyNo;
    const std::int64_t b = StageSubSteps();
    const double bf = StageSubStepsF();
    run = cFlowRun();
    run.m_Index = index;
    run.m_Flow = &flow;
    run.m_Serial = chara.m_FlowSerial;
    if (chara.m_FlowSerial < INT_MAX) ++chara.m_FlowSerial;
    for (const cEdKeyCond& key : flow.m_KeyConds)
        run.m_KeyConds.push_back(&key);
    run.m_Commands.resize(flow.m_Commands.size());
    for (std::size_t j = 0; j < flow.m_Commands.size(); ++j) {
        const cEdCommand& command = flow.m_Commands[j];
        cCommandRun& commandRun = run.m_Commands[j];
        commandRun.m_Command = &command;
        commandRun.m_Kind = static_cast<std::uint8_t>(command.m_Kind);
        // Extreme times are held at the ends of the counter's range.
        commandRun.m_Duration =
            SaturateToInt32((std::int64_t{command.m_TimeStep} * copy + command.m_Time) * b * 6);
        if (command.m_Move) {
            const cEdMove& move = *command.m_Move;
            commandRun.m_Speed =
                (static_cast<double>(move.m_SpeedStep) * copy + move.m_Speed) * 0.1 / bf;
            if (move.m_Inertia) commandRun.m_MaxSpeed = move.m_MaxSpeed * 0.1 / bf;
            commandRun.m_Dir = move.m_Dir;
        }
        const int kind = command.m_Kind;
        if (kind >= 0 && kind < kCharaCommandKinds && g_CharaCommandStartProc[kind])
            g_CharaCommandStartProc[kind](chara, commandRun, facing);
    }
}

// The character's input record that direction-dependent commands read:
// the player's own, record 0 for the others.
const InputState& FireInput(const cCharaObj& chara)
{
    return VecAt(g_InputState, chara.m_IsPlayer ? chara.m_Def.nInputNo : 0);
}

// The player's input record, which every key sequence is matched against.
const InputState& PlayerInput()
{
    cRunningStage& stage = RunStage();
    if (!stage.Player.empty() && stage.Player.front().m_Input) return *stage.Player.front().m_Input;
    return VecAt(g_InputState, 0);
}

std::uint8_t& ExclFlag(std::vector<std::uint8_t>& flags, int number)
{
    return VecAt(flags, number);
}

// A flow of the trigger that is neither running, paused, stopped for good
// nor fired in this sub-step: it starts if its conditions hold. The run's
// own flags first: most flows are running.
bool MayFire(const cFlowRun& run, int trigger)
{
    return !run.m_Running && !run.m_Paused && !run.m_StoppedForGood && !run.m_FiredThisFrame &&
           run.m_Flow && run.m_Flow->m_Trigger == trigger;
}

// The flows asked to be deleted go.
[[gnu::noinline]] void RemoveDeletedFlows(cCharaObj& chara)
{
    for (std::size_t i = 0; i < chara.m_FlowRuns.size();) {
        if (chara.m_FlowRuns[i].m_DeleteRequest)
            chara.RemoveFlow(static_cast<int>(i));
        else
            ++i;
    }
    chara.m_FlowDeleted = 0;
}

// The exclusion numbers whose flows ended are free again.
[[gnu::noinline]] void ReleaseEndedExclusions(cCharaObj& chara)
{
    for (std::size_t n = 0; n < chara.m_FlowExclEnded.size(); ++n) {
        if (!chara.m_FlowExclEnded[n]) continue;
        chara.m_FlowExclEnded[n] = 0;
        if (n < chara.m_FlowExclRunning.size()) chara.m_FlowExclRunning[n] = 0;
    }
    chara.m_FlowEnded = 0;
}

} // namespace

void FinishFlowRun(cCharaObj& chara, bool outermost)
{
    // Most runs end with nothing to do: both tests stay in this small function.
    if (outermost && chara.m_FlowDeleted) RemoveDeletedFlows(chara);
    if (chara.m_FlowEnded) ReleaseEndedExclusions(chara);
}

int cCharaObj::InstallFlows(const std::vector<cEdFlow>& flows, int facing, int insert, int position)
{
    const int n = static_cast<int>(flows.size());
    int first = 0;
    if (insert == 0) {
        if (&flows != &m_Def.Flows) m_Def.Flows = flows;
        m_FlowRuns.clear();
        m_FlowRuns.resize(m_Def.Flows.size());
    } else {
        // A copy first: the list may be the character's own.
        const std::vector<cEdFlow> added(flows);
        const int count = static_cast<int>(m_Def.Flows.size());
        const bool append = position < 0 || position >= count;
        first = append ? count : position;
        m_Def.Flows.insert(m_Def.Flows.begin() + first, added.begin(), added.end());
        if (append) {
            for (std::size_t k = 0; k < added.size(); ++k)
                AppendFlowRun(cFlowRun());
        } else {
            m_FlowRuns.insert(m_FlowRuns.begin() + first, added.size(), cFlowRun());
            RelinkFlows();
        }
    }
    for (int k = 0; k < n; ++k) {
        cFlowRun& run = m_FlowRuns[static_cast<std::size_t>(first + k)];
        BuildRun(*this, run, first + k, facing);
        BuildAnimSchedule(run);
    }
    return n;
}

void cCharaObj::AppendFlowRun(const cFlowRun& run)
{
    m_FlowRuns.push_back(run);
    RelinkFlows();
}

void cCharaObj::RemoveFlow(int index)
{
    if (index < 0 || index >= static_cast<int>(m_FlowRuns.size()) ||
        index >= static_cast<int>(m_Def.Flows.size())) {
        VecAt(m_FlowRuns, index);
        return;
    }
    cFlowRun& run = m_FlowRuns[static_cast<std::size_t>(index)];
    run.Stop(*this);
    RemoveOverlays(run.m_Serial);
    m_Def.Flows.erase(m_Def.Flows.begin() + index);
    m_FlowRuns.erase(m_FlowRuns.begin() + index);
    RelinkFlows();
}

int cCharaObj::RemoveFlowsById(int id)
{
    if (id == 0) {
        for (cFlowRun& run : m_FlowRuns)
            run.Stop(*this);
        m_FlowRuns.clear();
        m_Def.Flows.clear();
        m_Overlays.clear();
        return 0;
    }
    int first = -1;
    std::size_t i = 0;
    while (i < m_FlowRuns.size() && i < m_Def.Flows.size()) {
        if (m_Def.Flows[i].m_FlowId != id) {
            ++i;
            continue;
        }
        if (first < 0) first = static_cast<int>(i);
        m_FlowRuns[i].Stop(*this);
        RemoveOverlays(m_FlowRuns[i].m_Serial);
        m_Def.Flows.erase(m_Def.Flows.begin() + static_cast<std::ptrdiff_t>(i));
        m_FlowRuns.erase(m_FlowRuns.begin() + static_cast<std::ptrdiff_t>(i));
    }
    RelinkFlows();
    return first;
}

void cCharaObj::ResetFlowStepFlags()
{
    for (cFlowRun& run : m_FlowRuns)
        run.m_FiredThisFrame = 0;
    // A set-up character holds a flag per exclusion number: a clear of that
    // known size is a few stores instead of a call.
    if (m_FlowExclStarted.size() == kFlowExclCount)
        std::fill_n(m_FlowExclStarted.begin(), kFlowExclCount, 0);
    else
        std::fill(m_FlowExclStarted.begin(), m_FlowExclStarted.end(), 0);
}

namespace {

// FireFlows' trace line and its walk over the flows that the trigger may
// start: each whose exclusion number is free and whose conditions and key
// sequence hold starts. Out of line, so that the frequent calls that find
// nothing pay only for the small tests before it.
[[gnu::noinline]] void FireFlowsWalk(cCharaObj& chara, int trigger)
{
    TraceTrigger(chara, trigger);
    cRunningStage& stage = RunStage();
    cFlowContext context;
    cFlowWalk walk(chara);
    stage.m_CurChara = &chara;
    // By index: the flows keep their shape during the walk, and a run is
    // looked up again after every call that may run commands.
    for (std::size_t i = 0; i < chara.m_FlowRuns.size(); ++i) {
        {
            cFlowRun& run = chara.m_FlowRuns[i];
            if (!MayFire(run, trigger)) continue;
            const int number = FlowExclNumber(*run.m_Flow);
            if (trigger == kTriggerAlways && number &&
                (ExclFlag(chara.m_FlowExclRunning, number) ||
                 ExclFlag(chara.m_FlowExclStarted, number)))
                continue;
            // The conditions first: the key test moves the sequence's edge memory.
            if (!TestFlowConds(run, chara)) continue;
        }
        cFlowRun& run = chara.m_FlowRuns[i];
        if (!chara.TestFlowKeyConds(run)) continue;
        run.m_FireDir = FirstPressedDirection(FireInput(chara));
        run.Start();
    }
}

} // namespace

void cCharaObj::FireIdleFlows(int trigger)
{
    // Every trigger is part of the sub-step trace, whether or not a flow
    // fires. Most triggers have no flow of this character that could start
    // now, and no trace is recorded: they cost only this test.
    bool walk = g_Trace != nullptr;
    for (auto run = m_FlowRuns.begin(); !walk && run != m_FlowRuns.end(); ++run)
        walk = MayFire(*run, trigger);
    if (walk) FireFlowsWalk(*this, trigger);
}

int cCharaObj::TestFlowKeyConds(cFlowRun& run)
{
    if (run.m_KeyConds.empty() || !run.m_Flow) return 1;
    const cEdFlow& flow = *run.m_Flow;
    const int matched = MatchKeySequence(PlayerInput(), run.m_KeyConds, flow.m_KeyGap, m_Facing);
    if (flow.m_KeyRepeat) return matched;
    if (!matched) {
        run.m_KeysHeld = 0;
        return 0;
    }
    if (run.m_KeysHeld) {
        // Still held: the exclusion number stays blocked until the flows
        // of this sub-step have run.
        const int number = FlowExclNumber(flow);
        if (flow.m_Trigger == kTriggerAlways && number) {
            cCharaObj* current = RunStage().m_CurChara;
            ExclFlag((current ? current : this)->m_FlowExclRunning, number) = 1;
            ExclFlag(m_FlowExclEnded, number) = 1;
            m_FlowEnded = 1;
        }
        return 0;
    }
    run.m_KeysHeld = 1;
    return 1;
}
