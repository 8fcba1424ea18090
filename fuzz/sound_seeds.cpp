// Writes the seed files of the sound fuzz targets into a folder:
//
//     sound_seeds wave|midi <folder>
//
// The seeds are small valid files of each layout the readers take.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/sound_fixtures.h"

namespace {

bool writeSeed(const std::filesystem::path& folder, const std::string& name,
               const test::Bytes& bytes)
{
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool waveSeeds(const std::filesystem::path& folder)
{
    using test::riffChunk;
    using test::WavLayout;
    const test::Bytes samples{0x80, 0x90, 0xA0, 0x70, 0x60, 0x50, 0x40, 0x30};
    return writeSeed(folder, "mono8.wav", test::wavFile(WavLayout{1, 1, 22050, 8, 16}, samples)) &&
           writeSeed(folder, "stereo16.wav",
                     test::wavFile(WavLayout{1, 2, 44100, 16, 18}, samples)) &&
           writeSeed(folder, "chunks.wav",
                     test::wavFile({riffChunk("LIST", test::Bytes(5, 'x')),
                                    riffChunk("fmt ", test::wavFormat({1, 1, 8000, 16, 20})),
                                    riffChunk("data", samples)}));
}

bool midiSeeds(const std::filesystem::path& folder)
{
    test::SmfTrack conductor;
    conductor.tempo(0, 500000).meta(0, 0x03, {'s', 'e', 'e', 'd'}).tempo(192, 400000).end(0);
    test::SmfTrack melody;
    melody.event(0, {0xC0, 0x10})
        .event(0, {0x90, 60, 100})
        .event(96, {62, 100}) // running status
        .event(0, {0xB0, 7, 90})
        .event(48, {0xE0, 0x00, 0x40})
        .sysex(0, 0xF0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
        .event(48, {0x80, 60, 0})
        .end(96);
    test::SmfTrack single;
    single.event(0, {0x90, 64, 80}).event(96, {0x80, 64, 0}).end(0);
    // System common and real-time messages between running-status notes.
    test::SmfTrack system;
    system.event(0, {0x90, 60, 100})
        .event(10, {0xF1, 0x12})
        .event(0, {62, 100})
        .event(5, {0xF2, 0x01, 0x02})
        .event(0, {0xF3, 0x05})
        .event(0, {0xF6})
        .event(0, {0xF8})
        .event(5, {64, 90})
        .end(0);
    // Chunks of other types before, between and after the tracks.
    test::Bytes chunks = test::smfHeader(1, 2, 96);
    for (const test::Bytes& chunk :
         {test::smfChunk("XFIH", {1, 2, 3}), test::smfChunk("MTrk", single.bytes),
          test::smfChunk("abcd", {}), test::smfChunk("MTrk", system.bytes),
          test::smfChunk("XFKM", {4})}) {
        chunks.insert(chunks.end(), chunk.begin(), chunk.end());
    }
    return writeSeed(folder, "format1.mid", test::smfFile(1, 96, {conductor, melody})) &&
           writeSeed(folder, "format0.mid", test::smfFile(0, 480, {single})) &&
           writeSeed(folder, "smpte.mid", test::smfFile(0, 0xE728, {single})) &&
           writeSeed(folder, "system.mid", test::smfFile(0, 96, {system})) &&
           writeSeed(folder, "chunks.mid", chunks);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s wave|midi folder\n", argv[0]);
        return 2;
    }
    const std::string kind = argv[1];
    const std::filesystem::path folder = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const bool ok = kind == "wave" ? waveSeeds(folder) : kind == "midi" ? midiSeeds(folder) : false;
    if (!ok) {
        std::fprintf(stderr, "could not write the %s seeds into %s\n", argv[1], argv[2]);
        return 1;
    }
    return 0;
}
