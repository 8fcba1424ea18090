#include "data/ed_stage_parts.h"

void cEdArea::RegisterMembers(int version)
{
    ClearMemberTables();
    AddField4(&bLeft, 1);
    if (version >= 125) {
        AddField4(&bRight, 1);
        AddField4(&bTop, 1);
        AddField4(&bBottom, 1);
    }
    AddField4(&nLeft, 1);
    AddField4(&nRight, 1);
    AddField4(&nTop, 1);
    AddField4(&nBottom, 1);
}

void cEdArea::Set(int left, int right, int top, int bottom, int leftDistance, int rightDistance,
                  int topDistance, int bottomDistance)
{
    bLeft = left;
    bRight = right;
    bTop = top;
    bBottom = bottom;
    nLeft = leftDistance;
    nRight = rightDistance;
    nTop = topDistance;
    nBottom = bottomDistance;
}

void cEdLayer::RegisterMembers(int version)
{
    ClearMemberTables();
    if (version >= 62) AddField4(&bShow, 1);
    AddField4(&bFill, 1);
    AddField4(&nFillColor, 1);
    AddField4(&nFront, 1);
    if (version >= 61) {
        AddField8(&dFactorX, 1);
        AddField8(&dFactorY, 1);
        AddField4(&bAutoX, 1);
        AddField4(&bAutoY, 1);
    } else {
        AddField4(&m_OldFactors[0], 1);
        AddField4(&m_OldFactors[1], 1);
    }
    AddString(&strPicture, 1);
    if (version >= 62) {
        AddField8(&dOffsetX, 1);
        AddField8(&dOffsetY, 1);
    } else if (version == 61) {
        AddField4(&m_OldOffsets[0], 1);
        AddField4(&m_OldOffsets[1], 1);
    }
}

void cEdLayer::SetDefaults()
{
    Clear();
    bShow = 1;
    nFillColor = 16;
    dFactorX = 0.1;
    dFactorY = 0.1;
}

void cEdTextItem::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddString(&strText, 1);
}
