#pragma once
// The seventeen drawing routines of the character effects, by kind.

struct DDSURFACEDATA;
struct GraphicRef;
class cCharaObj;

inline constexpr int kCharaEffectKinds = 17;
// Draws (draw = 1) and, unless held, advances the effect; 1 when it ended.
using CharaEffectDrawProc = int (*)(cCharaObj& chara, DDSURFACEDATA* dest, GraphicRef& ref,
                                    int hold, int draw);
extern const CharaEffectDrawProc g_CharaEffectDrawProc[kCharaEffectKinds];
// The picture sheet a shot is drawn from for a facing.
int SheetForFacing(int sheet, int mirrored);

// One frame of the character effect running on a character, with its
// picture at a frame (draw 0: advanced only); 1 when the effect has ended.
int DrawCharaEffect(cCharaObj& chara, DDSURFACEDATA* dest, int frame, int hold, int draw);
