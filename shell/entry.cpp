#include "shell/entry.h"

#include "core/err_log.h"
#include "core/message_box.h"
#include "core/path.h"
#include "core/report.h"
#include "core/sjis_text.h"
#include "data/default_data.h"
#include "data/ed_data.h"
#include "data/ed_option.h"
#include "data/ed_palette.h"
#include "data/path_table.h"
#include "media/dd_mes_box.h"
#include "platform/instance_lock.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"
#include "shell/main_window.h"
#include "world/start_up_data.h"

#include <string>

namespace {

// The start-up's reading of the game folder: the author's data (made from
// default\ on the first start), the folders the game writes into, and the
// player's options. 0 when a step failed; it has reported why.
int InitGame()
{
    // Every file is read and written at the current data version, and the
    // strings read lose their carriage returns.
    g_DataVersion = kDataVersion;
    g_StripCR = 1;

    RemoveLeftoverTemporaries();
    if (!CreateDefaultData(g_MainWindow.m_hWnd)) {
        ReportBox("%s",
                  Sjis("「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性が"
                       "あります。"));
        return 0;
    }
    CreateGameFolders();
    if (!LoadDatabaseAtStartUp()) return 0;
    if (!LoadSystemAtStartUp()) return 0;
    // A player without options plays with the defaults.
    LoadFile(g_Option, g_PathTable[PATH_OPTION]);
    if (!LoadWorldMapAtStartUp()) return 0;
    if (!LoadCommonPaletteAtStartUp()) return 0;
    return 1;
}

} // namespace

int GameMain(int, char**)
{
    plat::setMainThread();
    // Boxes over the full-screen game are drawn by the graphics layer.
    SetFullScreenBox(DDMesBox);

    // The error log is named but stays off for the whole run.
    ErrLogSetFile(0, "EC_Game.txt");

    // Without its run report the program cannot tell what went wrong: it
    // ends at once, without a message.
    std::string reportPath = "Report_Game.txt";
    PathToAbsolute(reportPath);
    if (!ReportCreate(reportPath.c_str())) return 0;
    Report("App : ver %s", "511");
    ReportSystem();

    // One copy at a time. A lock that cannot be taken for another reason
    // does not stop the program.
    plat::InstanceLock instance;
    if (instance.acquire("ゲーム") == plat::InstanceLockResult::AlreadyRunning) {
        plat::messageBox(0, Sjis("既に起動しています"), Sjis("二重起動"), MB_OK);
        return 0;
    }

    // The game is read; running it (its window, game thread and scenes)
    // is not part of the program yet, so it ends here either way.
    InitGame();
    return 0;
}
