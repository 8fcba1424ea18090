#include "data/ed_sword_type.h"

void cEdSwordPart::RegisterMembers(int version)
{
    ClearMemberTables();
    AddField4(&m_Setting[0], 1);
    AddField4(&m_Setting[1], 1);
    if (version >= 138) {
        AddField4(&m_Setting[2], 1);
        AddField4(&m_Setting[3], 1);
    }
    for (int i = 4; i < 10; ++i)
        AddField4(&m_Setting[i], 1);
}

cEdSwordType::cEdSwordType()
{
    m_Parts.emplace_back();
    m_Parts[0].m_Setting[9] = 1;
}

void cEdSwordType::RegisterMembers(int version)
{
    ClearMemberTables();
    AddString(&m_Name, 1);
    if (version >= 151) AddField4(&m_ToolValue, 1);
    AddString(&m_FileName1, 1);
    AddString(&m_FileName2, 1);
}

void cEdSwordType::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    LoadVector(m_Parts, f, cEdSwordPart{});
    if (g_FileVersion < 153) m_ToolValue = 0;
}

void cEdSwordType::Save(ByteWriter& f)
{
    cEdData::Save(f);
    SaveVector(m_Parts, f);
}

void cEdSwordType::SetDefaults()
{
    Clear();
    m_Parts.resize(1);
    m_Parts[0].m_Setting[9] = 1;
}
