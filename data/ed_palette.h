#pragma once
// The common palette: the game's ready-made blocks, characters and items,
// read once at start-up from data\CommonPalette.cplt4 into g_CommonPalette
// and never written by the runtime. Each stage has its own palette of the
// same three lists (cEdStage).
//
// Rules of every palette list: entry 0 is the none entry (a reference with
// index 0 names nothing), reset after every load whatever the file held; a
// list holds at least 2 entries once checked. The common palette's entries
// take over what they inherit while they are read, and keep no flags.
//
// File layout after the version: the palette's record body (no members, no
// strings), then the blocks, the characters and the items, each a uint32
// count and that many bodies. There is no end code.

#include <vector>

#include "data/ed_block.h"
#include "data/ed_chara.h"
#include "data/ed_data.h"
#include "data/ed_item.h"
#include "data/path_table.h"

class cEdPalette : public cEdData {
public:
    std::vector<cEdBlock> PaletteBlocks;
    std::vector<cEdChara> PaletteCharas;
    std::vector<cEdItem> PaletteItems;

    // No members and no strings of its own.
    void RegisterMembers(int version) override;
    // The body and the three lists, each entry inheriting as it is read
    // (from this palette); entry 0 of each reset to none, every flag
    // cleared, then Check.
    void Load(plat::ByteReader& f) override;
    // Check, then the same layout.
    void Save(ByteWriter& f) override;
    // Fills each list up to 2 entries and validates every entry.
    void Check();
};

// The none entries of a palette list, also the fillers that bring a list up
// to its 2 entries.
cEdBlock NoneBlock();
cEdChara NoneChara();
cEdItem NoneItem();

// Makes entry 0 of each of the three lists the none entry, whatever it held.
void ResetNoneEntries(std::vector<cEdBlock>& blocks, std::vector<cEdChara>& charas,
                      std::vector<cEdItem>& items);
// Fills each of the three lists up to 2 entries with none entries.
void FillPaletteLists(std::vector<cEdBlock>& blocks, std::vector<cEdChara>& charas,
                      std::vector<cEdItem>& items);

// Reads the three lists of a palette, each entry starting from the none entry.
void LoadPaletteLists(std::vector<cEdBlock>& blocks, std::vector<cEdChara>& charas,
                      std::vector<cEdItem>& items, plat::ByteReader& f);

// Validates every entry of the three lists, in the order blocks, characters, items.
void ValidatePaletteLists(std::vector<cEdBlock>& blocks, std::vector<cEdChara>& charas,
                          std::vector<cEdItem>& items);

// The common palette's file.
inline constexpr const char* kCommonPaletteFile = g_PathTable[PATH_COMMON_PALETTE];

// Reads the common palette at start-up into g_CommonPalette: 1, or 0 after
// "%s のロードに失敗！" with its path in the run report and an error box,
// with g_CommonPalette unchanged (the start-up then ends).
int LoadCommonPaletteAtStartUp(const char* path = kCommonPaletteFile);

extern cEdPalette g_CommonPalette;
