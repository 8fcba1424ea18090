#include "world/group_list.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

struct Member {
    int number = 0;
    std::int32_t m_GroupSlot = -1;
};

std::vector<int> Walk(const cGroupList<Member>& list)
{
    std::vector<int> out;
    for (Member* m : list)
        out.push_back(m->number);
    return out;
}

// The walk, the slots seen as holes, and each member's own slot agree.
void ExpectConsistent(const cGroupList<Member>& list)
{
    std::size_t live = 0;
    const auto slots = list.Slots();
    for (std::size_t i = 0; i < slots.size(); ++i)
        if (slots[i]) {
            ++live;
            EXPECT_EQ(slots[i]->m_GroupSlot, static_cast<std::int32_t>(i));
        }
    EXPECT_EQ(live, list.size());
    EXPECT_EQ(list.empty(), live == 0);
    EXPECT_TRUE(slots.empty() || slots.back()) << "no hole at the end";
}

TEST(GroupList, KeepsTheOrderOfEntryThroughRemovalsAndClosingUp)
{
    std::array<Member, 200> members;
    cGroupList<Member> list;
    std::vector<int> expected;
    for (int i = 0; i < 200; ++i)
        members[static_cast<std::size_t>(i)].number = i;
    // Enter in waves, taking out two of every three and the newest ones, so
    // that holes pile up, get closed up, and the list shrinks at its end.
    int next = 0;
    for (int wave = 0; wave < 4; ++wave) {
        for (int k = 0; k < 50; ++k, ++next) {
            list.Add(members[static_cast<std::size_t>(next)]);
            expected.push_back(next);
        }
        std::vector<int> kept;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const bool leaves = i % 3 != 0 || i + 3 >= expected.size();
            if (leaves)
                list.Remove(members[static_cast<std::size_t>(expected[i])]);
            else
                kept.push_back(expected[i]);
        }
        expected = kept;
        SCOPED_TRACE(wave);
        EXPECT_EQ(Walk(list), expected);
        ExpectConsistent(list);
        EXPECT_LE(list.Slots().size(), 2 * list.size() + 50) << "holes are closed up";
    }
    for (int number : expected)
        EXPECT_EQ(members[static_cast<std::size_t>(number)].m_GroupSlot >= 0, true);
}

TEST(GroupList, FrontAndWalkStepOverHoles)
{
    std::array<Member, 4> members{{{0}, {1}, {2}, {3}}};
    cGroupList<Member> list;
    for (Member& m : members)
        list.Add(m);
    list.Remove(members[0]);
    list.Remove(members[2]);
    EXPECT_EQ(list.front(), &members[1]);
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 3}));
    EXPECT_EQ(members[0].m_GroupSlot, -1);
    list.Remove(members[3]);
    EXPECT_EQ(list.Slots().size(), 2u) << "the trailing holes go";
    list.Remove(members[1]);
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(list.Slots().empty());
    EXPECT_EQ(list.begin(), list.end());
    list.Add(members[2]);
    EXPECT_EQ(Walk(list), (std::vector<int>{2}));
    ExpectConsistent(list);
}

} // namespace
