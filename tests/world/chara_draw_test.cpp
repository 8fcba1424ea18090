// The character drawing around the effects: which animation a character
// shows, the state picture and its tint, the overlay symbol, the HP and SP
// gauges over their 120 frames, the death displays and their ends, and the
// shot sheets by facing.

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "data/ed_anime.h"
#include "data/ed_effect.h"
#include "media/bitmap_table.h"
#include "media/graphics_fixture.h"
#include "support/world_fixture.h"
#include "world/chara_effects.h"
#include "world/database_tables.h"
#include "world/graphic_ref.h"
#include "world/play_screen.h"

namespace {

// --- which animation is shown

struct OverlaySpec {
    int ranked;
    int countdown;
    int held;
    int frame; // the frame its animation shows
};

struct ChoiceCase {
    const char* name;
    std::vector<OverlaySpec> overlays;
    int shown; // 99: the character's own animation
};

FrameSeq Showing(int frame)
{
    return {{frame, 100, 0}, {-2, 0, 0}};
}

void GiveOverlays(cCharaObj& c, const std::vector<OverlaySpec>& specs)
{
    c.m_Anime.Build({Showing(99)});
    c.m_Anime.Set(0, 1);
    c.m_Overlays.clear();
    for (const OverlaySpec& spec : specs) {
        OverlayAnim o;
        o.m_Seq.Build({Showing(spec.frame)});
        o.m_Seq.Set(0, 1);
        o.m_Ranked = spec.ranked;
        o.m_Countdown = spec.countdown;
        o.m_Held = spec.held;
        o.m_Length = 10;
        c.m_Overlays.push_back(o);
    }
}

TEST(OverlayChoice, TheFrameShownFollowsTheChoiceTable)
{
    const std::vector<ChoiceCase> cases = {
        {"no overlay: the own animation", {}, 99},
        {"a plain overlay", {{0, 0, 0, 1}}, 1},
        {"two plain overlays: the first", {{0, 0, 0, 1}, {0, 0, 0, 2}}, 1},
        {"none started: the one starting soonest", {{1, 5, 0, 1}, {1, 3, 0, 2}}, 2},
        {"the sooner first stays", {{1, 3, 0, 1}, {1, 5, 0, 2}}, 1},
        {"both started: the second even if it started earlier", {{1, -2, 0, 1}, {1, -5, 0, 2}}, 2},
        {"a third started later replaces it", {{1, -2, 0, 1}, {1, -5, 0, 2}, {1, -3, 0, 3}}, 3},
        {"a third started earlier does not", {{1, -2, 0, 1}, {1, -5, 0, 2}, {1, -7, 0, 3}}, 2},
        {"a waiting one before a started one", {{1, 5, 0, 1}, {1, -1, 0, 2}}, 2},
        {"a flow overlay wins over a plain one before it", {{0, 0, 0, 1}, {1, 3, 0, 2}}, 2},
        {"a plain one after a flow overlay is not taken", {{1, 3, 0, 1}, {0, 0, 0, 2}}, 1},
        {"held ones are skipped", {{1, -1, 1, 1}, {0, 0, 0, 2}}, 2},
        {"all held: the own animation", {{1, -1, 1, 1}, {0, 0, 1, 2}}, 99},
    };
    cCharaObj c;
    for (const ChoiceCase& tc : cases) {
        GiveOverlays(c, tc.overlays);
        EXPECT_EQ(c.CurrentFrame(1), tc.shown) << tc.name;
    }
}

TEST(OverlayChoice, AdvancingCountsDownAndDropsEndedOverlays)
{
    cCharaObj c;
    GiveOverlays(c, {{1, 2, 0, 1}, {1, 2, 1, 2}, {0, 0, 0, 3}});
    // The third one ends after one frame.
    c.m_Overlays.back().m_Seq.Build({{{3, 1, 0}, {-4, 0, 0}}});
    c.m_Overlays.back().m_Seq.Set(0, 1);
    c.CurrentFrame(1);
    EXPECT_EQ(c.m_Overlays.front().m_Countdown, 2) << "a held frame advances nothing";
    c.CurrentFrame(0);
    ASSERT_EQ(c.m_Overlays.size(), 2u) << "the ended one is gone";
    EXPECT_EQ(c.m_Overlays.front().m_Countdown, 1);
    EXPECT_EQ(c.m_Overlays.back().m_Countdown, 2) << "a held overlay does not count";
}

// --- the state picture and its tint

class StatePicture : public testing::Test {
protected:
    void SetUp() override
    {
        test::ResetWorldGlobals();
        cEdAnimeSet& set = g_Database.AnimeSet.at(0);
        set.m_OffsetA = 4;
        set.m_OffsetB = 8;
        set.m_OffsetC = 100;
        c.m_Def.nAnimeSet = 0;
        c.m_Def.nGraphicFrame = 1;
        g_CycleColors[3] = CycleColour{0x80FF0000u, 7};
    }
    void TearDown() override
    {
        g_CycleColors = {};
        test::ResetWorldGlobals();
    }
    cCharaObj c;
};

TEST_F(StatePicture, TheStateAddsTheAnimeSetsOffsets)
{
    struct Case {
        int flying, solid, invincible, picture;
    };
    const Case cases[] = {{0, 0, 0, 1}, {1, 0, 0, 101}, {3, 0, 0, 101}, {0, 1, 0, 9},
                          {0, 0, 1, 5}, {0, 0, 2, 5},   {1, 1, 1, 113}, {0, 1, 2, 13}};
    for (const Case& k : cases) {
        c.m_Def.nFlying = static_cast<std::uint8_t>(k.flying);
        c.m_Def.bSolid = static_cast<std::uint8_t>(k.solid);
        c.m_Def.nInvincible = static_cast<std::uint8_t>(k.invincible);
        GraphicRef ref;
        EXPECT_EQ(c.CharaGraphicNumber(ref), k.picture)
            << k.flying << " " << k.solid << " " << k.invincible;
        EXPECT_EQ(ref.m_Tint, 0) << "no tint under DirectDraw or without the switch";
    }
    c.m_Def.nAnimeSet = 5;
    c.m_Def.nFlying = 1;
    GraphicRef ref;
    EXPECT_EQ(c.CharaGraphicNumber(ref), 1) << "a missing AnimeSet adds nothing";
}

TEST_F(StatePicture, AnInvincibleCharacterIsTintedWithItsCycleColourUnderDirect3D)
{
    struct Case {
        int d3d, tintSwitch, invincible, colour, tinted;
    };
    const Case cases[] = {
        {1, 1, 1, 3, 1}, {1, 1, 2, 3, 1},  {1, 0, 1, 3, 0}, {1, 1, 0, 3, 0},
        {1, 1, 1, 0, 0}, {1, 1, 1, 10, 0}, {0, 1, 1, 3, 0},
    };
    for (const Case& k : cases) {
        ASSERT_TRUE(gfxtest::SetUpMode(gfxtest::Mode{"m", k.d3d, 32, 1}, 16, 16));
        g_System.bTintUnderD3D = k.tintSwitch;
        c.m_Def.nInvincible = static_cast<std::uint8_t>(k.invincible);
        c.m_Def.nCharaOption2 = static_cast<std::uint8_t>(k.colour);
        GraphicRef ref;
        ref.m_Tint = 1;
        c.CharaGraphicNumber(ref);
        EXPECT_EQ(ref.m_Tint, k.tinted) << k.d3d << k.tintSwitch << k.invincible << k.colour;
        if (k.tinted) {
            EXPECT_EQ(ref.m_TintColour, 0x80FF0000u);
            EXPECT_EQ(ref.m_TintOp, 7);
        }
        gfxtest::TearDownMode();
    }
}

// --- pictures over the character: the overlay symbol and the gauges

class CharaPictures : public test::WorldTest, public testing::WithParamInterface<gfxtest::Mode> {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Start(test::MakeStage(30, 20, 3, 3));
        ASSERT_TRUE(gfxtest::SetUpMode(GetParam(), 64, 48));
        m_Reader = std::make_unique<gfxtest::PaletteReader>();
        DDBoxFillPal(&BackBuffer, 0, 0, 64, 48, kBackground);
    }
    void TearDown() override
    {
        for (int n : {43, 44, 49})
            DDReleaseSurface(&g_BitmapSD[n]);
        m_Reader.reset();
        gfxtest::TearDownMode();
        WorldTest::TearDown();
    }
    // A row of the back buffer as palette numbers from x for n pixels.
    std::vector<int> Row(int x, int y, int n) const
    {
        std::vector<int> row;
        for (int i = 0; i < n; ++i)
            row.push_back(m_Reader->at(BackBuffer, x + i, y));
        return row;
    }

