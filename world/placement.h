#pragma once
// The characters and items the author placed, created at the stage
// set-up at their block positions, and the stage set-up's steps around
// them: creating them, and the flows that run before the stage starts.

#include <list>

class cEdChara;
class cEdItem;
class cItemObj;
class cNpcObj;

// Creates a placed computer character (with its copies) in the list.
void PlaceChara(std::list<cNpcObj>& list, int blockX, int blockY, int& serial, cEdChara& def,
                const cItemObj* carried);
// Creates a placed item in the list.
void PlaceItem(std::list<cItemObj>& list, int blockX, int blockY, int& serial, cEdItem& def);
// The placed computer characters (with the items they carry) and the free items.
void PlaceStageObjects();
// The flows "ステージ開始前" of the player and every character; the
// characters they remove or kill leave before the first frame.
void FireStageStartFlows();
