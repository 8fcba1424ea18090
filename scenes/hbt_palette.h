#pragma once
// The palette variant of the 8-bit mode: a blend table and the palette's
// colour groups shifted by the variant chosen in the options.

// Loads variant n (0 to 23) when the surface back end runs at 8 bits per
// pixel; 1 then or when there is nothing to do, 0 when a file cannot be read.
int LoadHbtPalette(int n);
