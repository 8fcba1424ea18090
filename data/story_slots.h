#pragma once
// The 99 story slots: files user_data\story\Story01.dat to Story99.dat, each
// a saved progress record (cSaveData), and their summaries for the save menu
// and the title menu's continue list.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ed_data.h"
#include "data/ed_save_data.h"

inline constexpr int kStorySlots = 99;

// What the menus show of one slot; kept in memory only.
class cEdSlotInfo : public cEdData {
public:
    std::int32_t bUsed = 0;    // the slot's file exists
    std::int32_t bDamaged = 0; // it exists but does not read as a save
    SaveTime stSaved;          // when it was saved (when its file could be read)

    void RegisterMembers(int version) override;
};

// The summaries of the 99 slots; at program start every one unused.
extern std::vector<cEdSlotInfo> g_StorySlots;

// n summaries, all unused.
std::vector<cEdSlotInfo> InitStorySlots(int n);

// The file of a story slot: slot 0 is user_data\story\Story01.dat.
std::string StoryPath(int slot);

// Fills each summary from its slot's file: used when the file exists, with
// the time it was saved when the file reads cleanly (a damaged file stays
// used, marked damaged and with no time, so that it is not taken for a free
// slot).
void ScanStorySlots(std::vector<cEdSlotInfo>& slots);

// The text shown for a used slot: its time as "YYYY/MM/DD hh:mm" and a line
// end; dashes in place of the digits for a damaged one.
std::string StorySlotTimeText(const cEdSlotInfo& slot);
