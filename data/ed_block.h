#pragma once
// A block: one 32 by 32 cell of a stage's map. The same record is an entry of
// a palette (the common palette or a stage's own), a block placed on a
// stage's map, and the content of a cell of the running block map. A placed
// block or palette entry may take groups of its settings from a palette
// entry; that inheritance is applied as the block is read.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_cond.h"
#include "data/ed_data.h"

// Number of inheritance groups (and copiers) of a block.
inline constexpr int kBlockInheritGroups = 11;

class cEdBlock : public cEdData {
public:
    std::int16_t nX = 0; // block column on the stage (placed blocks)
    std::int16_t nY = 0; // block row
    // Inheritance source: 0 none, 1 the common palette, 2 the stage's palette.
    std::int8_t nPaletteKind = 0;
    std::int16_t nPaletteIndex = 0; // entry in that palette's blocks; 0 names none
    // Flag i set: group i is taken from the source entry (see the copiers).
    std::vector<std::uint8_t> InheritFlags = std::vector<std::uint8_t>(kBlockInheritGroups, 0);
    std::string strName;
    std::vector<cEdCond> Conds;  // the block exists while these hold
    std::int8_t nCondMode = 0;   // 0 all must hold, 1 at least one
    std::int8_t bCondLatch = 0;  // once the list held, it holds for good
    std::int16_t nGraphicNo = 0; // 0: the block is empty
    // 0 block sheet, 1 character sheets, 2 item sheet, 3 shot sheet, 4 own picture.
    std::int8_t nGraphicKind = 0;
    std::int16_t nGraphicFrame = 0;
    std::int8_t nLayer = 0;   // 0 behind the objects, 1 in front
    std::int8_t bHidden = 0;  // not drawn
    std::int8_t bOverlay = 0; // 1: an overlay piece is drawn over the graphic
    std::int16_t nOverlayPiece = 0;
    // 0 no collision, 1 solid, 2 kills the player (solid for computer characters).
    std::int8_t nHitMode = 1;
    std::int8_t nPassGroup = -1; // group 0 to 7 that passes through; -1 (255) none
    // Effect on the player standing on it: 0 none, 1 jump, 2 no jump, 3 speed
    // change, 4 carried left, 5 carried right; nEffectValue is its X.
    std::int8_t nEffect = 0;
    std::int32_t nEffectValue = 0;
    std::int8_t nItemKind = 0; // item given: 0 none, 1 common palette, 2 stage palette
    std::int16_t nItemIndex = 0;
    std::int8_t bNoSummon = 0; // summoning never replaces this cell

    void RegisterMembers(int version) override;
    // The record body, nX and nY, uint32 n and n flags, the conditions; then
    // the upgrade of older files, the inheritance and the validation.
    void Load(plat::ByteReader& f) override;
    // Validate, then the same layout.
    void Save(ByteWriter& f) override;

    // Copies every flagged group from the source entry. A reference outside
    // its palette loses its kind and copies nothing.
    void Inherit();
    // A palette reference outside its palette becomes none; an empty block
    // (graphic 0) collides with nothing and does not refuse summons.
    void Validate();
    // An item reference outside its palette becomes none.
    void ValidateItem();
    // The none entry of a palette: cleared, solid, no flags, no pass group.
    void SetNone();
};
