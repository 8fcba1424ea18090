#include "platform/audio_ogg.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

#include "platform/audio_pcm.h"

namespace plat {

namespace {

// The file's bytes as libvorbisfile's data source.
struct MemorySource {
    std::vector<std::uint8_t> bytes;
    std::size_t pos = 0;
};

std::size_t readMemory(void* out, std::size_t size, std::size_t count, void* source)
{
    auto* m = static_cast<MemorySource*>(source);
    if (size == 0) {
        return 0;
    }
    const std::size_t items = std::min(count, (m->bytes.size() - m->pos) / size);
    if (items == 0) {
        return 0;
    }
    std::memcpy(out, m->bytes.data() + m->pos, items * size);
    m->pos += items * size;
    return items;
}

// Decoding steps allowed per mixed block before a stream that yields no
// samples (holes only, or an empty loop) is given up.
constexpr int kMaxEmptyReads = 64;
constexpr int kMaxRate = 1000000;

// Whether a stream's (or a section's) layout is one the player can mix.
bool playable(const vorbis_info* info)
{
    return info && info->channels >= 1 && info->rate >= 1 && info->rate <= kMaxRate;
}

} // namespace

// One file's stream. It plays from its bytes front to back and is never
// seeked: the libraries' seeking is not safe on damaged streams, so a
// rewind or a loop closes it and opens it again from the first byte, and a
// stream that reported a decode error is closed and never read again.
struct OggPlayer::Decoder {
    MemorySource source;
    OggVorbis_File file{};
    bool open = false;
    int rate = 0;
    LinearResampler resampler;
    bool producedSinceOpen = false;
    // The decoded block as stereo, kept so that the mixing thread does not
    // allocate for every block.
    std::vector<float> stereo;

    enum class Read { Produced, Nothing, End };

    Decoder() = default;
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;
    ~Decoder() { close(); }

    // Opens the stream at its first byte; false when it cannot be played.
    bool reopen()
    {
        close();
        source.pos = 0;
        const ov_callbacks callbacks{readMemory, nullptr, nullptr, nullptr};
        // A failed open has been cleared by the library already.
        if (ov_open_callbacks(&source, &file, nullptr, 0, callbacks) != 0) {
            return false;
        }
        open = true;
        producedSinceOpen = false;
        const vorbis_info* info = ov_info(&file, -1);
        if (!playable(info)) {
            close();
            return false;
        }
        setRate(static_cast<int>(info->rate));
        return true;
    }

    void close()
    {
        if (open) {
            ov_clear(&file);
            open = false;
        }
    }

    void setRate(int r)
    {
        if (r != rate) {
            rate = r;
            resampler.setRates(rate, kMixRate);
        }
    }

    // Decodes one block and appends it, at the mixer's rate, to out. End
    // closes the stream: its end, a decode error, or a section it cannot play.
    Read read(std::vector<float>& out)
    {
        float** pcm = nullptr;
        int section = 0;
        const long got = ov_read_float(&file, &pcm, 1024, &section);
        if (got == OV_HOLE) {
            return Read::Nothing;
        }
        const vorbis_info* info = got > 0 ? ov_info(&file, section) : nullptr;
        if (!playable(info)) {
            close();
            return Read::End;
        }
        setRate(static_cast<int>(info->rate));
        // Vorbis orders three, five and six channels left, centre, right.
        const int channels = info->channels;
        const int right = channels == 1 ? 0 : (channels == 3 || channels >= 5) ? 2 : 1;
        stereo.resize(static_cast<std::size_t>(got) * 2);
        for (long i = 0; i < got; ++i) {
            stereo[static_cast<std::size_t>(i) * 2] = pcm[0][i];
            stereo[static_cast<std::size_t>(i) * 2 + 1] = pcm[right][i];
        }
        const std::size_t before = out.size();
        resampler.process(stereo, out);
        producedSinceOpen = true;
        return out.size() > before ? Read::Produced : Read::Nothing;
    }
};

OggPlayer::OggPlayer() = default;

OggPlayer::~OggPlayer() = default;

bool OggPlayer::load(std::vector<std::uint8_t> bytes)
{
    close();
    auto decoder = std::make_shared<Decoder>();
    decoder->source.bytes = std::move(bytes);
    if (!decoder->reopen()) {
        return false;
    }
    std::lock_guard lock(mutex_);
    decoder_ = std::move(decoder);
    playing_ = false;
    loopsLeft_ = loops_;
    pending_.clear();
    pendingPos_ = 0;
    return true;
}

void OggPlayer::close()
{
    std::shared_ptr<Decoder> old;
    std::lock_guard lock(mutex_);
    old = std::move(decoder_);
    playing_ = false;
    pending_.clear();
    pendingPos_ = 0;
}

bool OggPlayer::isLoaded() const
{
    std::lock_guard lock(mutex_);
    return decoder_ != nullptr;
}

void OggPlayer::play()
{
    std::lock_guard lock(mutex_);
    playing_ = decoder_ != nullptr;
}

void OggPlayer::stop()
{
    std::lock_guard lock(mutex_);
    playing_ = false;
    if (decoder_) {
        rewindLocked();
    }
    loopsLeft_ = loops_;
}

bool OggPlayer::isPlaying() const
{
    std::lock_guard lock(mutex_);
    return playing_;
}

void OggPlayer::setLoop(int count)
{
    std::lock_guard lock(mutex_);
    loops_ = std::max(count, 0);
    loopsLeft_ = loops_;
}

void OggPlayer::rewindLocked()
{
    decoder_->close();
    decoder_->resampler.reset();
    pending_.clear();
    pendingPos_ = 0;
}

bool OggPlayer::decodeMoreLocked()
{
    Decoder& d = *decoder_;
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pendingPos_));
    pendingPos_ = 0;
    for (int tries = 0; tries < kMaxEmptyReads; ++tries) {
        if (!d.open && !d.reopen()) {
            return false;
        }
        const auto result = d.read(pending_);
        if (result == Decoder::Read::Produced) {
            return true;
        }
        if (result == Decoder::Read::Nothing) {
            continue;
        }
        // The stream ended (or failed, which ends it too): play it again
        // when asked to, unless this pass gave nothing (looping it would
        // never yield a sample).
        if (loopsLeft_ == 0 || !d.producedSinceOpen) {
            return false;
        }
        if (loopsLeft_ != kOggLoopForever) {
            --loopsLeft_;
        }
    }
    return false;
}

void OggPlayer::mix(float* out, std::size_t frames)
{
    std::lock_guard lock(mutex_);
    if (!playing_ || !decoder_) {
        return;
    }
    std::size_t done = 0;
    while (done < frames) {
        if (pendingPos_ >= pending_.size() && !decodeMoreLocked()) {
            // The end: stopped, rewound for the next play.
            playing_ = false;
            rewindLocked();
            loopsLeft_ = loops_;
            return;
        }
        const std::size_t available = (pending_.size() - pendingPos_) / kMixChannels;
        const std::size_t n = std::min(available, frames - done);
        const float* in = pending_.data() + pendingPos_;
        for (std::size_t i = 0; i < n * kMixChannels; ++i) {
            out[done * kMixChannels + i] += in[i];
        }
        pendingPos_ += n * kMixChannels;
        done += n;
    }
}

} // namespace plat
