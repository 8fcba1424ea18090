#include "data/path_table.h"

#include "core/sjis_text.h"
#include "platform/atomic_file.h"
#include "platform/folders.h"

const std::array<const char*, 4> g_ExtTable = {"cplt4", "stg4", "plt4", "rkg"};

const std::array<const char*, 22> g_FolderTable = {
    "user_data",
    "user_data\\story",
    "user_data\\challenge",
    "user_data\\free",
    "user_data\\rpl4",
    "data",
    "data\\database",
    "data\\stg4",
    "data\\stg4\\old_ver",
    "data\\work",
    "data\\plt4",
    "bmp",
    "bmp\\back",
    "bmp\\chara_sp",
    "bmp\\effect",
    "bmp\\picture",
    "bmp\\sword",
    "bmp\\convert",
    "bmp\\plt",
    "bmp\\hbt",
    "wave",
    "bgm",
};

void CreateGameFolders()
{
    for (const char* folder : g_FolderTable) {
        if (!plat::isFolder(folder)) plat::createFolder(folder);
    }
}

void RemoveLeftoverTemporaries()
{
    plat::removeLeftoverTemporaryFiles(g_PathTable[PATH_USER_DATA]);
    plat::removeLeftoverCopies(g_PathTable[PATH_DATA]);
}

const char* ColorName(int value)
{
    static const char* const kNames[] = {"なし", "白", "黒",   "赤",   "緑",
                                         "青",   "黄", "赤紫", "青紫", "4色"};
    if (value < 0 || value >= static_cast<int>(std::size(kNames))) return "";
    return Sjis(kNames[value]);
}
