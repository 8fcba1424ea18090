// The drawing of an item.

#include "world/item_obj.h"

#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "world/graphic_ref.h"

namespace {

constexpr int kSymbolSheet = 43; // overlay symbols, 15 to a column of 32 x 32
constexpr int kSymbolCopy = 44;  // its copy, drawn from when stretched

} // namespace

int cItemObj::DrawItem(DDSURFACEDATA* dest, int hold)
{
    if (m_Def.bHidden) return m_Def.bHidden;
    const int frame = hold ? m_Anime.Current() : m_Anime.Step();
    if (frame < 0) return 0; // an end code: nothing to show
    GraphicRef ref;
    ResolveGraphic(ref, 2, m_Def.nGraphicKind, m_Def.nGraphicNo, m_Def.nGraphicFrame, this, frame);
    const int scale = m_Carried || m_Def.nSize < 1 ? 1 : m_Def.nSize;
    const int prescale = ref.m_Large ? ref.m_Size : 1;
    const bool stretch = ref.m_Large ? prescale != scale : scale > 1;
    std::int32_t result = 0;
    if (stretch)
        result = DDBltEx(dest, m_ScrLeft, m_ScrTop, m_PicWidth, m_PicHeight, ref.m_Copy, ref.m_X,
                         ref.m_Y, m_PicWidth0 * prescale, m_PicHeight0 * prescale, 1);
    else
        result = DDBlt(dest, m_ScrLeft, m_ScrTop, m_PicWidth, m_PicHeight, ref.m_Surface, ref.m_X,
                       ref.m_Y, 1);
    if (m_Def.bOverlay == 1) {
        const int d = m_Def.nOverlayPiece;
        const int sx = d / 15 * 32;
        const int sy = d % 15 * 32;
        if (scale == 1)
            DDBlt(dest, m_ScrLeft, m_ScrTop, 32, 32, &g_BitmapSD[kSymbolSheet], sx, sy, 1);
        else
            DDBltEx(dest, m_ScrLeft, m_ScrTop, m_PicWidth, m_PicHeight, &g_BitmapSD[kSymbolCopy],
                    sx, sy, m_PicWidth0, m_PicHeight0, 1);
    }
    return result;
}
