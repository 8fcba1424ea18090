#pragma once
// The pause and ranking threads hold the frame loop while the game thread
// waits for them: each pass takes the thread's messages (WM_QUIT ends the
// loop), skips while the application is inactive, paces the frame,
// restores lost surfaces, reads the input, draws the play screen and
// presents. What a pass does of the program goes through a frame host, so
// that tests drive the loop with scripted input and their own clock.

#include <cstdint>
#include <functional>
#include <vector>

class cGamePlay;
struct InputState;

class cFrameHost {
public:
    virtual ~cFrameHost() = default;
    // Takes every message waiting for the calling thread; true when one of
    // them was WM_QUIT.
    virtual bool TakeMessages();
    // Whether the application is active (frames run only then).
    virtual bool AppActive();
    virtual void WaitFrame();
    virtual bool RestoreLostSurfaces();
    // This frame's input into record 0.
    virtual void PollInput(std::vector<InputState>& input);
    virtual void PresentFrame();
    // The millisecond clock.
    virtual std::uint32_t NowMs();
    // Posts WM_QUIT to the calling thread.
    virtual void PostQuitToSelf();
};

// The host in use: the live one unless a test set another (null: live).
cFrameHost& FrameHost();
void SetFrameHost(cFrameHost* host);

// Whether the application is active, for the live host; set by the shell
// (unset: active).
extern std::function<bool()> g_AppActiveQuery;

// The rankings board of the ranking thread's frame, drawn over the play
// screen: the scene's own board (DrawRankingBoard) unless another is set
// (unset: the play screen alone).
extern std::function<void(cGamePlay&)> g_DrawRankingBoard;

// The game thread's side of a blocking command: the pause thread runs the
// running play's pause wait while the caller waits for it to end. Nothing
// when no play runs or the pause thread cannot start.
void RunPauseThread();

// The same for the rankings display after a registration.
void RunRankingThread();
