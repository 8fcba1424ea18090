#pragma once
// The MIDI stream player: a MIDI file's image (see midi_data.h) packed into
// two buffers of timed events that a MIDI stream plays into the synthesiser.
// A callback thread of the player's own refills a buffer when the stream
// has played it, and at the end of the song stops, or starts again when the
// song loops. The thread ends with its player, and every operation of the
// player, from its owner or from that thread, holds the player's lock.
//
// States: 0 stopped (rewound, first buffer queued), 1 playing, 2 paused.

#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "media/midi_data.h"
#include "platform/audio_midi_stream.h"
#include "platform/audio_mixer.h"

// One buffer of event records.
struct MIDIBUFFER {
    std::vector<std::uint8_t> lpData;
    std::uint32_t dwBufferLength = 0;
    std::uint32_t dwBytesRecorded = 0;
    int dwUser = 0;
};

// The end-of-song record's event: a callback with the short form of FF 2F 00.
inline constexpr std::uint32_t kMidiEndOfSongEvent = 0x40002FFF;

class cMidi : public cMidiData {
public:
    // Loads the file; when it gives an image, opens the stream.
    explicit cMidi(const char* path);
    ~cMidi() override;

    void Open();
    // Queues the next buffer when the song has events left and the buffer
    // to fill is free.
    void Out();
    // Packs events from source into the buffer; returns the image bytes used.
    int FillBuffer(std::span<const std::uint8_t> source, MIDIBUFFER& header);
    // Plays (or resumes after a pause) and remembers the loop flag.
    void Play(int loop);
    // Mode 0 stops and rewinds; mode 1 pauses while playing.
    void Stop(int mode);
    // Ends the stream and the callback thread.
    void Close();

    int State() const;
    // Waits until the callback thread has handled everything the stream has
    // asked of it so far.
    void WaitCallbacks();

private:
    void CallbackThread();
    void OnCallback(const plat::MidiStreamNotice& notice);
    bool AtEnd() const;

    mutable std::recursive_mutex m_Lock;
    std::shared_ptr<plat::Mixer> m_Mixer;
    int m_BufIndex = 0;
    std::shared_ptr<plat::MidiStream> m_Stream;
    MIDIBUFFER m_Headers[2];
    std::uint8_t m_BufCount = 2;
    int m_BufSize = 24000;
    std::size_t m_ReadOffset = kMidiImageHeaderBytes;
    int m_State = 0;
    std::thread m_Thread;
    int m_Loop = 0;
    bool m_Open = false;
};

// The stream's error text for a result of its operations.
const char* MidiErrorText(plat::MidiStreamResult code);

// One MIDI player per channel.
class cMidiSet {
public:
    // Stop (mode 0) or pause (mode 1) every player.
    void StopAll(int mode);
    // Pauses and deletes every player, then plays a ".mid" file on the
    // channel (checked access: a channel that does not exist is reported
    // and channel 0 is used). 0 when the extension is not "mid" or the file
    // gives no image.
    int Play(int channel, const char* path, int loop);
    void Resize(int channels);
    void Clear();
    std::shared_ptr<cMidi> Player(int channel) const;

private:
    std::vector<std::shared_ptr<cMidi>> m_Players;
};
