#include "media/dd_row_kernel.h"

bool g_DDRowKernelsBaseline = false;

bool DDWideRowKernels()
{
#if defined(__x86_64__)
    static const bool wide = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return wide && !g_DDRowKernelsBaseline;
#else
    return false;
#endif
}
