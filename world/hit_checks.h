#pragma once
// The hit checks of a sub-step: shots against characters (on the sub-steps
// the hit-step mask selects), characters against characters, shots against
// shots. 0 play goes on, 1 a death cleared the stage, 2 the player was
// killed, or another result of an item given to the player.

int CheckHits();