    static constexpr int kBackground = 50;
    std::unique_ptr<gfxtest::PaletteReader> m_Reader;
};

// The symbol sheet: cell k (columns of 15) filled with colour 1 + k % 40.
void PaintSymbols(DDSURFACEDATA* sd)
{
    for (int k = 0; k < 30; ++k)
        DDBoxFillPal(sd, k / 15 * 32, k % 15 * 32, 32, 32, 1 + k % 40);
}

TEST_P(CharaPictures, TheOverlaySymbolIsDrawnOverThePicture)
{
    for (int n : {43, 44}) {
        ASSERT_TRUE(DDCreateSurface(&g_BitmapSD[n], 64, 480, 1, 0, 0, 0, 0));
        PaintSymbols(&g_BitmapSD[n]);
    }
    cPlayerObj& p = player();
    p.m_Def.nCharaOption1 = 1;
    p.m_Def.nEmblemNo = 17; // the cell at (32, 64): colour 18
    p.m_X -= 80;            // into the small display
    p.m_Y -= 88;
    p.DrawCharaBody(&BackBuffer, 1);
    const int left = p.m_ScrLeft, top = p.m_ScrTop;
    ASSERT_GE(left, -32);
    ASSERT_LT(left, 64);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool inside = x >= left && x < left + 32 && y >= top && y < top + 32;
            ASSERT_EQ(m_Reader->at(BackBuffer, x, y), inside ? 18 : kBackground) << x << "," << y;
        }

    // Scaled: the cell stretched to the picture, from the scaling copy.
    DDBoxFillPal(&BackBuffer, 0, 0, 64, 48, kBackground);
    DDBoxFillPal(&g_BitmapSD[44], 32, 64, 32, 32, 19);
    p.m_Def.nSize = 2;
    p.m_PicWidth0 = p.m_PicHeight0 = 16;
    p.m_PicWidth = p.m_PicHeight = 32;
    p.DrawCharaBody(&BackBuffer, 1);
    EXPECT_EQ(m_Reader->at(BackBuffer, p.m_ScrLeft + 31, p.m_ScrTop + 31), 19);
    p.m_Def.nCharaOption1 = 0;
    DDBoxFillPal(&BackBuffer, 0, 0, 64, 48, kBackground);
    p.DrawCharaBody(&BackBuffer, 1);
    EXPECT_EQ(m_Reader->at(BackBuffer, p.m_ScrLeft + 1, p.m_ScrTop + 1), kBackground)
        << "no symbol without the switch";
}

