// The seventeen character-effect routines: how a character's picture
// reaches the screen while one of its effects runs.

#include "world/chara_effects.h"

#include <algorithm>
#include <cstdlib>

#include "core/display_facts.h"
#include "data/ed_effect.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_blur.h"
#include "media/dd_composite.h"
#include "media/dd_fill.h"
#include "media/dd_lens.h"
#include "media/dd_palette.h"
#include "media/dd_render.h"
#include "media/dd_rotate.h"
#include "media/dd_state.h"
#include "media/dd_surface.h"
#include "media/dd_translucent.h"
#include "world/chara_obj.h"
#include "world/graphic_ref.h"
#include "world/trunc.h"

namespace {

constexpr double kSqrt2 = 1.4142135623730951;
// The screen-size work surfaces: the texture back end's and the system-
// memory copy the surface back end's pixel effects use.
constexpr int kWorkTexture = 67;
constexpr int kWorkSystem = 68;
constexpr int kWaveTurn = 360;
// The palette colour the blur stands in with at 8 bits per pixel.
constexpr int kBlurTintColour = 31;

// The character's picture this frame, as the routines read it.
struct Picture {
    int left = 0, top = 0;       // screen box
    int width = 0, height = 0;   // at the character's scale
    int width0 = 0, height0 = 0; // unscaled
    int scale = 1;               // the character's size factor
    int preScale = 1;            // the size factor of the record's cell
    bool work = false;           // drawn through the work surface
    int centreX() const { return left + width / 2; }
    int centreY() const { return top + height / 2; }
};

Picture PictureOf(const cCharaObj& c, const GraphicRef& ref)
{
    Picture p;
    p.left = c.m_ScrLeft;
    p.top = c.m_ScrTop;
    p.width = c.m_PicWidth;
    p.height = c.m_PicHeight;
    p.width0 = c.m_PicWidth0;
    p.height0 = c.m_PicHeight0;
    p.scale = std::max<int>(c.m_Def.nSize, 1);
    p.preScale = std::max<int>(ref.m_Size, 1);
    p.work = ref.m_Large ? p.scale != p.preScale : p.scale > 1;
    return p;
}

DDSURFACEDATA* WorkSurface()
{
    return &g_BitmapSD[g_D3DState ? kWorkTexture : kWorkSystem];
}

// An amount in pixels of the effect's value: grows with the scale when the
// picture is read from the work surface.
int Pixels(const Picture& p, double v)
{
    return TruncToInt(p.work ? v * p.scale : v);
}

int Param(const cCharaObj& c, int n)
{
    const cEdCharaEffect* record = c.m_CharaEffect.m_Record;
    return record ? record->m_Param[n - 1] : 0;
}

// The record's tint (the texture back end's vertex colour and colour
// operation) in force while the scope lives.
class TintScope {
public:
    TintScope(const GraphicRef& ref, bool wanted) : m_On(wanted && ref.m_Tint)
    {
        if (!m_On) return;
        DDSetVertexColor(ref.m_TintColour);
        DDSetColorOp(ref.m_TintOp);
    }
    TintScope(const TintScope&) = delete;
    TintScope& operator=(const TintScope&) = delete;
    ~TintScope()
    {
        if (!m_On) return;
        DDResetVertexColor();
        DDResetColorOp();
    }

private:
    bool m_On;
};

void TintOpt(const GraphicRef& ref, int opt[2])
{
    opt[0] = static_cast<int>(ref.m_TintColour);
    opt[1] = ref.m_TintOp;
}

// A copy of the picture with the tint when set: stretched from sw x sh, or
// 1:1.
void CopyPicture(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                 int sy, int sw, int sh, int transparent, const GraphicRef& ref)
{
    int opt[2];
    TintOpt(ref, opt);
    if (ref.m_Tint)
        DDBltExOpt(dest, x, y, w, h, src, sx, sy, sw, sh, transparent, opt);
    else
        DDBltEx(dest, x, y, w, h, src, sx, sy, sw, sh, transparent);
}

void CopyCell(DDSURFACEDATA* dest, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
              int transparent, const GraphicRef& ref)
{
    int opt[2];
    TintOpt(ref, opt);
    if (ref.m_Tint)
        DDBltOpt(dest, x, y, w, h, src, sx, sy, transparent, opt);
    else
        DDBlt(dest, x, y, w, h, src, sx, sy, transparent);
}

// The picture at its size into the work surface's top-left corner, keeping
// its transparent pixels as they are: stretched from the scaling surface
// when the scale calls for it, else 1:1 from the cell.
void PrepareWork(DDSURFACEDATA* work, const Picture& p, const GraphicRef& ref)
{
    if (p.work)
        CopyPicture(work, 0, 0, p.width, p.height, ref.m_Copy, ref.m_X, ref.m_Y,
                    p.width0 * p.preScale, p.height0 * p.preScale, 0, ref);
    else
        CopyCell(work, 0, 0, p.width, p.height, ref.m_Surface, ref.m_X, ref.m_Y, 0, ref);
}

// Where a routine reads the picture from: the work surface when the scale
// calls for it (prepared here), else the record's cell.
struct Source {
    DDSURFACEDATA* sd = nullptr;
    int x = 0, y = 0;
    bool direct = false; // the cell itself: the tint must be in force around the read
};

// Copying routines read the cell's source surface, pixel routines its
// scaling surface.
Source SourceFor(const Picture& p, const GraphicRef& ref, bool pixels)
{
    if (!p.work) return Source{pixels ? ref.m_Copy : ref.m_Surface, ref.m_X, ref.m_Y, true};
    DDSURFACEDATA* work = WorkSurface();
    PrepareWork(work, p, ref);
    return Source{work, 0, 0, false};
}

// The common end of every routine but "なし": the effect advances unless held.
int Advance(cCharaObj& c, int hold)
{
    return !hold && c.m_CharaEffect.Step() ? 1 : 0;
}

bool Drawable(DDSURFACEDATA* dest, const GraphicRef& ref, int draw)
{
    return draw && dest && ref.m_Surface && ref.m_Copy;
}

// A blink's or a translucency's visibility: the toggle flips every
// interval frames of the work counter.
void StepToggle(cCharaObj& c, int hold)
{
    if (hold) return;
    CharaEffectState& e = c.m_CharaEffect;
    if (++e.m_Work1 >= Param(c, 2)) {
        e.m_Work1 = 0;
        e.m_Work2 ^= 1;
    }
}

// --- the routines, by kind

int EffectNone(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int, int draw)
{
    if (Drawable(dest, ref, draw)) DrawCharaPlain(c, dest, ref);
    return 0;
}

int EffectBurst(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw)) {
        const Picture p = PictureOf(c, ref);
        const Source s = SourceFor(p, ref, false);
        const TintScope tint(ref, s.direct);
        DDBltSplit(dest, p.left, p.top, p.width, p.height, s.sd, s.x, s.y,
                   Pixels(p, c.m_CharaEffect.m_Value), 1);
    }
    return Advance(c, hold);
}

