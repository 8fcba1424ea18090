#include "world/scroll_axis.h"

#include <algorithm>
#include <climits>

#include "data/ed_stage.h"
#include "world/trunc.h"

void cScrollAxis::Clamp()
{
    if (m_Pos < m_Min) {
        m_Pos = m_Min;
        m_AtLimit = 1;
    } else if (m_Pos + m_ViewSize >= m_Max) {
        m_Pos = std::max<double>(m_Max - m_ViewSize, m_Min);
        m_AtLimit = 1;
    } else {
        m_AtLimit = 0;
    }
}

void cScrollAxis::Step()
{
    m_Pos += m_Speed;
    Clamp();
}

void cScrollAxis::SetAutoScroll(int on, int value)
{
    if (!on) {
        m_Speed = 0;
        m_Auto = 0;
        return;
    }
    // The sub-step count is at least 1 once the speed level is set; a stage
    // never set up counts as 1.
    const double b = g_Stage.dSubSteps >= 1.0 ? g_Stage.dSubSteps : 1.0;
    m_Speed = FiniteOr(value * 0.1 / b, 0.0);
    m_Auto = 1;
}

void cScrollAxis::SetRange(int first, int last, int limitFirst, int limitLast)
{
    // In 64 bits: limits come from a file and may be anything.
    auto toInt = [](long long v) {
        return static_cast<std::int32_t>(std::clamp<long long>(v, INT_MIN, INT_MAX));
    };
    m_Min = limitFirst ? toInt(m_Base + 32LL * first) : m_Base;
    m_Max = limitLast ? std::max(toInt(m_Base + 32LL * (last + 1LL)), m_Min) : m_Full;
}
