// Key sequences of flows against the input history: hand-built histories
// against conditions and the slack between them, the facing mirror, the
// newest-run test of the jump, the fire direction, and how firing uses
// them: the rising edge, once per frame, conditions before keys.

#include <gtest/gtest.h>

#include <vector>

#include "world/flow_fixture.h"
#include "world/flows.h"
#include "world/random.h"

namespace {

using test::Command;
using test::Flow;
using test::Key;
using test::kSlotButton1;
using test::kSlotButton2;
using test::kSlotDown;
using test::kSlotLeft;
using test::kSlotNone;
using test::kSlotRight;

constexpr std::uint16_t L = kDirLeft;
constexpr std::uint16_t R = kDirRight;
constexpr std::uint16_t U = kDirUp;
constexpr std::uint16_t D = kDirDown;
constexpr std::uint16_t B1 = 1;
constexpr std::uint16_t B2 = 2;

constexpr int kPressed = 1;
constexpr int kReleased = 2;
constexpr int kTriggerDamage = 1;

// A stretch of the input history: what was held, for how many frames.
struct Held {
    std::uint16_t dir;
    std::uint16_t buttons;
    int frames;
};

class KeySequence : public test::FlowFixture {
protected:
    // A fresh history of these stretches, oldest first.
    static const InputState& History(const std::vector<Held>& stretches)
    {
        g_InputState.assign(1, InputState());
        for (const Held& h : stretches)
            PushInput(h.dir, h.buttons, h.frames);
        return g_InputState[0];
    }

