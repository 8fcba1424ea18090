#include "data/ed_key_cond.h"

void cEdKeyCond::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField1(&m_Relative, 1);
    AddField2(&m_HoldMin, 1);
    AddField2(&m_HoldMax, 1);
    AddField1(&m_HoldAny, 1);
    AddField1(&m_Mode, 1);
}

void cEdKeyCond::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    LoadValues(m_KeyStates, f);
}

void cEdKeyCond::Save(ByteWriter& f)
{
    cEdData::Save(f);
    SaveValues(m_KeyStates, f);
}

void cEdKeyCond::Reset()
{
    Clear();
    m_KeyStates.resize(kKeySlotCount, 0);
}

void LoadKeyCondList(std::vector<cEdKeyCond>& list, plat::ByteReader& f)
{
    cEdKeyCond defaultElement;
    defaultElement.Reset();
    LoadVector(list, f, defaultElement);
}

int DirectionCode(int dir, int facing)
{
    static constexpr int kCodes[9] = {0, 2, 3, 6, 7, 8, 9, 10, 11};
    if (dir < 1 || dir > 8) return facing == 0 ? 2 : 3;
    return kCodes[dir];
}
