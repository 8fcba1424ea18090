// The pieces of the play scene's displays and the menu cursor.

#include "scenes/game_play.h"

#include <iterator>

#include "data/ed_save_data.h"
#include "media/bitmap_table.h"
#include "media/dd_blit.h"
#include "media/dd_composite.h"
#include "media/dd_surface.h"
#include "scenes/menu_cursor.h"

namespace {

constexpr int kBitmapWord = 51;

// A piece of the word picture and where it is drawn.
struct PlayPiece {
    int sx, sy, w, h; // in the word picture
    int x, y;         // on the screen
};

// By DrawPlayPiece's argument: the replay sign, "stage", the start sign,
// game over.
constexpr PlayPiece kPlayPieces[] = {
    {0, 32, 128, 32, 256, 224},
    {0, 0, 128, 32, 256, 224},
    {160, 0, 80, 32, 280, 224},
    {0, 96, 144, 32, 248, 224},
};
constexpr int kStageNumberPiece = 1;

} // namespace

void cGamePlay::DrawPlayPiece(int which)
{
    if (which < 0 || which >= static_cast<int>(std::size(kPlayPieces))) return;
    const PlayPiece& piece = kPlayPieces[which];
    DDSURFACEDATA* word = &g_BitmapSD[kBitmapWord];
    DDBlt(&BackBuffer, piece.x, piece.y, piece.w, piece.h, word, piece.sx, piece.sy, 1);
    // The stage's number within its chain, one 32 x 32 digit cell beside it.
    if (which == kStageNumberPiece)
        DDDrawNumber(&BackBuffer, 384, 224, 32, 32, word, 0, 128, 1, g_Progress.nChainNo, 1, 0);
}

void cGamePlay::SceneResetMenuCursor()
{
    ResetMenuCursor();
}
