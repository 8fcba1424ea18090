// The screen effects of the play field.

#include "world/screen_effects.h"

#include "world/placeholder.h"

void DrawScrEffect(int)
{
    WORLD_PLACEHOLDER(15, "DrawScrEffect");
}

namespace {

int NoScrEffect(int)
{
    WORLD_PLACEHOLDER(15, "g_ScrEffectProc");
    return 1;
}

} // namespace

const ScrEffectProc g_ScrEffectProc[kScrEffectKinds] = {
    NoScrEffect, NoScrEffect, NoScrEffect, NoScrEffect, NoScrEffect, NoScrEffect, NoScrEffect,
    NoScrEffect, NoScrEffect, NoScrEffect, NoScrEffect, NoScrEffect, NoScrEffect, NoScrEffect};
