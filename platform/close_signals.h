#pragma once
// SIGINT and SIGTERM ask the program to close, as the window's close box
// does: the handler only notes the request, and the main thread's event pump
// turns it into the close (see game_window.h). SDL is kept from putting
// handlers of its own in their place.

namespace plat {

// Installs the handlers for as long as the object lives, then puts the
// previous ones back. The program makes one before anything else: a signal
// that arrives earlier ends the process by the default action.
class CloseSignals {
public:
    CloseSignals();
    ~CloseSignals();
    CloseSignals(const CloseSignals&) = delete;
    CloseSignals& operator=(const CloseSignals&) = delete;
};

// Whether a close signal has arrived and not been taken yet.
bool closeSignalled();
// Takes the noted close signal: true when there was one.
bool takeCloseSignal();

} // namespace plat
