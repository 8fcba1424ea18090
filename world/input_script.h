#pragma once
// Input scripts: the player's input frame by frame as two 16-bit words,
// the direction bits and the button bits, exactly as a replay log keeps
// them; so a script can be played into the world without a window, and the
// same frames can be checked through recording and playback of a log.

#include <cstdint>
#include <vector>

#include "data/replay_log.h"

struct InputState;

struct InputFrame {
    std::uint16_t m_Dir = 0;     // 1 left, 2 right, 4 up, 8 down
    std::uint16_t m_Buttons = 0; // bit k: button k + 1
};

class cInputScript {
public:
    // Appends frames holding these words.
    cInputScript& Hold(std::uint16_t dir, std::uint16_t buttons, int frames);
    int FrameCount() const { return static_cast<int>(m_Frames.size()); }
    // The words of frame n; nothing held past the end.
    InputFrame At(int n) const;
    // Writes frame n into an input record as the devices would: the bits
    // and the direction code.
    void Apply(int n, InputState& state) const;

    // The frames as a replay log (run-length streams with the seed), and back.
    cReplayLog ToReplayLog(std::int32_t seed) const;
    static cInputScript FromReplayLog(const cReplayLog& log);

    std::vector<InputFrame> m_Frames;
};
