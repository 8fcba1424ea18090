#pragma once
// One 32 x 32 cell of the running block map: what the play needs of the
// block placed there (its picture, layer, collision, effect, item and
// appearance conditions), and the latch of its condition list. A cell whose
// graphic number is 0 is empty: nothing is drawn there and it collides
// with nothing. The map itself belongs to the running stage.

#include <cstdint>
#include <memory>
#include <vector>

class cEdBlock;
class cEdCond;

// A cell fills one 64-byte cache line: the cell of an index is found by a
// shift, and reading one never touches two lines.
struct alignas(64) BlockCell {
    // The block's appearance conditions, shared with the block they came
    // from; null when it has none.
    std::shared_ptr<const std::vector<cEdCond>> Conds;
    std::int8_t nCondMode = 0;  // 0 all must hold, 1 at least one
    std::int8_t bCondLatch = 0; // once the list held, it holds for good
    std::int16_t nGraphicNo = 0;
    std::int8_t nGraphicKind = 0;
    std::int16_t nGraphicFrame = 0;
    std::int8_t nLayer = 0; // 0 behind the objects, 1 in front
    std::int8_t bHidden = 0;
    std::int8_t bOverlay = 0;
    std::int16_t nOverlayPiece = 0;
    std::int8_t nHitMode = 0;    // 0 none, 1 solid, 2 kills the player
    std::int8_t nPassGroup = -1; // the group that passes through; -1 none
    std::int8_t nEffect = 0;     // effect on the player standing on it
    std::int32_t nEffectValue = 0;
    std::int8_t nItemKind = 0; // item given: 0 none, 1 common palette, 2 stage palette
    std::int16_t nItemIndex = 0;
    std::int8_t bNoSummon = 0;
    // Set once the condition list has held (its latch memory).
    std::uint8_t m_Latch = 0;

    // Takes over everything the play reads of a block (the latch stays). A
    // hit mode outside 0 to 2 is read as 0, so it never outranks a real
    // block in a probe and then hides it.
    void Assign(const cEdBlock& block);
    // An empty cell, latch cleared.
    void Reset() { *this = BlockCell(); }
    bool HasConds() const { return Conds && !Conds->empty(); }
};
