#include "data/ed_palette.h"

#include "core/report.h"
#include "core/sjis_text.h"
#include "data/palette_refs.h"

cEdPalette g_CommonPalette;

cEdBlock NoneBlock()
{
    cEdBlock block;
    block.SetNone();
    return block;
}

cEdChara NoneChara()
{
    cEdChara chara;
    chara.Clear();
    return chara;
}

cEdItem NoneItem()
{
    cEdItem item;
    item.Clear();
    return item;
}

void ResetNoneEntries(std::vector<cEdBlock>& blocks, std::vector<cEdChara>& charas,
                      std::vector<cEdItem>& items)
{
    if (!blocks.empty()) blocks[0] = NoneBlock();
    if (!charas.empty()) charas[0] = NoneChara();
    if (!items.empty()) items[0] = NoneItem();
}

void FillPaletteLists(std::vector<cEdBlock>& blocks, std::vector<cEdChara>& charas,
                      std::vector<cEdItem>& items)
{
    if (blocks.size() < 2) blocks.resize(2, NoneBlock());
    if (charas.size() < 2) charas.resize(2, NoneChara());
    if (items.size() < 2) items.resize(2, NoneItem());
}

void LoadPaletteLists(std::vector<cEdBlock>& blocks, std::vector<cEdChara>& charas,
                      std::vector<cEdItem>& items, plat::ByteReader& f)
{
    LoadPaletteList(blocks, f, NoneBlock());
    LoadPaletteList(charas, f, NoneChara());
    LoadPaletteList(items, f, NoneItem());
}

void ValidatePaletteLists(std::vector<cEdBlock>& blocks, std::vector<cEdChara>& charas,
                          std::vector<cEdItem>& items)
{
    for (cEdBlock& block : blocks) {
        block.Validate();
        block.ValidateItem();
    }
    for (cEdChara& chara : charas) {
        chara.CheckAfterLoad();
        chara.CheckRefs();
    }
    for (cEdItem& item : items) {
        item.Validate();
        item.ValidateCommands();
    }
}

void cEdPalette::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
}

void cEdPalette::Load(plat::ByteReader& f)
{
    CommonPaletteScope scope(*this);
    cEdData::Load(f);
    LoadPaletteLists(PaletteBlocks, PaletteCharas, PaletteItems, f);
    ResetNoneEntries(PaletteBlocks, PaletteCharas, PaletteItems);
    // What the entries inherit has been taken over: nothing is inherited again.
    for (cEdBlock& block : PaletteBlocks)
        block.InheritFlags.assign(block.InheritFlags.size(), 0);
    for (cEdChara& chara : PaletteCharas)
        chara.InheritFlags.assign(chara.InheritFlags.size(), 0);
    for (cEdItem& item : PaletteItems)
        item.InheritFlags.assign(item.InheritFlags.size(), 0);
    Check();
}

void cEdPalette::Save(ByteWriter& f)
{
    CommonPaletteScope scope(*this);
    Check();
    cEdData::Save(f);
    SaveVector(PaletteBlocks, f);
    SaveVector(PaletteCharas, f);
    SaveVector(PaletteItems, f);
}

void cEdPalette::Check()
{
    CommonPaletteScope scope(*this);
    FillPaletteLists(PaletteBlocks, PaletteCharas, PaletteItems);
    ValidatePaletteLists(PaletteBlocks, PaletteCharas, PaletteItems);
}

int LoadCommonPaletteAtStartUp(const char* path)
{
    if (!LoadFile(g_CommonPalette, path)) {
        ReportBox(Sjis("%s のロードに失敗！"), path);
        return 0;
    }
    return 1;
}
