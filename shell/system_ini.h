#pragma once
// System.ini: the player's text file that chooses the graphics back end,
// the window mode, the colour depth, vertical sync, the frame-rate display
// and a stage to play at once. Its key names and defaults come from the
// six option entries of the system data, in this order.
//
// The file holds key=value lines (a comment may follow the value after a
// blank, a tab or '/') and must end with a line "Exit"; a file that ends
// before it is a failed read.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class cEdSysOption;

struct SYSTEMINI {
    std::int32_t Direct3D = 0;   // 0 DirectDraw, 1 Direct3D, 2 or more: ask at start-up
    std::int32_t WindowMode = 0; // 0 full screen, else a window
    std::int32_t Bpp = 0;        // 8, 16 or 32; 0 automatic
    std::int32_t VSync = 0;      // 0 off, 1 on, 2 or more automatic
    std::int32_t ShowFps = 0;    // non-zero: the frame-rate text is drawn
    std::string FreeStage;       // a stage file to play at once; empty for none
};

extern SYSTEMINI g_SystemIni;

// The longest FreeStage value the file may give (the game's path limit).
inline constexpr std::size_t kMaxFreeStage = 259;

// Fields 0 to 4 from the numbers of option entries 0 to 4, FreeStage from
// the text of entry 5.
void DefaultSystemIni(SYSTEMINI& settings, const std::vector<cEdSysOption>& options);

// Reads the file (a game path) over the settings: 1 when it was read to its
// "Exit" line, a NUL byte or the line limit; 0 when it cannot be opened or
// ends too early (the values read until then stay).
int LoadSystemIni(const char* path, SYSTEMINI& settings, const std::vector<cEdSysOption>& options);

// The same over the file's bytes.
int ReadSystemIni(std::string_view text, SYSTEMINI& settings,
                  const std::vector<cEdSysOption>& options);
