#pragma once
// The start-up that makes the game ready to run and the shutdown that
// releases it, on the main thread while no worker thread runs.

#include <string>

// Reads the game folder, settles the screen mode, sets up graphics, fonts,
// input, sound and music, and arranges a direct start of the stage given
// (the command line, else System.ini's FreeStage). False when the game
// cannot run: the step has said why (a box, the run report); whatever was
// set up is released by UnInitGame. `quitByPlayer` is set when the player
// declined to have the data folder made, chose to quit in the start-up
// dialog, or closed the program while the game was being read (the start-up
// then stops at its next step); the run report says which.
bool InitGame(const std::string& commandLine, bool& quitByPlayer);

// Releases everything InitGame set up, every surface before the graphics
// layer; safe after a partial start-up and when called twice.
void UnInitGame();
