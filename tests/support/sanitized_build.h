#pragma once
// Whether this build runs under AddressSanitizer: such a build is several
// times slower, so the tests allow it longer and the benchmarks' smoke runs
// do less.

namespace test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitizedBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitizedBuild = true;
#else
inline constexpr bool kSanitizedBuild = false;
#endif
#else
inline constexpr bool kSanitizedBuild = false;
#endif

} // namespace test
