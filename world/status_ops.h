#pragma once
// Status and variable conditions and operations: the comparison and
// operation codes, percentages, and the two users, the condition
// "ステータス条件" and the command "ステータスの操作".

#include <cstdint>

class cCharaObj;
class cEdCommand;
class cEdCond;

// 0 ==, 1 !=, 2 >=, 3 <=, 4 >, 5 <; other codes false.
int CompareByOp(std::int32_t left, std::int32_t right, int op);
// base x percent / 100, rounded half away from zero.
std::int32_t PercentOf(std::int32_t base, std::int32_t percent);
// Clamps in place and returns the value.
std::int32_t ClampInt(std::int32_t& value, std::int32_t lo, std::int32_t hi);
// 0 =, 1 +, 2 -, 3 x, 4 /, 5 remainder, 6 percent; then clamped.
void ApplyOp(std::int32_t& value, std::int32_t operand, int op, std::int32_t lo, std::int32_t hi);

int TestStatusCondition(const cEdCond& cond, cCharaObj& chara);
int ExecStatusOperation(cCharaObj& chara, const cEdCommand& command);
