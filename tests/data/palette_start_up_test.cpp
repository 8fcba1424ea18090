// The common palette read at start-up, and the failure that ends the start-up.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/ed_palette.h"
#include "stage_fixtures.h"

namespace {

using CommonPaletteAtStartUp = test::StageReportTest;

TEST_F(CommonPaletteAtStartUp, LoadsFromTheDataFolderOrSaysWhichFileFailed)
{
    g_CommonPalette.PaletteBlocks.resize(7);
    cEdPalette written;
    written.PaletteItems.resize(4);
    auto bytes = SaveToBytes(written);

    struct Case {
        const char* what;
        std::vector<std::uint8_t> file; // empty: no file
        int loads;
        std::size_t items;
    };
    const Case cases[] = {
        {"missing", {}, 0, 0},
        {"damaged", {bytes.begin(), bytes.end() - 5}, 0, 0},
        {"whole", bytes, 1, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(dir_ / "data" / "CommonPalette.cplt4");
        if (!c.file.empty()) {
            dir_.write("data/CommonPalette.cplt4", std::string(c.file.begin(), c.file.end()));
        }
        boxes.clear();
        EXPECT_EQ(LoadCommonPaletteAtStartUp(), c.loads);
        if (c.loads) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(g_CommonPalette.PaletteItems.size(), c.items);
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0], std::string(kCommonPaletteFile) + Sjis(" のロードに失敗！"));
            // The report says the same in UTF-8.
            EXPECT_NE(
                dir_.read("report.txt").find(std::string(kCommonPaletteFile) + " のロードに失敗！"),
                std::string::npos);
            EXPECT_EQ(g_CommonPalette.PaletteBlocks.size(), 7u);
        }
    }
}

// An item command that nothing can run does not end the start-up: it loads
// as a command without effect, and the run report names the file.
TEST_F(CommonPaletteAtStartUp, AnItemCommandThatNothingCanRunLoadsWithoutEffect)
{
    cEdPalette written;
    written.PaletteItems.resize(3);
    cEdCommand unknown;
    unknown.m_ListKind = 1;
    unknown.m_Kind = 40;
    written.PaletteItems[2].Commands = {unknown};
    const auto bytes = SaveToBytes(written);
    dir_.write("data/CommonPalette.cplt4", std::string(bytes.begin(), bytes.end()));

    ASSERT_EQ(LoadCommonPaletteAtStartUp(), 1);
    EXPECT_TRUE(boxes.empty());
    ASSERT_EQ(g_CommonPalette.PaletteItems[2].Commands.size(), 1u);
    EXPECT_EQ(g_CommonPalette.PaletteItems[2].Commands[0].m_Kind, 0);
    const auto lines = reportLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind(std::string(kCommonPaletteFile) + ": the command at byte ", 0), 0u);
    EXPECT_NE(lines[0].find("command kind 40"), std::string::npos);
}

} // namespace
