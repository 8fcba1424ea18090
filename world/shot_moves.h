#pragma once
// The ten shot movement kinds: straight, aimed, homing, wave and falling.

class cShotObj;

inline constexpr int kShotMoves = 10;
using ShotMoveProc = void (*)(cShotObj& shot);
// Kind 0 flies straight and has nothing to do: its entry is null and
// never called.
extern const ShotMoveProc g_ShotMoveProc[kShotMoves];
