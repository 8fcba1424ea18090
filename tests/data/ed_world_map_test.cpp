// The world map: resizing, its file layout, the checks on loading, event
// lookup and safe cell access.

#include <gtest/gtest.h>

#include <limits>

#include "core/sjis_text.h"
#include "data/ed_world_map.h"
#include "file_bytes.h"

namespace {

using test::FileBytes;

void putEntry(FileBytes& b, int version, int requiredScore)
{
    b.i32(version >= 209 ? 11 : 10);
    for (int i = 1; i <= 10; ++i)
        b.i32(i);
    if (version >= 209) b.i32(requiredScore);
    b.i32(2).str("caption").str("stg4\\a.stg4_001");
}

void putEvent(FileBytes& b, int version, int x, int y)
{
    b.i32(2).i32(x).i32(y).i32(1).str("event").i32(1);
    putEntry(b, version, 500);
}

// A map file of width x height with its cells numbered, a start and events.
FileBytes mapFile(int version, int width, int height, int startX, int startY,
                  std::initializer_list<std::pair<int, int>> events)
{
    int shift = 0;
    for (int rest = width - 1; rest != 0; rest /= 2)
        ++shift;
    const int pitch = 1 << shift;
    FileBytes b;
    b.i32(version).i32(8).i32(width).i32(height).i32(pitch).i32(shift).i32(startX).i32(startY);
    b.i32(16).i32(0).i32(2).str("map").str("");
    b.i32(2);
    for (int i = 0; i < 2; ++i)
        b.i32(3).i32(0).i32(i).i32(i).i32(2).str("").str("chip");
    b.i32(height * pitch);
    for (int i = 0; i < height * pitch; ++i)
        b.i32(i % 2);
    b.i32(static_cast<std::int32_t>(events.size()));
    for (const auto& [x, y] : events)
        putEvent(b, version, x, y);
    b.i32(0);
    return b;
}

TEST(WorldMap, DefaultsAreATwentyByFifteenMapWithTenChips)
{
    cEdWorldMap map;
    EXPECT_EQ(map.m_Name, Sjis("ワールド"));
    EXPECT_EQ(map.m_Width, 20);
    EXPECT_EQ(map.m_Height, 15);
    EXPECT_EQ(map.m_Pitch, 32);
    EXPECT_EQ(map.m_StartX, 9);
    EXPECT_EQ(map.m_StartY, 7);
    EXPECT_EQ(map.m_BgColor, 16);
    ASSERT_EQ(map.m_Chips.size(), 10u);
    EXPECT_EQ(map.m_Chips[4].m_Blocked, 1);
    EXPECT_EQ(map.m_Chips[4].m_Text2, Sjis("通行不可"));
    EXPECT_EQ(map.m_Chips[5].m_Blocked, 0);
    EXPECT_EQ(map.m_Chips[9].m_PictureNo, 9);
    EXPECT_EQ(map.m_Chips[9].m_Text2, Sjis("通行可"));
    EXPECT_TRUE(map.m_Events.empty());
    ASSERT_EQ(map.m_Events2.size(), 1u);
    EXPECT_EQ(map.m_Events2[0].m_Name, Sjis("デフォルト"));
    EXPECT_EQ(map.m_Events2[0].m_Items.size(), 1u);
}

TEST(WorldMap, SetSizeKeepsTheCellsInsideBothSizes)
{
    cEdWorldMap map;
    map.m_Cells.clear();
    map.m_Width = map.m_Height = map.m_Pitch = map.m_PitchShift = 0;
    ASSERT_EQ(map.SetSize(20, 15), 1);
    EXPECT_EQ(map.m_Pitch, 32);
    EXPECT_EQ(map.m_PitchShift, 5);
    EXPECT_EQ(map.m_Cells, std::vector<std::int32_t>(480, 0));
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 20; ++x)
            map.m_Cells[(y << 5) + x] = 100 * y + x;
    }

    cEdWorldMap wider = map;
    ASSERT_EQ(wider.SetSize(40, 15), 1);
    EXPECT_EQ(wider.m_Pitch, 64);
    EXPECT_EQ(wider.m_Cells[(14 << 6) + 19], 1419);
    EXPECT_EQ(wider.m_Cells[(14 << 6) + 20], 0);
    EXPECT_EQ(wider.m_Cells[(3 << 6) + 39], 0);

    cEdWorldMap smaller = map;
    ASSERT_EQ(smaller.SetSize(10, 5), 1);
    EXPECT_EQ(smaller.m_Pitch, 16);
    EXPECT_EQ(smaller.m_Cells.size(), 80u);
    EXPECT_EQ(smaller.m_Cells[(4 << 4) + 9], 409);

    struct Case {
        int width, height, result, pitch, shift;
    };
    for (const Case& c : {Case{1, 1, 1, 1, 0}, Case{32, 2, 1, 32, 5}, Case{33, 2, 1, 64, 6},
                          Case{0, 5, 0, 16, 4}, Case{5, 0, 0, 16, 4}, Case{-3, 5, 0, 16, 4}}) {
        SCOPED_TRACE(::testing::Message() << c.width << " x " << c.height);
        cEdWorldMap m = smaller;
        EXPECT_EQ(m.SetSize(c.width, c.height), c.result);
        EXPECT_EQ(m.m_Pitch, c.pitch);
        EXPECT_EQ(m.m_PitchShift, c.shift);
    }
}

