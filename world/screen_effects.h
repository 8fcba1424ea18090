#pragma once
// The screen effects of the play field: one drawing routine per kind,
// called once per drawn frame while a screen effect runs.

inline constexpr int kScrEffectKinds = 14;

// The running screen effect's frame; at its end the effect stops and the
// virtual back buffer is copied back.
void DrawScrEffect(int frozen);
using ScrEffectProc = int (*)(int frozen);
extern const ScrEffectProc g_ScrEffectProc[kScrEffectKinds];
