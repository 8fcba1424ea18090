#pragma once
// The author's data folder data\ made from the pristine copy default\ that a
// game may ship, when the game has no data yet: the very first data step of
// the start-up.

#include "platform/message_loop.h"

// 1 when data\ is a folder, or has just been made as a copy of default\;
// 0 when it is missing and cannot be made: there is no default\, the player
// refused the question (asked in a box over owner), or the copy failed.
// `refused`, when given, tells the player's refusal (the answer No) from the
// faults.
// The copy is made beside data\ under a temporary name and renamed only
// once complete, so a copy that fails or is cut short leaves no data\ folder
// and the next start asks again.
int CreateDefaultData(plat::WindowId owner, bool* refused = nullptr);
