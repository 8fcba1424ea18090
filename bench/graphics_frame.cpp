// The per-frame pixel work of the graphics layer on a full 640 x 480 frame:
// plain and colour-keyed copies, the 8-bit to 32-bit conversion of a frame,
// fills, a half-translucent copy, and each pixel effect in the texture
// style ("Texture") and the surface style ("Surface"). Each reports pixels
// per second and its speed against memcpy of the same 32-bit frame's bytes
// on the same run (vs_memcpy: 1 is as fast as memcpy), and the share of a
// 60 Hz frame (16.7 ms) that one frame of it takes on one core
// (of_frame_budget).

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_blur.h"
#include "media/dd_fade.h"
#include "media/dd_fill.h"
#include "media/dd_init.h"
#include "media/dd_lens.h"
#include "media/dd_output.h"
#include "media/dd_palette.h"
#include "media/dd_present.h"
#include "media/dd_render.h"
#include "media/dd_rotate.h"
#include "media/dd_surface.h"
#include "media/dd_translucent.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kPixels = double{kWidth} * kHeight;
constexpr double kFrameBudgetSeconds = 1.0 / 60;

double g_MemcpyPixelsPerSecond = 0;

using Clock = std::chrono::steady_clock;

// Runs the benchmark's loop and reports its rate and its ratio to memcpy.
template <typename Work> void Measure(benchmark::State& state, Work&& work)
{
    const auto start = Clock::now();
    std::int64_t frames = 0;
    for (auto _ : state) {
        work();
        ++frames;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double rate = seconds > 0 ? frames * kPixels / seconds : 0;
    state.counters["px_per_s"] = rate;
    if (g_MemcpyPixelsPerSecond > 0) state.counters["vs_memcpy"] = rate / g_MemcpyPixelsPerSecond;
    if (frames > 0) state.counters["of_frame_budget"] = seconds / frames / kFrameBudgetSeconds;
}

void SetUp(int d3d, int bpp)
{
    InitBitmapTable();
    DDInit(d3d, 0, kWidth, kHeight, bpp, 0, 1, 1, 60, 0, g_BitmapSD.data(), g_BitmapTable.data(),
           BITMAP_COUNT, 0);
    for (int n = 0; n < 256; ++n)
        g_Palette[n] = DDPALENTRY{static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(255 - n),
                                  static_cast<std::uint8_t>(n * 7), PC_RESERVED};
    if (d3d || bpp == 32) DDSetTransmit(g_Palette[0].red, g_Palette[0].green, g_Palette[0].blue);
}

// A picture of the frame's size: stripes of colours, with palette colour 0
// (transparent where the picture is keyed) on every other 8-pixel run.
void Picture(DDSURFACEDATA* sd, int colourKey)
{
    DDCreateSurface(sd, kWidth, kHeight, colourKey, 1, 0, 0, 0);
    for (int x = 0; x < kWidth; x += 8)
        DDBoxFillPal(sd, x, 0, 8, kHeight, (x / 8) % 2 ? 0 : 1 + (x / 8) % 200);
}

void BM_Memcpy(benchmark::State& state)
{
    std::vector<std::uint32_t> from(kWidth * kHeight, 0x123456), to(kWidth * kHeight);
    const auto start = Clock::now();
    std::int64_t frames = 0;
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), to.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
        ++frames;
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    g_MemcpyPixelsPerSecond = seconds > 0 ? frames * kPixels / seconds : 0;
    state.counters["px_per_s"] = g_MemcpyPixelsPerSecond;
    state.counters["vs_memcpy"] = 1.0;
}
BENCHMARK(BM_Memcpy);

void BM_Copy32_Texture(benchmark::State& state)
{
    SetUp(1, 32);
    DDSURFACEDATA picture;
    Picture(&picture, 0);
    DDClearPal(&picture, 5); // opaque everywhere
    Measure(state, [&] { DDBlt(&BackBuffer, 0, 0, kWidth, kHeight, &picture, 0, 0, 0); });
    DDReleaseSurface(&picture);
    DDUninit();
}
BENCHMARK(BM_Copy32_Texture);

