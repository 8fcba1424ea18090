#pragma once
// An animation played over a character's own ("cAnimePlayer"): started by
// a command or by a flow's animation schedule, tagged with the flow's
// serial so that the flow operations can remove, hold or resume it.

#include <cstdint>

#include "world/frame_seq.h"

struct OverlayAnim {
    cFrameSeq m_Seq;               // its own frame sequences
    std::int32_t m_Ranked = 0;     // 1 for overlays started by flow schedules
    std::int32_t m_Countdown = 0;  // frames until it starts; negative after
    std::int32_t m_Length = 0;     // frames it lasts
    std::int32_t m_FlowSerial = 0; // serial of the flow run that started it
    std::int32_t m_Held = 0;       // 1: frozen, not stepped and not chosen
};
