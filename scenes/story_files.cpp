#include "scenes/story_files.h"

#include "core/message_box.h"
#include "core/report.h"
#include "core/sjis_text.h"
#include "data/ed_save_data.h"
#include "data/story_slots.h"

int SaveStoryProgress(int slot)
{
    const std::int32_t previous = g_Progress.nSlot;
    g_Progress.nSlot = slot;
    if (g_Progress.SaveStorySlot(slot)) return 1;
    g_Progress.nSlot = previous;
    ErrBoxF(Sjis("%s に保存できませんでした！"), StoryPath(slot).c_str());
    return 0;
}

int AutoSaveStory()
{
    if (!g_Progress.bAutoSave) return 0;
    const int slot = g_Progress.nSlot;
    if (slot < 0 || slot >= kStorySlots) {
        Report("auto-save skipped: the progress has no story slot (%d)", slot);
        return 0;
    }
    return SaveStoryProgress(slot);
}

int LoadStoryProgress(int slot)
{
    if (g_Progress.LoadStorySlot(slot)) return 1;
    ErrBoxF(Sjis("%s の読み込みに失敗しました！"), StoryPath(slot).c_str());
    return 0;
}
