#pragma once
// Program start-up and shutdown on the main thread.

#include <functional>
#include <string>

// Runs the whole program: start-up, the message loop of the main window and
// shutdown. Returns the process exit code: 0 after a normal run (and when
// the player quits at the start-up dialog), non-zero when the program
// could not start (the run report says why) or a worker thread would not
// end.
int GameMain(int argc, char** argv);

// The command line as the game reads it: the arguments joined by blanks.
std::string CommandLine(int argc, char** argv);

// How the program ends when a worker thread would not end: at once, without
// the destructors that would pull what it uses from under it. `why` names
// the threads. Tests put their own, which must not end the process: when it
// returns, the program waits for the threads and shuts down as usual.
using EndProcessFn = std::function<void(int status, const std::string& why)>;
void SetEndProcess(EndProcessFn end);
