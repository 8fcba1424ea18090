// The order of the play field's frame, and the ends of death displays: a
// computer character whose death has been shown leaves the stage; the end
// of the player's uses a life (or restarts a replay, or ends the game).

#include "world/play_screen.h"

#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "media/dd_present.h"
#include "media/dd_surface.h"
#include "world/running_stage.h"
#include "world/screen_effects.h"
#include "world/trace.h"

namespace {

// The objects by drawing layer (or in one pass without the z-order switch):
// the player, the items, the characters, the shots. A restart of the stage
// from the player's death display ends the pass: nothing drawn after it
// would belong to the new attempt.
void DrawObjects(int frozen)
{
    cRunningStage& stage = RunStage();
    const bool useZ = g_Stage.bZOrder != 0;
    const int passes = useZ ? 8 : 1;
    const std::int32_t setUps = stage.m_SetStageCount;
    // The layers that hold characters or shots: the passes over the others
    // skip those lists. Drawing adds neither (it only removes characters).
    unsigned charaLayers = useZ ? 0 : 1;
    unsigned shotLayers = useZ ? 0 : 1;
    if (useZ) {
        for (const cNpcObj& chara : stage.m_CharaList)
            if (chara.m_Def.nZ < 8) charaLayers |= 1u << chara.m_Def.nZ;
        for (const cShotObj& shot : stage.m_ShotList)
            if (shot.m_Z >= 0 && shot.m_Z < 8) shotLayers |= 1u << shot.m_Z;
    }
    for (int z = 0; z < passes; ++z) {
        if (!stage.Player.empty() && (!useZ || stage.Player.front().m_Def.nZ == z)) {
            TraceDraw("player", stage.Player.front().m_ObjNo);
            DrawPlayer(frozen);
            if (stage.m_SetStageCount != setUps) {
                TraceDraw("restart", stage.m_SetStageCount);
                return;
            }
        }
        DrawItems(z, useZ ? 1 : 0, frozen);
        if (charaLayers & (1u << z)) {
            for (auto walk = stage.WalkCharas(); !walk.Done(); walk.Next()) {
                if (useZ && walk->m_Def.nZ != z) continue;
                TraceDraw("chara", walk->m_ObjNo);
                if (DrawChara(*walk, frozen)) stage.EraseChara(walk.Node());
            }
        }
        if (shotLayers & (1u << z)) DrawShots(z, useZ ? 1 : 0, frozen);
    }
}

} // namespace

void DrawPlayScreen(int inPlay, int frozen, int withSound, int withTestText)
{
    cRunningStage& stage = RunStage();
    if (stage.m_ScrEffect.m_Index != 0) DDSetVirtualBackBuffer(1);
    StepLayers();
    DrawLayers(&BackBuffer, 0);
    if (!inPlay && stage.SceneInPauseMenu() && g_System.bPauseHidesObjects) {
        DrawLayers(&BackBuffer, 1);
        DrawTint(frozen);
        return;
    }
    DrawPictures(&BackBuffer, 0, frozen);
    DrawBlockMap(&BackBuffer, 0, frozen);
    DrawObjects(frozen);
    DrawLayers(&BackBuffer, 1);
    DrawBlockMap(&BackBuffer, 1, frozen);
    if (!stage.Player.empty()) {
        TraceDraw("sight", stage.Player.front().m_SightRange);
        stage.Player.front().DrawSightMask(&BackBuffer);
    }
    DrawPictures(&BackBuffer, 1, frozen);
    for (auto it = stage.m_EffectList.begin(); it != stage.m_EffectList.end();) {
        TraceDraw("effect", it->m_Effect);
        it = it->Draw(&BackBuffer, frozen) ? stage.m_EffectList.erase(it) : std::next(it);
    }
    for (auto it = stage.m_MessageList.begin(); it != stage.m_MessageList.end();) {
        TraceDraw("message", it->m_Kind);
        it = it->Draw(&BackBuffer, frozen) == 1 ? stage.m_MessageList.erase(it) : std::next(it);
    }
    TraceDraw("screen-effect", stage.m_ScrEffect.m_Index);
    DrawScrEffect(frozen);
    DrawStatusBar(&BackBuffer);
    DrawTime(&BackBuffer, withSound);
    if (withTestText) DrawTestText();
    CycleColors();
    DrawTint(frozen);
}

void DrawPlayer(int frozen)
{
    cRunningStage& stage = RunStage();
    if (stage.Player.empty()) return;
    cPlayerObj& player = stage.Player.front();
    player.UpdatePlayerScreenBox();
    if (!player.m_Dying) {
        player.Draw(&BackBuffer, frozen ? 0 : 1);
        player.DrawHpGauge(&BackBuffer);
        player.DrawSpGauge(&BackBuffer);
        return;
    }
    if (!player.DrawDeath(&BackBuffer, frozen)) return;
    if (stage.m_PlayMode == kPlayModeReplay) {
        g_Progress.RestoreStageStart(1, stage.m_PlayKind, stage.m_DirectStart);
        stage.SetStage(1, 1);
        stage.ScenePhase(PHASE_START, 0);
        return;
    }
    if (!stage.UseLife()) {
        stage.ScenePhase(PHASE_GAME_OVER, 0);
        return;
    }
    if (g_Stage.bCarryStatus) g_Progress.DropCarriedStatus();
    g_Progress.RestoreStageStart(0, stage.m_PlayKind, stage.m_DirectStart);
    if (stage.m_PlayKind == kPlayKindStory && g_System.bContinueMenu) {
        stage.ScenePhase(PHASE_CONTINUE, 0);
        return;
    }
    stage.SetStage(1, 0);
    stage.ScenePhase(PHASE_START, 0);
}

int DrawChara(cNpcObj& chara, int frozen)
{
    if (chara.m_Dying) {
        chara.UpdateScreenBox();
        return chara.DrawDeath(&BackBuffer, frozen);
    }
    if (!chara.m_OnScreen) {
        // Off screen it is not drawn, but its animation and effect go on
        // while it acts, frozen or not.
        if (chara.m_Acting) {
            chara.UpdateScreenBox();
            chara.CurrentFrame(0);
            chara.StepCharaEffect(0);
        }
        return 0;
    }
    chara.UpdateScreenBox();
    if (chara.m_Def.bTransparent) {
        chara.CurrentFrame(0);
        chara.StepCharaEffect(0);
    } else {
        chara.DrawCharaBody(&BackBuffer, frozen);
    }
    chara.DrawHpGauge(&BackBuffer);
    chara.DrawSpGauge(&BackBuffer);
    if (!chara.m_Def.bTransparent) chara.DrawCarriedHint(&BackBuffer);
    return 0;
}
