#include "core/path.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// "ソ" in Shift-JIS: its trail byte is a backslash.
const std::string kSo = "\x83\x5C";

TEST(PathStripDir, KeepsThePartAfterTheLastSeparator)
{
    struct Case {
        std::string path;
        std::string expected;
    };
    const Case cases[] = {
        {"data\\stg4\\Stage.stg4_001", "Stage.stg4_001"},
        {"Stage.stg4_001", "Stage.stg4_001"},
        {"/home/player/game/replay.rpl4_511", "replay.rpl4_511"},
        {"data\\", ""},
        {kSo + ".txt", kSo + ".txt"},           // the trail byte is no separator
        {"dir\\" + kSo + kSo, kSo + kSo},       // keeps looking left of it
        {kSo + "\\file", "file"},               // a real backslash after the pair
        {"\x83\x83" + std::string("\\x"), "x"}, // 83 83 is a pair, the 5C after it is real
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        PathStripDir(path);
        EXPECT_EQ(path, c.expected) << testing::PrintToString(c.path);
    }
}

struct ExtCase {
    std::string path;
    const char* ext;
    int result;
    std::string expected;
};

TEST(PathReplaceExt, ReplacesOrCutsTheExtensionOfTheFileName)
{
    const ExtCase cases[] = {
        {"file.txt", nullptr, 1, "file"},
        {"file.txt", "dat", 1, "file.dat"},
        {"data\\stg4\\Stage.stg4_120", "stg4", 1, "data\\stg4\\Stage.stg4"},
        {"a.b\\c.d", "x", 1, "a.b\\c.x"},
        {"noext", "x", 0, "noext"},
        // A "." in a folder name starts no extension: the folder stays.
        {"a.b\\c", "x", 0, "a.b\\c"},
        {"v1.0/readme", nullptr, 0, "v1.0/readme"},
        {kSo + ".txt", "bmp", 1, kSo + ".bmp"},
        {"x.", "y", 1, "x.y"},
        {std::string(260, 'a') + ".txt", "x", 0, ""},       // path too long
        {std::string(250, 'a') + ".t", "longext12", 0, ""}, // result too long
        {std::string(250, 'a') + ".t", "longext1", 1, std::string(250, 'a') + ".longext1"},
    };
    for (const auto& c : cases) {
        std::string out = "old";
        EXPECT_EQ(PathReplaceExt(out, c.path, c.ext), c.result) << c.path;
        EXPECT_EQ(out, c.expected) << c.path;
    }
}

TEST(PathReplaceExt, OutputMayBeThePathItself)
{
    std::string path = "Stage.stg4_001";
    EXPECT_EQ(PathReplaceExt(path, path, "rpl4_511"), 1);
    EXPECT_EQ(path, "Stage.rpl4_511");
}

TEST(PathGetExt, GivesTheTextAfterTheExtensionDot)
{
    const ExtCase cases[] = {
        {"rec.rpl4_511", nullptr, 1, "rpl4_511"},
        {"music\\Title.MID", nullptr, 1, "MID"},
        {"x.", nullptr, 1, ""},
        {"a.b\\c", nullptr, 0, ""},
        {"plain", nullptr, 0, ""},
    };
    for (const auto& c : cases) {
        std::string out = "old";
        EXPECT_EQ(PathGetExt(out, c.path), c.result) << c.path;
        EXPECT_EQ(out, c.expected) << c.path;
    }
}

TEST(PathAddSuffix, PutsTwoDigitsBeforeTheExtension)
{
    struct Case {
        std::string path;
        int a;
        int b;
        int result;
        std::string expected;
    };
    const Case cases[] = {
        {"rec.rpl4_511", 0, 1, 1, "rec_01.rpl4_511"},
        {"user_data\\rpl4\\Stage.rpl4_511", 8, 8, 1, "user_data\\rpl4\\Stage_88.rpl4_511"},
        {"a.b\\rec", 1, 2, 0, "a.b\\rec"},
        {"noext", 1, 2, 0, "noext"},
        {std::string(254, 'a') + ".ext", 1, 2, 0, std::string(254, 'a') + ".ext"},
    };
    for (const auto& c : cases) {
        std::string out = "old";
        EXPECT_EQ(PathAddSuffix(out, c.path, c.a, c.b), c.result) << c.path;
        EXPECT_EQ(out, c.expected) << c.path;
    }
}

class NumberedFiles : public testing::Test {
protected:
    NumberedFiles() : cwd_(dir_.path()) {}

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
};

TEST_F(NumberedFiles, HighestExistingNumberWins)
{
    dir_.write("data/stg4/Stage.stg4_003", "");
    dir_.write("data/stg4/Stage.stg4_120", "");
    dir_.write("data/stg4/Other.stg4_999", "");
    struct Case {
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"data\\stg4\\Stage.stg4", "data\\stg4\\Stage.stg4_120"},
        {"data\\stg4\\Stage.stg4_003", "data\\stg4\\Stage.stg4_120"}, // any number given
        {"DATA\\STG4\\stage.dat", "DATA\\STG4\\stage.stg4_120"},      // any case, any extension
    };
    for (const auto& c : cases) {
        std::string out = "unchanged";
        EXPECT_EQ(FindNewestNumbered(out, c.path, "stg4"), 1) << c.path;
        EXPECT_EQ(out, c.expected) << c.path;
    }
}

