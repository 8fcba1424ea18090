// The frame-sequence animator: steps, control codes, and switching sequences.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "world/frame_seq.h"

namespace {

cFrameSeq animator(std::vector<FrameSeq> sequences)
{
    cFrameSeq seq;
    seq.Build(std::move(sequences));
    return seq;
}

std::vector<int> run(cFrameSeq& seq, int calls)
{
    std::vector<int> frames;
    for (int i = 0; i < calls; ++i)
        frames.push_back(seq.Step());
    return frames;
}

TEST(FrameSequences, ControlCodesLoopHoldJumpAndEnd)
{
    struct Case {
        const char* what;
        FrameSeq first;
        std::vector<int> expected;
    };
    const FrameSeq jumpTarget = {{7, 2, 0}, {8, 2, 0}, {-2, 0, 0}};
    const Case cases[] = {
        {"loop", {{5, 4, 0}, {6, 4, 0}, {-2, 0, 0}}, {5, 5, 5, 6, 6, 6, 6, 5, 5, 5, 5, 6}},
        {"hold the last frame",
         {{5, 4, 0}, {6, 4, 0}, {-1, 0, 0}},
         {5, 5, 5, 6, 6, 6, 6, 6, 6, 6, 6, 6}},
        {"jump to sequence 1", {{5, 4, 0}, {-3, 1, 0}}, {5, 5, 5, 7, 7, 8, 8, 7, 7, 8, 8, 7}},
        {"end of a one-shot", {{5, 2, 0}, {-4, 0, 0}}, {5, -4}},
        {"duration 1 advances every call", {{1, 1, 0}, {2, 1, 0}, {-2, 0, 0}}, {2, 1, 2, 1}},
        {"duration 0 advances on the first call", {{1, 0, 0}, {2, 3, 0}, {-2, 0, 0}}, {2, 2, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cFrameSeq seq = animator({c.first, jumpTarget});
        seq.Set(0, 1);
        EXPECT_EQ(run(seq, static_cast<int>(c.expected.size())), c.expected);
    }
}

TEST(FrameSequences, EmptyAnimatorShowsFrameZero)
{
    cFrameSeq seq;
    EXPECT_EQ(seq.Step(), 0);
    EXPECT_EQ(seq.Current(), 0);
}

TEST(FrameSequences, FlaggedStepRefusesAnUnforcedSwitch)
{
    cFrameSeq seq = animator({{{1, 5, 1}, {-2, 0, 1}}, {{2, 5, 0}, {-2, 0, 0}}});
    seq.Step();
    seq.Step();
    EXPECT_EQ(seq.Set(1, 0), 0);
    EXPECT_EQ(seq.CurrentSequence(), 0);
    EXPECT_EQ(seq.Counter(), 2);
    EXPECT_EQ(seq.Change(0, 0), 1); // already current
    EXPECT_EQ(seq.Counter(), 2);
    EXPECT_EQ(seq.Change(1, 0), 0);
    EXPECT_EQ(seq.Set(1, 1), 1);
    EXPECT_EQ(seq.CurrentSequence(), 1);
    EXPECT_EQ(seq.Counter(), 0);
    EXPECT_EQ(seq.Current(), 2);
}

TEST(FrameSequences, FirstStepAfterASwitchLastsExactlyItsDuration)
{
    cFrameSeq seq = animator({{{1, 9, 0}, {-2, 0, 0}}, {{4, 3, 0}, {5, 3, 0}, {-2, 0, 0}}});
    seq.Step();
    seq.Set(1, 0);
    EXPECT_EQ(run(seq, 4), (std::vector<int>{4, 4, 5, 5}));
}

TEST(FrameSequences, BuildReadsDefinitionTables)
{
    static const std::int32_t walk[] = {3, 4, 0, 4, 4, 0x101, -2, 0, 0};
    static const std::int32_t lone[] = {-4, 0, 0};
    static const std::int32_t* const table[] = {walk, lone, nullptr};
    cFrameSeq seq;
    seq.Build(table);
    ASSERT_EQ(seq.Sequences().size(), 2u);
    ASSERT_EQ(seq.Sequences()[0].size(), 3u);
    EXPECT_EQ(seq.Sequences()[0][1].m_Flag, 1); // only the low byte is kept
    EXPECT_EQ(seq.Sequences()[1].size(), 1u);
    seq.Build(nullptr);
    EXPECT_EQ(seq.Sequences().size(), 2u);
}

TEST(FrameSequences, AnimatorsBuiltFromOneTableShareItAndKeepTheirPlace)
{
    const FrameSeqTable table = std::make_shared<const std::vector<FrameSeq>>(
        std::vector<FrameSeq>{{{1, 2, 0}, {-2, 0, 0}}, {{7, 1, 0}, {-1, 0, 0}}});
    cFrameSeq a;
    cFrameSeq b;
    a.Build(table);
    b.Build(table);
    EXPECT_EQ(&a.Sequences(), table.get());
    EXPECT_EQ(&b.Sequences(), table.get());
    a.Set(1, 1);
    EXPECT_EQ(a.Step(), 7);
    a.Build(FrameSeqTable());
    EXPECT_EQ(&a.Sequences(), table.get()) << "a null table changes nothing";
    a.Build(std::vector<FrameSeq>{{{3, 1, 0}, {-2, 0, 0}}, {{9, 1, 0}, {-2, 0, 0}}});
    EXPECT_EQ(a.CurrentSequence(), 1) << "the place is kept";
    EXPECT_EQ(a.Current(), 9);
    EXPECT_EQ(b.Step(), 1) << "the other animator keeps the shared table";
}

} // namespace
