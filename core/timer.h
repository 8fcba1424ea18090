#pragma once
// Millisecond timing of the frame loop: a stopwatch, the frames-per-second
// counter, the pacing test that says when the next frame is due, and a
// once-every-N tick. Times are plat::timeMs(): 32-bit milliseconds that
// wrap, always compared by their signed difference, so pacing goes on
// across the wrap after 49.7 days.
//
// Each keeps one state for the whole program. Only the thread that holds
// the frame loop calls them (the game thread, or the pause or ranking
// thread while the game thread waits for it).

#include <cstdint>

// Stores the current time as the stopwatch's start and returns it.
std::uint32_t TimerStart();

// Milliseconds since TimerStart (wrapping).
std::uint32_t TimerElapsed();

// Called once per frame: the number of frames counted in the last
// completed period of at least 1000 ms (0 until the first one ends).
int GetFps();

// Whether the next frame is due: always at the first call and for rate 0;
// when due, the next frame falls due 1000 / rate whole milliseconds after
// now (a late frame is not made up for: the schedule moves on).
bool FrameDue(unsigned rate);

// Waits until FrameDue(rate) holds: sleeps until about a millisecond
// before the due time, then to the start of the due millisecond, so the
// loop does not hold a core.
// Returns early (false) when the calling thread is asked to quit.
bool FrameWait(unsigned rate);

// One shared counter: mode 0 resets it (0); mode 2 says whether it is 0,
// without changing it; any other mode counts 1 and, when the count has
// reached n, resets it and gives 1, else 0.
int CountEvery(int mode, std::uint32_t n);

// Forgets the first calls of GetFps and FrameDue and the stopwatch, as at
// program start (a new run of the frame loop in tests).
void TimerResetState();
