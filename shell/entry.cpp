#include "shell/entry.h"

#include "core/err_log.h"
#include "core/main_window_handle.h"
#include "core/message_box.h"
#include "core/path.h"
#include "core/report.h"
#include "core/sjis_text.h"
#include "core/thread.h"
#include "data/test_flows.h"
#include "media/dd_mes_box.h"
#include "platform/clock.h"
#include "platform/close_signals.h"
#include "platform/display_loss.h"
#include "platform/game_window.h"
#include "platform/instance_lock.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "platform/tool_channel.h"
#include "platform/window_messages.h"
#include "shell/app_state.h"
#include "shell/game_loop.h"
#include "shell/init_game.h"
#include "shell/main_window.h"

#include <cstdio>
#include <cstdlib>
#include <string>

std::atomic<int> g_AppActive{0};
std::atomic<int> g_Initialised{0};
std::int32_t g_Windowed = 1;
std::string g_ThreadsLeftRunning;
std::atomic<int> g_CloseAtStartUp{0};

namespace {

[[noreturn]] void EndNow(int status, const std::string&)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

EndProcessFn g_EndProcess = EndNow;

// Tries to wake the new game thread a bounded number of times: a thread
// whose queue never appears has not started.
bool WakeGameThread()
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (plat::postThreadMessage(thGame.m_dwThreadId, UM_WAKE, 0, 0)) return true;
        plat::sleepMs(1);
    }
    return false;
}

// The main thread's loop until WM_QUIT; its wParam.
int RunMessageLoop()
{
    for (;;) {
        plat::Message m;
        if (plat::peekMessage(m)) {
            if (m.msg == WM_QUIT) return static_cast<int>(m.wParam);
            plat::dispatchMessage(m);
            continue;
        }
        // Frames and events wake the wait; nothing is polled in between.
        plat::waitMessage();
    }
}

// Ends a start-up that did not get through; `why` goes to the run report
// unless the start-up has said it already (null). The authoring tool, told
// that the window exists, hears that the start-up failed (and only that).
int StartUpFailed(const char* why)
{
    if (why) Report("start-up ended: %s", why);
    if (g_StartedByTool && plat::isWindow(g_MainWindow.m_hWnd)) NotifyToolExit(0);
    g_Initialised = 0;
    UnInitGame();
    if (plat::isWindow(g_MainWindow.m_hWnd)) plat::destroyWindow(g_MainWindow.m_hWnd);
    g_hMainWnd = 0;
    plat::closeGameWindow();
    plat::shutdownEvents();
    // The window's WM_QUIT is not for any later run.
    plat::Message m;
    while (plat::peekMessage(m)) {
    }
    return kExitStartUpFailed;
}

} // namespace

std::string CommandLine(int argc, char** argv)
{
    std::string line;
    for (int i = 1; i < argc && argv; ++i) {
        if (i > 1) line += ' ';
        line += argv[i] ? argv[i] : "";
    }
    return line;
}

void SetEndProcess(EndProcessFn end)
{
    g_EndProcess = end ? std::move(end) : EndNow;
}

int GameMain(int argc, char** argv)
{
    // First of all: a close signal from now on ends the program in order.
    plat::CloseSignals closeSignals;
    // The display going must not pull the objects the threads use from
    // under them.
    plat::DisplayLossGuard displayLoss([] {
        Report("the connection to the display broke: the program ends without its shutdown");
    });
    plat::setMainThread();
    g_AppActive = 0;
    g_Initialised = 0;
    g_ThreadsLeftRunning.clear();
    g_CloseAtStartUp = 0;
    // Boxes over the full-screen game are drawn by the graphics layer.
    SetFullScreenBox(DDMesBox);

    // The error log is named but stays off for the whole run.
    ErrLogSetFile(0, "EC_Game.txt");

    // One copy at a time; a refused copy leaves the running copy's report
    // alone. A lock that cannot be taken for another reason does not stop
    // the program.
    plat::InstanceLock instance;
    if (instance.acquire("ゲーム") == plat::InstanceLockResult::AlreadyRunning) {
        plat::messageBox(0, Sjis("既に起動しています"), Sjis("二重起動"), MB_OK);
        return kExitStartUpFailed;
    }

    // Without its run report the program cannot tell what goes wrong later:
    // it ends at once, saying why (the game folder is not writable).
    std::string reportPath = "Report_Game.txt";
    PathToAbsolute(reportPath);
    if (!ReportCreate(reportPath.c_str())) {
        ErrBox(Sjis(
            "Report_Game.txt を作成できません！\nゲームのフォルダに書き込めるか確かめて下さい。"));
        return kExitStartUpFailed;
    }
    Report("App : ver %s", "511");
    ReportSystem();
    // A test play of the authoring tool comes with the tool's channel.
    g_StartedByTool = plat::toolChannelPresent() ? 1 : 0;

    if (!plat::initEvents()) {
        // Without a display there is nowhere to show a box: the terminal is told.
        std::fprintf(stderr, "%s\n", plat::eventsError().c_str());
        Report("%s", plat::eventsError().c_str());
        ErrBox(Sjis("ウインドウが生成出来ません！"));
        return StartUpFailed("the window cannot be made");
    }
    if (!plat::createGameWindow(MainWndProc, 640, 480)) {
        ErrBox(Sjis("ウインドウが生成出来ません！"));
        return StartUpFailed("the window cannot be made");
    }
    g_MainWindow.m_hWnd = plat::gameWindow();
    g_hMainWnd = g_MainWindow.m_hWnd.load();
    if (g_StartedByTool) NotifyToolStart();

    bool quitByPlayer = false;
    if (!InitGame(CommandLine(argc, argv), quitByPlayer)) {
        const int status = StartUpFailed(quitByPlayer ? nullptr : "see above");
        return quitByPlayer ? kExitOk : status;
    }
    g_Initialised = 1;
    // A close asked for while the game was being read waited until now.
    if (g_CloseAtStartUp) plat::postMessage(g_MainWindow.m_hWnd, WM_CLOSE, 0, 0);

    if (!thGame.Start(GameLoop, nullptr) || !WakeGameThread()) {
        thGame.Exit();
        return StartUpFailed("the game thread cannot start");
    }

    int status = RunMessageLoop();
    // Normally the close has stopped them already.
    if (g_ThreadsLeftRunning.empty()) StopWorkers();
    if (!g_ThreadsLeftRunning.empty()) {
        // A worker may still use what shutdown would release: the player's
        // files are already written (each one whole, or the old one kept),
        // so the program ends here.
        Report("the program ends without its shutdown");
        g_EndProcess(kExitThreadStuck, g_ThreadsLeftRunning + " did not end");
        // Only a test's end comes back here.
        WaitForWorkers();
        status = kExitThreadStuck;
    }
    UnInitGame();
    plat::closeGameWindow();
    plat::shutdownEvents();
    g_Initialised = 0;
    return status;
}
