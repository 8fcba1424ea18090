#pragma once
// The authoring tool's channel. The tool starts a test play of its game with
// a pipe (or socket) the program inherits, and names the descriptor of its
// writing end in the environment variable QUENHOLT_TOOL_FD. Its presence
// means the run is a test play; the program then writes notices to it, each
// two little-endian 32-bit words {kind, value}:
//   {1, 1} once the game window exists;
//   {0, 0} when the start-up failed (the program ends);
//   {0, 1} when the game window has been destroyed (the program ends).

#include <cstdint>

namespace plat {

inline constexpr const char* kToolFdVariable = "QUENHOLT_TOOL_FD";

// Whether the variable names a descriptor that is open.
bool toolChannelPresent();

// Writes one notice to the channel; nothing without one. A tool that no
// longer reads (its end closed) is not an error and does not stop the program.
void toolNotify(std::uint32_t kind, std::int32_t value);

} // namespace plat
