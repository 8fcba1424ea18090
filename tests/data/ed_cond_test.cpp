// Conditions and key conditions: their layouts per version, the upgrades of
// older files, the lists and the direction codes.

#include <gtest/gtest.h>

#include "data/ed_cond.h"
#include "data/ed_key_cond.h"
#include "file_bytes.h"

namespace {

using test::FileBytes;

struct CondValues {
    int kind = 0, value = 0, owner = 0, item = 0, leftKind = 0, index = 0;
    int rightKind = 0, rightOwner = 0, rightItem = 0, op = 0, percent = 0, shape = 0;
};

// A whole file holding one condition body in the layout of the given version.
FileBytes condFile(int version, const CondValues& c)
{
    FileBytes b;
    b.i32(version);
    if (version >= 110) {
        b.i32(17).u8(c.kind).i32(c.value).i32(0).i32(0).u8(c.owner).u8(c.item).u8(c.leftKind);
        b.u8(0).i16(c.index).u8(c.rightKind).u8(c.rightOwner).u8(c.rightItem).u8(0).i16(0);
        b.u8(c.op).u8(c.percent).u8(c.shape);
    } else {
        b.i32(version >= 43 ? 7 : 6).u8(c.kind).i32(c.value).i16(111).i16(222).u8(c.op);
        if (version >= 43) b.u8(c.percent);
        b.u8(c.shape);
    }
    b.i32(0);
    return b;
}

TEST(Conditions, CurrentVersionRoundTripsEveryMember)
{
    cEdCond c;
    c.m_Kind = 4;
    c.m_LeftKind = 1;
    c.m_VarScope = 1;
    c.m_Owner = 2;
    c.m_Item = 3;
    c.m_Index = -7;
    c.m_RightKind = 3;
    c.m_Value = -123456;
    c.m_RandMin = -5;
    c.m_RandMax = 9;
    c.m_RightOwner = 1;
    c.m_RightItem = 14;
    c.m_RightScope = 1;
    c.m_RightIndex = 300;
    c.m_Op = 5;
    c.m_Percent = 1;
    c.m_Shape = 6;
    const auto bytes = SaveToBytes(c);
    // Version, 17 blocks of 28 bytes in all, no strings.
    EXPECT_EQ(bytes.size(), 4u + 4u + 28u + 4u);

    cEdCond back;
    ASSERT_EQ(LoadFileBytes(back, bytes), 1);
    EXPECT_EQ(SaveToBytes(back), bytes);
    EXPECT_EQ(back.m_RightIndex, 300);
    EXPECT_EQ(back.m_Value, -123456);
}

TEST(Conditions, OlderFilesAreUpgraded)
{
    struct Case {
        const char* what;
        int version;
        CondValues in;
        int kind, item, rightItem, op;
    };
    const Case cases[] = {
        {"kind 5 before 160 becomes distance", 150, {.kind = 5}, 7, 0, 0, 0},
        {"kind 4 before 160 stays", 150, {.kind = 4, .owner = 2}, 4, 0, 0, 0},
        {"kind 6 on a block before 161 is negated", 160, {.kind = 6, .item = 2}, 6, 2, 0, 1},
        {"kind 6 on a block from 161 is kept", 161, {.kind = 6, .item = 2}, 6, 2, 0, 0},
        {"kind 6 other state before 161 is kept", 160, {.kind = 6, .item = 1}, 6, 1, 0, 0},
        {"self status 12 before 168 moves twice", 167, {.kind = 4, .item = 12}, 4, 14, 0, 0},
        {"system status is never shifted", 167, {.kind = 4, .owner = 2, .item = 12}, 4, 12, 0, 0},
        {"a variable on the left is not shifted",
         167,
         {.kind = 4, .item = 12, .leftKind = 1},
         4,
         12,
         0,
         0},
        {"right status 10 before 168",
         167,
         {.kind = 4, .owner = 2, .rightKind = 2, .rightItem = 10},
         4,
         0,
         12,
         0},
        {"right status 4 before 203 stays",
         202,
         {.kind = 4, .owner = 2, .rightKind = 2, .rightItem = 4},
         4,
         0,
         4,
         0},
        {"self status 5 before 203", 202, {.kind = 4, .item = 5}, 4, 6, 0, 0},
        {"self status from 203 is kept", 203, {.kind = 4, .item = 5}, 4, 5, 0, 0},
        {"switch 6 before 210", 209, {.kind = 5, .item = 6}, 5, 7, 0, 0},
        {"system switch before 210 is kept", 209, {.kind = 5, .owner = 2, .item = 6}, 5, 6, 0, 0},
        {"switch from 210 is kept", 210, {.kind = 5, .item = 6}, 5, 6, 0, 0},
        {"current version is never upgraded", 511, {.kind = 5, .item = 6}, 5, 6, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEdCond cond;
        ASSERT_EQ(LoadFileBytes(cond, condFile(c.version, c.in).bytes()), 1);
        EXPECT_EQ(cond.m_Kind, c.kind);
        EXPECT_EQ(cond.m_Item, c.item);
        EXPECT_EQ(cond.m_RightItem, c.rightItem);
        EXPECT_EQ(cond.m_Op, c.op);
    }
}

TEST(Conditions, LayoutBeforeVersion110KeepsItsFewMembers)
{
    struct Case {
        int version;
        int percent;
    };
    for (const Case& c : {Case{100, 1}, Case{42, 0}}) {
        SCOPED_TRACE(c.version);
        cEdCond cond;
        ASSERT_EQ(LoadFileBytes(
                      cond, condFile(c.version,
                                     {.kind = 3, .value = -9, .op = 4, .percent = 1, .shape = 2})
                                .bytes()),
                  1);
        EXPECT_EQ(cond.m_Kind, 3);
        EXPECT_EQ(cond.m_Value, -9);
        EXPECT_EQ(cond.m_Op, 4);
        EXPECT_EQ(cond.m_Percent, c.percent);
        EXPECT_EQ(cond.m_Shape, 2);
        EXPECT_EQ(cond.m_Index, 0);
        EXPECT_EQ(cond.m_RandMax, 0);
        EXPECT_EQ(cond.m_RightIndex, 0);
    }
}

TEST(Conditions, ListsLoadNewConditionsAndAssignToTheSourceLength)
{
    std::vector<cEdCond> list(2);
    list[0].m_Kind = 1;
    list[1].m_Kind = 7;
    ByteWriter w;
    w.writeI32(kDataVersion);
    SaveVector(list, w);
    auto stream = OpenReadBytes(w.take());
    std::vector<cEdCond> loaded(5);
    LoadCondList(loaded, stream->in);
    ASSERT_FALSE(stream->in.failed());
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[1].m_Kind, 7);

    std::vector<cEdCond> longer(4);
    AssignCondList(longer, list);
    ASSERT_EQ(longer.size(), 2u);
    EXPECT_EQ(longer[0].m_Kind, 1);
    std::vector<cEdCond> shorter;
    AssignCondList(shorter, list);
    EXPECT_EQ(shorter.size(), 2u);
}

TEST(KeyConditions, StateListTakesTheFileLengthAndNewOnesHaveNineteen)
{
    cEdKeyCond fresh;
    fresh.Reset();
    EXPECT_EQ(fresh.m_KeyStates.size(), 19u);

    FileBytes file;
    file.i32(kDataVersion).i32(5).u8(1).i16(3).i16(30).u8(0).u8(2).i32(0).i32(10);
    for (int i = 0; i < 10; ++i)
        file.u8(static_cast<std::uint8_t>(i % 3));
    cEdKeyCond k;
    ASSERT_EQ(LoadFileBytes(k, file.bytes()), 1);
    EXPECT_EQ(k.m_KeyStates.size(), 10u);
    EXPECT_EQ(k.m_KeyStates[4], 1);
    EXPECT_EQ(k.m_Relative, 1);
    EXPECT_EQ(k.m_HoldMin, 3);
    EXPECT_EQ(k.m_HoldMax, 30);
    EXPECT_EQ(k.m_Mode, 2);
    EXPECT_EQ(SaveToBytes(k), file.bytes());
}

TEST(KeyConditions, StateCountBeyondTheFileIsRefused)
{
    FileBytes file;
    file.i32(kDataVersion).i32(0).i32(0).i32(1000).u8(1).u8(2);
    cEdKeyCond k;
    k.m_Mode = 1;
    EXPECT_EQ(LoadFileBytes(k, file.bytes()), 0);
    EXPECT_EQ(k.m_KeyStates.size(), 19u);
    EXPECT_EQ(k.m_Mode, 1);
}

TEST(KeyConditions, ListElementsStartReset)
{
    FileBytes file;
    // Two key conditions with no members and no strings and 0 or 2 states.
    file.i32(kDataVersion).i32(2).i32(0).i32(0).i32(0).i32(0).i32(0).i32(2).u8(1).u8(1);
    auto stream = OpenReadBytes(file.bytes());
    std::vector<cEdKeyCond> list;
    LoadKeyCondList(list, stream->in);
    ASSERT_FALSE(stream->in.failed());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list[0].m_KeyStates.empty());
    EXPECT_EQ(list[1].m_KeyStates.size(), 2u);
}

TEST(DirectionCodes, EightWayDirectionsMapToMovementCodes)
{
    struct Case {
        int dir, facing, code;
    };
    const Case cases[] = {{0, 0, 2},  {0, 1, 3}, {1, 0, 2}, {2, 0, 3}, {3, 1, 6},
                          {4, 1, 7},  {5, 0, 8}, {5, 1, 8}, {6, 0, 9}, {7, 0, 10},
                          {8, 1, 11}, {9, 0, 2}, {-1, 1, 3}};
    for (const Case& c : cases) {
        EXPECT_EQ(DirectionCode(c.dir, c.facing), c.code) << c.dir << "," << c.facing;
    }
}

} // namespace
