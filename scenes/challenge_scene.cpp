// The challenge select: the list, the start of a challenge, the way back.

#include "scenes/challenge_scene.h"

#include <algorithm>
#include <cstdio>

#include "core/checked_access.h"
#include "core/message_box.h"
#include "core/sjis_text.h"
#include "core/sound_request.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/path_table.h"
#include "data/stage_load.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_surface.h"
#include "scenes/menu_cursor.h"
#include "scenes/rankings.h"
#include "scenes/scene_mgr.h"
#include "world/input_state.h"

namespace {

constexpr int kBitmapAccessory = 49;
// The list: rows from y 160, 32 pixels apart, the cursor at x 32.
constexpr int kListY = 160;
constexpr int kRowPitch = 32;
constexpr int kCursorX = 32;
// System sounds.
constexpr int kSeCursor = 0;
constexpr int kSeConfirm = 1;
constexpr int kSeCancel = 2;
constexpr int kSeLoadFailed = 3;
constexpr int kSeRankKind = 6;

MenuSceneSetup ChallengeSetup()
{
    MenuSceneSetup setup;
    setup.sceneId = SCENE_CHALLENGE;
    setup.musicSlot = 2;
    setup.buttonMask = 15;
    setup.bitmaps = {kBitmapAccessory, 45};
    return setup;
}

const InputState& Input()
{
    return VecAt(g_InputState, 0);
}

} // namespace

std::string ChallengeStageFile(int n)
{
    char name[256];
    std::snprintf(name, sizeof name, "%s%02d-1.%s", g_PathTable[PATH_CHALLENGE_STAGE], n,
                  g_ExtTable[EXT_STAGE]);
    return name;
}

cChallengeScene::cChallengeScene()
    : cMenuScene(ChallengeSetup(), {static_cast<Phase>(&cChallengeScene::PhaseList)})
{
}

void cChallengeScene::Init()
{
    cMenuScene::Init();
    MenuCursorState& cursor = *g_MenuCursor.top;
    // The list comes back where it was left, held within the list.
    UpdateChallengeCount();
    cursor.row = std::clamp(g_SceneMgr.m_ChallengeCursor, 0, std::max(m_Count - 1, 0));
    m_Scroll = std::clamp(g_SceneMgr.m_ChallengeScroll, 0, std::max(m_Count - kRows, 0));
    UpdateChallengeCount();
    SelectChallenge(cursor.row + 1);
    DrawChallengePanel();
    m_SubState = 0;
}

void cChallengeScene::UpdateChallengeCount()
{
    m_Count = g_System.bAllChallengesOpen ? g_System.nChallengeStages : g_Progress.nChallengeOpen;
    m_Visible = m_Count < m_Scroll + kRows ? m_Count - m_Scroll : kRows;
}

void cChallengeScene::SelectChallenge(int n)
{
    g_Progress.SetStageName(ChallengeStageFile(n).c_str());
    if (g_SceneMgr.m_ResultsOn) LoadRankSet(g_RankSet, g_SceneMgr.m_PlayKind, g_Progress.strStage);
}

void cChallengeScene::PhaseList()
{
    UpdateChallengeCount();
    const std::uint16_t dir = Input().m_DirBits;
    MoveListCursor(dir, 1, m_Scroll, kListY, kRowPitch, kCursorX, m_Visible, m_Count, 1);
    PlayCursorSound(dir, 3, kSeCursor);
    if (dir & (kDirLeft | kDirRight | kDirUp | kDirDown)) {
        SelectChallenge(g_MenuCursor.top->row + 1);
        DrawChallengePanel();
    }
    const std::uint16_t buttons = Input().m_ButtonBits;
    if (buttons & 1) {
        StartChallenge();
    } else if (buttons & 2) {
        SendSeRequest(kSeCancel);
        g_SceneMgr.g_ReqScene = SCENE_TITLE;
        g_SceneMgr.g_PrevScene = SCENE_CHALLENGE;
        m_Phase = PHASE_FADE_OUT;
    } else {
        RankingButtons(buttons);
    }
    DrawScreen();
    const MenuCursorState& cursor = *g_MenuCursor.top;
    DDBlt(&BackBuffer, cursor.x, cursor.y, 32, 32, &g_BitmapSD[kBitmapAccessory], 0, 0, 1);
}

void cChallengeScene::StartChallenge()
{
    const int row = g_MenuCursor.top->row;
    // An empty list has no challenge under its cursor.
    if (row >= m_Count) return;
    const std::string file = ChallengeStageFile(row + 1);
    if (!LoadStage(file, 1, &g_StageAtStart)) {
        SendSeRequest(kSeLoadFailed);
        ErrBoxF(Sjis("ステージファイル %s が読み込めません！"), file.c_str());
        return;
    }
    SendSeRequest(kSeConfirm);
    g_Progress.SetStageName(g_Stage.strFileName.c_str());
    g_Progress.nStageIndex = row + 1;
    g_Progress.nChainNo = 1;
    if (VecAt(g_System.vUnlimitedLives, PLAYKIND_CHALLENGE) != 0) {
        g_Progress.nInitialLives = g_Progress.nLives = kUnlimitedLives;
    } else {
        g_Progress.nInitialLives = VecAt(g_System.vInitialLives, PLAYKIND_CHALLENGE);
        g_Progress.nLives = g_Progress.nInitialLives - 1;
    }
    g_Progress.bChainStage = 1;
    g_SceneMgr.m_ChallengeCursor = row;
    g_SceneMgr.m_ChallengeScroll = m_Scroll;
    g_SceneMgr.g_ReqScene = SCENE_GAME_PLAY;
    g_SceneMgr.g_PrevScene = SCENE_CHALLENGE;
    m_Phase = PHASE_FADE_OUT;
}

void cChallengeScene::RankingButtons(std::uint16_t buttons)
{
    const cEdModeFlags& flags = VecAt(g_System.vModeFlags, PLAYKIND_CHALLENGE);
    if (buttons & 4) {
        if (flags.bRanking) {
            SendSeRequest(kSeRankKind);
            g_Progress.bShowRanking = g_Progress.bShowRanking ? 0 : 1;
            DrawChallengePanel();
        } else {
            g_Progress.bShowRanking = 0;
        }
    } else if ((buttons & 8) && flags.bRanking) {
        const int kind = g_SceneMgr.m_PlayKind;
        if (g_System.CountModeFlags(kind) >= 2) {
            SendSeRequest(kSeRankKind);
            g_Progress.StepRankKind(kind, 1);
        }
        DrawChallengePanel();
    }
}
