#include "world/compare_op.h"

int CompareByOp(std::int32_t left, std::int32_t right, int op)
{
    switch (op) {
    case 0:
        return left == right;
    case 1:
        return left != right;
    case 2:
        return left >= right;
    case 3:
        return left <= right;
    case 4:
        return left > right;
    case 5:
        return left < right;
    default:
        return 0;
    }
}
