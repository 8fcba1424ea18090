// The status and variable conditions and operations.

#include "world/status_ops.h"

#include "world/chara_obj.h"
#include "world/placeholder.h"

int CompareByOp(std::int32_t, std::int32_t, int)
{
    WORLD_PLACEHOLDER(14, "CompareByOp");
    return 0;
}

std::int32_t PercentOf(std::int32_t, std::int32_t)
{
    WORLD_PLACEHOLDER(14, "PercentOf");
    return 0;
}

std::int32_t ClampInt(std::int32_t& value, std::int32_t, std::int32_t)
{
    WORLD_PLACEHOLDER(14, "ClampInt");
    return value;
}

void ApplyOp(std::int32_t&, std::int32_t, int, std::int32_t, std::int32_t)
{
    WORLD_PLACEHOLDER(14, "ApplyOp");
}

int TestStatusCondition(const cEdCond&, cCharaObj&)
{
    WORLD_PLACEHOLDER(14, "TestStatusCondition");
    return 0;
}

int ExecStatusOperation(cCharaObj&, const cEdCommand&)
{
    WORLD_PLACEHOLDER(14, "ExecStatusOperation");
    return 0;
}
