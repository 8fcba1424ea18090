#include "world/effect_state.h"

#include <cmath>
#include <utility>

#include "data/ed_database.h"

namespace {

// Change per drawn frame of a value running from start to end over a time
// in tenths of a second (6 frames each). A time below 1 is taken as 1, the
// shortest the authoring tool allows, so the step stays finite.
double stepPerFrame(std::int32_t start, std::int32_t end, std::int32_t time)
{
    const double frames = 6.0 * (time < 1 ? 1 : time);
    return std::fabs(static_cast<double>(end) - static_cast<double>(start)) / frames;
}

} // namespace

void CharaEffectState::Prepare(int index, int reversed)
{
    auto& table = reversed ? g_Database.m_CharaEffectRev : g_Database.CharaEffect;
    cEdCharaEffect* record = RecordAt(table, index);
    m_Index = index;
    m_Record = record;
    if (!record) return;
    const int kind = record->m_Kind;
    if (kind < 1 || kind > 16) return;
    std::int32_t* p = record->m_Param;
    if (kind == 6 || kind == 14) {
        // Time counters: the value counts tenths of a second.
        m_Start = 0;
        m_End = p[0];
        m_Value = 0;
        m_Step = 1.0 / 6.0;
        m_Work1 = 0;
        m_Work2 = 0;
        return;
    }
    if (reversed) std::swap(p[1], p[2]);
    m_Start = p[1];
    m_End = p[2];
    m_Value = m_Start;
    m_Step = stepPerFrame(m_Start, m_End, p[0]);
    if (kind == 4 || kind == 5) m_Work1 = 0;
}

void ScrEffectState::Prepare(int index, int reversed)
{
    auto& table = reversed ? g_Database.m_ScrEffectRev : g_Database.ScrEffect;
    cEdScrEffect* record = RecordAt(table, index);
    m_Index = index;
    m_Record = record;
    if (!record) return;
    std::int32_t* p = record->m_Param;
    switch (record->m_Kind) {
    case 1: // slide from the start point to the end point
        if (reversed) {
            std::swap(p[1], p[3]);
            std::swap(p[2], p[4]);
        }
        m_Value = 0;
        m_Step = 1.0 / 6.0;
        m_Int1 = p[1];
        m_Int2 = p[2];
        break;
    case 2: // shakes
    case 3:
        m_Value = 0;
        m_Value2 = 0;
        m_Step = 1.0 / 6.0;
        m_Int1 = 0;
        m_Int2 = 0;
        break;
    case 4:
    case 5:
    case 6:
    case 7:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
        if (reversed) std::swap(p[1], p[2]);
        m_Value = p[1];
        m_Step = stepPerFrame(p[1], p[2], p[0]);
        if (record->m_Kind == 6 || record->m_Kind == 7) m_Int1 = 0; // wave phase
        break;
    case 8: // blink
        m_Value = 0;
        m_Step = 1.0 / 6.0;
        m_Int1 = 0;
        m_Int2 = 0;
        break;
    default:
        break;
    }
}