void BM_Copy32_Surface(benchmark::State& state)
{
    SetUp(0, 32);
    DDSURFACEDATA picture;
    Picture(&picture, 0);
    Measure(state, [&] { DDBlt(&BackBuffer, 0, 0, kWidth, kHeight, &picture, 0, 0, 0); });
    DDReleaseSurface(&picture);
    DDUninit();
}
BENCHMARK(BM_Copy32_Surface);

void BM_KeyedCopy_Texture(benchmark::State& state)
{
    SetUp(1, 32);
    DDSURFACEDATA picture;
    Picture(&picture, 1);
    Measure(state, [&] { DDBlt(&BackBuffer, 0, 0, kWidth, kHeight, &picture, 0, 0, 1); });
    DDReleaseSurface(&picture);
    DDUninit();
}
BENCHMARK(BM_KeyedCopy_Texture);

void BM_KeyedCopy_Surface(benchmark::State& state)
{
    SetUp(0, 32);
    DDSURFACEDATA picture;
    Picture(&picture, 1);
    Measure(state, [&] { DDBlt(&BackBuffer, 0, 0, kWidth, kHeight, &picture, 0, 0, 1); });
    DDReleaseSurface(&picture);
    DDUninit();
}
BENCHMARK(BM_KeyedCopy_Surface);

void BM_Convert8To32(benchmark::State& state)
{
    DDPixels frame(DDFormat::P8, kWidth, kHeight);
    std::uint8_t* bytes = frame.data();
    for (std::size_t i = 0; i < frame.storage().size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31);
    std::array<DDPALENTRY, 256> palette{};
    for (int n = 0; n < 256; ++n)
        palette[n] =
            DDPALENTRY{static_cast<std::uint8_t>(n), 0, static_cast<std::uint8_t>(255 - n), 0};
    std::vector<std::uint32_t> out(kWidth * kHeight);
    Measure(state, [&] {
        DDFrameToXrgb(frame, palette.data(), out.data());
        benchmark::DoNotOptimize(out.data());
    });
}
BENCHMARK(BM_Convert8To32);

void BM_Fill_Texture(benchmark::State& state)
{
    SetUp(1, 32);
    int n = 0;
    Measure(state, [&] { DDBoxFillPal(&BackBuffer, 0, 0, kWidth, kHeight, 1 + (n++ % 200)); });
    DDUninit();
}
BENCHMARK(BM_Fill_Texture);

void BM_Fill_Surface(benchmark::State& state)
{
    SetUp(0, 32);
    int n = 0;
    Measure(state, [&] { DDBoxFillPal(&BackBuffer, 0, 0, kWidth, kHeight, 1 + (n++ % 200)); });
    DDUninit();
}
BENCHMARK(BM_Fill_Surface);

// Half translucency as the texture back end draws it: the vertex colour's
// alpha of 128 modulates the texels' alpha, and the copy blends.
void BM_HalfTranslucent_Texture(benchmark::State& state)
{
    SetUp(1, 32);
    DDSURFACEDATA picture;
    Picture(&picture, 0);
    DDClearPal(&picture, 5);
    DDClearPal(&BackBuffer, 9);
    DDSetVertexColor(0x80FFFFFFu);
    g_D3DState->alphaOp = D3DTOP_MODULATE;
    Measure(state, [&] { DDBlt(&BackBuffer, 0, 0, kWidth, kHeight, &picture, 0, 0, 0); });
    DDResetVertexColor();
    DDResetAlphaOp();
    DDReleaseSurface(&picture);
    DDUninit();
}
BENCHMARK(BM_HalfTranslucent_Texture);

