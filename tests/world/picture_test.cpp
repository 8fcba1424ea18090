// Pictures and effect instances on the play field: the picture command
// (shown, failed, waited on), the pictures' and effects' frames (time,
// frozen frames), and what they draw, in every display mode of both back
// ends on small surfaces read back as palette numbers.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/sjis_text.h"
#include "data/ed_command.h"
#include "data/ed_database.h"
#include "media/bmp_writer.h"
#include "media/graphics_fixture.h"
#include "support/temp_dir.h"
#include "support/world_fixture.h"
#include "world/command_status.h"
#include "world/database_tables.h"
#include "world/play_pictures.h"

namespace {

using Grid = std::vector<std::vector<int>>;

cEdCommand Command(std::vector<std::int32_t> params)
{
    cEdCommand c;
    c.m_Params = std::move(params);
    return c;
}

// Recording services whose pause wait runs what the test gives it, as the
// pause thread's frames would.
class WaitingServices : public cRecordingServices {
public:
    void RunPauseWait() override
    {
        cRecordingServices::RunPauseWait();
        if (during) during();
    }
    std::function<void()> during;
};

// A running stage on a small display of one mode, with the game folder in
// a temporary folder.
class PlayFieldPictures : public test::WorldTest,
                          public ::testing::WithParamInterface<gfxtest::Mode> {
protected:
    void SetUp() override
    {
        WorldTest::SetUp();
        ASSERT_TRUE(gfxtest::SetUpMode(GetParam(), 16, 12));
        Start(test::MakeStage(20, 15, 2, 2));
        stage->m_ScrollX.m_Pos = 400;
        stage->m_ScrollY.m_Pos = 300;
    }
    void TearDown() override
    {
        DDReleaseSurfaceList(g_PictureSurfaces);
        g_PictureSurfaces.clear();
        g_PictureBmpList.clear();
        DDReleaseSurfaceVec(g_EffectPictures);
        g_EffectPictures.clear();
        g_EffectSeqs.clear();
        DDReleaseSurface(&dest);
        DDReleaseSurface(&picture);
        gfxtest::TearDownMode();
        WorldTest::TearDown();
    }

    // An 8 x 6 destination of palette colour 5.
    void MakeDest()
    {
        ASSERT_TRUE(DDCreateSurface(&dest, 8, 6, 0, 1, 0, 0, 0));
        DDBoxFillPal(&dest, 0, 0, 8, 6, 5);
    }
    // A colour-keyed picture painted with palette numbers (0 transparent).
    void MakePicture(DDSURFACEDATA* sd, const Grid& rows)
    {
        const int h = static_cast<int>(rows.size());
        const int w = static_cast<int>(rows[0].size());
        ASSERT_TRUE(DDCreateSurface(sd, w, h, 1, 1, 0, 0, 0));
        gfxtest::Paint(sd, rows);
    }
    Grid Read() { return gfxtest::PaletteReader().grid(dest, 8, 6); }

    test::TempDir dir;
    test::ScopedCurrentDir inDir{dir.path()};
    DDSURFACEDATA dest;
    DDSURFACEDATA picture;
};

// --- the picture command

// Picture record 1 names a 4 x 2 BMP in the game folder.
class PictureCommand : public PlayFieldPictures {
protected:
    void SetUp() override
    {
        PlayFieldPictures::SetUp();
        g_Database.Picture.assign(2, cEdPicture());
        g_Database.Picture[1].m_FileName = "bmp\\pic\\Sign.bmp";
        dir.write("bmp/pic/Sign.bmp",
                  gfxtest::WriteBmp24(4, 2, std::vector<std::uint32_t>(8, 0x804020)));
    }
    // Shows record 1 at block (1, 2) of the screen moved by (5, 6).
    void Show(int layer, int percent, int mode, int tenths, int wait)
    {
        ShowPicture(player(), Command({1, 3, 1, 2, 5, 6, layer, percent, mode, tenths, wait}));
    }
};

TEST_P(PictureCommand, AddsAPictureWithItsSurfaceAndFile)
{
    Show(1, 150, 2, 3, 0);
    ASSERT_EQ(stage->m_PictureList.size(), 1u);
    ASSERT_EQ(g_PictureSurfaces.size(), 1u);
    EXPECT_EQ(g_PictureBmpList, std::list<std::string>{"bmp\\pic\\Sign.bmp"});
    const cPictureObj& p = stage->m_PictureList.back();
    EXPECT_EQ(p.m_Picture, 1);
    EXPECT_EQ(p.m_Width, 6);
    EXPECT_EQ(p.m_Height, 3);
    EXPECT_EQ(p.m_X, 400 + 32 + 5);
    EXPECT_EQ(p.m_Y, 300 + 64 + 6);
    EXPECT_EQ(p.m_Scaled, 1);
    EXPECT_EQ(p.m_Layer, 1);
    EXPECT_EQ(p.m_DurationMode, 2);
    EXPECT_EQ(p.m_FramesLeft, 18);
    EXPECT_EQ(p.m_StopsGame, 0);
    EXPECT_EQ(services.m_PauseWaits, 0);

    Show(0, 100, 1, 0, 0);
    ASSERT_EQ(stage->m_PictureList.size(), 2u);
    EXPECT_EQ(stage->m_PictureList.back().m_Scaled, 0);
    EXPECT_EQ(stage->m_PictureList.back().m_Width, 4);
    EXPECT_NE(stage->m_PictureList.back().m_Serial, p.m_Serial);
}

TEST_P(PictureCommand, AMissingFileClosesTheGameAndLeavesTheListsInStep)
{
    g_Database.Picture[1].m_FileName = "bmp\\pic\\Gone.bmp";
    Show(0, 100, 2, 1, 0);
    EXPECT_EQ(services.m_ErrorBoxes, std::vector<std::string>{std::string("bmp\\pic\\Gone.bmp ") +
                                                              Sjis("読み込み失敗！")});
    EXPECT_EQ(services.m_CloseRequests, 1);
    EXPECT_TRUE(stage->m_PictureList.empty());
    EXPECT_TRUE(g_PictureSurfaces.empty());
    EXPECT_TRUE(g_PictureBmpList.empty());
}

TEST_P(PictureCommand, AWaitedPictureIsRemovedAfterTheWait)
{
    WaitingServices waiting;
    cScopedServices scoped(waiting);
    Show(0, 100, 1, 0, 0); // a picture shown before, without wait
    std::size_t shownDuringWait = 0;
    int heldDuringWait = 0;
    waiting.during = [&] {
        shownDuringWait = stage->m_PictureList.size();
        heldDuringWait = stage->m_PictureList.back().m_StopsGame;
    };
    Show(1, 100, 2, 2, 1);
    EXPECT_EQ(waiting.m_PauseWaits, 1);
    EXPECT_EQ(shownDuringWait, 2u);
    EXPECT_EQ(heldDuringWait, 1) << "it counts its frames in the pause thread";
    ASSERT_EQ(stage->m_PictureList.size(), 1u);
    EXPECT_EQ(stage->m_PictureList.front().m_StopsGame, 0) << "the other picture stays";
    EXPECT_EQ(g_PictureSurfaces.size(), 1u);
    EXPECT_EQ(g_PictureBmpList.size(), 1u);

    Show(1, 100, 0, 0, 1);
    EXPECT_EQ(waiting.m_PauseWaits, 2) << "until a button";
    EXPECT_EQ(stage->m_PictureList.size(), 1u);

    // Shown until the stage ends, nothing could end a stop of the game:
    // the game goes on and the picture stays.
    stage->m_PauseWait = PauseWait{4, 3, 7, 99, 1};
    Show(1, 100, 1, 0, 1);
    EXPECT_EQ(waiting.m_PauseWaits, 2);
    EXPECT_EQ(stage->m_PauseWait.m_Kind, 4) << "the wait record is left alone";
    ASSERT_EQ(stage->m_PictureList.size(), 2u);
    EXPECT_EQ(g_PictureSurfaces.size(), 2u);
    EXPECT_EQ(stage->m_PictureList.back().m_DurationMode, 1);
}

TEST_P(PictureCommand, APictureEndedDuringItsWaitLeavesTheOthers)
{
    WaitingServices waiting;
    cScopedServices scoped(waiting);
    Show(0, 100, 1, 0, 0);
    const std::uint32_t first = stage->m_PictureList.front().m_Serial;
    // The drawing during the wait ends the waited picture (its time is up).
    waiting.during = [&] {
        stage->m_PictureList.pop_back();
        DDReleaseSurface(&g_PictureSurfaces.back());
        g_PictureSurfaces.pop_back();
        g_PictureBmpList.pop_back();
    };
    Show(1, 100, 2, 0, 1);
    ASSERT_EQ(stage->m_PictureList.size(), 1u);
    EXPECT_EQ(stage->m_PictureList.front().m_Serial, first);
    EXPECT_EQ(g_PictureSurfaces.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Modes, PictureCommand,
                         ::testing::Values(gfxtest::AllModes()[0], gfxtest::AllModes()[4]),
                         gfxtest::ModeName);

// --- the picture's frames and drawing

using PictureDraw = PlayFieldPictures;

TEST_P(PictureDraw, ATimedPictureEndsAfterItsFramesAndStandsStillWhenFrozen)
{
    cPictureObj timed(1, 0, 0, 1, 1, 0, 100, 2, 2, 0);
    EXPECT_EQ(timed.Draw(&dest, nullptr, 1), 0);
    EXPECT_EQ(timed.m_FramesLeft, 2) << "frozen by another command's wait";
    std::vector<int> ends;
    for (int frame = 0; frame < 3; ++frame)
        ends.push_back(timed.Draw(&dest, nullptr, 0));
    EXPECT_EQ(ends, (std::vector<int>{0, 0, 1}));

    cPictureObj waited(1, 0, 0, 1, 1, 0, 100, 2, 0, 1);
    EXPECT_EQ(waited.Draw(&dest, nullptr, 1), 1) << "its own wait counts";

    cPictureObj shown(1, 0, 0, 1, 1, 0, 100, 0, 0, 0);
    for (int frame = 0; frame < 10; ++frame)
        EXPECT_EQ(shown.Draw(&dest, nullptr, 0), 0);
}

TEST_P(PictureDraw, APictureIsDrawnAtItsScreenPlaceColourKeyed)
{
    MakeDest();
    MakePicture(&picture, {{1, 0}, {2, 3}});
    // At stage (402, 301) with the view at (400, 300): screen (2, 1).
    cPictureObj plain(1, 402.7, 301.2, 2, 2, 0, 100, 0, 0, 0);
    EXPECT_EQ(plain.Draw(&dest, &picture, 0), 0);
    cPictureObj scaled(1, 404, 302, 4, 4, 0, 200, 0, 0, 0);
    EXPECT_EQ(scaled.Draw(&dest, &picture, 0), 0);
    const Grid expected = {
        {5, 5, 5, 5, 5, 5, 5, 5}, {5, 5, 1, 5, 5, 5, 5, 5}, {5, 5, 2, 3, 1, 1, 5, 5},
        {5, 5, 5, 5, 1, 1, 5, 5}, {5, 5, 5, 5, 2, 2, 3, 3}, {5, 5, 5, 5, 2, 2, 3, 3},
    };
    EXPECT_EQ(Read(), expected);
}

// --- effect instances

class EffectDraw : public PlayFieldPictures {
protected:
    void SetUp() override
    {
        PlayFieldPictures::SetUp();
        // Record 1: cells of 2 x 2, shown for a tenth of a second each.
        g_Database.Effect.assign(2, cEdEffect());
        cEdEffect& e = g_Database.Effect[1];
        e.m_CellWidth = 2;
        e.m_CellHeight = 2;
        e.m_Frames.resize(2);
        e.m_Frames[0].m_PictureNo = 1;
        e.m_Frames[0].m_Time = 1;
        e.m_Frames[1].m_PictureNo = 0;
        e.m_Frames[1].m_Time = 1;
        BuildDatabaseTables();
        g_EffectPictures.resize(2);
        MakePicture(&g_EffectPictures[0], {{1, 1, 2, 0}, {1, 1, 3, 4}});
    }
};

TEST_P(EffectDraw, AnEffectPlaysItsFramesOnceAndEnds)
{
    cEffectObj effect(1, 0, 0, 2, 2, 0);
    int frames = 0;
    while (effect.Draw(&dest, 0) == 0 && frames < 100)
        ++frames;
    EXPECT_EQ(frames + 1, 12) << "two frames of six drawn frames: the 12th ends it";

    g_Database.Effect[1].m_Frames.clear();
    cEffectObj empty(1, 0, 0, 2, 2, 0);
    EXPECT_EQ(empty.Draw(&dest, 0), 1) << "no frames: removed at once";
}

TEST_P(EffectDraw, FrozenFramesHoldAnEffectUnlessItStopsTheGame)
{
    cEffectObj effect(1, 0, 0, 2, 2, 0);
    for (int frame = 0; frame < 100; ++frame)
        ASSERT_EQ(effect.Draw(&dest, 1), 0);
    cEffectObj waited(1, 0, 0, 2, 2, 1);
    int frames = 0;
    while (waited.Draw(&dest, 1) == 0 && frames < 100)
        ++frames;
    EXPECT_EQ(frames + 1, 12);
}

TEST_P(EffectDraw, AnEffectDrawsItsCellAtItsScreenPlace)
{
    MakeDest();
    cEffectObj plain(1, 401, 300, 2, 2, 0);
    plain.Draw(&dest, 0); // the first frame shows cell 1
    cEffectObj scaled(1, 403.5, 302, 4, 4, 0);
    scaled.Draw(&dest, 0);
    const Grid expected = {
        {5, 2, 5, 5, 5, 5, 5, 5}, {5, 3, 4, 5, 5, 5, 5, 5}, {5, 5, 5, 2, 2, 5, 5, 5},
        {5, 5, 5, 2, 2, 5, 5, 5}, {5, 5, 5, 3, 3, 4, 4, 5}, {5, 5, 5, 3, 3, 4, 4, 5},
    };
    EXPECT_EQ(Read(), expected);
}

TEST_P(EffectDraw, AnEffectWithWaitHandsTheFrameLoopToThePauseThread)
{
    WaitingServices waiting;
    cScopedServices scoped(waiting);
    ShowEffect(player(), Command({1, 0, 0, 0, 0, 0, 100, 0}));
    EXPECT_EQ(waiting.m_PauseWaits, 0);
    int heldDuringWait = 0;
    waiting.during = [&] { heldDuringWait = stage->m_EffectList.back().m_StopsGame; };
    ShowEffect(player(), Command({1, 0, 0, 0, 0, 0, 100, 1}));
    EXPECT_EQ(waiting.m_PauseWaits, 1);
    EXPECT_EQ(heldDuringWait, 1) << "it plays in the pause thread";
    EXPECT_EQ(stage->m_EffectList.size(), 2u);
}

TEST_P(EffectDraw, RecordZeroHasNoPictureToDraw)
{
    MakeDest();
    g_Database.Effect[0] = g_Database.Effect[1];
    BuildDatabaseTables();
    cEffectObj none(0, 400, 300, 2, 2, 0);
    EXPECT_EQ(none.Draw(&dest, 0), 0);
    EXPECT_EQ(Read(), Grid(6, std::vector<int>(8, 5)));
    EXPECT_EQ(services.m_CloseRequests, 0);
}

INSTANTIATE_TEST_SUITE_P(Modes, PictureDraw, ::testing::ValuesIn(gfxtest::AllModes()),
                         gfxtest::ModeName);
INSTANTIATE_TEST_SUITE_P(Modes, EffectDraw, ::testing::ValuesIn(gfxtest::AllModes()),
                         gfxtest::ModeName);

} // namespace
