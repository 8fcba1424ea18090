// The character effects as they reach the screen: each kind draws with its
// own drawing operation and the values the effect gives it, through the
// work surface when the scale calls for it, in every display mode of both
// back ends; the values that would break the drawing operations; and how
// the effects advance, blink and end.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "data/ed_effect.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_blur.h"
#include "media/dd_composite.h"
#include "media/dd_lens.h"
#include "media/dd_palette.h"
#include "media/dd_render.h"
#include "media/dd_rotate.h"
#include "media/dd_state.h"
#include "media/dd_translucent.h"
#include "media/graphics_fixture.h"
#include "world/chara_effects.h"
#include "world/chara_obj.h"
#include "world/graphic_ref.h"

namespace {

constexpr int kDisplayW = 64;
constexpr int kDisplayH = 48;
constexpr int kBackground = 50;
constexpr int kCell = 16;

using Pixels = std::vector<std::uint32_t>;

Pixels Snapshot(const DDSURFACEDATA& sd)
{
    Pixels out;
    const DDPixels& p = *sd.pixels();
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            out.push_back(p.get(x, y));
    return out;
}

std::uint64_t Hash(const Pixels& pixels)
{
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint32_t v : pixels) {
        h ^= v;
        h *= 1099511628211ull;
    }
    return h;
}

// The test picture: a diamond of distinct colours on transparent corners.
int PictureColour(int x, int y, bool mirrored)
{
    const int u = mirrored ? kCell - 1 - x : x;
    const int dx = std::abs(2 * u - (kCell - 1));
    const int dy = std::abs(2 * y - (kCell - 1));
    if (dx + dy > kCell + 4) return 0;
    return 1 + (u * 3 + y * 5) % 40;
}

void PaintPicture(DDSURFACEDATA* sd, bool mirrored)
{
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            DDBoxFillPal(sd, x, y, 1, 1, PictureColour(x, y, mirrored));
}

// A character whose picture is a 16 x 16 cell, drawn at a scale, and the
// surfaces of its draw record: the cell, its scaling copy and the mirrored
// pair; plus the work surface of the back end.
class CharaEffectDrawing : public testing::TestWithParam<gfxtest::Mode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gfxtest::SetUpMode(GetParam(), kDisplayW, kDisplayH));
        // An 8-bit blend table that mixes palette numbers evenly.
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b)
                g_BlendTable[static_cast<std::size_t>(a * 256 + b)] =
                    static_cast<std::uint8_t>((a + b) / 2);
        for (DDSURFACEDATA* sd : {&m_Sheet, &m_Copy, &m_Mirror, &m_MirrorCopy})
            ASSERT_TRUE(DDCreateSurface(sd, kCell, kCell, 1, 0, 0, 0, 0));
        PaintPicture(&m_Sheet, false);
        PaintPicture(&m_Copy, false);
        PaintPicture(&m_Mirror, true);
        PaintPicture(&m_MirrorCopy, true);
        m_Work = &g_BitmapSD[g_D3DState ? 67 : 68];
        ASSERT_TRUE(DDCreateSurface(m_Work, kDisplayW, kDisplayW, 1, 1, 0, 0, 0));
        m_Ref.m_Surface = &m_Sheet;
        m_Ref.m_Copy = &m_Copy;
        m_Ref.m_Opposite = &m_Mirror;
        m_Ref.m_OppositeCopy = &m_MirrorCopy;
        SetScale(1);
        ClearScreen();
    }
    void TearDown() override
    {
        for (DDSURFACEDATA* sd : {&m_Sheet, &m_Copy, &m_Mirror, &m_MirrorCopy, m_Work})
            DDReleaseSurface(sd);
        g_BlendTable.fill(0);
        gfxtest::TearDownMode();
    }

    void SetScale(int scale)
    {
        m_Chara.m_Def.nSize = static_cast<std::uint8_t>(scale);
        m_Chara.m_PicWidth0 = m_Chara.m_PicHeight0 = kCell;
        m_Chara.m_PicWidth = m_Chara.m_PicHeight = kCell * scale;
        m_Chara.m_ScrLeft = 10;
        m_Chara.m_ScrTop = scale > 1 ? 8 : 12;
    }
    void ClearScreen() { DDBoxFillPal(&BackBuffer, 0, 0, kDisplayW, kDisplayH, kBackground); }
    // Starts an effect of a kind at a value (held: it stays there).
    void Effect(int kind, std::array<int, 5> params, double value, int work1 = 0, int work2 = 0)
    {
        m_Record.m_Kind = kind;
        for (int i = 0; i < 5; ++i)
            m_Record.m_Param[i] = params[static_cast<std::size_t>(i)];
        CharaEffectState& e = m_Chara.m_CharaEffect;
        e.m_Index = 1;
        e.m_Record = &m_Record;
        e.m_Value = value;
        e.m_Start = 0;
        e.m_End = 1000;
        e.m_Step = 1;
        e.m_Work1 = work1;
        e.m_Work2 = work2;
    }
    // One held frame of the running effect onto the back buffer.
    Pixels Draw(DDSURFACEDATA* dest = &BackBuffer)
    {
        ClearScreen();
        g_CharaEffectDrawProc[m_Record.m_Kind](m_Chara, dest, m_Ref, 1, 1);
        return Snapshot(BackBuffer);
    }
    Pixels Expected(const std::function<void()>& drawing)
    {
        ClearScreen();
        drawing();
        return Snapshot(BackBuffer);
    }
    Pixels Background()
    {
        return Expected([] {});
    }

    DDSURFACEDATA m_Sheet, m_Copy, m_Mirror, m_MirrorCopy;
    DDSURFACEDATA* m_Work = nullptr;
    GraphicRef m_Ref;
    cEdCharaEffect m_Record;
    cCharaObj m_Chara;
};

