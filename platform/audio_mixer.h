#pragma once
// The mixer behind the one audio device. It plays sound buffers (a sound's
// samples with a volume and a play position, several of which may share the
// same samples) and adds the output of streaming sources (music). Every call
// is thread-safe: sounds are started from the main thread and from the game
// thread while the audio device's thread renders.
//
// Volumes are in hundredths of a decibel: 0 is the sound as recorded,
// -10000 is 100 dB down. The mixer takes any value; callers clamp.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio_pcm.h"

namespace plat {

// A source of streamed audio (music). mix() is called from the rendering
// thread with the mixer locked; a source guards its own state against its
// controlling thread.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    // Adds frames of interleaved stereo to out.
    virtual void mix(float* out, std::size_t frames) = 0;
};

// One playable copy of a sound. Made and driven through the Mixer.
class SoundBuffer {
public:
    explicit SoundBuffer(std::shared_ptr<const PcmData> data) : data_(std::move(data)) {}
    const std::shared_ptr<const PcmData>& data() const { return data_; }

private:
    friend class Mixer;
    std::shared_ptr<const PcmData> data_;
    std::size_t position_ = 0; // next frame to play
    int volume_ = 0;
    float gain_ = 1.0f;
    bool playing_ = false;
};

// The gain factor of a volume in hundredths of a decibel.
float volumeToGain(int hundredthsOfDb);

class Mixer {
public:
    Mixer() = default;
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    // A new buffer over the samples, stopped, at volume 0.
    std::shared_ptr<SoundBuffer> createBuffer(std::shared_ptr<const PcmData> data);
    // A new buffer sharing the samples of another, stopped, at the other's volume.
    std::shared_ptr<SoundBuffer> duplicate(const SoundBuffer& original);

    // Plays the buffer once from its start (a playing buffer restarts).
    void play(const std::shared_ptr<SoundBuffer>& buffer);
    void stop(SoundBuffer& buffer);
    bool isPlaying(const SoundBuffer& buffer) const;
    void setVolume(SoundBuffer& buffer, int hundredthsOfDb);
    int volume(const SoundBuffer& buffer) const;
    // Stops every buffer (sources keep running).
    void stopAll();

    void addSource(std::shared_ptr<AudioSource> source);
    // After this returns the source is no longer called.
    void removeSource(const AudioSource* source);

    // Renders frames of interleaved stereo, overwriting out.
    void render(float* out, std::size_t frames);
    // The same as 16-bit samples, clipped.
    void renderS16(std::int16_t* out, std::size_t frames);

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<SoundBuffer>> playing_;
    std::vector<std::shared_ptr<AudioSource>> sources_;
};

// The process's mixer, which the audio device renders. Objects that still
// talk to it while static objects are destroyed hold the shared pointer.
std::shared_ptr<Mixer> sharedAudioMixer();
Mixer& audioMixer();

} // namespace plat
