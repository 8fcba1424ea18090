#pragma once
// The playback of a replay file, chosen in the title menu's replay dialog
// or given at start-up: the file's stage becomes the live stage, and its
// log and progress the ones played back.

#include <string>
#include <string_view>

// Whether a path names a replay file: its extension begins with "rpl4_"
// (whatever the case).
bool IsReplayPath(std::string_view path);

// Reads the replay file into the live stage, its settings copy, the replay
// log and the progress. 1 when read; 0, after an error box naming the file,
// when it cannot be read (nothing has changed then).
int LoadReplayFile(const std::string& path);
