// The commands that stop the game: the game wait and the message. A
// blocking one fills the running stage's pause wait, hands the frame loop
// to the pause thread and, once it is back, takes its own message off the
// list: the drawing during the wait may already have removed it, so it is
// found by identity, never as "the last one". Only a message that ends by
// a button or by its time stops the game.

#include "world/command_object.h"

#include <cstdint>

#include "core/saturate.h"
#include "data/ed_command.h"
#include "world/chara_obj.h"
#include "world/commands.h"
#include "world/flow_run.h"
#include "world/running_stage.h"
#include "world/world_services.h"

namespace {

enum MessageParam : int {
    MP_PLACEMENT = 0,
    MP_BLOCK_X = 1,
    MP_BLOCK_Y = 2,
    MP_OFFSET_X = 3,
    MP_OFFSET_Y = 4,
    MP_KEEP_ON_SCREEN = 5,
    MP_DURATION_MODE = 6,
    MP_TIME = 7,
    MP_STOPS_GAME = 8,
    MP_EXPAND_CODES = 9,
};

// The system sound of a message that waits for a button.
constexpr std::uint32_t kMessageSound = 11;

// Tenths of a second as frames.
int TenthsToFrames(int tenths)
{
    return SaturateToInt32(std::int64_t{tenths} * 6);
}

// The object number a placement follows: the character for 1 to 3, the
// player for 4 to 6, none otherwise.
int FollowedObject(const cCharaObj& chara, int placement)
{
    if (placement >= 1 && placement <= 3) return chara.m_ObjNo;
    const cRunningStage& stage = RunStage();
    if (placement >= 4 && placement <= 6 && !stage.Player.empty()) return stage.Player[P1].m_ObjNo;
    return 0;
}

// Runs the pause thread for the wait just set, then removes the message.
void WaitFor(const cMessage* message)
{
    WorldServices().RunPauseWait();
    RemoveMessage(message);
}

} // namespace

int ExecGameWait(cCharaObj&, cCommandRun& run)
{
    return run.m_Command ? GameWait(*run.m_Command) : 0;
}

int ExecMessage(cCharaObj& chara, cCommandRun& run)
{
    if (!run.m_Command) return 0;
    const cFlowRun* flow = RunStage().m_CurFlowRun;
    return ShowMessage(chara, *run.m_Command, flow ? flow->m_MsgChain : 0);
}

int GameWait(const cEdCommand& command)
{
    cRunningStage& stage = RunStage();
    const int frames = TenthsToFrames(CommandParam(command, 0));
    const cMessage& timer = stage.m_MessageList.emplace_back(
        cMessage::TIMER, "", 0, 0, 0, 0, 0, 0, 0, 0, 0, cMessage::TIMED, frames, 1, 0, 0, 0);
    stage.m_PauseWait.Set(PauseWait::GAME, 0, frames, 0);
    WaitFor(&timer);
    return 0;
}

int ShowMessage(cCharaObj& chara, const cEdCommand& command, int chained)
{
    cRunningStage& stage = RunStage();
    if (stage.SceneStopping()) return 0;
    const int placement = CommandParam(command, MP_PLACEMENT);
    const int mode = CommandParam(command, MP_DURATION_MODE);
    const int frames = TenthsToFrames(CommandParam(command, MP_TIME));
    const int stopsGame = CommandParam(command, MP_STOPS_GAME);
    const cMessage& message = stage.m_MessageList.emplace_back(
        cMessage::TEXT, command.m_Text, 0, 0, 0, placement, CommandParam(command, MP_BLOCK_X),
        CommandParam(command, MP_BLOCK_Y), CommandParam(command, MP_OFFSET_X),
        CommandParam(command, MP_OFFSET_Y), CommandParam(command, MP_KEEP_ON_SCREEN), mode, frames,
        stopsGame, FollowedObject(chara, placement), chained,
        CommandParam(command, MP_EXPAND_CODES));
    if (!stopsGame) return 0;
    if (mode == cMessage::UNTIL_BUTTON) {
        stage.m_PauseWait.Set(PauseWait::MESSAGE, 1, 0, chained);
        if (!chained) WorldServices().PlaySe(kMessageSound);
    } else if (mode == cMessage::TIMED) {
        stage.m_PauseWait.Set(PauseWait::MESSAGE, 0, frames, chained);
    } else {
        // Shown until the stage ends: nothing could end a stop of the
        // game, so the game goes on and the message stays.
        return 0;
    }
    WaitFor(&message);
    return 0;
}
