#pragma once
// An Ogg Vorbis stream played by the mixer, decoded with libvorbisfile from
// the file's bytes in memory as it plays, converted to stereo at the mixer's
// rate. It loops a given number of times or for ever. The stream is only
// ever read front to back: a loop or a rewind opens it again from its bytes,
// and a decode error ends the pass (the damaged stream is not read again).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio_mixer.h"

namespace plat {

inline constexpr int kOggLoopForever = 0x7FFFFFFF;

class OggPlayer final : public AudioSource {
public:
    OggPlayer();
    ~OggPlayer() override;
    OggPlayer(const OggPlayer&) = delete;
    OggPlayer& operator=(const OggPlayer&) = delete;

    // Opens an Ogg Vorbis file from its bytes, stopped at its start. False
    // (and nothing loaded) when the bytes are not a stream it can play.
    bool load(std::vector<std::uint8_t> bytes);
    // Unloads; the player is silent until the next load.
    void close();
    bool isLoaded() const;

    // Plays from where it stands.
    void play();
    // Stops and goes back to the start.
    void stop();
    bool isPlaying() const;
    // Times to play again after the end: 0 once, kOggLoopForever for ever.
    void setLoop(int count);

    void mix(float* out, std::size_t frames) override;

private:
    struct Decoder;
    bool decodeMoreLocked();
    void rewindLocked();

    mutable std::mutex mutex_;
    std::shared_ptr<Decoder> decoder_;
    bool playing_ = false;
    int loops_ = 0;              // repetitions asked for
    int loopsLeft_ = 0;          // repetitions still to play
    std::vector<float> pending_; // converted frames not yet mixed
    std::size_t pendingPos_ = 0;
};

} // namespace plat
