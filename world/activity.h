#pragma once
// At the start of every sub-step (and once at the stage set-up) the play
// decides which objects exist for this sub-step and which of them act: the
// player always; a computer character, an item while its appearance
// conditions hold; a present computer character acts while it lies in its
// activity range or its area switch is on. The on-screen flags follow.

// The whole update: the player, then the other objects.
void UpdateActivity();
// The computer characters (two passes, so that a switch set by any of them
// counts for all), the items and the shots.
void UpdateOtherActivity();
