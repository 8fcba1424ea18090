// The program's first steps: the run report is made and describes the
// machine, or, when it cannot be made, the program ends at once.
#include "platform/instance_lock.h"
#include "platform/message_box.h"
#include "shell/entry.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

class Entry : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The instance lock of this test alone, whatever runs beside it.
        ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r.textUtf8());
            return IDOK;
        });
    }
    void TearDown() override { plat::setMessageBoxResponder(nullptr); }

    std::vector<std::string> lines(const std::string& text)
    {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }

    test::TempDir dir;
    std::vector<std::string> boxes;
};

TEST_F(Entry, TheRunReportBeginsWithTheVersionAndTheMachineInOrder)
{
    test::ScopedCurrentDir cwd(dir.path());
    dir.write("Report_Game.txt", "left from the last run\n");
    EXPECT_EQ(GameMain(0, nullptr), 0);
    const auto report = lines(dir.read("Report_Game.txt"));
    const std::vector<std::string> starts{
        "App : ver 511", "OS : ",        "CPU : ",      "Mem Total : ",
        "Mem Free : ",   "Vir Total : ", "Vir Free : ", "HD Free : "};
    ASSERT_EQ(report.size(), starts.size());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        EXPECT_EQ(report[i].rfind(starts[i], 0), 0u) << report[i];
    }
    EXPECT_EQ(report[0], "App : ver 511");
    EXPECT_TRUE(boxes.empty());
    // The error log is named but off: it makes no file.
    EXPECT_FALSE(std::filesystem::exists(dir / "EC_Game.txt"));
}

TEST_F(Entry, WithoutARunReportTheProgramEndsAtOnceWithoutAMessage)
{
    test::ScopedCurrentDir cwd(dir.path());
    std::filesystem::create_directory(dir / "Report_Game.txt"); // nothing can be made there
    EXPECT_EQ(GameMain(0, nullptr), 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Report_Game.txt"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "Report_Game.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "EC_Game.txt"));
}

TEST_F(Entry, ASecondCopyIsRefusedWithAMessageAfterItsReport)
{
    test::ScopedCurrentDir cwd(dir.path());
    plat::InstanceLock first;
    ASSERT_EQ(first.acquire("ゲーム"), plat::InstanceLockResult::Acquired);
    EXPECT_EQ(GameMain(0, nullptr), 0);
    EXPECT_EQ(boxes, std::vector<std::string>{"既に起動しています"});
    EXPECT_EQ(lines(dir.read("Report_Game.txt")).size(), 8u);

    // Once the first copy has gone, the next one starts.
    first.release();
    boxes.clear();
    EXPECT_EQ(GameMain(0, nullptr), 0);
    EXPECT_TRUE(boxes.empty());
}

} // namespace
