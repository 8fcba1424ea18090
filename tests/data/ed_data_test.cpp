// The record base: the common layout, registration per version, lists, and
// the refusal of damaged files.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"
#include "file_bytes.h"
#include "support/temp_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using test::FileBytes;

// A list element: one int and a name.
class cTestItem : public cEdData {
public:
    std::int32_t m_Value = 0;
    std::string m_Name;

    void RegisterMembers(int) override
    {
        ClearMemberTables();
        AddField4(&m_Value, 1);
        AddString(&m_Name, 1);
    }
};

// A record with every member size, an array, a member and a string added by
// version 200, and a list.
class cTestRecord : public cEdData {
public:
    std::int8_t m_Byte = 0;
    std::int16_t m_Short = 0;
    std::int32_t m_Int = 0;
    double m_Double = 0;
    std::int32_t m_Array[3] = {};
    std::int32_t m_Late = 0;
    std::string m_Name;
    std::string m_LateText;
    std::vector<cTestItem> m_Items;

    void RegisterMembers(int version) override
    {
        ClearMemberTables();
        AddField1(&m_Byte, 1);
        AddField2(&m_Short, 1);
        AddField4(&m_Int, 1);
        AddField8(&m_Double, 1);
        AddField4(m_Array, 3);
        if (version >= 200) AddField4(&m_Late, 1);
        AddString(&m_Name, 1);
        if (version >= 200) AddString(&m_LateText, 1);
    }
    void Load(plat::ByteReader& f) override
    {
        cEdData::Load(f);
        LoadVector(m_Items, f);
    }
    void Save(ByteWriter& f) override
    {
        cEdData::Save(f);
        SaveVector(m_Items, f);
    }
};

// One int member and one string, for exact byte layouts.
class cSmallRecord : public cEdData {
public:
    std::int32_t m_Value = 0;
    std::string m_Text;

    void RegisterMembers(int) override
    {
        ClearMemberTables();
        AddField4(&m_Value, 1);
        AddString(&m_Text, 1);
    }
};

cTestRecord sampleRecord()
{
    cTestRecord r;
    r.m_Byte = -5;
    r.m_Short = -1234;
    r.m_Int = 123456789;
    r.m_Double = -2.75;
    r.m_Array[0] = 1;
    r.m_Array[1] = -2;
    r.m_Array[2] = 3;
    r.m_Late = 77;
    r.m_Name = "name";
    r.m_LateText = "late";
    r.m_Items.resize(2);
    r.m_Items[0].m_Value = 10;
    r.m_Items[0].m_Name = "a";
    r.m_Items[1].m_Value = -20;
    r.m_Items[1].m_Name = "";
    return r;
}

void expectSameValues(const cTestRecord& a, const cTestRecord& b)
{
    EXPECT_EQ(a.m_Byte, b.m_Byte);
    EXPECT_EQ(a.m_Short, b.m_Short);
    EXPECT_EQ(a.m_Int, b.m_Int);
    EXPECT_EQ(a.m_Double, b.m_Double);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(a.m_Array[i], b.m_Array[i]);
    EXPECT_EQ(a.m_Late, b.m_Late);
    EXPECT_EQ(a.m_Name, b.m_Name);
    EXPECT_EQ(a.m_LateText, b.m_LateText);
    ASSERT_EQ(a.m_Items.size(), b.m_Items.size());
    for (std::size_t i = 0; i < a.m_Items.size(); ++i) {
        EXPECT_EQ(a.m_Items[i].m_Value, b.m_Items[i].m_Value);
        EXPECT_EQ(a.m_Items[i].m_Name, b.m_Items[i].m_Name);
    }
}

// Keeps the global switches of the record base as each test expects them.
class RecordBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_DataVersion = kDataVersion;
        g_StripCR = 0;
    }
    void TearDown() override { g_StripCR = 0; }
};

