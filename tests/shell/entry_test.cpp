// The program's first steps: one copy runs at a time (a refused copy leaves
// the running copy's report alone); the run report is made and describes
// the machine, or, when it cannot be made, the program ends at once; then
// the start-up reads the game folder (the bundled default game), making
// data\ from default\ on the first start if the player wants it, and ends
// with the message of the first step that cannot read what it needs.
#include "core/sjis_text.h"
#include "data/ed_option.h"
#include "data/ed_system.h"
#include "data/ed_world_map.h"
#include "data/stage_fixtures.h"
#include "platform/game_window.h"
#include "platform/instance_lock.h"
#include "platform/message_box.h"
#include "shell/entry.h"
#include "shell/running_game.h"
#include "support/generated_game.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The lines a report begins with: the version and the machine.
const std::vector<std::string> kMachineLines = {
    "App : ver 511", "OS : ",        "CPU : ",      "Mem Total : ",
    "Mem Free : ",   "Vir Total : ", "Vir Free : ", "HD Free : "};

const char* const kQuestion = "データが存在しません！デフォルトデータを作成しますか？\n";

class Entry : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r.textUtf8());
            return answer;
        });
        test::copyGeneratedGame(dir.path());
    }
    void TearDown() override
    {
        plat::setMessageBoxResponder(nullptr);
        test::ResetStageGlobals();
        g_System = cEdSystem();
        g_WorldMap = cEdWorldMap();
        g_Option = cEdOption();
    }

    std::vector<std::string> lines(const std::string& text)
    {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }

    // The report's lines after the version and the machine lines.
    std::vector<std::string> reportAfterMachine()
    {
        auto all = lines(dir.read("Report_Game.txt"));
        if (all.size() < kMachineLines.size()) return {"(the report is short)"};
        return {all.begin() + static_cast<long>(kMachineLines.size()), all.end()};
    }

    // data\ as the first start makes it.
    void makeData() { fs::copy(dir / "default", dir / "data", fs::copy_options::recursive); }

    test::TempDir dir;
    // The instance lock of this test alone, whatever runs beside it.
    test::ScopedEnv runtimeDir{"XDG_RUNTIME_DIR", dir.path().string()};
    std::vector<std::string> boxes;
    int answer = IDYES;
};

TEST_F(Entry, TheRunReportBeginsWithTheVersionAndTheMachineInOrder)
{
    test::ScopedCurrentDir cwd(dir.path());
    dir.write("Report_Game.txt", "left from the last run\n");
    const auto run = test::RunGame({});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.ran);
    const auto report = lines(dir.read("Report_Game.txt"));
    ASSERT_GE(report.size(), kMachineLines.size());
    for (std::size_t i = 0; i < kMachineLines.size(); ++i) {
        EXPECT_EQ(report[i].rfind(kMachineLines[i], 0), 0u) << report[i];
    }
    EXPECT_EQ(report[0], "App : ver 511");
    EXPECT_EQ(boxes, std::vector<std::string>{kQuestion}) << "only the first start's question";
    // The error log is named but off: it makes no file.
    EXPECT_FALSE(std::filesystem::exists(dir / "EC_Game.txt"));
}

TEST_F(Entry, WithoutARunReportTheProgramEndsAtOnceSayingWhy)
{
    test::ScopedCurrentDir cwd(dir.path());
    std::filesystem::create_directory(dir / "Report_Game.txt"); // nothing can be made there
    EXPECT_NE(test::RunMain(0, nullptr), 0) << "a start that failed says so";
    EXPECT_EQ(boxes, std::vector<std::string>{"Report_Game.txt を作成できません！\nゲームのフォルダ"
                                              "に書き込めるか確かめて下さい。"});
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Report_Game.txt"));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "Report_Game.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "EC_Game.txt"));
    EXPECT_FALSE(std::filesystem::exists(dir / "data")) << "nothing else was done";
}

