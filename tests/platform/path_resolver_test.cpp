#include "platform/path_resolver.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// A game folder with mixed-case names, and names in Japanese whose
// Shift-JIS form holds a 0x5C trail byte ("ソ" is 0x83 0x5C).
class PathResolver : public testing::Test {
protected:
    PathResolver() : cwd_(dir_.path())
    {
        dir_.write("BGM/Title.OGG", "music");
        dir_.write("data/stg4/Stage1.stg4_001", "stage");
        dir_.write("ソフト/データ.dat", "sjis");
        dir_.write("ＡＢＣ/Ωmega.txt", "wide");
        dir_.write("top.txt", "top");
        fs::create_directory(dir_ / "Empty");
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
};

struct Found {
    const char* what;
    std::string gamePath;
    std::optional<std::string> real; // nothing: not found
};

void expectResolved(const std::optional<fs::path>& real, const Found& c)
{
    if (c.real) {
        EXPECT_EQ(real, fs::path(*c.real)) << c.what;
    } else {
        EXPECT_FALSE(real) << c.what << ": " << real.value_or("");
    }
}

TEST_F(PathResolver, MatchesEachComponentWhateverItsCase)
{
    const Found cases[] = {
        {"backslashes and lower case", "bgm\\title.ogg", "BGM/Title.OGG"},
        {"forward slashes and upper case", "BGM/TITLE.ogg", "BGM/Title.OGG"},
        {"exact", "data\\stg4\\Stage1.stg4_001", "data/stg4/Stage1.stg4_001"},
        {"doubled and trailing separators", "DATA\\\\STG4\\", "data/stg4"},
        {"dot components", ".\\data\\.\\stg4", "data/stg4"},
        {"trail byte 0x5C is no separator",
         "\x83\x5C\x83\x74\x83\x67\\\x83\x66\x81\x5B\x83\x5E.DAT", "ソフト/データ.dat"},
        {"full-width and Greek letters fold", "\x82\x81\x82\x82\x82\x83\\\x83\xD6MEGA.TXT",
         "ＡＢＣ/Ωmega.txt"},
        {"the game folder itself", ".", "."},
        {"missing file", "bgm\\title.mid", std::nullopt},
        {"missing folder", "se\\title.ogg", std::nullopt},
        {"a file used as a folder", "top.txt\\x", std::nullopt},
        {"a file written as a folder", "top.txt\\", std::nullopt},
        {"half-width is not full-width", "abc\\\x83\xD6mega.txt", std::nullopt},
        {"empty path", "", std::nullopt},
        {"invalid Shift-JIS", "bgm\\\x83", std::nullopt},
    };
    for (const auto& c : cases)
        expectResolved(plat::resolveExisting(c.gamePath), c);
}

TEST_F(PathResolver, ExactNameWinsOverOtherCases)
{
    dir_.write("bgm/title.ogg", "other");
    EXPECT_EQ(plat::resolveExisting("bgm\\title.ogg"), fs::path("bgm/title.ogg"));
    EXPECT_EQ(plat::resolveExisting("BGM\\Title.OGG"), fs::path("BGM/Title.OGG"));
}

TEST_F(PathResolver, PathEndsAtNul)
{
    EXPECT_EQ(plat::resolveExisting(std::string("top.txt\0garbage", 15)), fs::path("top.txt"));
}

TEST_F(PathResolver, DotDotNeverLeavesTheGameFolder)
{
    dir_.write("../outside.txt", "secret"); // beside the game folder
    const Found cases[] = {
        {"stays inside", "data\\..\\TOP.txt", "top.txt"},
        {"back to the game folder", "data\\stg4\\..\\..", "."},
        {"straight out", "..\\outside.txt", std::nullopt},
        {"out after going in", "data\\..\\..\\outside.txt", std::nullopt},
        {"out through a missing folder", "nothere\\..\\..\\outside.txt", std::nullopt},
        {"just up", "..", std::nullopt},
    };
    for (const auto& c : cases) {
        expectResolved(plat::resolveExisting(c.gamePath), c);
        expectResolved(plat::resolveForCreate(c.gamePath), c);
    }
}

TEST_F(PathResolver, CreationMatchesWhatExistsAndKeepsTheRestAsWritten)
{
    const Found cases[] = {
        {"new file in an existing folder", "DATA\\STG4\\New.stg4_000", "data/stg4/New.stg4_000"},
        {"new folders", "user_data\\Story\\Story01.dat", "user_data/Story/Story01.dat"},
        {"existing file", "bgm\\title.ogg", "BGM/Title.OGG"},
        {"dot-dot over a new folder", "new\\..\\empty\\x", "Empty/x"},
        {"dot-dot over two new folders", "a\\b\\..\\..\\bgm\\new", "BGM/new"},
        {"Japanese name", "\x83\x5C\x83\x74\x83\x67\\\x90\x56.dat", "ソフト/新.dat"},
        {"invalid Shift-JIS", "new\\\xFF", std::nullopt},
        {"drive letter", "C:\\data\\x", std::nullopt},
        {"empty path", "", std::nullopt},
    };
    for (const auto& c : cases)
        expectResolved(plat::resolveForCreate(c.gamePath), c);
}

TEST_F(PathResolver, AbsolutePathsAreTakenAsGivenButMatchedByCase)
{
    // The temporary folder's own path is plain ASCII here.
    const std::string root = dir_.path().string();
    EXPECT_EQ(plat::resolveExisting(root + "/bgm/TITLE.ogg"), dir_ / "BGM/Title.OGG");
    EXPECT_EQ(
        plat::resolveExisting(root + "\\..\\" + dir_.path().filename().string() + "\\top.txt"),
        dir_ / "top.txt");
    EXPECT_EQ(plat::resolveForCreate(root + "/Empty/New"), dir_ / "Empty/New");
    EXPECT_FALSE(plat::resolveExisting(root + "/nothing"));
}

TEST_F(PathResolver, FolderLookupAnswersFromOneListing)
{
    const plat::FolderLookup data("DATA\\Stg4\\");
    EXPECT_TRUE(data.contains("stage1.STG4_001"));
    EXPECT_FALSE(data.contains("stage1.stg4_002"));
    EXPECT_FALSE(data.contains("..\\stg4\\Stage1.stg4_001")); // names only

    const plat::FolderLookup game("");
    EXPECT_TRUE(game.contains("bgm"));
    EXPECT_TRUE(game.contains("\x83\x5C\x83\x74\x83\x67")); // ソフト
    EXPECT_FALSE(game.contains("\x83"));
    dir_.write("late.txt", "");
    EXPECT_FALSE(game.contains("late.txt")); // the listing was taken before

    // A name that is not UTF-8 (an overlong "A") stands for no letter.
    dir_.write("\xC1\x81.txt", "");
    EXPECT_FALSE(plat::FolderLookup("").contains("a.txt"));

    EXPECT_FALSE(plat::FolderLookup("missing").contains("x"));
    dir_.write("../beside.txt", "");
    EXPECT_FALSE(plat::FolderLookup("..").contains("beside.txt"));
}

TEST(IsAbsoluteGamePath, SeparatorOrDriveAtTheStart)
{
    struct Case {
        const char* path;
        bool absolute;
    };
    const Case cases[] = {
        {"/home/x", true},  {"\\data", true}, {"C:\\data", true}, {"z:/x", true},  {"C:", true},
        {"data\\x", false}, {"", false},      {"1:\\x", false},   {".\\x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::isAbsoluteGamePath(c.path), c.absolute) << c.path;
}

} // namespace