struct KindCase {
    const char* name;
    int kind;
    std::array<int, 5> params;
    double value;
    int work1;
    int work2;
    // The drawing operation the kind stands for, with the values worked out
    // by hand from the effect's value and parameters (picture at (10, 12),
    // 16 x 16, centre (18, 20)).
    std::function<void(DDSURFACEDATA* dest, DDSURFACEDATA* sheet, DDSURFACEDATA* mirror,
                       DDSURFACEDATA* work)>
        primitive;
};

const std::vector<KindCase>& KindCases()
{
    static const std::vector<KindCase> cases = {
        {"None",
         0,
         {},
         0,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBlt(d, 10, 12, 16, 16, s, 0, 0, 1);
         }},
        {"Burst",
         1,
         {10, 0, 32},
         3.7,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltSplit(d, 10, 12, 16, 16, s, 0, 0, 3, 1);
         }},
        {"StripsAcross",
         2,
         {10, 0, 32, 3},
         2.5,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltShift(d, 10, 12, 16, 16, 6, 2, s, 0, 0, 1, 0);
         }},
        {"StripsDown",
         3,
         {10, 0, 32, 3},
         2.5,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltShift(d, 10, 12, 16, 16, 6, 2, s, 0, 0, 1, 1);
         }},
        {"WaveAcross",
         4,
         {10, 0, 32, 2, 2},
         3.5,
         30,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltWave(d, 10, 12, 16, 16, 2, 3.5, 30, 2, s, 0, 0, 1, 0);
         }},
        {"WaveDown",
         5,
         {10, 0, 32, 3, 1},
         2.0,
         100,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltWave(d, 10, 12, 16, 16, 3, 2.0, 100, 1, s, 0, 0, 1, 1);
         }},
        {"BlinkShown",
         6,
         {10, 2},
         0,
         0,
         1,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBlt(d, 10, 12, 16, 16, s, 0, 0, 1);
         }},
        {"BlinkHidden",
         6,
         {10, 2},
         0,
         0,
         0,
         [](DDSURFACEDATA*, DDSURFACEDATA*, DDSURFACEDATA*, DDSURFACEDATA*) {}},
        {"TurnA",
         7,
         {10, 0, 360},
         30.9,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltRotate(d, 18, 20, 16, 16, 8, 8, 30, s, 0, 0, 1);
         }},
        {"TurnB",
         8,
         {10, 0, 360},
         45,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltRotate(d, 18, 20, 16, 16, 8, 8, 45, s, 0, 0, 1);
         }},
        {"Flip",
         9,
         {10, 0, 256},
         11,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA* m, DDSURFACEDATA*) {
             DDBltFlip(d, 10, 12, 16, 16, s, 0, 0, m, 0, 0, 16, 16, 1, 11, 0);
         }},
        {"Circle",
         10,
         {5, 32, 0, 2},
         6.5,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltCircle(d, 18, 20, 8, 8, 6, 2, s, 8, 8, 1);
         }},
        {"Grow",
         11,
         {10, 32, 64},
         40,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltEx(d, 6, 8, 24, 24, s, 0, 0, 16, 16, 1);
         }},
        {"Lens",
         12,
         {10, 100, 5, 2, -1},
         20,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA* w) {
             // Radius int((2 + 8) x sqrt 2) = 14, centre shifted by half the offsets.
             const int cleared = (g_D3DState || g_DDBpp == 16) ? 56 : 28;
             DDBoxFillPal(w, 0, 0, cleared, cleared, 0);
             DDBlt(w, 0, 0, 16, 16, s, 0, 0, 0);
             DDBltLens(d, 19, 20, 14, 20, w, 10, 7, 1);
         }},
        {"Colour",
         13,
         {10, 1, 4, 20},
         2.9,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltTint(d, 10, 12, 16, 16, s, 0, 0, 1, g_ScreenPalette.data(), g_BlendTable.data(),
                       20, 2);
         }},
        {"HalfShown",
         14,
         {10, 9999},
         0,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltHalf(d, 10, 12, 16, 16, s, 0, 0, 1, g_BlendTable.data());
         }},
        {"HalfHidden",
         14,
         {10, 9999},
         0,
         0,
         1,
         [](DDSURFACEDATA*, DDSURFACEDATA*, DDSURFACEDATA*, DDSURFACEDATA*) {}},
        {"Mosaic",
         15,
         {10, 1, 8},
         3.2,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             DDBltMosaic(d, 10, 12, 16, 16, 3, s, 0, 0, 1);
         }},
        {"Blur",
         16,
         {10, 1, 4},
         2.4,
         0,
         0,
         [](DDSURFACEDATA* d, DDSURFACEDATA* s, DDSURFACEDATA*, DDSURFACEDATA*) {
             if (!g_D3DState && g_DDBpp == 8)
                 DDBltTint(d, 10, 12, 16, 16, s, 0, 0, 1, g_ScreenPalette.data(),
                           g_BlendTable.data(), 31, 2);
             else
                 DDBltBlur(d, 10, 12, 16, 16, 2, 2, s, 0, 0, 1);
         }},
    };
    return cases;
}

