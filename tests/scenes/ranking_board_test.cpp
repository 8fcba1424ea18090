// The ranking board in one mode of each back end: the frame, a row for each
// registered place with its number, name and value (values right-aligned on
// a column that widens with the first place's digits, clear times at their
// own column), empty places left blank, the hint when the play kind shows
// several kinds, and the marker on the cursor's place.

#include "media/graphics_fixture.h"

#include "data/ed_system.h"
#include "media/dd_blit.h"
#include "media/font.h"
#include "scenes/ranking_board.h"
#include "scenes/rankings.h"
#include "scenes/scene_mgr.h"

using namespace gfxtest;

namespace {

constexpr int kBack = 16;
constexpr int kFrame = 40;  // the box's frame
constexpr int kInk = 33;    // the text
constexpr int kMarker = 30; // the marker cell of the accessory picture
constexpr int kX = 184;
constexpr int kY = 64;

class RankingBoard : public testing::TestWithParam<Mode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SetUpMode(GetParam(), 640, 480));
        reader = std::make_unique<PaletteReader>();
        DDSURFACEDATA& accessory = g_BitmapSD[49];
        ASSERT_TRUE(DDCreateSurface(&accessory, 128, 64, 1, 1, 0, 0, 0));
        DDClearPal(&accessory, 6);
        DDBoxFillPal(&accessory, 16, 48, 16, 16, kMarker);
        InitFontDef();
        const FONTDEF& d = g_FontDef[1];
        ASSERT_TRUE(g_Fonts[1].Create(d.face.data(), 0, d.fontHeight, d.cellWidth, d.lineHeight,
                                      kInk, nullptr, 1, kFrame, nullptr));
        savedSystem = g_System;
        for (int k = 0; k < kRankKinds; ++k)
            g_System.SysText[static_cast<std::size_t>(5 + k)] = "KIND" + std::to_string(k);
        g_System.SysText[24] = "SWITCH";
        g_SceneMgr = cSceneMgr();
        g_SceneMgr.m_PlayKind = PLAYKIND_FREE;
        ShowKinds({1, 0, 0, 0, 0});
        DDClearPal(&BackBuffer, kBack);
    }
    void TearDown() override
    {
        g_System = savedSystem;
        g_SceneMgr = cSceneMgr();
        g_Fonts[1].Release();
        DDReleaseSurface(&g_BitmapSD[49]);
        reader.reset();
        TearDownMode();
    }
    static void ShowKinds(std::vector<std::uint8_t> kinds)
    {
        cEdModeFlags& flags = g_System.vModeFlags[PLAYKIND_FREE];
        flags.bRanking = 1;
        flags.vRankKinds = std::move(kinds);
    }
    int At(int x, int y) const { return reader->at(BackBuffer, x, y); }
    // Whether any pixel of the rectangle shows the colour.
    bool Shows(int x, int y, int w, int h, int colour) const
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                if (At(i, j) == colour) return true;
        return false;
    }
    // Text in the 16 x 16 cell `cell` of place `place`'s row.
    bool InkInCell(int place, int cell) const
    {
        return Shows(kX + 16 * cell, kY + 16 * (place + 1), 16, 16, kInk);
    }
    bool InkInRow(int place) const { return Shows(kX + 16, kY + 16 * (place + 1), 250, 16, kInk); }
    // The marker beside that place's row, and beside no other.
    void ExpectMarker(int place) const
    {
        for (int p = 0; p < kRankPlaces; ++p)
            EXPECT_EQ(Shows(kX, kY + 16 * (p + 1), 16, 16, kMarker), p == place) << p;
    }

    std::unique_ptr<PaletteReader> reader;
    cEdSystem savedSystem;
};

