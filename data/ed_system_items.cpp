#include "data/ed_system_items.h"

void cEdStatusItem::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&bShow, 1);
    AddField4(&bIcon, 1);
    AddField4(&bGaugeNumber, 1);
    AddField4(&nDigits, 1);
    AddString(&strLabel, 1);
}

void cEdStatusItem::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    if (g_FileVersion < 204) bGaugeNumber = 1;
}

void cEdMenuItem::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&bEnabled, 1);
    AddString(&strLabel, 1);
}

void cEdModeFlags::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&bRanking, 1);
}

void cEdModeFlags::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    LoadValues(vRankKinds, f);
}

void cEdModeFlags::Save(ByteWriter& f)
{
    cEdData::Save(f);
    SaveValues(vRankKinds, f);
}

void cEdSysOption::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&nKind, 1);
    AddField4(&nValue, 1);
    AddString(&strName, 1);
    AddString(&strText, 1);
}

void cEdSysOption::SetInt(const std::string& name, int value)
{
    strName = name;
    nKind = 0;
    nValue = value;
}

void cEdSysOption::SetText(const std::string& name, const std::string& text)
{
    strName = name;
    nKind = 1;
    strText = text;
}
