// The rankings: their file layout byte for byte, old files brought up to
// date, damaged and hostile files, the ranking rules, and the files of the
// play kinds in the player's folder.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/file_bytes.h"
#include "platform/atomic_file.h"
#include "scenes/rankings.h"
#include "support/report_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test::FileBytes;

constexpr std::int32_t kUsualOrders[kRankKinds] = {1, 1, 0, 1, 1};

struct Place {
    std::int32_t valid;
    std::int32_t value;
    std::string name;
};

// One stored entry.
void PutEntry(FileBytes& f, const Place& place)
{
    f.i32(2).i32(place.valid).i32(place.value).i32(1).str(place.name);
}

// One stored table: its order and places, then `empty` empty places.
void PutTable(FileBytes& f, std::int32_t order, const std::vector<Place>& places, int empty)
{
    f.i32(1).i32(order).i32(0).i32(static_cast<std::int32_t>(places.size()) + empty);
    for (const Place& place : places)
        PutEntry(f, place);
    for (int i = 0; i < empty; ++i)
        PutEntry(f, {0, 0, ""});
}

// A file's head: the version, the set's empty body and the table count.
FileBytes Head(std::int32_t version, std::int32_t tables)
{
    FileBytes f;
    f.i32(version).i32(0).i32(0).i32(tables);
    return f;
}

// The file of the usual shape, with the given places at the top of each table.
Bytes UsualFile(const std::vector<std::vector<Place>>& top = {})
{
    FileBytes f = Head(511, kRankKinds);
    for (int k = 0; k < kRankKinds; ++k) {
        const std::vector<Place> places = k < static_cast<int>(top.size())
                                              ? top[static_cast<std::size_t>(k)]
                                              : std::vector<Place>{};
        PutTable(f, kUsualOrders[k], places, kRankPlaces - static_cast<int>(places.size()));
    }
    return f.bytes();
}

std::vector<std::int32_t> Orders(const cEdRankSet& set)
{
    std::vector<std::int32_t> orders;
    for (const cEdRankTable& table : set.m_Tables)
        orders.push_back(table.m_Order);
    return orders;
}

// Every table of the set has 20 places.
void ExpectTwentyPlaces(const cEdRankSet& set)
{
    for (const cEdRankTable& table : set.m_Tables)
        EXPECT_EQ(table.m_Entries.size(), static_cast<std::size_t>(kRankPlaces));
}

// A table of the order holding the values from the top, named by their place.
cEdRankTable TableOf(std::int32_t order, const std::vector<std::int32_t>& values)
{
    cEdRankTable table;
    table.m_Order = order;
    for (std::size_t i = 0; i < values.size(); ++i) {
        table.m_Entries[i].m_Valid = 1;
        table.m_Entries[i].m_Value = values[i];
        table.m_Entries[i].m_Name = std::to_string(i);
    }
    return table;
}

std::vector<std::int32_t> ValidValues(const cEdRankTable& table)
{
    std::vector<std::int32_t> values;
    for (const cEdRankEntry& entry : table.m_Entries)
        if (entry.m_Valid) values.push_back(entry.m_Value);
    return values;
}

// 20 values from 2000 down to 100.
std::vector<std::int32_t> FullDescending()
{
    std::vector<std::int32_t> values;
    for (int i = kRankPlaces; i >= 1; --i)
        values.push_back(i * 100);
    return values;
}

TEST(RankFile, ADefaultSetIsWrittenByteForByte)
{
    cEdRankSet set;
    const Bytes saved = SaveToBytes(set);
    EXPECT_EQ(saved.size(), 2096u);
    EXPECT_EQ(saved, UsualFile());
}

TEST(RankFile, NamesAreStoredWithTheirLengthAndTerminatingZero)
{
    const std::string twoByte = "\x83\x41\x83\x43"; // two double-byte characters
    cEdRankSet set;
    InsertRank(set.m_Tables[RANK_SCORE], "BOB", 1500);
    InsertRank(set.m_Tables[RANK_SCORE], twoByte, 2500);
    InsertRank(set.m_Tables[RANK_CLEAR_TIME], twoByte, 345);
    const Bytes saved = SaveToBytes(set);
    EXPECT_EQ(saved, UsualFile({{{1, 2500, twoByte}, {1, 1500, "BOB"}}, {}, {{1, 345, twoByte}}}));
    EXPECT_EQ(saved.size(), 2096u + 5 + 4 + 5);

    cEdRankSet loaded;
    ASSERT_EQ(LoadFileBytes(loaded, saved), 1);
    EXPECT_EQ(SaveToBytes(loaded), saved);
    EXPECT_EQ(loaded.m_Tables[RANK_SCORE].m_Entries[0].m_Name, twoByte);
    EXPECT_EQ(loaded.m_Tables[RANK_SCORE].m_Entries[1].m_Name, "BOB");
    EXPECT_EQ(loaded.m_Tables[RANK_CLEAR_TIME].m_Entries[0].m_Value, 345);
}

