// Writes an Ogg Vorbis file of a sine tone, for the tests and the fuzz seeds
// of the Ogg player:
//
//     ogg_tone_writer <file.ogg> <rate> <channels> <frames> <frequency>
//
// The left channel carries the tone; a second channel carries it at half the
// amplitude, so that a test can tell the channels apart.
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace {

bool writePage(std::FILE* f, const ogg_page& page)
{
    return std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), f) ==
               static_cast<std::size_t>(page.header_len) &&
           std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), f) ==
               static_cast<std::size_t>(page.body_len);
}

long parse(const char* text)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    return (end && *end == '\0') ? value : -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s file.ogg rate channels frames frequency\n", argv[0]);
        return 2;
    }
    const long rate = parse(argv[2]);
    const long channels = parse(argv[3]);
    const long frames = parse(argv[4]);
    const long frequency = parse(argv[5]);
    if (rate < 8000 || channels < 1 || channels > 2 || frames < 0 || frequency < 1) {
        std::fprintf(stderr, "bad arguments\n");
        return 2;
    }

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) {
        std::fprintf(stderr, "encoder set-up failed\n");
        return 1;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        ok = ok && writePage(f, page);
    }

    long written = 0;
    bool ended = false;
    while (!ended) {
        const long n = std::min(1024L, frames - written);
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (long i = 0; i < n; ++i) {
                const double t = static_cast<double>(written + i) / static_cast<double>(rate);
                const float v = static_cast<float>(
                    0.5 * std::sin(2.0 * std::numbers::pi * static_cast<double>(frequency) * t));
                buffer[0][i] = v;
                if (channels == 2) {
                    buffer[1][i] = v * 0.5f;
                }
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            written += n;
        } else {
            vorbis_analysis_wrote(&dsp, 0);
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    ok = ok && writePage(f, page);
                    ended = ended || ogg_page_eos(&page) != 0;
                }
            }
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "writing %s failed\n", argv[1]);
        return 1;
    }
    return 0;
}
