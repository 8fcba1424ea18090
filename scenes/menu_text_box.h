#pragma once
// The framed box of system texts that the menus show: one text a line in
// font 1's 16-pixel cells, optionally after a blank cell in which the scene
// draws its cursor, and the left edge that centres such a box. The texts
// are the system data's SysText entries first to first + count - 1.

#include <string>

// Left x of the box centred on centreX: the widest text in characters (a
// Shift-JIS pair counts one), plus the cursor cell when cursorColumn is on,
// times 16, halved toward zero.
int SysTextMenuX(int centreX, int first, int count, int cursorColumn);

// The box's text, one line each: " text\n" with the cursor cell, "text\n"
// without; and its size in pixels (characters x 16 by lines x 16).
std::string SysTextMenuText(int first, int count, int cursorColumn);
void SysTextMenuSize(int first, int count, int cursorColumn, int* width, int* height);

// Draws the box with font 1 onto the back buffer at (x, y); nothing for
// count 0. The texts are drawn as they stand (a percent sign is shown).
void DrawSysTextMenu(int x, int y, int first, int count, int cursorColumn);
