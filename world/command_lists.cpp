// The command lists of items and blocks, run at once on the player, and
// the flow change.

#include "world/command_lists.h"

#include "data/ed_command.h"
#include "world/command_object.h"
#include "world/command_status.h"
#include "world/player_obj.h"
#include "world/running_stage.h"
#include "world/status_ops.h"

namespace {

int FlowNothing(cCharaObj&, const cEdCommand&)
{
    return 0;
}

int FlowChange(cCharaObj& chara, const cEdCommand& command)
{
    ExecFlowChange(chara, command, 0);
    return 0;
}

int FlowGameWait(cCharaObj&, const cEdCommand& command)
{
    GameWait(command);
    return 0;
}

// The second and later messages of a list know that one was shown.
int FlowMessage(cCharaObj& chara, const cEdCommand& command)
{
    cRunningStage& stage = RunStage();
    ShowMessage(chara, command, stage.m_ListMsgShown);
    stage.m_ListMsgShown = 1;
    return 0;
}

// The character command bodies of the same name; only the stage clear
// tells the list's caller anything.
template <int (*Body)(cCharaObj&, const cEdCommand&)>
int FlowBody(cCharaObj& chara, const cEdCommand& command)
{
    Body(chara, command);
    return 0;
}

int FlowStageClear(cCharaObj&, const cEdCommand& command)
{
    return StageClear(command);
}

} // namespace

const FlowCommandProc g_FlowCommandProc[kFlowCommandKinds] = {
    FlowNothing,
    FlowChange,
    FlowStageClear,
    FlowGameWait,
    FlowMessage,
    FlowBody<Warp>,
    FlowBody<SetTarget>,
    FlowBody<ExecStatusOperation>,
    FlowBody<StatusOperation2>,
    FlowBody<GetItem>,
    FlowBody<ChangeGraphic>,
    FlowBody<ChangeAnimeSet>,
    FlowBody<RunAnime>,
    FlowBody<ShowEffect>,
    FlowBody<RunCharaEffect>,
    FlowBody<RunScrEffect>,
    FlowBody<ShowPicture>,
    FlowBody<ChangeScreenColour>,
    FlowBody<ChangeBackground>,
    FlowBody<PlaySoundCommand>,
    FlowBody<PlayBgmCommand>,
    FlowBody<RunCode>,
};

int RunCommandList(cPlayerObj& player, const std::vector<cEdCommand>& commands)
{
    RunStage().m_ListMsgShown = 0;
    for (const cEdCommand& command : commands) {
        const int kind = command.m_Kind;
        // A kind outside the table is skipped.
        const int r =
            kind >= 0 && kind < kFlowCommandKinds ? g_FlowCommandProc[kind](player, command) : 0;
        if (player.m_Hp < 1) return 2;
        if (r != 0) return r;
    }
    return player.m_Hp < 1 ? 2 : 0;
}

void ExecFlowChange(cCharaObj& chara, const cEdCommand& command, int runNow)
{
    cRunningStage& stage = RunStage();
    // While the player's flows are walked their lists keep their shape: the
    // change waits for the end of its flow run.
    if (!runNow && !stage.Player.empty() && &chara == &stage.Player.front() &&
        chara.m_FlowWalks > 0) {
        stage.Player.front().m_PendingFlowChanges.push_back(command);
        return;
    }
    const int facing = chara.m_Def.nFacing;
    const int id = command.m_Params.size() > 1 ? command.m_Params[1] : 0;
    switch (command.m_Params.empty() ? 0 : command.m_Params[0]) {
    case 0:
        chara.InstallFlows(command.m_Flows, facing, 1, -1);
        break;
    case 1:
        chara.InstallFlows(command.m_Flows, facing, 1, chara.RemoveFlowsById(id));
        break;
    case 2:
        chara.RemoveFlowsById(id);
        break;
    default:
        break;
    }
}
