#pragma once
// Appearance and flow conditions. A condition compares a variable with a
// constant or delegates to a status, switch or distance test; a list holds
// when all (mode 0) or at least one (mode 1) of its conditions hold; a
// latched list, once it has held, holds for good.
//
// Kinds: 1 common variable, 2 stage variable, 3 character variable of the
// character under test, 4 status, 5 switch values, 6 character state,
// 7 distance to the player; other kinds never hold. Comparisons: 0 ==,
// 1 !=, 2 >=, 3 <=, 4 >, 5 <; other values never hold.

#include <vector>

struct BlockCell;
class cCharaObj;
class cEdCond;
class cFlowRun;
class cItemObj;

// The latched list tests of the four owners of condition lists; block and
// item conditions are tested for the player.
int TestBlockConds(BlockCell& cell);
int TestCharaConds(cCharaObj& chara);
int TestItemConds(cItemObj& item);
int TestFlowConds(cFlowRun& run, cCharaObj& chara);

int TestCondList(const std::vector<cEdCond>& conds, int mode, cCharaObj& chara);
int TestCond(const cEdCond& cond, cCharaObj& chara);