// Files of other shapes: what a load makes of them.
struct ShapeCase {
    const char* what;
    Bytes file;
    std::vector<std::int32_t> orders;
    std::vector<std::int32_t> topValues; // of table 0
};

std::vector<ShapeCase> ShapeCases()
{
    std::vector<ShapeCase> cases;
    auto oldFile = [](std::int32_t version, const std::vector<std::int32_t>& orders) {
        FileBytes f = Head(version, static_cast<std::int32_t>(orders.size()));
        for (std::int32_t order : orders)
            PutTable(f, order, {{1, 70, "OLD"}}, 19);
        return f.bytes();
    };
    // Before 181 the missing tables rank lower first, and then HP and SP
    // rank higher first whatever the file said.
    cases.push_back(
        {"three tables of an old file", oldFile(180, {1, 0, 0}), {1, 0, 0, 1, 1}, {70}});
    cases.push_back({"one table of an old file", oldFile(100, {1}), {1, 0, 0, 1, 1}, {70}});
    cases.push_back(
        {"five tables of an old file", oldFile(180, {0, 1, 1, 0, 0}), {0, 1, 1, 1, 1}, {70}});
    cases.push_back({"three tables of a new file", oldFile(181, {0, 0, 1}), {0, 0, 1, 1, 1}, {70}});
    cases.push_back({"no table", Head(511, 0).bytes(), {1, 1, 0, 1, 1}, {}});
    {
        // Seven tables of 25 places: the first five tables and 20 places stay.
        FileBytes f = Head(511, 7);
        for (int k = 0; k < 7; ++k) {
            std::vector<Place> places;
            for (int i = 0; i < 25; ++i)
                places.push_back({1, 1000 - i, "P"});
            PutTable(f, k % 2, places, 0);
        }
        std::vector<std::int32_t> top;
        for (int i = 0; i < kRankPlaces; ++i)
            top.push_back(1000 - i);
        cases.push_back({"seven tables of 25 places", f.bytes(), {0, 1, 0, 1, 0}, top});
    }
    {
        FileBytes f = Head(511, kRankKinds);
        for (int k = 0; k < kRankKinds; ++k)
            PutTable(f, 1 - kUsualOrders[k], {}, 0);
        cases.push_back({"tables without places", f.bytes(), {0, 0, 1, 0, 0}, {}});
    }
    return cases;
}

TEST(RankFile, EveryLoadedSetHasFiveTablesOfTwentyPlaces)
{
    for (const ShapeCase& c : ShapeCases()) {
        SCOPED_TRACE(c.what);
        cEdRankSet set;
        ASSERT_EQ(LoadFileBytes(set, c.file), 1);
        ASSERT_EQ(set.m_Tables.size(), static_cast<std::size_t>(kRankKinds));
        ExpectTwentyPlaces(set);
        EXPECT_EQ(Orders(set), c.orders);
        EXPECT_EQ(ValidValues(set.m_Tables[0]), c.topValues);
        // What was made of it is written in the usual shape.
        cEdRankSet again;
        ASSERT_EQ(LoadFileBytes(again, SaveToBytes(set)), 1);
        EXPECT_EQ(SaveToBytes(again), SaveToBytes(set));
    }
}

