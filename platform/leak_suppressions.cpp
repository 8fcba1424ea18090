// The leak checker of sanitized builds (tests, fuzzing) is told of memory
// that system libraries lose on their own and never give back: fontconfig
// while reading its configuration, and D-Bus, which SDL's X11 video opens.

#include "platform/leak_suppressions.h"

void plat::useLeakSuppressions()
{
}

#if defined(__SANITIZE_ADDRESS__)
#define RT_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RT_LEAK_CHECKED 1
#endif
#endif

#ifdef RT_LEAK_CHECKED
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n";
}
#endif
