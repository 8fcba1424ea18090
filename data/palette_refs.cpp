#include "data/palette_refs.h"

#include "data/ed_palette.h"
#include "data/ed_stage.h"

namespace {

thread_local cEdPalette* t_CommonPalette = nullptr;
thread_local cEdStage* t_Stage = nullptr;

} // namespace

cEdPalette& UsedCommonPalette()
{
    return t_CommonPalette ? *t_CommonPalette : g_CommonPalette;
}

cEdStage& UsedStage()
{
    return t_Stage ? *t_Stage : g_Stage;
}

CommonPaletteScope::CommonPaletteScope(cEdPalette& palette) : m_Previous(t_CommonPalette)
{
    t_CommonPalette = &palette;
}

CommonPaletteScope::~CommonPaletteScope()
{
    t_CommonPalette = m_Previous;
}

StageScope::StageScope(cEdStage& stage) : m_Previous(t_Stage)
{
    t_Stage = &stage;
}

StageScope::~StageScope()
{
    t_Stage = m_Previous;
}

std::vector<cEdBlock>* PaletteBlockList(int kind)
{
    if (kind == 1) return &UsedCommonPalette().PaletteBlocks;
    if (kind == 2) return &UsedStage().PaletteBlocks;
    return nullptr;
}

std::vector<cEdChara>* PaletteCharaList(int kind)
{
    if (kind == 1) return &UsedCommonPalette().PaletteCharas;
    if (kind == 2) return &UsedStage().PaletteCharas;
    return nullptr;
}

std::vector<cEdItem>* PaletteItemList(int kind)
{
    if (kind == 1) return &UsedCommonPalette().PaletteItems;
    if (kind == 2) return &UsedStage().PaletteItems;
    return nullptr;
}

std::size_t PaletteBlockCount(int kind)
{
    const auto* list = PaletteBlockList(kind);
    return list ? list->size() : 0;
}

std::size_t PaletteCharaCount(int kind)
{
    const auto* list = PaletteCharaList(kind);
    return list ? list->size() : 0;
}

std::size_t PaletteItemCount(int kind)
{
    const auto* list = PaletteItemList(kind);
    return list ? list->size() : 0;
}
