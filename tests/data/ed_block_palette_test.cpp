// Blocks and palettes: the block's file layout and upgrade, inheritance from
// palette entries, the repair of references, and the common palette's rules
// (none entry, two entries at least, no flags after loading).

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "data/ed_block.h"
#include "data/ed_palette.h"
#include "file_bytes.h"
#include "record_fields.h"
#include "stage_fixtures.h"
#include "support/temp_dir.h"

namespace {

using test::Field;
using test::FileBytes;

#define BLOCK(m, size, group) RECORD_FIELD(cEdBlock, m, size, 0, group)

const std::vector<Field<cEdBlock>> kBlockFields = {
    BLOCK(nPaletteKind, 1, -1), BLOCK(nPaletteIndex, 2, -1), BLOCK(nCondMode, 1, 1),
    BLOCK(bCondLatch, 1, 1),    BLOCK(nGraphicNo, 2, 2),     BLOCK(nGraphicKind, 1, 2),
    BLOCK(nGraphicFrame, 2, 2), BLOCK(nLayer, 1, 3),         BLOCK(bHidden, 1, 4),
    BLOCK(bOverlay, 1, 5),      BLOCK(nOverlayPiece, 2, 5),  BLOCK(nHitMode, 1, 6),
    BLOCK(nPassGroup, 1, 7),    BLOCK(nEffect, 1, 8),        BLOCK(nEffectValue, 4, 8),
    BLOCK(nItemKind, 1, 9),     BLOCK(nItemIndex, 2, 9),     BLOCK(bNoSummon, 1, 10),
};

// A block body whose member i holds i + 1, named, at (7, -8), with flags and
// one condition.
FileBytes BlockFile(const std::vector<std::uint8_t>& flags)
{
    FileBytes b;
    b.i32(kDataVersion);
    test::PutFields(b, kBlockFields, kDataVersion);
    b.i32(1).str("block").i16(7).i16(-8);
    b.i32(static_cast<std::int32_t>(flags.size()));
    for (std::uint8_t flag : flags)
        b.u8(flag);
    b.i32(1).i32(17);
    for (int i = 0; i < 28; ++i)
        b.u8(i == 0 ? 3 : 0);
    b.i32(0);
    return b;
}

// A block with every member of the table set to 100 + its index, a name and
// a condition: a distinct source for the inheritance.
cEdBlock SourceBlock()
{
    cEdBlock b;
    b.nCondMode = 1;
    b.bCondLatch = 1;
    b.nGraphicNo = 104;
    b.nGraphicKind = 105;
    b.nGraphicFrame = 106;
    b.nLayer = 107;
    b.bHidden = 108;
    b.bOverlay = 109;
    b.nOverlayPiece = 110;
    b.nHitMode = 111;
    b.nPassGroup = 112;
    b.nEffect = 113;
    b.nEffectValue = 114;
    b.nItemKind = 115;
    b.nItemIndex = 116;
    b.bNoSummon = 117;
    b.strName = "source";
    b.Conds.resize(2);
    return b;
}

class BlocksAndPalettes : public test::StageRecordsTest {};

TEST_F(BlocksAndPalettes, BlockMembersLieInFileOrderAndRoundTrip)
{
    g_CommonPalette.PaletteBlocks.resize(3);
    const FileBytes file = BlockFile(std::vector<std::uint8_t>(11, 0));
    cEdBlock block;
    ASSERT_EQ(LoadFileBytes(block, file.bytes()), 1);
    for (std::size_t i = 0; i < kBlockFields.size(); ++i) {
        EXPECT_EQ(kBlockFields[i].get(block), double(i + 1)) << "block member " << i;
    }
    EXPECT_EQ(block.strName, "block");
    EXPECT_EQ(block.nX, 7);
    EXPECT_EQ(block.nY, -8);
    ASSERT_EQ(block.Conds.size(), 1u);
    EXPECT_EQ(block.Conds[0].m_Kind, 3);
    EXPECT_EQ(SaveToBytes(block), file.bytes());
}

TEST_F(BlocksAndPalettes, OlderShotSheetGraphicsMoveUpByOne)
{
    struct Case {
        int version, kind, number, loaded;
    };
    const Case cases[] = {
        {218, 3, 5, 6}, {218, 3, 119, 119}, {218, 3, 118, 119}, {218, 2, 5, 5}, {219, 3, 5, 5},
    };
    for (const Case& c : cases) {
        cEdBlock block;
        block.nGraphicKind = static_cast<std::int8_t>(c.kind);
        block.nGraphicNo = static_cast<std::int16_t>(c.number);
        cEdBlock loaded;
        ASSERT_EQ(LoadFileBytes(loaded, test::SaveAtVersion(block, c.version)), 1);
        EXPECT_EQ(loaded.nGraphicNo, c.loaded) << c.version << " " << c.kind << " " << c.number;
    }
}

TEST_F(BlocksAndPalettes, EachFlagTakesItsGroupFromThePaletteEntry)
{
    g_Stage.PaletteBlocks = {NoneBlock(), SourceBlock()};
    for (int group = 0; group < kBlockInheritGroups; ++group) {
        SCOPED_TRACE(group);
        cEdBlock placed;
        placed.nPaletteKind = 2;
        placed.nPaletteIndex = 1;
        placed.nGraphicNo = 1;
        placed.InheritFlags[static_cast<std::size_t>(group)] = 1;
        const cEdBlock own = placed;
        placed.Inherit();
        const cEdBlock& source = g_Stage.PaletteBlocks[1];
        for (const auto& f : kBlockFields) {
            if (f.group < 0) continue;
            EXPECT_EQ(f.get(placed), f.get(f.group == group ? source : own));
        }
        EXPECT_EQ(placed.strName, group == 0 ? "source" : "");
        EXPECT_EQ(placed.Conds.size(), group == 1 ? 2u : 0u);
    }
}

TEST_F(BlocksAndPalettes, InheritanceNeedsAnEntryInsideItsPalette)
{
    g_CommonPalette.PaletteBlocks = {NoneBlock(), SourceBlock(), SourceBlock()};
    struct Case {
        const char* what;
        int kind, index, flagCount;
        int outKind, hitMode;
    };
    const Case cases[] = {
        {"common palette entry", 1, 2, 11, 1, 111},
        {"index 0 names none", 1, 0, 11, 1, 9},
        {"kind 0 names none", 0, 1, 11, 0, 9},
        {"index beyond the palette", 1, 3, 11, 0, 9},
        {"negative index", 1, -1, 11, 0, 9},
        {"beyond the live stage's palette", 2, 1, 11, 0, 9},
        {"another kind copies from itself", 3, 1, 11, 3, 9},
        {"flags beyond the copiers are ignored", 1, 1, 40, 1, 111},
        {"a short flag list copies what it has", 1, 1, 7, 1, 111},
        {"a shorter one misses the hit mode", 1, 1, 6, 1, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cEdBlock block;
        block.nPaletteKind = static_cast<std::int8_t>(c.kind);
        block.nPaletteIndex = static_cast<std::int16_t>(c.index);
        block.InheritFlags.assign(static_cast<std::size_t>(c.flagCount), 1);
        block.nHitMode = 9;
        block.Inherit();
        EXPECT_EQ(block.nPaletteKind, c.outKind);
        EXPECT_EQ(block.nHitMode, c.hitMode);
    }
}

TEST_F(BlocksAndPalettes, ValidationRepairsReferencesAndEmptyBlocks)
{
    g_CommonPalette.PaletteBlocks.resize(3);
    g_CommonPalette.PaletteItems.resize(4);
    struct Case {
        int kind, index, itemKind, itemIndex, graphic;
        int outKind, outIndex, outItemKind, outItemIndex, hitMode, noSummon;
    };
    const Case cases[] = {
        {1, 2, 1, 3, 5, 1, 2, 1, 3, 1, 1}, {1, 3, 1, 4, 5, 0, 0, 0, 0, 1, 1},
        {2, 1, 2, 1, 5, 0, 0, 0, 0, 1, 1}, {2, 0, 2, 0, 5, 2, 0, 2, 0, 1, 1},
        {4, 9, 4, 9, 5, 4, 9, 4, 9, 1, 1}, {1, -2, 1, -2, 5, 0, 0, 0, 0, 1, 1},
        {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        cEdBlock block;
        block.nPaletteKind = static_cast<std::int8_t>(c.kind);
        block.nPaletteIndex = static_cast<std::int16_t>(c.index);
        block.nItemKind = static_cast<std::int8_t>(c.itemKind);
        block.nItemIndex = static_cast<std::int16_t>(c.itemIndex);
        block.nGraphicNo = static_cast<std::int16_t>(c.graphic);
        block.bNoSummon = 1;
        block.Validate();
        block.ValidateItem();
        EXPECT_EQ(block.nPaletteKind, c.outKind);
        EXPECT_EQ(block.nPaletteIndex, c.outIndex);
        EXPECT_EQ(block.nItemKind, c.outItemKind);
        EXPECT_EQ(block.nItemIndex, c.outItemIndex);
        EXPECT_EQ(block.nHitMode, c.hitMode);
        EXPECT_EQ(block.bNoSummon, c.noSummon);
    }
}

TEST_F(BlocksAndPalettes, NoneEntryIsSolidWithoutFlagsOrPassGroup)
{
    cEdBlock block = SourceBlock();
    block.SetNone();
    EXPECT_EQ(block.nHitMode, 1);
    EXPECT_EQ(block.nPassGroup, -1);
    EXPECT_EQ(block.nGraphicNo, 0);
    EXPECT_EQ(block.nEffectValue, 0);
    EXPECT_EQ(block.strName, "");
    EXPECT_EQ(block.InheritFlags, std::vector<std::uint8_t>(11, 0));
    const cEdBlock fresh;
    EXPECT_EQ(fresh.nHitMode, 1);
    EXPECT_EQ(fresh.nPassGroup, -1);
}

TEST_F(BlocksAndPalettes, EmptyCommonPaletteGetsTwoNoneEntriesPerList)
{
    FileBytes file;
    file.i32(kDataVersion).i32(0).i32(0).i32(0).i32(0).i32(0);
    cEdPalette palette;
    ASSERT_EQ(LoadFileBytes(palette, file.bytes()), 1);
    ASSERT_EQ(palette.PaletteBlocks.size(), 2u);
    ASSERT_EQ(palette.PaletteCharas.size(), 2u);
    ASSERT_EQ(palette.PaletteItems.size(), 2u);
    // The none block has graphic 0, so it collides with nothing once validated.
    EXPECT_EQ(palette.PaletteBlocks[0].nHitMode, 0);
    EXPECT_EQ(palette.PaletteBlocks[1].nPassGroup, -1);
    EXPECT_EQ(palette.PaletteCharas[1].nOperator, 1);
    EXPECT_EQ(palette.PaletteItems[1].nGraphicKind, 2);
}

TEST_F(BlocksAndPalettes, CommonPaletteEntriesInheritAsTheyAreReadAndKeepNoFlags)
{
    cEdPalette written;
    written.PaletteBlocks.assign(4, SourceBlock());
    // Entry 0 holds something in the file; it loads as the none entry.
    written.PaletteBlocks[0].strName = "junk";
    written.PaletteBlocks[1].nLayer = 1;
    written.PaletteBlocks[1].nHitMode = 2;
    // Entry 2 takes its layer from entry 1, read before it.
    written.PaletteBlocks[2].nPaletteKind = 1;
    written.PaletteBlocks[2].nPaletteIndex = 1;
    written.PaletteBlocks[2].InheritFlags[3] = 1;
    // Entry 1 names entry 3, not yet read: it takes a none block's hit mode.
    written.PaletteBlocks[1].nPaletteKind = 1;
    written.PaletteBlocks[1].nPaletteIndex = 3;
    written.PaletteBlocks[1].InheritFlags[6] = 1;
    written.PaletteCharas.resize(3);
    written.PaletteItems.resize(3);
    // References to the stage's palette meet a new stage's single entries.
    written.PaletteItems[2].nPaletteKind = 2;
    written.PaletteItems[2].nPaletteIndex = 1;

    // Written while the live stage's palette holds the item it names.
    g_Stage.PaletteItems.resize(3);
    const auto file = SaveToBytes(written);
    g_Stage = cEdStage();

    cEdPalette palette;
    ASSERT_EQ(LoadFileBytes(palette, file), 1);
    ASSERT_EQ(palette.PaletteBlocks.size(), 4u);
    EXPECT_EQ(palette.PaletteBlocks[0].strName, "");
    EXPECT_EQ(palette.PaletteBlocks[0].nHitMode, 0);
    EXPECT_EQ(palette.PaletteBlocks[1].nHitMode, 1);
    EXPECT_EQ(palette.PaletteBlocks[1].nPaletteKind, 1);
    EXPECT_EQ(palette.PaletteBlocks[2].nLayer, 1);
    for (const cEdBlock& b : palette.PaletteBlocks) {
        EXPECT_EQ(b.InheritFlags, std::vector<std::uint8_t>(11, 0));
    }
    // The inheritance drops a reference it cannot follow: the kind goes.
    EXPECT_EQ(palette.PaletteItems[2].nPaletteKind, 0);

    // What was loaded saves and loads to the same bytes.
    const auto bytes = SaveToBytes(palette);
    cEdPalette again;
    ASSERT_EQ(LoadFileBytes(again, bytes), 1);
    EXPECT_EQ(SaveToBytes(again), bytes);
}

TEST_F(BlocksAndPalettes, MissingOrDamagedCommonPaletteLeavesTheLiveOneAlone)
{
    g_CommonPalette.PaletteBlocks.assign(3, SourceBlock());
    cEdPalette written;
    written.PaletteBlocks.resize(5);
    auto bytes = SaveToBytes(written);

    test::TempDir dir;
    test::ScopedCurrentDir cwd(dir.path());
    EXPECT_EQ(LoadFile(g_CommonPalette, "data\\CommonPalette.cplt4"), 0);
    bytes.resize(bytes.size() - 3);
    EXPECT_EQ(LoadFileBytes(g_CommonPalette, bytes), 0);
    ASSERT_EQ(g_CommonPalette.PaletteBlocks.size(), 3u);
    EXPECT_EQ(g_CommonPalette.PaletteBlocks[1].strName, "source");

    ASSERT_EQ(written.SaveFile("CommonPalette.cplt4"), 1);
    EXPECT_EQ(LoadFile(g_CommonPalette, "commonpalette.CPLT4"), 1);
    EXPECT_EQ(g_CommonPalette.PaletteBlocks.size(), 5u);
}

} // namespace
