#pragma once
// The story progress g_Progress written to and read from the story slots by
// the menus and the world map. A slot that cannot be written or read is
// said in an error box naming its file, and the game goes on with the
// progress as it was.

// Saves the progress to the slot (0 to 98), which becomes its save slot.
// 1 when written; 0 when not (the progress keeps the slot it had).
int SaveStoryProgress(int slot);

// The save after a stage while auto-save is on: to the progress's save
// slot. A progress without a slot of 0 to 98 (none chosen, or a damaged
// save) is not saved. 1 when written; 0 when auto-save is off, there is no
// slot, or the write failed.
int AutoSaveStory();

// Reads the progress from the slot and applies the lives of story play.
// 1 when read; 0 when the file is missing or damaged (the progress is
// unchanged).
int LoadStoryProgress(int slot);
