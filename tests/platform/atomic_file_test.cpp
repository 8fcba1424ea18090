#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class AtomicFile : public testing::Test {
protected:
    AtomicFile() : cwd_(dir_.path()) { dir_.write("User_Data/Option.dat", "old contents"); }
    ~AtomicFile() override { plat::setAtomicWriteFailureHook(nullptr); }

    // Every name in the folder, to see that no temporary file stays behind.
    std::vector<std::string> namesIn(const std::string& folder) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_ / folder)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    static bool writeText(plat::AtomicFile& file, const std::string& text)
    {
        return file.write(text.data(), text.size());
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
};

TEST_F(AtomicFile, ReplacesTheFileOnlyAtCommit)
{
    plat::AtomicFile file;
    ASSERT_TRUE(file.open("user_data\\OPTION.DAT"));
    EXPECT_TRUE(writeText(file, "new "));
    EXPECT_TRUE(writeText(file, "contents"));
    EXPECT_EQ(dir_.read("User_Data/Option.dat"), "old contents");
    EXPECT_TRUE(file.commit());
    EXPECT_EQ(dir_.read("User_Data/Option.dat"), "new contents");
    EXPECT_EQ(namesIn("User_Data"), std::vector<std::string>{"Option.dat"});
}

TEST_F(AtomicFile, CreatesANewFile)
{
    plat::AtomicFile file;
    ASSERT_TRUE(file.open("user_data\\Story01.dat"));
    EXPECT_TRUE(file.commit()); // an empty file is a file too
    EXPECT_TRUE(fs::exists(dir_ / "User_Data/Story01.dat"));
    EXPECT_EQ(dir_.read("User_Data/Story01.dat"), "");
}

TEST_F(AtomicFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary)
{
    std::vector<fs::path> asked;
    plat::setAtomicWriteFailureHook([&](const fs::path& target) {
        asked.push_back(target);
        return asked.size() < 2; // the disk fills up on the second write
    });
    plat::AtomicFile file;
    ASSERT_TRUE(file.open("user_data\\option.dat"));
    EXPECT_TRUE(writeText(file, "part one"));
    EXPECT_FALSE(writeText(file, "part two"));
    EXPECT_TRUE(file.failed());
    EXPECT_FALSE(writeText(file, "part three")); // stays failed
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(dir_.read("User_Data/Option.dat"), "old contents");
    EXPECT_EQ(namesIn("User_Data"), std::vector<std::string>{"Option.dat"});
    EXPECT_EQ(asked, (std::vector<fs::path>{"User_Data/Option.dat", "User_Data/Option.dat"}));
}

TEST_F(AtomicFile, WriterDroppedWithoutCommitChangesNothing)
{
    {
        plat::AtomicFile file;
        ASSERT_TRUE(file.open("user_data\\option.dat"));
        EXPECT_TRUE(writeText(file, "half"));
    }
    EXPECT_EQ(dir_.read("User_Data/Option.dat"), "old contents");
    EXPECT_EQ(namesIn("User_Data"), std::vector<std::string>{"Option.dat"});
}

TEST_F(AtomicFile, RefusesWhatCannotBeWritten)
{
    struct Case {
        const char* what;
        const char* path;
    };
    const Case cases[] = {
        {"missing folder", "user_data\\story\\Story01.dat"},
        {"a folder as the target", "user_data"},
        {"outside the game folder", "..\\Option.dat"},
        {"invalid Shift-JIS", "user_data\\\x81"},
    };
    for (const auto& c : cases) {
        plat::AtomicFile file;
        EXPECT_FALSE(file.open(c.path)) << c.what;
        EXPECT_TRUE(file.failed()) << c.what;
        EXPECT_FALSE(writeText(file, "x")) << c.what;
        EXPECT_FALSE(file.commit()) << c.what;
    }
    EXPECT_EQ(namesIn("User_Data"), std::vector<std::string>{"Option.dat"});
}

