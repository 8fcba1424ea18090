#include "shell/main_window.h"

#include "core/checked_access.h"
#include "core/message_box.h"
#include "core/report.h"
#include "core/request.h"
#include "core/request_messages.h"
#include "core/sjis_text.h"
#include "core/thread.h"
#include "data/ed_database.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/replay_log.h"
#include "data/test_flows.h"
#include "media/bgm.h"
#include "media/dd_dialog.h"
#include "media/dd_present.h"
#include "media/ds_sound.h"
#include "media/font.h"
#include "platform/input.h"
#include "platform/tool_channel.h"
#include "platform/window_messages.h"
#include "scenes/free_play.h"
#include "scenes/game_play.h"
#include "scenes/replay_start.h"
#include "scenes/scene_mgr.h"
#include "shell/app_state.h"
#include "shell/file_dialogs.h"
#include "shell/name_dialog.h"

namespace {

// The workers in the order they are stopped.
cThread* const kWorkers[] = {&thLoad, &thPause, &thRanking, &thGame};

// Closing: while the pause thread holds the frame loop, only that play is
// stopped and the window stays for a later close; otherwise every worker
// is stopped, in order, and the window goes. A worker that does not end
// within the budget (stuck outside any wait) is named in the run report
// and left behind: the program then ends without waiting for it.
void Close(plat::WindowId hwnd)
{
    // The start-up reads the game while serving messages (the stage
    // loader): the window must outlive it.
    if (!g_Initialised) {
        g_CloseAtStartUp = 1;
        return;
    }
    if (thPause.m_hThread) {
        if (g_GamePlay) g_GamePlay->m_StopFlag = 1;
        plat::postThreadMessage(thPause.m_dwThreadId, WM_QUIT, 0, 0);
        return;
    }
    g_Bgm.Stop();
    StopWorkers();
    plat::destroyWindow(hwnd);
}

} // namespace

void StopWorkers()
{
    // All are asked at once, so the budgets of the later ones run while
    // the earlier ones are waited for.
    for (cThread* worker : kWorkers)
        worker->RequestQuit();
    for (cThread* worker : kWorkers) {
        if (worker->Exit(kWorkerExitBudgetMs)) continue;
        Report("%s did not end when the window closed", worker->Name());
        if (!g_ThreadsLeftRunning.empty()) g_ThreadsLeftRunning += ", ";
        g_ThreadsLeftRunning += worker->Name();
    }
}

void NotifyToolStart()
{
    plat::toolNotify(1, 1);
}

void NotifyToolExit(int code)
{
    plat::toolNotify(0, code);
}

void WaitForWorkers()
{
    for (cThread* worker : kWorkers)
        worker->Wait();
}

namespace {

void PlaySound(std::uintptr_t slot)
{
    DSPlay(VecAt(g_Sounds, static_cast<int>(slot)), 0);
}

// A music slot of the menus (0 to 3), or the stage music (4) by number.
void PlayMusic(std::uintptr_t slot, std::intptr_t number)
{
    if (slot <= 3) {
        const int k = static_cast<int>(slot);
        const int n = VecAt(g_System.vMusicNo, k);
        g_Bgm.Register(k, VecAt(g_Database.Bgm, n).m_FileName.c_str());
        const int cur = g_SceneMgr.g_CurScene, prev = g_SceneMgr.g_PrevScene;
        // Between the world map and the save menu the map's music goes on.
        const bool keep = k == 1 && ((cur == SCENE_WORLD_MAP && prev == SCENE_SAVE_MENU) ||
                                     (cur == SCENE_SAVE_MENU && prev == SCENE_WORLD_MAP));
        g_Bgm.Play(0, k, VecAt(g_System.vMusicLoop, k), 0, keep ? 0 : 1);
        return;
    }
    if (slot != 4) return;
    const int n = static_cast<int>(number);
    g_Progress.nStageMusic = n;
    g_Bgm.Register(4, VecAt(g_Database.Bgm, n).m_FileName.c_str());
    if (n == 0) {
        g_Bgm.Stop();
    } else {
        g_Bgm.Play(0, 4, g_Progress.bStageMusicLoop, 0, 1);
    }
}

// The results below tell the requester what happened: 1 done, 0 cancelled
// or failed. A file that cannot be read or written is said in a box and
// the game goes on.
void OpenStage()
{
    const std::string path = OpenStageDialog();
    g_RequestResult = !path.empty() && StartFreePlay(path.c_str(), 0) ? 1 : 0;
    g_RequestDone = 1;
}

void OpenReplay()
{
    const std::string path = OpenReplayDialog();
    g_RequestResult = !path.empty() && LoadReplayFile(path) ? 1 : 0;
    g_RequestDone = 1;
}

void SaveReplay(std::uintptr_t which)
{
    const std::string path = SelectReplayFile(g_Progress.strStage);
    int result = 0;
    if (!path.empty()) {
        cReplayLog& log = which == 0 ? g_ReplayLog : g_ReplayLog2;
        cSaveData& progress = which == 0 ? g_ProgressAtStart : g_ProgressAtStart2;
        if (log.SaveReplay(path.c_str(), g_Stage, g_StageAtStart, progress)) {
            result = 1;
        } else {
            ErrBoxF(Sjis("%s にリプレイを保存できませんでした！"), path.c_str());
        }
    }
    // Keys held when the dialog opened were released meanwhile.
    plat::releaseAllKeys();
    g_RequestResult = result;
    g_RequestDone = 1;
}

void NameDialog()
{
    DDSetDialogMode(1);
    RunNameDialog();
    DDSetDialogMode(0);
    plat::releaseAllKeys();
    g_NameDlgDone = 1;
}

} // namespace

cMainWindow g_MainWindow;

std::intptr_t cMainWindow::WindowProc(plat::WindowId hwnd, std::uint32_t msg, std::uintptr_t wParam,
                                      std::intptr_t lParam)
{
    m_hWnd = hwnd;
    switch (msg) {
    case WM_DESTROY:
        m_hWnd = 0;
        g_hMainWnd = 0;
        // A start-up that failed has told the tool already.
        if (g_StartedByTool && g_Initialised) NotifyToolExit(1);
        plat::postQuitMessage(0);
        return 0;
    case WM_CLOSE:
        Close(hwnd);
        return 0;
    case WM_ACTIVATEAPP:
        g_AppActive = wParam != 0 ? 1 : 0;
        return 0;
    case WM_KEYDOWN:
        if (wParam == plat::VK_ESCAPE) plat::postMessage(hwnd, WM_CLOSE, 0, 0);
        return 0;
    case UM_NAMEDLG:
        NameDialog();
        return 0;
    case UM_OPENSTAGE:
        OpenStage();
        return 0;
    case UM_OPENREPLAY:
        OpenReplay();
        return 0;
    case UM_SAVEREPLAY:
        SaveReplay(wParam);
        return 0;
    case UM_SE:
        PlaySound(wParam);
        return 0;
    case UM_BGM:
        PlayMusic(wParam, lParam);
        return 0;
    case UM_RESTORE:
        // The device's surfaces come back empty: the digit strips are drawn again.
        if (DDRestoreSurface()) {
            for (std::size_t i = 0; i < g_DigitSD.size(); ++i)
                if (g_DigitSD[i].lpDT) DrawDigitStrip(&g_DigitSD[i], &g_Fonts[i]);
        }
        return 0;
    default:
        return 0;
    }
}

std::intptr_t MainWndProc(plat::WindowId hwnd, std::uint32_t msg, std::uintptr_t wParam,
                          std::intptr_t lParam)
{
    return g_MainWindow.WindowProc(hwnd, msg, wParam, lParam);
}
