// Character drawing: the body with its state picture and its effect, the
// overlay symbol, the HP and SP gauges, and the shot sheets by facing.

#include "world/chara_effects.h"

#include <algorithm>

#include "core/saturate.h"
#include "data/ed_anime.h"
#include "data/ed_database.h"
#include "data/ed_system.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"
#include "world/chara_obj.h"
#include "world/graphic_ref.h"
#include "world/play_screen.h"
#include "world/trunc.h"

namespace {

// Bitmap entries of the overlay symbols (1:1 and the scaling copy) and of
// the accessory sheet that holds the gauges.
constexpr int kSymbolSheet = 43;
constexpr int kSymbolCopy = 44;
constexpr int kSymbolCell = 32;
constexpr int kSymbolsPerColumn = 15;
constexpr int kAccessorySheet = 49;
// Under DirectDraw the system-memory copy of sheet n is entry n + 18.
constexpr int kSystemCopyOffset = 18;
// The gauge's frames left below which its change part is gone.
constexpr int kGaugeChangeFrames = 60;

// The picture of the character's state at an animation frame: the
// resolution fills a record afresh, the state adds its tint.
GraphicRef ResolveCharaPicture(cCharaObj& chara, int frame)
{
    GraphicRef state;
    const int base = chara.CharaGraphicNumber(state);
    GraphicRef ref;
    ResolveGraphic(ref, 1, chara.m_GraphicKind, chara.m_GraphicNo, base, &chara, frame);
    ref.m_Tint = state.m_Tint;
    ref.m_TintColour = state.m_TintColour;
    ref.m_TintOp = state.m_TintOp;
    return ref;
}

// The definition's overlay symbol over the picture: its 32 x 32 cell, or
// that cell stretched to a scaled picture.
void DrawOverlaySymbol(const cCharaObj& c, DDSURFACEDATA* dest)
{
    if (c.m_Def.nCharaOption1 != 1 || !dest) return;
    const int symbol = std::max<int>(c.m_Def.nEmblemNo, 0);
    const int sx = symbol / kSymbolsPerColumn * kSymbolCell;
    const int sy = symbol % kSymbolsPerColumn * kSymbolCell;
    if (c.m_Def.nSize <= 1)
        DDBlt(dest, c.m_ScrLeft, c.m_ScrTop, kSymbolCell, kSymbolCell, &g_BitmapSD[kSymbolSheet],
              sx, sy, 1);
    else
        DDBltEx(dest, c.m_ScrLeft, c.m_ScrTop, c.m_PicWidth, c.m_PicHeight,
                &g_BitmapSD[kSymbolCopy], sx, sy, c.m_PicWidth0, c.m_PicHeight0, 1);
}

// One frame of a gauge: its frame, its fill and the part that changed,
// from the accessory sheet's rows for the gauge's column.
void DrawGauge(const cCharaObj& c, Gauge& gauge, DDSURFACEDATA* dest, int column, int rise)
{
    if (gauge.m_Frames <= 0 || c.m_Dying) return;
    DDSURFACEDATA* sheet = &g_BitmapSD[kAccessorySheet];
    const bool tall = sheet->height > 208;
    const int row0 = tall ? 208 : 128;
    const int step = tall ? 2 : 16;
    const int x = c.m_ScrLeft + (c.m_PicWidth >> 1) - kGaugeLength / 2;
    const int y = c.m_ScrTop - rise;
    // Lengths stay inside the gauge, whatever the values became.
    const int fill = std::clamp<int>(gauge.m_Fill, 0, kGaugeLength);
    if (dest) {
        DDBlt(dest, x, y, kGaugeLength, 2, sheet, column, row0, 1);
        DDBlt(dest, x, y, fill, 2, sheet, column, fill <= 16 ? row0 + 2 * step : row0 + step, 1);
        if (gauge.m_Change < 0) {
            const int lost = std::clamp(TruncToInt(-gauge.m_Change), 0, kGaugeLength - fill);
            DDBlt(dest, x + fill, y, lost, 2, sheet, column + fill, row0 + 3 * step, 1);
        } else {
            const int gained = std::clamp(TruncToInt(gauge.m_Change), 0, fill);
            DDBlt(dest, x + fill - gained, y, gained, 2, sheet, column + fill - gained,
                  row0 + 4 * step, 1);
        }
    }
    --gauge.m_Frames;
    if (gauge.m_Frames < kGaugeChangeFrames)
        gauge.m_Change = 0;
    else
        gauge.m_Change -= gauge.m_ChangeStep;
}

bool HoldsDirectDrawPicture(int n)
{
    const DDSURFACEDATA& sd = g_BitmapSD[static_cast<std::size_t>(n)];
    return sd.lpDD && sd.lpDD->lpDDSurface;
}

} // namespace