// Strips of the picture's height divided by the record's count, at least
// one pixel thick (a count of 0 or below would divide by zero).
int StripThickness(const cCharaObj& c, const Picture& p)
{
    const int count = Param(c, 4);
    if (count <= 0) return 1;
    return std::max((p.height + count - 1) / count, 1);
}

int DrawStrips(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw, int vertical)
{
    if (Drawable(dest, ref, draw)) {
        const Picture p = PictureOf(c, ref);
        const Source s = SourceFor(p, ref, false);
        const TintScope tint(ref, s.direct);
        DDBltShift(dest, p.left, p.top, p.width, p.height, StripThickness(c, p),
                   Pixels(p, c.m_CharaEffect.m_Value), s.sd, s.x, s.y, 1, vertical);
    }
    return Advance(c, hold);
}

int EffectStripsAcross(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    return DrawStrips(c, dest, ref, hold, draw, 0);
}

int EffectStripsDown(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    return DrawStrips(c, dest, ref, hold, draw, 1);
}

// The waves draw onto the back buffer whatever surface they are given; the
// work counter is the wave's phase in degrees.
int DrawWave(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw, int vertical)
{
    CharaEffectState& e = c.m_CharaEffect;
    if (Drawable(dest, ref, draw)) {
        const Picture p = PictureOf(c, ref);
        const Source s = SourceFor(p, ref, false);
        const TintScope tint(ref, s.direct);
        const double amplitude = p.work ? e.m_Value * p.scale : e.m_Value;
        DDBltWave(&BackBuffer, p.left, p.top, p.width, p.height, Param(c, 4), amplitude, e.m_Work1,
                  Param(c, 5), s.sd, s.x, s.y, 1, vertical);
    }
    if (!hold && ++e.m_Work1 >= kWaveTurn) e.m_Work1 = 0;
    return Advance(c, hold);
}

int EffectWaveAcross(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    return DrawWave(c, dest, ref, hold, draw, 0);
}

int EffectWaveDown(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    return DrawWave(c, dest, ref, hold, draw, 1);
}

int EffectBlink(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw) && c.m_CharaEffect.m_Work2 == 1) DrawCharaPlain(c, dest, ref);
    StepToggle(c, hold);
    return Advance(c, hold);
}

