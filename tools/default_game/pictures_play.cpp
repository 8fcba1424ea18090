// The sheets that play draws from, laid out as the runtime cuts them.
#include "tools/default_game/pictures.h"

#include "tools/default_game/catalogue.h"
#include "tools/default_game/sprites.h"

#include <string>

namespace defgame {
namespace {

// Blocks: one column of 15 cells of 32 x 32 (block n at y = 32 n).
Canvas blockSheet()
{
    Canvas sheet(32, 15 * 32);
    for (int b = BLOCK_GRASS; b < BLOCK_GRAPHIC_END; ++b)
        sheet.paste(blockCell(static_cast<BlockGraphic>(b)), 0, b * 32, false);
    return sheet;
}

// Characters: 15 rows of 20 frames of 32 x 32; the runtime mirrors each
// frame in its cell for the characters that face right.
Canvas characterSheet()
{
    Canvas sheet(20 * 32, 15 * 32);
    for (int who = CHARA_MARKER; who < CHARA_GRAPHIC_END; ++who)
        for (int f = FRAME_STAND; f < FRAME_END; ++f)
            sheet.paste(charaFrame(static_cast<CharaGraphic>(who), static_cast<CharaFrame>(f)),
                        f * 32, who * 32, false);
    return sheet;
}

// Shots: a grid of 16 x 16 frames. One reading of the sheet takes shot n
// from row n with its frames across; the other takes it from column n with
// its frames down. Each shot is drawn both ways; shot numbers from 3 on keep
// the two out of each other's cells.
Canvas shotSheet()
{
    Canvas sheet(30 * 16, 30 * 16);
    for (ShotGraphic shot : {SHOT_HERO, SHOT_ENEMY}) {
        for (int f = 0; f < kShotFrames; ++f) {
            const Canvas frame = shotFrame(shot, f);
            sheet.paste(frame, f * 16, shot * 16, false);
            sheet.paste(frame, shot * 16, f * 16, false);
        }
    }
    return sheet;
}

// Items: one column of 15 items, each two frames of 32 x 32 side by side.
Canvas itemSheet()
{
    Canvas sheet(64, 15 * 32);
    for (int item = ITEM_COIN; item < ITEM_GRAPHIC_END; ++item)
        for (int f = 0; f < 2; ++f)
            sheet.paste(itemFrame(static_cast<ItemGraphic>(item), f), f * 32, item * 32, false);
    return sheet;
}

// The small items: 15 rows of 16 x 16, the two frames side by side.
Canvas smallItemSheet()
{
    Canvas sheet(32, 15 * 16);
    for (int item = ITEM_COIN; item < ITEM_GRAPHIC_END; ++item)
        for (int f = 0; f < 2; ++f)
            sheet.paste(halved(itemFrame(static_cast<ItemGraphic>(item), f)), f * 16, item * 16,
                        false);
    return sheet;
}

// Overlay pieces: one column of 15 cells of 32 x 32.
Canvas markSheet()
{
    Canvas sheet(32, 15 * 32);
    for (int piece = MARK_ARROW; piece < MARK_PIECE_END; ++piece)
        sheet.paste(markPiece(static_cast<MarkPiece>(piece)), 0, piece * 32, false);
    return sheet;
}

// The burst effect: its frames in a row of 32 x 32 cells.
Canvas burstSheet()
{
    Canvas sheet(kBurstFrames * 32, 32);
    for (int f = 0; f < kBurstFrames; ++f)
        sheet.paste(burstFrame(f), f * 32, 0, false);
    return sheet;
}

// The sword: a blade pointing forward (left), its hilt at the right.
Canvas swordSheet()
{
    Canvas sheet(64, 32);
    sheet.fill(4, 13, 44, 6, shade(Hue::Grey, 13));
    sheet.fill(4, 13, 44, 2, kWhite);
    sheet.fill(4, 17, 44, 2, shade(Hue::Grey, 8));
    for (int i = 0; i < 4; ++i)
        sheet.fill(i, 15 - i / 2, 1, 2 + i, shade(Hue::Grey, 12));
    sheet.fill(48, 8, 4, 16, shade(Hue::Yellow, 9));
    sheet.fill(52, 14, 10, 4, shade(Hue::Brown, 7));
    sheet.outline(0, 0, 64, 32, kBlack);
    return sheet;
}

} // namespace

std::vector<Picture> playPictures()
{
    std::vector<Picture> pictures;
    pictures.push_back({"bmp\\Block.bmp", blockSheet()});
    pictures.push_back({"bmp\\Character1.bmp", characterSheet()});
    // The runtime loads eight character sheets; this game's characters are
    // all on the first, and the others are one empty cell each.
    for (int sheet = 2; sheet <= 8; ++sheet)
        pictures.push_back({"bmp\\Character" + std::to_string(sheet) + ".bmp", Canvas(32, 32)});
    pictures.push_back({"bmp\\Shot.bmp", shotSheet()});
    pictures.push_back({"bmp\\Item.bmp", itemSheet()});
    pictures.push_back({"bmp\\Item_Mini.bmp", smallItemSheet()});
    pictures.push_back({"bmp\\Mark.bmp", markSheet()});
    pictures.push_back({kBurstPicture, burstSheet()});
    pictures.push_back({kSwordPicture, swordSheet()});
    return pictures;
}

} // namespace defgame
