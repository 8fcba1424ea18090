// The results panel in one mode of each back end: a row for each result
// the play kind and the stage show (every row the stage shows for a direct
// start), a box as wide as the longest label and the widest value (the
// clear time at least its format's width), and a marker for each kind that
// ranks, stacked from the first row down.

#include "media/graphics_fixture.h"

#include "data/ed_system.h"
#include "media/dd_blit.h"
#include "media/font.h"
#include "play_fixture.h"

using namespace gfxtest;

namespace {

constexpr int kBack = 16;
constexpr int kFrame = 40;
constexpr int kInk = 33;
constexpr int kMarker = 30;
constexpr int kX = 336;
constexpr int kY = 224;

class ResultsPanel : public test::PlayFixture, public testing::WithParamInterface<Mode> {
protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        ASSERT_TRUE(SetUpMode(GetParam(), 640, 480));
        reader = std::make_unique<PaletteReader>();
        InitFontDef();
        const FONTDEF& d = g_FontDef[1];
        ASSERT_TRUE(g_Fonts[1].Create(d.face.data(), 0, d.fontHeight, d.cellWidth, d.lineHeight,
                                      kInk, nullptr, 1, kFrame, nullptr));
        const char* labels[kRankKinds] = {"SCORE", "TIME", "CLEAR", "HP", "SP"};
        for (int k = 0; k < kRankKinds; ++k)
            g_System.SysText[static_cast<std::size_t>(5 + k)] = labels[k];
        cEdStage stage = test::FloorStage();
        stage.ResultFlags = {1, 1, 1, 1, 1};
        Begin(stage);
        MakeAccessory();
        DDClearPal(&BackBuffer, kBack);
    }
    void TearDown() override
    {
        g_Fonts[1].Release();
        DDReleaseSurface(&g_BitmapSD[49]);
        reader.reset();
        TearDownMode();
        PlayFixture::TearDown();
    }
    static void MakeAccessory()
    {
        DDSURFACEDATA& accessory = g_BitmapSD[49];
        DDReleaseSurface(&accessory);
        EXPECT_TRUE(DDCreateSurface(&accessory, 128, 64, 1, 1, 0, 0, 0));
        DDClearPal(&accessory, 6);
        DDBoxFillPal(&accessory, 16, 48, 16, 16, kMarker);
    }
    static void ShowKinds(std::vector<std::uint8_t> kinds)
    {
        g_System.vModeFlags[PLAYKIND_FREE].vRankKinds = std::move(kinds);
    }
    int At(int x, int y) const { return reader->at(BackBuffer, x, y); }
    bool Shows(int x, int y, int w, int h, int colour) const
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (At(i, j) == colour) return true;
        return false;
    }
    // The frame of a w x h box at the panel's place lies one pixel around it.
    void ExpectBox(int w, int h) const
    {
        EXPECT_EQ(At(kX - 1, kY - 1), kFrame);
        EXPECT_EQ(At(kX + w, kY + h), kFrame) << "the box is " << w << " x " << h;
        EXPECT_NE(At(kX + w + 1, kY + 4), kFrame) << "no wider";
        EXPECT_NE(At(kX + 4, kY + h + 1), kFrame) << "no taller";
    }
    bool InkInCell(int row, int cell) const
    {
        return Shows(kX + 16 * cell, kY + 16 * row, 16, 16, kInk);
    }

    std::unique_ptr<PaletteReader> reader;
};

TEST_P(ResultsPanel, TheBoxFitsTheShownLabelsAndValues)
{
    const struct {
        const char* what;
        std::vector<std::uint8_t> kinds;
        std::int32_t score, hp;
        int width, rows;
    } cases[] = {
        // Labels of 5 characters; the clear time takes 8 cells.
        {"score and clear time", {1, 0, 1, 0, 0}, 4200, 0, (8 + 5 + 3) * 16, 2},
        {"a score wider than the time", {1, 0, 1, 0, 0}, 123456789, 0, (9 + 5 + 3) * 16, 2},
        {"the HP alone", {0, 0, 0, 1, 0}, 0, 5, (1 + 2 + 3) * 16, 1},
        {"every kind", {1, 1, 1, 1, 1}, 7, 12, (8 + 5 + 3) * 16, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DDClearPal(&BackBuffer, kBack);
        ShowKinds(c.kinds);
        g_Progress.nScore = c.score;
        g_Progress.nRestHp = c.hp;
        g_Progress.nClearTime = 345;
        scene->DrawResults(kX, kY);
        ExpectBox(c.width, 16 * c.rows);
    }
    // Score and clear time: labels from x + 16, values from x + 32 + 16 x 5.
    DDClearPal(&BackBuffer, kBack);
    ShowKinds({1, 0, 1, 0, 0});
    g_Progress.nScore = 4;
    scene->DrawResults(kX, kY);
    EXPECT_TRUE(InkInCell(0, 1));
    EXPECT_TRUE(InkInCell(0, 7));
    EXPECT_FALSE(InkInCell(0, 8)) << "one digit";
    EXPECT_TRUE(InkInCell(1, 14)) << "00:03.45 is 8 cells long";
    EXPECT_FALSE(InkInCell(1, 15));
    EXPECT_FALSE(Shows(kX, kY, 16, 32, kMarker)) << "nothing ranks";
}

TEST_P(ResultsPanel, NothingIsDrawnWithoutAShownRow)
{
    ShowKinds({1, 1, 1, 1, 1});
    g_Stage.ResultFlags = {0, 0, 0, 0, 0};
    scene->DrawResults(kX, kY);
    EXPECT_FALSE(Shows(kX - 1, kY - 1, 300, 100, kFrame));
    EXPECT_FALSE(Shows(kX - 1, kY - 1, 300, 100, kInk));
}

TEST_P(ResultsPanel, ADirectStartShowsTheStagesRowsAndRankingKindsAreMarked)
{
    ShowKinds({0, 0, 0, 0, 0});
    g_Stage.ResultFlags = {1, 0, 0, 1, 1};
    scene->m_DirectStart = 1;
    scene->m_RankPos = {-1, -1, -1, 4, 0};
    scene->DrawResults(kX, kY);
    ExpectBox((1 + 5 + 3) * 16, 3 * 16);
    // Two kinds rank: two markers from the first row down.
    EXPECT_TRUE(Shows(kX, kY, 16, 16, kMarker));
    EXPECT_TRUE(Shows(kX, kY + 16, 16, 16, kMarker));
    EXPECT_FALSE(Shows(kX, kY + 32, 16, 16, kMarker));
}

INSTANTIATE_TEST_SUITE_P(Modes, ResultsPanel, testing::Values(AllModes()[0], AllModes()[4]),
                         ModeName);

} // namespace
