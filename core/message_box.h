#pragma once
// Message boxes of the game. Every box goes through MesBox, which knows
// whether the game owns the whole screen; errors carry one fixed caption.
// A box is modal: the calling thread waits until it is closed.

#include "platform/message_box.h"

#include <cstdint>

// Shows a box. In full screen, once the graphics are set up, through the
// graphics layer (1 when shown, 0 when not; the button is not reported);
// otherwise a plain box whose result is the button pressed.
int MesBox(const char* text, const char* caption, std::uint32_t type);

// A box with the caption "エラー" and an OK button; the text as it stands.
int ErrBox(const char* text);

// The printf form of ErrBox.
int ErrBoxF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ErrBoxF only while the error log is on (never in a normal run); else 0.
int DebugBoxF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Says that memory ran out, then asks the main window to close.
void OutOfMemory();
