// The run report: made anew, one whole line per call from any thread,
// the machine and display sections, and boxes for ReportBox.
#include "core/display_facts.h"
#include "core/environment.h"
#include "core/err_log.h"
#include "core/report.h"
#include "core/sjis_text.h"
#include "platform/message_box.h"
#include "support/report_fixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using RunReport = test::ReportFixture;

// Records every box and answers OK.
class BoxRecorder {
public:
    BoxRecorder()
    {
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r);
            return IDOK;
        });
    }
    ~BoxRecorder() { plat::setMessageBoxResponder(nullptr); }
    std::vector<plat::BoxRequest> boxes;
};

TEST_F(RunReport, CreatingItEmptiesAnOldReport)
{
    dir_.write("old.txt", "left from the last run\n");
    ASSERT_EQ(ReportCreate("old.txt"), 1);
    EXPECT_EQ(dir_.read("old.txt"), "");
    EXPECT_EQ(Report("App : ver %s", "511"), 1);
    EXPECT_EQ(dir_.read("old.txt"), "App : ver 511\n");
}

TEST_F(RunReport, CreationFailsWhereNoFileCanBeMade)
{
    std::filesystem::create_directory(dir_ / "taken");
    EXPECT_EQ(ReportCreate("taken"), 0);
    EXPECT_EQ(ReportCreate("missing\\folder\\report.txt"), 0);
    // The report made before is still the one written to.
    EXPECT_EQ(Report("still here"), 1);
    EXPECT_EQ(reportLines(), std::vector<std::string>{"still here"});
}

TEST_F(RunReport, LinesAreAppendedInOrderAndPreformattedTextsStandAsTheyAre)
{
    EXPECT_EQ(Report("a %d", 1), 1);
    EXPECT_EQ(ReportLog("%s", "100% sure"), 1);
    EXPECT_EQ(Report("%s", "%d %s"), 1);
    EXPECT_EQ(reportLines(), (std::vector<std::string>{"a 1", "100% sure", "%d %s"}));
}

TEST_F(RunReport, TheGamesShiftJisTextsAreWrittenInUtf8)
{
    // A path whose trail byte is a backslash (0x5C of "表") stays one character;
    // a byte that is not Shift-JIS becomes the replacement character.
    EXPECT_EQ(Report(Sjis("「%s」の読み込みに失敗しました！"), Sjis("data\\表.stg4")), 1);
    EXPECT_EQ(ReportLog("%s", Sjis("ビデオカードがDirectX9をサポートしていません！")), 1);
    EXPECT_EQ(Report("bad \x81 byte"), 1);
    EXPECT_EQ(reportLines(), (std::vector<std::string>{
                                 "「data\\表.stg4」の読み込みに失敗しました！",
                                 "ビデオカードがDirectX9をサポートしていません！",
                                 "bad \uFFFD byte",
                             }));
}

TEST_F(RunReport, ALineThatCannotBeWrittenIsLostAndSaysSo)
{
    std::filesystem::remove(dir_ / "report.txt");
    EXPECT_EQ(Report("lost"), 0);
    EXPECT_EQ(ReportLog("lost"), 0);
    EXPECT_EQ(ReportSystem(), 0);
    EXPECT_EQ(ReportDisplay(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "report.txt"));
}

TEST_F(RunReport, LinesFromManyThreadsNeverMix)
{
    constexpr int kThreads = 8;
    constexpr int kLines = 150;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            const std::string filler(200, static_cast<char>('a' + t));
            for (int i = 0; i < kLines; ++i)
                Report("%d:%d:%s", t, i, filler.c_str());
        });
    }
    for (auto& th : threads)
        th.join();
    const auto lines = reportLines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLines));
    std::set<std::string> expected;
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kLines; ++i) {
            char prefix[32];
            std::snprintf(prefix, sizeof prefix, "%d:%d:", t, i);
            expected.insert(prefix + std::string(200, static_cast<char>('a' + t)));
        }
    }
    EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), expected);
}

TEST_F(RunReport, TheSystemSectionHasItsSevenLinesInOrder)
{
    ASSERT_EQ(ReportSystem(), 1);
    const auto lines = reportLines();
    const std::vector<std::regex> expected{
        std::regex("OS : .+"),
        std::regex("CPU : .* -?[0-9]+"),
        std::regex("Mem Total : [0-9]+\\.[0-9]{3}MB"),
        std::regex("Mem Free : +[0-9]+MB"),
        std::regex("Vir Total : [0-9]+\\.[0-9]{3}MB"),
        std::regex("Vir Free : +[0-9]+MB"),
        std::regex("HD Free : +[0-9]+MB"),
    };
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], expected[i])) << lines[i];
    }
}

TEST_F(RunReport, TheDisplaySectionTellsTheModeAndDepth)
{
    struct Case {
        int windowed, bpp;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {1, 32, {"Mode : Window", "Bpp : 32"}},
        {0, 8, {"Mode : Fullscreen", "Bpp : 8"}},
        {0, 16, {"Mode : Fullscreen", "Bpp : 16"}},
    };
    const auto savedWindowed = g_DDWindowed;
    const auto savedBpp = g_DDBpp;
    for (const auto& c : cases) {
        ASSERT_EQ(ReportCreate("report.txt"), 1);
        g_DDWindowed = c.windowed;
        g_DDBpp = c.bpp;
        EXPECT_EQ(ReportDisplay(), 1);
        EXPECT_EQ(reportLines(), c.lines);
    }
    g_DDWindowed = savedWindowed;
    g_DDBpp = savedBpp;
}

TEST_F(RunReport, ReportBoxWritesTheLineAndShowsItInAnErrorBox)
{
    BoxRecorder recorder;
    EXPECT_EQ(ReportBox(Sjis("%s のロードに失敗！"), "data\\WorldMap.dat"), 1);
    EXPECT_EQ(reportLines(), std::vector<std::string>{"data\\WorldMap.dat のロードに失敗！"});
    ASSERT_EQ(recorder.boxes.size(), 1u);
    EXPECT_EQ(recorder.boxes[0].textUtf8(), "data\\WorldMap.dat のロードに失敗！");
    EXPECT_EQ(recorder.boxes[0].captionUtf8(), "エラー");
    EXPECT_EQ(recorder.boxes[0].type, MB_OK);
}

TEST_F(RunReport, ReportBoxDoesNothingAtAllWhenTheReportCannotBeOpened)
{
    BoxRecorder recorder;
    std::filesystem::remove(dir_ / "report.txt");
    EXPECT_EQ(ReportBox("%s", "nobody sees this"), 0);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST(Environment, TheVersionComparisonTakesMajorThenMinor)
{
    int major = 0, minor = 0;
    GetOSName(nullptr, &major, &minor);
    struct Case {
        int major, minor;
        bool atLeast;
    };
    const Case cases[] = {
        {major, minor, true},  {major, minor + 1, false}, {major, minor - 1, true},
        {major - 1, 99, true}, {major + 1, 0, false},     {5, 1, true},
        {6, 0, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsOSVersionAtLeast(c.major, c.minor), c.atLeast) << c.major << "." << c.minor;
    }
}

TEST(Environment, DiskFreeIsCappedAtTheLargest32BitValueAndZeroWhenUnknown)
{
    const auto here = GetDiskFreeBytes(nullptr);
    EXPECT_GT(here, 0);
    EXPECT_LE(here, 2147483647);
    EXPECT_EQ(GetDiskFreeBytes("no\\such\\folder"), 0);
}

TEST(Environment, TheDisplayDriverVersionCannotBeRead)
{
    EXPECT_EQ(GetDDIVersion(), 99999);
}

} // namespace
