// Finding the soundfont, and FluidSynth playing through it.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/audio_synth.h"
#include "support/temp_dir.h"

namespace {

using plat::findSoundFont;
namespace fs = std::filesystem;

struct SoundFontCase {
    const char* name;
    std::vector<std::string> gameFiles;   // in the game folder
    std::vector<std::string> systemFiles; // "<folder index>/<name>"
    std::string expected;                 // "game/<name>", "<folder index>/<name>" or ""
};

void PrintTo(const SoundFontCase& c, std::ostream* os)
{
    *os << c.name;
}

class SoundFontSearch : public ::testing::TestWithParam<SoundFontCase> {};

TEST_P(SoundFontSearch, TakesTheGameFolderFirstThenTheSystemDefaults)
{
    const auto& c = GetParam();
    test::TempDir dir;
    for (const auto& f : c.gameFiles) {
        dir.write("game/" + f, "RIFF");
    }
    fs::create_directories(dir / "game");
    std::vector<fs::path> folders{dir / "0", dir / "1"};
    for (const auto& f : c.systemFiles) {
        dir.write(f, "RIFF");
    }
    auto found = findSoundFont(dir / "game", folders);
    if (c.expected.empty()) {
        EXPECT_FALSE(found.has_value());
    } else {
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(*found, dir / c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SoundFontSearch,
    ::testing::Values(
        SoundFontCase{"GameFolderWins", {"mine.sf2"}, {"0/default-GM.sf2"}, "game/mine.sf2"},
        SoundFontCase{"AnyCaseOfTheExtension", {"Music.SF2", "readme.txt"}, {}, "game/Music.SF2"},
        SoundFontCase{"FirstByName", {"b.sf2", "a.sf2"}, {}, "game/a.sf2"},
        SoundFontCase{
            "OnlySoundFontsCount", {"song.mid", "sf2"}, {"1/TimGM6mb.sf2"}, "1/TimGM6mb.sf2"},
        SoundFontCase{
            "DefaultsBeforeOthers", {}, {"0/aaa.sf2", "1/FluidR3_GM.sf2"}, "1/FluidR3_GM.sf2"},
        SoundFontCase{"AnyWhenNoDefault", {}, {"1/zzz.sf2", "1/piano.sf2"}, "1/piano.sf2"},
        SoundFontCase{"NoneAnywhere", {"readme.txt"}, {"0/notes.txt"}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SoundFontSearchFolders, MissingFoldersAreNoError)
{
    std::vector<fs::path> folders{"/nonexistent/one", "/nonexistent/two"};
    EXPECT_FALSE(findSoundFont("/nonexistent/game", folders).has_value());
}

float peak(const std::vector<float>& samples)
{
    float p = 0;
    for (float v : samples) {
        p = std::max(p, std::fabs(v));
    }
    return p;
}

TEST(FluidSynth, WithoutASoundFontIsSilent)
{
    test::TempDir dir;
    dir.write("broken.sf2", "not a soundfont");
    for (const auto& font :
         {std::optional<fs::path>{}, std::optional<fs::path>{dir / "broken.sf2"}}) {
        std::string loaded = "x";
        auto synth = plat::makeFluidMidiSynth(font, loaded);
        EXPECT_TRUE(loaded.empty());
        synth->shortMessage(0x7F3C90);
        std::vector<float> out(2048 * 2, 0.0f);
        synth->render(out.data(), 2048);
        EXPECT_EQ(peak(out), 0.0f);
    }
}

TEST(FluidSynth, PlaysNotesThroughTheSystemSoundFont)
{
    auto font = findSoundFont("/nonexistent", plat::systemSoundFontFolders());
    if (!font) {
        GTEST_SKIP() << "no General MIDI soundfont installed";
    }
    std::string loaded;
    auto synth = plat::makeFluidMidiSynth(font, loaded);
    ASSERT_EQ(loaded, font->string());
    std::vector<float> out(4096 * 2, 0.0f);
    synth->render(out.data(), 4096);
    EXPECT_LT(peak(out), 1e-4f) << "silent before the first note";

    synth->shortMessage(0x00C0);   // piano
    synth->shortMessage(0x7F3C90); // middle C, full velocity
    std::fill(out.begin(), out.end(), 0.0f);
    synth->render(out.data(), 4096);
    EXPECT_GT(peak(out), 0.01f);

    // Rendering adds to what is there.
    std::vector<float> twice(out.size(), 1.0f);
    synth->allSoundOff();
    synth->render(twice.data(), 4096);
    EXPECT_NEAR(twice[100], 1.0f, 0.05f);
}

} // namespace