// The pixel effects, each over the whole frame: a picture of the frame's
// size (keyed where it is palette colour 0) drawn onto the back buffer. In
// the texture style the picture is a texture in video memory, so the
// effects that have a textured quad draw it.
template <typename Effect> void RunEffect(benchmark::State& state, int d3d, Effect&& effect)
{
    SetUp(d3d, 32);
    DDSURFACEDATA picture;
    Picture(&picture, 1);
    DDClearPal(&BackBuffer, 9);
    Measure(state, [&] { effect(&picture); });
    DDReleaseSurface(&picture);
    DDUninit();
}

#define RT_EFFECT_BENCHMARKS(name, call)                                                           \
    void BM_##name##_Texture(benchmark::State& state)                                              \
    {                                                                                              \
        RunEffect(state, 1, [](DDSURFACEDATA* picture) { call; });                                 \
    }                                                                                              \
    BENCHMARK(BM_##name##_Texture);                                                                \
    void BM_##name##_Surface(benchmark::State& state)                                              \
    {                                                                                              \
        RunEffect(state, 0, [](DDSURFACEDATA* picture) { call; });                                 \
    }                                                                                              \
    BENCHMARK(BM_##name##_Surface)

RT_EFFECT_BENCHMARKS(Half, DDBltHalf(&BackBuffer, 0, 0, kWidth, kHeight, picture, 0, 0, 1,
                                     g_BlendTable.data()));
RT_EFFECT_BENCHMARKS(Tint, DDBltTint(&BackBuffer, 0, 0, kWidth, kHeight, picture, 0, 0, 1,
                                     g_ScreenPalette.data(), g_BlendTable.data(), 40, 2));
RT_EFFECT_BENCHMARKS(Blur, DDBltBlur(&BackBuffer, 0, 0, kWidth, kHeight, 4, 4, picture, 0, 0, 1));
RT_EFFECT_BENCHMARKS(Mosaic, DDBltMosaic(&BackBuffer, 0, 0, kWidth, kHeight, 8, picture, 0, 0, 1));
RT_EFFECT_BENCHMARKS(Rotate, DDBltRotate(&BackBuffer, kWidth / 2, kHeight / 2, kWidth, kHeight,
                                         kWidth / 2, kHeight / 2, 30, picture, 0, 0, 1));
// A lens whose disc covers the whole screen.
RT_EFFECT_BENCHMARKS(Lens, DDBltLens(&BackBuffer, kWidth / 2, kHeight / 2, 400, 300, picture,
                                     kWidth / 2, kHeight / 2, 1));
RT_EFFECT_BENCHMARKS(Circle, DDBltCircle(&BackBuffer, kWidth / 2, kHeight / 2, kWidth, kHeight, 400,
                                         1, picture, kWidth / 2, kHeight / 2, 1));

// The effects of one back end only: the fade of the surface style and the
// screen colour of the texture style (a quad; in software while the
// virtual back buffer is on).
void BM_Fade_Surface(benchmark::State& state)
{
    SetUp(0, 32);
    DDSURFACEDATA picture;
    Picture(&picture, 0);
    Measure(state, [&] { DDFade_UnPal(&BackBuffer, 128, 0, 0, 0, &picture); });
    DDReleaseSurface(&picture);
    DDUninit();
}
BENCHMARK(BM_Fade_Surface);

void BM_ChangeColor_Texture(benchmark::State& state)
{
    SetUp(1, 32);
    DDClearPal(&BackBuffer, 9);
    Measure(state, [&] { DDChangeColor(&BackBuffer, 0, 0, kWidth, kHeight, 128, 200, 40, 10); });
    DDUninit();
}
BENCHMARK(BM_ChangeColor_Texture);

void BM_ChangeColor_TextureVirtual(benchmark::State& state)
{
    SetUp(1, 32);
    DDSetVirtualBackBuffer(1);
    DDClearPal(&BackBuffer, 9);
    Measure(state, [&] { DDChangeColor(&BackBuffer, 0, 0, kWidth, kHeight, 128, 200, 40, 10); });
    DDSetVirtualBackBuffer(0);
    DDUninit();
}
BENCHMARK(BM_ChangeColor_TextureVirtual);

} // namespace
