#pragma once
// The palettes that palette references name. Blocks, characters and items
// take groups of settings from a palette entry, and shots, summons and blocks
// name palette items, blocks and characters: kind 1 is the common palette
// (g_CommonPalette), kind 2 the live stage's own palette (g_Stage).
//
// A palette or stage file is read into a fresh record that replaces the live
// one only once the whole file has been read and checked, so that a damaged
// file leaves the game as it was. While a thread reads or checks such a
// record, that record stands in for the live one on that thread: its own
// entries are the ones its references find, exactly as if it were read in
// place. Other threads keep seeing the live records.

#include <vector>

class cEdBlock;
class cEdChara;
class cEdItem;
class cEdPalette;
class cEdStage;

// The common palette and the live stage as this thread's references see them.
cEdPalette& UsedCommonPalette();
cEdStage& UsedStage();

// Makes a palette stand in for the common palette on this thread, for the
// guard's lifetime.
class CommonPaletteScope {
public:
    explicit CommonPaletteScope(cEdPalette& palette);
    ~CommonPaletteScope();
    CommonPaletteScope(const CommonPaletteScope&) = delete;
    CommonPaletteScope& operator=(const CommonPaletteScope&) = delete;

private:
    cEdPalette* m_Previous;
};

// Makes a stage stand in for the live stage on this thread, for the guard's
// lifetime.
class StageScope {
public:
    explicit StageScope(cEdStage& stage);
    ~StageScope();
    StageScope(const StageScope&) = delete;
    StageScope& operator=(const StageScope&) = delete;

private:
    cEdStage* m_Previous;
};

// The block, character or item list of a palette kind (1 common, 2 stage);
// null for any other kind.
std::vector<cEdBlock>* PaletteBlockList(int kind);
std::vector<cEdChara>* PaletteCharaList(int kind);
std::vector<cEdItem>* PaletteItemList(int kind);

// The number of entries of such a list; 0 for a kind that names no palette.
std::size_t PaletteBlockCount(int kind);
std::size_t PaletteCharaCount(int kind);
std::size_t PaletteItemCount(int kind);
