#pragma once
// Message boxes of the game. Every box goes through MesBox, which knows
// whether the game owns the whole screen; errors carry one fixed caption.
// A box is modal: the calling thread waits until it is closed.

#include "platform/message_box.h"

#include <cstdint>

// The box that the graphics layer draws over the full-screen game: 1 when
// shown, 0 when not (the button is not reported).
using FullScreenBoxFn = int (*)(const char* text, const char* caption, std::uint32_t type);

// Registers that box; the layer that draws it does so before the graphics
// are set up. Null goes back to plain boxes.
void SetFullScreenBox(FullScreenBoxFn box);

// Shows a box. In full screen, once the graphics are set up, through the
// registered full-screen box; otherwise a plain box whose result is the
// button pressed.
int MesBox(const char* text, const char* caption, std::uint32_t type);

// A box with the caption "エラー" and an OK button; the text as it stands.
int ErrBox(const char* text);

// The printf form of ErrBox.
int ErrBoxF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ErrBoxF only while the error log is on (never in a normal run); else 0.
int DebugBoxF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Says that memory ran out, then asks the main window to close.
void OutOfMemory();
