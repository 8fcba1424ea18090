// The play phase: each frame reads or replays the player's input, counts
// the play time and the time limit, then advances the world in sub-steps,
// each in a fixed order: activity, life timers, contacts, saved positions
// and the view; the solid characters, the player, the other characters,
// the shots, the removal areas, block items, hits and item pick-up. A
// death or a clear ends the frame at once, without drawing.

#include "scenes/game_play.h"

#include "core/checked_access.h"
#include "core/err_log.h"
#include "core/timer.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/replay_log.h"
#include "world/activity.h"
#include "world/block_collision.h"
#include "world/hit_checks.h"
#include "world/input_state.h"
#include "world/items_blocks.h"
#include "world/play_screen.h"
#include "world/solid_charas.h"
#include "world/trace.h"
#include "world/world_services.h"

namespace {

constexpr std::int32_t kMaxPlayTime = 599999;

bool BothContactsOfAnAxis(const cCharaObj& chara)
{
    return (chara.m_ContactL && chara.m_ContactR) || (chara.m_ContactU && chara.m_ContactD);
}

} // namespace

void cGamePlay::PhasePlay()
{
    if (StepPlayFrame()) DrawPlayScreen(1, 0, 1, 1);
}

bool cGamePlay::StepPlayFrame()
{
    if (m_StopFlag) {
        WorldServices().RequestClose();
        return false;
    }
    if (CheckPauseKey()) {
        m_SubState = 0;
        m_Phase = PHASE_PAUSE;
        return false;
    }
    if (WorldServices().CheckReplayKeys()) return false;
    if (Player.empty()) return false;
    if (!ReadFrameInput()) return false;
    const bool whole = StepWorld();
    if (m_PlayMode == kPlayModeReplay)
        m_ReplayCheck.Played(g_ReplayLog, *this, g_Stage.strFileName);
    else if (g_System.bRecordReplay)
        cReplayCheck::Recorded(g_ReplayLog, *this);
    return whole;
}

bool cGamePlay::StepWorld()
{
    TickPlayTime();
    if (TickTimeLimit(-1) == 1 && !Player.front().m_Dying) {
        PlayerDeath(nullptr, "time up");
        return false;
    }
    Player.front().ResetFlowStepFlags();
    for (cNpcObj& chara : m_CharaList)
        if (!chara.m_Dying) chara.ResetFlowStepFlags();
    return RunSubSteps();
}

bool cGamePlay::ReadFrameInput()
{
    InputState& input = VecAt(g_InputState, 0);
    const cPlayerObj& player = Player.front();
    if (m_PlayMode != kPlayModeReplay) {
        if (player.m_DirLock) ClearDirection(input);
        if (player.m_ButtonLock) ClearButtons(input);
        if (input.m_ButtonBits == 0)
            m_HoldButtons = 0;
        else if (m_HoldButtons)
            ClearButtons(input);
        PushKeyHistory(input);
        UpdateKeyEdges(input);
        if (g_System.bRecordReplay) g_ReplayLog.Record(input.m_DirBits, input.m_ButtonBits);
        return true;
    }
    ClearDirection(input);
    ClearButtons(input);
    std::uint16_t direction = 0;
    std::uint16_t buttons = 0;
    if (g_ReplayLog.Next(direction, buttons)) {
        g_Progress.RestoreStageStart(1, m_PlayKind, m_DirectStart);
        SetStage(1, 1);
        m_Phase = PHASE_START;
        return false;
    }
    input.m_DirBits = direction;
    input.m_ButtonBits = buttons;
    input.m_DirCode = DirCode(direction);
    PushKeyHistory(input);
    UpdateKeyEdges(input);
    return true;
}

void cGamePlay::TickPlayTime()
{
    if (m_PlayTime >= kMaxPlayTime) return;
    ++m_PlayFrames;
    m_PlayTime = std::min<std::int32_t>(
        static_cast<std::int32_t>(std::int64_t{m_PlayFrames} * 100 / 60), kMaxPlayTime);
}

int cGamePlay::TickTimeLimit(int change)
{
    if (m_NoTimeLimit) return 0;
    if (!CountEvery(1, 60)) return 0;
    m_TimeLeft += change;
    if (m_TimeLeft > 999) {
        m_TimeLeft = 999;
        return 0;
    }
    if (m_TimeLeft <= 0) {
        m_TimeLeft = 0;
        return 1;
    }
    return 0;
}

void cGamePlay::StageCleared()
{
    ScenePrepareResults();
    ScenePhase(PHASE_CLEAR, 0);
}

void cGamePlay::PlayerDeath(const char* logLine, const char* what)
{
    cPlayerObj& player = Player.front();
    if (logLine) ErrLogF("%s", logLine);
    TraceDeath(player, what);
    WorldServices().PlaySe(8);
    if (player.KillChara() == 1) StageCleared();
}

