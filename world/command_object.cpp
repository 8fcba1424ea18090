// The object and stage commands of the flows: flow operations, the stage
// clear, the warp and the target.

#include "world/command_object.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/saturate.h"
#include "data/ed_command.h"
#include "data/ed_flow.h"
#include "data/ed_save_data.h"
#include "data/ed_world_map.h"
#include "world/block_collision.h"
#include "world/chara_obj.h"
#include "world/command_move.h"
#include "world/commands.h"
#include "world/running_stage.h"
#include "world/steering.h"

namespace {

constexpr double kInvSqrt2 = 0.7071067811865476;

enum FlowOperation : int {
    FLOWOP_START = 0,
    FLOWOP_END = 1,
    FLOWOP_PAUSE = 2,
    FLOWOP_RESUME = 3,
    FLOWOP_DELETE = 4,
    FLOWOP_STOP_FOREVER = 5,
};

// One operation on one flow of the character. Every one but the resume
// gives up the rest of that flow's pass.
void OperateFlow(cCharaObj& chara, cFlowRun& flow, int operation)
{
    switch (operation) {
    case FLOWOP_START:
        // A fresh start: every command begins again from its full time.
        flow.Stop(chara);
        chara.RemoveOverlays(flow.m_Serial);
        flow.Start();
        break;
    case FLOWOP_END:
        flow.Stop(chara);
        chara.RemoveOverlays(flow.m_Serial);
        break;
    case FLOWOP_PAUSE:
        flow.Pause();
        chara.EndOverlays(flow.m_Serial);
        break;
    case FLOWOP_RESUME:
        flow.Resume();
        chara.ResumeOverlays(flow.m_Serial);
        return;
    case FLOWOP_DELETE:
        flow.m_DeleteRequest = 1;
        chara.m_FlowDeleted = 1;
        break;
    case FLOWOP_STOP_FOREVER:
        flow.StopForever(chara);
        chara.RemoveOverlays(flow.m_Serial);
        break;
    default:
        return;
    }
    flow.m_Abort = 1;
}

// The box a warp moves, saved and put back as a whole.
struct SavedBox {
    double x;
    double y;
    double right;
    double bottom;
};

// Places the character's box so that its picture's centre lies on a point.
void PlaceCentreAt(cCharaObj& chara, double cx, double cy)
{
    chara.m_X = cx + chara.m_PicOffX - chara.m_PicWidth / 2;
    chara.OnMovedX();
    chara.m_Y = cy + chara.m_PicOffY - chara.m_PicHeight / 2;
    chara.OnMovedY();
}

// The unit step of an absolute direction code.
void DirectionStep(int code, double& ux, double& uy)
{
    ux = uy = 0;
    switch (code) {
    case 2:
        ux = -1;
        break;
    case 3:
        ux = 1;
        break;
    case 6:
        uy = -1;
        break;
    case 7:
        uy = 1;
        break;
    case 8:
        ux = uy = -kInvSqrt2;
        break;
    case 9:
        ux = -kInvSqrt2;
        uy = kInvSqrt2;
        break;
    case 10:
        ux = kInvSqrt2;
        uy = -kInvSqrt2;
        break;
    case 11:
        ux = uy = kInvSqrt2;
        break;
    default:
        break;
    }
}

// A list's characters in a search: the nearest (mode 2) or the first with
// an ID (mode 3), by the command's filters.
cCharaObj* SearchList(const cCharaObj& chara, const cEdCommand& command, int mode,
                      std::span<cCharaObj* const> list)
{
    const int byId = CommandParam(command, 8);
    const int id = CommandParam(command, 9);
    const int excludeSelf = CommandParam(command, 4);
    const int invincible1 = CommandParam(command, 5);
    const int invincible2 = CommandParam(command, 6);
    const int noContact = CommandParam(command, 7);
    if (mode == 3)
        return FirstChara(list, byId, id, excludeSelf, invincible1, invincible2, noContact,
                          chara.m_ObjNo);
    // From the character's place on the screen, where the candidates are measured.
    return FindNearestChara(chara.m_ScrLeft + (chara.m_PicWidth >> 1),
                            chara.m_ScrTop + (chara.m_PicHeight >> 1), list,
                            CommandParam(command, 3), byId, id, excludeSelf, invincible1,
                            invincible2, noContact, chara.m_ObjNo);
}

} // namespace

int ExecFlowOperation(cCharaObj& chara, cCommandRun& run)
{
    if (!run.m_Command) return 0;
    const cEdCommand& command = *run.m_Command;
    const int operation = CommandParam(command, 0);
    const int chosen = CommandParam(command, 1);
    const int id = CommandParam(command, 2);
    cFlowRun* current = RunStage().m_CurFlowRun;
    // The flow lists keep their shape while commands run, so each flow is
    // reached by its index.
    for (std::size_t i = 0; i < chara.m_FlowRuns.size(); ++i) {
        cFlowRun& flow = chara.m_FlowRuns[i];
        bool take = false;
        if (chosen == 0)
            take = &flow == current;
        else if (chosen == 1)
            take = &flow != current;
        else if (chosen == 2)
            take = id != 0 && flow.m_Flow && flow.m_Flow->m_FlowId == id;
        if (take) OperateFlow(chara, chara.m_FlowRuns[i], operation);
    }
    return 0;
}

int ExecStageClear(cCharaObj&, cCommandRun& run)
{
    if (!run.m_Command) return 0;
    const int r = StageClear(*run.m_Command);
    RunStage().m_ClearRequest = r;
    return r;
}

