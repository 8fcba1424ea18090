#include "data/ed_move.h"

void cEdMove::RegisterMembers(int version)
{
    ClearMemberTables();
    AddField1(&m_TargetMode, 1);
    AddField1(&m_Dir, 1);
    AddField2(&m_Angle, 1);
    AddField2(&m_AngleStep, 1);
    if (version >= 158) AddField1(&m_AngleMirror, 1);
    AddField1(&m_UseX, 1);
    AddField1(&m_UseY, 1);
    AddField2(&m_TargetX, 1);
    AddField2(&m_TargetY, 1);
    AddField2(&m_OffsetX, 1);
    AddField2(&m_OffsetY, 1);
    AddField1(&m_CoordMode, 1);
    AddField1(&m_StopOnArrival, 1);
    AddField1(&m_NoSpeedX, 1);
    AddField1(&m_NoSpeedY, 1);
    AddField1(&m_MirrorX, 1);
    AddField1(&m_MirrorY, 1);
    AddField1(&m_TurnReverse, 1);
    AddField1(&m_Flag61, 1);
    if (version >= 162) AddField1(&m_KeepFacing, 1);
    AddField1(&m_CalcMode, 1);
    AddField2(&m_Speed, 1);
    AddField2(&m_SpeedStep, 1);
    AddField2(&m_Distance, 1);
    AddField2(&m_DistanceStep, 1);
    if (version >= 159) AddField1(&m_DistanceUnit, 1);
    AddField2(&m_Radius, 1);
    AddField2(&m_RadiusStep, 1);
    AddField1(&m_Inertia, 1);
    AddField2(&m_MaxSpeed, 1);
    AddField8(&m_TurnFactor, 1);
    if (version >= 162) AddField1(&m_KeepAnime, 1);
}

void cEdMove::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    const int v = g_FileVersion;
    if (v >= kDataVersion) return;
    // Older files behave as before these switches existed.
    if (v < 158) m_AngleMirror = 0;
    if (v < 159) m_DistanceUnit = 0;
    if (v < 162) {
        m_KeepFacing = 0;
        m_KeepAnime = 0;
    }
}

void MakeMovePart(std::shared_ptr<cEdMove>& part)
{
    part = std::make_shared<cEdMove>();
}
