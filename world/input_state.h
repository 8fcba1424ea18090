#pragma once
// One player's input record: this frame's direction and buttons, and what
// the scenes and the flows' key conditions need on top of the raw state
// (the keypad-style direction code, history rings of how long each value
// was held, edge lists of how long each condition held or did not, the
// menus' auto-repeat and the button-once filter). The devices that fill the
// raw bits each frame are the scene manager's (scenes/input_devices.h).
// One thread touches a live record at a time.

#include <cstdint>
#include <vector>

// Direction bits.
inline constexpr std::uint16_t kDirLeft = 1;
inline constexpr std::uint16_t kDirRight = 2;
inline constexpr std::uint16_t kDirUp = 4;
inline constexpr std::uint16_t kDirDown = 8;

struct KeyHistoryEntry {
    std::uint16_t value = 0; // a direction-bits or button-bits word
    std::int32_t frames = 0; // consecutive frames it was seen (saturates)
};

struct KeyEdge {
    std::int32_t state = 0;  // 1 while the list's condition holds
    std::int32_t frames = 0; // consecutive frames of that state (saturates)
};

// Exactly 32 runs, newest first: element 0 is the run going on now.
using KeyEdgeList = std::vector<KeyEdge>;
inline constexpr int kKeyEdgeCount = 32;
inline constexpr int kKeyHistoryCount = 32;
inline constexpr int kDirEdgeLists = 10;
inline constexpr int kButtonEdgeLists = 9;

struct InputState {
    InputState();

    std::uint16_t m_DirBits = 0;    // kDir* bits; several may be set
    std::uint16_t m_ButtonBits = 0; // bit k while button k+1 is held
    std::uint16_t m_DirHistory = 0; // AutoRepeatDir: raw direction bits, 4 per frame
    KeyHistoryEntry m_History[2][kKeyHistoryCount]{}; // ring 0 directions, ring 1 buttons
    std::int32_t m_HistoryIndex[2]{};                 // newest entry of each ring
    // List 0 no direction, 1-8 exactly left, right, up, down, up-left,
    // down-left, up-right, down-right, 9 any direction.
    std::vector<KeyEdgeList> m_DirEdges;
    // List 0 no button, k (1-8) button k held.
    std::vector<KeyEdgeList> m_ButtonEdges;
    std::int32_t m_DirCode = 5; // 1-9 on a keypad read from the top left; 5 none
    std::int32_t m_RepeatX = 0; // frames the left/right bits stayed unchanged
    std::int32_t m_RepeatY = 0; // frames the up/down bits stayed unchanged
    std::int32_t m_RepeatDelay = 0;
    std::int32_t m_RepeatInterval = 0;
    std::int32_t m_OnceLatch = 0; // ButtonOnce holds buttons back until released
    std::uint16_t m_JoyButtonMask[8]{}; // joystick buttons that make button k+1
    std::int32_t m_JoyOk = 0;           // 1 after a successful joystick read
    std::int32_t m_JoyRetry = 0;        // frames before the next read after a failure
};

// The direction code of a bits word: 4 for left, else 6 for right, else 5;
// then minus 3 for up, else plus 3 for down.
int DirCode(std::uint16_t dirBits);

void ClearDirection(InputState& state); // bits 0, code 5
void ClearButtons(InputState& state);   // bits 0

void SetAutoRepeat(InputState& state, int delay, int interval);
// Mask k = 1 << k.
void InitJoyButtonMasks(InputState& state);

// Zeroes both rings and their indices (stage start).
void ClearKeyHistory(InputState& state);
// Counts this frame's direction and button words into their rings.
void PushKeyHistory(InputState& state);
// The value of a ring (0 directions, 1 buttons) n frames ago; n = 0 is now.
std::uint16_t KeyHistoryAt(const InputState& state, int ring, int n);

// Every list back to 32 runs of {0, 0} (stage start).
void ResetKeyEdges(InputState& state);
// Counts this frame into every direction and button list.
void UpdateKeyEdges(InputState& state);
// One list: the condition holds when (maskFlag) value & test != 0, else
// when value == test. A change of state starts a new run at the front.
void PushKeyEdge(KeyEdgeList& list, std::uint16_t value, std::uint16_t test, int maskFlag);

// Menus: lets a held direction pass on the frame it changed, then on the
// delay-th frame and every interval frames after it.
void AutoRepeatDir(InputState& state);
// Menus: a press of a masked button passes for one frame; then all masked
// buttons read released until a frame with none held. Mask 0 is all eight.
void ButtonOnce(InputState& state, std::uint16_t mask);

// The one input record of the program (player 1); the pause thread polls a
// copy of it.
extern std::vector<InputState> g_InputState;
