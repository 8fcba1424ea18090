#pragma once
// How a start-up step that cannot go on ends: its reason goes to the run
// report, and the player is told in an error box unless the step has shown
// its own message already. Every failed start-up tells the player why.

#include <string>

// The step has said why itself (its box): only the report line. False.
bool StartUpStepFailed(const char* why);
// The step has said nothing (its own failure only reaches the error log,
// which is off): the report line, then the message in an error box (Shift-JIS).
// False.
bool StartUpStepFailed(const char* why, const std::string& message);
