#include "media/ds_sound.h"

#include <algorithm>
#include <mutex>

#include "core/err_log.h"
#include "core/report.h"
#include "core/sjis_text.h"
#include "media/ds_wave.h"
#include "platform/audio_device.h"

std::vector<DSSOUNDDATA> g_Sounds;
std::vector<DSSOUNDINFO> g_SoundTable;

namespace {

// Guards the layer's state and every slot's copies and next index. Loading
// calls the public functions from inside, hence recursive. DSUninit releases
// the slots of the vector that DSLoadSounds was given.
std::recursive_mutex g_DSLock;
bool g_DSReady = false;
std::vector<DSSOUNDDATA>* g_DSSoundVec = nullptr;

plat::SoundBuffer* copyAt(DSSOUNDDATA& slot, int copy)
{
    if (copy < 0 || static_cast<std::size_t>(copy) >= slot.lpBuffers.size()) {
        return nullptr;
    }
    return slot.lpBuffers[static_cast<std::size_t>(copy)].get();
}

} // namespace

bool DS_Init(plat::WindowId, int, int, int)
{
    std::lock_guard lock(g_DSLock);
    if (g_DSReady) {
        return true;
    }
    // Without a device the mixer simply is not heard; the game goes on.
    if (plat::openAudioDevice() == plat::AudioDeviceState::Silent)
        Report("no sound device could be opened: the game runs without sound");
    g_DSSoundVec = nullptr;
    g_DSReady = true;
    return true;
}

void DSUninit()
{
    std::lock_guard lock(g_DSLock);
    if (!g_DSReady) {
        return;
    }
    if (g_DSSoundVec) {
        for (auto& slot : *g_DSSoundVec) {
            DSReleaseSound(slot);
        }
    }
    plat::closeAudioDevice();
    g_DSSoundVec = nullptr;
    g_DSReady = false;
}

int DSLoadSounds(std::vector<DSSOUNDDATA>& sounds, std::vector<DSSOUNDINFO>& table, int volume)
{
    std::lock_guard lock(g_DSLock);
    if (!g_DSReady) {
        return 1;
    }
    g_DSSoundVec = &sounds;
    const std::size_t count = std::min(sounds.size(), table.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (!sounds[i].lpBuffers.empty() && sounds[i].lpBuffers[0]) {
            continue;
        }
        const DSSOUNDINFO& entry = table[i];
        DSCreateSound(sounds[i], entry.strFile.c_str(), entry.nCopies,
                      volume != 0 ? volume : entry.nVolume);
    }
    return 1;
}

bool DSCreateSound(DSSOUNDDATA& slot, const char* fileName, int copies, int volume)
{
    std::lock_guard lock(g_DSLock);
    if (!g_DSReady) {
        return false;
    }
    DSReleaseSound(slot);
    slot = DSSOUNDDATA{};
    const int count = std::clamp(copies, 1, kDSMaxCopies);
    std::vector<std::shared_ptr<plat::SoundBuffer>> buffers(static_cast<std::size_t>(count));
    if (!DSCreateBuffer(buffers[0], fileName)) {
        return false;
    }
    for (int i = 1; i < count; ++i) {
        if (!DSDuplicate(buffers[static_cast<std::size_t>(i)], buffers[0])) {
            ErrLogF(Sjis("%sのメモリ共用バッファの生成失敗！"), fileName);
            return false;
        }
    }
    slot.lpBuffers = std::move(buffers);
    slot.nCount = count;
    slot.strName = fileName;
    if (volume != 0) {
        for (int i = 0; i < count; ++i) {
            DSSetVolume(slot, i, volume, false);
        }
    }
    return true;
}

void DSReleaseSound(DSSOUNDDATA& slot)
{
    std::lock_guard lock(g_DSLock);
    // The copies first, then the one they share their samples with.
    for (std::size_t i = slot.lpBuffers.size(); i-- > 0;) {
        if (slot.lpBuffers[i]) {
            plat::audioMixer().stop(*slot.lpBuffers[i]);
            slot.lpBuffers[i].reset();
        }
    }
    slot.lpBuffers.clear();
    slot.nCount = 0;
    slot.nNext = 0;
}

bool DSCreateBuffer(std::shared_ptr<plat::SoundBuffer>& out, const char* fileName)
{
    out.reset();
    DSWAVE wave;
    if (!DSLoadWave(fileName, wave)) {
        ErrLogF(Sjis("%s読み込み失敗！"), fileName ? fileName : "");
        return false;
    }
    auto data = DSWaveToPcm(wave);
    DSFreeWave(wave);
    if (!data) {
        ErrLogF(Sjis("%s生成失敗！"), fileName);
        return false;
    }
    out = plat::audioMixer().createBuffer(std::move(data));
    return true;
}

bool DSDuplicate(std::shared_ptr<plat::SoundBuffer>& out,
                 const std::shared_ptr<plat::SoundBuffer>& original)
{
    out.reset();
    if (!original) {
        return false;
    }
    out = plat::audioMixer().duplicate(*original);
    return true;
}

void DSPlay(DSSOUNDDATA& slot, std::uint32_t)
{
    std::lock_guard lock(g_DSLock);
    if (!g_DSReady || slot.nCount <= 0) {
        return;
    }
    if (slot.nNext < 0 || slot.nNext >= slot.nCount) {
        slot.nNext = 0;
    }
    if (!copyAt(slot, slot.nNext)) {
        return;
    }
    plat::audioMixer().play(slot.lpBuffers[static_cast<std::size_t>(slot.nNext)]);
    slot.nNext = (slot.nNext + 1) % slot.nCount;
}

int DSSetVolume(DSSOUNDDATA& slot, int copy, int volume, bool relative)
{
    std::lock_guard lock(g_DSLock);
    plat::SoundBuffer* buffer = g_DSReady ? copyAt(slot, copy) : nullptr;
    if (!buffer) {
        return 0;
    }
    long long wanted = volume;
    if (relative) {
        wanted += plat::audioMixer().volume(*buffer);
    }
    const int applied = static_cast<int>(std::clamp<long long>(wanted, kDSVolumeMin, kDSVolumeMax));
    plat::audioMixer().setVolume(*buffer, applied);
    return applied;
}

int DSGetVolume(DSSOUNDDATA& slot, int copy)
{
    std::lock_guard lock(g_DSLock);
    plat::SoundBuffer* buffer = g_DSReady ? copyAt(slot, copy) : nullptr;
    return buffer ? plat::audioMixer().volume(*buffer) : 0;
}
