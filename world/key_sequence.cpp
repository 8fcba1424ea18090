// The key sequences of flows against the input history: each key
// condition is tested at a place in time, walking back from the newest
// condition to the oldest, with a few frames of slack between two of them.

#include <algorithm>
#include <cstdint>

#include "data/ed_key_cond.h"
#include "world/flows.h"
#include "world/input_state.h"

namespace {

// Key slots 0 to 9 are the direction lists, 10 to 18 the button lists.
constexpr int kSlots = kDirEdgeLists + kButtonEdgeLists;
constexpr int kNewestRun = 0;
constexpr int kOldestRun = kKeyEdgeCount - 1;

const KeyEdgeList* History(const InputState& input, int slot)
{
    const std::vector<KeyEdgeList>& lists =
        slot < kDirEdgeLists ? input.m_DirEdges : input.m_ButtonEdges;
    const int index = slot < kDirEdgeLists ? slot : slot - kDirEdgeLists;
    return static_cast<std::size_t>(index) < lists.size() ? &lists[static_cast<std::size_t>(index)]
                                                          : nullptr;
}

// Run n of a history; a run the list does not hold is an empty one.
KeyEdge RunOf(const KeyEdgeList* history, int n)
{
    if (!history || n < 0 || static_cast<std::size_t>(n) >= history->size()) return {};
    return (*history)[static_cast<std::size_t>(n)];
}

// A direction slot as a character facing left reads a condition written
// for one facing right: left and right, and the diagonals, change sides.
int MirrorSlot(int slot)
{
    static constexpr int kMirror[kDirEdgeLists] = {0, 2, 1, 3, 4, 7, 8, 5, 6, 9};
    return slot < kDirEdgeLists ? kMirror[slot] : slot;
}

// The place in time at which a condition is tested, kept per history as the
// run under it and how far that run had lasted there.
class cKeyPlace {
public:
    cKeyPlace(const InputState& input, int facing) : m_Facing(facing)
    {
        for (int slot = 0; slot < kSlots; ++slot) {
            m_History[slot] = History(input, slot);
            m_Pos[slot] = RunOf(m_History[slot], kNewestRun).frames;
        }
    }

    // Whether the condition holds here; the length that the next older
    // condition is shifted back by.
    bool Matches(const cEdKeyCond& cond, std::int64_t& length) const
    {
        bool failed = false;
        int matches = 0;
        length = 0;
        const int keys = std::min<int>(static_cast<int>(cond.m_KeyStates.size()), kSlots);
        for (int key = 0; key < keys; ++key) {
            const int state = cond.m_KeyStates[static_cast<std::size_t>(key)];
            if (state != 1 && state != 2) continue;
            const int slot = cond.m_Relative && m_Facing == 0 ? MirrorSlot(key) : key;
            const KeyEdge run = RunOf(m_History[slot], m_Cursor[slot]);
            const std::int64_t b = m_Pos[slot];
            bool ok;
            if (state == 1)
                ok = run.state == 1 &&
                     (cond.m_HoldAny ? b > 0 : cond.m_HoldMin <= b && b <= cond.m_HoldMax);
            else
                ok = run.state == 0 && b > 0;
            if (!ok) {
                failed = true;
                continue;
            }
            if (matches == 0 || cond.m_Mode == 2)
                length = b;
            else if (cond.m_Mode == 0)
                length = std::min(length, b);
            else
                length = std::max(length, b);
            ++matches;
        }
        switch (cond.m_Mode) {
        case 0:
            return !failed;
        case 1:
            return matches >= 1;
        case 2:
            return matches == 1;
        default:
            return false;
        }
    }

    // Moves the place by a number of frames: back (negative) into older
    // runs, forward into newer ones, never past the oldest or newest run.
    // Going forward, a position past the end of its run loses the length of
    // the run it leaves (not of the newer run it enters): a shift back and
    // the same shift forward end where they began, so the slack search
    // stays in step with the run being left.
    void Shift(std::int64_t frames)
    {
        for (int slot = 0; slot < kSlots; ++slot) {
            std::int64_t& pos = m_Pos[slot];
            int& cursor = m_Cursor[slot];
            pos += frames;
            if (frames <= 0) {
                while (pos < 0 && cursor < kOldestRun) {
                    ++cursor;
                    pos += RunOf(m_History[slot], cursor).frames;
                }
            } else {
                while (pos > RunOf(m_History[slot], cursor).frames && cursor > kNewestRun) {
                    pos -= RunOf(m_History[slot], cursor).frames;
                    --cursor;
                }
            }
        }
    }

private:
    int m_Facing;
    const KeyEdgeList* m_History[kSlots] = {};
    int m_Cursor[kSlots] = {};
    std::int64_t m_Pos[kSlots] = {};
};

} // namespace

int MatchKeySequence(const InputState& input, const std::vector<const cEdKeyCond*>& keys, int gap,
                     int facing)
{
    if (keys.empty()) return 1;
    cKeyPlace place(input, facing);
    std::int64_t length = 0;
    for (std::size_t i = keys.size(); i-- > 0;) {
        if (!keys[i]) return 0;
        const cEdKeyCond& key = *keys[i];
        const bool newest = i + 1 == keys.size();
        if (!place.Matches(key, length)) {
            if (newest || gap <= 0) return 0;
            // Up to `gap` frames of slack before the later key; failing
            // that, one frame after it.
            bool found = false;
            int moved = 0;
            while (moved < gap && !found) {
                place.Shift(-1);
                ++moved;
                found = place.Matches(key, length);
            }
            if (!found) {
                place.Shift(moved);
                place.Shift(1);
                if (!place.Matches(key, length)) return 0;
            }
        }
        if (i == 0) return 1;
        place.Shift(-length);
    }
    return 0;
}

int TestKeyCondNow(const InputState& input, const cEdKeyCond& key)
{
    bool failed = false;
    int matches = 0;
    const int keys = std::min<int>(static_cast<int>(key.m_KeyStates.size()), kSlots);
    for (int slot = 0; slot < keys; ++slot) {
        const int state = key.m_KeyStates[static_cast<std::size_t>(slot)];
        if (state != 1 && state != 2) continue;
        const bool pressed = RunOf(History(input, slot), kNewestRun).state == 1;
        if (pressed != (state == 1)) {
            failed = true;
            continue;
        }
        if (key.m_Mode == 1) return 1;
        ++matches;
    }
    switch (key.m_Mode) {
    case 0:
        return failed ? 0 : 1;
    case 2:
        return matches == 1 ? 1 : 0;
    default:
        return 0;
    }
}

int FirstPressedDirection(const InputState& input)
{
    for (int slot = 0; slot < kDirEdgeLists; ++slot)
        if (RunOf(History(input, slot), kNewestRun).state == 1) return slot;
    return 0;
}
