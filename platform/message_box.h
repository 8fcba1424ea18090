#pragma once
// Message boxes. Every box is shown by the main thread; a box asked for on
// another thread is handed to it, and the caller waits for the answer.
// Each box is also written to stderr, so a run without a screen still
// tells what it would have shown.
//
// With a responder set (tests, headless runs) the responder answers every
// box at once on the calling thread and nothing is shown. Without one, a
// run with no display (no DISPLAY or WAYLAND_DISPLAY, or SDL's dummy or
// offscreen video driver) answers each box with its first button.

#include "platform/message_loop.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Box types and answers, by their Windows numbers (facts).
inline constexpr std::uint32_t MB_OK = 0x00000000;
inline constexpr std::uint32_t MB_OKCANCEL = 0x00000001;
inline constexpr std::uint32_t MB_YESNOCANCEL = 0x00000003;
inline constexpr std::uint32_t MB_YESNO = 0x00000004;
inline constexpr std::uint32_t MB_ICONERROR = 0x00000010;
inline constexpr std::uint32_t MB_ICONQUESTION = 0x00000020;
inline constexpr std::uint32_t MB_ICONWARNING = 0x00000030;
inline constexpr std::uint32_t MB_ICONINFORMATION = 0x00000040;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

namespace plat {

struct BoxRequest {
    WindowId owner = 0;
    std::string text;    // Shift-JIS, as asked
    std::string caption; // Shift-JIS, as asked
    std::uint32_t type = MB_OK;
    // The same texts in UTF-8.
    std::string textUtf8() const;
    std::string captionUtf8() const;
};

// Shows a box and returns the button pressed (IDOK, IDCANCEL, IDYES, IDNO);
// 0 when no box could be shown or the caller was asked to quit meanwhile.
int messageBox(WindowId owner, std::string_view sjisText, std::string_view sjisCaption,
               std::uint32_t type);

// Sets (or, with nullptr, removes) the responder that answers every box.
void setMessageBoxResponder(std::function<int(const BoxRequest&)> responder);

} // namespace plat
