#include "platform/display_loss.h"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace plat {
namespace {

// The guard in force, if any; set and cleared by the thread that runs the
// program.
std::atomic<bool> g_Armed{false};
std::function<void()> g_Ending;

// Xlib's handler of a broken connection, which must not return (Xlib then
// calls exit()). The display is an opaque pointer here.
using IoErrorHandler = int (*)(void* display);
using SetIoErrorHandler = IoErrorHandler (*)(IoErrorHandler handler);

int onDisplayLost(void*)
{
    if (!g_Armed.exchange(false)) return 0;
    if (g_Ending) g_Ending();
    std::fflush(nullptr);
    ::_exit(kDisplayLostStatus);
}

} // namespace

DisplayLossGuard::DisplayLossGuard(std::function<void()> ending)
{
    g_Ending = std::move(ending);
    g_Armed = true;
}

DisplayLossGuard::~DisplayLossGuard()
{
    g_Armed = false;
    g_Ending = nullptr;
}

namespace detail {

void guardDisplayConnection()
{
    // SDL has loaded Xlib for itself; it is looked up, never loaded here.
    void* xlib = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (!xlib) return;
    if (auto set = reinterpret_cast<SetIoErrorHandler>(::dlsym(xlib, "XSetIOErrorHandler")))
        set(onDisplayLost);
    ::dlclose(xlib);
}

} // namespace detail

} // namespace plat
