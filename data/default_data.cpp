#include "data/default_data.h"

#include <string>

#include "core/sjis_text.h"
#include "data/path_table.h"
#include "platform/folders.h"
#include "platform/message_box.h"

namespace {

// A folder path without its separator at the end, as the copy names folders.
std::string folderName(const char* path)
{
    std::string name = path;
    while (!name.empty() && (name.back() == '\\' || name.back() == '/'))
        name.pop_back();
    return name;
}

} // namespace

int CreateDefaultData(plat::WindowId owner, bool* refused)
{
    if (refused) *refused = false;
    if (plat::isFolder(g_PathTable[PATH_DATA])) return 1;
    if (!plat::isFolder(g_PathTable[PATH_DEFAULT])) return 0;
    const int answer =
        plat::messageBox(owner, Sjis("データが存在しません！デフォルトデータを作成しますか？\n"),
                         Sjis("デフォルトデータ作成の確認"), MB_YESNO);
    if (refused) *refused = answer == IDNO;
    if (answer != IDYES) return 0;
    return plat::copyFolderTree(folderName(g_PathTable[PATH_DEFAULT]),
                                folderName(g_PathTable[PATH_DATA]))
               ? 1
               : 0;
}
