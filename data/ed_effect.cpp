#include "data/ed_effect.h"

#include "data/effect_param_info.h"

void cEdEffectFrame::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&m_PictureNo, 1);
    AddField4(&m_Time, 1);
}

void cEdEffect::RegisterMembers(int version)
{
    ClearMemberTables();
    AddString(&m_Name, 1);
    if (version >= 151) AddField4(&m_ToolValue, 1);
    AddString(&m_FileName, 1);
    AddField4(&m_CellWidth, 1);
    AddField4(&m_CellHeight, 1);
    AddField4(&m_Scalable, 1);
}

void cEdEffect::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    LoadVector(m_Frames, f, cEdEffectFrame{});
    if (g_FileVersion < 153) m_ToolValue = 0;
}

void cEdEffect::Save(ByteWriter& f)
{
    cEdData::Save(f);
    SaveVector(m_Frames, f);
}

void cEdEffect::SetDefaults()
{
    Clear();
    m_Scalable = 0;
    m_CellWidth = 32;
    m_CellHeight = 32;
}

void cEdCharaEffect::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddString(&m_Name, 1);
    AddField4(&m_Kind, 1);
    AddField4(m_Param, 5);
}

void cEdCharaEffect::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    if (g_FileVersion >= kDataVersion) return;
    if (m_Kind == 4 || m_Kind == 5) m_Param[4] = g_CharaEffectParamInfo[m_Kind][4].m_Default;
    if (m_Kind == 10) m_Param[3] = g_CharaEffectParamInfo[10][3].m_Default;
}

void cEdScrEffect::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    if (g_FileVersion >= kDataVersion) return;
    if (m_Kind == 6 || m_Kind == 7) m_Param[4] = g_ScrEffectParamInfo[m_Kind][4].m_Default;
    if (m_Kind == 10) m_Param[3] = g_ScrEffectParamInfo[10][3].m_Default;
}
