#pragma once
// The flows on a character: the steps its flow run of a sub-step shares
// between the player and the computer characters, and the key sequences
// of flows against the player's input history.

#include <vector>

class cCharaObj;
class cEdKeyCond;
struct InputState;

// The end of a flow run: the flows asked to be deleted go (only when no
// other walk over the flows is going on), the ended exclusion numbers are
// released.
void FinishFlowRun(cCharaObj& chara, bool outermost);

// 1 when the sequence of key conditions matches the input history with at
// most `gap` frames between two of them; facing 0 mirrors relative keys.
int MatchKeySequence(const InputState& input, const std::vector<const cEdKeyCond*>& keys, int gap,
                     int facing);
// 1 when a key condition holds on the newest runs of the input.
int TestKeyCondNow(const InputState& input, const cEdKeyCond& key);
// The first direction list 0 to 9 whose newest run is pressed, else 0.
int FirstPressedDirection(const InputState& input);
