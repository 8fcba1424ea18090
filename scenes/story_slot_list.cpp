#include "scenes/story_slot_list.h"

#include "media/dd_fill.h"
#include "media/font.h"

namespace {

constexpr int kWidth = 320;
constexpr int kRowLinePalette = 240;

} // namespace

void DrawStorySlots(DDSURFACEDATA* dest, int x, int y, const std::vector<cEdSlotInfo>& slots,
                    int first, int rows)
{
    Font& font = g_Fonts[1];
    font.DrawBox(dest, x, y, kWidth, rows * kSlotListPitch);
    for (int r = 0; r < rows; ++r) {
        const int top = y + kSlotListPitch * r;
        if (r != rows - 1)
            DDBoxFillPal(dest, x, top + kSlotListPitch - 1, kWidth, 1, kRowLinePalette);
        const int slot = first + r;
        if (slot < 0 || slot >= static_cast<int>(slots.size())) break;
        font.DrawTextF(dest, x + 16, top, "%d", slot + 1);
        const cEdSlotInfo& info = slots[static_cast<std::size_t>(slot)];
        if (info.bUsed) font.DrawText(dest, x + 64, top, StorySlotTimeText(info).c_str(), 0);
    }
}