TEST(RankFile, DamagedOrHostileFilesDoNotLoad)
{
    const Bytes usual = UsualFile({{{1, 9, "AB"}}});
    auto cut = [&usual](std::size_t size) { return Bytes(usual.begin(), usual.begin() + size); };
    // The byte offset of the first entry's name length.
    constexpr std::size_t kFirstNameLength = 16 + 16 + 16;
    auto patched = [&usual](std::size_t at, std::uint32_t value) {
        Bytes b = usual;
        for (int i = 0; i < 4; ++i)
            b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
        return b;
    };
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"only the version", cut(4)},
        {"cut in the middle", cut(usual.size() / 2)},
        {"one byte short", cut(usual.size() - 1)},
        {"a huge table count", patched(12, 0x7FFFFFFF)},
        {"a negative table count", patched(12, 0xFFFFFFFF)},
        {"a huge place count", patched(28, 0x7FFFFFFF)},
        {"a negative place count", patched(28, 0x80000000)},
        {"a huge name length", patched(kFirstNameLength, 0xFFFFFFF0)},
        {"a name length of 0", patched(kFirstNameLength, 0)},
        {"more member blocks than a place has", patched(32, 3)},
        {"members in the set's body", patched(4, 1)},
        {"more strings than a table has", patched(24, 1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        cEdRankSet set;
        InsertRank(set.m_Tables[0], "KEEP", 5);
        EXPECT_EQ(LoadFileBytes(set, c.file), 0);
        // The record is left as it was.
        EXPECT_EQ(set.m_Tables[0].m_Entries[0].m_Name, "KEEP");
    }
}

// The ranking rules: where a value ranks in a table of an order, and what
// registering it there leaves.
TEST(RankRules, PlacesAndInsertions)
{
    const std::vector<std::int32_t> full = FullDescending();
    std::vector<std::int32_t> fullRising(full.rbegin(), full.rend());
    const struct {
        const char* what;
        std::int32_t order;
        std::vector<std::int32_t> stored;
        std::int32_t value;
        int place;
    } cases[] = {
        {"higher ranks first", 1, {500, 300}, 400, 1},
        {"lower ranks first", 0, {100, 300}, 50, 0},
        {"an equal value ranks below (higher first)", 1, {500, 300, 300, 100}, 300, 3},
        {"an equal value ranks below (lower first)", 0, {100, 250, 250}, 250, 3},
        {"a clear time of 0 ranks first", 0, {1, 2}, 0, 0},
        {"an empty table ranks any value first", 1, {}, -7, 0},
        {"an empty place ranks a value below the others", 0, {5}, 999, 1},
        {"a full table ranks a low value nowhere", 1, full, 50, -1},
        {"a full table ranks the last value nowhere", 1, full, 100, -1},
        {"a full table takes a value at its last place", 1, full, 150, 19},
        {"a full rising table takes a value at its last place", 0, fullRising, 1950, 19},
        {"a full rising table ranks a high value nowhere", 0, fullRising, 2000, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        cEdRankTable table = TableOf(c.order, c.stored);
        EXPECT_EQ(FindRankPos(table, c.value), c.place);
        InsertRank(table, "NEW", c.value);
        ASSERT_EQ(table.m_Entries.size(), static_cast<std::size_t>(kRankPlaces));
        std::vector<std::int32_t> expected = c.stored;
        if (c.place != -1) {
            expected.insert(expected.begin() + c.place, c.value);
            if (expected.size() > static_cast<std::size_t>(kRankPlaces)) expected.pop_back();
            EXPECT_EQ(table.m_Entries[static_cast<std::size_t>(c.place)].m_Name, "NEW");
        }
        EXPECT_EQ(ValidValues(table), expected);
    }
}

TEST(RankRules, ALaterEqualRegistrationIsPlacedAfterTheEarlierOne)
{
    cEdRankTable table = TableOf(1, {});
    InsertRank(table, "FST", 300);
    InsertRank(table, "SND", 300);
    InsertRank(table, "TOP", 301);
    EXPECT_EQ(table.m_Entries[0].m_Name, "TOP");
    EXPECT_EQ(table.m_Entries[1].m_Name, "FST");
    EXPECT_EQ(table.m_Entries[2].m_Name, "SND");
}

TEST(RankRules, FittingATableClearsItsOrderAndMakesTwentyPlaces)
{
    for (std::size_t places : {0u, 3u, 20u, 25u}) {
        SCOPED_TRACE(places);
        cEdRankTable table = TableOf(1, {9});
        table.m_Entries.resize(places);
        FitRankTable(table);
        EXPECT_EQ(table.m_Order, 0);
        ASSERT_EQ(table.m_Entries.size(), static_cast<std::size_t>(kRankPlaces));
        EXPECT_EQ(table.m_Entries[0].m_Valid, places > 0 ? 1 : 0);
        EXPECT_EQ(table.m_Entries.back().m_Valid, 0);
    }
    cEdRankSet set;
    set.m_Tables.resize(2);
    InsertRank(set.m_Tables[0], "X", 1);
    ResetRankSet(set);
    EXPECT_EQ(Orders(set),
              std::vector<std::int32_t>(std::begin(kUsualOrders), std::end(kUsualOrders)));
    ExpectTwentyPlaces(set);
    EXPECT_TRUE(ValidValues(set.m_Tables[0]).empty());
}

// The rankings files of the play kinds in a game folder.
class RankFiles : public test::ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        for (const char* folder : {"story", "challenge", "free"})
            std::filesystem::create_directories(dir_ / ("user_data/" + std::string(folder)));
    }
    void TearDown() override
    {
        plat::setAtomicWriteFailureHook(nullptr);
        ReportFixture::TearDown();
    }
    // The report's lines that mention a text.
    int ReportLinesWith(const std::string& text) const
    {
        int count = 0;
        for (const std::string& line : reportLines())
            count += line.find(text) != std::string::npos ? 1 : 0;
        return count;
    }
};

