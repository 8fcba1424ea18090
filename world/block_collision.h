#pragma once
// The block map against a moving character, once per axis and sub-step:
// pushed back to the edge of the cell it entered, its speed on that axis
// zeroed, its contact flags raised, its block triggers fired; a foot
// contact records the block under its feet. A deadly block kills the
// player (result 2) and is solid for a computer character. Also the screen
// clamps while the view scrolls by itself or the character flies, the
// crush re-tests after a push, and whether a place is free.
//
// Every operation but the screen clamps does nothing for a character that
// flies through blocks. Results: 2 the character is killed, else 0.

struct BlockCell;
class cCharaObj;
class cGameObj;
struct DRect;

// The worst cell (highest hit mode) along one edge of the box: a vertical
// edge (x1 = x2) topmost on a tie, a horizontal one (y1 = y2) nearest to
// its centre on a tie, then the leftmost.
BlockCell& ProbeEdgeCells(cCharaObj& chara, int x1, int y1, int x2, int y2);
// The player's finer probe of the row under its bottom edge.
BlockCell& ProbeFootCells(cCharaObj& chara);
// The worst of the four corner cells of a rectangle of cells.
BlockCell& ProbeCornerCells(int left, int top, int right, int bottom, int group);

int CollideBlocksX(cCharaObj& chara);
int CollideBlockLeft(cCharaObj& chara);
int CollideBlockRight(cCharaObj& chara);
int CollideBlocksY(cCharaObj& chara);
int CollideBlockTop(cCharaObj& chara);
int CollideBlockBottom(cCharaObj& chara);
int CheckBlockCrushX(cCharaObj& chara);
int CheckBlockCrushY(cCharaObj& chara);
// CheckBlockCrushX, then CheckBlockCrushY, for a caller that needs neither
// result (a computer character's re-tests after its collisions).
void CheckBlockCrushes(cCharaObj& chara);
void ClampToScreenX(cCharaObj& chara);
int ClampToScreenY(cCharaObj& chara);
// 1 when the box touches a block of any hit mode or a solid character.
int IsPlaceBlocked(cCharaObj& chara);
// 1 when the four corner cells of the object's cell box lie in the map and
// are empty, so that no block touches the box (BoxHitsBlocks says 0 then):
// the cheap answer for the common case.
int CellBoxEmpty(const cGameObj& obj);
