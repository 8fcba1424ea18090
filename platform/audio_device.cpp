#include "platform/audio_device.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>

#include "platform/audio_mixer.h"

namespace plat {

namespace {

std::mutex g_deviceMutex;
SDL_AudioDeviceID g_device = 0;
AudioDeviceState g_state = AudioDeviceState::Closed;
std::atomic<bool> g_manual{false};

void SDLCALL renderCallback(void*, Uint8* stream, int len)
{
    const auto frames = static_cast<std::size_t>(len) / (sizeof(std::int16_t) * kMixChannels);
    audioMixer().renderS16(reinterpret_cast<std::int16_t*>(stream), frames);
}

// While it lives, what the process writes to stderr is dropped. The sound
// libraries that SDL tries write their failures straight there (ALSA's eight
// lines when the machine has no sound card); the caller says once, in the
// run report, that the game goes on without sound.
class QuietStderr {
public:
    QuietStderr()
    {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
        if (null >= 0) ::close(null);
    }
    ~QuietStderr()
    {
        std::fflush(stderr);
        if (saved_ < 0) return;
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved_ = -1;
};

} // namespace

AudioDeviceState openAudioDevice()
{
    std::lock_guard lock(g_deviceMutex);
    if (g_state != AudioDeviceState::Closed) {
        return g_state;
    }
    if (g_manual) {
        g_state = AudioDeviceState::Manual;
        return g_state;
    }
    g_state = AudioDeviceState::Silent;
    const QuietStderr quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return g_state;
    }
    SDL_AudioSpec want{};
    want.freq = kMixRate;
    want.format = AUDIO_S16SYS;
    want.channels = kMixChannels;
    want.samples = 1024;
    want.callback = renderCallback;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    g_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (g_device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return g_state;
    }
    SDL_PauseAudioDevice(g_device, 0);
    g_state = AudioDeviceState::Open;
    return g_state;
}

void closeAudioDevice()
{
    std::lock_guard lock(g_deviceMutex);
    if (g_device != 0) {
        SDL_CloseAudioDevice(g_device);
        g_device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_state = AudioDeviceState::Closed;
}

AudioDeviceState audioDeviceState()
{
    std::lock_guard lock(g_deviceMutex);
    return g_state;
}

void setManualAudioRendering(bool manual)
{
    g_manual = manual;
}

} // namespace plat