TEST_F(RecordBase, WritesTheCommonLayoutByteForByte)
{
    cSmallRecord r;
    r.m_Value = 5;
    r.m_Text = "abc";
    const Bytes expected = {0xFF, 0x01, 0x00, 0x00, // version 511
                            0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x01, 0x00,
                            0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x61, 0x62, 0x63, 0x00};
    EXPECT_EQ(SaveToBytes(r), expected);

    r.m_Text.clear();
    const Bytes emptyString = {0xFF, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x05, 0x00,
                               0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(SaveToBytes(r), emptyString);
}

TEST_F(RecordBase, SavedRecordLoadsBackWithTheSameValuesAndBytes)
{
    cTestRecord original = sampleRecord();
    const Bytes bytes = SaveToBytes(original);

    cTestRecord loaded;
    ASSERT_EQ(LoadFileBytes(loaded, bytes), 1);
    expectSameValues(original, loaded);
    EXPECT_EQ(g_FileVersion, kDataVersion);
    EXPECT_EQ(SaveToBytes(loaded), bytes);
}

TEST_F(RecordBase, CarriageReturnsAreStrippedOnlyWhileTheSwitchIsOn)
{
    cTestRecord original = sampleRecord();
    original.m_Name = "line one\r\nline two\r";
    original.m_Items[0].m_Name = "x\ry";
    const Bytes bytes = SaveToBytes(original);

    cTestRecord kept;
    ASSERT_EQ(LoadFileBytes(kept, bytes), 1);
    EXPECT_EQ(kept.m_Name, "line one\r\nline two\r");

    g_StripCR = 1;
    cTestRecord stripped;
    ASSERT_EQ(LoadFileBytes(stripped, bytes), 1);
    EXPECT_EQ(stripped.m_Name, "line one\nline two");
    EXPECT_EQ(stripped.m_Items[0].m_Name, "xy");
}

TEST_F(RecordBase, StringWithAnEmbeddedNulIsWrittenUpToItAndShortened)
{
    cSmallRecord r;
    r.m_Text = std::string("ab\0cd", 5);
    const Bytes bytes = SaveToBytes(r);
    EXPECT_EQ(r.m_Text, "ab");
    const Bytes tail(bytes.end() - 7, bytes.end());
    EXPECT_EQ(tail, (Bytes{0x03, 0x00, 0x00, 0x00, 'a', 'b', 0x00}));
}

TEST_F(RecordBase, StoredStringIsTakenUpToItsFirstNul)
{
    const Bytes file =
        FileBytes().i32(kDataVersion).i32(1).i32(9).i32(1).i32(5).raw({'a', 0, 'b', 'c', 0});
    cSmallRecord r;
    ASSERT_EQ(LoadFileBytes(r, file), 1);
    EXPECT_EQ(r.m_Value, 9);
    EXPECT_EQ(r.m_Text, "a");
}

TEST_F(RecordBase, OlderFileLeavesLaterMembersAtTheirValuesBeforeTheRead)
{
    // A version-150 file: no late member, no late string.
    const Bytes file = FileBytes()
                           .i32(150)
                           .i32(5)
                           .u8(7)            // m_Byte
                           .i16(1)           // m_Short
                           .i32(42)          // m_Int
                           .raw(Bytes(8, 0)) // m_Double 0.0
                           .i32(4)           // m_Array
                           .i32(5)
                           .i32(6)
                           .i32(1) // one string
                           .str("old")
                           .i32(0); // no items

    cTestRecord r;
    r.m_Late = 99;
    r.m_LateText = "default";
    ASSERT_EQ(LoadFileBytes(r, file), 1);
    EXPECT_EQ(g_FileVersion, 150);
    EXPECT_EQ(r.m_Byte, 7);
    EXPECT_EQ(r.m_Short, 1);
    EXPECT_EQ(r.m_Int, 42);
    EXPECT_EQ(r.m_Array[2], 6);
    EXPECT_EQ(r.m_Name, "old");
    EXPECT_EQ(r.m_Late, 99);
    EXPECT_EQ(r.m_LateText, "default");

    // A Load leaves the tables describing the current version again.
    cTestRecord direct;
    auto stream = OpenReadBytes(file);
    direct.Load(stream->in);
    ASSERT_FALSE(stream->in.failed());
    EXPECT_EQ(direct.FieldCount(), 6);
    EXPECT_EQ(direct.StringCount(), 2);
}

TEST_F(RecordBase, FewerBlocksThanRegisteredLeaveTheRestAsTheyWere)
{
    const Bytes file = FileBytes().i32(kDataVersion).i32(1).u8(3).i32(0).i32(0);
    cTestRecord r;
    r.m_Int = 8;
    r.m_Name = "kept";
    ASSERT_EQ(LoadFileBytes(r, file), 1);
    EXPECT_EQ(r.m_Byte, 3);
    EXPECT_EQ(r.m_Int, 8);
    EXPECT_EQ(r.m_Name, "kept");
}

TEST_F(RecordBase, ListsReadAsCountedDefaultElementsOverwrittenByTheirBodies)
{
    cTestRecord empty;
    ByteWriter w;
    SaveVector(empty.m_Items, w);
    EXPECT_EQ(w.take(), (Bytes{0, 0, 0, 0}));

    // Count 0 empties a list that held elements.
    auto stream = OpenReadBytes(FileBytes().i32(kDataVersion).i32(0));
    std::vector<cTestItem> items(3);
    LoadVector(items, stream->in);
    EXPECT_FALSE(stream->in.failed());
    EXPECT_TRUE(items.empty());

    // An element body with fewer blocks keeps the default element's values.
    const Bytes two = FileBytes()
                          .i32(kDataVersion)
                          .i32(2)
                          .i32(0) // first: no members, no strings
                          .i32(0)
                          .i32(1) // second: its value, no strings
                          .i32(6)
                          .i32(0);
    cTestItem proto;
    proto.m_Value = 11;
    proto.m_Name = "proto";
    auto second = OpenReadBytes(two);
    LoadVector(items, second->in, proto);
    ASSERT_FALSE(second->in.failed());
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].m_Value, 11);
    EXPECT_EQ(items[0].m_Name, "proto");
    EXPECT_EQ(items[1].m_Value, 6);
    EXPECT_EQ(items[1].m_Name, "proto");
}

