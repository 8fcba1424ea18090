// Copies of characters and the centring operations with which movements
// put a character exactly on the point they reach.

#include "world/chara_obj.h"

#include <algorithm>

#include "data/ed_flow.h"

void cCharaObj::CopyFrom(const cCharaObj& other)
{
    *this = other;
}

void cCharaObj::RelinkFlows()
{
    std::vector<cEdFlow>& flows = m_Def.Flows;
    const std::size_t count = std::min(m_FlowRuns.size(), flows.size());
    for (std::size_t i = 0; i < count; ++i) {
        cFlowRun& run = m_FlowRuns[i];
        const cEdFlow& flow = flows[i];
        run.m_Index = static_cast<std::int32_t>(i);
        run.m_Flow = &flow;
        run.m_KeyConds.clear();
        for (const cEdKeyCond& key : flow.m_KeyConds)
            run.m_KeyConds.push_back(&key);
        const std::size_t commands = std::min(run.m_Commands.size(), flow.m_Commands.size());
        for (std::size_t j = 0; j < commands; ++j)
            run.m_Commands[j].m_Command = &flow.m_Commands[j];
    }
}

// The centring works in screen pixels: the object moves by the whole-pixel
// difference between the wanted centre and the centre of its picture's
// rectangle as last refreshed.
void cCharaObj::SetCenterX(int x)
{
    const int c = m_ScrLeft + (m_PicWidth >> 1);
    if (c < x)
        m_X += x - c;
    else
        m_X -= c - x;
    OnMovedX();
}

void cCharaObj::SetCenterY(int y)
{
    const int c = m_ScrTop + (m_PicHeight >> 1);
    if (c < y)
        m_Y += y - c;
    else
        m_Y -= c - y;
    OnMovedY();
}

void cCharaObj::SetCenter(int x, int y)
{
    SetCenterX(x);
    SetCenterY(y);
}

void cCharaObj::SetCenterStop(int x, int y, cCommandRun& run)
{
    SetCenter(x, y);
    run.m_SpeedX = run.m_SpeedY = 0;
}

void cCharaObj::SetCenterXStop(int x, cCommandRun& run)
{
    SetCenterX(x);
    run.m_SpeedX = run.m_SpeedY = 0;
}

void cCharaObj::SetCenterYStop(int y, cCommandRun& run)
{
    SetCenterY(y);
    run.m_SpeedX = run.m_SpeedY = 0;
}
