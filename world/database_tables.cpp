#include "world/database_tables.h"

#include <cstdint>

#include "core/saturate.h"
#include "data/ed_database.h"

std::vector<FrameSeq> g_AnimeSeqs;
std::vector<FrameSeq> g_EffectSeqs;
std::vector<CharaEffectState> g_CharaEffectStates;
std::vector<CharaEffectState> g_CharaEffectStatesRev;
std::vector<ScrEffectState> g_ScrEffectStates;
std::vector<ScrEffectState> g_ScrEffectStatesRev;

namespace {

// A time in tenths of a second as drawn frames (6 each), held within the
// range of a step's duration.
std::int32_t framesOf(std::int32_t tenths)
{
    return SaturateToInt32(std::int64_t{tenths} * 6);
}

// Builds one sequence from a record's frames. holdOf gives a frame's hold
// flag (effects have none).
template <class Frame, class HoldOf>
FrameSeq buildSequence(const std::vector<Frame>& frames, bool recordZero, HoldOf holdOf)
{
    FrameSeq seq(frames.size() + 1);
    bool held = false;
    for (std::size_t k = 0; k < frames.size(); ++k) {
        FrameStep& step = seq[k];
        step.m_Frame = frames[k].m_PictureNo;
        step.m_Duration = framesOf(frames[k].m_Time);
        if (recordZero) {
            step.m_Duration = 0;
            step.m_Flag = 1;
        } else {
            if (holdOf(frames[k])) held = true;
            step.m_Flag = held ? 1 : 0;
        }
    }
    seq.back() = recordZero ? FrameStep{-2, 0, 1} : FrameStep{-4, 0, 0};
    return seq;
}

template <class Record, class HoldOf>
void buildSequences(std::vector<FrameSeq>& out, const std::vector<Record>& records, HoldOf holdOf)
{
    out.resize(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        out[i] = buildSequence(records[i].m_Frames, i == 0, holdOf);
    }
}

// Resizes both to the records and prepares each, normal and reversed.
template <class State>
void prepareStates(std::vector<State>& normal, std::vector<State>& reversed, std::size_t records)
{
    normal.resize(records);
    reversed.resize(records);
    for (std::size_t i = 0; i < records; ++i) {
        normal[i].Prepare(static_cast<int>(i), 0);
        reversed[i].Prepare(static_cast<int>(i), 1);
    }
}

} // namespace

void BuildAnimeFrameLists(std::vector<FrameSeq>& out)
{
    buildSequences(out, g_Database.Anime,
                   [](const cEdAnimeFrame& frame) { return frame.m_Hold != 0; });
}

void BuildEffectFrameLists(std::vector<FrameSeq>& out)
{
    buildSequences(out, g_Database.Effect, [](const cEdEffectFrame&) { return false; });
}

void BuildCharaEffectStates(std::vector<CharaEffectState>& normal,
                            std::vector<CharaEffectState>& reversed)
{
    prepareStates(normal, reversed, g_Database.CharaEffect.size());
}

void BuildScrEffectStates(std::vector<ScrEffectState>& normal,
                          std::vector<ScrEffectState>& reversed)
{
    prepareStates(normal, reversed, g_Database.ScrEffect.size());
}

void BuildDatabaseTables()
{
    g_Database.m_CharaEffectRev = g_Database.CharaEffect;
    g_Database.m_ScrEffectRev = g_Database.ScrEffect;
    BuildAnimeFrameLists(g_AnimeSeqs);
    BuildEffectFrameLists(g_EffectSeqs);
    BuildCharaEffectStates(g_CharaEffectStates, g_CharaEffectStatesRev);
    BuildScrEffectStates(g_ScrEffectStates, g_ScrEffectStatesRev);
}
