#pragma once
// An item definition. As a palette entry it is a template; as a placed item
// it carries a position, a palette reference and, for each of 13 groups of
// settings, a flag that takes the group from the palette entry. Its
// commands (flow/item commands) run at once on the player who takes it.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_command.h"
#include "data/ed_cond.h"
#include "data/ed_data.h"

// Number of inheritance groups (and copiers) of an item.
inline constexpr int kItemInheritGroups = 13;

class cEdItem : public cEdData {
public:
    std::int16_t nX = 0; // block column of a placed item
    std::int16_t nY = 0;
    std::vector<std::uint8_t> InheritFlags = std::vector<std::uint8_t>(kItemInheritGroups, 0);
    std::vector<cEdCond> Conds; // appearance conditions
    std::vector<cEdCommand> Commands;

    // The members of the member table, in file order.
    std::uint8_t nPaletteKind = 0; // 0 none, 1 common palette, 2 stage palette
    std::int16_t nPaletteIndex = 0;
    std::string strName;
    std::uint8_t nCondMode = 0;
    std::uint8_t bCondLatch = 0;
    std::int16_t nItemOption1 = 0; // start offset x in pixels
    std::int16_t nItemOption2 = 0; // start offset y in pixels
    std::int16_t nGraphicNo = 0;   // at most 119
    std::uint8_t nGraphicKind = 2;
    std::int16_t nGraphicFrame = 0;
    std::uint8_t nItemOption3 = 6;
    std::uint8_t bHidden = 0;
    std::uint8_t bOverlay = 0;
    std::int16_t nOverlayPiece = 0;
    std::uint8_t bShowGraphic = 1; // giving it hands its graphic to the player's display
    std::uint8_t nTakeMode = 0;    // 0 once, 1 any number of times, 2 never
    std::uint8_t nSize = 1;        // at least 1
    std::int16_t nSound = 0;       // Sound record played when given; 0 none

    void RegisterMembers(int version) override;
    // The record body, nX and nY, uint32 n and n flags, the conditions and
    // the commands; then the upgrade of older files, the inheritance and
    // Validate.
    void Load(plat::ByteReader& f) override;
    // Validate, then the same layout.
    void Save(ByteWriter& f) override;

    // The defaults of a new item (13 clear flags).
    void Clear();
    // Copies every flagged group from the palette entry. A reference outside
    // its palette loses its kind and copies nothing.
    void InheritItem();
    // Resets a palette reference outside its palette, a size of 0 or less and
    // a sound outside its table; CheckParams on every command.
    void Validate();
    // CheckRefs on every command.
    void ValidateCommands();
};

// The item definition that a block or shot names: kind 1 the common
// palette's items, kind 2 the live stage's. Null for another kind or an
// index outside the list.
cEdItem* GetItemDef(int kind, int index);
