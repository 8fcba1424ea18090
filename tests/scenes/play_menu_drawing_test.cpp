// What the play scene's displays and menus draw, in one mode of each back
// end: the stage-start and game-over pieces of the word picture with the
// stage number in its digit cell, and the pause and continue menus (the
// box of system texts around its rows, the small cursor on the chosen row).

#include "media/graphics_fixture.h"

#include "data/ed_system.h"
#include "media/dd_blit.h"
#include "media/font.h"
#include "play_fixture.h"
#include "scenes/menu_text_box.h"

using namespace gfxtest;

namespace {

constexpr int kBack = 16;
constexpr int kFrame = 40;  // the menu box's frame
constexpr int kCursor = 30; // the cursor cell of the accessory picture

class PlayMenuDrawing : public test::PlayFixture, public testing::WithParamInterface<Mode> {
protected:
    void SetUp() override
    {
        PlayFixture::SetUp();
        ASSERT_TRUE(SetUpMode(GetParam(), 640, 480));
        reader = std::make_unique<PaletteReader>();
        MakePictures();
        InitFontDef();
        const FONTDEF& d = g_FontDef[1];
        ASSERT_TRUE(g_Fonts[1].Create(d.face.data(), 0, d.fontHeight, d.cellWidth, d.lineHeight, 33,
                                      nullptr, 1, kFrame, nullptr));
        g_System.SysText[19] = "ABCDEF";
        g_System.SysText[20] = "ABCD";
        g_System.SysText[21] = "ABCDE";
        g_System.SysText[22] = "ABC";
        g_System.SysText[23] = "ABCDEFGHI";
        DDClearPal(&BackBuffer, kBack);
    }
    void TearDown() override
    {
        g_Fonts[1].Release();
        DDReleaseSurface(&g_BitmapSD[51]);
        DDReleaseSurface(&g_BitmapSD[49]);
        reader.reset();
        TearDownMode();
        PlayFixture::TearDown();
    }
    // The word picture and the accessory picture, made again for each
    // scene: a play scene releases the play pictures when it ends.
    void MakePictures()
    {
        DDReleaseSurface(&g_BitmapSD[51]);
        DDReleaseSurface(&g_BitmapSD[49]);
        // The word picture: a colour of its own for each piece, a digit
        // strip of 32 x 32 cells 20 + d from (0, 128).
        DDSURFACEDATA& word = g_BitmapSD[51];
        EXPECT_TRUE(DDCreateSurface(&word, 320, 160, 1, 1, 0, 0, 0));
        DDClearPal(&word, 5);
        DDBoxFillPal(&word, 0, 32, 128, 32, 10);
        DDBoxFillPal(&word, 0, 0, 128, 32, 11);
        DDBoxFillPal(&word, 160, 0, 80, 32, 12);
        DDBoxFillPal(&word, 0, 96, 144, 32, 13);
        for (int d = 0; d < 10; ++d)
            DDBoxFillPal(&word, d * 32, 128, 32, 32, 20 + d);
        DDSURFACEDATA& accessory = g_BitmapSD[49];
        EXPECT_TRUE(DDCreateSurface(&accessory, 128, 32, 1, 1, 0, 0, 0));
        DDClearPal(&accessory, 6);
        DDBoxFillPal(&accessory, 64, 0, 16, 16, kCursor);
    }
    int At(int x, int y) const { return reader->at(BackBuffer, x, y); }
    // The corners of a rectangle all show the colour.
    void ExpectRect(int x, int y, int w, int h, int colour) const
    {
        EXPECT_EQ(At(x, y), colour) << x << "," << y;
        EXPECT_EQ(At(x + w - 1, y), colour);
        EXPECT_EQ(At(x, y + h - 1), colour);
        EXPECT_EQ(At(x + w - 1, y + h - 1), colour);
    }
    // The frame of the w x h box at (x, y) lies one pixel around it.
    void ExpectBox(int x, int y, int w, int h) const
    {
        ExpectRect(x - 1, y - 1, w + 2, h + 2, kFrame);
        EXPECT_NE(At(x + w + 1, y), kFrame) << "no wider";
        EXPECT_NE(At(x, y + h + 1), kFrame) << "no taller";
    }

    std::unique_ptr<PaletteReader> reader;
};

TEST_P(PlayMenuDrawing, EachPieceComesFromItsPlaceInTheWordPicture)
{
    struct Piece {
        int which, x, y, w, h, colour;
    };
    const Piece pieces[] = {
        {0, 256, 224, 128, 32, 10},
        {1, 256, 224, 128, 32, 11},
        {2, 280, 224, 80, 32, 12},
        {3, 248, 224, 144, 32, 13},
    };
    cGamePlay scene;
    g_Progress.nChainNo = 7;
    for (const Piece& p : pieces) {
        SCOPED_TRACE(p.which);
        DDClearPal(&BackBuffer, kBack);
        scene.DrawPlayPiece(p.which);
        ExpectRect(p.x, p.y, p.w, p.h, p.colour);
        EXPECT_EQ(At(p.x - 1, p.y), kBack);
        EXPECT_EQ(At(p.x, p.y - 1), kBack);
        EXPECT_EQ(At(p.x, p.y + p.h), kBack);
        const int right = p.which == 1 ? 384 + 32 : p.x + p.w;
        EXPECT_EQ(At(right, p.y), kBack);
    }
    DDClearPal(&BackBuffer, kBack);
    scene.DrawPlayPiece(1);
    ExpectRect(384, 224, 32, 32, 27); // the stage number 7 in its digit cell
}

TEST_P(PlayMenuDrawing, ThePauseMenuBoxesItsRowsAndShowsTheCursorOnGoOn)
{
    for (const bool retry : {true, false}) {
        SCOPED_TRACE(retry);
        SetPlay(retry ? PLAYKIND_FREE : PLAYKIND_REPLAY, retry ? PLAYMODE_FREE : PLAYMODE_REPLAY);
        Begin(test::FloorStage());
        MakePictures();
        scene->m_SavedPhase = PHASE_PLAY;
        scene->m_SubState = 0;
        scene->m_Phase = PHASE_PAUSE;
        Frames(1);
        // Placed for three rows of which the widest has 6 characters.
        const int x = 320 - 7 * 16 / 2;
        EXPECT_EQ(x, SysTextMenuX(320, 19, 3, 1));
        ExpectBox(x, 272, 112, retry ? 48 : 32);
        ExpectRect(x, 272 + 16, 16, 16, kCursor);
    }
}

TEST_P(PlayMenuDrawing, TheContinueMenuOpensOnItsFirstRow)
{
    SetPlay(PLAYKIND_STORY, PLAYMODE_NEW_GAME);
    Begin(test::FloorStage());
    scene->m_SubState = 0;
    scene->m_Phase = PHASE_CONTINUE;
    Frames(1);
    const int x = 320 - 10 * 16 / 2;
    ExpectBox(x, 272, 160, 32);
    ExpectRect(x, 272, 16, 16, kCursor);
    Frames(cInputScript().Hold(kDirDown, 0, 1), 1);
    ExpectRect(x, 288, 16, 16, kCursor);
}

INSTANTIATE_TEST_SUITE_P(Modes, PlayMenuDrawing, testing::Values(AllModes()[0], AllModes()[4]),
                         ModeName);

} // namespace
