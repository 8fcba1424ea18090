#include "data/palette_refs.h"

#include "data/ed_palette.h"
#include "data/ed_stage.h"

namespace {

thread_local cEdPalette* t_CommonPalette = nullptr;
thread_local cEdStage* t_Stage = nullptr;
thread_local PendingPaletteList t_Pending;

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

const PendingPaletteList& PendingList()
{
    return t_Pending;
}

PendingListScope::PendingListScope(const void* list, std::size_t announced,
                                   const void* defaultEntry)
    : m_Previous(t_Pending)
{
    t_Pending = PendingPaletteList{list, announced, defaultEntry};
}

PendingListScope::~PendingListScope()
{
    t_Pending = m_Previous;
}

template <> std::vector<cEdBlock>* PaletteList<cEdBlock>(int kind)
{
    if (kind == 1) return &UsedCommonPalette().PaletteBlocks;
    if (kind == 2) return &UsedStage().PaletteBlocks;
    return nullptr;
}

template <> std::vector<cEdChara>* PaletteList<cEdChara>(int kind)
{
    if (kind == 1) return &UsedCommonPalette().PaletteCharas;
    if (kind == 2) return &UsedStage().PaletteCharas;
    return nullptr;
}

template <> std::vector<cEdItem>* PaletteList<cEdItem>(int kind)
{
    if (kind == 1) return &UsedCommonPalette().PaletteItems;
    if (kind == 2) return &UsedStage().PaletteItems;
    return nullptr;
}
