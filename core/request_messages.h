#pragma once
// The requests that the game thread sends to the main window: what it may
// not do itself (dialogs, file choice, sound and music, device recovery)
// runs on the main thread while the game thread waits in the send. Their
// numbers live here, below every layer that sends one.

#include "platform/window_messages.h"

#include <cstdint>

// Ranking-name dialog.
inline constexpr std::uint32_t UM_NAMEDLG = WM_USER + 1;
// Choice of a stage file to play.
inline constexpr std::uint32_t UM_OPENSTAGE = WM_USER + 2;
// Choice of a replay file to play.
inline constexpr std::uint32_t UM_OPENREPLAY = WM_USER + 3;
// Saving a replay; wParam 0 the current attempt's, 1 the previous one's.
inline constexpr std::uint32_t UM_SAVEREPLAY = WM_USER + 4;
// A sound effect; wParam the sound slot.
inline constexpr std::uint32_t UM_SE = WM_USER + 5;
// Music; wParam the music slot (0 to 3, or 4 with the Bgm number in lParam).
inline constexpr std::uint32_t UM_BGM = WM_USER + 6;
// Recovery of the lost display device.
inline constexpr std::uint32_t UM_RESTORE = WM_USER + 100;