TEST_P(CharaPictures, ANegativeSymbolIsTheFirstAndAnEndedAnimationDrawsNothing)
{
    ASSERT_TRUE(DDCreateSurface(&g_BitmapSD[43], 64, 480, 1, 0, 0, 0, 0));
    PaintSymbols(&g_BitmapSD[43]);
    cPlayerObj& p = player();
    p.m_X -= 80;
    p.m_Y -= 88;
    p.m_Def.nCharaOption1 = 1;
    p.m_Def.nEmblemNo = -7;
    p.DrawCharaBody(&BackBuffer, 1);
    EXPECT_EQ(m_Reader->at(BackBuffer, p.m_ScrLeft + 31, p.m_ScrTop + 31), 1);

    // The animation reached its end code: nothing is drawn, the effect runs on.
    DDBoxFillPal(&BackBuffer, 0, 0, 64, 48, kBackground);
    p.m_Anime.Build({{{-4, 0, 0}}});
    p.m_Anime.Set(0, 1);
    cEdCharaEffect record;
    record.m_Kind = 1;
    record.m_Param[0] = 10;
    p.m_CharaEffect.m_Index = 1;
    p.m_CharaEffect.m_Record = &record;
    p.m_CharaEffect.m_Start = 0;
    p.m_CharaEffect.m_End = 100;
    p.m_CharaEffect.m_Value = 0;
    p.m_CharaEffect.m_Step = 1;
    p.DrawCharaBody(&BackBuffer, 0);
    EXPECT_EQ(Row(0, p.m_ScrTop + 1, 64), std::vector<int>(64, kBackground));
    EXPECT_EQ(p.m_CharaEffect.m_Value, 1);
}

