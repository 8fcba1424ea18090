#pragma once
// The seventeen drawing routines of the character effects, by kind, and
// what the character drawing shares with them.
//
// A routine draws the character's picture (its draw record and screen box)
// distorted by the effect's current value, then, unless held, advances the
// effect. When the character's scale calls for a picture larger than the
// record's cell, the routine first draws the picture at its size into the
// work surface (from its top-left corner, only as much as it needs) and
// reads it from there; the values measured in pixels then grow with the
// scale. Otherwise it reads the record's cell directly, with the record's
// tint in force.

#include "data/effect_param_info.h"

struct DDSURFACEDATA;
struct GraphicRef;
class cCharaObj;

// Draws (draw = 1, onto dest when given) and, unless held, advances the
// effect; 1 when it ended.
using CharaEffectDrawProc = int (*)(cCharaObj& chara, DDSURFACEDATA* dest, GraphicRef& ref,
                                    int hold, int draw);
extern const CharaEffectDrawProc g_CharaEffectDrawProc[kCharaEffectKinds];

// The kind of the effect running on a character; 0 for none or a kind
// outside the table.
int CharaEffectKind(const cCharaObj& chara);

// The picture drawn 1:1 from the record's cell, or stretched from its
// scaling surface when the scale calls for it (the effect "なし").
void DrawCharaPlain(const cCharaObj& chara, DDSURFACEDATA* dest, const GraphicRef& ref);

// The picture sheet a shot is drawn from for a facing: under DirectDraw
// the sheet's system-memory copy (18 entries on) where the sheet itself
// has no picture, or, mirrored, where the copy has one.
int SheetForFacing(int sheet, int mirrored);

// One frame of the character effect running on a character, with its
// picture at a frame (draw 0: advanced only); 1 when the effect has ended.
int DrawCharaEffect(cCharaObj& chara, DDSURFACEDATA* dest, int frame, int hold, int draw);