    static int Match(const std::vector<cEdKeyCond>& keys, int gap, int facing = 1)
    {
        std::vector<const cEdKeyCond*> pointers;
        for (const cEdKeyCond& key : keys)
            pointers.push_back(&key);
        return MatchKeySequence(g_InputState[0], pointers, gap, facing);
    }
};

TEST_F(KeySequence, HistoriesAgainstConditionsAndGaps)
{
    const cEdKeyCond right = Key({{kSlotRight, kPressed}});
    const cEdKeyCond rightUp = Key({{kSlotRight, kReleased}});
    const cEdKeyCond down = Key({{kSlotDown, kPressed}});
    const cEdKeyCond button = Key({{kSlotButton1, kPressed}});
    const cEdKeyCond rightTwoToFive = Key({{kSlotRight, kPressed}}, 0, 0, 2, 5);
    struct Case {
        const char* name;
        std::vector<Held> history;
        std::vector<cEdKeyCond> keys;
        int gap;
        int want;
    };
    const Case cases[] = {
        {"held now", {{R, 0, 3}}, {right}, 0, 1},
        {"released now", {{R, 0, 3}, {0, 0, 1}}, {right}, 3, 0},
        {"up is released", {{0, 0, 2}}, {rightUp}, 0, 1},
        {"held within the lengths", {{R, 0, 3}}, {rightTwoToFive}, 0, 1},
        {"held too long", {{R, 0, 6}}, {rightTwoToFive}, 0, 0},
        {"held too briefly", {{R, 0, 1}}, {rightTwoToFive}, 0, 0},
        {"double tap", {{R, 0, 2}, {0, 0, 2}, {R, 0, 2}}, {right, rightUp, right}, 3, 1},
        {"double tap without slack",
         {{R, 0, 2}, {0, 0, 2}, {R, 0, 2}},
         {right, rightUp, right},
         0,
         0},
        {"double tap, one frame of slack",
         {{R, 0, 2}, {0, 0, 2}, {R, 0, 2}},
         {right, rightUp, right},
         1,
         1},
        {"a long pause between taps",
         {{R, 0, 2}, {0, 0, 9}, {R, 0, 2}},
         {right, rightUp, right},
         3,
         1},
        {"down then right", {{D, 0, 3}, {R, 0, 2}}, {down, right}, 0, 0},
        {"down then right, slack", {{D, 0, 3}, {R, 0, 2}}, {down, right}, 1, 1},
        {"down, pause, right", {{D, 0, 3}, {0, 0, 3}, {R, 0, 2}}, {down, right}, 2, 0},
        {"down, pause, right, more slack", {{D, 0, 3}, {0, 0, 3}, {R, 0, 2}}, {down, right}, 4, 1},
        {"button held while right comes", {{0, B1, 5}, {R, B1, 2}}, {button, right}, 0, 1},
        {"wrong order", {{R, 0, 3}, {D, 0, 2}}, {down, right}, 3, 0},
        // Without a match within the slack the earlier key is tried one
        // frame after the later key's start: the shift forward from the
        // one-frame gap takes off that gap's length (1), landing 1 frame
        // into the newest run; taking off the newer run's length (2)
        // would land at its very start, where nothing has lasted yet.
        {"one frame later, across a run", {{R, 0, 4}, {0, 0, 1}, {R, 0, 2}}, {right, right}, 1, 1},
        {"nothing ever held", {}, {right}, 3, 0},
    };
    for (const Case& c : cases) {
        History(c.history);
        EXPECT_EQ(Match(c.keys, c.gap), c.want) << c.name;
    }
}

TEST_F(KeySequence, KeyModesAllAnyAndExactlyOne)
{
    History({{0, B1 | B2, 2}});
    const std::pair<int, int> both[] = {{kSlotButton1, kPressed}, {kSlotButton2, kPressed}};
    const std::pair<int, int> oneOfThem[] = {{kSlotButton1, kPressed}, {kSlotRight, kPressed}};
    struct Case {
        bool oneHeld;
        int mode;
        int want;
    };
    const Case cases[] = {{false, 0, 1}, {false, 1, 1}, {false, 2, 0},
                          {true, 0, 0},  {true, 1, 1},  {true, 2, 1}};
    for (const Case& c : cases) {
        const auto& keys = c.oneHeld ? oneOfThem : both;
        const cEdKeyCond key = Key({keys[0], keys[1]}, c.mode);
        EXPECT_EQ(Match({key}, 0), c.want) << c.oneHeld << " " << c.mode;
        EXPECT_EQ(TestKeyCondNow(g_InputState[0], key), c.want) << c.oneHeld << " " << c.mode;
    }
    // A mode the data does not know never holds.
    EXPECT_EQ(Match({Key({both[0]}, 3)}, 0), 0);
}

TEST_F(KeySequence, RelativeKeysAreMirroredForALeftFacingCharacter)
{
    const cEdKeyCond forward = Key({{kSlotRight, kPressed}}, 0, 1, 0, 0, 1);
    const cEdKeyCond absolute = Key({{kSlotRight, kPressed}});
    History({{L, 0, 2}});
    EXPECT_EQ(Match({forward}, 0, 0), 1);
    EXPECT_EQ(Match({forward}, 0, 1), 0);
    EXPECT_EQ(Match({absolute}, 0, 0), 0);
    History({{R, 0, 2}});
    EXPECT_EQ(Match({forward}, 0, 1), 1);
    EXPECT_EQ(Match({forward}, 0, 0), 0);
    // Diagonals change sides too: up-left (5) reads as up-right (7).
    History({{U | L, 0, 2}});
    EXPECT_EQ(Match({Key({{7, kPressed}}, 0, 1, 0, 0, 1)}, 0, 0), 1);
    EXPECT_EQ(Match({Key({{5, kPressed}}, 0, 1, 0, 0, 1)}, 0, 0), 0);
}

TEST_F(KeySequence, NewestRunTestAndFireDirection)
{
    struct Case {
        std::uint16_t dir;
        int direction;
    };
    // 0 nothing, 1 to 8 the exact directions, 9 any other combination.
    const Case cases[] = {{0, 0},     {L, 1},     {R, 2},     {U, 3},     {D, 4},        {U | L, 5},
                          {D | L, 6}, {U | R, 7}, {D | R, 8}, {L | R, 9}, {L | R | U, 9}};
    for (const Case& c : cases) {
        History({{0, 0, 3}, {c.dir, 0, 1}});
        EXPECT_EQ(FirstPressedDirection(g_InputState[0]), c.direction) << c.dir;
    }
    // The newest run only: pressed counts however briefly, no lengths.
    History({{R, 0, 1}});
    EXPECT_EQ(TestKeyCondNow(g_InputState[0], Key({{kSlotRight, kPressed}}, 0, 0, 5, 9)), 1);
    EXPECT_EQ(TestKeyCondNow(g_InputState[0], Key({{kSlotNone, kPressed}})), 0);
}

class KeyFiring : public test::FlowFixture {
protected:
    cNpcObj& StartWith(int repeat)
    {
        cEdFlow flow = Flow(kTriggerDamage, {Command(1)});
        flow.m_KeyConds = {Key({{kSlotButton1, kPressed}})};
        flow.m_KeyRepeat = static_cast<std::uint8_t>(repeat);
        AddChara(20, 10).Flows = {flow};
        FlowFixture::Start();
        return Chara(0);
    }