TEST_P(RankingBoard, PlacesAreDrawnInRowsWithTheirValuesRightAligned)
{
    cEdRankTable table;
    table.m_Order = 1;
    InsertRank(table, "AB", 5);
    InsertRank(table, "CD", 1234);
    InsertRank(table, "EF", 3);
    // Places: 1234, 5, 3. The value column is 8 + 4 cells wide.
    DrawRanking(table, &BackBuffer, kX, kY, RANK_SCORE, -1);
    // The frame lies one pixel around the box at (x + 1, y + 1).
    EXPECT_EQ(At(kX, kY), kFrame);
    EXPECT_EQ(At(kX + 271, kY + 351), kFrame);
    EXPECT_NE(At(kX + 272, kY + 100), kFrame);
    EXPECT_TRUE(Shows(kX, kY, 96, 16, kInk)) << "the title";
    for (int place = 0; place < 3; ++place) {
        SCOPED_TRACE(place);
        EXPECT_TRUE(InkInCell(place, 1)) << "the place number";
        EXPECT_TRUE(InkInCell(place, 4)) << "the name";
        EXPECT_TRUE(InkInCell(place, 11)) << "the last digit";
        EXPECT_FALSE(InkInCell(place, 12)) << "nothing right of the value";
    }
    EXPECT_TRUE(InkInCell(0, 8));
    EXPECT_FALSE(InkInCell(1, 10)) << "a one-digit value takes only the last cell";
    for (int place = 3; place < kRankPlaces; ++place)
        EXPECT_FALSE(InkInRow(place)) << "empty place " << place;
    EXPECT_FALSE(Shows(kX, kY + 16, 16, 16 * kRankPlaces, kMarker)) << "no cursor";
    EXPECT_FALSE(Shows(kX, kY + 16 * 21, 270, 16, kInk)) << "one kind: no hint";
}

TEST_P(RankingBoard, ALaterPlaceWithMoreDigitsStartsFurtherLeft)
{
    cEdRankTable table;
    table.m_Order = 0;
    InsertRank(table, "AB", 7);
    InsertRank(table, "CD", 4321);
    DrawRanking(table, &BackBuffer, kX, kY, RANK_REST_TIME, -1);
    // The first place's one digit makes a column of 9 cells.
    EXPECT_TRUE(InkInCell(0, 8));
    EXPECT_FALSE(InkInCell(0, 7));
    EXPECT_TRUE(InkInCell(1, 5));
    EXPECT_TRUE(InkInCell(1, 8));
}

TEST_P(RankingBoard, ClearTimesStandAtTheirColumnAndTheCursorMarksItsPlace)
{
    ShowKinds({1, 0, 1, 0, 0});
    cEdRankSet set;
    for (std::int32_t t : {5000, 345, 600000})
        InsertRank(set.m_Tables[RANK_CLEAR_TIME], "T", t);
    DrawRankingOf(set, &BackBuffer, kX, kY, RANK_CLEAR_TIME, 1);
    for (int place = 0; place < 3; ++place) {
        SCOPED_TRACE(place);
        EXPECT_TRUE(InkInCell(place, 9)) << "00:03.45 from x + 144";
        EXPECT_FALSE(InkInCell(place, 8));
    }
    EXPECT_TRUE(InkInCell(2, 17)) << "100:00.00 is a cell longer";
    EXPECT_FALSE(InkInCell(1, 17));
    // The marker on the second place, and only there.
    ExpectMarker(1);
    // Two kinds shown: the hint centred under the places.
    EXPECT_TRUE(Shows(kX + 136 - 48, kY + 16 * 21, 96, 16, kInk));
    EXPECT_FALSE(Shows(kX + 16, kY + 16 * 21, 136 - 48 - 16, 16, kInk));
}

TEST_P(RankingBoard, AKindBeyondTheTablesShowsTheNearestTable)
{
    cEdRankSet set;
    InsertRank(set.m_Tables[RANK_REST_SP], "SP", 9);
    DrawRankingOf(set, &BackBuffer, kX, kY, 9, 0);
    EXPECT_TRUE(InkInRow(0));
    ExpectMarker(0);
    DDClearPal(&BackBuffer, kBack);
    DrawRankingOf(set, &BackBuffer, kX, kY, -3, -1);
    EXPECT_FALSE(InkInRow(0)) << "the score table is empty";
}

INSTANTIATE_TEST_SUITE_P(Modes, RankingBoard, testing::Values(AllModes()[0], AllModes()[4]),
                         ModeName);

} // namespace
