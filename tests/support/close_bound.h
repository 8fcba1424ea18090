#pragma once
// How long a close may take to end the program: a second for a player. The
// sanitized build that runs the tests is several times slower than the
// program that players run (and checks its memory at the end), so it is
// given twice as long; on a busy machine a test multiplies this by how many
// threads wait for a processor (test::MachineLoad).

#if defined(__SANITIZE_ADDRESS__)
#define RT_TEST_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RT_TEST_SANITIZED 1
#endif
#endif

namespace test {

#ifdef RT_TEST_SANITIZED
constexpr long kCloseBoundMs = 2000;
#else
constexpr long kCloseBoundMs = 1000;
#endif

} // namespace test
