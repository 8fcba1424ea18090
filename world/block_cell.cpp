#include "world/block_cell.h"

#include "data/ed_block.h"

void BlockCell::Assign(const cEdBlock& block)
{
    Conds =
        block.Conds.empty() ? nullptr : std::make_shared<const std::vector<cEdCond>>(block.Conds);
    nCondMode = block.nCondMode;
    bCondLatch = block.bCondLatch;
    nGraphicNo = block.nGraphicNo;
    nGraphicKind = block.nGraphicKind;
    nGraphicFrame = block.nGraphicFrame;
    nLayer = block.nLayer;
    bHidden = block.bHidden;
    bOverlay = block.bOverlay;
    nOverlayPiece = block.nOverlayPiece;
    nHitMode = block.nHitMode >= 0 && block.nHitMode <= 2 ? block.nHitMode : 0;
    nPassGroup = block.nPassGroup;
    nEffect = block.nEffect;
    nEffectValue = block.nEffectValue;
    nItemKind = block.nItemKind;
    nItemIndex = block.nItemIndex;
    bNoSummon = block.bNoSummon;
}