int cGamePlay::CheckPlayerLife()
{
    cPlayerObj& player = Player.front();
    if (player.m_Hp <= 0) {
        WorldServices().PlaySe(8);
        if (player.KillChara() == 1) StageCleared();
        return 1;
    }
    for (auto walk = WalkCharas(); !walk.Done(); walk.Next()) {
        cNpcObj& chara = *walk;
        if (chara.m_Vanish) {
            EraseChara(walk.Node());
            continue;
        }
        if (chara.m_Hp > 0) continue;
        const int r = HandleFatalHit(chara);
        if (g_System.bKeepDefeated) {
            if (r == 1) {
                EraseChara(walk.Node());
                return 1;
            }
            WorldServices().PlaySe(9);
            if (r) return 1;
        } else {
            EraseChara(walk.Node());
            if (r) return 1;
        }
    }
    return 0;
}

bool cGamePlay::RunSubSteps()
{
    cPlayerObj& player = Player.front();
    for (int i = 1; i <= g_Stage.nSubSteps; ++i) {
        m_SubStepNo = i;
        ++m_SubStepTotal;
        player.UpdateHitProtection();
        // The computer characters' own start of the sub-step rides on the
        // activity update's walk over them (each walk over them all costs
        // the cache misses of a few hundred large objects): the life timers
        // while the player lives, then for those that stay the protection
        // count-down, the contacts and the saved position.
        const bool livesRun = !player.m_Dying;
        UpdateActivity(ShotActivity::kInShotStep,
                       livesRun ? CharaStart::kLifeAndHousekeeping : CharaStart::kHousekeeping);
        const cShotActivitySettler settleShots(*this);
        if (livesRun)
            for (auto walk = WalkItems(); !walk.Done(); walk.Next())
                if (walk->m_Life != kNoLife && --walk->m_Life < 0) RemoveItem(walk.Node());
        player.ClearContacts();
        player.SavePosition();
        player.RememberFacing();
        player.RememberLastBlock();
        m_ScrollX.Step();
        m_ScrollY.Step();
        if (!player.m_Dying && !StepSolidCharas()) return false;
        if (!player.m_Dying && !StepPlayer()) return false;
        if (!player.m_Dying && !StepOtherCharas()) return false;
        StepShots();
        if (i == 1 && !player.m_Dying) ApplyRemovalAreas();
        // Block items, hits and item pick-up, each ending the frame on an outcome.
        int (*const checks[])(cPlayerObj&) = {TakeBlockItem,
                                              [](cPlayerObj&) { return CheckHits(); }, PickUpItems};
        for (auto check : checks) {
            if (player.m_Dying) break;
            const int r = check(player);
            if (r == 1) {
                StageCleared();
                return false;
            }
            if (r == 2) {
                PlayerDeath(nullptr, "hit or item");
                return false;
            }
        }
        TraceSubStep(*this);
    }
    return true;
}

bool cGamePlay::FlowsEndedChara(cListWalk<cNpcObj>& walk)
{
    const int r = HandleFatalHit(*walk);
    if (g_System.bKeepDefeated) {
        if (r == 1) {
            EraseChara(walk.Node());
            return false;
        }
        // The character stays and plays its death.
        WorldServices().PlaySe(9);
        return r == 0;
    }
    EraseChara(walk.Node());
    return r == 0;
}

bool cGamePlay::KilledChara(cListWalk<cNpcObj>& walk)
{
    WorldServices().PlaySe(9);
    const int r = HandleFatalHit(*walk);
    if (r == 1) {
        EraseChara(walk.Node());
        return false;
    }
    return r == 0;
}

bool cGamePlay::StepSolidCharas()
{
    for (auto walk = WalkCharas(); !walk.Done(); walk.Next()) {
        cNpcObj& chara = *walk;
        if (!chara.m_Def.bSolid || chara.m_Dying || !chara.m_Present || !chara.m_Acting) continue;
        chara.FireFlows(0);
        if (chara.RunFlows(0)) {
            if (!FlowsEndedChara(walk)) return false;
            continue;
        }
        if (m_LifeCheck && CheckPlayerLife()) return false;
        // The life check may have removed this character.
        if (walk.Done() || &*walk != &chara) continue;
        bool kill = false;
        bool remove = chara.MoveX() == 4;
        kill = CollideBlocksX(chara) == 2;
        chara.ApplyCharaGravity();
        const int y = chara.MoveY();
        kill = kill || y == 7;
        remove = remove || y == 8;
        kill = CollideBlocksY(chara) == 2 || kill;
        if (kill) {
            if (!KilledChara(walk)) return false;
        } else if (remove) {
            EraseChara(walk.Node());
        } else {
            chara.DecayKnockbackX();
            chara.DecayKnockbackY();
        }
    }
    return true;
}

