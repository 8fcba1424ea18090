#pragma once
// The music player's five slots (0 title, 1 world map and save menu, 2
// challenge list, 3 options, 4 the stage music) and its set-up. The names
// below are only the slots' first files: the main window registers the
// file the system data gives a slot before it plays it. Set up at start-up
// and again whenever the options close, on the thread that asks.

// Releases the music player and, when the options have music on, sets it
// up again over the five slots. 1 when the music is on and the player
// could be set up; 0 when the music is off or the player could not start
// (the game then goes on without music).
int SetUpMusic();
