#pragma once
// The game's file dialogs over the platform's folder browser: the stage and
// replay open dialogs of the main window's requests, and the replay save
// dialog with its proposed name.

#include <string>

// The open dialogs: the chosen game path, or empty when cancelled.
std::string OpenStageDialog();
std::string OpenReplayDialog();

// Proposes a free name for a replay of the stage and asks where to save it;
// the chosen game path, or empty when cancelled. Replacing a file is asked
// about first.
std::string SelectReplayFile(const std::string& stageName);
