#pragma once
// The run-time tables that the game world plays the database from, built at
// start-up right after the database is read: one frame sequence per Anime
// and per Effect record, and the prepared normal and reversed run states of
// every character and screen effect. Same index as the records.

#include <vector>

#include "world/effect_state.h"
#include "world/frame_seq.h"

extern std::vector<FrameSeq> g_AnimeSeqs;
extern std::vector<FrameSeq> g_EffectSeqs;
extern std::vector<CharaEffectState> g_CharaEffectStates;
extern std::vector<CharaEffectState> g_CharaEffectStatesRev;
extern std::vector<ScrEffectState> g_ScrEffectStates;
extern std::vector<ScrEffectState> g_ScrEffectStatesRev;

// One sequence per Anime record: a step per frame {picture, time x 6, flag},
// the flag set from the first held frame to the end, closed by {-4, 0, 0}.
// Record 0 (none) has durations 0, flags 1 and loops: closed by {-2, 0, 1}.
void BuildAnimeFrameLists(std::vector<FrameSeq>& out);
// The same over the Effect records, whose frames have no hold flag.
void BuildEffectFrameLists(std::vector<FrameSeq>& out);
// Resizes both to the CharaEffect records and prepares each (normal and reversed).
void BuildCharaEffectStates(std::vector<CharaEffectState>& normal,
                            std::vector<CharaEffectState>& reversed);
void BuildScrEffectStates(std::vector<ScrEffectState>& normal,
                          std::vector<ScrEffectState>& reversed);

// The start-up steps after LoadDatabase, once: the reversed copies of the
// CharaEffect and ScrEffect tables are made, then the four builders run on
// the globals above.
void BuildDatabaseTables();
