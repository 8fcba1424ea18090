#pragma once
// The keys that save a replay during play, and the request that opens one.

// Once per frame of play (and of the pause): F1 saves the replay of the
// current attempt and F2 that of the previous one, while replays are
// recorded and none is played back. A log that cannot be saved with the
// stage being played (empty, or recorded on another stage) only gives the
// warning sound, at most once every 60 calls. 1 when a save was asked for.
int CheckReplayKeys();

// Asks the main window to open and read a replay file; 1 when one was
// read, 0 when cancelled or it could not be read.
int RequestOpenReplay();

// Forgets the warning's cool-down (a new run in tests).
void ResetReplayKeys();
