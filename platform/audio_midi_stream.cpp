#include "platform/audio_midi_stream.h"

#include <algorithm>
#include <limits>

#include "platform/byte_reader.h"

namespace plat {

namespace {

std::uint32_t wordAt(const std::uint8_t* p)
{
    return loadLittleEndian<std::uint32_t>(p);
}

std::size_t paddedTo4(std::size_t n)
{
    return (n + 3) & ~std::size_t{3};
}

// Bytes of the parameters that follow a record, padded.
std::size_t parameterBytes(std::uint32_t event)
{
    return (event & kMidiEventLong) ? paddedTo4(event & 0x00FFFFFFu) : 0;
}

} // namespace

const char* midiStreamResultText(MidiStreamResult result)
{
    switch (result) {
    case MidiStreamResult::Ok:
        return "no error";
    case MidiStreamResult::StillQueued:
        return "the buffer is still queued";
    case MidiStreamResult::BadBuffer:
        return "the buffer holds a malformed event";
    case MidiStreamResult::Closed:
        return "the stream is closed";
    }
    return "unknown error";
}

MidiStream::MidiStream(std::shared_ptr<MidiSynth> synth) : synth_(std::move(synth))
{
}

MidiStream::~MidiStream()
{
    close();
}

void MidiStream::setTimeDivision(std::uint16_t division)
{
    std::lock_guard lock(mutex_);
    division_ = division;
}

MidiStreamResult MidiStream::out(int buffer, std::span<const std::uint8_t> records)
{
    std::size_t pos = 0;
    while (pos < records.size()) {
        if (records.size() - pos < kMidiEventRecordBytes) {
            return MidiStreamResult::BadBuffer;
        }
        const std::uint32_t event = wordAt(records.data() + pos + 8);
        pos += kMidiEventRecordBytes;
        const std::size_t params = parameterBytes(event);
        if (records.size() - pos < params) {
            return MidiStreamResult::BadBuffer;
        }
        pos += params;
    }
    std::lock_guard lock(mutex_);
    if (closed_) {
        return MidiStreamResult::Closed;
    }
    for (const auto& q : queue_) {
        if (q.id == buffer) {
            return MidiStreamResult::StillQueued;
        }
    }
    if (!records.empty()) {
        queue_.push_back(Queued{buffer, {records.begin(), records.end()}, 0});
    }
    return MidiStreamResult::Ok;
}

bool MidiStream::isQueued(int buffer) const
{
    std::lock_guard lock(mutex_);
    return std::any_of(queue_.begin(), queue_.end(),
                       [&](const Queued& q) { return q.id == buffer; });
}

void MidiStream::restart()
{
    std::lock_guard lock(mutex_);
    running_ = !closed_;
}

void MidiStream::pause()
{
    std::lock_guard lock(mutex_);
    running_ = false;
    if (synth_) {
        synth_->allSoundOff();
    }
}

void MidiStream::stop()
{
    std::lock_guard lock(mutex_);
    running_ = false;
    queue_.clear();
    clock_ = 0;
    lastTick_ = 0;
    anchorTick_ = 0;
    anchorFrame_ = 0;
    tempo_ = kMidiDefaultTempo;
    if (synth_) {
        synth_->allSoundOff();
    }
    dropNoticesLocked();
}

bool MidiStream::isRunning() const
{
    std::lock_guard lock(mutex_);
    return running_;
}

bool MidiStream::waitNotice(MidiStreamNotice& notice)
{
    std::unique_lock lock(noticeMutex_);
    noticeCv_.wait(lock, [&] { return noticesClosed_ || !notices_.empty(); });
    if (noticesClosed_) {
        return false;
    }
    notice = notices_.front();
    notices_.pop_front();
    return true;
}

void MidiStream::noticeHandled()
{
    std::lock_guard lock(noticeMutex_);
    if (unhandled_ > 0) {
        --unhandled_;
    }
    noticeCv_.notify_all();
}

void MidiStream::waitIdle()
{
    std::unique_lock lock(noticeMutex_);
    noticeCv_.wait(lock, [&] { return noticesClosed_ || unhandled_ == 0; });
}

void MidiStream::close()
{
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        running_ = false;
        queue_.clear();
    }
    std::lock_guard lock(noticeMutex_);
    noticesClosed_ = true;
    notices_.clear();
    unhandled_ = 0;
    noticeCv_.notify_all();
}

