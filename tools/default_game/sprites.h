#pragma once
// The small pictures of the default game, one cell each: characters, blocks,
// items, shots, overlay marks. The sheets of the bitmap table are put
// together from these cells (pictures_play.cpp).

#include "tools/default_game/canvas.h"
#include "tools/default_game/catalogue.h"

namespace defgame {

// A 32 x 32 character frame, facing left as the sheets hold them.
Canvas charaFrame(CharaGraphic who, CharaFrame frame);
// A 32 x 32 frame of the hero seen from above, for the world map: facing
// down or up, in two steps (the second is the first mirrored).
Canvas mapWalkerFrame(bool up, bool secondStep);
// A 32 x 32 block.
Canvas blockCell(BlockGraphic block);
// A 32 x 32 item frame (frame 0 or 1).
Canvas itemFrame(ItemGraphic item, int frame);
// A 16 x 16 shot frame (0 to kShotFrames - 1).
Canvas shotFrame(ShotGraphic shot, int frame);
// A 32 x 32 overlay piece.
Canvas markPiece(MarkPiece piece);
// A 32 x 32 frame of the burst effect (0 to kBurstFrames - 1).
Canvas burstFrame(int frame);

// A picture halved in size (every second pixel of every second row).
Canvas halved(const Canvas& picture);

} // namespace defgame
