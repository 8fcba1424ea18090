// The two tables of the character command kinds, the dispatcher, and the
// start handlers of the movement kinds.

#include "world/commands.h"

#include <algorithm>
#include <cmath>

#include "core/saturate.h"
#include "data/ed_flow.h"
#include "world/chara_obj.h"
#include "world/command_move.h"
#include "world/command_object.h"
#include "world/command_status.h"
#include "world/running_stage.h"
#include "world/status_ops.h"
#include "world/sub_steps.h"
#include "world/trunc.h"
#include "world/world_services.h"

namespace {

// Kinds 0 and 1: the command only waits its duration.
int ExecNothing(cCharaObj&, cCommandRun&)
{
    return 0;
}

// The instant kinds 22 to 36 run their body with the command once per sub-step.
template <int (*Body)(cCharaObj&, const cEdCommand&)>
int ExecBody(cCharaObj& chara, cCommandRun& run)
{
    return run.m_Command ? Body(chara, *run.m_Command) : 0;
}

int ExecStatusOperationCommand(cCharaObj& chara, cCommandRun& run)
{
    return run.m_Command ? ExecStatusOperation(chara, *run.m_Command) : 0;
}

} // namespace

const CharaCommandProc g_CharaCommandProc[kCharaCommandKinds] = {
    ExecNothing,
    ExecNothing,
    ExecStraightMove,
    ExecGroundTurnBack,
    ExecCircleMove,
    ExecChargeMove,
    ExecHomingMove,
    ExecAvoidMove,
    ExecDisableMove,
    ExecTurn,
    ExecJump,
    ExecShot,
    ExecSword,
    ExecBlockSummon,
    ExecCharaSummon,
    ExecItemSummon,
    ExecFlowOperation,
    ExecStageClear,
    ExecGameWait,
    ExecMessage,
    ExecWarp,
    ExecSetTarget,
    ExecStatusOperationCommand,
    ExecBody<StatusOperation2>,
    ExecBody<GetItem>,
    ExecBody<ChangeGraphic>,
    ExecBody<ChangeAnimeSet>,
    ExecBody<RunAnime>,
    ExecBody<ShowEffect>,
    ExecBody<RunCharaEffect>,
    ExecBody<RunScrEffect>,
    ExecBody<ShowPicture>,
    ExecBody<ChangeScreenColour>,
    ExecBody<ChangeBackground>,
    ExecBody<PlaySoundCommand>,
    ExecBody<PlayBgmCommand>,
    ExecBody<RunCode>,
};

const CharaCommandStartProc g_CharaCommandStartProc[kCharaCommandKinds] = {
    nullptr,         nullptr,         StartStraightMove, StartDistanceMove, StartCircleMove,
    StartOffsetMove, StartHomingMove, StartDistanceMove, nullptr,           nullptr,
    StartJump,       nullptr,         nullptr,           nullptr,           nullptr,
    nullptr,         nullptr,         nullptr,           nullptr,           nullptr,
    nullptr,         nullptr,         nullptr,           nullptr,           nullptr,
    nullptr,         nullptr,         nullptr,           nullptr,           nullptr,
    nullptr,         nullptr,         nullptr,           nullptr,           nullptr,
    nullptr,         nullptr,
};

int RunCharaCommand(cCharaObj& chara, cCommandRun& run)
{
    if (!run.m_Command) return 0;
    const int kind = run.m_Command->m_Kind;
    if (kind < 0 || kind >= kCharaCommandKinds) return 0;
    return g_CharaCommandProc[kind](chara, run);
}

void PlayCommandSound(const cCharaObj& chara, const cEdCommand& command)
{
    if (!command.m_SoundOnScreen || chara.m_OnScreen) WorldDataSe(command.m_Sound);
}

int CommandParam(const cEdCommand& command, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < command.m_Params.size()
               ? command.m_Params[static_cast<std::size_t>(i)]
               : 0;
}

void CountTenth(cCommandRun& run)
{
    if (++run.m_Repeat >= 6 * StageSubSteps()) run.m_Repeat = 0;
}

