// Writes the seed corpus of the stage fuzz target into the folder given on
// the command line: stage files and common palettes as the records' own save
// code writes them, at the current version and as writers of older versions
// wrote them, so that every upgrade path is reached.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/ed_palette.h"
#include "data/ed_stage.h"
#include "seed_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kStageKind = 0;
constexpr int kPaletteKind = 1;

// The file image of a record as a writer of the given version wrote it.
Bytes saveAtVersion(cEdData& record, int version)
{
    g_DataVersion = version;
    Bytes bytes = SaveToBytes(record);
    g_DataVersion = kDataVersion;
    return bytes;
}

cEdFlow sampleFlow()
{
    cEdFlow flow;
    flow.m_Trigger = 12;
    flow.m_Group = 2;
    flow.m_TestOnly = 0;
    flow.m_Conds.resize(1);
    flow.m_Conds[0].m_Kind = 4;
    flow.m_Conds[0].m_Item = 12;
    flow.m_KeyConds.resize(1);
    cEdCommand shot;
    shot.m_Kind = 11;
    MakeShotPart(shot.m_Shot);
    shot.m_Shot->m_MoveKind = 5;
    shot.m_Shot->m_ItemPalette = 2;
    shot.m_Shot->m_ItemIndex = 1;
    cEdCommand move;
    move.m_Kind = 2;
    MakeMovePart(move.m_Move);
    cEdCommand status;
    status.m_Kind = 22;
    status.m_Params.assign(18, 12);
    cEdCommand sword;
    sword.m_Kind = 12;
    MakeShotPart(sword.m_Shot);
    flow.m_Commands = {shot, move, status, sword};
    return flow;
}

cEdStage sampleStage()
{
    cEdStage s;
    s.nWidth = 30;
    s.nHeight = 20;
    s.nSpeedLevel = 12;
    s.ResultFlags = {1, 1, 1};
    s.strStageText = "seed";

    s.PaletteBlocks.resize(3, NoneBlock());
    s.PaletteBlocks[1].nGraphicNo = 4;
    s.PaletteBlocks[1].nGraphicKind = 3;
    s.PaletteBlocks[2].nPaletteKind = 2;
    s.PaletteBlocks[2].nPaletteIndex = 1;
    s.PaletteBlocks[2].InheritFlags.assign(11, 1);
    s.PaletteCharas.resize(3, NoneChara());
    s.PaletteCharas[1].nGraphicNo = 1;
    s.PaletteCharas[1].nOperator = 0;
    s.PaletteCharas[1].Flows = {sampleFlow()};
    s.PaletteCharas[2].nPaletteKind = 2;
    s.PaletteCharas[2].nPaletteIndex = 1;
    s.PaletteCharas[2].InheritFlags[36] = 1;
    s.PaletteItems.resize(2, NoneItem());
    s.PaletteItems[1].nGraphicNo = 2;
    cEdCommand change;
    change.m_ListKind = 1;
    change.m_Kind = 1;
    change.m_Flows = {sampleFlow()};
    s.PaletteItems[1].Commands = {change};

    for (int i = 0; i < 6; ++i) {
        cEdBlock block = NoneBlock();
        block.nX = static_cast<std::int16_t>(i);
        block.nY = 5;
        block.nPaletteKind = 2;
        block.nPaletteIndex = static_cast<std::int16_t>(1 + i % 2);
        block.InheritFlags.assign(11, 1);
        s.PlacedBlocks.push_back(block);
    }
    cEdChara hero = NoneChara();
    hero.nPaletteKind = 2;
    hero.nPaletteIndex = 1;
    hero.InheritFlags.assign(37, 1);
    s.PlacedCharas = {hero, s.PaletteCharas[2]};
    cEdItem item = NoneItem();
    item.nPaletteKind = 2;
    item.nPaletteIndex = 1;
    item.InheritFlags.assign(13, 1);
    s.PlacedItems = {item};
    s.Layers.resize(2);
    s.Layers[1].SetDefaults();
    s.Layers[1].strPicture = "bg.bmp";
    s.TextItems.resize(1);
    s.TextItems[0].strText = "text";
    return s;
}

cEdPalette samplePalette()
{
    cEdPalette p;
    p.PaletteBlocks.resize(3, NoneBlock());
    p.PaletteBlocks[1].nGraphicNo = 7;
    p.PaletteBlocks[2].nPaletteKind = 1;
    p.PaletteBlocks[2].nPaletteIndex = 1;
    p.PaletteBlocks[2].InheritFlags[2] = 1;
    p.PaletteCharas.resize(2, NoneChara());
    p.PaletteCharas[1].Flows = {sampleFlow()};
    p.PaletteItems.resize(2, NoneItem());
    p.PaletteItems[1].Commands.resize(1);
    p.PaletteItems[1].Commands[0].m_ListKind = 1;
    p.PaletteItems[1].Commands[0].m_Kind = 9;
    return p;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    const std::filesystem::path dir = argv[1];
    bool ok = true;

    cEdStage empty;
    ok = WriteSeed(dir, "stage_new", kStageKind, SaveToBytes(empty)) && ok;
    for (int version :
         {511, 300, 225, 219, 212, 200, 196, 181, 174, 173, 172, 160, 154, 124, 100, 60}) {
        cEdStage stage = sampleStage();
        Bytes bytes = saveAtVersion(stage, version);
        // Writers before version 173 put no end code at the end.
        if (version < 173) bytes.resize(bytes.size() - 4);
        ok = WriteSeed(dir, "stage_v" + std::to_string(version), kStageKind, bytes) && ok;
    }

    cEdPalette palette;
    ok = WriteSeed(dir, "palette_new", kPaletteKind, SaveToBytes(palette)) && ok;
    for (int version : {511, 218, 150}) {
        cEdPalette filled = samplePalette();
        ok = WriteSeed(dir, "palette_v" + std::to_string(version), kPaletteKind,
                       saveAtVersion(filled, version)) &&
             ok;
    }
    return ok ? 0 : 1;
}
