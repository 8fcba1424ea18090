#include "shell/entry.h"

#include "core/err_log.h"
#include "core/report.h"
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
    if (!ReportCreate(reportPath.c_str())) return 0;
    Report("App : ver %s", "511");
    ReportSystem();

    return 0;
}
