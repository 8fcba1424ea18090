// The screen effects of the play field.
//
// While an effect runs, the frame is drawn into the virtual back buffer;
// the handler of the effect's kind copies that picture to a work surface,
// clears the screen to palette number 16 and draws the copy back through
// its distortion, then advances the effect. In a frozen frame (pause,
// menus, the pause and ranking threads) the picture is drawn but nothing
// advances, except the blink's visibility test.
//
// The handlers divide by the effect's time, its frame count and the
// numbers of strips and waves. The authoring tool keeps those at least 1
// and 2; a damaged record is read as that minimum here, at use.

#include "world/screen_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/saturate.h"
#include "data/ed_database.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_blur.h"
#include "media/dd_composite.h"
#include "media/dd_fill.h"
#include "media/dd_lens.h"
#include "media/dd_present.h"
#include "media/dd_rotate.h"
#include "media/dd_surface.h"
#include "world/play_screen.h"
#include "world/running_stage.h"
#include "world/trunc.h"

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
constexpr int kCentreX = kScreenW / 2;
constexpr int kCentreY = kScreenH / 2;
// The colour behind the distorted picture.
constexpr int kBackColour = 16;
// The work surfaces of the bitmap table that hold the frame's copy.
constexpr int kWorkSlot = 67;
constexpr int kPixelWorkSlot = 68;

// The smallest values the authoring tool gives.
constexpr int kMinTime = 1;
constexpr int kMinStrips = 2;
constexpr int kMinWaves = 2;
constexpr int kMinCoarseness = 1;

cScrEffectPlayer& Effect()
{
    return RunStage().m_ScrEffect;
}

std::int32_t P(int i)
{
    return Effect().m_Record->m_Param[i];
}

// The effect's time in tenths of a second.
int Time()
{
    return std::max(P(0), kMinTime);
}

// The state's value truncated.
int Value()
{
    return TruncToInt(Effect().m_Value);
}

// The frame copied to a work surface; the screen cleared behind it.
DDSURFACEDATA* CopyFrame(int slot, bool clear = true)
{
    DDSURFACEDATA* copy = &g_BitmapSD[slot];
    DDBlt(copy, 0, 0, kScreenW, kScreenH, &BackBuffer, 0, 0, 0);
    if (clear) DDBoxFillPal(&BackBuffer, 0, 0, kScreenW, kScreenH, kBackColour);
    return copy;
}

// One advance from -> to by the state's step; 1 when the effect has ended.
int StepEffect(double from, double to)
{
    cScrEffectPlayer& e = Effect();
    return e.Step(from, to, e.m_Step);
}

// The advance of the kinds that run from the start value to the end value.
int AdvanceStartToEnd(int frozen)
{
    return frozen ? 0 : StepEffect(P(1), P(2));
}

// The centre of the player's picture on the screen; the screen's centre
// while no player is placed.
void PlayerCentre(int& cx, int& cy)
{
    const cRunningStage& stage = RunStage();
    if (stage.Player.empty()) {
        cx = kCentreX;
        cy = kCentreY;
        return;
    }
    const cPlayerObj& player = stage.Player.front();
    cx = player.m_ScrLeft + player.m_PicWidth / 2;
    cy = player.m_ScrTop + player.m_PicHeight / 2;
}

// How far the screen reaches from a centre along each axis.
int Reach(int c, int middle, int size)
{
    return SaturateToInt32(c >= middle ? c : std::int64_t{size} - c);
}

int ReachX(int cx)
{
    return Reach(cx, kCentreX, kScreenW);
}

int ReachY(int cy)
{
    return Reach(cy, kCentreY, kScreenH);
}

// 0: no effect; it holds the screen until it is replaced.
int ScrNone(int)
{
    return 0;
}

// 1 "移動": the picture slides from the start point to the end point.
int ScrSlide(int frozen)
{
    cScrEffectPlayer& e = Effect();
    DDSURFACEDATA* copy = CopyFrame(kWorkSlot);
    DDBlt(&BackBuffer, e.m_Int1, e.m_Int2, kScreenW, kScreenH, copy, 0, 0, 0);
    if (frozen) return 0;
    const double time = Time();
    const double x0 = P(1);
    const double y0 = P(2);
    e.m_Int1 = TruncToInt((P(3) - x0) / time * e.m_Value + x0);
    e.m_Int2 = TruncToInt((P(4) - y0) / time * e.m_Value + y0);
    return StepEffect(0, P(0));
}

