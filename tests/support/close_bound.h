#pragma once
// How long a close may take to end the program: a second for a player. The
// sanitized build that runs the tests is several times slower than the
// program that players run (and checks its memory at the end), so it is
// given twice as long; on a busy machine a test multiplies this by how many
// threads wait for a processor (test::MachineLoad).

#include "support/sanitized_build.h"

namespace test {

inline constexpr long kCloseBoundMs = kSanitizedBuild ? 2000 : 1000;

} // namespace test
