// The hint of the item a computer character carries.

#include "world/npc_obj.h"

#include "world/graphic_ref.h"

namespace {

// The hint shows on the last 32 of every 96 frames.
constexpr int kHintCycle = 96;
constexpr int kHintShown = 64;

} // namespace

void cNpcObj::DrawCarriedHint(DDSURFACEDATA* dest)
{
    const cItemObj& item = m_CarriedItem;
    if (item.m_Carried != 1 || !m_OnScreen || m_Def.bTransparent || item.m_Def.bHidden) return;
    if (++m_HintCounter >= kHintCycle) m_HintCounter = 0;
    if (m_HintCounter < kHintShown) return;
    DrawGraphicIcon(dest, m_ScrLeft + (m_PicWidth >> 1) - (item.m_PicWidth >> 2),
                    m_ScrTop - (item.m_PicHeight >> 1), item.m_Def.nGraphicKind,
                    item.m_Def.nGraphicNo, item.m_Def.nGraphicFrame);
}
