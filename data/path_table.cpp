#include "data/path_table.h"

#include "core/sjis_text.h"
#include "platform/folders.h"

const std::array<const char*, kPathTableSize> g_PathTable = {
    "data\\",
    "default\\",
    "data\\stg4\\old_ver\\",
    "data\\work\\",
    "e_data\\EditConfig.dat",
    "data\\PrjOption.dat",
    "default\\PrjOption.dat",
    "data\\CommonPalette.cplt4",
    "default\\CommonPalette.cplt4",
    "data\\GValInfo.dat",
    "default\\GValInfo.dat",
    "data\\stg4\\Default.stg4_***",
    "default\\stg4\\Default.stg4_***",
    "data\\WorldMap.dat",
    "default\\WorldMap.dat",
    "data\\database\\AnimeSet.dat",
    "default\\database\\AnimeSet.dat",
    "data\\database\\Anime.dat",
    "default\\database\\Anime.dat",
    "data\\database\\Bmp_CharaExc.dat",
    "default\\database\\Bmp_CharaExc.dat",
    "data\\database\\SwordType.dat",
    "default\\database\\SwordType.dat",
    "data\\database\\Effect.dat",
    "default\\database\\Effect.dat",
    "data\\database\\CharaEffect.dat",
    "default\\database\\CharaEffect.dat",
    "data\\database\\ScrEffect.dat",
    "default\\database\\ScrEffect.dat",
    "data\\database\\Picture.dat",
    "default\\database\\Picture.dat",
    "data\\database\\Sound.dat",
    "default\\database\\Sound.dat",
    "data\\database\\Bgm.dat",
    "default\\database\\Bgm.dat",
    "data\\System.dat",
    "default\\System.dat",
    "data\\stg4\\c",
    "user_data\\story\\",
    "user_data\\challenge\\",
    "user_data\\free\\",
    "user_data\\story\\Story",
    "user_data\\challenge\\Challenge.dat",
    "user_data\\Option.dat",
    "user_data\\",
    "user_data\\KeyConfig.dat",
    "user_data\\Boot.dat",
};

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

const char* ColorName(int value)
{
    static const char* const kNames[] = {"なし", "白", "黒",   "赤",   "緑",
                                         "青",   "黄", "赤紫", "青紫", "4色"};
    if (value < 0 || value >= static_cast<int>(std::size(kNames))) return "";
    return Sjis(kNames[value]);
}
