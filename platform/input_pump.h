#pragma once
// The event pump's side of the input devices. Not for use outside platform/.

union SDL_Event;

namespace plat::detail {

// Main thread: opens or closes a controller that was plugged in or pulled out.
void handleDeviceEvent(const SDL_Event& event);
// Main thread: takes a new snapshot of every open controller.
void refreshJoysticks();
// Main thread: closes every controller.
void closeJoysticks();

} // namespace plat::detail

#include <functional>

namespace plat::detail {

// While set, the event pump first offers every event to this function (a
// dialog that runs on the main thread); an event it takes goes no further.
// Returns the one it replaces (a dialog opened from a dialog puts it back).
std::function<bool(const SDL_Event&)>
setEventInterceptor(std::function<bool(const SDL_Event&)> interceptor);

} // namespace plat::detail