TEST_F(NumberedFiles, NumbersRunFrom000To999)
{
    dir_.write("a.x_000", "");
    dir_.write("b_999", ""); // without an extension the path itself is the base
    std::string out;
    EXPECT_EQ(FindNewestNumberedStr(out, "a.q", "x"), 1);
    EXPECT_EQ(out, "a.x_000");
    EXPECT_EQ(FindNewestNumberedStr(out, "b", "x"), 1);
    EXPECT_EQ(out, "b_999");
}

TEST_F(NumberedFiles, NoneFoundLeavesTheOutputAlone)
{
    dir_.write("data/stg4/Stage.stg4_1000", ""); // four digits are another name
    dir_.write("data/stg4/Stage.stg4_12", "");
    for (const std::string& path :
         {std::string("data\\stg4\\Stage.stg4"), std::string("missing\\Stage.stg4"),
          std::string(""), std::string(256, 'a') + ".stg4"}) {
        std::string out = "unchanged";
        EXPECT_EQ(FindNewestNumbered(out, path, "stg4"), 0) << path;
        EXPECT_EQ(out, "unchanged") << path;
    }
}

class AbsoluteAndRelative : public testing::Test {
protected:
    AbsoluteAndRelative()
        : root_(fs::canonical(dir_.path())), game_(root_ / "game"),
          cwd_((fs::create_directory(game_), game_))
    {
    }

    test::TempDir dir_;
    fs::path root_; // the temporary folder's real path (plain ASCII)
    fs::path game_;
    test::ScopedCurrentDir cwd_;
};

TEST_F(AbsoluteAndRelative, MakesRelativePathsAbsoluteFromTheGameFolder)
{
    const std::string game = game_.string();
    struct Case {
        std::string path;
        int result;
        std::string expected;
    };
    const Case cases[] = {
        {"Report_Game.txt", 1, game + "/Report_Game.txt"},
        {"data\\stg4\\" + kSo + ".stg4", 1, game + "/data/stg4/" + kSo + ".stg4"},
        {".\\data\\..\\user_data\\", 1, game + "/user_data/"},
        {"..\\other", 1, root_.string() + "/other"},
        {"/already/absolute", 1, "/already/absolute"},
        {"C:\\game\\data", 1, "C:\\game\\data"},
        {"", 0, ""},
        {std::string(260, 'x'), 0, std::string(260, 'x')},
        {std::string(259 - game.size(), 'x'), 0, std::string(259 - game.size(), 'x')},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(PathToAbsolute(path), c.result) << c.path;
        EXPECT_EQ(path, c.expected) << c.path;
    }
}

TEST_F(AbsoluteAndRelative, MakesPathsInsideTheGameFolderRelative)
{
    const std::string game = game_.string();
    struct Case {
        std::string path;
        int result;
        std::string expected;
    };
    const Case cases[] = {
        {game + "/data/stg4/Stage.stg4_001", 1, ".\\data\\stg4\\Stage.stg4_001"},
        {game + "\\data\\..\\user_data\\" + kSo, 1, ".\\user_data\\" + kSo},
        {game, 1, "."},
        {"data\\already", 1, "data\\already"},
        // Another drive, or outside the game folder: stays as it is.
        {"D:\\game\\data", 0, "D:\\game\\data"},
        {root_.string() + "/other/file", 0, root_.string() + "/other/file"},
        {game + "x/file", 0, game + "x/file"},
        {"/", 0, "/"},
        {"/" + std::string(260, 'x'), 0, "/" + std::string(260, 'x')},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        EXPECT_EQ(PathToRelative(path), c.result) << c.path;
        EXPECT_EQ(path, c.expected) << c.path;
        path = c.path;
        EXPECT_EQ(PathToRelativeStr(path), c.result) << c.path;
    }
}

TEST(PathsInAJapaneseFolder, ConvertBetweenTheFolderAndShiftJis)
{
    test::TempDir dir;
    const fs::path game = fs::canonical(dir.path()) / "ゲーム";
    fs::create_directory(game);
    fs::create_directory(dir / "caf\u00E9");
    {
        test::ScopedCurrentDir cwd(game);
        std::string path = "data\\x.dat";
        ASSERT_EQ(PathToAbsolute(path), 1);
        EXPECT_EQ(path,
                  fs::canonical(dir.path()).string() + "/\x83\x51\x81\x5B\x83\x80/data/x.dat");
        ASSERT_EQ(PathToRelative(path), 1);
        EXPECT_EQ(path, ".\\data\\x.dat");
    }
    // A folder that Shift-JIS cannot name has no absolute Shift-JIS paths.
    test::ScopedCurrentDir cwd(dir / "caf\u00E9");
    std::string path = "Report_Game.txt";
    EXPECT_EQ(PathToAbsolute(path), 0);
    EXPECT_EQ(path, "Report_Game.txt");
}

} // namespace
