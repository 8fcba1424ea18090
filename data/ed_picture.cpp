#include "data/ed_picture.h"

void cEdPicture::RegisterMembers(int version)
{
    ClearMemberTables();
    AddString(&m_Name, 1);
    if (version >= 151) AddField4(&m_ToolValue, 1);
    AddString(&m_FileName, 1);
}

void cEdPicture::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    if (g_FileVersion < 153) m_ToolValue = 0;
}

void cEdBmpCharaExc::RegisterMembers(int version)
{
    ClearMemberTables();
    AddString(&m_Name, 1);
    if (version >= 152) AddField4(&m_ToolValue, 1);
    AddString(&m_FileName, 1);
    if (version >= 172) {
        AddField4(&m_Large, 1);
        AddField4(&m_SizeFactor, 1);
    }
}

void cEdBmpCharaExc::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    if (g_FileVersion < 153) m_ToolValue = 0;
}

int cEdBmpCharaExc::CellFactor() const
{
    if (m_Large == 0) return 1;
    switch (m_SizeFactor) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
        return m_SizeFactor;
    default:
        return 1;
    }
}
