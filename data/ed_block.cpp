#include "data/ed_block.h"

#include "data/ed_item.h"
#include "data/palette_refs.h"
#include "data/placed_record.h"

namespace {

using BlockCopier = InheritCopier<cEdBlock>;

// The copiers of the inheritance groups, indexed by flag number.
const BlockCopier g_BlockInheritProc[kBlockInheritGroups] = {
    CopyName<cEdBlock>,
    CopyConds<cEdBlock>,
    CopyGraphic<cEdBlock>,
    [](cEdBlock& d, const cEdBlock& s) { d.nLayer = s.nLayer; },
    [](cEdBlock& d, const cEdBlock& s) { d.bHidden = s.bHidden; },
    CopyOverlay<cEdBlock>,
    [](cEdBlock& d, const cEdBlock& s) { d.nHitMode = s.nHitMode; },
    [](cEdBlock& d, const cEdBlock& s) { d.nPassGroup = s.nPassGroup; },
    [](cEdBlock& d, const cEdBlock& s) {
        d.nEffect = s.nEffect;
        d.nEffectValue = s.nEffectValue;
    },
    [](cEdBlock& d, const cEdBlock& s) {
        d.nItemKind = s.nItemKind;
        d.nItemIndex = s.nItemIndex;
    },
    [](cEdBlock& d, const cEdBlock& s) { d.bNoSummon = s.bNoSummon; },
};

} // namespace

void cEdBlock::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField1(&nPaletteKind, 1);
    AddField2(&nPaletteIndex, 1);
    AddField1(&nCondMode, 1);
    AddField1(&bCondLatch, 1);
    AddField2(&nGraphicNo, 1);
    AddField1(&nGraphicKind, 1);
    AddField2(&nGraphicFrame, 1);
    AddField1(&nLayer, 1);
    AddField1(&bHidden, 1);
    AddField1(&bOverlay, 1);
    AddField2(&nOverlayPiece, 1);
    AddField1(&nHitMode, 1);
    AddField1(&nPassGroup, 1);
    AddField1(&nEffect, 1);
    AddField4(&nEffectValue, 1);
    AddField1(&nItemKind, 1);
    AddField2(&nItemIndex, 1);
    AddField1(&bNoSummon, 1);
    AddString(&strName, 1);
}

void cEdBlock::Load(plat::ByteReader& f)
{
    LoadPlacement(*this, f);
    LoadInheritance(*this, f);
    MoveOldShotGraphic(*this);
    Inherit();
    Validate();
}

void cEdBlock::Save(ByteWriter& f)
{
    Validate();
    SavePlacement(*this, f);
    SaveInheritance(*this, f);
}

void cEdBlock::Inherit()
{
    InheritFromPalette(*this, g_BlockInheritProc);
}

void cEdBlock::Validate()
{
    CheckPaletteRef<cEdBlock>(nPaletteKind, nPaletteIndex);
    if (nGraphicNo == 0) {
        nHitMode = 0;
        bNoSummon = 0;
    }
}

void cEdBlock::ValidateItem()
{
    CheckPaletteRef<cEdItem>(nItemKind, nItemIndex);
}

void cEdBlock::SetNone()
{
    Clear();
    nHitMode = 1;
    InheritFlags.assign(kBlockInheritGroups, 0);
    nPassGroup = -1;
    nGraphicNo = 0;
}
