// The player's drawing: its body, the test-play display of its boxes, the
// limited sight.

#include "world/player_obj.h"

#include "data/ed_system.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_composite.h"
#include "media/dd_fill.h"
#include "media/dd_state.h"

namespace {

constexpr int kSightMask = 65;
// The box display's shades: its colour, then three lighter ones, a step
// every 8 frames.
constexpr int kBlinkCycle = 32;

} // namespace

void cPlayerObj::Draw(DDSURFACEDATA* dest, int advance)
{
    DrawCharaBody(dest, advance ? 0 : 1);
    // At 8 bits with colour cycling the palette itself moves the shades.
    const bool paletteBlinks = g_DDBpp == 8 && g_System.bColourCycle;
    for (BoxDisplay& box : m_BoxDisplay) {
        if (box.m_Mode == 0) continue;
        box.m_X = m_ScrLeft + m_PicOffX;
        box.m_Y = m_ScrTop + m_PicOffY;
        const HitBox* hit = box.m_Kind == 1   ? &m_HitA
                            : box.m_Kind == 2 ? &m_ItemBox
                            : box.m_Kind == 3 ? &m_HitB
                                              : nullptr;
        if (hit) {
            box.m_X += hit->m_OffX;
            box.m_Y += hit->m_OffY;
        }
        const int colour = box.m_Colour + (paletteBlinks ? 0 : box.m_Blink >> 3);
        if (box.m_Mode == 1)
            DDBoxFillPal(dest, box.m_X, box.m_Y, box.m_Width, box.m_Height, colour);
        else
            DDFrameRect(dest, box.m_X, box.m_Y, box.m_Width, box.m_Height, 1, colour);
        if (++box.m_Blink >= kBlinkCycle) box.m_Blink = 0;
    }
}

void cPlayerObj::DrawSightMask(DDSURFACEDATA* dest)
{
    if (!dest || m_Def.nSightShape == 0) return;
    DDSURFACEDATA* mask = &g_BitmapSD[kSightMask];
    const int w = mask->width;
    const int h = mask->height;
    if (!mask->pixels() || w < 640 || h < 480) return; // no overlay was made
    int sx = (w >> 1) - (m_PicWidth >> 1) - m_ScrLeft;
    int sy = (h >> 1) - (m_PicHeight >> 1) - m_ScrTop;
    if (m_Def.nSightShape == 2 || m_Def.nSightShape == 4)
        sx += FacingSign() * (m_PicWidth >> 1) - FacingSign() * m_SightRange;
    sx = sx < 0 ? 0 : sx > w - 640 ? w - 640 : sx;
    sy = sy < 0 ? 0 : sy > h - 480 ? h - 480 : sy;
    DDBlt(dest, 0, 0, 640, 480, mask, sx, sy, 1);
}