// Every kind of damage is a load failure that leaves the record untouched.
TEST_F(RecordBase, DamagedFilesAreRefusedAndLeaveTheRecordAsItWas)
{
    const Bytes good = SaveToBytes(*std::make_unique<cTestRecord>(sampleRecord()));

    struct Case {
        const char* what;
        Bytes file;
    };
    std::vector<Case> cases;
    cases.push_back({"empty file", {}});
    cases.push_back({"version only", Bytes(good.begin(), good.begin() + 4)});
    // One more block than version 511 registers.
    cases.push_back({"more member blocks than registered",
                     FileBytes().i32(kDataVersion).i32(7).raw(Bytes(64, 0))});
    cases.push_back({"negative member count", FileBytes().i32(kDataVersion).i32(-1)});
    // Two strings are registered.
    cases.push_back({"more strings than registered",
                     FileBytes().i32(kDataVersion).i32(0).i32(3).i32(1).i32(1).i32(1).i32(0)});
    cases.push_back({"string length 0", FileBytes().i32(kDataVersion).i32(0).i32(1).i32(0).i32(0)});
    cases.push_back({"string length past the end",
                     FileBytes().i32(kDataVersion).i32(0).i32(1).i32(1000).raw({'a', 'b', 'c'})});
    cases.push_back({"string length of 4 GB", FileBytes().i32(kDataVersion).i32(0).i32(1).i32(-1)});
    // A list count far beyond the bytes left.
    cases.push_back({"list count larger than the bytes left",
                     FileBytes().i32(kDataVersion).i32(0).i32(0).i32(0x7FFFFFFF)});
    for (std::size_t cut = 5; cut < good.size(); ++cut) {
        cases.push_back({"truncated", Bytes(good.begin(), good.begin() + cut)});
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.what << " (" << c.file.size() << " bytes)");
        cTestRecord r = sampleRecord();
        r.m_Name = "before";
        EXPECT_EQ(LoadFileBytes(r, c.file), 0);
        EXPECT_EQ(r.m_Name, "before");
        EXPECT_EQ(r.m_Int, 123456789);
        EXPECT_EQ(r.m_Items.size(), 2u);
    }
}

