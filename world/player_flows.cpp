// The player's flow run of a sub-step and its jump.

#include "world/player_obj.h"

#include <cmath>
#include <utility>

#include "core/checked_access.h"
#include "data/ed_flow.h"
#include "world/command_lists.h"
#include "world/commands.h"
#include "world/flow_context.h"
#include "world/flows.h"
#include "world/input_state.h"
#include "world/running_stage.h"
#include "world/steering.h"
#include "world/sub_steps.h"
#include "world/trunc.h"

namespace {

constexpr int kTriggerDeath = 3;
// The single-precision value of 1.02: a jump from a solid character.
constexpr double kRidingJumpFactor = 1.0199999809265137;
// What releasing the jump key early leaves of the rise.
constexpr double kReleaseCut = 0.3;

} // namespace

int cPlayerObj::RunFlows(int deathOnly)
{
    cRunningStage& stage = RunStage();
    cFlowContext context;
    const cFlowWalk walk(*this);
    stage.m_CurChara = this;
    stage.m_LifeCheck = 0;
    const double q = stage.m_ScrollX.FollowSpeed();
    const double o = stage.m_ScrollY.FollowSpeed();
    if (ScrollInCommands()) {
        m_SpeedX = m_Flying ? q : 0.0;
        if (m_Flying) m_SpeedY = o;
    } else {
        m_SpeedX = m_ScrollFollow ? q : 0.0;
        if (m_Flying) m_SpeedY = m_ScrollFollow ? o : 0.0;
    }
    m_NoGravity = 0;
    m_DecelX = m_DecelY = 1;
    m_Hidden = 0;
    m_DirLock = m_ButtonLock = 0;
    m_MovedByCommand = 0;
    m_Jumped = 0;
    if (m_CrushGrace > 0) --m_CrushGrace;
    StartScheduledAnimes();
    for (std::size_t i = 0; i < m_FlowRuns.size(); ++i) {
        if (!StepFlowRun(*this, i, deathOnly)) continue;
        if (!deathOnly && m_FlowRuns[i].m_Flow &&
            m_FlowRuns[i].m_Flow->m_Trigger != kTriggerDeath && m_Hp <= 0)
            return 1;
    }
    stage.m_CurChara = nullptr;
    stage.m_CurFlowRun = nullptr;
    stage.m_CurCommandRun = nullptr;
    // Flow changes that arrived while the flows were walked take effect now.
    if (walk.Outermost()) {
        std::vector<cEdCommand> pending = std::move(m_PendingFlowChanges);
        m_PendingFlowChanges.clear();
        for (const cEdCommand& command : pending)
            ExecFlowChange(*this, command, 1);
    }
    FinishFlowRun(*this, walk.Outermost());
    if (!m_MovedByCommand && m_InertiaX == 0 && m_InertiaY == 0)
        m_Anime.Change(m_Flying ? 2 : 0, 1);
    if (!m_Jumped) {
        m_JumpHold = 0;
        m_JumpReady = 1;
        m_JumpLatch = 0;
    }
    return m_Hp <= 0 ? 1 : 0;
}

int cPlayerObj::Jump(cCommandRun& run)
{
    if (m_Flying || m_Jumped || !run.m_Command) return 0;
    cRunningStage& stage = RunStage();
    const cEdCommand& command = *run.m_Command;
    const int mode = CommandParam(command, 0);
    const cFlowRun* flow = stage.m_CurFlowRun;
    const bool hasKeys = flow && !flow->m_KeyConds.empty() && flow->m_KeyConds.back();
    bool held = false;
    bool pressed = true;
    if (mode != 0) {
        const InputState& input = m_Input ? *m_Input : VecAt(g_InputState, m_Def.nInputNo);
        pressed = held = hasKeys && TestKeyCondNow(input, *flow->m_KeyConds.back());
    }
    if (mode == 2) {
        // The height from the speed: fast and slow thresholds, in between
        // in proportion to the fast one.
        const double v = std::fabs(m_InertiaX);
        const double b = StageSubStepsF();
        const double fast = CommandParam(command, 1) / (10.0 * b);
        const double slow = CommandParam(command, 3) / (10.0 * b);
        const int high = CommandParam(command, 2);
        const int low = CommandParam(command, 4);
        int height;
        if (v >= fast)
            height = high;
        else if (v <= slow)
            height = low;
        else
            height = TruncToInt((high - low) * v / fast) + low;
        run.m_Speed = JumpSpeedHbl(height);
    }
    int jumped = 0;
    const bool canRise = (m_JumpEnded == 0 || m_Riding) && m_JumpReady && m_JumpLatch == 0;
    if ((held || mode == 0) && !m_JumpForbid) {
        if (m_JumpHold < 2147483647) ++m_JumpHold;
        if (m_JumpHold >= run.m_Duration && canRise && (m_SpeedY < 0 || m_Riding)) {
            // Held to the end: the rise ends without a cut.
            m_JumpEnded = 1;
            m_JumpReady = 0;
        } else if (!m_Airborne && m_JumpHold <= StageSubSteps() && canRise && !m_Knockback &&
                   !run.m_Started) {
            m_Jumping = 1;
            if (!m_Riding) {
                m_SpeedY = run.m_Speed;
                jumped = 1;
            } else if (stage.m_SubStepNo == StageSubSteps()) {
                // From a solid character only in the frame's last sub-step.
                m_SpeedY = run.m_Speed * kRidingJumpFactor;
                m_Riding = 0;
                jumped = 1;
            }
            if (jumped) {
                run.m_Started = 1;
                PlayCommandSound(*this, command);
            }
        }
    } else {
        if (m_JumpHold > 0 && m_JumpHold < run.m_Duration && m_JumpEnded == 0 && m_JumpLatch == 0 &&
            m_JumpForbid == 0 && !m_Knockback) {
            m_Riding = 0;
            if (m_SpeedY < 0) m_SpeedY *= kReleaseCut;
            m_JumpEnded = 1;
        }
        m_JumpHold = 0;
        m_JumpReady = 1;
        m_JumpLatch = 0;
    }
    if (IsOnGround()) {
        if (hasKeys) {
            if (m_SpeedY >= 0 && !pressed) {
                m_JumpHold = 0;
                m_JumpReady = 1;
                m_JumpLatch = 0;
                m_Knockback = 0;
                run.m_Remaining = 0;
            }
        } else if (m_SpeedY >= 0) {
            m_JumpHold = 0;
            m_JumpReady = 1;
            m_JumpLatch = 0;
            m_Knockback = 0;
            run.m_Started = 0;
            m_Jumped = 1;
            return jumped;
        }
    }
    m_Jumped = 1;
    return jumped;
}