// Turned about the picture's centre, read from the work surface or from
// the scaling surface with the tint.
void DrawTurned(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref)
{
    const Picture p = PictureOf(c, ref);
    const Source s = SourceFor(p, ref, true);
    const TintScope tint(ref, s.direct);
    DDBltRotate(dest, p.centreX(), p.centreY(), p.width, p.height, p.width / 2, p.height / 2,
                TruncToInt(c.m_CharaEffect.m_Value), s.sd, s.x, s.y, 1);
}

int EffectTurnB(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw)) DrawTurned(c, dest, ref);
    return Advance(c, hold);
}

// Under the surface back end a scaled picture is turned at the cell's size
// into a cleared square of the work surface, which is then stretched.
void DrawTurnedA(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref)
{
    const Picture p = PictureOf(c, ref);
    const int angle = TruncToInt(c.m_CharaEffect.m_Value);
    if (!p.work) {
        DDBltRotate(dest, p.centreX(), p.centreY(), p.width, p.height, p.width / 2, p.height / 2,
                    angle, ref.m_Copy, ref.m_X, ref.m_Y, 1);
        return;
    }
    DDSURFACEDATA* work = WorkSurface();
    const int cellWidth = p.width0 * p.preScale;
    const int cellHeight = p.height0 * p.preScale;
    const int q = TruncToInt(cellWidth * kSqrt2);
    DDBoxFillPal(work, 0, 0, q, q, 0);
    DDBltRotate(work, q / 2, q / 2, cellWidth, cellHeight, cellWidth / 2, cellHeight / 2, angle,
                ref.m_Copy, ref.m_X, ref.m_Y, 1);
    const int side = TruncToInt(p.width * kSqrt2);
    DDBltEx(dest, p.centreX() - side / 2, p.centreY() - side / 2, side, side, work, 0, 0, q, q, 1);
}

int EffectTurnA(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw)) {
        if (g_D3DState)
            DrawTurned(c, dest, ref);
        else
            DrawTurnedA(c, dest, ref);
    }
    return Advance(c, hold);
}

// A card turning between the picture and its mirrored copy, stretched
// from the scaling surfaces.
int EffectFlip(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw)) {
        const Picture p = PictureOf(c, ref);
        DDSURFACEDATA* back = ref.m_OppositeCopy ? ref.m_OppositeCopy : ref.m_Copy;
        const TintScope tint(ref, true);
        DDBltFlip(dest, p.left, p.top, p.width, p.height, ref.m_Copy, ref.m_X, ref.m_Y, back,
                  ref.m_X, ref.m_Y, p.width0 * p.preScale, p.height0 * p.preScale, 1,
                  TruncToInt(c.m_CharaEffect.m_Value), 0);
    }
    return Advance(c, hold);
}

// A disc of the picture; a band of 0 rows or fewer is read as rows of 1.
int EffectCircle(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw)) {
        const Picture p = PictureOf(c, ref);
        const Source s = SourceFor(p, ref, false);
        const TintScope tint(ref, s.direct);
        DDBltCircle(dest, p.centreX(), p.centreY(), p.width / 2, p.height / 2,
                    Pixels(p, c.m_CharaEffect.m_Value), std::max(Param(c, 4), 1), s.sd,
                    s.x + p.width / 2, s.y + p.height / 2, 1);
    }
    return Advance(c, hold);
}

// Grown (or shrunk) about its centre; shrunk to nothing, nothing is drawn.
int EffectGrow(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw)) {
        const Picture p = PictureOf(c, ref);
        const double grown = c.m_CharaEffect.m_Value - 32;
        const int e = p.work ? TruncToInt(grown * p.scale) >> 1 : TruncToInt(grown);
        const long long w = static_cast<long long>(p.width) + e;
        const long long h = static_cast<long long>(p.height) + e;
        if (w > 0 && h > 0 && w <= DD_MAX_TEXTURE_SIDE && h <= DD_MAX_TEXTURE_SIDE) {
            const Source s = SourceFor(p, ref, true);
            const TintScope tint(ref, s.direct);
            DDBltEx(dest, p.left - e / 2, p.top - e / 2, static_cast<int>(w), static_cast<int>(h),
                    s.sd, s.x, s.y, p.width, p.height, 1);
        }
    }
    return Advance(c, hold);
}

// A lens offset inside the range the record allows (any other would reach
// past the work surface, or overflow once scaled).
int LensShift(const cCharaObj& c, int n)
{
    const ParamInfo& info = g_CharaEffectParamInfo[12][n - 1];
    return std::clamp<int>(Param(c, n), info.m_Min, info.m_Max);
}

