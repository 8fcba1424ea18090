#pragma once
// Status and variable conditions and operations: the operation codes,
// percentages, and the two users, the condition "ステータス条件" and the
// command "ステータスの操作" (comparisons by world/compare_op.h).
//
// Sums, differences, products and percentages are worked out in 64 bits and
// then clamped to the field's range, so no value wraps around.

#include <cstdint>

class cCharaObj;
class cEdCommand;
class cEdCond;

// base x percent / 100, rounded half away from zero.
std::int32_t PercentOf(std::int32_t base, std::int32_t percent);
// Clamps in place and returns the value.
std::int32_t ClampInt(std::int32_t& value, std::int32_t lo, std::int32_t hi);
// 0 =, 1 +, 2 -, 3 x, 4 /, 5 remainder, 6 percent; then clamped. A division
// or remainder by 0 leaves the value as it was.
void ApplyOp(std::int32_t& value, std::int32_t operand, int op, std::int32_t lo, std::int32_t hi);
// The same on an 8-bit or 16-bit field: the operand counts by its low 8 or
// 16 bits, taken as a signed number.
void ApplyOp8(std::int8_t& value, std::int32_t operand, int op, std::int32_t lo, std::int32_t hi);
void ApplyOp16(std::int16_t& value, std::int32_t operand, int op, std::int32_t lo, std::int32_t hi);

int TestStatusCondition(const cEdCond& cond, cCharaObj& chara);
int ExecStatusOperation(cCharaObj& chara, const cEdCommand& command);

// After a change of the sight: a character operated by the player sees
// sight x 16 pixels, and the player's sight overlay is built again.
void RefreshSight(cCharaObj& chara);
