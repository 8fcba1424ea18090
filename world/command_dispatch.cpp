// The two tables of the character command kinds, the dispatcher, and the
// start handlers of the movement kinds.

#include "world/commands.h"

#include "world/chara_obj.h"
#include "world/command_move.h"
#include "world/command_object.h"
#include "world/command_status.h"
#include "world/placeholder.h"
#include "world/running_stage.h"
#include "world/status_ops.h"

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

int RunCharaCommand(cCharaObj&, cCommandRun&)
{
    WORLD_PLACEHOLDER(12, "RunCharaCommand");
    return 0;
}

void StartStraightMove(cCharaObj&, cCommandRun&, int)
{
    WORLD_PLACEHOLDER(12, "StartStraightMove");
}

void StartDistanceMove(cCharaObj&, cCommandRun&, int)
{
    WORLD_PLACEHOLDER(12, "StartDistanceMove");
}

void StartCircleMove(cCharaObj&, cCommandRun&, int)
{
    WORLD_PLACEHOLDER(12, "StartCircleMove");
}

void StartOffsetMove(cCharaObj&, cCommandRun&, int)
{
    WORLD_PLACEHOLDER(12, "StartOffsetMove");
}

void StartHomingMove(cCharaObj&, cCommandRun&, int)
{
    WORLD_PLACEHOLDER(12, "StartHomingMove");
}

void StartJump(cCharaObj&, cCommandRun&, int)
{
    WORLD_PLACEHOLDER(12, "StartJump");
}
