#pragma once
// A player of the bundled game for recording demos: each frame it looks at
// the play as a player looks at the screen and chooses the keys: it walks
// right, jumps over pits, spikes, walls and foes ahead (holding the jump
// for the highest one, begun at the very edge of what it jumps), climbs
// onto a low platform over ground that is not safe, and shoots at foes in
// front. Told
// to lose its attempt, it walks right without jumping until it falls.

#include "world/input_script.h"

class cGamePlay;

namespace test {

class DemoBot {
public:
    // The keys for the next frame of play.
    InputFrame Decide(cGamePlay& play);

    // Walk on without jumping (to lose the attempt).
    bool m_Reckless = false;

private:
    int m_JumpHeld = 0; // frames the jump button has been held
    int m_Frame = 0;    // frames decided
};

} // namespace test
