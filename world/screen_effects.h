#pragma once
// The screen effects of the play field: one drawing routine per kind,
// called once per drawn frame while a screen effect runs.

inline constexpr int kScrEffectKinds = 14;

// The running screen effect's frame ("RunScreenEffect"): nothing while none
// runs; at its end the effect stops and the virtual back buffer is copied
// back. frozen: the frame is drawn but the effect does not advance.
void DrawScrEffect(int frozen);
// The handler of each kind: draws the frame and, unless frozen, advances
// the running effect; 1 when it has ended.
using ScrEffectProc = int (*)(int frozen);
extern const ScrEffectProc g_ScrEffectProc[kScrEffectKinds];
