// Writes the seeds of the Ogg fuzz target into a folder:
//
//     ogg_seeds <folder of the build's tones> <folder>
//
// The build's tones as they are, and streams damaged the ways that files
// met in the wild are: another stream's pages among a stream's own, a
// broken page, a chained stream whose headers are damaged, a stream cut
// short.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/ogg_pages.h"
#include "support/test_data.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

bool writeSeed(const std::filesystem::path& folder, const std::string& name, const Bytes& bytes)
{
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s tones-folder folder\n", argv[0]);
        return 2;
    }
    const std::filesystem::path tones = argv[1];
    const std::filesystem::path folder = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const Bytes stereo = test::readBytes(tones / "tone_stereo_44100.ogg");
    const Bytes mono = test::readBytes(tones / "tone_mono_22050.ogg");
    const Bytes longer = test::readBytes(tones / "tone_stereo_44100_10s.ogg");
    const auto s = test::oggPages(stereo);
    const auto m = test::oggPages(mono);
    const auto l = test::oggPages(longer);
    if (s.size() < 3 || m.size() < 3 || l.size() < 6) {
        std::fprintf(stderr, "the tones in %s are missing or too short\n", argv[1]);
        return 1;
    }
    std::vector<test::OggPage> other;
    for (const auto& page : m) {
        other.push_back(test::changedOggPage(page, {.serial = 2}));
    }
    const bool ok = writeSeed(folder, "stereo.ogg", stereo) &&
                    writeSeed(folder, "mono.ogg", mono) &&
                    writeSeed(folder, "foreign-page.ogg",
                              test::joinOgg({l[0], l[1], test::changedOggPage(l[5], {.serial = 2}),
                                             test::oggPageHeaderOnly(l[3]), l[2]})) &&
                    writeSeed(folder, "chain-bad-header.ogg",
                              test::joinOgg({s[0], s[1], s[2], test::scrambledOggPage(other[0], 7),
                                             other[1], other[2]})) &&
                    writeSeed(folder, "interleaved.ogg",
                              test::joinOgg({s[0], other[0], s[1], other[1], s[2], other[2]})) &&
                    writeSeed(folder, "cut.ogg",
                              test::joinOgg({s[0], s[1], Bytes(s[2].begin(), s[2].begin() + 600)}));
    if (!ok) {
        std::fprintf(stderr, "could not write the seeds into %s\n", argv[2]);
        return 1;
    }
    return 0;
}
