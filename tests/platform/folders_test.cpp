#include "platform/folders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/atomic_file.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Every entry under a folder, as relative paths with a '/' after folders,
// mapped to the contents of the files.
std::set<std::pair<std::string, std::string>> treeOf(const fs::path& root)
{
    std::set<std::pair<std::string, std::string>> tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).string();
        if (entry.is_directory()) {
            tree.emplace(relative + "/", "");
        } else {
            std::ifstream in(entry.path(), std::ios::binary);
            tree.emplace(relative, std::string(std::istreambuf_iterator<char>(in), {}));
        }
    }
    return tree;
}

std::set<std::string> namesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

class Folders : public testing::Test {
protected:
    Folders() : cwd_(dir_.path())
    {
        dir_.write("Default/System.dat", "system");
        dir_.write("Default/Database/Anime.dat", "anime");
        dir_.write("Default/bmp/ソフト.bmp", "picture");
        fs::create_directories(dir_ / "Default/stg4/empty");
    }
    ~Folders() override
    {
        plat::setFolderCopyFailureHook(nullptr);
        plat::setSyncHook(nullptr);
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
};

TEST_F(Folders, ExistenceIgnoresCase)
{
    struct Case {
        const char* path;
        bool exists;
        bool folder;
    };
    const Case cases[] = {
        {"default", true, true},
        {"DEFAULT\\system.DAT", true, false},
        {"default\\database\\", true, true},
        {"default\\bmp\\\x83\x5C\x83\x74\x83\x67.BMP", true, false},
        {"data", false, false},
        {"..", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plat::pathExists(c.path), c.exists) << c.path;
        EXPECT_EQ(plat::isFolder(c.path), c.folder) << c.path;
    }
}

TEST_F(Folders, CreatesFoldersWithTheirParents)
{
    EXPECT_TRUE(plat::createFolder("user_data\\story\\"));
    EXPECT_TRUE(fs::is_directory(dir_ / "user_data/story"));
    EXPECT_TRUE(plat::createFolder("USER_DATA\\rpl4"));
    EXPECT_TRUE(fs::is_directory(dir_ / "user_data/rpl4"));
    EXPECT_TRUE(plat::createFolder("user_data")); // already there

    EXPECT_FALSE(plat::createFolder("default\\system.dat")); // a file is in the way
    EXPECT_FALSE(plat::createFolder("..\\outside"));
    EXPECT_FALSE(fs::exists(dir_.path().parent_path() / "outside"));
}

TEST_F(Folders, CopiesAWholeTree)
{
    ASSERT_TRUE(plat::copyFolderTree("default\\", "data\\"));
    EXPECT_EQ(treeOf(dir_ / "data"), treeOf(dir_ / "Default"));
    EXPECT_EQ(dir_.read("data/Database/Anime.dat"), "anime");
    EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"Default", "data"}));
}

TEST_F(Folders, FailedCopyLeavesNothingBehind)
{
    int copied = 0;
    plat::setFolderCopyFailureHook([&](const fs::path&) { return ++copied < 2; });
    EXPECT_FALSE(plat::copyFolderTree("default", "data"));
    EXPECT_EQ(copied, 2);
    EXPECT_EQ(namesIn(dir_.path()), std::set<std::string>{"Default"});
}

// Every file and folder of the copy is on disk before the copy takes the
// destination's name, and the name is on disk after.
TEST_F(Folders, TheCopyIsSyncedToDiskBeforeItIsRenamedIntoPlace)
{
    std::vector<fs::path> synced;
    plat::setSyncHook([&](const fs::path& path) {
        synced.push_back(path);
        return true;
    });
    ASSERT_TRUE(plat::copyFolderTree("default", "data"));
    plat::setSyncHook(nullptr);
    ASSERT_FALSE(synced.empty());
    EXPECT_EQ(fs::absolute(synced.back()).lexically_normal(), fs::absolute(".").lexically_normal())
        << "the game folder, after the rename";
    std::set<std::string> before;
    for (std::size_t i = 0; i + 1 < synced.size(); ++i) {
        // Everything else lies in the temporary folder, not yet named data.
        const fs::path relative = fs::absolute(synced[i]).lexically_relative(dir_.path());
        const std::string top = relative.begin()->string();
        EXPECT_EQ(top.rfind(".data.copy-", 0), 0u) << synced[i];
        const fs::path inside = relative.lexically_relative(top);
        before.insert(fs::is_directory(dir_ / "data" / inside) ? inside.string() + "/"
                                                               : inside.string());
    }
    std::set<std::string> expected{"./"};
    for (const auto& [name, contents] : treeOf(dir_ / "data")) {
        expected.insert(name);
    }
    EXPECT_EQ(before, expected);
}

