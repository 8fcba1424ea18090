#include "world/input_state.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(InputDirection, CodeOfEachBitsWord)
{
    struct Case {
        std::uint16_t bits;
        int code;
    };
    const Case cases[] = {
        {0, 5},
        {kDirLeft, 4},
        {kDirRight, 6},
        {kDirUp, 2},
        {kDirDown, 8},
        {kDirUp | kDirLeft, 1},
        {kDirUp | kDirRight, 3},
        {kDirDown | kDirLeft, 7},
        {kDirDown | kDirRight, 9},
        // Left wins over right, up over down.
        {kDirLeft | kDirRight, 4},
        {kDirUp | kDirDown, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DirCode(c.bits), c.code) << c.bits;
}

TEST(InputHistory, ValueNFramesAgoWalksBackThroughRuns)
{
    InputState state;
    // C held 2 frames, B 3 frames, then A 5 frames (A is the newest run).
    state.m_DirBits = 4;
    for (int i = 0; i < 2; ++i)
        PushKeyHistory(state);
    state.m_DirBits = 2;
    for (int i = 0; i < 3; ++i)
        PushKeyHistory(state);
    state.m_DirBits = 1;
    for (int i = 0; i < 5; ++i)
        PushKeyHistory(state);

    EXPECT_EQ(KeyHistoryAt(state, 0, 0), 1);
    EXPECT_EQ(KeyHistoryAt(state, 0, 4), 1);
    EXPECT_EQ(KeyHistoryAt(state, 0, 5), 2);
    EXPECT_EQ(KeyHistoryAt(state, 0, 7), 2);
    EXPECT_EQ(KeyHistoryAt(state, 0, 8), 4);
}

TEST(InputHistory, ClearEmptiesBothRings)
{
    InputState state;
    state.m_ButtonBits = 3;
    PushKeyHistory(state);
    PushKeyHistory(state);
    ClearKeyHistory(state);
    EXPECT_EQ(state.m_HistoryIndex[1], 0);
    EXPECT_EQ(state.m_History[1][1].value, 0);
    EXPECT_EQ(KeyHistoryAt(state, 1, 0), 0);
}

TEST(InputEdges, ChangeStartsARunAndOldRunsMoveBack)
{
    KeyEdgeList list(kKeyEdgeCount);
    PushKeyEdge(list, 1, 1, 0); // holds: a new run
    PushKeyEdge(list, 1, 1, 0);
    PushKeyEdge(list, 0, 1, 0); // released
    ASSERT_EQ(list.size(), 32u);
    EXPECT_EQ(list[0].state, 0);
    EXPECT_EQ(list[0].frames, 1);
    EXPECT_EQ(list[1].state, 1);
    EXPECT_EQ(list[1].frames, 2);
    EXPECT_EQ(list[2].state, 0);
    EXPECT_EQ(list[2].frames, 0);
}

TEST(InputEdges, MaskTestAndSaturation)
{
    KeyEdgeList list(kKeyEdgeCount);
    PushKeyEdge(list, 6, 2, 1);
    EXPECT_EQ(list[0].state, 1);
    list[0].frames = INT_MAX;
    PushKeyEdge(list, 2, 2, 1);
    EXPECT_EQ(list[0].frames, INT_MAX);
}

TEST(InputEdges, UpdateFillsDirectionAndButtonListsAndResetRestoresThem)
{
    InputState state;
    state.m_DirBits = kDirUp | kDirLeft; // list 5 (exactly up-left) and 9 (any)
    state.m_ButtonBits = 0x81;           // buttons 1 and 8
    UpdateKeyEdges(state);
    for (int list = 0; list < kDirEdgeLists; ++list) {
        EXPECT_EQ(state.m_DirEdges[list][0].state, list == 5 || list == 9 ? 1 : 0) << list;
    }
    for (int list = 0; list < kButtonEdgeLists; ++list) {
        EXPECT_EQ(state.m_ButtonEdges[list][0].state, list == 1 || list == 8 ? 1 : 0) << list;
    }
    ResetKeyEdges(state);
    for (const auto& lists : {state.m_DirEdges, state.m_ButtonEdges}) {
        for (const KeyEdgeList& list : lists) {
            ASSERT_EQ(list.size(), 32u);
            for (const KeyEdge& edge : list)
                EXPECT_EQ(edge.state + edge.frames, 0);
        }
    }
}

// Frames (counted from 0) of a hold on which the direction passes.
std::vector<int> PassingFrames(InputState& state, std::uint16_t held, int frames)
{
    std::vector<int> passed;
    for (int f = 0; f < frames; ++f) {
        state.m_DirBits = held;
        AutoRepeatDir(state);
        if (state.m_DirBits & held) passed.push_back(f);
    }
    return passed;
}

TEST(InputAutoRepeat, HeldDirectionPassesAtChangeThenAtDelayAndEachInterval)
{
    InputState state;
    SetAutoRepeat(state, 18, 6);
    EXPECT_EQ(PassingFrames(state, kDirLeft, 31), (std::vector<int>{0, 18, 24, 30}));
    // Changing to right passes at once.
    EXPECT_EQ(PassingFrames(state, kDirRight, 2), (std::vector<int>{0}));
}

TEST(InputAutoRepeat, AddingAnAxisPassesItAndKeepsTheOthersCount)
{
    InputState state;
    SetAutoRepeat(state, 18, 6);
    PassingFrames(state, kDirUp, 10);
    state.m_DirBits = kDirUp | kDirLeft;
    AutoRepeatDir(state);
    EXPECT_EQ(state.m_DirBits, kDirLeft);
    EXPECT_EQ(state.m_RepeatY, 10);
}

TEST(InputAutoRepeat, ZeroIntervalRepeatsEveryFrameAfterTheDelay)
{
    InputState state;
    SetAutoRepeat(state, 2, 0);
    EXPECT_EQ(PassingFrames(state, kDirDown, 5), (std::vector<int>{0, 2, 3, 4}));
}

TEST(InputButtonOnce, APressPassesOnceUntilAllMaskedButtonsAreReleased)
{
    InputState state;
    struct Frame {
        std::uint16_t held;
        std::uint16_t passes;
    };
    const Frame frames[] = {
        {1, 1},     {1, 0}, {1, 0}, {3, 0}, // button 2 added while 1 is held: held back
        {0, 0},                             // both released
        {2, 2},                             // a new press passes
        {2 | 4, 4},                         // an unmasked button is never held back
    };
    for (const Frame& f : frames) {
        state.m_ButtonBits = f.held;
        ButtonOnce(state, 3);
        EXPECT_EQ(state.m_ButtonBits, f.passes) << f.held;
    }
}

TEST(InputButtonOnce, ZeroMaskMeansAllEightButtons)
{
    InputState state;
    state.m_ButtonBits = 0x80;
    ButtonOnce(state, 0);
    EXPECT_EQ(state.m_ButtonBits, 0x80);
    ButtonOnce(state, 0);
    EXPECT_EQ(state.m_ButtonBits, 0);
}

TEST(InputState, StartsWithEmptyRingsAndThirtyTwoRunsPerList)
{
    InputState state;
    EXPECT_EQ(state.m_DirEdges.size(), 10u);
    EXPECT_EQ(state.m_ButtonEdges.size(), 9u);
    EXPECT_EQ(state.m_DirEdges[9].size(), 32u);
    InitJoyButtonMasks(state);
    EXPECT_EQ(state.m_JoyButtonMask[7], 0x80);
    EXPECT_EQ(g_InputState.size(), 1u);
}

} // namespace
