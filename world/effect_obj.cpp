// Effect instances and the players of character and screen effects.

#include "world/effect_obj.h"

#include <algorithm>
#include <vector>

#include "core/checked_access.h"
#include "data/ed_database.h"
#include "world/database_tables.h"
#include "world/random.h"
#include "world/trunc.h"

namespace {

// The prepared state of an effect record: index 0 (none) is a blank state
// even before the tables are built; any other index outside the table is a
// checked-access failure.
template <class State> State PreparedState(const std::vector<State>& table, int index)
{
    if (index == 0 && table.empty()) return State();
    return VecAt(table, index);
}

// A running effect whose record gives it no time ends at once: its step per
// frame would be infinite.
template <class State> bool HasNoTime(const State& state)
{
    return !state.m_Record || state.m_Record->m_Param[0] <= 0;
}

// Copies a prepared state into a player, keeping what the player was
// started with (index, mode, loop, direction).
template <class State> void CopyState(State& player, const State& prepared)
{
    const std::int32_t index = player.m_Index;
    const std::int32_t mode = player.m_Mode;
    const std::int32_t loop = player.m_Loop;
    const std::int32_t reversed = player.m_Reversed;
    player = prepared;
    player.m_Index = index;
    player.m_Mode = mode;
    player.m_Loop = loop;
    player.m_Reversed = reversed;
    player.m_Counter = 0;
}

template <class State>
void StartState(State& player, const std::vector<State>& normal, const std::vector<State>& rev,
                int index, int mode, int loop)
{
    player.m_Index = index;
    player.m_Mode = mode;
    player.m_Loop = loop;
    player.m_Reversed = mode == 1 ? 1 : 0;
    CopyState(player, PreparedState(player.m_Reversed ? rev : normal, index));
}

template <class State>
void RestartState(State& player, const std::vector<State>& normal, const std::vector<State>& rev)
{
    if (player.m_Mode == 2) player.m_Reversed = player.m_Reversed ? 0 : 1;
    CopyState(player, PreparedState(player.m_Reversed ? rev : normal, player.m_Index));
}

} // namespace

cEffectObj::cEffectObj(int effect, double x, double y, int width, int height, int stopsGame)
    : m_Effect(effect), m_X(x), m_Y(y), m_Width(width), m_Height(height), m_StopsGame(stopsGame)
{
    m_Scaled = width != VecAt(g_Database.Effect, effect).m_CellWidth ? 1 : 0;
    SetAnimation(effect);
}

cEffectObj::cEffectObj(int effect, const DRect& boxA, const DRect& boxB, int scale)
    : m_Effect(effect)
{
    const cEdEffect& record = VecAt(g_Database.Effect, effect);
    const int c = record.m_Scalable ? std::max(scale, 1) : 1;
    m_Scaled = record.m_Scalable && scale > 1 ? 1 : 0;
    m_Width = m_Scaled ? c * record.m_CellWidth : record.m_CellWidth;
    m_Height = m_Scaled ? c * record.m_CellHeight : record.m_CellHeight;
    DRect overlap;
    if (boxA.Intersects(boxB)) {
        overlap.x1 = std::max(boxA.x1, boxB.x1);
        overlap.y1 = std::max(boxA.y1, boxB.y1);
        overlap.x2 = std::min(boxA.x2, boxB.x2);
        overlap.y2 = std::min(boxA.y2, boxB.y2);
    }
    m_X = overlap.x1 + (TruncToInt(overlap.x2 - overlap.x1 + 1) >> 1) - (m_Width >> 1);
    m_Y = overlap.y1 + (TruncToInt(overlap.y2 - overlap.y1 + 1) >> 1) - (m_Height >> 1);
    // A scatter of -4c to 4c pixels, x drawn first.
    m_X += Random() % (8 * c + 1) - 4 * c;
    m_Y += Random() % (8 * c + 1) - 4 * c;
    m_StopsGame = 0;
    SetAnimation(effect);
}

void cEffectObj::SetAnimation(int effect)
{
    m_Anime.Build({VecAt(g_EffectSeqs, effect)});
    m_Anime.Set(0, 1);
}

void cCharaEffectPlayer::Start(int index, int mode, int loop)
{
    StartState<CharaEffectState>(*this, g_CharaEffectStates, g_CharaEffectStatesRev, index, mode,
                                 loop);
}

void cCharaEffectPlayer::Restart()
{
    RestartState<CharaEffectState>(*this, g_CharaEffectStates, g_CharaEffectStatesRev);
}

int cCharaEffectPlayer::Step()
{
    if (HasNoTime<CharaEffectState>(*this)) return 1;
    if (m_Start <= m_End) {
        m_Value += m_Step;
        if (m_Value <= m_End) return 0;
    } else {
        m_Value -= m_Step;
        if (m_Value >= m_End) return 0;
    }
    if (m_Loop || (m_Mode == 2 && !m_Reversed)) {
        Restart();
        return 0;
    }
    return 1;
}

void cScrEffectPlayer::Start(int index, int mode, int loop)
{
    StartState<ScrEffectState>(*this, g_ScrEffectStates, g_ScrEffectStatesRev, index, mode, loop);
}

void cScrEffectPlayer::Restart()
{
    RestartState<ScrEffectState>(*this, g_ScrEffectStates, g_ScrEffectStatesRev);
}

int cScrEffectPlayer::Step(double from, double to, double step)
{
    if (HasNoTime<ScrEffectState>(*this)) return 1;
    if (from <= to) {
        m_Value += step;
        if (TruncToInt(m_Value) <= to) return 0;
    } else {
        m_Value -= step;
        if (TruncToInt(m_Value) >= to) return 0;
    }
    if (m_Loop || (m_Mode == 2 && !m_Reversed)) {
        Restart();
        return 0;
    }
    return 1;
}
