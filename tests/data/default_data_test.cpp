// Making data\ from default\: when the question is asked, what each answer
// does, and a copy that fails part-way.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/default_data.h"
#include "platform/folders.h"
#include "platform/message_box.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class DefaultData : public testing::Test {
protected:
    DefaultData() : cwd_(dir_.path())
    {
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            questions_.push_back(r);
            return answer_;
        });
    }
    ~DefaultData() override
    {
        plat::setMessageBoxResponder(nullptr);
        plat::setFolderCopyFailureHook(nullptr);
    }

    void writeDefaultGame()
    {
        dir_.write("default/System.dat", "system");
        dir_.write("default/database/Sound.dat", "sound");
        dir_.write("default/stg4/c01-1.stg4_001", "stage");
    }

    // Every entry of the game folder, hidden ones too, but default\ itself.
    std::vector<std::string> entriesOutsideDefault() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_.path())) {
            const std::string name = entry.path().filename().string();
            if (name != "default") names.push_back(name);
        }
        return names;
    }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
    std::vector<plat::BoxRequest> questions_;
    int answer_ = IDYES;
};

TEST_F(DefaultData, ExistingDataIsKeptWithoutAQuestion)
{
    for (const bool withDefault : {false, true}) {
        dir_.write("Data/System.dat", "mine");
        if (withDefault) writeDefaultGame();
        EXPECT_EQ(CreateDefaultData(0), 1);
        EXPECT_TRUE(questions_.empty());
        EXPECT_EQ(dir_.read("Data/System.dat"), "mine");
    }
}

TEST_F(DefaultData, NoDefaultFolderFailsWithoutAQuestion)
{
    EXPECT_EQ(CreateDefaultData(0), 0);
    EXPECT_TRUE(questions_.empty());
    EXPECT_FALSE(fs::exists(dir_ / "data"));
}

TEST_F(DefaultData, ThePlayerIsAskedAndARefusalMakesNothing)
{
    writeDefaultGame();
    answer_ = IDNO;
    EXPECT_EQ(CreateDefaultData(0), 0);
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0].text, Sjis("データが存在しません！デフォルトデータを作成しますか？\n"));
    EXPECT_EQ(questions_[0].caption, Sjis("デフォルトデータ作成の確認"));
    EXPECT_EQ(questions_[0].type, MB_YESNO);
    EXPECT_TRUE(entriesOutsideDefault().empty());
}

TEST_F(DefaultData, AgreementCopiesTheWholeFolder)
{
    writeDefaultGame();
    EXPECT_EQ(CreateDefaultData(0), 1);
    EXPECT_EQ(questions_.size(), 1u);
    EXPECT_EQ(dir_.read("data/System.dat"), "system");
    EXPECT_EQ(dir_.read("data/database/Sound.dat"), "sound");
    EXPECT_EQ(dir_.read("data/stg4/c01-1.stg4_001"), "stage");
    EXPECT_EQ(entriesOutsideDefault(), std::vector<std::string>{"data"});
    // default\ stays as it was.
    EXPECT_EQ(dir_.read("default/System.dat"), "system");
}

TEST_F(DefaultData, ACopyThatFailsPartWayLeavesNoDataAndIsAskedAgain)
{
    writeDefaultGame();
    int copied = 0;
    plat::setFolderCopyFailureHook([&](const fs::path&) { return copied++ < 1; });
    EXPECT_EQ(CreateDefaultData(0), 0);
    EXPECT_TRUE(entriesOutsideDefault().empty());

    plat::setFolderCopyFailureHook(nullptr);
    EXPECT_EQ(CreateDefaultData(0), 1);
    EXPECT_EQ(questions_.size(), 2u);
    EXPECT_EQ(dir_.read("data/stg4/c01-1.stg4_001"), "stage");
}

TEST_F(DefaultData, AFileNamedDataIsNoDataFolderAndIsNotReplaced)
{
    writeDefaultGame();
    dir_.write("data", "not a folder");
    EXPECT_EQ(CreateDefaultData(0), 0);
    EXPECT_EQ(dir_.read("data"), "not a folder");
}

} // namespace