TEST_F(Entry, ASecondCopyIsRefusedWithAMessageAndLeavesTheRunningCopysReportAlone)
{
    test::ScopedCurrentDir cwd(dir.path());
    plat::InstanceLock first;
    ASSERT_EQ(first.acquire("ゲーム"), plat::InstanceLockResult::Acquired);
    dir.write("Report_Game.txt", "the running copy's report\n");
    EXPECT_NE(test::RunMain(0, nullptr), 0);
    EXPECT_EQ(boxes, std::vector<std::string>{"既に起動しています"});
    EXPECT_EQ(dir.read("Report_Game.txt"), "the running copy's report\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "data")) << "the refused copy read nothing";

    // Once the first copy has gone, the next one starts.
    first.release();
    boxes.clear();
    EXPECT_EQ(test::RunGame({}).status, 0);
    EXPECT_EQ(boxes, std::vector<std::string>{kQuestion});
}

TEST_F(Entry, TheFirstStartMakesDataFromDefaultAndReadsTheGame)
{
    test::ScopedCurrentDir cwd(dir.path());
    EXPECT_EQ(test::RunGame({}).status, 0);
    EXPECT_EQ(boxes, std::vector<std::string>{kQuestion});

    // data\ is a copy of default\, file for file (the start-up then adds
    // empty folders of its own).
    ASSERT_TRUE(fs::is_directory(dir / "data"));
    std::vector<std::string> made, shipped;
    for (const auto& e : fs::recursive_directory_iterator(dir / "data"))
        if (e.is_regular_file()) made.push_back(fs::relative(e.path(), dir / "data").string());
    for (const auto& e : fs::recursive_directory_iterator(dir / "default"))
        if (e.is_regular_file())
            shipped.push_back(fs::relative(e.path(), dir / "default").string());
    std::sort(made.begin(), made.end());
    std::sort(shipped.begin(), shipped.end());
    EXPECT_EQ(made, shipped);
    for (const std::string& file : shipped)
        EXPECT_EQ(dir.read("data/" + file), dir.read("default/" + file)) << file;

    // The folders the game writes into are there; the game is read.
    for (const char* folder : {"user_data/story", "user_data/rpl4", "data/plt4", "bmp/hbt", "wave"})
        EXPECT_TRUE(fs::is_directory(dir / folder)) << folder;
    EXPECT_EQ(g_System.strTitle, Sjis("クエンホルト・アドベンチャー"));
    EXPECT_GE(g_WorldMap.m_Events.size(), 3u);
    EXPECT_GT(g_CommonPalette.PaletteCharas.size(), 2u);
    EXPECT_GT(g_Database.Bgm.size(), 1u);

    // A later start finds data\ and asks nothing.
    boxes.clear();
    EXPECT_EQ(test::RunGame({}).status, 0);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Entry, OptionsThePlayerHasNotSavedOrThatAreDamagedLeaveTheDefaults)
{
    test::ScopedCurrentDir cwd(dir.path());
    makeData();
    dir.write("user_data/Option.dat", "damaged");
    g_Option.nSeVolume = 2;
    EXPECT_EQ(test::RunGame({}).status, 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(g_Option.nSeVolume, 2) << "kept as it was";
}

// A start-up that cannot read what it needs ends with the message of the
// first step that failed: in the run report and in a box.
struct FailedStart {
    const char* name;
    void (*prepare)(const test::TempDir& dir, int& answer);
    std::vector<std::string> boxes; // every box shown, in order
    const char* reportLine;         // the first report line after the machine
};

void removeDefault(const test::TempDir& dir, int&)
{
    fs::remove_all(dir / "default");
}
void makeDataWithout(const test::TempDir& dir, const char* file)
{
    fs::copy(dir / "default", dir / "data", fs::copy_options::recursive);
    fs::remove(dir / "data" / file);
}

const std::string kNoData =
    "「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性があります。";

const std::vector<FailedStart> kFailedStarts = {
    {"NoDefaultFolder", removeDefault, {kNoData}, "「data」フォルダの作成に失敗…"},
    {"NoSoundTable",
     [](const test::TempDir& dir, int&) { makeDataWithout(dir, "database/Sound.dat"); },
     {"data\\database\\Sound.dat のロードに失敗！", "データベースの読み込みに失敗…"},
     "データベースの読み込みに失敗…"},
    {"NoSystemData",
     [](const test::TempDir& dir, int&) { makeDataWithout(dir, "System.dat"); },
     {"data\\System.dat の読み込みに失敗…"},
     "data\\System.dat の読み込みに失敗…"},
    {"NoWorldMap",
     [](const test::TempDir& dir, int&) { makeDataWithout(dir, "WorldMap.dat"); },
     {"data\\WorldMap.dat のロードに失敗！"},
     "data\\WorldMap.dat のロードに失敗！"},
    {"NoCommonPalette",
     [](const test::TempDir& dir, int&) { makeDataWithout(dir, "CommonPalette.cplt4"); },
     {"data\\CommonPalette.cplt4 のロードに失敗！"},
     "data\\CommonPalette.cplt4 のロードに失敗！"},
    // The pictures are not part of data\: without bmp\ the graphics set-up
    // cannot read the game's palette.
    {"NoPictureFolder",
     [](const test::TempDir& dir, int&) {
         fs::copy(dir / "default", dir / "data", fs::copy_options::recursive);
         fs::remove_all(dir / "bmp");
     },
     {"bmp\\plt\\Palette.bmp の読み込みに失敗！"},
     "start-up failed: DDLoadPaletteFromFile"},
    {"UnreadablePalette",
     [](const test::TempDir& dir, int&) {
         fs::copy(dir / "default", dir / "data", fs::copy_options::recursive);
         dir.write("bmp/plt/Palette.bmp", "BM damaged");
     },
     {"bmp\\plt\\Palette.bmp の読み込みに失敗！"},
     "start-up failed: DDLoadPaletteFromFile"},
};

TEST_F(Entry, AStartUpThatCannotReadTheGameEndsWithTheMessageOfItsFirstFailure)
{
    for (const FailedStart& c : kFailedStarts) {
        SCOPED_TRACE(c.name);
        test::TempDir game;
        test::ScopedEnv gameRuntimeDir("XDG_RUNTIME_DIR", game.path().string());
        test::copyGeneratedGame(game.path());
        c.prepare(game, answer);
        boxes.clear();
        {
            test::ScopedCurrentDir cwd(game.path());
            EXPECT_EQ(test::RunMain(0, nullptr), 1);
        }
        EXPECT_EQ(boxes, c.boxes);
        auto report = lines(game.read("Report_Game.txt"));
        EXPECT_NE(std::find(report.begin(), report.end(), c.reportLine), report.end());
        EXPECT_NE(std::find(report.begin(), report.end(), "start-up ended: see above"),
                  report.end());
        if (c.prepare == removeDefault) {
            EXPECT_FALSE(fs::exists(game / "data")) << "nothing half made";
        }
        answer = IDYES;
    }
}

// The question whether to make data\ is the player's to answer: No, or
// closing the program while it is up (the close box, a close signal), ends
// the program at once and quietly, with nothing made.
struct QuestionEnd {
    const char* name;
    std::function<int()> answer; // what the box does, as the player ends it
    const char* reportLine;
};

const std::vector<QuestionEnd> kQuestionEnds = {
    {"No", [] { return IDNO; }, "start-up ended: the player chose not to make the data folder"},
    // A box that the program's close ends answers nothing.
    {"TheWindowClosed",
     [] {
         plat::requestWindowClose();
         return 0;
     },
     "start-up ended: the window was closed"},
    {"SIGTERM",
     [] {
         std::raise(SIGTERM);
         return 0;
     },
     "start-up ended: the window was closed"},
    {"SIGINT",
     [] {
         std::raise(SIGINT);
         return 0;
     },
     "start-up ended: the window was closed"},
};

TEST_F(Entry, DecliningOrClosingTheDataQuestionEndsTheProgramQuietly)
{
    for (const QuestionEnd& c : kQuestionEnds) {
        SCOPED_TRACE(c.name);
        test::TempDir game;
        test::ScopedEnv gameRuntimeDir("XDG_RUNTIME_DIR", game.path().string());
        test::copyGeneratedGame(game.path());
        boxes.clear();
        plat::setMessageBoxResponder([&](const plat::BoxRequest& r) {
            boxes.push_back(r.textUtf8());
            return c.answer();
        });
        int status = -1;
        {
            test::ScopedCurrentDir cwd(game.path());
            status = test::RunMain(0, nullptr);
        }
        EXPECT_EQ(status, 0);
        EXPECT_EQ(boxes, std::vector<std::string>{kQuestion}) << "no error box";
        const auto report = lines(game.read("Report_Game.txt"));
        EXPECT_NE(std::find(report.begin(), report.end(), c.reportLine), report.end());
        EXPECT_FALSE(fs::exists(game / "data")) << "nothing made";
    }
}

} // namespace