bool cGamePlay::StepPlayer()
{
    cPlayerObj& player = Player.front();
    player.FireFlows(0);
    if (player.RunFlows(0)) {
        PlayerDeath(nullptr, "flows");
        return false;
    }
    if (m_ClearRequest == 1) {
        StageCleared();
        return false;
    }
    if (m_ClearRequest == 2) {
        PlayerDeath(nullptr, "request");
        return false;
    }
    if (m_LifeCheck && CheckPlayerLife()) return false;
    const int effect = ApplyBlockEffect(player);
    if (effect == 1) {
        StageCleared();
        return false;
    }
    if (effect == 2) {
        PlayerDeath(nullptr, "block effect");
        return false;
    }
    if (player.m_Riding) CarryRider(player, m_CharaList);
    auto die = [this](const char* reason) {
        PlayerDeath(reason, reason);
        return false;
    };
    player.MoveX();
    ClampToScreenX(player);
    if (CollideBlocksX(player) == 2) return die("Dead 1");
    ClampToScreenX(player);
    player.ApplyCharaGravity();
    if (player.MoveY() == 7) return die("Dead 2");
    if (ClampToScreenY(player) == 2) return die("Dead 3");
    if (CollideBlocksY(player) == 2) return die("Dead 4");
    if (ClampToScreenY(player) == 2) return die("Dead 5");
    auto crushed = [&player](const char* reason) {
        ErrLogF("Player[P1].LRUD = %d,%d,%d,%d", player.m_ContactL, player.m_ContactR,
                player.m_ContactU, player.m_ContactD);
        player.RestorePosition();
        return reason;
    };
    if (BothContactsOfAnAxis(player) && player.m_CrushGrace == 0) return die(crushed("Dead SP"));
    const bool graceless = player.m_CrushGrace == 0;
    if (CollideSolidCharas(player, m_CharaList) == 2 && !player.m_Dying && graceless)
        return die("Dead 6");
    if ((player.m_ContactL || player.m_ContactR) && CheckBlockCrushX(player) == 2 &&
        !player.m_Dying && graceless)
        return die("Dead 7");
    if ((player.m_ContactU || player.m_ContactD) && CheckBlockCrushY(player) == 2 &&
        !player.m_Dying && graceless)
        return die("Dead 8");
    if (BothContactsOfAnAxis(player) && player.m_CrushGrace == 0) return die(crushed("Dead 9"));
    player.DecayKnockbackX();
    player.DecayKnockbackY();
    return true;
}

bool cGamePlay::StepOtherCharas()
{
    for (auto walk = WalkCharas(); !walk.Done(); walk.Next()) {
        cNpcObj& chara = *walk;
        if (chara.m_Def.bSolid || chara.m_Dying || !chara.m_Present || !chara.m_Acting) continue;
        chara.FireFlows(0);
        if (chara.RunFlows(0)) {
            if (chara.m_Vanish) {
                EraseChara(walk.Node());
                continue;
            }
            if (!FlowsEndedChara(walk)) return false;
            continue;
        }
        if (m_LifeCheck && CheckPlayerLife()) return false;
        if (walk.Done() || &*walk != &chara) continue;
        if (chara.m_Riding) CarryRider(chara, m_CharaList);
        bool remove = chara.MoveX() == 4;
        bool kill = CollideBlocksX(chara) == 2;
        chara.ApplyCharaGravity();
        const int y = chara.MoveY();
        kill = kill || y == 7;
        remove = remove || y == 8;
        kill = CollideBlocksY(chara) == 2 || kill;
        kill = CollideSolidCharas(chara, m_CharaList) == 2 || kill;
        CheckBlockCrushes(chara);
        if (BothContactsOfAnAxis(chara) || kill) {
            if (!KilledChara(walk)) return false;
        } else if (remove) {
            EraseChara(walk.Node());
        } else {
            chara.DecayKnockbackX();
            chara.DecayKnockbackY();
        }
    }
    return true;
}

void cGamePlay::StepShots()
{
    StepShotList(*this, m_SubStepNo == 1);
}

void cGamePlay::ApplyRemovalAreas()
{
    for (int kind = 0; kind < 2; ++kind) {
        if (!m_RemoveAreaOn[kind]) continue;
        const bool solid = kind == 1;
        const cAreaBounds area(g_Stage.Areas[kind]);
        for (auto walk = WalkCharas(); !walk.Done(); walk.Next())
            if ((walk->m_Def.bSolid != 0) == solid && !walk->m_Dying && walk->m_Present &&
                walk->IsOutsideArea(area))
                EraseChara(walk.Node());
    }
    if (m_RemoveAreaOn[2]) {
        const cAreaBounds area(g_Stage.Areas[2]);
        for (auto walk = WalkItems(); !walk.Done(); walk.Next())
            if (walk->IsOutsideArea(area)) RemoveItem(walk.Node());
    }
}