void MidiStream::postNotice(const MidiStreamNotice& notice)
{
    std::lock_guard lock(noticeMutex_);
    if (noticesClosed_) {
        return;
    }
    notices_.push_back(notice);
    ++unhandled_;
    noticeCv_.notify_all();
}

void MidiStream::dropNoticesLocked()
{
    std::lock_guard lock(noticeMutex_);
    unhandled_ -= static_cast<int>(notices_.size());
    notices_.clear();
    noticeCv_.notify_all();
}

std::uint64_t MidiStream::frameOfTick(std::uint64_t tick) const
{
    using Wide = unsigned __int128;
    const Wide ticks = tick - anchorTick_;
    Wide frames = 0;
    if ((division_ & 0x8000) == 0) {
        const Wide perQuarter = division_ == 0 ? 1 : division_;
        frames = ticks * tempo_ * static_cast<Wide>(kMixRate) / (Wide{1000000} * perQuarter);
    } else {
        // SMPTE: frames per second in the high byte (as a negative number),
        // ticks per frame in the low byte. 29 stands for 29.97 (drop frame).
        const int fps = -static_cast<std::int8_t>(division_ >> 8);
        const Wide fps100 = fps == 29 ? 2997 : static_cast<Wide>(fps > 0 ? fps : 30) * 100;
        const Wide perFrame = (division_ & 0xFF) == 0 ? 1 : (division_ & 0xFF);
        frames = ticks * static_cast<Wide>(kMixRate) * 100 / (fps100 * perFrame);
    }
    const Wide result = anchorFrame_ + frames;
    return result > std::numeric_limits<std::uint64_t>::max()
               ? std::numeric_limits<std::uint64_t>::max()
               : static_cast<std::uint64_t>(result);
}

void MidiStream::dispatchLocked(std::uint64_t tick)
{
    Queued& head = queue_.front();
    const std::uint8_t* record = head.bytes.data() + head.offset;
    const std::uint32_t event = wordAt(record + 8);
    const std::size_t params = parameterBytes(event);
    const std::uint32_t type = event & ~kMidiEventCallback & 0xFF000000u;
    const std::uint32_t value = event & 0x00FFFFFFu;

    if (type == kMidiEventShort) {
        if (synth_) {
            synth_->shortMessage(value);
        }
    } else if (type == kMidiEventTempo) {
        anchorFrame_ = frameOfTick(tick);
        anchorTick_ = tick;
        tempo_ = value == 0 ? 1 : value;
    } else if (type == kMidiEventLong) {
        if (synth_) {
            synth_->systemExclusive(
                std::span<const std::uint8_t>(record + kMidiEventRecordBytes, value));
        }
    }
    lastTick_ = tick;

    const MidiStreamNotice notice{head.id, event};
    head.offset += kMidiEventRecordBytes + params;
    // A buffer whose last event has played is done before anyone hears of it,
    // so that the notice's handler may fill it again.
    if (head.offset >= head.bytes.size()) {
        queue_.pop_front();
    }
    if (event & kMidiEventCallback) {
        postNotice(notice);
    }
}

void MidiStream::mix(float* out, std::size_t frames)
{
    std::lock_guard lock(mutex_);
    std::size_t done = 0;
    while (running_ && done < frames) {
        std::size_t span = frames - done;
        if (!queue_.empty()) {
            const Queued& head = queue_.front();
            const std::uint64_t tick = lastTick_ + wordAt(head.bytes.data() + head.offset);
            const std::uint64_t due = frameOfTick(tick);
            if (due <= clock_) {
                dispatchLocked(tick);
                continue;
            }
            span = static_cast<std::size_t>(std::min<std::uint64_t>(span, due - clock_));
        }
        if (synth_) {
            synth_->render(out + done * kMixChannels, span);
        }
        done += span;
        clock_ += span;
    }
    if (done < frames && synth_) {
        synth_->render(out + done * kMixChannels, frames - done);
    }
}

} // namespace plat