namespace {

// base + step x copy number, in 64 bits.
std::int64_t PerCopy(int base, int step, int copyNo)
{
    return std::int64_t{base} + std::int64_t{step} * copyNo;
}

// The target offsets of a movement part, negated on the axes it mirrors
// for a character facing right.
void SetTargetOffsets(cCommandRun& run, const cEdMove& move, int facing)
{
    std::int64_t x = std::int64_t{move.m_TargetX} * 32 + move.m_OffsetX;
    std::int64_t y = std::int64_t{move.m_TargetY} * 32 + move.m_OffsetY;
    if (facing == 1 && move.m_MirrorX) x = -x;
    if (facing == 1 && move.m_MirrorY) y = -y;
    run.m_OffsetX = SaturateToInt32(x);
    run.m_OffsetY = SaturateToInt32(y);
}

void ApplyTiming(cCharaObj& chara, cCommandRun& run, const cEdCommand& command)
{
    if (command.m_Move && command.m_Move->m_CalcMode != 0)
        run.SetMoveTiming(command, chara.m_CopyNo);
}

// The copy of the command in the character's own definition, which the
// run points at; null when it points elsewhere.
cEdCommand* OwnCommand(cCharaObj& chara, const cEdCommand* command)
{
    for (cEdFlow& flow : chara.m_Def.Flows)
        for (cEdCommand& own : flow.m_Commands)
            if (&own == command) return &own;
    return nullptr;
}

} // namespace

void StartStraightMove(cCharaObj& chara, cCommandRun& run, int facing)
{
    if (!run.m_Command || !run.m_Command->m_Move) return;
    const cEdMove& move = *run.m_Command->m_Move;
    std::int64_t angle = PerCopy(move.m_Angle, move.m_AngleStep, chara.m_CopyNo);
    if (move.m_AngleMirror && facing == 1) angle = 360 - angle;
    if (angle >= 360) angle %= 360;
    run.m_Angle = SaturateToInt32(angle);
    if (move.m_TargetMode == 1) SetTargetOffsets(run, move, facing);
    ApplyTiming(chara, run, *run.m_Command);
}

void StartDistanceMove(cCharaObj& chara, cCommandRun& run, int)
{
    if (run.m_Command) ApplyTiming(chara, run, *run.m_Command);
}

void StartCircleMove(cCharaObj& chara, cCommandRun& run, int facing)
{
    if (!run.m_Command || !run.m_Command->m_Move) return;
    const cEdMove& move = *run.m_Command->m_Move;
    const int b = StageSubSteps();
    const int copy = chara.m_CopyNo;
    int c = 0;
    if (facing == 1) {
        // Senses 0 and 1 turn the other way round for a mirrored circle.
        if (move.m_MirrorX) {
            if (run.m_Dir <= 1) run.m_Dir ^= 1;
            c = 180;
        }
        if (move.m_MirrorY && run.m_Dir <= 1) run.m_Dir ^= 1;
    }
    const std::int64_t radius = std::clamp<std::int64_t>(
        PerCopy(move.m_Radius, move.m_RadiusStep, copy), 0, kMaxCircleRadiusHbl);
    run.m_Radius = SaturateToInt32(radius * 16 * b);
    const std::int64_t start = (c + PerCopy(move.m_Angle, move.m_AngleStep, copy)) * b;
    const std::int64_t end = (c + PerCopy(move.m_Distance, move.m_DistanceStep, copy)) * b;
    run.m_Start = SaturateToInt32(start);
    run.m_End = SaturateToInt32(end);
    const double span =
        static_cast<double>(move.m_Distance > move.m_Angle ? end - start : start - end);
    // A division by a zero duration or speed leaves the value as it was.
    if (move.m_CalcMode == 0) {
        if (run.m_Duration != 0) run.m_Speed = span / run.m_Duration / b;
    } else if (move.m_CalcMode == 1) {
        if (run.m_Speed != 0) run.m_Duration = TruncToInt(std::fabs(span / run.m_Speed / b));
    }
}

void StartOffsetMove(cCharaObj& chara, cCommandRun& run, int facing)
{
    if (!run.m_Command || !run.m_Command->m_Move) return;
    SetTargetOffsets(run, *run.m_Command->m_Move, facing);
    ApplyTiming(chara, run, *run.m_Command);
}

void StartHomingMove(cCharaObj& chara, cCommandRun& run, int facing)
{
    StartOffsetMove(chara, run, facing);
    if (!run.m_Command || !run.m_Command->m_Move) return;
    const cEdMove& move = *run.m_Command->m_Move;
    run.m_Interval = SaturateToInt32(PerCopy(move.m_Radius, move.m_RadiusStep, chara.m_CopyNo) *
                                     StageSubSteps());
}

void StartJump(cCharaObj& chara, cCommandRun& run, int)
{
    if (!run.m_Command) return;
    const int height = CommandParam(*run.m_Command, 2);
    run.m_Speed = chara.JumpSpeedHbl(height);
    // The jump lasts its rise: the time written in the command is replaced.
    const int time = std::clamp(chara.JumpTime(height), -32768, 32767);
    if (cEdCommand* own = OwnCommand(chara, run.m_Command))
        own->m_Time = static_cast<std::int16_t>(time);
    run.m_Duration = SaturateToInt32(std::int64_t{time} * StageSubSteps() * 6);
}
