#pragma once
// Whether there is a screen to show boxes and dialogs on. Not for use
// outside platform/.

namespace plat::detail {

// No display (no DISPLAY or WAYLAND_DISPLAY), or SDL's dummy or offscreen
// video driver: a box or dialog that nobody answers could never be answered.
bool headless();

} // namespace plat::detail
