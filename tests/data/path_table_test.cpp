// The path and extension tables, the folders made at start-up and the colour
// names.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "core/sjis_text.h"
#include "data/path_table.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(PathTable, NamedEntriesHoldTheirPaths)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {PATH_DATA, "data\\"},
        {PATH_DEFAULT, "default\\"},
        {PATH_COMMON_PALETTE, "data\\CommonPalette.cplt4"},
        {PATH_WORLD_MAP, "data\\WorldMap.dat"},
        {PATH_DB_ANIME_SET, "data\\database\\AnimeSet.dat"},
        {PATH_DB_ANIME, "data\\database\\Anime.dat"},
        {PATH_DB_BMP_CHARA_EXC, "data\\database\\Bmp_CharaExc.dat"},
        {PATH_DB_SWORD_TYPE, "data\\database\\SwordType.dat"},
        {PATH_DB_EFFECT, "data\\database\\Effect.dat"},
        {PATH_DB_CHARA_EFFECT, "data\\database\\CharaEffect.dat"},
        {PATH_DB_SCR_EFFECT, "data\\database\\ScrEffect.dat"},
        {PATH_DB_PICTURE, "data\\database\\Picture.dat"},
        {PATH_DB_SOUND, "data\\database\\Sound.dat"},
        {PATH_DB_BGM, "data\\database\\Bgm.dat"},
        {PATH_SYSTEM, "data\\System.dat"},
        {PATH_CHALLENGE_STAGE, "data\\stg4\\c"},
        {PATH_RANKING_STORY, "user_data\\story\\"},
        {PATH_RANKING_STORY + 1, "user_data\\challenge\\"},
        {PATH_RANKING_STORY + 2, "user_data\\free\\"},
        {PATH_STORY_SLOT, "user_data\\story\\Story"},
        {PATH_CHALLENGE_DATA, "user_data\\challenge\\Challenge.dat"},
        {PATH_OPTION, "user_data\\Option.dat"},
        {PATH_USER_DATA, "user_data\\"},
        {PATH_KEY_CONFIG, "user_data\\KeyConfig.dat"},
        {PATH_BOOT, "user_data\\Boot.dat"},
    };
    for (const auto& [index, path] : cases) {
        EXPECT_EQ(g_PathTable[static_cast<std::size_t>(index)], path) << "entry " << index;
    }
}

TEST(PathTable, EveryDataFileHasItsDefaultTwinRightAfterIt)
{
    // Entries 7 to 36 pair each data\ file with the same file under default\.
    for (std::size_t i = 7; i + 1 <= 36; i += 2) {
        const std::string data = g_PathTable[i];
        const std::string twin = g_PathTable[i + 1];
        ASSERT_EQ(data.rfind("data\\", 0), 0u) << data;
        EXPECT_EQ("default\\" + data.substr(5), twin) << "entry " << i;
    }
}

TEST(PathTable, ExtensionsAreThoseOfTheFileKinds)
{
    EXPECT_STREQ(g_ExtTable[EXT_COMMON_PALETTE], "cplt4");
    EXPECT_STREQ(g_ExtTable[EXT_STAGE], "stg4");
    EXPECT_STREQ(g_ExtTable[EXT_PALETTE], "plt4");
    EXPECT_STREQ(g_ExtTable[EXT_RANKING], "rkg");
}

TEST(GameFolders, MissingFoldersAreMadeAndExistingOnesKept)
{
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.path());
    // A folder that exists under another case is the same folder, and its
    // contents stay.
    dir.write("User_Data/Story/Story01.dat", "slot");
    CreateGameFolders();
    for (const char* folder : g_FolderTable) {
        std::string native = folder;
        for (char& c : native) {
            if (c == '\\') c = '/';
        }
        if (native.rfind("user_data", 0) == 0) native.replace(0, 9, "User_Data");
        if (native == "User_Data/story") native = "User_Data/Story";
        EXPECT_TRUE(fs::is_directory(dir / native)) << folder;
    }
    EXPECT_EQ(dir.read("User_Data/Story/Story01.dat"), "slot");
    EXPECT_FALSE(fs::exists(dir / "user_data"));
}

TEST(GameFolders, AFolderThatCannotBeMadeIsPassedOver)
{
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.path());
    dir.write("bmp", "a file where a folder belongs");
    CreateGameFolders();
    EXPECT_EQ(dir.read("bmp"), "a file where a folder belongs");
    EXPECT_TRUE(fs::is_directory(dir / "user_data/rpl4"));
    EXPECT_TRUE(fs::is_directory(dir / "wave"));
    EXPECT_TRUE(fs::is_directory(dir / "bgm"));
}

// What writes interrupted in an earlier run left goes at the start: the
// temporary files in the player's folders and the unfinished copies of the
// author's data, and nothing in the folders the game only reads.
TEST(GameFolders, LeftoversOfInterruptedWritesAreRemoved)
{
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.path());
    dir.write("user_data/.Option.dat.tmp-4711-0", "half written");
    dir.write("user_data/challenge/.Challenge.dat.tmp-4711-1", "half written");
    dir.write(".data.copy-4711-2/System.dat", "half copied");
    dir.write("user_data/Option.dat", "options");
    dir.write("data/.System.dat.tmp-1-2", "not ours to remove");
    dir.write("default/.System.dat.tmp-1-2", "not ours to remove");
    dir.write(".Readme.txt.tmp-1-2", "not ours to remove");

    RemoveLeftoverTemporaries();
    EXPECT_FALSE(fs::exists(dir / "user_data/.Option.dat.tmp-4711-0"));
    EXPECT_FALSE(fs::exists(dir / "user_data/challenge/.Challenge.dat.tmp-4711-1"));
    EXPECT_FALSE(fs::exists(dir / ".data.copy-4711-2"));
    for (const char* name : {"user_data/Option.dat", "data/.System.dat.tmp-1-2",
                             "default/.System.dat.tmp-1-2", ".Readme.txt.tmp-1-2"}) {
        EXPECT_TRUE(fs::exists(dir / name)) << name;
    }
}

TEST(ColorNames, ValuesZeroToNineHaveNamesAndOthersNone)
{
    EXPECT_STREQ(ColorName(0), Sjis("なし"));
    EXPECT_STREQ(ColorName(1), Sjis("白"));
    EXPECT_STREQ(ColorName(8), Sjis("青紫"));
    EXPECT_STREQ(ColorName(9), Sjis("4色"));
    EXPECT_STREQ(ColorName(10), "");
    EXPECT_STREQ(ColorName(-1), "");
}

} // namespace