TEST_P(CharaEffectDrawing, EachKindDrawsWithItsOwnOperation)
{
    for (const KindCase& c : KindCases()) {
        SCOPED_TRACE(c.name);
        Effect(c.kind, c.params, c.value, c.work1, c.work2);
        const Pixels drawn = Draw();
        EXPECT_EQ(drawn, Expected([&] { c.primitive(&BackBuffer, &m_Sheet, &m_Mirror, m_Work); }));
        const bool hidden = std::string(c.name).find("Hidden") != std::string::npos;
        EXPECT_EQ(drawn == Background(), hidden) << "drawn exactly when the effect shows";
    }
}

// Pinned pictures of every kind, at scale 1 (the record's cell) and at
// scale 2 (through the work surface), per display mode: any change in what
// an effect draws shows here.
using HashTable = std::map<std::string, std::array<std::uint64_t, 2>>;
const HashTable& PinnedHashes(const std::string& mode);

TEST_P(CharaEffectDrawing, EveryKindDrawsTheSamePicturesInEveryMode)
{
    HashTable got;
    for (const KindCase& c : KindCases()) {
        for (int scale : {1, 2}) {
            SetScale(scale);
            Effect(c.kind, c.params, c.value, c.work1, c.work2);
            got[c.name][static_cast<std::size_t>(scale - 1)] = Hash(Draw());
        }
    }
    const std::uint64_t background = got["BlinkHidden"][0];
    std::string listing;
    for (const auto& [name, h] : got) {
        if (name.find("Hidden") == std::string::npos) {
            EXPECT_NE(h[0], background) << name << " draws something at scale 1";
            EXPECT_NE(h[1], background) << name << " draws something at scale 2";
        }
        char line[128];
        std::snprintf(line, sizeof line, "        {\"%s\", {0x%016llxull, 0x%016llxull}},\n",
                      name.c_str(), static_cast<unsigned long long>(h[0]),
                      static_cast<unsigned long long>(h[1]));
        listing += line;
    }
    EXPECT_EQ(got, PinnedHashes(GetParam().name)) << listing;
}

