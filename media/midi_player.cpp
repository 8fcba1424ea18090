#include "media/midi_player.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/checked_access.h"
#include "core/path.h"
#include "core/report.h"
#include "core/sjis_text.h"
#include "platform/audio_mixer.h"
#include "platform/audio_synth.h"

namespace {

void putLe32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

std::size_t paddedTo4(std::size_t n)
{
    return (n + 3) & ~std::size_t{3};
}

// Without a soundfont MIDI music is silent; the run report says so once.
void reportSilentMidiOnce()
{
    if (plat::takeSilentMidiSynthNotice()) {
        ReportLog("%s", Sjis("Midi SoundFontが見つかりません。MIDIの音楽は鳴りません"));
    }
}

} // namespace

const char* MidiErrorText(plat::MidiStreamResult code)
{
    return plat::midiStreamResultText(code);
}

cMidi::cMidi(const char* path) : cMidiData(path)
{
    if (HasImage()) {
        Open();
    }
}

cMidi::~cMidi()
{
    Close();
}

void cMidi::Open()
{
    std::lock_guard lock(m_Lock);
    if (m_Open || !HasImage()) {
        return;
    }
    reportSilentMidiOnce();
    m_BufIndex = 0;
    for (int i = 0; i < m_BufCount; ++i) {
        m_Headers[i] = MIDIBUFFER{};
        m_Headers[i].lpData.assign(static_cast<std::size_t>(m_BufSize), 0);
        m_Headers[i].dwBufferLength = static_cast<std::uint32_t>(m_BufSize);
        m_Headers[i].dwUser = i;
    }
    m_Stream = std::make_shared<plat::MidiStream>(plat::sharedMidiSynth());
    m_Thread = std::thread(&cMidi::CallbackThread, this);
    m_Stream->setTimeDivision(static_cast<std::uint16_t>((m_Image[12] << 8) | m_Image[13]));
    m_Mixer = plat::sharedAudioMixer();
    m_Mixer->addSource(m_Stream);
    m_Open = true;
    m_ReadOffset = kMidiImageHeaderBytes;
    m_State = 0;
    Out();
}

bool cMidi::AtEnd() const
{
    // The image ends with its one track.
    return m_ReadOffset >= m_Image.size();
}

void cMidi::Out()
{
    std::lock_guard lock(m_Lock);
    if (!m_Open || AtEnd() || m_Stream->isQueued(m_BufIndex)) {
        return;
    }
    MIDIBUFFER& header = m_Headers[m_BufIndex];
    const auto used = static_cast<std::size_t>(
        FillBuffer(std::span<const std::uint8_t>(m_Image).subspan(m_ReadOffset), header));
    // Nothing usable left: the song ends here rather than queueing empty buffers.
    m_ReadOffset = used == 0 ? m_Image.size() : m_ReadOffset + used;
    const auto result = m_Stream->out(
        header.dwUser, std::span<const std::uint8_t>(header.lpData).first(header.dwBytesRecorded));
    if (result != plat::MidiStreamResult::Ok) {
        ReportLog("Midi %s Out %s", m_FileName.c_str(), MidiErrorText(result));
    }
    m_BufIndex = (m_BufIndex + 1) % m_BufCount;
}