// One frame of a shake: p2 full swings of amplitude p1 over the time.
void StepShake(cScrEffectPlayer& e)
{
    const double amplitude = P(1);
    const double d = static_cast<double>(P(2)) * amplitude * 4.0 / (Time() * 6.0);
    if (e.m_Int1 == 0) {
        e.m_Value2 += d;
        if (e.m_Value2 >= amplitude) {
            e.m_Value2 = amplitude;
            e.m_Int1 = 1;
        }
    } else {
        e.m_Value2 -= d;
        if (e.m_Value2 <= -amplitude) {
            e.m_Value2 = -amplitude;
            e.m_Int1 = 0;
        }
    }
}

int Shake(int frozen, bool vertical)
{
    cScrEffectPlayer& e = Effect();
    DDSURFACEDATA* copy = CopyFrame(kWorkSlot);
    const int offset = TruncToInt(e.m_Value2);
    DDBlt(&BackBuffer, vertical ? 0 : offset, vertical ? offset : 0, kScreenW, kScreenH, copy, 0, 0,
          0);
    if (frozen) return 0;
    StepShake(e);
    return StepEffect(0, P(0));
}

// 2 "振動（横）", 3 "振動（縦）".
int ShakeX(int frozen)
{
    return Shake(frozen, false);
}

int ShakeY(int frozen)
{
    return Shake(frozen, true);
}

// Strips of the screen, odd and even ones pushed apart by the value.
int Strips(int frozen, bool vertical)
{
    DDSURFACEDATA* copy = CopyFrame(kWorkSlot);
    const int count = std::max(P(3), kMinStrips);
    const int extent = vertical ? kScreenW : kScreenH;
    const int size = (extent - 1) / count + 1; // rounded up
    DDBltShift(&BackBuffer, 0, 0, kScreenW, kScreenH, size, Value(), copy, 0, 0, 0,
               vertical ? 1 : 0);
    return AdvanceStartToEnd(frozen);
}

// 4 "分割（横）", 5 "分割（縦）".
int StripsX(int frozen)
{
    return Strips(frozen, false);
}

int StripsY(int frozen)
{
    return Strips(frozen, true);
}

// A sine wave over the screen, its amplitude the value, moving by one
// degree a frame.
int Wave(int frozen, bool vertical)
{
    cScrEffectPlayer& e = Effect();
    DDSURFACEDATA* copy = CopyFrame(kWorkSlot);
    DDBltWave(&BackBuffer, 0, 0, kScreenW, kScreenH, std::max(P(3), kMinWaves), e.m_Value, e.m_Int1,
              std::max(P(4), kMinCoarseness), copy, 0, 0, 0, vertical ? 1 : 0);
    if (frozen) return 0;
    if (++e.m_Int1 >= 360) e.m_Int1 = 0;
    return AdvanceStartToEnd(frozen);
}

// 6 "波（横）", 7 "波（縦）".
int WaveX(int frozen)
{
    return Wave(frozen, false);
}

int WaveY(int frozen)
{
    return Wave(frozen, true);
}

// 8 "点滅": while hidden, the layers are drawn again over the objects. The
// visibility turns every p1 frames; that test runs in frozen frames too.
int Blink(int frozen)
{
    cScrEffectPlayer& e = Effect();
    if (e.m_Int2 == 0) {
        DrawLayers(&BackBuffer, 0);
        DrawLayers(&BackBuffer, 1);
    }
    if (e.m_Int1 >= P(1)) {
        e.m_Int1 = 0;
        e.m_Int2 = e.m_Int2 ? 0 : 1;
    }
    if (frozen) return 0;
    ++e.m_Int1;
    return StepEffect(0, P(0));
}

// 9 "回転": the screen turned about its centre.
int Rotate(int frozen)
{
    DDSURFACEDATA* copy = CopyFrame(kPixelWorkSlot);
    DDBltRotate(&BackBuffer, kCentreX, kCentreY, kScreenW, kScreenH, kCentreX, kCentreY, Value(),
                copy, 0, 0, 0);
    return AdvanceStartToEnd(frozen);
}

