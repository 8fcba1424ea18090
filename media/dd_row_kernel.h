#pragma once
// The loops that the renderer runs over every pixel of a frame are built
// twice, for the baseline x86-64 instruction set and for AVX2, and the one
// the processor can run is chosen once at run time. Both are the same
// source loop, which the compiler vectorises for each instruction set;
// nothing is written in vector instructions by hand, and both give the same
// pixels (integer arithmetic only).
//
// A kernel is a function marked DD_ROW_INLINE holding one loop over its
// (restrict-qualified) arguments; a lambda that captures the arguments by
// value hands them to it, so that each version compiles the loop itself:
//   DDRunRowKernel([=] { return copyRow(out, in, count); });

#define DD_ROW_INLINE __attribute__((always_inline)) inline

// Whether the wide version runs: when the processor has it, unless a test
// asks for the baseline (g_DDRowKernelsBaseline set).
bool DDWideRowKernels();
extern bool g_DDRowKernelsBaseline;

#if defined(__x86_64__)
template <typename Kernel> __attribute__((target("avx2"))) auto DDRunRowKernelWide(const Kernel& k)
{
    return k();
}
#endif

template <typename Kernel> auto DDRunRowKernel(const Kernel& k)
{
#if defined(__x86_64__)
    if (DDWideRowKernels()) return DDRunRowKernelWide(k);
#endif
    return k();
}
