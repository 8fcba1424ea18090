#include "support/demo_bot.h"

#include <cmath>

#include "scenes/game_play.h"
#include "world/input_state.h"

namespace test {

namespace {

constexpr std::uint16_t kJump = 1;
constexpr std::uint16_t kShoot = 2;
// A full jump: the button held this long gives the highest one.
constexpr int kJumpFrames = 20;
// Foes nearer than this many pixels ahead are jumped over; nearer than the
// second, shot at.
constexpr double kFoeJumpReach = 48;
constexpr double kFoeShotReach = 320;
// Columns ahead looked at for platforms.
constexpr int kLookAhead = 2;
// The jump over what lies in the next column begins this near its edge.
constexpr double kJumpEdge = 6;

int Cell(double pixel)
{
    return static_cast<int>(std::floor(pixel / 32));
}

// What lies ahead of the hero, by columns counted from the one in front.
struct Ahead {
    // Where a jump is wanted: 0 a pit under the front, 1 a pit, spikes or
    // a wall in the next column; -1 neither.
    int danger = -1;
    double edge = 0;   // pixels from the front to the next column
    bool step = false; // a block at head height ahead with room on it: climb on
};

Ahead LookAhead(cGamePlay& play)
{
    const cPlayerObj& hero = play.Player.front();
    const int group = hero.m_Def.nGroup;
    const int ground = Cell(hero.m_Bottom + 1);
    const int body = Cell(hero.m_Bottom);
    const int front = Cell(hero.m_Right);
    Ahead ahead;
    const int next = front + 1;
    if (play.HitMode(play.CellAt(front, ground), group) == 0) {
        ahead.danger = 0;
    } else if (play.HitMode(play.CellAt(next, ground), group) != 1 ||
               play.HitMode(play.CellAt(next, body), group) != 0) {
        ahead.danger = 1;
        ahead.edge = next * 32.0 - hero.m_Right;
    }
    // Climbing is the way over ground that is not safe below a platform.
    bool unsafe = false;
    for (int column = front + 1; column <= front + 4; ++column)
        if (play.HitMode(play.CellAt(column, ground), group) != 1) unsafe = true;
    for (int column = front + 1; column <= front + kLookAhead; ++column)
        if (unsafe && play.HitMode(play.CellAt(column, body - 1), group) == 1 &&
            play.HitMode(play.CellAt(column, body - 2), group) == 0 &&
            play.HitMode(play.CellAt(front, body - 1), group) == 0)
            ahead.step = true;
    return ahead;
}

bool FoeWithin(cGamePlay& play, double reach, double above)
{
    const cPlayerObj& hero = play.Player.front();
    for (const cNpcObj& foe : play.m_CharaList) {
        if (foe.m_Dying || !foe.m_Present) continue;
        const double ahead = foe.m_X - hero.m_Right;
        if (ahead > -8 && ahead < reach && foe.m_Bottom > hero.m_Y - above &&
            foe.m_Y < hero.m_Bottom)
            return true;
    }
    return false;
}

} // namespace

InputFrame DemoBot::Decide(cGamePlay& play)
{
    ++m_Frame;
    if (play.m_Phase != PHASE_PLAY || play.Player.empty()) {
        m_JumpHeld = 0;
        return {};
    }
    const cPlayerObj& hero = play.Player.front();
    InputFrame keys{kDirRight, 0};
    if (m_Reckless) return keys;

    // A jump goes on while the button is held; a new one starts on the
    // ground, released for a frame after the last.
    // A pit, spikes or a wall is jumped at its edge, as late as can be: a
    // jump begun a column early falls short of a pit two columns wide.
    const Ahead ahead = LookAhead(play);
    const bool atEdge = ahead.danger == 0 || (ahead.danger == 1 && ahead.edge <= kJumpEdge);
    const bool danger = atEdge || FoeWithin(play, kFoeJumpReach, 32);
    if (m_JumpHeld > 0 && m_JumpHeld < kJumpFrames) {
        ++m_JumpHeld;
        keys.m_Buttons |= kJump;
    } else if (m_JumpHeld >= kJumpFrames) {
        m_JumpHeld = 0;
    } else if (!hero.m_Airborne && (ahead.step || danger)) {
        m_JumpHeld = 1;
        keys.m_Buttons |= kJump;
    }
    if (m_Frame % 2 == 0 && FoeWithin(play, kFoeShotReach, 0)) keys.m_Buttons |= kShoot;
    return keys;
}

} // namespace test