// A picture drawn larger than its cell is first stretched into the work
// surface, and the effect's amounts in pixels grow with the scale.
TEST_P(CharaEffectDrawing, AScaledPictureIsReadFromTheWorkSurfaceWithItsAmountsScaled)
{
    SetScale(2);
    DDSURFACEDATA* w = m_Work;
    DDSURFACEDATA* copy = &m_Copy;
    auto prepare = [w, copy] { DDBltEx(w, 0, 0, 32, 32, copy, 0, 0, 16, 16, 0); };

    Effect(0, {}, 0);
    EXPECT_EQ(Draw(), Expected([&] { DDBltEx(&BackBuffer, 10, 8, 32, 32, copy, 0, 0, 16, 16, 1); }))
        << "the plain picture is stretched from the scaling surface";

    Effect(1, {10, 0, 32}, 3.7);
    EXPECT_EQ(Draw(), Expected([&] {
                  prepare();
                  DDBltSplit(&BackBuffer, 10, 8, 32, 32, w, 0, 0, 7, 1);
              }))
        << "gap int(3.7 x 2)";

    Effect(11, {10, 32, 64}, 40);
    EXPECT_EQ(Draw(), Expected([&] {
                  prepare();
                  DDBltEx(&BackBuffer, 6, 4, 40, 40, w, 0, 0, 32, 32, 1);
              }))
        << "growth int((40 - 32) x 2) >> 1 = 8";

    Effect(15, {10, 1, 8}, 3.2);
    EXPECT_EQ(Draw(), Expected([&] {
                  prepare();
                  DDBltMosaic(&BackBuffer, 10, 8, 32, 32, 6, w, 0, 0, 1);
              }))
        << "mosaic blocks int(3.2 x 2)";

    Effect(16, {10, 1, 4}, 2.4);
    if (!g_D3DState && g_DDBpp == 8) {
        EXPECT_EQ(Draw(), Expected([&] {
                      prepare();
                      DDBltTint(&BackBuffer, 10, 8, 32, 32, w, 0, 0, 1, g_ScreenPalette.data(),
                                g_BlendTable.data(), 31, 2);
                  }))
            << "at 8 bits the blur's tint keeps its strength";
    } else {
        EXPECT_EQ(Draw(), Expected([&] {
                      prepare();
                      DDBltBlur(&BackBuffer, 10, 8, 32, 32, 4, 4, w, 0, 0, 1);
                  }))
            << "blur reach int(2.4 x 2)";
    }

    Effect(7, {10, 0, 360}, 30);
    if (g_D3DState) {
        EXPECT_EQ(Draw(), Expected([&] {
                      prepare();
                      DDBltRotate(&BackBuffer, 26, 24, 32, 32, 16, 16, 30, w, 0, 0, 1);
                  }))
            << "the texture back end turns the prepared picture";
    } else {
        // The cell is turned into a cleared square of int(16 x sqrt 2) = 22,
        // which is stretched to int(32 x sqrt 2) = 45 about the centre.
        EXPECT_EQ(Draw(), Expected([&] {
                      DDBoxFillPal(w, 0, 0, 22, 22, 0);
                      DDBltRotate(w, 11, 11, 16, 16, 8, 8, 30, copy, 0, 0, 1);
                      DDBltEx(&BackBuffer, 4, 2, 45, 45, w, 0, 0, 22, 22, 1);
                  }));
    }
}

// A pre-scaled cell drawn at its own scale needs no work surface.
TEST_P(CharaEffectDrawing, APreScaledCellAtItsOwnScaleIsDrawnAsItIs)
{
    SetScale(2);
    m_Ref.m_Large = 1;
    m_Ref.m_Size = 2;
    Effect(1, {10, 0, 32}, 3.7);
    EXPECT_EQ(Draw(),
              Expected([&] { DDBltSplit(&BackBuffer, 10, 8, 32, 32, &m_Sheet, 0, 0, 3, 1); }))
        << "gap int(3.7), read from the cell";
}

TEST_P(CharaEffectDrawing, TheWavesDrawOntoTheBackBufferWhateverSurfaceTheyAreGiven)
{
    DDSURFACEDATA other;
    ASSERT_TRUE(DDCreateSurface(&other, kDisplayW, kDisplayH, 1, 0, 0, 0, 0));
    DDBoxFillPal(&other, 0, 0, kDisplayW, kDisplayH, 7);
    const Pixels before = Snapshot(other);
    Effect(4, {10, 0, 32, 2, 2}, 3.5, 30);
    EXPECT_EQ(Draw(&other), Expected([&] {
                  DDBltWave(&BackBuffer, 10, 12, 16, 16, 2, 3.5, 30, 2, &m_Sheet, 0, 0, 1, 0);
              }));
    EXPECT_EQ(Snapshot(other), before);
    DDReleaseSurface(&other);
}

// An invincible character's tint (texture back end) is in force around
// the reads of its own cell only: a picture read through the work surface
// took it on there.
TEST_P(CharaEffectDrawing, TheTintIsInForceAroundTheCharactersOwnDrawingOnly)
{
    if (!g_D3DState) GTEST_SKIP() << "a tint exists only under Direct3D";
    m_Ref.m_Tint = 1;
    m_Ref.m_TintColour = 0xFF808080u;
    m_Ref.m_TintOp = D3DTOP_MODULATE;
    const int opt[2] = {static_cast<int>(0xFF808080u), D3DTOP_MODULATE};
    auto tinted = [](const std::function<void()>& drawing) {
        DDSetVertexColor(0xFF808080u);
        DDSetColorOp(D3DTOP_MODULATE);
        drawing();
        DDResetVertexColor();
        DDResetColorOp();
    };

    Effect(0, {}, 0);
    const Pixels plain = Draw();
    EXPECT_EQ(plain,
              Expected([&] { DDBltOpt(&BackBuffer, 10, 12, 16, 16, &m_Sheet, 0, 0, 1, opt); }));
    m_Ref.m_Tint = 0;
    EXPECT_NE(Draw(), plain) << "the tint shows";
    m_Ref.m_Tint = 1;

    Effect(8, {10, 0, 360}, 45);
    EXPECT_EQ(
        Draw(), Expected([&] {
            tinted([&] { DDBltRotate(&BackBuffer, 18, 20, 16, 16, 8, 8, 45, &m_Copy, 0, 0, 1); });
        }));

    Effect(13, {10, 1, 4, 20}, 1);
    EXPECT_EQ(Draw(), Expected([&] {
                  DDBltOpt(m_Work, 0, 0, 16, 16, &m_Sheet, 0, 0, 0, opt);
                  DDBltTint(&BackBuffer, 10, 12, 16, 16, m_Work, 0, 0, 1, g_ScreenPalette.data(),
                            g_BlendTable.data(), 20, 1);
              }))
        << "the colour change mixes the tinted picture";

    SetScale(2);
    Effect(15, {10, 1, 8}, 2);
    EXPECT_EQ(Draw(), Expected([&] {
                  DDBltExOpt(m_Work, 0, 0, 32, 32, &m_Copy, 0, 0, 16, 16, 0, opt);
                  DDBltMosaic(&BackBuffer, 10, 8, 32, 32, 4, m_Work, 0, 0, 1);
              }))
        << "a scaled picture takes the tint into the work surface";

    m_Ref.m_Tint = 0;
    SetScale(1);
    Effect(0, {}, 0);
    EXPECT_EQ(Draw(), Expected([&] { DDBlt(&BackBuffer, 10, 12, 16, 16, &m_Sheet, 0, 0, 1); }))
        << "no tint is left behind";
}

