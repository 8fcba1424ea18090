#pragma once
// The frame loop of the dialogs drawn with Dear ImGui. Not for use outside
// platform/.
//
// A dialog is drawn over the game window when it is on the screen (its last
// frame stays beneath), else in a window of its own. While it runs, the
// player's input goes to it; controllers and the rest of the main thread's
// work go on. Closing the game window (or asking the program to quit) ends
// the dialog, and the close is passed on to the game window afterwards. A
// dialog may open another from its frame; the one below waits, and a close
// ends both.

#include <functional>
#include <string>
#include <string_view>

namespace plat::detail {

// Main thread: runs frames until `frame` returns false. `frame` builds one
// frame with ImGui calls. False when the dialog ended because the program
// is closing (or could not be shown at all).
bool runImGuiDialog(const std::string& titleUtf8, int width, int height,
                    const std::function<bool()>& frame);

// A text of the program, given in Shift-JIS, as the player reads it: UTF-8,
// and its backslashes, which separate the folders of paths, shown as the
// player's system writes them, as slashes (the Japanese face would draw a
// yen sign).
std::string shownText(std::string_view sjis);

} // namespace plat::detail