TEST_F(AtomicFile, ReplacedFileKeepsItsPermissions)
{
    fs::permissions(dir_ / "User_Data/Option.dat", fs::perms::owner_read | fs::perms::owner_write);
    plat::AtomicFile file;
    ASSERT_TRUE(file.open("user_data\\option.dat"));
    EXPECT_TRUE(writeText(file, "x"));
    EXPECT_TRUE(file.commit());
    EXPECT_EQ(fs::status(dir_ / "User_Data/Option.dat").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(AtomicFile, WritingEndsWithTheCommit)
{
    plat::AtomicFile file;
    ASSERT_TRUE(file.open("user_data\\option.dat"));
    EXPECT_TRUE(file.commit());
    EXPECT_FALSE(writeText(file, "late"));
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(dir_.read("User_Data/Option.dat"), "");
}

// Every file under a folder, relative to it.
std::vector<std::string> filesUnder(const fs::path& root)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_directory()) names.push_back(entry.path().lexically_relative(root).string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(TemporaryNames, OnlyTheWritersOwnNamesAreRecognised)
{
    const fs::path made = plat::temporarySibling("user_data/Option.dat", "tmp");
    EXPECT_EQ(plat::temporarySiblingTarget(made.filename().string(), "tmp"), "Option.dat");
    struct Case {
        const char* name;
        const char* target; // null: not a temporary name
    };
    const Case cases[] = {
        {".Option.dat.tmp-4711-0", "Option.dat"},
        {".Story01.dat.tmp-1-23", "Story01.dat"},
        {".a-b.tmp-1.tmp-2-3", "a-b.tmp-1"},
        {"Option.dat.tmp-4711-0", nullptr},
        {".Option.dat.tmp-4711-0.bak", nullptr},
        {".Option.dat.tmp-4711-", nullptr},
        {".Option.dat.tmp--0", nullptr},
        {".Option.dat.tmp-47x1-0", nullptr},
        {".Option.dat.tmp4711-0", nullptr},
        {".Option.dat-tmp-4711-0", nullptr},
        {"..tmp-1-2", nullptr},
        {".Option.dat.copy-4711-0", nullptr},
        {".tmp-1-2", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const auto target = plat::temporarySiblingTarget(c.name, "tmp");
        if (c.target) {
            EXPECT_EQ(target, c.target) << c.name;
        } else {
            EXPECT_FALSE(target) << c.name;
        }
    }
}

// Writers killed before their commit leave their temporary files; the next
// start removes them, and nothing that is not one of them.
TEST_F(AtomicFile, LeftoverTemporaryFilesAreRemovedAndNothingElse)
{
    const std::vector<std::string> leftovers = {
        "User_Data/.Option.dat.tmp-4711-0",
        "User_Data/story/.Story01.dat.tmp-123-45",
        "User_Data/rpl4/.Replay.rpl4_511.tmp-9-0",
    };
    const std::vector<std::string> kept = {
        "User_Data/Option.dat",
        "User_Data/Option.dat.tmp-4711-0",
        "User_Data/.Option.dat.tmp-4711-0.bak",
        "User_Data/.Option.dat.copy-4711-0",
        "User_Data/story/..tmp-1-2",
        "User_Data/story/.Story01.dat.tmp-1-",
        "outside/.Option.dat.tmp-1-2",
    };
    for (const auto& name : leftovers) {
        dir_.write(name, "half written");
    }
    for (const auto& name : kept) {
        dir_.write(name, "kept");
    }
    // A folder, and a link to a file elsewhere, under such names stay too.
    fs::create_directories(dir_ / "User_Data/.Folder.tmp-1-2");
    fs::create_symlink(dir_ / "outside/.Option.dat.tmp-1-2", dir_ / "User_Data/.Link.tmp-1-2");

    EXPECT_EQ(plat::removeLeftoverTemporaryFiles("user_data"), leftovers.size());
    std::vector<std::string> expected;
    for (const auto& name : kept) {
        if (name.rfind("User_Data/", 0) == 0) expected.push_back(name.substr(10));
    }
    expected.push_back(".Link.tmp-1-2");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(filesUnder(dir_ / "User_Data"), expected);
    EXPECT_TRUE(fs::is_directory(dir_ / "User_Data/.Folder.tmp-1-2"));
    EXPECT_EQ(dir_.read("outside/.Option.dat.tmp-1-2"), "kept");
    EXPECT_EQ(plat::removeLeftoverTemporaryFiles("nothing"), 0u);
}

} // namespace
