#include "data/ed_shot.h"

#include "data/ed_database.h"
#include "data/load_checks.h"

void cEdShot::RegisterMembers(int version)
{
    ClearMemberTables();
    AddField1(&m_Count, 1);
    AddField1(&m_Pattern, 1);
    AddField2(m_PatternParams, 3);
    AddField1(&m_Dir, 1);
    AddField1(&m_Aim, 1);
    AddField2(&m_Angle, 1);
    AddField2(&m_AngleStep, 1);
    if (version >= 158) AddField1(&m_AngleMirror, 1);
    AddField2(&m_AngleRandom, 1);
    AddField1(&m_AimMode, 1);
    AddField1(&m_Repeat, 1);
    AddField2(&m_OffsetX, 1);
    AddField2(&m_OffsetXStep, 1);
    AddField2(&m_OffsetY, 1);
    AddField2(&m_OffsetYStep, 1);
    AddField1(&m_MirrorX, 1);
    AddField1(&m_MirrorY, 1);
    AddField2(&m_Graphic, 1);
    AddField1(&m_Option1, 1);
    AddField1(&m_Invisible, 1);
    AddField1(&m_UserGroup, 1);
    AddField1(&m_GroupNumber, 1);
    AddField1(&m_Option3, 1);
    AddField1(&m_Size, 1);
    AddField1(&m_Option4, 1);
    AddField1(&m_MoveKind, 1);
    AddField2(m_MoveParams, 3);
    if (version >= 211) AddField1(&m_Homing, 1);
    AddField2(&m_Speed, 1);
    AddField2(&m_SpeedStep, 1);
    if (version >= 213) {
        AddField1(&m_SecondSpeedOn, 1);
        AddField2(&m_SecondSpeed, 1);
        AddField2(&m_SecondSpeedStep, 1);
    }
    AddField2(&m_MoveTime, 1);
    AddField1(&m_MoveTimeOn, 1);
    AddField2(&m_MoveTimeStep, 1);
    AddField1(&m_StopAtEnd, 1);
    AddField1(&m_LifeTimeOn, 1);
    AddField2(&m_LifeTime, 1);
    AddField2(&m_LifeTimeStep, 1);
    AddField1(&m_PassBlocks, 1);
    AddField1(&m_Pierce, 1);
    AddField1(&m_HitShots, 1);
    AddField1(&m_Strength, 1);
    AddField4(&m_Power, 1);
    AddField2(&m_Option8, 1);
    AddField1(&m_Impact, 1);
    AddField2(&m_Effect, 1);
    AddField1(&m_ItemPalette, 1);
    AddField2(&m_ItemIndex, 1);
    AddField1(&m_BlockMode, 1);
    AddField1(&m_Option9, 1);
    if (version >= 197) AddField1(&m_Option10, 1);
    AddField1(&m_SummonPalette, 1);
    AddField2(&m_SummonIndex, 1);
    AddField1(&m_GroupMode, 1);
    AddField1(&m_Option11, 1);
    AddField1(&m_FlipFacing, 1);
}

void cEdShot::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    const int v = g_FileVersion;
    if (v < kDataVersion) {
        if (v < 158) m_AngleMirror = 0;
        if (v < 197) m_Option10 = m_Option9;
        // The homing kinds were given their own switch.
        if (v < 212) m_Homing = (m_MoveKind >= 4 && m_MoveKind <= 7) ? 1 : 0;
        if (v < 213) {
            m_SecondSpeedOn = 0;
            m_SecondSpeed = 0;
            m_SecondSpeedStep = 0;
        }
    }
    Check();
}

void cEdShot::Save(ByteWriter& f)
{
    Check();
    cEdData::Save(f);
}

void cEdShot::Check()
{
    if (static_cast<std::int8_t>(m_Size) <= 0) m_Size = 1;
    if (OutsideTable(m_Effect, g_Database.Effect.size())) m_Effect = 0;
}

double cEdShot::GetOffsetX(int i, int facing) const
{
    const double offset = static_cast<double>(i) * m_OffsetXStep + m_OffsetX;
    return (facing == 1 && m_MirrorX) ? -offset : offset;
}

double cEdShot::GetOffsetY(int i, int facing) const
{
    const double offset = static_cast<double>(i) * m_OffsetYStep + m_OffsetY;
    return (facing == 1 && m_MirrorY) ? -offset : offset;
}

void MakeShotPart(std::shared_ptr<cEdShot>& part)
{
    part = std::make_shared<cEdShot>();
}
