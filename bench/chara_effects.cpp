// One character drawn with each character effect onto a 640 x 480 back
// buffer, in the texture back end and the surface back end, at scale 1 (the
// picture's own cell) and scale 3 (through the work surface). Each reports
// how many such characters fit in one 60 Hz frame on one core
// (per_frame_budget): a stage with many effects running must leave room
// for the rest of the frame.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "data/ed_effect.h"
#include "media/bitmap_table.h"
#include "media/dd_fill.h"
#include "media/dd_init.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"
#include "world/chara_effects.h"
#include "world/chara_obj.h"
#include "world/graphic_ref.h"

namespace {

constexpr int kCell = 32;
constexpr double kFrameBudgetSeconds = 1.0 / 60;

using Clock = std::chrono::steady_clock;

// A value and parameters that make each kind draw something typical.
struct KindSetting {
    const char* name;
    double value;
    int params[5];
    int toggle;
};

const KindSetting kKinds[kCharaEffectKinds] = {
    {"None", 0, {}, 0},
    {"Burst", 8, {10, 0, 32}, 0},
    {"StripsAcross", 4, {10, 0, 32, 4}, 0},
    {"StripsDown", 4, {10, 0, 32, 4}, 0},
    {"WaveAcross", 6, {10, 0, 32, 2, 2}, 0},
    {"WaveDown", 6, {10, 0, 32, 2, 2}, 0},
    {"Blink", 0, {10, 2}, 1},
    {"TurnA", 33, {10, 0, 360}, 0},
    {"TurnB", 33, {10, 0, 360}, 0},
    {"Flip", 7, {10, 0, 256}, 0},
    {"Circle", 12, {10, 32, 0, 2}, 0},
    {"Grow", 48, {10, 32, 64}, 0},
    {"Lens", 40, {10, 100, 5, 4, 4}, 0},
    {"Colour", 2, {10, 1, 4, 20}, 0},
    {"Half", 0, {10, 9999}, 0},
    {"Mosaic", 4, {10, 1, 8}, 0},
    {"Blur", 2, {10, 1, 4}, 0},
};

struct Scene {
    DDSURFACEDATA sheet, copy, mirror, mirrorCopy;
    cEdCharaEffect record;
    cCharaObj chara;
    GraphicRef ref;
};

void Picture(DDSURFACEDATA* sd)
{
    DDCreateSurface(sd, kCell, kCell, 1, 0, 0, 0, 0);
    for (int y = 0; y < kCell; ++y)
        DDBoxFillPal(sd, 0, y, kCell, 1, y % 4 == 0 ? 0 : 1 + y);
}

void SetUp(Scene& s, int d3d, int bpp, int scale)
{
    InitBitmapTable();
    DDInit(d3d, 0, 640, 480, bpp, 0, 1, 1, 60, 0, g_BitmapSD.data(), g_BitmapTable.data(),
           BITMAP_COUNT, 0);
    for (int n = 0; n < 256; ++n)
        g_Palette[n] = DDPALENTRY{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(255 - n),
                                  static_cast<std::uint8_t>(n * 7), PC_RESERVED};
    g_ScreenPalette = g_Palette;
    if (d3d || bpp == 32) DDSetTransmit(g_Palette[0].red, g_Palette[0].green, g_Palette[0].blue);
    DDCreateSurface(&g_BitmapSD[d3d ? 67 : 68], 640, 480, 1, 1, 0, 0, 0);
    for (DDSURFACEDATA* sd : {&s.sheet, &s.copy, &s.mirror, &s.mirrorCopy})
        Picture(sd);
    s.ref.m_Surface = &s.sheet;
    s.ref.m_Copy = &s.copy;
    s.ref.m_Opposite = &s.mirror;
    s.ref.m_OppositeCopy = &s.mirrorCopy;
    s.chara.m_Def.nSize = static_cast<std::uint8_t>(scale);
    s.chara.m_PicWidth0 = s.chara.m_PicHeight0 = kCell;
    s.chara.m_PicWidth = s.chara.m_PicHeight = kCell * scale;
    s.chara.m_ScrLeft = 200;
    s.chara.m_ScrTop = 150;
    DDBoxFillPal(&BackBuffer, 0, 0, 640, 480, 60);
}

void TearDown(Scene& s, int d3d)
{
    for (DDSURFACEDATA* sd : {&s.sheet, &s.copy, &s.mirror, &s.mirrorCopy})
        DDReleaseSurface(sd);
    DDReleaseSurface(&g_BitmapSD[d3d ? 67 : 68]);
    DDUninit();
}

// state.range: kind, Direct3D, bits per pixel, scale.
void BM_CharaEffect(benchmark::State& state)
{
    const int kind = static_cast<int>(state.range(0));
    const int d3d = static_cast<int>(state.range(1));
    const int scale = static_cast<int>(state.range(3));
    Scene s;
    SetUp(s, d3d, static_cast<int>(state.range(2)), scale);
    const KindSetting& k = kKinds[kind];
    s.record.m_Kind = kind;
    for (int i = 0; i < 5; ++i)
        s.record.m_Param[i] = k.params[i];
    CharaEffectState& e = s.chara.m_CharaEffect;
    e.m_Index = 1;
    e.m_Record = &s.record;
    e.m_Value = k.value;
    e.m_Work2 = k.toggle;
    state.SetLabel(std::string(k.name) + (d3d ? " Texture" : " Surface") + " x" +
                   std::to_string(scale));
    const auto start = Clock::now();
    std::int64_t drawn = 0;
    for (auto _ : state) {
        g_CharaEffectDrawProc[kind](s.chara, &BackBuffer, s.ref, 1, 1);
        ++drawn;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (drawn > 0 && seconds > 0)
        state.counters["per_frame_budget"] = kFrameBudgetSeconds * drawn / seconds;
    TearDown(s, d3d);
}

void Arguments(benchmark::internal::Benchmark* b)
{
    for (int kind = 0; kind < kCharaEffectKinds; ++kind)
        for (int d3d : {1, 0})
            for (int scale : {1, 3})
                b->Args({kind, d3d, 32, scale});
}

BENCHMARK(BM_CharaEffect)->Apply(Arguments);

} // namespace