int cMidi::FillBuffer(std::span<const std::uint8_t> source, MIDIBUFFER& header)
{
    std::fill(header.lpData.begin(), header.lpData.end(), 0);
    const std::size_t capacity = header.lpData.size();
    std::size_t written = 0;
    std::size_t consumed = 0;
    std::size_t pos = 0;
    std::size_t lastRecord = capacity; // none yet
    std::uint32_t lastEvent = 0;
    std::uint64_t carried = 0; // delta of events not written
    bool ended = false;

    auto writeRecord = [&](std::uint64_t delta, std::uint32_t event) {
        std::uint8_t* r = header.lpData.data() + written;
        putLe32(r, static_cast<std::uint32_t>(std::min<std::uint64_t>(delta, 0xFFFFFFFFu)));
        putLe32(r + 4, 0);
        putLe32(r + 8, event);
        lastRecord = written;
        lastEvent = event;
        written += plat::kMidiEventRecordBytes;
    };

    while (pos < source.size()) {
        std::uint32_t delta = 0;
        const int deltaBytes = ReadVarLen(source.subspan(pos), delta);
        std::size_t p = pos + static_cast<std::size_t>(deltaBytes);
        if (deltaBytes == 0 || p >= source.size()) {
            break;
        }
        const std::uint8_t status = source[p];
        enum class Kind { Short, Tempo, Sysex, End, Skip } kind = Kind::Short;
        std::size_t eventBytes = 0; // status and data
        std::uint32_t length = 0;   // sysex or meta data length
        int lengthBytes = 0;
        if (status == 0xF0 || status == 0xF7) {
            lengthBytes = ReadVarLen(source.subspan(p + 1), length);
            kind = Kind::Sysex;
            eventBytes = 1 + static_cast<std::size_t>(lengthBytes) + length;
        } else if (status == 0xFF) {
            if (source.size() - p < 2) {
                break;
            }
            lengthBytes = ReadVarLen(source.subspan(p + 2), length);
            eventBytes = 2 + static_cast<std::size_t>(lengthBytes) + length;
            const std::uint8_t type = source[p + 1];
            kind = (type == 0x2F && length == 0)   ? Kind::End
                   : (type == 0x51 && length == 3) ? Kind::Tempo
                                                   : Kind::Skip;
        } else {
            eventBytes = (status >= 0xC0 && status <= 0xDF) ? 2 : 3;
        }
        if ((kind == Kind::Sysex || status == 0xFF) && lengthBytes == 0) {
            break;
        }
        if (eventBytes > source.size() - p) {
            break;
        }
        const std::uint64_t totalDelta = carried + delta;
        const std::size_t next = p + eventBytes;

        // A system-exclusive message too long for any buffer is left out (its
        // time carried to the next event) rather than holding up the song.
        const std::size_t sysexParams = paddedTo4(1 + static_cast<std::size_t>(length));
        if (kind == Kind::Sysex && plat::kMidiEventRecordBytes + sysexParams > capacity) {
            kind = Kind::Skip;
        }
        if (kind == Kind::Skip) {
            carried = totalDelta;
            pos = next;
            continue;
        }
        const std::size_t recordBytes =
            plat::kMidiEventRecordBytes + (kind == Kind::Sysex ? sysexParams : 0);
        if (recordBytes > capacity - written) {
            break; // the buffer is full; this event starts the next one
        }
        switch (kind) {
        case Kind::Sysex: {
            writeRecord(totalDelta, plat::kMidiEventLong | (length + 1));
            std::uint8_t* params = header.lpData.data() + written;
            params[0] = status;
            std::memcpy(params + 1, source.data() + p + 1 + lengthBytes, length);
            written += sysexParams;
            break;
        }
        case Kind::Tempo:
            writeRecord(totalDelta,
                        plat::kMidiEventTempo | (static_cast<std::uint32_t>(source[p + 3]) << 16) |
                            (static_cast<std::uint32_t>(source[p + 4]) << 8) | source[p + 5]);
            break;
        case Kind::End:
            writeRecord(totalDelta, kMidiEndOfSongEvent);
            ended = true;
            break;
        default: {
            std::uint32_t message = status | (static_cast<std::uint32_t>(source[p + 1]) << 8);
            if (eventBytes == 3) {
                message |= static_cast<std::uint32_t>(source[p + 2]) << 16;
            }
            writeRecord(totalDelta, plat::kMidiEventShort | message);
            break;
        }
        }
        carried = 0;
        pos = next;
        consumed = pos;
        if (ended) {
            break;
        }
    }
    // Events that are never written at the very end are used up too.
    if (pos >= source.size()) {
        consumed = pos;
    }
    // A buffer that does not end the song calls back when it has played, so
    // that the next one is queued.
    if (!ended && lastRecord < capacity) {
        putLe32(header.lpData.data() + lastRecord + 8, lastEvent | plat::kMidiEventCallback);
    }
    header.dwBytesRecorded = static_cast<std::uint32_t>(written);
    return static_cast<int>(consumed);
}

