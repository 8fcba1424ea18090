#pragma once
// Reading the keyboard and the joysticks into one player's input record,
// once per frame, through the built-in mapping or the key configuration
// (g_KeyConfig's mapping switch chooses; each poll does nothing and returns
// 0 when the other mapping is in force).
//
// A joystick that cannot be read counts as no input and is tried again
// after 2 x retry frames, each joystick on its own count; plugging in or
// pulling out any controller makes every joystick be tried at once.

#include "platform/input.h"

#include <cstdint>

struct InputState;

// Flags of PollJoyKey.
inline constexpr int kPollJoystick = 1; // take the joystick's direction and buttons
inline constexpr int kPollKeyboard = 2; // read the keyboard

// The most joysticks the key configuration can name.
inline constexpr int kMaxJoysticks = 16;

// The built-in mapping: joystick `joystick` (its direction wins over the
// arrows, its buttons over Z, X, C, V, A, S, D, F while one is held).
int PollJoyKey(InputState& state, int joystick, int flags, int retry);

// The configured mapping: each entry of g_KeyConfig is a key or a
// joystick input. Left wins over right and up over down.
int PollKeyConfig(InputState& state, int sets, int retry);

// 1 when the code is one of the four axis codes and the reading has that
// axis pushed to its end.
int JoyAxisPressed(const plat::JoyReading& reading, std::uint16_t code);

// Forgets every joystick's failed reads (a new run of the frame loop in tests).
void ResetJoystickRetries();
