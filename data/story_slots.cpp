#include "data/story_slots.h"

#include "core/format.h"
#include "data/path_table.h"
#include "platform/path_resolver.h"

std::vector<cEdSlotInfo> g_StorySlots = InitStorySlots(kStorySlots);

void cEdSlotInfo::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&bUsed, 1);
}

std::vector<cEdSlotInfo> InitStorySlots(int n)
{
    return std::vector<cEdSlotInfo>(static_cast<std::size_t>(std::max(n, 0)));
}

std::string StoryPath(int slot)
{
    std::string path;
    FormatStr(path, "%s%02d.dat", g_PathTable[PATH_STORY_SLOT], slot + 1);
    return path;
}

void ScanStorySlots(std::vector<cEdSlotInfo>& slots)
{
    for (std::size_t i = 0; i < slots.size(); ++i) {
        cEdSlotInfo& info = slots[i];
        auto file = OpenRead(StoryPath(static_cast<int>(i)));
        info.bDamaged = 0;
        if (!file) {
            info.bUsed = 0;
            continue;
        }
        info.bUsed = 1;
        cSaveData saved;
        info.bDamaged = LoadRecord(saved, file->in) ? 0 : 1;
        info.stSaved = info.bDamaged ? SaveTime{} : saved.stSaved;
        CloseFile(file);
    }
}

std::string StorySlotTimeText(const cEdSlotInfo& slot)
{
    if (slot.bDamaged) return "----/--/-- --:--\n";
    std::string text;
    FormatStr(text, "%04d/%02d/%02d %02d:%02d\n", slot.stSaved.nYear, slot.stSaved.nMonth,
              slot.stSaved.nDay, slot.stSaved.nHour, slot.stSaved.nMinute);
    return text;
}
