#pragma once
// One axis of the play view: where the 640 x 480 view lies in the block
// map, how far it may go, its auto-scroll, and the sizes of the map along
// the axis. The stage set-up fills every value; the play step moves it once
// per sub-step, and the player's moves make it follow the player.

#include <cstdint>

struct cScrollAxis {
    double m_Pos = 0;             // left (top) edge of the view in map pixels
    std::int32_t m_AtLimit = 0;   // 1 while the last clamp held the view at a bound
    std::int32_t m_Axis = 0;      // 0 horizontal, 1 vertical
    std::int32_t m_ViewSize = 0;  // 640 or 480
    std::int32_t m_Min = 0;       // the view shows nothing left of (above) it
    std::int32_t m_Max = 0;       // nor right of (below) it; exclusive
    std::int32_t m_Base = 0;      // 320: the stage's near edge behind the 10-block margin
    std::int32_t m_Full = 0;      // the stage's far edge, exclusive ("stage end")
    std::int32_t m_Outer = 0;     // the world's far edge: the stage's stored extent + 640
    std::int32_t m_Margin = 0;    // 10 blocks
    std::int32_t m_MapSize = 0;   // cells of the map along the axis (margins included)
    std::int32_t m_Pitch = 0;     // cells per row of the map (horizontal axis), else the rows
    std::int32_t m_Shift = 0;     // log2 of the pitch (horizontal axis), else 0
    double m_Speed = 0;           // auto-scroll speed per sub-step
    std::int32_t m_Auto = 0;      // 1 while the axis scrolls by itself
    std::int32_t m_AreaFirst = 0; // first column (row) of the current area: the margin

    // Keeps the view within [minimum, maximum - view size]; the minimum wins
    // when the range is too small.
    void Clamp();
    // One sub-step of auto-scroll: position += speed, then Clamp.
    void Step();
    // On: speed = value (tenths of a pixel per frame) x 0.1 / sub-steps per
    // frame, auto flag 1; off: speed 0, auto flag 0.
    void SetAutoScroll(int on, int value);
    // Minimum = base + 32 x first when limitFirst, else base; maximum = base
    // + 32 x (last + 1), at least the minimum, when limitLast, else the
    // stage's far edge.
    void SetRange(int first, int last, int limitFirst, int limitLast);
    // The auto-scroll speed as objects follow it: 0 while held at a limit.
    double FollowSpeed() const { return m_AtLimit ? 0.0 : m_Speed; }
};