void cCharaObj::DrawCharaBody(DDSURFACEDATA* dest, int hold)
{
    const int frame = CurrentFrame(hold);
    // Unseen, it still advances its effect; a negative frame draws nothing.
    if (m_Hidden || m_Def.bTransparent || frame < 0) {
        StepCharaEffect(hold);
        return;
    }
    RefreshScreenBox();
    GraphicRef ref = ResolveCharaPicture(*this, frame);
    if (g_CharaEffectDrawProc[CharaEffectKind(*this)](*this, dest, ref, hold, 1))
        m_CharaEffect.m_Index = 0;
    DrawOverlaySymbol(*this, dest);
}

void cCharaObj::StepCharaEffect(int hold)
{
    GraphicRef ref;
    if (g_CharaEffectDrawProc[CharaEffectKind(*this)](*this, nullptr, ref, hold, 0))
        m_CharaEffect.m_Index = 0;
}

int cCharaObj::CharaGraphicNumber(GraphicRef& ref)
{
    ref.m_Tint = 0;
    ref.m_TintColour = 0;
    ref.m_TintOp = 0;
    std::int64_t n = m_Def.nGraphicFrame;
    if (const cEdAnimeSet* set = RecordAt(g_Database.AnimeSet, m_Def.nAnimeSet)) {
        if (m_Def.nFlying) n += set->m_OffsetC;
        if (m_Def.bSolid) n += set->m_OffsetB;
        if (m_Def.nInvincible) n += set->m_OffsetA;
    }
    const int colour = m_Def.nCharaOption2;
    if (m_Def.nInvincible && g_D3DState && g_System.bTintUnderD3D && colour > 0 &&
        colour < static_cast<int>(g_CycleColors.size())) {
        ref.m_Tint = 1;
        ref.m_TintColour = g_CycleColors[static_cast<std::size_t>(colour)].m_Colour;
        ref.m_TintOp = g_CycleColors[static_cast<std::size_t>(colour)].m_Mode;
    }
    return SaturateToInt32(n);
}

void cCharaObj::DrawHpGauge(DDSURFACEDATA* dest)
{
    DrawGauge(*this, m_HpGauge, dest, 0, 3);
}

void cCharaObj::DrawSpGauge(DDSURFACEDATA* dest)
{
    DrawGauge(*this, m_SpGauge, dest, 64, 7);
}

int DrawCharaEffect(cCharaObj& chara, DDSURFACEDATA* dest, int frame, int hold, int draw)
{
    GraphicRef ref;
    if (draw) ref = ResolveCharaPicture(chara, frame);
    return g_CharaEffectDrawProc[CharaEffectKind(chara)](chara, dest, ref, hold, draw);
}

int SheetForFacing(int sheet, int mirrored)
{
    if (g_D3DState || sheet < 0 || sheet + kSystemCopyOffset >= BITMAP_COUNT) return sheet;
    if (!mirrored) return HoldsDirectDrawPicture(sheet) ? sheet : sheet + kSystemCopyOffset;
    return HoldsDirectDrawPicture(sheet + kSystemCopyOffset) ? sheet + kSystemCopyOffset : sheet;
}
