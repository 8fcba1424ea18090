#include "world/world_services.h"

#include <mutex>

#include "core/main_window_handle.h"
#include "core/message_box.h"
#include "core/sound_request.h"
#include "data/ed_save_data.h"
#include "platform/clock.h"

namespace {

cWorldServices g_LiveServices;
cWorldServices* g_Services = nullptr;

std::mutex g_HooksMutex;
LiveServiceHooks g_Hooks;

LiveServiceHooks Hooks()
{
    std::lock_guard lock(g_HooksMutex);
    return g_Hooks;
}

} // namespace

void cWorldServices::PlaySe(std::uint32_t slot)
{
    SendSeRequest(slot);
}

void cWorldServices::PlayMusic(std::int32_t number)
{
    const LiveServiceHooks hooks = Hooks();
    if (hooks.playMusic) hooks.playMusic(number);
}

void cWorldServices::ErrorBox(const char* text)
{
    ::ErrBox(text);
}

void cWorldServices::RequestClose()
{
    CloseMainWindow();
}

std::uint32_t cWorldServices::NowMs()
{
    const LiveServiceHooks hooks = Hooks();
    return hooks.nowMs ? hooks.nowMs() : plat::timeMs();
}

int cWorldServices::KeyDown(int vk)
{
    const LiveServiceHooks hooks = Hooks();
    return hooks.keyDown ? hooks.keyDown(vk) : 0;
}

int cWorldServices::CheckReplayKeys()
{
    const LiveServiceHooks hooks = Hooks();
    return hooks.checkReplayKeys ? hooks.checkReplayKeys() : 0;
}

void cWorldServices::RunPauseWait()
{
    const LiveServiceHooks hooks = Hooks();
    if (hooks.runPauseWait) hooks.runPauseWait();
}

cWorldServices& WorldServices()
{
    return g_Services ? *g_Services : g_LiveServices;
}

void SetWorldServices(cWorldServices* services)
{
    g_Services = services;
}

void SetLiveServiceHooks(LiveServiceHooks hooks)
{
    std::lock_guard lock(g_HooksMutex);
    g_Hooks = std::move(hooks);
}

void WorldDataSe(std::int32_t number)
{
    if (number == 0) return;
    WorldServices().PlaySe(static_cast<std::uint32_t>(number + 16));
}

void cRecordingServices::PlaySe(std::uint32_t slot)
{
    m_Sounds.push_back(slot);
}

void cRecordingServices::PlayMusic(std::int32_t number)
{
    m_Music.push_back(number);
    g_Progress.nStageMusic = number;
}

void cRecordingServices::ErrorBox(const char* text)
{
    m_ErrorBoxes.emplace_back(text ? text : "");
}

void cRecordingServices::RequestClose()
{
    ++m_CloseRequests;
}

std::uint32_t cRecordingServices::NowMs()
{
    return m_Clock;
}

int cRecordingServices::KeyDown(int vk)
{
    for (int key : m_KeysDown)
        if (key == vk) return 1;
    return 0;
}

int cRecordingServices::CheckReplayKeys()
{
    return 0;
}

void cRecordingServices::RunPauseWait()
{
    ++m_PauseWaits;
}
