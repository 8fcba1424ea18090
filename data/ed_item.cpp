#include "data/ed_item.h"

#include "data/ed_database.h"
#include "data/load_checks.h"
#include "data/palette_refs.h"
#include "data/placed_record.h"

namespace {

using ItemCopier = InheritCopier<cEdItem>;

// The copiers of the inheritance groups, indexed by flag number.
const ItemCopier g_ItemInheritProc[kItemInheritGroups] = {
    CopyName<cEdItem>,
    CopyConds<cEdItem>,
    [](cEdItem& d, const cEdItem& s) { d.nItemOption1 = s.nItemOption1; },
    [](cEdItem& d, const cEdItem& s) { d.nItemOption2 = s.nItemOption2; },
    CopyGraphic<cEdItem>,
    [](cEdItem& d, const cEdItem& s) { d.nItemOption3 = s.nItemOption3; },
    [](cEdItem& d, const cEdItem& s) { d.bHidden = s.bHidden; },
    CopyOverlay<cEdItem>,
    [](cEdItem& d, const cEdItem& s) { d.nSize = s.nSize; },
    [](cEdItem& d, const cEdItem& s) { d.nTakeMode = s.nTakeMode; },
    [](cEdItem& d, const cEdItem& s) { d.bShowGraphic = s.bShowGraphic; },
    [](cEdItem& d, const cEdItem& s) { d.nSound = s.nSound; },
    [](cEdItem& d, const cEdItem& s) { AssignCommandList(d.Commands, s.Commands); },
};

} // namespace

void cEdItem::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField1(&nPaletteKind, 1);
    AddField2(&nPaletteIndex, 1);
    AddString(&strName, 1);
    AddField1(&nCondMode, 1);
    AddField1(&bCondLatch, 1);
    AddField2(&nItemOption1, 1);
    AddField2(&nItemOption2, 1);
    AddField2(&nGraphicNo, 1);
    AddField1(&nGraphicKind, 1);
    AddField2(&nGraphicFrame, 1);
    AddField1(&nItemOption3, 1);
    AddField1(&bHidden, 1);
    AddField1(&bOverlay, 1);
    AddField2(&nOverlayPiece, 1);
    AddField1(&bShowGraphic, 1);
    AddField1(&nTakeMode, 1);
    AddField1(&nSize, 1);
    AddField2(&nSound, 1);
}

void cEdItem::Load(plat::ByteReader& f)
{
    LoadPlacement(*this, f);
    LoadInheritance(*this, f);
    LoadCommandList(Commands, f);
    MoveOldShotGraphic(*this);
    InheritItem();
    Validate();
}

void cEdItem::Save(ByteWriter& f)
{
    Validate();
    SavePlacement(*this, f);
    SaveInheritance(*this, f);
    SaveVector(Commands, f);
}

void cEdItem::Clear()
{
    cEdData::Clear();
    InheritFlags.assign(kItemInheritGroups, 0);
    nGraphicKind = 2;
    nGraphicNo = 0;
    bShowGraphic = 1;
    nSize = 1;
    nItemOption3 = 6;
}

void cEdItem::InheritItem()
{
    InheritFromPalette(*this, g_ItemInheritProc);
}

void cEdItem::Validate()
{
    CheckPaletteRef<cEdItem>(nPaletteKind, nPaletteIndex);
    if (static_cast<std::int8_t>(nSize) <= 0) nSize = 1;
    if (OutsideTable(nSound, g_Database.Sound.size())) nSound = 0;
    for (cEdCommand& command : Commands)
        command.CheckParams();
}

void cEdItem::ValidateCommands()
{
    for (cEdCommand& command : Commands)
        command.CheckRefs();
}

cEdItem* GetItemDef(int kind, int index)
{
    auto* list = PaletteList<cEdItem>(kind);
    if (!list || OutsideTable(index, list->size())) return nullptr;
    return &(*list)[static_cast<std::size_t>(index)];
}
