#pragma once
// Program start-up and shutdown on the main thread.

// Runs the whole program: start-up, the message loop of the main window and
// shutdown. Returns the process exit code.
int GameMain(int argc, char** argv);
