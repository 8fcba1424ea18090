#include "platform/close_signals.h"

#include <SDL.h>

#include <csignal>
#include <iterator>

namespace plat {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};

// Written by the handler, which may do nothing else safely.
volatile std::sig_atomic_t g_Signalled = 0;

struct sigaction g_Previous[sizeof kSignals / sizeof kSignals[0]];

extern "C" void noteClose(int)
{
    g_Signalled = 1;
}

} // namespace

CloseSignals::CloseSignals()
{
    g_Signalled = 0;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = noteClose;
    sigemptyset(&action.sa_mask);
    // Calls cut short by the signal go on: the pump acts on it in its time.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &action, &g_Previous[i]);
}

CloseSignals::~CloseSignals()
{
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &g_Previous[i], nullptr);
}

bool closeSignalled()
{
    return g_Signalled != 0;
}

bool takeCloseSignal()
{
    if (!g_Signalled) return false;
    g_Signalled = 0;
    return true;
}

} // namespace plat