    // A frame in which the trigger comes in every sub-step: how many times
    // the flow started.
    static int FrameStarts(cNpcObj& chara, std::uint16_t buttons, int subSteps = 2)
    {
        PushInput(0, buttons);
        chara.ResetFlowStepFlags();
        int starts = 0;
        for (int i = 0; i < subSteps; ++i) {
            chara.FireFlows(kTriggerDamage);
            starts += chara.m_FlowRuns[0].m_Running;
            chara.RunFlows(0);
        }
        return starts;
    }
};

TEST_F(KeyFiring, RisingEdgeUnlessTheKeysRepeat)
{
    struct Case {
        int repeat;
        std::vector<int> wantPerFrame;
    };
    // Held for 3 frames, released for 1, held again.
    const std::uint16_t buttons[] = {B1, B1, B1, 0, B1};
    const Case cases[] = {{0, {1, 0, 0, 0, 1}}, {1, {1, 1, 1, 0, 1}}};
    for (const Case& c : cases) {
        g_Stage.PlacedCharas.resize(1);
        m_Play = std::make_unique<cGamePlay>();
        cNpcObj& chara = StartWith(c.repeat);
        for (std::size_t f = 0; f < std::size(buttons); ++f)
            EXPECT_EQ(FrameStarts(chara, buttons[f]), c.wantPerFrame[f]) << c.repeat << " " << f;
    }
}

TEST_F(KeyFiring, ConditionsAreTestedBeforeTheKeys)
{
    cNpcObj& chara = StartWith(0);
    cEdCond cond;
    cond.Clear();
    cond.m_Kind = 2; // stage variable S0 == 1
    cond.m_Value = 1;
    chara.m_Def.Flows[0].m_Conds = {cond};
    // The button comes in while the condition fails: the key test does not
    // run, so the press is still new when the condition holds.
    EXPECT_EQ(FrameStarts(chara, B1), 0);
    EXPECT_EQ(chara.m_FlowRuns[0].m_KeysHeld, 0);
    Play().m_StageVars[0] = 1;
    EXPECT_EQ(FrameStarts(chara, B1), 1);
}

TEST_F(KeyFiring, ConditionsDrawTheirRandomNumbersWhateverTheKeys)
{
    cNpcObj& chara = StartWith(0);
    cEdCond cond;
    cond.Clear();
    cond.m_Kind = 4; // its HP at least a random number from 0 to 5: holds
    cond.m_Item = 1;
    cond.m_RightKind = 1;
    cond.m_RandMax = 5;
    cond.m_Op = 2;
    chara.m_Def.Flows[0].m_Conds = {cond};
    const std::uint32_t before = RandomState();
    EXPECT_EQ(FrameStarts(chara, 0, 1), 0);
    EXPECT_NE(RandomState(), before) << "the condition was tested; the keys then failed";
}

TEST_F(KeyFiring, HeldSequenceKeepsItsExclusionNumberBlocked)
{
    cEdFlow keyed = Flow(0, {Command(1)}, 5);
    keyed.m_KeyConds = {Key({{kSlotButton1, kPressed}})};
    AddChara(20, 10).Flows = {keyed, Flow(0, {Command(1)}, 5)};
    FlowFixture::Start();
    cNpcObj& chara = Chara(0);
    PushInput(0, B1);
    chara.ResetFlowStepFlags();
    chara.FireFlows(0);
    EXPECT_EQ(chara.m_FlowRuns[0].m_Running, 1);
    chara.RunFlows(0);
    // Next frame, still held: the keyed flow does not fire again and keeps
    // the other flow of its number out until the flows have run.
    PushInput(0, B1);
    chara.ResetFlowStepFlags();
    chara.FireFlows(0);
    EXPECT_EQ(chara.m_FlowRuns[0].m_Running, 0);
    EXPECT_EQ(chara.m_FlowRuns[1].m_Running, 0);
    EXPECT_EQ(chara.m_FlowExclRunning[5], 1);
    chara.RunFlows(0);
    EXPECT_EQ(chara.m_FlowExclRunning[5], 0);
    // Once released, the other flow of the number may start.
    PushInput(0, 0);
    chara.ResetFlowStepFlags();
    chara.FireFlows(0);
    EXPECT_EQ(chara.m_FlowRuns[0].m_Running, 0);
    EXPECT_EQ(chara.m_FlowRuns[1].m_Running, 1);
}

} // namespace
