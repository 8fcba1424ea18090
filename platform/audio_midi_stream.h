#pragma once
// A MIDI stream: buffers of timed events are queued by a player and played
// at their times into a synthesiser, inside the mixer. Each buffer holds
// event records of three little-endian 32-bit words {delta in ticks, stream
// id (unused), event}, where the event's top byte gives the kind:
//
//   kMidiEventShort  channel message, status | data1 << 8 | data2 << 16
//   kMidiEventTempo  new tempo, microseconds per quarter note
//   kMidiEventNop    nothing (keeps the time of its delta)
//   kMidiEventLong   the low 24 bits count the parameter bytes that follow
//                    the record (a system-exclusive message), padded to 4
//
// An event with kMidiEventCallback set posts a notice when it is played; a
// thread of the player waits for notices (waitNotice) and refills buffers.
// A stream starts paused at tick 0. Times are kept in frames of the mixer
// (kMixRate), so each event plays at an exact sample position.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/audio_mixer.h"
#include "platform/audio_synth.h"

namespace plat {

inline constexpr std::uint32_t kMidiEventShort = 0x00000000;
inline constexpr std::uint32_t kMidiEventTempo = 0x01000000;
inline constexpr std::uint32_t kMidiEventNop = 0x02000000;
inline constexpr std::uint32_t kMidiEventLong = 0x80000000;
inline constexpr std::uint32_t kMidiEventCallback = 0x40000000;
inline constexpr std::size_t kMidiEventRecordBytes = 12;
inline constexpr std::uint32_t kMidiDefaultTempo = 500000;

// The event that asked for the notice, and the buffer it came from.
struct MidiStreamNotice {
    int buffer = 0;
    std::uint32_t event = 0;
};

enum class MidiStreamResult { Ok, StillQueued, BadBuffer, Closed };
const char* midiStreamResultText(MidiStreamResult result);

class MidiStream final : public AudioSource {
public:
    explicit MidiStream(std::shared_ptr<MidiSynth> synth);
    ~MidiStream() override;
    MidiStream(const MidiStream&) = delete;
    MidiStream& operator=(const MidiStream&) = delete;

    // The file's division: ticks per quarter note, or with the top bit set,
    // SMPTE frames per second (negated, high byte) and ticks per frame.
    void setTimeDivision(std::uint16_t division);

    // Queues a copy of a buffer under the caller's id. Refused while a buffer
    // of that id is still queued, and when the records are malformed.
    MidiStreamResult out(int buffer, std::span<const std::uint8_t> records);
    // Whether the buffer of that id has events left to play.
    bool isQueued(int buffer) const;

    // Plays from where the stream stands.
    void restart();
    // Holds the position; sounding notes are silenced.
    void pause();
    // Silences, drops every queued buffer and pending notice, and goes back to
    // tick 0 at the default tempo, paused.
    void stop();
    bool isRunning() const;

    // Waits for the next notice; false once the stream is closed. The waiting
    // thread calls noticeHandled() after each notice it took.
    bool waitNotice(MidiStreamNotice& notice);
    void noticeHandled();
    // Waits until every notice posted so far has been handled.
    void waitIdle();
    // Ends the stream: waiting threads return, nothing more plays.
    void close();

    void mix(float* out, std::size_t frames) override;

private:
    struct Queued {
        int id = 0;
        std::vector<std::uint8_t> bytes;
        std::size_t offset = 0;
    };

    std::uint64_t frameOfTick(std::uint64_t tick) const;
    void dispatchLocked(std::uint64_t tick);
    void postNotice(const MidiStreamNotice& notice);
    void dropNoticesLocked();

    std::shared_ptr<MidiSynth> synth_;

    mutable std::mutex mutex_; // everything below up to the notices
    std::deque<Queued> queue_;
    bool running_ = false;
    bool closed_ = false;
    std::uint16_t division_ = 96;
    std::uint32_t tempo_ = kMidiDefaultTempo;
    std::uint64_t clock_ = 0;      // frames played since the stream stood at tick 0
    std::uint64_t lastTick_ = 0;   // tick of the last event played
    std::uint64_t anchorTick_ = 0; // tick and frame of the last tempo change
    std::uint64_t anchorFrame_ = 0;

    std::mutex noticeMutex_;
    std::condition_variable noticeCv_;
    std::deque<MidiStreamNotice> notices_;
    int unhandled_ = 0; // posted and not yet handled
    bool noticesClosed_ = false;
};

} // namespace plat
