#include "platform/audio_mixer.h"

#include <algorithm>
#include <cmath>

namespace plat {

float volumeToGain(int hundredthsOfDb)
{
    return static_cast<float>(std::pow(10.0, hundredthsOfDb / 2000.0));
}

std::shared_ptr<SoundBuffer> Mixer::createBuffer(std::shared_ptr<const PcmData> data)
{
    return std::make_shared<SoundBuffer>(std::move(data));
}

std::shared_ptr<SoundBuffer> Mixer::duplicate(const SoundBuffer& original)
{
    std::lock_guard lock(mutex_);
    auto copy = std::make_shared<SoundBuffer>(original.data_);
    copy->volume_ = original.volume_;
    copy->gain_ = original.gain_;
    return copy;
}

void Mixer::play(const std::shared_ptr<SoundBuffer>& buffer)
{
    if (!buffer) {
        return;
    }
    std::lock_guard lock(mutex_);
    buffer->position_ = 0;
    if (!buffer->playing_) {
        buffer->playing_ = true;
        playing_.push_back(buffer);
    }
}

void Mixer::stop(SoundBuffer& buffer)
{
    std::lock_guard lock(mutex_);
    buffer.playing_ = false;
    std::erase_if(playing_, [&](const auto& b) { return b.get() == &buffer; });
}

bool Mixer::isPlaying(const SoundBuffer& buffer) const
{
    std::lock_guard lock(mutex_);
    return buffer.playing_;
}

void Mixer::setVolume(SoundBuffer& buffer, int hundredthsOfDb)
{
    const float gain = volumeToGain(hundredthsOfDb);
    std::lock_guard lock(mutex_);
    buffer.volume_ = hundredthsOfDb;
    buffer.gain_ = gain;
}

int Mixer::volume(const SoundBuffer& buffer) const
{
    std::lock_guard lock(mutex_);
    return buffer.volume_;
}

void Mixer::stopAll()
{
    std::lock_guard lock(mutex_);
    for (auto& buffer : playing_) {
        buffer->playing_ = false;
    }
    playing_.clear();
}

void Mixer::addSource(std::shared_ptr<AudioSource> source)
{
    if (!source) {
        return;
    }
    std::lock_guard lock(mutex_);
    sources_.push_back(std::move(source));
}

void Mixer::removeSource(const AudioSource* source)
{
    std::lock_guard lock(mutex_);
    std::erase_if(sources_, [&](const auto& s) { return s.get() == source; });
}

void Mixer::render(float* out, std::size_t frames)
{
    std::fill(out, out + frames * kMixChannels, 0.0f);
    std::lock_guard lock(mutex_);
    for (auto& buffer : playing_) {
        const auto& samples = buffer->data_->samples;
        const std::size_t total = buffer->data_->frames();
        const std::size_t count = std::min(frames, total - std::min(total, buffer->position_));
        const float* in = samples.data() + buffer->position_ * kMixChannels;
        const float gain = buffer->gain_;
        for (std::size_t i = 0; i < count * kMixChannels; ++i) {
            out[i] += in[i] * gain;
        }
        buffer->position_ += count;
        if (buffer->position_ >= total) {
            buffer->playing_ = false;
        }
    }
    std::erase_if(playing_, [](const auto& b) { return !b->playing_; });
    for (auto& source : sources_) {
        source->mix(out, frames);
    }
}

void Mixer::renderS16(std::int16_t* out, std::size_t frames)
{
    thread_local std::vector<float> scratch;
    scratch.resize(frames * kMixChannels);
    render(scratch.data(), frames);
    for (std::size_t i = 0; i < frames * kMixChannels; ++i) {
        const float v = std::clamp(scratch[i], -1.0f, 1.0f);
        out[i] = static_cast<std::int16_t>(std::lround(v * 32767.0f));
    }
}

std::shared_ptr<Mixer> sharedAudioMixer()
{
    static const auto mixer = std::make_shared<Mixer>();
    return mixer;
}

Mixer& audioMixer()
{
    static Mixer& mixer = *sharedAudioMixer();
    return mixer;
}

} // namespace plat