TEST(WorldMap, FileHasTheDocumentedLayoutAndRoundTrips)
{
    const FileBytes file = mapFile(511, 3, 2, 1, 1, {{0, 1}, {2, 1}});
    cEdWorldMap map;
    ASSERT_EQ(LoadFileBytes(map, file.bytes()), 1);
    EXPECT_EQ(map.m_Width, 3);
    EXPECT_EQ(map.m_Pitch, 4);
    ASSERT_EQ(map.m_Events.size(), 2u);
    EXPECT_EQ(map.m_Events[1].m_Items[0].m_RequiredScore, 500);
    EXPECT_EQ(map.m_Events[1].m_Items[0].m_StageFile, "stg4\\a.stg4_001");
    EXPECT_EQ(SaveToBytes(map), file.bytes());
}

TEST(WorldMap, LoadingPullsTheStartInsideAndDropsEventsBeyondTheMap)
{
    cEdWorldMap map;
    ASSERT_EQ(
        LoadFileBytes(map, mapFile(511, 20, 15, 25, 3, {{5, 5}, {30, 2}, {6, 6}, {1, 15}}).bytes()),
        1);
    EXPECT_EQ(map.m_StartX, 19);
    EXPECT_EQ(map.m_StartY, 3);
    ASSERT_EQ(map.m_Events.size(), 2u);
    EXPECT_EQ(map.m_Events[0].m_X, 5);
    EXPECT_EQ(map.m_Events[1].m_X, 6);

    cEdWorldMap negative;
    ASSERT_EQ(LoadFileBytes(negative, mapFile(511, 20, 15, -2, 3, {}).bytes()), 1);
    EXPECT_EQ(negative.m_StartX, -2); // no lower clamp

    // A stored width as low as an int goes has no last column below it.
    std::vector<std::uint8_t> bytes = mapFile(511, 1, 1, 5, 0, {}).bytes();
    bytes[8] = 0x00;
    bytes[9] = 0x00;
    bytes[10] = 0x00;
    bytes[11] = 0x80;
    cEdWorldMap odd;
    ASSERT_EQ(LoadFileBytes(odd, bytes), 1);
    EXPECT_EQ(odd.m_StartX, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(odd.CellAt(3, 0), 0);
}

TEST(WorldMap, EntriesBefore209HaveNoRequiredScore)
{
    cEdWorldMap map;
    ASSERT_EQ(LoadFileBytes(map, mapFile(208, 4, 4, 0, 0, {{1, 1}}).bytes()), 1);
    ASSERT_EQ(map.m_Events.size(), 1u);
    EXPECT_EQ(map.m_Events[0].m_Items[0].m_RequiredScore, 0);
    EXPECT_EQ(map.m_Events[0].m_Items[0].m_VarCompare, 10);
}

TEST(WorldMap, FindEventGivesTheEarliestOnTheCell)
{
    cEdWorldMap map;
    map.m_Events.resize(3);
    map.m_Events[0].m_X = 2;
    map.m_Events[1].m_X = 4;
    map.m_Events[1].m_Name = "first";
    map.m_Events[2].m_X = 4;
    ASSERT_NE(map.FindEvent(4, 0), nullptr);
    EXPECT_EQ(map.FindEvent(4, 0)->m_Name, "first");
    EXPECT_EQ(map.FindEvent(3, 0), nullptr);
}

TEST(WorldMap, CellAccessStaysInsideTheArrays)
{
    cEdWorldMap map;
    ASSERT_EQ(LoadFileBytes(map, mapFile(511, 4, 3, 0, 0, {}).bytes()), 1);
    EXPECT_EQ(map.CellAt(1, 0), 1);
    EXPECT_EQ(map.CellAt(-5, 0), 0); // clamped to column 0
    EXPECT_EQ(map.CellAt(99, 0), 1); // clamped to column 3
    ASSERT_NE(map.ChipAt(1, 0), nullptr);
    EXPECT_EQ(map.ChipAt(1, 0)->m_PictureNo, 1);

    map.m_Cells.resize(5); // shorter than height x pitch
    EXPECT_EQ(map.CellAt(3, 2), 0);
    map.m_Cells[1] = 7; // names no chip
    EXPECT_EQ(map.ChipAt(1, 0), nullptr);
    map.m_PitchShift = 40;
    EXPECT_EQ(map.CellAt(1, 1), 0);
}

TEST(WorldMap, DamagedFileLeavesTheMapAsItWas)
{
    const FileBytes good = mapFile(511, 4, 3, 0, 0, {{1, 1}});
    for (std::size_t cut = 4; cut < good.bytes().size(); cut += 7) {
        SCOPED_TRACE(cut);
        cEdWorldMap map;
        const std::vector<std::uint8_t> shortFile(good.bytes().begin(), good.bytes().begin() + cut);
        EXPECT_EQ(LoadFileBytes(map, shortFile), 0);
        EXPECT_EQ(map.m_Width, 20);
        EXPECT_EQ(map.m_Chips.size(), 10u);
    }
}

} // namespace
