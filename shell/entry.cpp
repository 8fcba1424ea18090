#include "shell/entry.h"

#include "core/err_log.h"
#include "core/path.h"
#include "core/report.h"
#include "core/sjis_text.h"
#include "platform/instance_lock.h"
#include "platform/message_box.h"
#include "platform/message_loop.h"

#include <string>

int GameMain(int, char**)
{
    plat::setMainThread();

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

    return 0;
}
