// The look two nodes ahead of a list walk: the element there, or none when
// the list ends first, whatever the list's length and the walk's place.
#include "core/list_prefetch.h"

#include <gtest/gtest.h>

#include <iterator>
#include <list>

namespace {

TEST(ListPrefetch, TwoAheadIsTheElementTwoNodesOnOrNone)
{
    for (int length = 0; length <= 4; ++length) {
        std::list<int> list;
        for (int i = 0; i < length; ++i)
            list.push_back(i);
        for (int at = 0; at <= length; ++at) {
            const int* ahead = TwoAhead(list, std::next(list.cbegin(), at));
            if (at + 2 < length) {
                ASSERT_NE(ahead, nullptr) << length << " " << at;
                EXPECT_EQ(*ahead, at + 2);
                EXPECT_EQ(ahead, &*std::next(list.cbegin(), at + 2));
            } else {
                EXPECT_EQ(ahead, nullptr) << length << " " << at;
            }
        }
    }
}

} // namespace