// Values a record or a running value can take that the drawing operations
// cannot use: each is read as the nearest one that draws.
TEST_P(CharaEffectDrawing, ValuesThatWouldBreakTheDrawingAreReadAsTheNearestThatWorks)
{
    for (int count : {0, -3}) {
        Effect(2, {10, 0, 32, count}, 2);
        EXPECT_EQ(Draw(), Expected([&] {
                      DDBltShift(&BackBuffer, 10, 12, 16, 16, 1, 2, &m_Sheet, 0, 0, 1, 0);
                  }))
            << "a strip count of " << count << " gives strips 1 pixel thick";
    }
    for (double size : {0.0, -5.0, 0.5}) {
        Effect(15, {10, 1, 8}, size);
        EXPECT_EQ(Draw(),
                  Expected([&] { DDBltMosaic(&BackBuffer, 10, 12, 16, 16, 1, &m_Copy, 0, 0, 1); }))
            << "a mosaic of size " << size << " has blocks of 1 pixel";
    }
    for (int band : {0, -2}) {
        Effect(10, {5, 32, 0, band}, 6);
        EXPECT_EQ(Draw(), Expected([&] {
                      DDBltCircle(&BackBuffer, 18, 20, 8, 8, 6, 1, &m_Sheet, 8, 8, 1);
                  }))
            << "a circle band of " << band << " is a band of 1 row";
    }
    for (double width : {16.0, 0.0, -1e9, 1e12}) {
        Effect(11, {10, 32, 64}, width);
        EXPECT_EQ(Draw(), Background()) << "a growth to " << width << " draws nothing";
    }
    Effect(12, {10, 100, 5, 1000, -1000}, 20);
    const Pixels farLens = Draw();
    Effect(12, {10, 100, 5, 16, -16}, 20);
    EXPECT_EQ(farLens, Draw()) << "lens offsets stay inside the record's range";
}

INSTANTIATE_TEST_SUITE_P(Modes, CharaEffectDrawing,
                         testing::Values(gfxtest::Mode{"Texture32", 1, 32, 1},
                                         gfxtest::Mode{"Texture16", 1, 16, 1},
                                         gfxtest::Mode{"Surface8", 0, 8, 0},
                                         gfxtest::Mode{"Surface16", 0, 16, 1},
                                         gfxtest::Mode{"Surface32", 0, 32, 1}),
                         gfxtest::ModeName);