TEST_F(Folders, AFileThatCannotBeSyncedFailsTheCopy)
{
    plat::setSyncHook([](const fs::path& path) { return path.filename() != "Anime.dat"; });
    EXPECT_FALSE(plat::copyFolderTree("default", "data"));
    EXPECT_EQ(namesIn(dir_.path()), std::set<std::string>{"Default"});
}

// Copies interrupted in an earlier run leave their hidden folders; the next
// start removes those of the destination, and nothing else.
TEST_F(Folders, LeftoverCopiesOfADestinationAreRemovedAndNothingElse)
{
    dir_.write(".data.copy-4711-0/System.dat", "half copied");
    dir_.write(".data.copy-12-3/stg4/a.stg4_000", "half copied");
    dir_.write("data/Mine.dat", "the data");
    dir_.write(".data.copy-1-2", "a file, not a copy's folder");
    dir_.write(".data.copy-x-2/kept.dat", "no copy's name");
    dir_.write(".data2.copy-1-2/kept.dat", "another destination's");
    dir_.write(".data.tmp-1-2/kept.dat", "another kind");
    fs::create_directory_symlink(dir_ / "Default", dir_ / ".data.copy-7-7");

    EXPECT_EQ(plat::removeLeftoverCopies("data\\"), 2u);
    EXPECT_EQ(namesIn(dir_.path()),
              (std::set<std::string>{"Default", "data", ".data.copy-1-2", ".data.copy-x-2",
                                     ".data2.copy-1-2", ".data.tmp-1-2", ".data.copy-7-7"}));
    EXPECT_EQ(dir_.read("data/Mine.dat"), "the data");
    EXPECT_EQ(dir_.read("Default/System.dat"), "system");
}

TEST_F(Folders, CopyRefusesWhatItCannotDoCleanly)
{
    dir_.write("data/Mine.dat", "player's own");
    struct Case {
        const char* what;
        const char* source;
        const char* destination;
    };
    const Case cases[] = {
        {"destination exists", "default", "data"},
        {"source missing", "nothing", "copy"},
        {"source is a file", "default\\system.dat", "copy"},
        {"into itself", "default", "default\\inner"},
        {"destination folder missing", "default", "missing\\copy"},
        {"outside the game folder", "default", "..\\copy"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(plat::copyFolderTree(c.source, c.destination)) << c.what;
    }
    EXPECT_EQ(treeOf(dir_ / "data"),
              (std::set<std::pair<std::string, std::string>>{{"Mine.dat", "player's own"}}));
    EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"Default", "data"}));
    EXPECT_FALSE(fs::exists(dir_ / "Default/inner"));
}

TEST_F(Folders, RemovesATreeButNeverTheGameFolder)
{
    EXPECT_TRUE(plat::removeTree("DEFAULT\\database"));
    EXPECT_FALSE(fs::exists(dir_ / "Default/Database"));
    EXPECT_TRUE(plat::removeTree("default\\database")); // nothing left to remove
    EXPECT_TRUE(plat::removeTree("default\\system.dat"));
    EXPECT_FALSE(fs::exists(dir_ / "Default/System.dat"));

    EXPECT_FALSE(plat::removeTree("."));
    EXPECT_FALSE(plat::removeTree("default\\.."));
    EXPECT_FALSE(plat::removeTree(".."));
    EXPECT_FALSE(plat::removeTree(dir_.path().parent_path().string()));
    EXPECT_TRUE(fs::exists(dir_ / "Default/bmp"));
}

TEST(CurrentDirectory, GivesTheShiftJisFormWhenThereIsOne)
{
    test::TempDir dir;
    fs::create_directory(dir / "ゲーム");
    fs::create_directory(dir / "caf\u00E9");
    {
        test::ScopedCurrentDir cwd(dir / "ゲーム");
        EXPECT_EQ(plat::currentFolder(), fs::canonical(dir / "ゲーム"));
        EXPECT_EQ(plat::currentDirectorySjis(),
                  fs::canonical(dir.path()).string() + "/\x83\x51\x81\x5B\x83\x80");
    }
    test::ScopedCurrentDir cwd(dir / "caf\u00E9");
    EXPECT_TRUE(plat::currentFolder());
    EXPECT_FALSE(plat::currentDirectorySjis());
}

} // namespace