// The accessory sheet's gauge rows: frame, long fill, short fill, loss,
// gain; colours 1-5 in the HP column, 11-15 in the SP column.
void PaintGaugeRows(DDSURFACEDATA* sd, int row0, int step)
{
    for (int r = 0; r < 5; ++r) {
        DDBoxFillPal(sd, 0, row0 + r * step, 64, 2, 1 + r);
        DDBoxFillPal(sd, 64, row0 + r * step, 64, 2, 11 + r);
    }
}

struct GaugeCase {
    const char* name;
    int sp;
    int tallSheet;
    int fill;
    double change;
};

// A gauge of 120 frames: for 60 frames the changed part shrinks from its
// length to nothing, then frame and fill alone for 60 frames, then nothing.
TEST_P(CharaPictures, AGaugeShowsItsChangeShrinkingForSixtyFramesThenItsFillForSixty)
{
    const GaugeCase cases[] = {
        {"HP loss, long fill", 0, 0, 20, -9.5},
        {"HP gain", 0, 0, 30, 7.5},
        {"HP loss, short fill, tall sheet", 0, 1, 10, -9.5},
        {"SP gain, tall sheet", 1, 1, 12, 7.5},
    };
    for (const GaugeCase& g : cases) {
        SCOPED_TRACE(g.name);
        DDSURFACEDATA* sheet = &g_BitmapSD[49];
        DDReleaseSurface(sheet);
        ASSERT_TRUE(DDCreateSurface(sheet, 128, g.tallSheet ? 220 : 200, 1, 0, 0, 0, 0));
        PaintGaugeRows(sheet, g.tallSheet ? 208 : 128, g.tallSheet ? 2 : 16);
        cNpcObj& c = stage->AddChara(cNpcObj());
        c.m_ScrLeft = 20;
        c.m_ScrTop = 30;
        c.m_PicWidth = 32;
        Gauge& gauge = g.sp ? c.m_SpGauge : c.m_HpGauge;
        gauge = Gauge{kGaugeFrames, g.change, g.change / 60, g.fill};
        const int x = 11, y = g.sp ? 23 : 27, colour = g.sp ? 10 : 0;
        const int fillColour = colour + (g.fill <= 16 ? 3 : 2);
        for (int frame = 0; frame <= kGaugeFrames; ++frame) {
            DDBoxFillPal(&BackBuffer, 0, 0, 64, 48, kBackground);
            if (g.sp)
                c.DrawSpGauge(&BackBuffer);
            else
                c.DrawHpGauge(&BackBuffer);
            std::vector<int> want(52, kBackground);
            if (frame < kGaugeFrames) {
                for (int i = 1; i <= 50; ++i)
                    want[static_cast<std::size_t>(i)] = colour + 1;
                for (int i = 0; i < g.fill; ++i)
                    want[static_cast<std::size_t>(1 + i)] = fillColour;
                const int left =
                    frame < 60 ? static_cast<int>(std::abs(g.change) * (60 - frame) / 60) : 0;
                for (int i = 0; i < left; ++i) {
                    const int at = g.change < 0 ? g.fill + i : g.fill - 1 - i;
                    want[static_cast<std::size_t>(1 + at)] = colour + (g.change < 0 ? 4 : 5);
                }
            }
            ASSERT_EQ(Row(x - 1, y, 52), want) << "frame " << frame;
            ASSERT_EQ(Row(x - 1, y + 1, 52), want) << "frame " << frame;
            ASSERT_EQ(Row(x - 1, y - 1, 52), std::vector<int>(52, kBackground));
            ASSERT_EQ(Row(x - 1, y + 2, 52), std::vector<int>(52, kBackground));
        }
        EXPECT_EQ(gauge.m_Frames, 0);
    }
}

