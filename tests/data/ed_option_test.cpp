// The options record: its defaults, its file layout, and what a damaged,
// missing or unwritable file does to it.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/sjis_text.h"
#include "data/ed_option.h"
#include "data/path_table.h"
#include "file_bytes.h"
#include "platform/atomic_file.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test::FileBytes;

cEdOption sampleOptions()
{
    cEdOption o;
    o.nPalette = 12;
    o.bBgm = 0;
    o.nSeVolume = 3;
    o.nRankMode = RANKMODE_AUTO_FIXED;
    o.strRegName = "ABC";
    return o;
}

void expectSame(const cEdOption& a, const cEdOption& b)
{
    EXPECT_EQ(a.nPalette, b.nPalette);
    EXPECT_EQ(a.bBgm, b.bBgm);
    EXPECT_EQ(a.nSeVolume, b.nSeVolume);
    EXPECT_EQ(a.nRankMode, b.nRankMode);
    EXPECT_EQ(a.strRegName, b.strRegName);
}

TEST(Options, NewRecordPlaysMusicAtStepSevenWithTheNameAaa)
{
    const cEdOption o;
    EXPECT_EQ(o.nPalette, 0);
    EXPECT_EQ(o.bBgm, 1);
    EXPECT_EQ(o.nSeVolume, 7);
    EXPECT_EQ(o.nRankMode, RANKMODE_MANUAL_ASK);
    EXPECT_EQ(o.strRegName, "aaa");
}

TEST(Options, FileHoldsTheVersionFourIntsAndTheName)
{
    cEdOption o = sampleOptions();
    const Bytes expected =
        FileBytes().i32(511).i32(4).i32(12).i32(0).i32(3).i32(3).i32(1).str("ABC");
    EXPECT_EQ(SaveToBytes(o), expected);

    // An empty name is its length 1 and nothing more, and reads back empty.
    o.strRegName.clear();
    const Bytes empty = FileBytes().i32(511).i32(4).i32(12).i32(0).i32(3).i32(3).i32(1).i32(1);
    EXPECT_EQ(SaveToBytes(o), empty);
    cEdOption loaded;
    ASSERT_EQ(LoadFileBytes(loaded, empty), 1);
    EXPECT_EQ(loaded.strRegName, "");
}

TEST(Options, ValuesOutsideTheirRangesAreTakenToTheNearestWhenLoaded)
{
    struct Case {
        std::int32_t palette, volume, rankMode;
        std::int32_t wantPalette, wantVolume, wantRankMode;
    };
    const Case cases[] = {
        {5, 3, 2, 5, 3, 2},     {23, 10, 3, 23, 10, 3},       {-4, -1, -7, 0, 0, 0},
        {24, 11, 4, 23, 10, 3}, {99, 1000000, 17, 23, 10, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.palette);
        const Bytes file = FileBytes()
                               .i32(511)
                               .i32(4)
                               .i32(c.palette)
                               .i32(5)
                               .i32(c.volume)
                               .i32(c.rankMode)
                               .i32(1)
                               .str("LONGNAME");
        cEdOption o;
        ASSERT_EQ(LoadFileBytes(o, file), 1);
        EXPECT_EQ(o.nPalette, c.wantPalette);
        EXPECT_EQ(o.nSeVolume, c.wantVolume);
        EXPECT_EQ(o.nRankMode, c.wantRankMode);
        EXPECT_EQ(o.bBgm, 5) << "read as it stands: any value but 0 is on";
        EXPECT_EQ(o.strRegName, "LONGNAME");
    }
}

TEST(Options, DamagedFilesLeaveTheRecordAsItWas)
{
    cEdOption source = sampleOptions();
    const Bytes good = SaveToBytes(source);
    std::vector<Bytes> damaged;
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        damaged.emplace_back(good.begin(), good.begin() + static_cast<long>(cut));
    }
    // More members or strings than the record has, and a string longer than the file.
    damaged.push_back(FileBytes().i32(511).i32(5).i32(1).i32(1).i32(1).i32(1).i32(1).i32(0));
    damaged.push_back(FileBytes().i32(511).i32(4).i32(1).i32(1).i32(1).i32(1).i32(2).i32(1).i32(1));
    damaged.push_back(FileBytes().i32(511).i32(4).i32(1).i32(1).i32(1).i32(1).i32(1).i32(50));
    for (const Bytes& bytes : damaged) {
        cEdOption o;
        EXPECT_EQ(LoadFileBytes(o, bytes), 0) << bytes.size() << " bytes";
        expectSame(o, cEdOption());
    }
}

class OptionFile : public testing::Test {
protected:
    OptionFile() : cwd_(dir_.path()) { CreateGameFolders(); }
    ~OptionFile() override { plat::setAtomicWriteFailureHook(nullptr); }

    test::TempDir dir_;
    test::ScopedCurrentDir cwd_;
};

TEST_F(OptionFile, SavedOptionsLoadBackWithTheSameBytes)
{
    cEdOption saved = sampleOptions();
    ASSERT_EQ(saved.SaveFile(g_PathTable[PATH_OPTION]), 1);
    const std::string written = dir_.read("user_data/Option.dat");
    EXPECT_EQ(Bytes(written.begin(), written.end()), SaveToBytes(saved));

    cEdOption loaded;
    ASSERT_EQ(LoadFile(loaded, g_PathTable[PATH_OPTION]), 1);
    expectSame(loaded, saved);
}

TEST_F(OptionFile, AMissingFileLeavesTheDefaults)
{
    cEdOption o;
    EXPECT_EQ(LoadFile(o, g_PathTable[PATH_OPTION]), 0);
    expectSame(o, cEdOption());
}

TEST_F(OptionFile, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    cEdOption first = sampleOptions();
    ASSERT_EQ(first.SaveFile(g_PathTable[PATH_OPTION]), 1);
    const std::string before = dir_.read("user_data/Option.dat");

    plat::setAtomicWriteFailureHook([](const std::filesystem::path&) { return false; });
    cEdOption second;
    second.nSeVolume = 10;
    EXPECT_EQ(second.SaveFile(g_PathTable[PATH_OPTION]), 0);
    EXPECT_EQ(dir_.read("user_data/Option.dat"), before);
}

TEST(Options, VolumeStepsGiveTheirAttenuation)
{
    const std::vector<std::pair<int, std::int32_t>> cases = {
        {0, -10000}, {1, -3000}, {2, -2000}, {3, -1300}, {4, -800},    {5, -500}, {6, -300},
        {7, -150},   {8, -80},   {9, -30},   {10, 0},    {-1, -10000}, {11, 0},   {1000, 0},
    };
    for (const auto& [step, attenuation] : cases) {
        EXPECT_EQ(SeVolumeAttenuation(step), attenuation) << "step " << step;
    }
}

TEST(Options, RankModesHaveTheirLabels)
{
    EXPECT_STREQ(RankModeLabel(0), Sjis("手動登録（登録名入力）"));
    EXPECT_STREQ(RankModeLabel(1), Sjis("手動登録（登録名固定）"));
    EXPECT_STREQ(RankModeLabel(2), Sjis("自動登録（登録名入力）"));
    EXPECT_STREQ(RankModeLabel(3), Sjis("自動登録（登録名固定）"));
    EXPECT_STREQ(RankModeLabel(4), "");
    EXPECT_STREQ(RankModeLabel(-1), "");
}

} // namespace