int ExecWarp(cCharaObj& chara, cCommandRun& run)
{
    return run.m_Command ? Warp(chara, *run.m_Command) : 0;
}

int ExecSetTarget(cCharaObj& chara, cCommandRun& run)
{
    return run.m_Command ? SetTarget(chara, *run.m_Command) : 0;
}

int StageClear(const cEdCommand& command)
{
    cRunningStage& stage = RunStage();
    switch (CommandParam(command, 0)) {
    case 0:
        stage.m_NextStage = SaturateToInt32(std::int64_t{g_Progress.nChainNo} + 1);
        break;
    case 1:
        stage.m_NextStage = CommandParam(command, 1);
        break;
    case 2:
        stage.m_NextStage = 0;
        break;
    default:
        break;
    }
    if (CommandParam(command, 2)) {
        // A place on the world map, held on the map.
        g_Progress.nMapX =
            std::clamp(CommandParam(command, 3), 0, std::max(g_WorldMap.m_Width - 1, 0));
        g_Progress.nMapY =
            std::clamp(CommandParam(command, 4), 0, std::max(g_WorldMap.m_Height - 1, 0));
        g_Progress.nMapEventNo = 0;
    }
    return 1;
}

int Warp(cCharaObj& chara, const cEdCommand& command)
{
    if (!command.m_Move) return 0;
    const cEdMove& move = *command.m_Move;
    const cRunningStage& stage = RunStage();
    const SavedBox saved{chara.m_X, chara.m_Y, chara.m_Right, chara.m_Bottom};
    const double distance =
        (move.m_Distance + static_cast<double>(move.m_DistanceStep) * chara.m_CopyNo) * 16.0;
    double ux = 0;
    double uy = 0;
    switch (move.m_TargetMode) {
    case 0:
        DirectionStep(ResolveDirection(chara, move.m_Dir), ux, uy);
        if (ux != 0) {
            chara.m_X += distance * ux;
            chara.OnMovedX();
        }
        if (uy != 0) {
            chara.m_Y += distance * uy;
            chara.OnMovedY();
        }
        break;
    case 1: {
        cCharaObj* target = RunStage().FindCharaByNumber(chara.m_TargetNo);
        if (!target) return 0;
        DirectionStep(ResolveDirection(*target, move.m_Dir), ux, uy);
        const double cx = target->m_X - target->m_PicOffX + target->m_PicWidth / 2;
        const double cy = target->m_Y - target->m_PicOffY + target->m_PicHeight / 2;
        PlaceCentreAt(chara, cx + distance * ux, cy + distance * uy);
        break;
    }
    case 2: {
        double x = move.m_TargetX * 32.0 + move.m_OffsetX;
        double y = move.m_TargetY * 32.0 + move.m_OffsetY;
        if (chara.m_Facing == 1 && move.m_MirrorX) x = -x;
        if (chara.m_Facing == 1 && move.m_MirrorY) y = -y;
        switch (move.m_CoordMode) {
        case 0:
            chara.m_X += x;
            chara.m_Y += y;
            break;
        case 1:
            chara.SetBlockX(move.m_TargetX);
            chara.SetBlockY(move.m_TargetY);
            chara.m_X += move.m_OffsetX;
            chara.m_Y += move.m_OffsetY;
            break;
        case 2:
            chara.m_X = chara.m_PicOffX + stage.m_ScrollX.m_Pos + x;
            chara.m_Y = chara.m_PicOffY + stage.m_ScrollY.m_Pos + y;
            break;
        default:
            break;
        }
        chara.OnMovedX();
        chara.OnMovedY();
        break;
    }
    default:
        return 0;
    }
    chara.RefreshScreenBox();
    // Only into the author's stage, and only where nothing solid is.
    if (chara.IsInsideStage(0) && !IsPlaceBlocked(chara)) {
        if (!chara.m_Flying) chara.m_SpeedY = 0;
        return 0;
    }
    chara.m_X = saved.x;
    chara.m_Y = saved.y;
    chara.m_Right = saved.right;
    chara.m_Bottom = saved.bottom;
    chara.OnMovedY();
    chara.OnMovedX();
    chara.RefreshScreenBox();
    return 0;
}

int SetTarget(cCharaObj& chara, const cEdCommand& command)
{
    cRunningStage& stage = RunStage();
    const int mode = CommandParam(command, 0);
    int target = -1;
    switch (mode) {
    case 0:
        if (!stage.Player.empty()) target = stage.Player.front().m_ObjNo;
        break;
    case 1:
        target = chara.m_ObjNo;
        break;
    case 2:
    case 3: {
        const int group = CommandParam(command, 1);
        cCharaObj* found = nullptr;
        if (CommandParam(command, 2)) {
            // Every group: the nearest of each group's nearest, or the first found.
            std::vector<cCharaObj*> winners;
            for (const cGroupList<cCharaObj>& list : stage.m_CharaGroups) {
                if (list.empty()) continue;
                cCharaObj* winner = SearchList(chara, command, mode, list.Slots());
                if (mode == 3 && winner) {
                    found = winner;
                    break;
                }
                if (winner) winners.push_back(winner);
            }
            if (mode == 2) found = SearchList(chara, command, mode, winners);
        } else if (group >= 0 && group < static_cast<int>(stage.m_CharaGroups.size())) {
            found = SearchList(chara, command, mode,
                               stage.m_CharaGroups[static_cast<std::size_t>(group)].Slots());
        }
        target = found ? found->m_ObjNo : -1;
        break;
    }
    default:
        // Any other choice keeps the target and both sides of its link.
        return 0;
    }
    stage.SetTarget(chara, target);
    return 0;
}