TEST_P(CharaPictures, NoGaugeOnADyingCharacterAndNoneBeyondItsLength)
{
    DDSURFACEDATA* sheet = &g_BitmapSD[49];
    ASSERT_TRUE(DDCreateSurface(sheet, 128, 200, 1, 0, 0, 0, 0));
    PaintGaugeRows(sheet, 128, 16);
    cNpcObj& c = stage->AddChara(cNpcObj());
    c.m_ScrLeft = 20;
    c.m_ScrTop = 30;
    c.m_PicWidth = 32;
    c.m_Dying = 1;
    c.m_HpGauge = Gauge{kGaugeFrames, -5, -5.0 / 60, 20};
    c.DrawHpGauge(&BackBuffer);
    EXPECT_EQ(Row(0, 27, 64), std::vector<int>(64, kBackground));
    EXPECT_EQ(c.m_HpGauge.m_Frames, kGaugeFrames) << "it waits";
    // Values past the gauge's ends are kept inside its 50 pixels.
    c.m_Dying = 0;
    c.m_HpGauge = Gauge{kGaugeFrames, -500, 0, 80};
    c.DrawHpGauge(&BackBuffer);
    EXPECT_EQ(Row(10, 27, 52), [] {
        std::vector<int> row(52, kBackground);
        for (int i = 1; i <= 50; ++i)
            row[static_cast<std::size_t>(i)] = 2;
        return row;
    }());
}

INSTANTIATE_TEST_SUITE_P(Modes, CharaPictures,
                         testing::Values(gfxtest::Mode{"Texture32", 1, 32, 1},
                                         gfxtest::Mode{"Surface8", 0, 8, 0},
                                         gfxtest::Mode{"Surface32", 0, 32, 1}),
                         gfxtest::ModeName);

// --- death displays

class DeathDisplay : public test::WorldTest {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        Start(test::MakeStage(30, 20, 3, 3));
        stage->m_FrameRate = 60;
    }
    // A burst effect of time t tenths of a second over 6 pixels (6t + 1
    // drawn frames to its end); its index.
    int BurstEffect(int tenths)
    {
        cEdCharaEffect record;
        record.m_Kind = 1;
        record.m_Param[0] = tenths;
        record.m_Param[1] = 0;
        record.m_Param[2] = 6;
        g_Database.CharaEffect.push_back(record);
        BuildDatabaseTables();
        return static_cast<int>(g_Database.CharaEffect.size()) - 1;
    }
    cNpcObj& Add(int number)
    {
        cNpcObj chara;
        chara.m_ObjNo = number;
        chara.m_Group = 1;
        chara.m_Operator = 1;
        chara.m_OnScreen = 1;
        chara.m_Def.bTransparent = 1;
        return stage->AddChara(chara);
    }
};

TEST_F(DeathDisplay, ThePlayersDeathIsShownOneSecondAfterItsEffect)
{
    player().m_Def.nDeathEffect = static_cast<std::int16_t>(BurstEffect(1));
    player().KillChara();
    ASSERT_EQ(player().m_Dying, 1);
    int frames = 0, effectEnded = 0, over = 0;
    while (!over && frames < 1000) {
        EXPECT_EQ(player().DrawDeath(nullptr, 1), 0) << "frozen frames neither draw on nor end it";
        over = player().DrawDeath(nullptr, 0);
        ++frames;
        if (!effectEnded && player().m_CharaEffect.m_Index == 0) effectEnded = frames;
    }
    EXPECT_EQ(effectEnded, 7) << "the effect runs its 6 frames, ending on the 7th";
    EXPECT_EQ(frames, 7 + 61) << "then the counter must pass the frame rate";
}