// 10 "円": a disc of the picture around the player, the rest cleared.
int Circle(int frozen)
{
    DDSURFACEDATA* copy = CopyFrame(kWorkSlot);
    int cx = 0;
    int cy = 0;
    PlayerCentre(cx, cy);
    DDBltCircle(&BackBuffer, cx, cy, ReachX(cx), ReachY(cy), Value(),
                std::max(P(3), kMinCoarseness), copy, cx, cy, 0);
    return AdvanceStartToEnd(frozen);
}

// 11 "拡大": the value is the width of the screen's picture; above 640 the
// part around the player is stretched over the screen, below it the whole
// picture is shrunk into the middle.
int Zoom(int frozen)
{
    const double z = Value() * 0.0015625;
    if (z >= 1.0) {
        DDSURFACEDATA* copy = CopyFrame(kPixelWorkSlot, false);
        int cx = 0;
        int cy = 0;
        PlayerCentre(cx, cy);
        const double w = kScreenW / z;
        const double h = kScreenH / z;
        int sx = TruncToInt(cx - w * 0.5);
        if (sx + TruncToInt(w) >= kScreenW) sx = TruncToInt(kScreenW - w);
        if (sx < 0) sx = 0;
        int sy = TruncToInt(cy - h * 0.5);
        if (sy + TruncToInt(h) >= kScreenH) sy = TruncToInt(kScreenH - h);
        if (sy < 0) sy = 0;
        DDBltEx(&BackBuffer, 0, 0, kScreenW, kScreenH, copy, sx, sy, TruncToInt(w), TruncToInt(h),
                0);
    } else {
        DDSURFACEDATA* copy = CopyFrame(kPixelWorkSlot);
        DDBltEx(&BackBuffer, TruncToInt((kScreenW - kScreenW * z) * 0.5),
                TruncToInt((kScreenH - kScreenH * z) * 0.5), TruncToInt(kScreenW * z),
                TruncToInt(kScreenH * z), copy, 0, 0, kScreenW, kScreenH, 0);
    }
    return AdvanceStartToEnd(frozen);
}

// 12 "レンズ": a lens over the player, moved by (p3, p4), wide enough to
// cover the screen.
int Lens(int frozen)
{
    DDSURFACEDATA* copy = CopyFrame(kPixelWorkSlot);
    int cx = 0;
    int cy = 0;
    PlayerCentre(cx, cy);
    cx = SaturateToInt32(std::int64_t{cx} + P(3));
    cy = SaturateToInt32(std::int64_t{cy} + P(4));
    const int radius = TruncToInt(std::max(ReachX(cx), ReachY(cy)) * std::sqrt(2.0));
    DDBltLens(&BackBuffer, cx, cy, radius, Value(), copy, cx, cy, 0);
    return AdvanceStartToEnd(frozen);
}

// 13 "モザイク": blocks of value x value pixels.
int Mosaic(int frozen)
{
    DDSURFACEDATA* copy = CopyFrame(kPixelWorkSlot);
    DDBltMosaic(&BackBuffer, 0, 0, kScreenW, kScreenH, Value(), copy, 0, 0, 0);
    return AdvanceStartToEnd(frozen);
}

} // namespace

const ScrEffectProc g_ScrEffectProc[kScrEffectKinds] = {ScrNone, ScrSlide, ShakeX, ShakeY, StripsX,
                                                        StripsY, WaveX,    WaveY,  Blink,  Rotate,
                                                        Circle,  Zoom,     Lens,   Mosaic};

void DrawScrEffect(int frozen)
{
    cScrEffectPlayer& e = Effect();
    if (e.m_Index == 0) return;
    // A kind no handler knows (a damaged record) ends at once.
    const int kind = e.m_Record ? e.m_Record->m_Kind : -1;
    const bool known = kind >= 0 && kind < kScrEffectKinds;
    if (known && !g_ScrEffectProc[kind](frozen)) return;
    e.m_Index = 0;
    DDSetVirtualBackBuffer(0);
}
