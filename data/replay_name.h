#pragma once
// The names of replay files: the extension and the file name proposed when
// the player saves a replay.

#include <string>
#include <string_view>

// The extension of replay files: "rpl4_" and the data version (rpl4_511).
std::string ReplayExtension();

// The file name (without a folder) proposed for a replay of the stage: the
// stage's file part with the replay extension, and "_" with two digits i and
// j before it, for the first pair (i, then j, each 0 to 8) whose file does
// not exist in user_data\rpl4\; "_88" when all 81 do. Empty for an empty
// stage name; a stage name without an extension is proposed as it is.
std::string ProposeReplayName(std::string_view stageName);