// The object pass erases each computer character whose death display has
// ended while it walks the list: the others are each drawn once a frame,
// whatever was erased next to them.
TEST_F(DeathDisplay, CharactersWhoseDeathEndedLeaveDuringTheObjectPass)
{
    ASSERT_TRUE(gfxtest::SetUpMode(gfxtest::Mode{"Surface32", 0, 32, 1}, 640, 480));
    const int longEffect = BurstEffect(100);
    const int shortEffect = BurstEffect(1);
    const int mediumEffect = BurstEffect(2);
    for (int n = 1; n <= 6; ++n)
        Add(n);
    auto chara = [this](int number) { return stage->FindCharaByNumber(number); };
    for (int n : {1, 5})
        chara(n)->m_CharaEffect.Start(longEffect, 0, 0);
    chara(2)->m_Dying = 1;
    chara(2)->m_CharaEffect.Start(shortEffect, 0, 0);
    chara(3)->m_Dying = 1; // no effect: leaves on the first frame
    chara(4)->m_Dying = 1;
    chara(4)->m_CharaEffect.Start(mediumEffect, 0, 0);
    chara(6)->m_Dying = 1;
    chara(6)->m_CharaEffect.Start(shortEffect, 0, 0);

    std::vector<std::vector<int>> present;
    for (int frame = 1; frame <= 14; ++frame) {
        DrawPlayScreen(1, 0, 0, 0);
        std::vector<int> numbers;
        for (const cNpcObj& c : stage->m_CharaList)
            numbers.push_back(c.m_ObjNo);
        present.push_back(numbers);
    }
    EXPECT_EQ(present[0], (std::vector<int>{1, 2, 4, 5, 6}));
    EXPECT_EQ(present[5], (std::vector<int>{1, 2, 4, 5, 6}));
    EXPECT_EQ(present[6], (std::vector<int>{1, 4, 5})) << "the short deaths end on frame 7";
    EXPECT_EQ(present[12], (std::vector<int>{1, 5})) << "the medium one on frame 13";
    for (int n : {1, 5})
        EXPECT_NEAR(chara(n)->m_CharaEffect.m_Value, 14 * 0.01, 1e-9)
            << n << " advanced once on each of the 14 frames";
    gfxtest::TearDownMode();
}

// --- shot sheets

TEST(ShotSheets, TheSystemMemoryCopyStandsInUnderDirectDraw)
{
    test::ResetWorldGlobals();
    ASSERT_TRUE(gfxtest::SetUpMode(gfxtest::Mode{"Surface32", 0, 32, 1}, 16, 16));
    ASSERT_TRUE(DDCreateSurface(&g_BitmapSD[20], 16, 16, 1, 0, 0, 0, 0));
    ASSERT_TRUE(DDCreateSurface(&g_BitmapSD[39], 16, 16, 1, 1, 0, 0, 0));
    EXPECT_EQ(SheetForFacing(20, 0), 20) << "the sheet has its picture";
    EXPECT_EQ(SheetForFacing(21, 0), 39) << "the sheet has none: its copy";
    EXPECT_EQ(SheetForFacing(21, 1), 39) << "mirrored: the copy has one";
    EXPECT_EQ(SheetForFacing(20, 1), 20) << "mirrored: the copy has none";
    EXPECT_EQ(SheetForFacing(60, 0), 60) << "no copy beyond the table";
    EXPECT_EQ(SheetForFacing(-1, 0), -1);
    DDReleaseSurface(&g_BitmapSD[20]);
    DDReleaseSurface(&g_BitmapSD[39]);
    gfxtest::TearDownMode();

    ASSERT_TRUE(gfxtest::SetUpMode(gfxtest::Mode{"Texture32", 1, 32, 1}, 16, 16));
    EXPECT_EQ(SheetForFacing(21, 0), 21) << "always the sheet under Direct3D";
    EXPECT_EQ(SheetForFacing(21, 1), 21);
    gfxtest::TearDownMode();
}

} // namespace
