// Putting a newly generated game into a game folder that a run has used:
// the generated entries are replaced, what the player made stays, and the
// author's data folder follows the new default data only while it is still
// an untouched copy of the old one.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "tools/default_game/game_folder.h"

namespace {

namespace fs = std::filesystem;

class GameFolder : public testing::Test {
protected:
    // A generated game in staging whose default data says `version`.
    void stage(const std::string& version)
    {
        fs::remove_all(staging());
        for (const std::string& entry : defgame::generatedEntries()) {
            if (entry == "System.ini")
                dir.write("staging/System.ini", "Exit\n");
            else
                dir.write("staging/" + entry + "/file.bin", entry + " " + version);
        }
    }
    fs::path staging() const { return dir / "staging"; }
    fs::path game() const { return dir / "game"; }

    test::TempDir dir;
};

TEST_F(GameFolder, AFirstInstallMakesTheGameWithoutDataAndRemovesTheStaging)
{
    stage("1");
    defgame::installGame(staging(), game());
    for (const std::string& entry : defgame::generatedEntries())
        EXPECT_TRUE(fs::exists(game() / entry)) << entry;
    EXPECT_EQ(dir.read("game/default/file.bin"), "default 1");
    EXPECT_FALSE(fs::exists(game() / "data")) << "the first start makes it";
    EXPECT_FALSE(fs::exists(staging()));
}

TEST_F(GameFolder, AnUntouchedDataFolderFollowsTheNewDefaultData)
{
    stage("1");
    defgame::installGame(staging(), game());
    fs::copy(game() / "default", game() / "data", fs::copy_options::recursive);
    dir.write("game/user_data/Option.dat", "the player's");
    dir.write("game/bmp/old.bmp", "left by an older generator");
    stage("2");
    defgame::installGame(staging(), game());
    EXPECT_EQ(dir.read("game/default/file.bin"), "default 2");
    EXPECT_EQ(dir.read("game/data/file.bin"), "default 2");
    EXPECT_EQ(dir.read("game/user_data/Option.dat"), "the player's");
    EXPECT_FALSE(fs::exists(game() / "bmp/old.bmp")) << "generated entries are replaced whole";
}

TEST_F(GameFolder, DataTheAuthorChangedIsKept)
{
    struct Case {
        const char* name;
        void (*change)(const test::TempDir& dir);
    };
    const Case cases[] = {
        {"a file changed", [](const test::TempDir& d) { d.write("game/data/file.bin", "mine"); }},
        {"a file added",
         [](const test::TempDir& d) { d.write("game/data/stage.stg4_001", "new"); }},
        {"a file removed", [](const test::TempDir& d) { fs::remove(d / "game/data/file.bin"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(game());
        stage("1");
        defgame::installGame(staging(), game());
        fs::copy(game() / "default", game() / "data", fs::copy_options::recursive);
        c.change(dir);
        const bool had = fs::exists(game() / "data/file.bin");
        const std::string before = had ? dir.read("game/data/file.bin") : "";
        stage("2");
        defgame::installGame(staging(), game());
        EXPECT_EQ(fs::exists(game() / "data/file.bin"), had);
        if (had) {
            EXPECT_EQ(dir.read("game/data/file.bin"), before);
        }
        EXPECT_EQ(dir.read("game/default/file.bin"), "default 2");
    }
}

TEST_F(GameFolder, AStagingFolderThatLacksAnEntryIsRefusedBeforeAnythingIsReplaced)
{
    stage("1");
    defgame::installGame(staging(), game());
    stage("2");
    fs::remove_all(staging() / "wave");
    EXPECT_THROW(defgame::installGame(staging(), game()), std::exception);
    EXPECT_EQ(dir.read("game/default/file.bin"), "default 1");
}

} // namespace
