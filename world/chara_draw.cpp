// Character drawing: the body with its overlays and state picture, the
// character effects, the gauges.

#include "world/chara_effects.h"

#include "world/chara_obj.h"
#include "world/graphic_ref.h"
#include "world/placeholder.h"

void cCharaObj::DrawCharaBody(DDSURFACEDATA*, int)
{
    WORLD_PLACEHOLDER(15, "cCharaObj::DrawCharaBody");
}

void cCharaObj::StepCharaEffect(int)
{
    WORLD_PLACEHOLDER(15, "cCharaObj::StepCharaEffect");
}

int cCharaObj::CharaGraphicNumber(GraphicRef&)
{
    WORLD_PLACEHOLDER(15, "cCharaObj::CharaGraphicNumber");
    return 0;
}

void cCharaObj::DrawHpGauge(DDSURFACEDATA*)
{
    WORLD_PLACEHOLDER(15, "cCharaObj::DrawHpGauge");
}

void cCharaObj::DrawSpGauge(DDSURFACEDATA*)
{
    WORLD_PLACEHOLDER(15, "cCharaObj::DrawSpGauge");
}

int DrawCharaEffect(cCharaObj&, DDSURFACEDATA*, int, int, int)
{
    WORLD_PLACEHOLDER(15, "DrawCharaEffect");
    return 1;
}

int SheetForFacing(int sheet, int)
{
    WORLD_PLACEHOLDER(15, "SheetForFacing");
    return sheet;
}

namespace {

int NoCharaEffect(cCharaObj&, DDSURFACEDATA*, GraphicRef&, int, int)
{
    WORLD_PLACEHOLDER(15, "g_CharaEffectDrawProc");
    return 0;
}

} // namespace

const CharaEffectDrawProc g_CharaEffectDrawProc[kCharaEffectKinds] = {
    NoCharaEffect, NoCharaEffect, NoCharaEffect, NoCharaEffect, NoCharaEffect, NoCharaEffect,
    NoCharaEffect, NoCharaEffect, NoCharaEffect, NoCharaEffect, NoCharaEffect, NoCharaEffect,
    NoCharaEffect, NoCharaEffect, NoCharaEffect, NoCharaEffect, NoCharaEffect};
