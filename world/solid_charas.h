#pragma once
// Solid characters: computer characters that other characters stand on,
// are pushed by and are carried by, like moving blocks.

#include <list>

class cCharaObj;
class cNpcObj;
struct DRect;

// The character against every solid character: pushed out, landing,
// riding; 2 when it is killed (flight block mode 2).
int CollideSolidCharas(cCharaObj& chara, std::list<cNpcObj>& charas);
// Pushes the character out of the solid characters along x (0) or y (1).
void PushOutOfSolidCharas(cCharaObj& chara, std::list<cNpcObj>& charas, int axis);
int OverlapsSolidCharaExcept(cCharaObj& chara, std::list<cNpcObj>& charas, int exceptNo);
int IsOnCarrier(cCharaObj& chara);
int IsOnAnySolidChara(cCharaObj& chara);
int CornersInSolidCharas(cCharaObj& chara, const DRect& box);
// A rider moves with the solid character it stands on.
int CarryRider(cCharaObj& chara, std::list<cNpcObj>& charas);
int OverlapsSolidChara(cCharaObj& chara, std::list<cNpcObj>& charas);