TEST_F(RankFiles, EachPlayKindHasItsFolderAndTheNameLosesItsFolders)
{
    const struct {
        int kind;
        const char* name;
        int made;
        const char* path;
    } cases[] = {
        {0, ".\\data\\stg4\\Stage1.", 1, "user_data\\story\\Stage1.rkg"},
        {1, "data\\stg4\\c01.", 1, "user_data\\challenge\\c01.rkg"},
        {2, "My.", 1, "user_data\\free\\My.rkg"},
        {2, "", 1, "user_data\\free\\rkg"},
        {3, "data\\stg4\\Stage1.", 0, ""},
        {-1, "Stage1.", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string path = "previous";
        EXPECT_EQ(MakeUserDataPath(path, c.kind, c.name), c.made);
        EXPECT_EQ(path, c.path);
    }
}

TEST_F(RankFiles, ASavedSetLoadsBackAndAMissingFileGivesEmptyRankings)
{
    cEdRankSet set;
    InsertRank(set.m_Tables[RANK_REST_HP], "HPX", 12);
    ASSERT_EQ(SaveRankSet(set, 1, "data\\stg4\\c02."), 1);
    EXPECT_EQ(dir_.read("user_data/challenge/c02.rkg").size(), 2096u + 4);

    cEdRankSet loaded;
    EXPECT_EQ(LoadRankSet(loaded, 1, "c02."), 1);
    EXPECT_EQ(SaveToBytes(loaded), SaveToBytes(set));

    // Another kind's folder holds no such file: empty rankings, no report.
    cEdRankSet empty;
    EXPECT_EQ(LoadRankSet(loaded, 0, "c02."), 0);
    EXPECT_EQ(SaveToBytes(loaded), SaveToBytes(empty));
    EXPECT_EQ(LoadRankSet(loaded, 3, "c02."), 0);
    EXPECT_EQ(ReportLinesWith("c02"), 0);
}

TEST_F(RankFiles, ADamagedFileGivesEmptyRankingsAndIsReported)
{
    const Bytes usual = UsualFile({{{1, 9, "AB"}}});
    dir_.write("user_data/free/Bad.rkg", std::string(usual.begin(), usual.begin() + 100));
    cEdRankSet set;
    InsertRank(set.m_Tables[0], "OLD", 1);
    EXPECT_EQ(LoadRankSet(set, 2, "Bad."), 0);
    cEdRankSet empty;
    EXPECT_EQ(SaveToBytes(set), SaveToBytes(empty));
    EXPECT_EQ(ReportLinesWith("user_data\\free\\Bad.rkg"), 1);
}

TEST_F(RankFiles, AFailedWriteKeepsTheOldFileAndIsReported)
{
    cEdRankSet first;
    InsertRank(first.m_Tables[0], "ONE", 1);
    ASSERT_EQ(SaveRankSet(first, 0, "S."), 1);
    const std::string before = dir_.read("user_data/story/S.rkg");

    plat::setAtomicWriteFailureHook([](const std::filesystem::path&) { return false; });
    cEdRankSet second;
    InsertRank(second.m_Tables[0], "TWO", 2);
    EXPECT_EQ(SaveRankSet(second, 0, "S."), 0);
    plat::setAtomicWriteFailureHook(nullptr);
    EXPECT_EQ(dir_.read("user_data/story/S.rkg"), before);
    EXPECT_EQ(ReportLinesWith("user_data\\story\\S.rkg could not be written"), 1);

    // A folder that does not exist cannot take the file either.
    std::filesystem::remove_all(dir_ / "user_data/free");
    EXPECT_EQ(SaveRankSet(second, 2, "S."), 0);
    EXPECT_EQ(ReportLinesWith("user_data\\free\\S.rkg could not be written"), 1);
}

} // namespace