const HashTable& PinnedHashes(const std::string& mode)
{
    static const std::map<std::string, HashTable> tables = {
        {"Texture32",
         {
             {"BlinkHidden", {0x9bee9c50ab859383ull, 0x9bee9c50ab859383ull}},
             {"BlinkShown", {0x21d8b917cac12e03ull, 0xa5f3a705629c2f83ull}},
             {"Blur", {0x85820e413b03ef2cull, 0xe5504d03c3311044ull}},
             {"Burst", {0xda92bbcade9ae2c3ull, 0x5c5efcaf6df42a83ull}},
             {"Circle", {0x69c41aa16aed73a3ull, 0x770be78b4f8b8223ull}},
             {"Colour", {0x07123e4591375584ull, 0x469defa523ec0fdfull}},
             {"Flip", {0xeef471c57038743bull, 0xb957157a1f01dfa3ull}},
             {"Grow", {0x9973577516a3f22bull, 0x51f4498cfad1820bull}},
             {"HalfHidden", {0x9bee9c50ab859383ull, 0x9bee9c50ab859383ull}},
             {"HalfShown", {0xe0a9e2ae8fb7bd83ull, 0xc3882663a1cd3143ull}},
             {"Lens", {0x20c7eaf1267c0b0bull, 0xc919fbdbee2e39dbull}},
             {"Mosaic", {0x3e6eeaf8ffdc3a01ull, 0xbe092c4cb91f7ea3ull}},
             {"None", {0x21d8b917cac12e03ull, 0xa5f3a705629c2f83ull}},
             {"StripsAcross", {0xb70a38f6cb253813ull, 0x56c3b931139f7b23ull}},
             {"StripsDown", {0x476f8873a78bb733ull, 0x29e71f974830e543ull}},
             {"TurnA", {0x727f347f95516c63ull, 0x967e7c49f3b22703ull}},
             {"TurnB", {0xe13126ead5c74dc3ull, 0xfe405de5c31f14a3ull}},
             {"WaveAcross", {0xeb03d95e72b6e883ull, 0xb5d9d6e1b281b8c3ull}},
             {"WaveDown", {0x4b606e7d0a8173e3ull, 0x3ca48036224a9e63ull}},
         }},
        {"Texture16",
         {
             {"BlinkHidden", {0x7456ee9a8f18af83ull, 0x7456ee9a8f18af83ull}},
             {"BlinkShown", {0xeb01de92ebba6ff3ull, 0x785eaa5e6c3c053bull}},
             {"Blur", {0x015cec11e8b24413ull, 0x2c4bcf74cacd37d2ull}},
             {"Burst", {0xfa767a287a305863ull, 0x67529a1b4382be63ull}},
             {"Circle", {0x8f78c47d665efcefull, 0x82a642f0b850b77full}},
             {"Colour", {0xadeb88acff7b6349ull, 0x1f692940bdf98113ull}},
             {"Flip", {0x850c542fafa127faull, 0xe64f51f7203199a7ull}},
             {"Grow", {0xf2b7f7623af1b466ull, 0x658bf1f6a2dc547eull}},
             {"HalfHidden", {0x7456ee9a8f18af83ull, 0x7456ee9a8f18af83ull}},
             {"HalfShown", {0x95dad3856ce0a4d6ull, 0xfb56cdfe06d81167ull}},
             {"Lens", {0xf75b699d4cb096a4ull, 0x3fddafa5f4590c5aull}},
             {"Mosaic", {0x847daa83499733a9ull, 0xa3784bf7bf3c44d3ull}},
             {"None", {0xeb01de92ebba6ff3ull, 0x785eaa5e6c3c053bull}},
             {"StripsAcross", {0x8fa02ac9bba442f3ull, 0x4a675bc3979bd52full}},
             {"StripsDown", {0xf865f0766ca127cfull, 0x4c7b46f49e0a7fabull}},
             {"TurnA", {0x73eeeb5e7e6288ebull, 0xe3ae3fe25916a653ull}},
             {"TurnB", {0x33f6460a2054c2a7ull, 0xf2203f482bfc83ebull}},
             {"WaveAcross", {0x64501c7f9b7dec53ull, 0x819d41e543d2abc3ull}},
             {"WaveDown", {0x77e8a61656df9f13ull, 0x1e3baa0e5afe790full}},
         }},
        {"Surface8",
         {
             {"BlinkHidden", {0x46e2ac0d6b430383ull, 0x46e2ac0d6b430383ull}},
             {"BlinkShown", {0x0ba48ed876a342fbull, 0x0a29d36fbabcdc43ull}},
             {"Blur", {0x4d168ac89c770123ull, 0x7bf1d64de5483f1bull}},
             {"Burst", {0xffb82b0d54089d0full, 0x94e71800ebd661a3ull}},
             {"Circle", {0x53c883d6c7146c17ull, 0x89ff1bde583e41dfull}},
             {"Colour", {0x56d25441bf406977ull, 0x3827a93fcf9ed39bull}},
             {"Flip", {0xdfd16589b0a8e9beull, 0xd728c800eed2dd6full}},
             {"Grow", {0xa78a2e6dbad6d6e4ull, 0xf1a4c8e4d2ef6848ull}},
             {"HalfHidden", {0x46e2ac0d6b430383ull, 0x46e2ac0d6b430383ull}},
             {"HalfShown", {0xd3f2956469dea686ull, 0x203c8bf0bea85a57ull}},
             {"Lens", {0xd0ecd5bc5b33e06cull, 0x12bf80d3728557f6ull}},
             {"Mosaic", {0x07bd120547986c01ull, 0xe2fdbb13ae8989abull}},
             {"None", {0x0ba48ed876a342fbull, 0x0a29d36fbabcdc43ull}},
             {"StripsAcross", {0x295befea7d1af23bull, 0xb36f6a102d2d5a5full}},
             {"StripsDown", {0x75b24663c3c17353ull, 0x3930452d7cee109bull}},
             {"TurnA", {0x8633836803833068ull, 0xf83841e91315346full}},
             {"TurnB", {0xfe8ebc2cb42eecc8ull, 0x616c1c764ec640deull}},
             {"WaveAcross", {0x44ee9d07bea8d80full, 0xcae3aca1de5e9503ull}},
             {"WaveDown", {0x7c1127f925608ad3ull, 0xbcf5bd8f1eb2c267ull}},
         }},
        {"Surface16",
         {
             {"BlinkHidden", {0xd9554fac99071f83ull, 0xd9554fac99071f83ull}},
             {"BlinkShown", {0xc33308cab8dca7f3ull, 0xe9069bf4fba4e53bull}},
             {"Blur", {0xa655cdcf5a54e813ull, 0x864231cb7ccc9fd2ull}},
             {"Burst", {0xcc42b575c81f9863ull, 0x2beedbb87bb6f663ull}},
             {"Circle", {0xbf86c680734654efull, 0x56d86256edebc77full}},
             {"Colour", {0x3d915b806149bf4bull, 0xc0ff896a45578eebull}},
             {"Flip", {0x41251ffc3af4f272ull, 0x1601fee41aec98b7ull}},
             {"Grow", {0x4c99011626eaeb3cull, 0x8ca0c3abcff8a9d8ull}},
             {"HalfHidden", {0xd9554fac99071f83ull, 0xd9554fac99071f83ull}},
             {"HalfShown", {0x667000753c857d9cull, 0x0a4a3b6c1d4e2127ull}},
             {"Lens", {0xce8797d20ae822a4ull, 0x366b7b7d9c13885aull}},
             {"Mosaic", {0xd03988e67f5a95e9ull, 0x86069d4f4f09b9abull}},
             {"None", {0xc33308cab8dca7f3ull, 0xe9069bf4fba4e53bull}},
             {"StripsAcross", {0x364d22a13096f2f3ull, 0x77ade74ee994852full}},
             {"StripsDown", {0xeb51722689d32fcfull, 0xa28ec701578e47abull}},
             {"TurnA", {0xe927296ec9742180ull, 0xa6c7db9f8a2c4d4full}},
             {"TurnB", {0x61dcfce895f41480ull, 0x1cdae8706f1fc6beull}},
             {"WaveAcross", {0x8ea5d13a503ca453ull, 0x983558fd618d03c3ull}},
             {"WaveDown", {0x0d1b5e316d57b713ull, 0x99c7cbf4e77b490full}},
         }},
        {"Surface32",
         {
             {"BlinkHidden", {0xbfa8d89351859383ull, 0xbfa8d89351859383ull}},
             {"BlinkShown", {0xd22f105bfac12e03ull, 0xc2f62cfab69c2f83ull}},
             {"Blur", {0x58399fd72b03ef2cull, 0x4e4612868b311044ull}},
             {"Burst", {0x0afc9c2cf09ae2c3ull, 0x1a6ae2eb47f42a83ull}},
             {"Circle", {0xc6c5ba4ccced73a3ull, 0xdf5ecd9e338b8223ull}},
             {"Colour", {0x5cd067c3a1a12fa7ull, 0x83672be341574953ull}},
             {"Flip", {0x33bd6c1fb74ac87bull, 0xd14bc84cbb15ad03ull}},
             {"Grow", {0xad424a18c096e3bbull, 0x67362f02ed77a13bull}},
             {"HalfHidden", {0xbfa8d89351859383ull, 0xbfa8d89351859383ull}},
             {"HalfShown", {0x28c3d8a1fdb7bd83ull, 0xd1ef0cdf63cd3143ull}},
             {"Lens", {0xf34816bbbe7c0b0bull, 0xa46a5619962e39dbull}},
             {"Mosaic", {0xa24ddd06dfdc3a01ull, 0xebb2ae77bd1f7ea3ull}},
             {"None", {0xd22f105bfac12e03ull, 0xc2f62cfab69c2f83ull}},
             {"StripsAcross", {0x7e53ab6fd3253813ull, 0xbb9cf6c80d9f7b23ull}},
             {"StripsDown", {0xc29de3024f8bb733ull, 0x20ee7dc40630e543ull}},
             {"TurnA", {0xd315617ea4eece0bull, 0x85bd72a9177fbce3ull}},
             {"TurnB", {0x5add1db882e9793bull, 0x8209c5695137289bull}},
             {"WaveAcross", {0xefbe364b02b6e883ull, 0xf47a256c2a81b8c3ull}},
             {"WaveDown", {0xc3741b6ab28173e3ull, 0x956e89c8b64a9e63ull}},
         }},
    };
    static const HashTable none;
    auto it = tables.find(mode);
    return it == tables.end() ? none : it->second;
}

