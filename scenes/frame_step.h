#pragma once
// What the frame step publishes and the settings it reads besides the scene
// manager's (see scenes/scene_mgr.h for the step itself).

#include <cstdint>
#include <functional>

// Frames stepped so far.
extern std::int32_t g_FrameCount;
// Frames shown in the last full second.
extern std::int32_t g_Fps;
// Milliseconds from the end of the frame's wait to just before its present.
extern std::int32_t g_FrameTime;

// Draw the frame-rate text ("FPS" with the rate and the mean frame time of
// the last 16 frames); set at start-up from System.ini.
extern std::int32_t g_ShowFps;
// DirectDraw full screen: 1 copies the back buffer to the screen, 0 flips.
extern std::int32_t g_DDBltPresent;

// The mean frame time shown by the frame-rate text: refreshed every 16
// frames from the last 16 frame times.
extern std::int32_t g_FrameTimeAvg;

// Lost DirectDraw surfaces of the stage and the scenes are restored by the
// groups that own them, in the order they were added (the stage's pictures
// first): each returns false when a surface could not be brought back.
void AddLostSurfaceGroup(std::function<bool()> restore);

// Forgets the frame-rate text's ring and the frame count (a new run of the
// frame loop in tests).
void ResetFrameStats();
