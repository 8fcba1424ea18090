// Item objects: set-up from a definition, placement and scaling.

#include "world/item_obj.h"

#include <memory>

#include "data/ed_stage.h"
#include "world/running_stage.h"

namespace {

// The item's frame sequence: its two frames in turn.
const FrameSeqTable& ItemAnimeTable()
{
    static const FrameSeqTable table = std::make_shared<const std::vector<FrameSeq>>(
        std::vector<FrameSeq>{{{0, 8, 0}, {1, 8, 0}, {-2, 0, 0}}});
    return table;
}

// The scale of an item definition, at least 1.
int ItemScale(const cEdItem& def)
{
    return def.nSize >= 1 ? def.nSize : 1;
}

} // namespace

cItemObj::cItemObj() = default;
cItemObj::~cItemObj() = default;

// An item has no hit boxes beyond its body box.
int cItemObj::ScaleHitBox(int scale)
{
    return scale;
}

void cItemObj::UpdateHitBoxX()
{
}
void cItemObj::UpdateHitBoxY()
{
}

void cItemObj::AdjustPosOnScale(int newScale, int oldScale)
{
    if (newScale == oldScale) return;
    m_Y -= static_cast<double>(newScale - oldScale) * (m_Height0 + m_PicOffY0);
    UpdateEdgeY(2);
}

void cItemObj::SetupItem(int number, const cEdItem& def, int carried)
{
    if (&def != &m_Def) m_Def = def;
    const int w = g_Stage.nItemBoxW;
    const int h = g_Stage.nItemBoxH;
    SetupObj(number, 0, 0, 0, m_Def.nGraphicNo, ItemAnimeTable(), 0, 16 - (w >> 1), 16 - (h >> 1),
             w, h, 32, 32, 0, 1, 0);
    m_ScrollFollow = 0;
    m_Carried = carried;
    m_Latch = 0;
    if (carried)
        m_Present = 1;
    else
        SetScale(ItemScale(m_Def), 1);
}

void cItemObj::PlaceAtCell(int column, int row)
{
    PlaceAtCellBase(column, row, ItemScale(m_Def));
    UpdateEdgeX(2);
    UpdateEdgeY(2);
}
