#pragma once
// The variables of the code language: the 22 character variables (v1 to v8
// and the statuses) and the 5 system variables, by name; how each is read,
// the range an assignment clamps it to, and the assignment with what it
// sets off (the life check, the maximum's clamp of HP and SP, the player's
// sight, the auto scroll).

#include <cstdint>
#include <string_view>

class cCharaObj;

inline constexpr int kCodeCharaVars = 22;
inline constexpr int kCodeSysVars = 5;

// The index of a name in its table; -1 when it is not there.
int CodeCharaVarIndex(std::string_view name);
int CodeSysVarIndex(std::string_view name);

std::int32_t ReadCodeCharaVar(const cCharaObj& owner, int index);
std::int32_t ReadCodeSysVar(int index);

// Clamps the value to the variable's range as it is now (HP and SP to the
// current maximum), writes it and returns it. runner: the character whose
// text runs.
std::int32_t WriteCodeCharaVar(cCharaObj& owner, int index, std::int32_t value,
                               const cCharaObj& runner);
std::int32_t WriteCodeSysVar(int index, std::int32_t value);
