// Out-of-range accesses are reported, close the game and yield a usable
// element without touching anything outside the container.
#include "core/checked_access.h"
#include "platform/window_messages.h"
#include "support/report_fixture.h"

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

namespace {

using CheckedAccess = test::ReportFixture;

int ClosesPosted(const std::vector<plat::Message>& messages)
{
    int n = 0;
    for (const auto& m : messages) {
        if (m.wnd == g_hMainWnd && m.msg == WM_CLOSE) ++n;
    }
    return n;
}

// The process-wide default element of a type, fresh for one test and put
// back as it was after it, so that the test can write to what it is given
// and still run again in the same process.
template <class T> class FreshFallback {
public:
    FreshFallback() : saved_(FallbackElement<T>()) { FallbackElement<T>() = T{}; }
    ~FreshFallback() { FallbackElement<T>() = saved_; }
    FreshFallback(const FreshFallback&) = delete;
    FreshFallback& operator=(const FreshFallback&) = delete;

private:
    T saved_;
};

TEST_F(CheckedAccess, AnIndexOutsideAVectorIsReportedClosesTheGameAndYieldsElementZero)
{
    struct Case {
        int index;
        const char* line; // nullptr: in range, nothing reported
        int yields;       // index of the element handed back
    };
    const Case cases[] = {
        {-1, "err V[-1] ( 3 , 4 )", 0},
        {3, "err V[3] ( 3 , 4 )", 0},
        {-2147483647 - 1, "err V[-2147483648] ( 3 , 4 )", 0},
        {0, nullptr, 0},
        {2, nullptr, 2},
    };
    std::vector<int> v{10, 20, 30};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        const auto before = reportLines().size();
        int& got = VecAt(v, c.index);
        EXPECT_EQ(&got, &v[static_cast<std::size_t>(c.yields)]);
        const auto lines = reportLines();
        const auto posted = drainPosted();
        if (c.line) {
            ASSERT_EQ(lines.size(), before + 1);
            EXPECT_EQ(lines.back(), c.line);
            EXPECT_EQ(ClosesPosted(posted), 1);
        } else {
            EXPECT_EQ(lines.size(), before);
            EXPECT_EQ(ClosesPosted(posted), 0);
        }
    }
    EXPECT_EQ(v, (std::vector<int>{10, 20, 30}));
}

TEST_F(CheckedAccess, TheReportedSizeIsThatOfTheElementType)
{
    std::vector<double> doubles(2);
    std::vector<std::string> strings(1);
    const std::vector<char> chars(5);
    VecAt(doubles, 7);
    VecAt(strings, -3);
    VecAt(chars, 5);
    const auto lines = reportLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "err V[7] ( 2 , 8 )");
    EXPECT_EQ(lines[1], "err V[-3] ( 1 , " + std::to_string(sizeof(std::string)) + " )");
    EXPECT_EQ(lines[2], "err V[5] ( 5 , 1 )");
    EXPECT_EQ(ClosesPosted(drainPosted()), 3);
}

TEST_F(CheckedAccess, AnEmptyVectorYieldsAKeptDefaultElementAndStaysEmpty)
{
    const FreshFallback<long long> fallback;
    std::vector<long long> empty;
    long long& first = VecAt(empty, 0);
    EXPECT_EQ(first, 0);
    first = 99; // a caller that writes to what it got
    long long& second = VecAt(empty, -1);
    EXPECT_EQ(&first, &second);
    EXPECT_TRUE(empty.empty());
    const auto lines = reportLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "err V[0] ( 0 , 8 )");
    EXPECT_EQ(lines[1], "err V[-1] ( 0 , 8 )");
    EXPECT_EQ(ClosesPosted(drainPosted()), 2);
}

TEST_F(CheckedAccess, AListIsWalkedByPositionAndAFailureYieldsTheSameDefaultElement)
{
    struct Entry {
        int a = 0;
        int b = 0;
    };
    const FreshFallback<Entry> fallback;
    std::list<Entry> l{{1, 2}, {3, 4}};
    EXPECT_EQ(ListAt(l, 1).a, 3);
    EXPECT_TRUE(reportLines().empty());

    Entry& first = ListAt(l, 2);
    EXPECT_EQ(first.a, 0);
    first.a = 5;
    Entry& again = ListAt(l, -1);
    EXPECT_EQ(&first, &again); // not element 0, even though there is one
    EXPECT_EQ(again.a, 5);     // with what the caller left in it
    EXPECT_EQ(l.front().a, 1);
    const auto lines = reportLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "err L[2] ( 2 , 8 )");
    EXPECT_EQ(lines[1], "err L[-1] ( 2 , 8 )");
    EXPECT_EQ(ClosesPosted(drainPosted()), 2);
}

TEST_F(CheckedAccess, AFailureStillClosesAndYieldsWhenTheReportCannotBeOpened)
{
    std::filesystem::remove(dir_ / "report.txt");
    std::vector<int> v{4, 5};
    EXPECT_EQ(&VecAt(v, 9), &v[0]);
    EXPECT_EQ(ClosesPosted(drainPosted()), 1);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "report.txt"));
}

TEST_F(CheckedAccess, VecFillSetsEveryElement)
{
    std::vector<int> ints(4, 1);
    VecFill(ints, 7);
    EXPECT_EQ(ints, std::vector<int>(4, 7));
    std::vector<char> chars(3, 'a');
    VecFill(chars, 'z');
    EXPECT_EQ(chars, std::vector<char>(3, 'z'));
    std::vector<int> empty;
    VecFill(empty, 7);
    EXPECT_TRUE(empty.empty());
    EXPECT_TRUE(reportLines().empty());
}

TEST_F(CheckedAccess, RemoveCharaRefRemovesEveryCopyAndKeepsTheOrder)
{
    int a = 0, b = 0, c = 0, d = 0;
    struct Case {
        std::vector<int*> before;
        int* ref;
        std::vector<int*> after;
        bool removed;
    };
    const Case cases[] = {
        {{&a, &b, &a, &c}, &a, {&b, &c}, true},
        {{&a, &b, &a, &c}, &d, {&a, &b, &a, &c}, false},
        {{&a, &a}, &a, {}, true},
        {{}, &a, {}, false},
    };
    for (const auto& t : cases) {
        auto v = t.before;
        EXPECT_EQ(RemoveCharaRef(v, t.ref), t.removed);
        EXPECT_EQ(v, t.after);
    }
    auto shared = std::make_shared<int>(1);
    std::vector<std::shared_ptr<int>> owners{shared, std::make_shared<int>(2), shared};
    EXPECT_TRUE(RemoveCharaRef(owners, shared));
    ASSERT_EQ(owners.size(), 1u);
    EXPECT_EQ(*owners[0], 2);
    EXPECT_TRUE(reportLines().empty());
}

} // namespace
