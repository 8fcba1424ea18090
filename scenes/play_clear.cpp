// The stage-clear phase: the clear sign pushed in, the results, and the
// way on to the next scene.

#include "scenes/game_play.h"

#include <algorithm>

#include "core/checked_access.h"
#include "data/ed_option.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_composite.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "scenes/scene_mgr.h"
#include "world/input_state.h"
#include "world/play_screen.h"
#include "world/world_services.h"

namespace {

constexpr int kVkF3 = 0x72;
constexpr int kBitmapWord = 51;
// The clear display's counter: the sign is pushed in up to 100, the stage
// may be left from 200.
constexpr int kSignInPlace = 100;
constexpr int kClearShown = 200;
constexpr int kSysTextRankingKey = 27;

bool ManualRanking()
{
    return g_Option.nRankMode == RANKMODE_MANUAL_ASK || g_Option.nRankMode == RANKMODE_MANUAL_FIXED;
}

} // namespace

void cGamePlay::PhaseClear()
{
    const bool autoAdvance = g_Stage.bAutoAdvance != 0;
    if (!autoAdvance) {
        if (CheckPauseKey()) {
            m_SubState = 0;
            m_Phase = PHASE_PAUSE;
            return;
        }
        WorldServices().CheckReplayKeys();
        if (ManualRanking() && WorldServices().KeyDown(kVkF3)) RegisterRanking();
    }
    InputState& input = VecAt(g_InputState, 0);
    if (m_SubState == 0) {
        m_ShowCounter = 0;
        m_SubState = 1;
    }
    ButtonOnce(input, 0);
    AutoRepeatDir(input);
    bool advance = false;
    if (autoAdvance) {
        advance = m_ShowCounter >= kClearShown;
    } else if ((input.m_ButtonBits & 1) && m_ShowCounter >= kClearShown) {
        advance = true;
        if (m_RankEligible && !ManualRanking())
            RegisterRanking();
        else
            WorldServices().PlaySe(1);
    }
    if (advance) {
        g_SceneMgr.g_ReqScene = DecideNextScene();
        m_ShowCounter = 0;
        m_SubState = 0;
        m_Phase = PHASE_FADE_OUT;
        return;
    }
    const bool ranked =
        std::any_of(m_RankPos.begin(), m_RankPos.end(), [](int p) { return p != -1; });
    if (!autoAdvance && !m_Registered && ranked && ManualRanking()) {
        // The hint line tells how to register instead of the usual one.
        DrawPlayScreen(0, 1, 0, 0);
        const char* text = VecAt(g_System.SysText, kSysTextRankingKey).c_str();
        int width = 0;
        int height = 0;
        g_Fonts[1].MeasureText(text, &width, &height);
        g_Fonts[1].DrawText(&BackBuffer, 320 - width / 2, 456, text, 0);
    } else {
        DrawPlayScreen(0, 1, 0, 1);
    }
    if (g_Stage.bShowClear) {
        m_ShowCounter += 4;
        DDSURFACEDATA* word = &g_BitmapSD[kBitmapWord];
        if (m_ShowCounter < kSignInPlace)
            DDBltShift(&BackBuffer, 256, 192, 128, 32, 4, kSignInPlace - m_ShowCounter, word, 0, 64,
                       1, 0);
        else
            DDBlt(&BackBuffer, 256, 192, 128, 32, word, 0, 64, 1);
    } else {
        m_ShowCounter = kClearShown;
    }
    if (m_ShowCounter >= kClearShown && m_ResultsOn && !autoAdvance) DrawResults(336, 224);
}