// --- how the effects advance, without drawing

class CharaEffectSteps : public testing::Test {
protected:
    void Effect(int kind, std::array<int, 5> params, double start, double end, double step)
    {
        m_Record.m_Kind = kind;
        for (int i = 0; i < 5; ++i)
            m_Record.m_Param[i] = params[static_cast<std::size_t>(i)];
        CharaEffectState& e = m_Chara.m_CharaEffect;
        e.m_Index = 3;
        e.m_Record = &m_Record;
        e.m_Start = static_cast<int>(start);
        e.m_End = static_cast<int>(end);
        e.m_Value = start;
        e.m_Step = step;
        e.m_Work1 = 0;
        e.m_Work2 = 0;
    }
    int Run(int hold)
    {
        GraphicRef none;
        return g_CharaEffectDrawProc[m_Record.m_Kind](m_Chara, nullptr, none, hold, 0);
    }

    cEdCharaEffect m_Record;
    cCharaObj m_Chara;
};

TEST_F(CharaEffectSteps, AnEffectEndsOnceItsValuePassesTheEndAndNeverWhileHeld)
{
    for (int kind = 1; kind < kCharaEffectKinds; ++kind) {
        SCOPED_TRACE(kind);
        Effect(kind, {1, 0, 3}, 0, 3, 1);
        EXPECT_EQ(Run(1), 0);
        EXPECT_EQ(m_Chara.m_CharaEffect.m_Value, 0) << "a held frame does not advance";
        std::vector<int> ends;
        for (int frame = 0; frame < 5; ++frame)
            ends.push_back(Run(0));
        EXPECT_EQ(ends, (std::vector<int>{0, 0, 0, 1, 1}));
    }
    Effect(0, {1, 0, 3}, 0, 3, 1);
    for (int frame = 0; frame < 10; ++frame)
        EXPECT_EQ(Run(0), 0) << "no effect never ends";
    EXPECT_EQ(m_Chara.m_CharaEffect.m_Value, 0);
}

