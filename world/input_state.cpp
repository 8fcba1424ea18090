#include "world/input_state.h"

#include <climits>

std::vector<InputState> g_InputState(1);

namespace {

void Saturate(std::int32_t& frames)
{
    if (frames < INT_MAX) ++frames;
}

void ResetEdgeLists(std::vector<KeyEdgeList>& lists, int count)
{
    lists.assign(count, KeyEdgeList(kKeyEdgeCount));
}

// The direction word each direction list compares with, by list number
// (list 9 is any direction: a mask test).
constexpr std::uint16_t kDirEdgeTests[kDirEdgeLists] = {0, 1, 2, 4, 8, 5, 9, 6, 10, 15};

// One axis of AutoRepeatDir: bits of this frame against the same bits of the
// previous frame, which sit 4 bits higher in the history word.
void RepeatAxis(InputState& state, std::int32_t& counter, std::uint16_t axisBits)
{
    const std::uint16_t now = state.m_DirBits & axisBits;
    const std::uint16_t before = (state.m_DirHistory >> 4) & axisBits;
    if (now != before) {
        counter = 0;
        return;
    }
    Saturate(counter);
    // An interval below 1 would divide by zero: every frame past the delay repeats.
    const int interval = state.m_RepeatInterval > 0 ? state.m_RepeatInterval : 1;
    if (counter < state.m_RepeatDelay || counter % interval != 0) {
        state.m_DirBits &= static_cast<std::uint16_t>(~axisBits);
    }
}

} // namespace

InputState::InputState()
{
    ResetEdgeLists(m_DirEdges, kDirEdgeLists);
    ResetEdgeLists(m_ButtonEdges, kButtonEdgeLists);
}

int DirCode(std::uint16_t dirBits)
{
    int code = 5;
    if (dirBits & kDirLeft) {
        code = 4;
    } else if (dirBits & kDirRight) {
        code = 6;
    }
    if (dirBits & kDirUp) {
        code -= 3;
    } else if (dirBits & kDirDown) {
        code += 3;
    }
    return code;
}

void ClearDirection(InputState& state)
{
    state.m_DirBits = 0;
    state.m_DirCode = 5;
}

void ClearButtons(InputState& state)
{
    state.m_ButtonBits = 0;
}

void SetAutoRepeat(InputState& state, int delay, int interval)
{
    state.m_RepeatDelay = delay;
    state.m_RepeatInterval = interval;
}

void InitJoyButtonMasks(InputState& state)
{
    for (int k = 0; k < 8; ++k) state.m_JoyButtonMask[k] = static_cast<std::uint16_t>(1u << k);
}

void ClearKeyHistory(InputState& state)
{
    for (auto& ring : state.m_History) {
        for (auto& entry : ring) entry = {};
    }
    state.m_HistoryIndex[0] = 0;
    state.m_HistoryIndex[1] = 0;
}

void PushKeyHistory(InputState& state)
{
    const std::uint16_t words[2] = {state.m_DirBits, state.m_ButtonBits};
    for (int ring = 0; ring < 2; ++ring) {
        std::int32_t& index = state.m_HistoryIndex[ring];
        index &= kKeyHistoryCount - 1;
        KeyHistoryEntry& newest = state.m_History[ring][index];
        if (newest.value == words[ring]) {
            Saturate(newest.frames);
            continue;
        }
        index = (index + 1) % kKeyHistoryCount;
        state.m_History[ring][index] = {words[ring], 1};
    }
}

std::uint16_t KeyHistoryAt(const InputState& state, int ring, int n)
{
    ring = ring ? 1 : 0;
    int index = state.m_HistoryIndex[ring] & (kKeyHistoryCount - 1);
    // Counted in 64 bits: n may be INT_MAX.
    std::int64_t remainder = static_cast<std::int64_t>(n) + 1;
    for (int i = 0; i < kKeyHistoryCount; ++i) {
        const KeyHistoryEntry& entry = state.m_History[ring][index];
        if (remainder > entry.frames) {
            remainder -= entry.frames;
            index = (index + kKeyHistoryCount - 1) % kKeyHistoryCount;
        }
    }
    return state.m_History[ring][index].value;
}

void ResetKeyEdges(InputState& state)
{
    ResetEdgeLists(state.m_DirEdges, kDirEdgeLists);
    ResetEdgeLists(state.m_ButtonEdges, kButtonEdgeLists);
}

void PushKeyEdge(KeyEdgeList& list, std::uint16_t value, std::uint16_t test, int maskFlag)
{
    if (list.size() != static_cast<std::size_t>(kKeyEdgeCount)) list.resize(kKeyEdgeCount);
    const bool holds = maskFlag ? (value & test) != 0 : value == test;
    KeyEdge& now = list.front();
    if ((now.state == 0) == holds) {
        list.pop_back();
        list.insert(list.begin(), KeyEdge{holds ? 1 : 0, 1});
    } else {
        Saturate(now.frames);
    }
}

void UpdateKeyEdges(InputState& state)
{
    if (state.m_DirEdges.size() != static_cast<std::size_t>(kDirEdgeLists) ||
        state.m_ButtonEdges.size() != static_cast<std::size_t>(kButtonEdgeLists)) {
        ResetKeyEdges(state);
    }
    for (int list = 0; list < kDirEdgeLists; ++list) {
        PushKeyEdge(state.m_DirEdges[list], state.m_DirBits, kDirEdgeTests[list],
                    list == kDirEdgeLists - 1);
    }
    PushKeyEdge(state.m_ButtonEdges[0], state.m_ButtonBits, 0, 0);
    for (int k = 1; k < kButtonEdgeLists; ++k) {
        PushKeyEdge(state.m_ButtonEdges[k], state.m_ButtonBits,
                    static_cast<std::uint16_t>(1u << (k - 1)), 1);
    }
}

void AutoRepeatDir(InputState& state)
{
    state.m_DirHistory = static_cast<std::uint16_t>((state.m_DirHistory << 4) | (state.m_DirBits & 15));
    RepeatAxis(state, state.m_RepeatX, kDirLeft | kDirRight);
    RepeatAxis(state, state.m_RepeatY, kDirUp | kDirDown);
}

void ButtonOnce(InputState& state, std::uint16_t mask)
{
    if (mask == 0) mask = 0xFF;
    const std::uint16_t cameIn = state.m_ButtonBits;
    for (int k = 0; k < 8; ++k) {
        const std::uint16_t bit = static_cast<std::uint16_t>(1u << k);
        if (!(mask & bit) || !(state.m_ButtonBits & bit)) continue;
        if (state.m_OnceLatch == 1) {
            state.m_ButtonBits &= static_cast<std::uint16_t>(~bit);
        } else if (state.m_OnceLatch == 0) {
            // A fresh press: every held button passes this frame.
            state.m_OnceLatch = 1;
            return;
        }
    }
    if (cameIn & mask) {
        state.m_ButtonBits &= static_cast<std::uint16_t>(~mask);
    } else {
        state.m_OnceLatch = 0;
    }
}
