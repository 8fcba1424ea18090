// The game-play scene: construction, its set-up for every stage, the
// fades, the stage-start display, the game-over phase, the pause key and
// what the running stage asks of its scene.

#include "scenes/game_play.h"

#include "core/checked_access.h"
#include "core/main_window_handle.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/test_flows.h"
#include "media/dd_fill.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"
#include "scenes/free_play.h"
#include "scenes/scene_mgr.h"
#include "world/input_state.h"
#include "world/play_pictures.h"
#include "world/play_screen.h"
#include "world/world_services.h"

std::function<int()> g_RestartFreePlay;

namespace {

constexpr int kVkSpace = 0x20;

} // namespace

cGamePlay::cGamePlay()
{
    m_Phases = {
        static_cast<Phase>(&cGamePlay::FadeIn),
        static_cast<Phase>(&cGamePlay::PhaseStart),
        static_cast<Phase>(&cGamePlay::PhasePlay),
        static_cast<Phase>(&cGamePlay::PhasePause),
        static_cast<Phase>(&cGamePlay::PhaseClear),
        static_cast<Phase>(&cGamePlay::PhaseContinue),
        static_cast<Phase>(&cGamePlay::PhaseGameOver),
        static_cast<Phase>(&cGamePlay::FadeOut),
    };
    g_Progress.nStageMusic = 0;
    m_DirectStart = g_DirectStart;
    g_RunStage = this;
}

cGamePlay::~cGamePlay()
{
    ReleasePlayPictures();
}

void cGamePlay::Run()
{
    g_RunStage = this;
    m_PlayMode = g_SceneMgr.g_PlayMode;
    m_PlayKind = g_SceneMgr.m_PlayKind;
    m_ResultsOn = g_SceneMgr.m_ResultsOn;
    RunPhases();
}

void cGamePlay::Init()
{
    m_RankPos.resize(kRankKinds, -1);
    m_Results.resize(kRankKinds, 0);
    const bool newPlay = g_SceneMgr.g_PrevScene != SCENE_GAME_PLAY;
    if (!LoadPlayPictures(newPlay ? 1 : 0)) {
        CloseMainWindow();
        return;
    }
    if (newPlay) {
        BuildShotSheets();
        LoadCharaBitmaps();
        LoadSwordPictures();
        LoadEffectPictures();
        ResetSessionTotals();
        UseLife();
    }
    SetStage(0, 1);
    SceneResetMenuCursor();
    m_SubState = 0;
}

void cGamePlay::FadeIn()
{
    DrawPlayScreen(0, 1, 0, 1);
    if (DDFadeIn(g_ScreenPalette.data(), 0, 255, 0, 0, 0, g_SceneMgr.m_FadeStep, g_Palette.data(),
                 0))
        m_Phase = PHASE_START;
}

void cGamePlay::FadeOut()
{
    DrawPlayScreen(0, 1, 0, 1);
    if (!DDFadeOut(g_ScreenPalette.data(), 0, 255, 0, 0, 0, g_SceneMgr.m_FadeStep, g_Palette.data(),
                   0))
        return;
    DDClearPal(&BackBuffer, 16);
    if (g_SceneMgr.g_PlayMode == PLAYMODE_FREE && !g_Progress.bChainStage && g_RestartFreePlay &&
        !g_RestartFreePlay())
        CloseMainWindow();
    g_SceneMgr.m_FrameRate = 60;
    g_SceneMgr.g_CurScene = g_SceneMgr.g_ReqScene;
    g_SceneMgr.g_PrevScene = SCENE_GAME_PLAY;
    m_Phase = -1;
}

void cGamePlay::PhaseStart()
{
    DrawPlayScreen(0, 1, 0, 1);
    if (!(g_StartedByTool && m_DirectStart)) {
        if (m_PlayMode == kPlayModeReplay) {
            if (++m_ShowCounter < 80) {
                DrawPlayPiece(0);
                return;
            }
        } else if (g_Stage.bShowStageNo) {
            if (++m_ShowCounter < 80) {
                DrawPlayPiece(1);
                return;
            }
        } else if (g_Stage.bShowStartSign) {
            if (++m_ShowCounter2 < 80) {
                DrawPlayPiece(2);
                return;
            }
        }
    }
    if (!Player.empty()) Player.front().m_Anime.Set(Player.front().m_Flying ? 2 : 0, 1);
    m_ShowCounter = 0;
    m_Phase = PHASE_PLAY;
}

void cGamePlay::PhaseGameOver()
{
    if (CheckPauseKey()) {
        m_SubState = 0;
        m_Phase = PHASE_PAUSE;
        return;
    }
    if (WorldServices().CheckReplayKeys()) return;
    // This phase reads the held state: a button held through the death counts.
    if (VecAt(g_InputState, 0).m_ButtonBits & 1) {
        WorldServices().PlaySe(1);
        m_Phase = PHASE_FADE_OUT;
        g_SceneMgr.g_ReqScene = SCENE_TITLE;
        return;
    }
    DrawPlayScreen(0, 1, 0, 1);
    if (g_Stage.bShowGameOver) DrawPlayPiece(3);
}

int cGamePlay::CheckPauseKey()
{
    if (!WorldServices().KeyDown(kVkSpace)) return 0;
    WorldServices().PlaySe(4);
    m_SavedPhase = m_Phase;
    m_SavedSubState = m_SubState;
    return 1;
}

void cGamePlay::ScenePhase(int phase, int subState)
{
    cRunningStage::ScenePhase(phase, subState);
    m_Phase = phase;
    m_SubState = subState;
}

void cGamePlay::SceneResetCounters()
{
    m_SubState = 0;
    m_Registered = 0;
}

void cGamePlay::SceneFrameRate(int rate)
{
    cRunningStage::SceneFrameRate(rate);
    g_SceneMgr.m_FrameRate = rate;
}

int cGamePlay::SceneInPauseMenu() const
{
    return m_Phase == PHASE_PAUSE ? 1 : 0;
}
