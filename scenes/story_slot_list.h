#pragma once
// The list of the 99 story slots that the title menu's continue item and
// the save menu show: a framed box of font 1 rows, each with the slot's
// number and, when it is in use, the time it was saved.

#include <vector>

#include "data/story_slots.h"

struct DDSURFACEDATA;

// Where the list stands on the screen and how many rows it shows.
inline constexpr int kSlotListX = 152;
inline constexpr int kSlotListY = 160;
inline constexpr int kSlotListPitch = 16;
inline constexpr int kSlotListRows = kStorySlots < 10 ? kStorySlots : 10;

// Draws `rows` rows of the summaries from slot `first` on, the box's
// top-left at (x, y), 320 pixels wide.
void DrawStorySlots(DDSURFACEDATA* dest, int x, int y, const std::vector<cEdSlotInfo>& slots,
                    int first, int rows);
