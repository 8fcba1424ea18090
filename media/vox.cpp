#include "media/vox.h"

#include <atomic>

#include "core/message_box.h"
#include "core/sjis_text.h"
#include "platform/audio_mixer.h"
#include "platform/audio_ogg.h"
#include "platform/byte_reader.h"

namespace {

// Music files are read whole; anything larger is not music.
constexpr std::size_t kMaxOggFileBytes = std::size_t{512} << 20;

std::atomic<VoxEntry> g_VoxEntry{&CreateVox};

// The players hand the loop count to the decoder as it is.
static_assert(kVoxLoopForever == plat::kOggLoopForever);

// A player over the platform's Ogg decoder, heard through the mixer for as
// long as it exists.
class OggVoxPlayer final : public IVoxPlayer {
public:
    OggVoxPlayer() { m_Mixer->addSource(m_Ogg); }
    ~OggVoxPlayer() override { m_Mixer->removeSource(m_Ogg.get()); }

    bool Load(const char* path) override
    {
        m_Ogg->close();
        if (!path || !*path) {
            return false;
        }
        auto file = plat::readGameFile(path, kMaxOggFileBytes);
        return file && m_Ogg->load(std::move(file.bytes));
    }
    void Play() override { m_Ogg->play(); }
    void Stop() override { m_Ogg->stop(); }
    void Close() override { m_Ogg->close(); }
    void SetLoop(int count) override { m_Ogg->setLoop(count); }

private:
    std::shared_ptr<plat::Mixer> m_Mixer = plat::sharedAudioMixer();
    std::shared_ptr<plat::OggPlayer> m_Ogg = std::make_shared<plat::OggPlayer>();
};

} // namespace

std::shared_ptr<IVoxPlayer> CreateVox()
{
    return std::make_shared<OggVoxPlayer>();
}

void SetVoxEntry(VoxEntry entry)
{
    g_VoxEntry = entry;
}

int cVox::Init()
{
    m_CreateVox = g_VoxEntry.load();
    if (!m_CreateVox) {
        ErrBox(Sjis("oggの初期化に失敗！"));
        return 0;
    }
    return 1;
}

int cVox::Create(int n)
{
    Stop();
    m_Players.clear();
    m_Count = 0;
    if (!m_CreateVox) {
        return 0;
    }
    for (int i = 0; i < n; ++i) {
        auto player = m_CreateVox();
        if (!player) {
            OutOfMemory();
            return 0;
        }
        m_Players.push_back(std::move(player));
        m_Count = static_cast<int>(m_Players.size());
    }
    return 1;
}

int cVox::Play(int index, const char* path, int loop)
{
    if (!path || !*path) {
        return 0;
    }
    Stop();
    if (index < 0 || index >= m_Count) {
        return 0;
    }
    IVoxPlayer& player = *m_Players[static_cast<std::size_t>(index)];
    player.Close();
    if (!player.Load(path)) {
        m_Current = -1;
        return 0;
    }
    player.SetLoop(loop ? kVoxLoopForever : 0);
    player.Play();
    m_Current = index;
    return 1;
}

void cVox::Stop()
{
    if (m_Current >= 0 && m_Current < m_Count) {
        m_Players[static_cast<std::size_t>(m_Current)]->Stop();
    }
    m_Current = -1;
}

void cVox::Release()
{
    m_Players.clear();
    m_Count = 0;
    m_Current = -1;
    m_CreateVox = nullptr;
}