// Blink (shown while the toggle is 1) and translucency (shown while it is
// 0) flip every interval frames; held frames keep the count.
TEST_F(CharaEffectSteps, BlinkAndTranslucencyFlipEveryIntervalFrames)
{
    for (int kind : {6, 14}) {
        Effect(kind, {100, 2}, 0, 100, 1.0 / 6);
        std::vector<int> toggles;
        for (int frame = 0; frame < 8; ++frame) {
            toggles.push_back(m_Chara.m_CharaEffect.m_Work2);
            Run(0);
            Run(1);
        }
        EXPECT_EQ(toggles, (std::vector<int>{0, 0, 1, 1, 0, 0, 1, 1})) << kind;
    }
    Effect(6, {100, 0}, 0, 100, 1.0 / 6);
    Run(0);
    Run(0);
    EXPECT_EQ(m_Chara.m_CharaEffect.m_Work2, 0) << "an interval of 0 flips every frame";
}

TEST_F(CharaEffectSteps, TheWavePhaseTurnsOneDegreeAFrameAndWraps)
{
    for (int kind : {4, 5}) {
        Effect(kind, {1000, 0, 32, 2, 2}, 0, 32, 0.01);
        m_Chara.m_CharaEffect.m_Work1 = 358;
        Run(0);
        EXPECT_EQ(m_Chara.m_CharaEffect.m_Work1, 359);
        Run(1);
        EXPECT_EQ(m_Chara.m_CharaEffect.m_Work1, 359);
        Run(0);
        EXPECT_EQ(m_Chara.m_CharaEffect.m_Work1, 0);
    }
}

// An unseen character's effect still runs, and ends: the character drawing
// then forgets it.
TEST_F(CharaEffectSteps, AHiddenOrTransparentCharacterStillRunsItsEffectToItsEnd)
{
    for (int hidden : {0, 1}) {
        Effect(1, {1, 0, 2}, 0, 2, 1);
        m_Chara.m_Hidden = hidden;
        m_Chara.m_Def.bTransparent = static_cast<std::uint8_t>(!hidden);
        m_Chara.DrawCharaBody(nullptr, 1);
        EXPECT_EQ(m_Chara.m_CharaEffect.m_Value, 0);
        m_Chara.DrawCharaBody(nullptr, 0);
        m_Chara.DrawCharaBody(nullptr, 0);
        EXPECT_EQ(m_Chara.m_CharaEffect.m_Index, 3);
        m_Chara.DrawCharaBody(nullptr, 0);
        EXPECT_EQ(m_Chara.m_CharaEffect.m_Index, 0) << "ended on its third frame";
        EXPECT_EQ(CharaEffectKind(m_Chara), 0);
    }
    Effect(15, {1, 0, 1}, 0, 1, 1);
    m_Chara.StepCharaEffect(0);
    m_Chara.StepCharaEffect(0);
    EXPECT_EQ(m_Chara.m_CharaEffect.m_Index, 0);
}

TEST_F(CharaEffectSteps, AKindOutsideTheTableIsNoEffect)
{
    Effect(17, {1, 0, 1}, 0, 1, 1);
    EXPECT_EQ(CharaEffectKind(m_Chara), 0);
    Effect(-1, {1, 0, 1}, 0, 1, 1);
    EXPECT_EQ(CharaEffectKind(m_Chara), 0);
    m_Chara.StepCharaEffect(0);
    EXPECT_EQ(m_Chara.m_CharaEffect.m_Index, 3) << "and never ends";
}

} // namespace
