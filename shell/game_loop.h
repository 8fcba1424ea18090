#pragma once
// The game thread's main loop: one frame step per pass while the game
// window has the keyboard; it ends on WM_QUIT, when asked to quit, or when
// the frame step cannot go on (the main window is then asked to close).

unsigned GameLoop(void* argument);
