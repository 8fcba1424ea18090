#pragma once
// Free play of one stage file: the progress of a new play, the stage
// loaded as the live stage, and the lives of free play. Used by the direct
// start of a stage given at start-up, by the stage file dialog of the main
// window and by the game-play scene when it restarts free play.

#include <cstdint>
#include <string>

// 1 when the stage was started directly at start-up (the command line or
// System.ini's FreeStage).
extern std::int32_t g_DirectStart;
// The path of the stage file last started in free play.
extern std::string g_LastStagePath;

// Resets the progress, loads the stage (with versioned, the newest
// numbered file of the name) and gives the lives of free play (unlimited
// for a direct start). 1 on success; 0 when the stage cannot be loaded.
int StartFreePlay(const char* path, int versioned);
