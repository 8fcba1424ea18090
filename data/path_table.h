#pragma once
// Every file and folder that the runtime reads or writes is named here, as a
// game path relative to the game folder: the author's data under data\, the
// player's under user_data\, and a pristine copy of the author's data that a
// game may ship as default\. The tables are constant; they are plain arrays
// so that they are ready before any other object of the program is built;
// the path table is a constant expression, so that other headers name their
// files from it.

#include <array>
#include <cstddef>

// The 47 paths, by index. Entries 38 to 40 are the ranking folders of the
// play kinds story, challenge and free, indexed as 38 + play kind.
inline constexpr std::size_t kPathTableSize = 47;
inline constexpr std::array<const char*, kPathTableSize> g_PathTable = {
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

// Indices of the entries that the runtime reads or writes. Each database
// table of data\database\ is followed by its default\ twin.
enum PathIndex : int {
    PATH_DATA = 0,           // data\ (a folder)
    PATH_DEFAULT = 1,        // default\ (a folder)
    PATH_COMMON_PALETTE = 7, // data\CommonPalette.cplt4
    PATH_WORLD_MAP = 13,     // data\WorldMap.dat
    PATH_DB_ANIME_SET = 15,  // data\database\AnimeSet.dat
    PATH_DB_ANIME = 17,
    PATH_DB_BMP_CHARA_EXC = 19,
    PATH_DB_SWORD_TYPE = 21,
    PATH_DB_EFFECT = 23,
    PATH_DB_CHARA_EFFECT = 25,
    PATH_DB_SCR_EFFECT = 27,
    PATH_DB_PICTURE = 29,
    PATH_DB_SOUND = 31,
    PATH_DB_BGM = 33,          // data\database\Bgm.dat
    PATH_SYSTEM = 35,          // data\System.dat
    PATH_CHALLENGE_STAGE = 37, // data\stg4\c: first part of a challenge stage's name
    PATH_RANKING_STORY = 38,   // user_data\story\ (+ play kind: challenge, free)
    PATH_STORY_SLOT = 41,      // user_data\story\Story: first part of a story slot's name
    PATH_CHALLENGE_DATA = 42,  // user_data\challenge\Challenge.dat
    PATH_OPTION = 43,          // user_data\Option.dat
    PATH_USER_DATA = 44,       // user_data\ (a folder)
    PATH_KEY_CONFIG = 45,      // user_data\KeyConfig.dat
    PATH_BOOT = 46,            // user_data\Boot.dat
};

// The file extensions, without their dot: 0 "cplt4", 1 "stg4" (stage
// files), 2 "plt4", 3 "rkg" (ranking files).
extern const std::array<const char*, 4> g_ExtTable;

enum ExtIndex : int {
    EXT_COMMON_PALETTE = 0,
    EXT_STAGE = 1,
    EXT_PALETTE = 2,
    EXT_RANKING = 3,
};

// The folder of the player's replay files (with its separator at the end).
inline constexpr const char* kReplayFolder = "user_data\\rpl4\\";

// The folders that the start-up makes when they are missing, in the order
// it makes them.
extern const std::array<const char*, 22> g_FolderTable;

// Makes each folder of g_FolderTable that does not exist, in order. A
// folder that cannot be made is passed over: a later read of a file in it
// fails and is reported there.
void CreateGameFolders();

// Removes what writes interrupted in an earlier run (a crash, a kill, a
// power loss) left in the folders the game writes: the temporary files of
// the atomic writer in user_data\ and its folders, and unfinished copies of
// data\ in the game folder. Only names of the runtime's own temporaries are
// touched, never a player's or an author's file. For the start-up, before
// anything is written.
void RemoveLeftoverTemporaries();

// The Shift-JIS name of a value of a character's colour setting, 0 to 9
// ("なし", "白", ... "4色"); any other value names nothing ("").
const char* ColorName(int value);