void cMidi::Play(int loop)
{
    std::lock_guard lock(m_Lock);
    if (!HasImage() || !m_Open) {
        return;
    }
    m_Loop = loop;
    if (m_State == 1) {
        return;
    }
    m_Stream->restart();
    if (m_State == 2) {
        m_State = 1;
        return;
    }
    m_State = 1;
    Out();
}

void cMidi::Stop(int mode)
{
    std::lock_guard lock(m_Lock);
    if (!HasImage() || !m_Open) {
        return;
    }
    if (mode == 0) {
        m_Stream->stop();
        m_State = 0;
        m_ReadOffset = kMidiImageHeaderBytes;
        Out();
    } else if (mode == 1 && m_State == 1) {
        m_Stream->pause();
        m_State = 2;
    }
}

void cMidi::Close()
{
    std::shared_ptr<plat::MidiStream> stream;
    {
        std::lock_guard lock(m_Lock);
        if (!m_Open) {
            return;
        }
        m_Open = false;
        stream = m_Stream;
        stream->close();
    }
    // The thread may be waiting for the lock; it is joined without it.
    if (m_Thread.joinable()) {
        m_Thread.join();
    }
    m_Mixer->removeSource(stream.get());
    std::lock_guard lock(m_Lock);
    for (auto& header : m_Headers) {
        header = MIDIBUFFER{};
    }
    m_State = 0;
}

int cMidi::State() const
{
    std::lock_guard lock(m_Lock);
    return m_State;
}

void cMidi::WaitCallbacks()
{
    std::shared_ptr<plat::MidiStream> stream;
    {
        std::lock_guard lock(m_Lock);
        stream = m_Stream;
    }
    if (stream) {
        stream->waitIdle();
    }
}

void cMidi::CallbackThread()
{
    plat::MidiStreamNotice notice;
    while (m_Stream->waitNotice(notice)) {
        OnCallback(notice);
        m_Stream->noticeHandled();
    }
}

void cMidi::OnCallback(const plat::MidiStreamNotice& notice)
{
    std::lock_guard lock(m_Lock);
    if (!m_Open) {
        return;
    }
    if ((notice.event & 0x00FFFFFFu) == (kMidiEndOfSongEvent & 0x00FFFFFFu)) {
        Stop(0);
        if (m_Loop) {
            Play(1);
        }
    } else if (!AtEnd()) {
        Out();
    }
}

void cMidiSet::StopAll(int mode)
{
    for (auto& player : m_Players) {
        if (player) {
            player->Stop(mode);
        }
    }
}

int cMidiSet::Play(int channel, const char* path, int loop)
{
    StopAll(1);
    for (auto& player : m_Players) {
        player.reset();
    }
    std::string ext;
    if (!path || !PathGetExt(ext, path) || ext != "mid") {
        return 0;
    }
    auto& entry = VecAt(m_Players, channel);
    entry = std::make_shared<cMidi>(path);
    if (!entry->HasImage()) {
        return 0;
    }
    entry->Play(loop);
    return 1;
}

void cMidiSet::Resize(int channels)
{
    m_Players.resize(static_cast<std::size_t>(std::max(channels, 0)));
}

void cMidiSet::Clear()
{
    m_Players.clear();
}

std::shared_ptr<cMidi> cMidiSet::Player(int channel) const
{
    if (channel < 0 || static_cast<std::size_t>(channel) >= m_Players.size()) {
        return nullptr;
    }
    return m_Players[static_cast<std::size_t>(channel)];
}
