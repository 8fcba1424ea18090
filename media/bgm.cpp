#include "media/bgm.h"

#include <cstring>
#include <string>

#include "core/err_log.h"
#include "core/path.h"
#include "core/sjis_text.h"
#include "platform/audio_synth.h"

cBgm g_Bgm;

namespace {

enum BgmType { kTypeUnknown = 0, kTypeOgg = 1, kTypeMidi = 2 };

// Copies text into a row of `size` bytes; false (and the row emptied) when
// it does not fit with its terminator.
bool copyRow(char* row, std::size_t size, const std::string& text)
{
    if (text.size() + 1 > size) {
        row[0] = '\0';
        return false;
    }
    std::memcpy(row, text.c_str(), text.size() + 1);
    return true;
}

} // namespace

int cBgm::Init(int channels, OggNames oggNames, MidiNames midiNames, int n)
{
    std::lock_guard lock(m_Lock);
    m_Initialised = 1;
    m_MidiSet.Clear();
    m_OggNames = nullptr;
    m_MidiNames = nullptr;
    m_Types.clear();
    m_BackEnds.clear();
    if (!m_Vox.Init()) {
        ErrLogF("%s", Sjis("m_Vox.Init失敗！"));
        return 0;
    }
    // The synthesiser and its soundfont are made now rather than at the
    // first MIDI request.
    plat::sharedMidiSynth();
    SetChannels(channels);
    if (oggNames && midiNames && n > 0) {
        m_OggNames = oggNames;
        m_MidiNames = midiNames;
        m_Types.assign(static_cast<std::size_t>(n), kTypeUnknown);
    }
    return 1;
}

int cBgm::SetChannels(int channels)
{
    std::lock_guard lock(m_Lock);
    const int count = channels < 0 ? 0 : channels;
    m_MidiSet.Resize(count);
    m_Vox.Create(count);
    m_BackEnds.assign(static_cast<std::size_t>(count), 0);
    return 1;
}

bool cBgm::TablesReady() const
{
    return m_OggNames && m_MidiNames && !m_Types.empty();
}

int cBgm::Register(int number, const char* path)
{
    std::lock_guard lock(m_Lock);
    if (!m_Initialised || !TablesReady() || number < 0 ||
        static_cast<std::size_t>(number) >= m_Types.size()) {
        return 0;
    }
    const auto row = static_cast<std::size_t>(number);
    char* oggName = m_OggNames[row];
    char* midiName = m_MidiNames[row];
    const std::string text = path ? path : "";
    m_Types[row] = kTypeUnknown;
    std::string ext;
    if (!PathGetExt(ext, text)) {
        oggName[0] = midiName[0] = '\0';
        return 0;
    }
    if (ext == "mid" || ext == "MID") {
        std::string midi;
        PathReplaceExt(midi, text, "mid");
        if (midi.empty() || !copyRow(midiName, kBgmMidiNameBytes, midi)) {
            return 0;
        }
        m_Types[row] = kTypeMidi;
        return 1;
    }
    if (ext == "ogg" || ext == "OGG") {
        if (!copyRow(oggName, kBgmOggNameBytes, text)) {
            return 0;
        }
        m_Types[row] = kTypeOgg;
        return 1;
    }
    copyRow(oggName, kBgmOggNameBytes, text);
    copyRow(midiName, kBgmMidiNameBytes, text);
    return 0;
}

int cBgm::Play(int channel, int number, int loop, int pauseOther, int force)
{
    std::lock_guard lock(m_Lock);
    if (!m_Initialised || (number == m_Current && !force)) {
        return 1;
    }
    if (!TablesReady() || number < 0 || static_cast<std::size_t>(number) >= m_Types.size() ||
        channel < 0 || static_cast<std::size_t>(channel) >= m_BackEnds.size()) {
        return 0;
    }
    const auto row = static_cast<std::size_t>(number);
    const int type = m_Types[row];
    int& backEnd = m_BackEnds[static_cast<std::size_t>(channel)];
    m_Current = number;
    // A file of unknown kind is tried as Ogg first (the MIDI player may then
    // only pause, when asked to), then as MIDI.
    if ((type == kTypeOgg || type == kTypeUnknown) && m_Vox.Play(channel, m_OggNames[row], loop)) {
        backEnd = kTypeOgg;
        m_MidiSet.StopAll(type == kTypeUnknown && pauseOther ? 1 : 0);
        return 1;
    }
    if ((type == kTypeMidi || type == kTypeUnknown) &&
        m_MidiSet.Play(channel, m_MidiNames[row], loop)) {
        backEnd = kTypeMidi;
        m_Vox.Stop();
        return 1;
    }
    backEnd = 0;
    m_Current = -1;
    m_Vox.Stop();
    m_MidiSet.StopAll(0);
    return 0;
}

void cBgm::Stop()
{
    std::lock_guard lock(m_Lock);
    if (!m_Initialised) {
        return;
    }
    m_MidiSet.StopAll(0);
    m_Vox.Stop();
}

void cBgm::Release()
{
    std::lock_guard lock(m_Lock);
    m_Vox.Release();
    m_MidiSet.Clear();
    m_BackEnds.clear();
    m_Initialised = 0;
}

int cBgm::Current() const
{
    std::lock_guard lock(m_Lock);
    return m_Current;
}

int cBgm::Type(int number) const
{
    std::lock_guard lock(m_Lock);
    if (number < 0 || static_cast<std::size_t>(number) >= m_Types.size()) {
        return 0;
    }
    return m_Types[static_cast<std::size_t>(number)];
}
