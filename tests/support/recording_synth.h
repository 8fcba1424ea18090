#pragma once
// A MIDI synthesiser for tests: it renders a constant level while any note
// sounds (so the mix shows when music plays) and records every message with
// the frame at which it arrived, counted from the synthesiser's creation.

#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

#include "platform/audio_synth.h"

namespace test {

struct SynthEvent {
    std::uint64_t frame = 0;
    std::vector<std::uint8_t> bytes; // status and data, or the whole sysex
    bool operator==(const SynthEvent&) const = default;
};

class RecordingSynth : public plat::MidiSynth {
public:
    void shortMessage(std::uint32_t message) override
    {
        std::lock_guard lock(mutex_);
        const auto status = static_cast<std::uint8_t>(message & 0xFF);
        std::vector<std::uint8_t> bytes{status, static_cast<std::uint8_t>((message >> 8) & 0xFF)};
        if ((status & 0xE0) != 0xC0) {
            bytes.push_back(static_cast<std::uint8_t>((message >> 16) & 0xFF));
        }
        events_.push_back({frame_, std::move(bytes)});
        if ((status & 0xF0) == 0x90 && ((message >> 16) & 0x7F) != 0) {
            ++sounding_;
        } else if (((status & 0xF0) == 0x80 || (status & 0xF0) == 0x90) && sounding_ > 0) {
            --sounding_;
        }
    }
    void systemExclusive(std::span<const std::uint8_t> message) override
    {
        std::lock_guard lock(mutex_);
        events_.push_back({frame_, {message.begin(), message.end()}});
    }
    void allSoundOff() override
    {
        std::lock_guard lock(mutex_);
        ++soundOffs_;
        sounding_ = 0;
    }
    void render(float* out, std::size_t frames) override
    {
        std::lock_guard lock(mutex_);
        if (sounding_ > 0) {
            for (std::size_t i = 0; i < frames * 2; ++i) {
                out[i] += kLevel;
            }
        }
        frame_ += frames;
    }

    std::vector<SynthEvent> events() const
    {
        std::lock_guard lock(mutex_);
        return events_;
    }
    void clearEvents()
    {
        std::lock_guard lock(mutex_);
        events_.clear();
    }
    std::uint64_t frame() const
    {
        std::lock_guard lock(mutex_);
        return frame_;
    }
    int soundOffs() const
    {
        std::lock_guard lock(mutex_);
        return soundOffs_;
    }

    static constexpr float kLevel = 0.25f;

private:
    mutable std::mutex mutex_;
    std::vector<SynthEvent> events_;
    std::uint64_t frame_ = 0;
    int sounding_ = 0;
    int soundOffs_ = 0;
};

} // namespace test
