#pragma once
// A hash of the play state of a running stage, taken once per frame to
// check that two runs of the same input from the same seed stay the same:
// the random generator, the view, the counters, the stage variables and
// switches, and every object in list order with its position, speeds,
// flags, hit points and animation.

#include <cstdint>

class cRunningStage;

std::uint64_t HashStageState(const cRunningStage& stage);
