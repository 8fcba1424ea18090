#pragma once
// Blocks, characters and items summoned during play at the points of a
// summon command's fire pattern.

#include <list>

class cEdBlock;
class cEdChara;
class cEdItem;
class cEdShot;
class cItemObj;
class cNpcObj;

void SummonChara(std::list<cNpcObj>& list, double x, double y, int group, int facing,
                 const cEdShot& shot, cEdChara& def, int& serial);
void SummonItem(std::list<cItemObj>& list, double x, double y, const cEdShot& shot, cEdItem& def,
                int& serial);
void SummonBlock(double x, double y, const cEdShot& shot, const cEdBlock& def);
// 1 when a summoned block in the cell must be taken back (it covers a
// character the shot part protects).
int CharasInCell(int cellIndex, int column, int row, const cEdShot& shot);
