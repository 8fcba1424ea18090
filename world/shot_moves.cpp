// The shot movement kinds.

#include "world/shot_moves.h"

#include "world/placeholder.h"
#include "world/shot_obj.h"

namespace {

void NoMove(cShotObj&)
{
    WORLD_PLACEHOLDER(13, "g_ShotMoveProc");
}

} // namespace

const ShotMoveProc g_ShotMoveProc[kShotMoves] = {NoMove, NoMove, NoMove, NoMove, NoMove,
                                                 NoMove, NoMove, NoMove, NoMove, NoMove};
