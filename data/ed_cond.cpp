#include "data/ed_cond.h"

void cEdCond::RegisterMembers(int version)
{
    ClearMemberTables();
    if (version >= 110) {
        AddField1(&m_Kind, 1);
        AddField4(&m_Value, 1);
        AddField4(&m_RandMin, 1);
        AddField4(&m_RandMax, 1);
        AddField1(&m_Owner, 1);
        AddField1(&m_Item, 1);
        AddField1(&m_LeftKind, 1);
        AddField1(&m_VarScope, 1);
        AddField2(&m_Index, 1);
        AddField1(&m_RightKind, 1);
        AddField1(&m_RightOwner, 1);
        AddField1(&m_RightItem, 1);
        AddField1(&m_RightScope, 1);
        AddField2(&m_RightIndex, 1);
        AddField1(&m_Op, 1);
        AddField1(&m_Percent, 1);
        AddField1(&m_Shape, 1);
    } else {
        AddField1(&m_Kind, 1);
        AddField4(&m_Value, 1);
        AddField2(&m_OldBlocks[0], 1);
        AddField2(&m_OldBlocks[1], 1);
        AddField1(&m_Op, 1);
        if (version >= 43) AddField1(&m_Percent, 1);
        AddField1(&m_Shape, 1);
    }
}

void cEdCond::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    const int v = g_FileVersion;
    if (v >= kDataVersion) return;

    // Kinds 5 and 6 were inserted before the state and distance kinds.
    if (v < 160 && m_Kind >= 5) m_Kind = static_cast<std::uint8_t>(m_Kind + 2);
    // The sense of the on-a-block state was inverted.
    if (v < 161 && m_Kind == 6 && m_Item == 2) m_Op ^= 1;
    // Statuses were inserted into the status list: at 10, then at 5. The
    // status commands shift the same way, so both keep naming one status.
    auto shiftStatuses = [this](int threshold) {
        if (m_LeftKind == 0 && m_Owner != 2 && m_Item >= threshold) ++m_Item;
        if (m_RightKind == 2 && m_RightOwner != 2 && m_RightItem >= threshold) ++m_RightItem;
    };
    if (v < 168 && m_Kind == 4) shiftStatuses(10);
    if (v < 203 && m_Kind == 4) shiftStatuses(5);
    // A switch value was inserted at 6.
    if (v < 210 && m_Kind == 5 && m_Owner != 2 && m_Item >= 6) ++m_Item;
}

void LoadCondList(std::vector<cEdCond>& list, plat::ByteReader& f)
{
    LoadVector(list, f);
}

void AssignCondList(std::vector<cEdCond>& dst, const std::vector<cEdCond>& src)
{
    dst = src;
}