TEST_F(RecordBase, ClearZeroesEveryRegisteredMemberAndString)
{
    cTestRecord r = sampleRecord();
    r.Clear();
    EXPECT_EQ(r.m_Byte, 0);
    EXPECT_EQ(r.m_Short, 0);
    EXPECT_EQ(r.m_Double, 0.0);
    EXPECT_EQ(r.m_Array[1], 0);
    EXPECT_EQ(r.m_Late, 0);
    EXPECT_EQ(r.m_Name, "");
    EXPECT_EQ(r.m_LateText, "");
    EXPECT_EQ(r.m_Items.size(), 2u); // lists are the class's own
}

TEST_F(RecordBase, AssignCopiesRegisteredValuesButNotLists)
{
    cTestRecord src = sampleRecord();
    cTestRecord dst;
    dst.Assign(src);
    EXPECT_EQ(dst.m_Int, src.m_Int);
    EXPECT_EQ(dst.m_Array[2], 3);
    EXPECT_EQ(dst.m_Late, 77);
    EXPECT_EQ(dst.m_LateText, "late");
    EXPECT_TRUE(dst.m_Items.empty());
}

TEST_F(RecordBase, CopiesDescribeThemselvesNotTheirSource)
{
    cTestRecord original = sampleRecord();
    original.Clear(); // registered: its tables point into original
    original.m_Int = 1;
    cTestRecord copy(original);
    copy.m_Int = 2;
    cTestRecord assigned;
    assigned = original;
    assigned.m_Int = 3;
    original.m_Int = 4;

    cTestRecord back;
    ASSERT_EQ(LoadFileBytes(back, SaveToBytes(copy)), 1);
    EXPECT_EQ(back.m_Int, 2);
    ASSERT_EQ(LoadFileBytes(back, SaveToBytes(assigned)), 1);
    EXPECT_EQ(back.m_Int, 3);

    // A list that grows moves its elements; each still saves its own values.
    std::vector<cTestItem> items(1);
    items[0].Clear();
    items[0].m_Value = 5;
    items.resize(100);
    ByteWriter w;
    items[0].Save(w);
    const auto saved = w.take();
    EXPECT_EQ(saved[4], 5);
}

TEST_F(RecordBase, TableEntriesOutsideTheTablesAreUsableFallbacks)
{
    cTestItem item;
    item.Clear();
    item.m_Value = 3;
    // Entry 0 stands in for an index past the end.
    EXPECT_EQ(item.FieldAt(5).m_Member, item.FieldAt(0).m_Member);

    // A record with empty tables still hands out entries that are safe to use.
    cEdData empty;
    empty.RegisterMembers(kDataVersion);
    StringDesc& d = empty.StringAt(0);
    ASSERT_NE(d.m_String, nullptr);
    *d.m_String = "scratch";
    EXPECT_EQ(empty.FieldAt(0).m_Count, 0);
}

TEST_F(RecordBase, FilesOnDiskSaveAtomicallyAndLoadOnlyWhenPresent)
{
    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.path());

    cTestRecord original = sampleRecord();
    ASSERT_EQ(original.SaveFile("rec.dat"), 1);
    cTestRecord loaded;
    ASSERT_EQ(LoadFile(loaded, "rec.dat"), 1);
    expectSameValues(original, loaded);

    cTestRecord untouched = sampleRecord();
    EXPECT_EQ(LoadFile(untouched, "missing.dat"), 0);
    EXPECT_EQ(untouched.m_Name, "name");

    // An empty path stands for the name "err".
    dir.write("err", std::string(reinterpret_cast<const char*>(SaveToBytes(original).data()),
                                 SaveToBytes(original).size()));
    cTestRecord fromErr;
    EXPECT_EQ(LoadFile(fromErr, ""), 1);
    EXPECT_EQ(fromErr.m_Name, "name");
}

TEST_F(RecordBase, ListStringsKeepCarriageReturnsAndRefuseDamage)
{
    g_StripCR = 1;
    ByteWriter w;
    std::string text = "a\r\nb";
    SaveListString(text, w);
    Bytes bytes = w.take();
    plat::ByteReader r(bytes);
    std::string back;
    LoadListString(back, r);
    EXPECT_FALSE(r.failed());
    EXPECT_EQ(back, "a\r\nb");

    Bytes zeroLength = {0, 0, 0, 0};
    plat::ByteReader bad(zeroLength);
    LoadListString(back, bad);
    EXPECT_TRUE(bad.failed());
}

} // namespace
