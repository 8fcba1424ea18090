#pragma once
// The graphics part of the start-up: the screen mode, the window on the
// screen, the graphics layer (the texture back end, falling back to the
// surface back end), the palette and the transparent colour, the fixed
// bitmaps, the fonts and their digit strips.

struct SYSTEMINI;

// False when the game cannot be shown: the step has said why.
bool SetUpGraphics(SYSTEMINI& settings);

// Releases the graphics layer after every surface of the game has been
// released; harmless when it was never set up.
void ReleaseGraphics();
