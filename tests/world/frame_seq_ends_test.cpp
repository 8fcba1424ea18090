// The animator past the end of its sequences: end codes stay, and control
// codes that lead nowhere never read past a sequence.

#include <gtest/gtest.h>

#include <vector>

#include "world/frame_seq.h"

namespace {

std::vector<int> Animate(std::vector<FrameSeq> sequences, int first, int calls)
{
    cFrameSeq seq;
    seq.Build(std::move(sequences));
    seq.Set(first, 1);
    std::vector<int> frames;
    for (int i = 0; i < calls; ++i)
        frames.push_back(seq.Step());
    return frames;
}

TEST(FrameSequenceEnds, CodesThatLeadNowhereStayCurrent)
{
    struct Case {
        const char* what;
        std::vector<FrameSeq> seqs;
        std::vector<int> frames;
    };
    const Case cases[] = {
        {"an end code keeps coming back", {{{5, 1, 0}, {-4, 0, 0}}}, {-4, -4, -4}},
        {"any other negative code too", {{{5, 1, 0}, {-9, 0, 0}}}, {-9, -9, -9}},
        {"-1 on the first step", {{{-1, 0, 0}}}, {-1, -1, -1}},
        {"-3 to a missing sequence", {{{5, 1, 0}, {-3, 7, 0}}}, {-3, -3, -3}},
        {"-3 to an empty sequence", {{{5, 1, 0}, {-3, 1, 0}}, {}}, {-3, -3, -3}},
        {"-2 landing on a code", {{{-2, 0, 0}}}, {-2, -2, -2}},
        {"-3 landing on a code", {{{5, 1, 0}, {-3, 1, 0}}, {{-2, 0, 0}}}, {-2, -2, -2}},
        {"a sequence without a closing code holds its last frame",
         {{{5, 1, 0}, {6, 1, 0}}},
         {6, 6, 6, 6}},
        {"-1 holds the frame before it", {{{5, 1, 0}, {6, 2, 0}, {-1, 0, 0}}}, {6, 6, 6, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Animate(c.seqs, 0, static_cast<int>(c.frames.size())), c.frames);
    }
}

TEST(FrameSequenceEnds, AnEndedSequenceStillSwitches)
{
    cFrameSeq seq;
    seq.Build({{{5, 1, 0}, {-4, 0, 0}}, {{9, 2, 0}, {-2, 0, 0}}});
    seq.Set(0, 1);
    EXPECT_EQ(seq.Step(), -4);
    EXPECT_EQ(seq.Set(1, 0), 1);
    EXPECT_EQ(seq.Step(), 9);
}

} // namespace
