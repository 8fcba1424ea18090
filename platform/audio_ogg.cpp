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

int seekMemory(void* source, ogg_int64_t offset, int whence)
{
    auto* m = static_cast<MemorySource*>(source);
    ogg_int64_t base = 0;
    if (whence == SEEK_CUR) {
        base = static_cast<ogg_int64_t>(m->pos);
    } else if (whence == SEEK_END) {
        base = static_cast<ogg_int64_t>(m->bytes.size());
    } else if (whence != SEEK_SET) {
        return -1;
    }
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(m->bytes.size())) {
        return -1;
    }
    m->pos = static_cast<std::size_t>(target);
    return 0;
}

long tellMemory(void* source)
{
    return static_cast<long>(static_cast<MemorySource*>(source)->pos);
}

// Decoding steps allowed per mixed block before a stream that yields no
// samples (holes only, or an empty loop) is given up.
constexpr int kMaxEmptyReads = 64;
constexpr int kMaxRate = 1000000;

// Whether a (logical) stream's header describes audio the player can take.
bool isPlayable(const vorbis_info* info)
{
    return info && info->channels >= 1 && info->rate >= 1 && info->rate <= kMaxRate;
}

} // namespace

struct OggPlayer::Decoder {
    MemorySource source;
    OggVorbis_File file{};
    bool open = false;
    int rate = 0;
    LinearResampler resampler;
    bool producedSinceRewind = false;

    ~Decoder()
    {
        if (open) {
            ov_clear(&file);
        }
    }
};

OggPlayer::OggPlayer() = default;

OggPlayer::~OggPlayer() = default;

bool OggPlayer::load(std::vector<std::uint8_t> bytes)
{
    auto decoder = std::make_shared<Decoder>();
    decoder->source.bytes = std::move(bytes);
    const ov_callbacks callbacks{readMemory, seekMemory, nullptr, tellMemory};
    if (ov_open_callbacks(&decoder->source, &decoder->file, nullptr, 0, callbacks) != 0) {
        close();
        return false;
    }
    decoder->open = true;
    const vorbis_info* info = ov_info(&decoder->file, -1);
    if (!isPlayable(info)) {
        close();
        return false;
    }
    decoder->rate = static_cast<int>(info->rate);
    decoder->resampler.setRates(decoder->rate, kMixRate);

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
    ov_pcm_seek(&decoder_->file, 0);
    decoder_->resampler.reset();
    decoder_->producedSinceRewind = false;
    pending_.clear();
    pendingPos_ = 0;
}

bool OggPlayer::decodeMoreLocked()
{
    Decoder& d = *decoder_;
    for (int tries = 0; tries < kMaxEmptyReads; ++tries) {
        float** pcm = nullptr;
        int section = 0;
        const long got = ov_read_float(&d.file, &pcm, 1024, &section);
        if (got > 0) {
            const vorbis_info* info = ov_info(&d.file, section);
            if (!isPlayable(info)) {
                return false;
            }
            if (info->rate != d.rate) {
                d.rate = static_cast<int>(info->rate);
                d.resampler.setRates(d.rate, kMixRate);
            }
            // Vorbis orders three, five and six channels left, centre, right.
            const int channels = info->channels;
            const int right = channels == 1 ? 0 : (channels == 3 || channels >= 5) ? 2 : 1;
            std::vector<float> stereo(static_cast<std::size_t>(got) * 2);
            for (long i = 0; i < got; ++i) {
                stereo[static_cast<std::size_t>(i) * 2] = pcm[0][i];
                stereo[static_cast<std::size_t>(i) * 2 + 1] = pcm[right][i];
            }
            pending_.erase(pending_.begin(),
                           pending_.begin() + static_cast<std::ptrdiff_t>(pendingPos_));
            pendingPos_ = 0;
            d.resampler.process(stereo, pending_);
            d.producedSinceRewind = true;
            if (pending_.size() > pendingPos_) {
                return true;
            }
            continue;
        }
        if (got == OV_HOLE) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        // The end of the stream: play again when asked to, unless the whole
        // stream gave nothing (looping it would never yield a sample).
        if (loopsLeft_ == 0 || !d.producedSinceRewind) {
            return false;
        }
        if (loopsLeft_ != kOggLoopForever) {
            --loopsLeft_;
        }
        if (ov_pcm_seek(&d.file, 0) != 0) {
            return false;
        }
        d.producedSinceRewind = false;
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
