// The animations played over a character: the frame to draw, the flows'
// scheduled animations and the flow operations on them.

#include "world/chara_obj.h"

#include "world/placeholder.h"

int cCharaObj::CurrentFrame(int)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::CurrentFrame");
    return 0;
}

void cCharaObj::StartScheduledAnimes()
{
    WORLD_PLACEHOLDER(12, "cCharaObj::StartScheduledAnimes");
}

void cCharaObj::RemoveOverlays(int)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::RemoveOverlays");
}

void cCharaObj::EndOverlays(int)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::EndOverlays");
}

void cCharaObj::ResumeOverlays(int)
{
    WORLD_PLACEHOLDER(12, "cCharaObj::ResumeOverlays");
}
