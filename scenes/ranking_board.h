#pragma once
// The ranking board: a framed box of 270 x 350 pixels with the kind's
// title, one row per place (place number, name and value; an empty place
// leaves its row empty), the hint for switching kinds when the play kind
// shows more than one, and the marker on the cursor's place. Font 1 of
// g_Fonts; the marker is the 16 x 16 piece at (16, 48) of the accessory
// picture (bitmap 49).

class cEdRankSet;
class cEdRankTable;
struct DDSURFACEDATA;

// Draws a table as the board of ranking kind `kind` with its top-left at
// (x, y); cursor is a place to mark, or -1.
void DrawRanking(const cEdRankTable& table, DDSURFACEDATA* dest, int x, int y, int kind,
                 int cursor);
// The same with the set's table of that kind (a kind outside the set's
// tables is taken as the nearest one).
void DrawRankingOf(const cEdRankSet& set, DDSURFACEDATA* dest, int x, int y, int kind, int cursor);