// A convex lens over the picture, shifted by the record's offsets. The
// work surface is cleared around the picture as far as the lens can read.
int EffectLens(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw)) {
        const Picture p = PictureOf(c, ref);
        const int shiftX = LensShift(c, 4) * p.scale;
        const int shiftY = LensShift(c, 5) * p.scale;
        const int radius =
            TruncToInt((std::max(std::abs(shiftX), std::abs(shiftY)) + p.width / 2) * kSqrt2);
        const int cleared = (g_D3DState || g_DDBpp == 16) ? 4 * radius : 2 * radius;
        DDSURFACEDATA* work = WorkSurface();
        DDBoxFillPal(work, 0, 0, cleared, cleared, 0);
        PrepareWork(work, p, ref);
        DDBltLens(dest, p.centreX() + shiftX / 2, p.centreY() + shiftY / 2, radius,
                  Pixels(p, c.m_CharaEffect.m_Value), work, p.width / 2 + shiftX,
                  p.height / 2 + shiftY, 1);
    }
    return Advance(c, hold);
}

// Mixed toward one palette colour in a number of steps; a tinted picture
// goes through the work surface so that the tint reaches the mix.
void DrawTinted(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int colour, int level)
{
    const Picture p = PictureOf(c, ref);
    Source s{ref.m_Copy, ref.m_X, ref.m_Y, false};
    if (p.work || ref.m_Tint) {
        PrepareWork(WorkSurface(), p, ref);
        s = Source{WorkSurface(), 0, 0, false};
    }
    DDBltTint(dest, p.left, p.top, p.width, p.height, s.sd, s.x, s.y, 1, g_ScreenPalette.data(),
              g_BlendTable.data(), colour, level);
}

int EffectColour(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw))
        DrawTinted(c, dest, ref, Param(c, 4), TruncToInt(c.m_CharaEffect.m_Value));
    return Advance(c, hold);
}

int EffectHalf(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw) && c.m_CharaEffect.m_Work2 == 0) {
        const Picture p = PictureOf(c, ref);
        const Source s = SourceFor(p, ref, true);
        const TintScope tint(ref, s.direct);
        DDBltHalf(dest, p.left, p.top, p.width, p.height, s.sd, s.x, s.y, 1, g_BlendTable.data());
    }
    StepToggle(c, hold);
    return Advance(c, hold);
}

// Blocks of at least one pixel (a size of 0 would draw nothing at all),
// as large as the picture's scale makes them.
int EffectMosaic(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw)) {
        const Picture p = PictureOf(c, ref);
        const Source s = SourceFor(p, ref, true);
        const TintScope tint(ref, s.direct);
        DDBltMosaic(dest, p.left, p.top, p.width, p.height,
                    std::max(Pixels(p, c.m_CharaEffect.m_Value), 1), s.sd, s.x, s.y, 1);
    }
    return Advance(c, hold);
}

// The blur's reach grows with the scale; at 8 bits a tint of the value's
// strength stands in.
int EffectBlur(cCharaObj& c, DDSURFACEDATA* dest, GraphicRef& ref, int hold, int draw)
{
    if (Drawable(dest, ref, draw)) {
        if (!g_D3DState && g_DDBpp == 8) {
            DrawTinted(c, dest, ref, kBlurTintColour, TruncToInt(c.m_CharaEffect.m_Value));
        } else {
            const Picture p = PictureOf(c, ref);
            const Source s = SourceFor(p, ref, true);
            const TintScope tint(ref, s.direct);
            const int reach = Pixels(p, c.m_CharaEffect.m_Value);
            DDBltBlur(dest, p.left, p.top, p.width, p.height, reach, reach, s.sd, s.x, s.y, 1);
        }
    }
    return Advance(c, hold);
}

} // namespace

const CharaEffectDrawProc g_CharaEffectDrawProc[kCharaEffectKinds] = {
    EffectNone,     EffectBurst, EffectStripsAcross, EffectStripsDown, EffectWaveAcross,
    EffectWaveDown, EffectBlink, EffectTurnA,        EffectTurnB,      EffectFlip,
    EffectCircle,   EffectGrow,  EffectLens,         EffectColour,     EffectHalf,
    EffectMosaic,   EffectBlur};

int CharaEffectKind(const cCharaObj& chara)
{
    const cEdCharaEffect* record = chara.m_CharaEffect.m_Record;
    if (chara.m_CharaEffect.m_Index == 0 || !record) return 0;
    const int kind = record->m_Kind;
    return kind >= 0 && kind < kCharaEffectKinds ? kind : 0;
}

void DrawCharaPlain(const cCharaObj& chara, DDSURFACEDATA* dest, const GraphicRef& ref)
{
    const Picture p = PictureOf(chara, ref);
    if (p.work)
        CopyPicture(dest, p.left, p.top, p.width, p.height, ref.m_Copy, ref.m_X, ref.m_Y,
                    p.width0 * p.preScale, p.height0 * p.preScale, 1, ref);
    else
        CopyCell(dest, p.left, p.top, p.width, p.height, ref.m_Surface, ref.m_X, ref.m_Y, 1, ref);
}
