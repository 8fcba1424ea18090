#pragma once
// The open and save dialogs: a small folder browser drawn with Dear ImGui
// over the game folder (it never leaves it). Paths go in and out as game
// paths (Shift-JIS, backslashes, relative to the game folder). A save over
// an existing file is asked about first, in a box: "No" goes back to the
// choice (a responder's choice is then cancelled).
//
// With a responder set (tests, runs without a screen) the responder makes
// the choice and nothing is shown; without one and without a screen every
// dialog is cancelled.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace plat {

struct FileDialogDesc {
    std::string initialDirSjis;
    std::string titleSjis;
    std::string filterLabelSjis;
    std::vector<std::string> patterns; // like "*.rpl4_*"; a file matching any is listed
    std::string defExt;                // added to a saved name without an extension
    bool save = false;
    std::string proposedNameSjis; // the name offered at first (save)
};

// Main thread (other threads are handed to it). The chosen file's game
// path; nothing when cancelled. An opened file exists.
std::optional<std::string> runFileDialog(const FileDialogDesc& desc);

// Sets (or, with nullptr, removes) the responder that chooses instead of
// the player.
void setFileDialogResponder(
    std::function<std::optional<std::string>(const FileDialogDesc&)> responder);

// Whether a file name matches a pattern of '*' and '?', whatever the case.
bool matchesPattern(std::string_view name, std::string_view pattern);

} // namespace plat
