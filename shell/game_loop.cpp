#include "shell/game_loop.h"

#include "core/err_log.h"
#include "core/main_window_handle.h"
#include "platform/clock.h"
#include "platform/message_loop.h"
#include "platform/window_messages.h"
#include "scenes/scene_mgr.h"
#include "shell/app_state.h"

namespace {

// While the game has no keyboard the thread looks at its queue this often.
constexpr std::uint32_t kInactivePollMs = 5;

} // namespace

unsigned GameLoop(void*)
{
    for (;;) {
        plat::Message m;
        if (plat::peekMessage(m)) {
            if (m.msg == WM_QUIT) {
                ErrLog("GameLoop WM_QUIT!");
                return 1;
            }
            continue;
        }
        if (!g_AppActive) {
            plat::sleepMs(kInactivePollMs);
            continue;
        }
        if (!StepFrame()) {
            CloseMainWindow();
            return 1;
        }
    }
}
