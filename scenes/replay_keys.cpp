#include "scenes/replay_keys.h"

#include "core/request.h"
#include "core/request_messages.h"
#include "core/sound_request.h"
#include "data/ed_stage.h"
#include "data/ed_system.h"
#include "data/replay_log.h"
#include "platform/input.h"
#include "scenes/scene_mgr.h"

namespace {

// Calls of CheckReplayKeys left before the warning may sound again.
int g_WarningCooldown = 0;

constexpr std::uint32_t kSaveSound = 1;
constexpr std::uint32_t kWarningSound = 3;

} // namespace

int CheckReplayKeys()
{
    if (g_SceneMgr.g_PlayMode == PLAYMODE_REPLAY || g_System.bRecordReplay == 0) return 0;
    if (g_WarningCooldown > 0) --g_WarningCooldown;
    std::uintptr_t which;
    const cReplayLog* log;
    if (plat::keyDown(plat::VK_F1)) {
        which = 0;
        log = &g_ReplayLog;
    } else if (plat::keyDown(plat::VK_F2)) {
        which = 1;
        log = &g_ReplayLog2;
    } else {
        return 0;
    }
    if (!log->CanBeSavedFor(g_Stage.strFileName)) {
        if (g_WarningCooldown <= 0) {
            SendSeRequest(kWarningSound);
            g_WarningCooldown = 60;
        }
        return 0;
    }
    SendSeRequest(kSaveSound);
    SendRequest(UM_SAVEREPLAY, which, 0, &g_RequestDone);
    return 1;
}

int RequestOpenReplay()
{
    if (!SendRequest(UM_OPENREPLAY, 0, 0, &g_RequestDone)) return 0;
    return g_RequestResult != 0 ? 1 : 0;
}

void ResetReplayKeys()
{
    g_WarningCooldown = 0;
}
