// The music manager: registration by extension inside the caller's tables,
// playing and stopping by number through the Ogg and MIDI back ends, and a
// manager whose set-up failed refusing everything harmlessly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/sjis_text.h"
#include "media/bgm.h"
#include "platform/audio_device.h"
#include "platform/audio_mixer.h"
#include "platform/message_box.h"
#include "platform/window_messages.h"
#include "support/ogg_pages.h"
#include "support/recording_synth.h"
#include "support/report_fixture.h"
#include "support/sound_fixtures.h"
#include "support/temp_dir.h"
#include "support/test_data.h"

namespace {

using test::Bytes;

// An Ogg player that only records what it is asked; paths containing "bad"
// do not load.
struct FakeVoxLog {
    std::vector<std::string> calls;
};
FakeVoxLog g_FakeLog;

class FakeVox : public IVoxPlayer {
public:
    bool Load(const char* path) override
    {
        g_FakeLog.calls.push_back(std::string("Load ") + path);
        return std::strstr(path, "bad") == nullptr;
    }
    void Play() override { g_FakeLog.calls.push_back("Play"); }
    void Stop() override { g_FakeLog.calls.push_back("Stop"); }
    void Close() override { g_FakeLog.calls.push_back("Close"); }
    void SetLoop(int count) override
    {
        g_FakeLog.calls.push_back("SetLoop " + std::to_string(count));
    }
};

std::shared_ptr<IVoxPlayer> makeFakeVox()
{
    return std::make_shared<FakeVox>();
}

std::shared_ptr<IVoxPlayer> makeNoVox()
{
    return nullptr;
}

// Five rows of names between two guard rows that must stay untouched.
struct NameTables {
    char ogg[7][kBgmOggNameBytes];
    char midi[7][kBgmMidiNameBytes];
    NameTables()
    {
        std::memset(ogg, 'G', sizeof ogg);
        std::memset(midi, 'G', sizeof midi);
        for (int i = 1; i <= 5; ++i) {
            ogg[i][0] = midi[i][0] = '\0';
        }
    }
    cBgm::OggNames oggRows() { return &ogg[1]; }
    cBgm::MidiNames midiRows() { return &midi[1]; }
    bool guardsIntact() const
    {
        for (int row : {0, 6}) {
            for (int i = 0; i < kBgmOggNameBytes; ++i) {
                if (ogg[row][i] != 'G') {
                    return false;
                }
            }
            for (int i = 0; i < kBgmMidiNameBytes; ++i) {
                if (midi[row][i] != 'G') {
                    return false;
                }
            }
        }
        return true;
    }
};

class BgmFixture : public test::ReportFixture {
protected:
    NameTables names;
    cBgm bgm;
    std::shared_ptr<test::RecordingSynth> synth = std::make_shared<test::RecordingSynth>();
    std::vector<std::string> boxes;

    void SetUp() override
    {
        test::ReportFixture::SetUp();
        plat::setManualAudioRendering(true);
        plat::setSharedMidiSynth(synth);
        plat::setMessageBoxResponder([this](const plat::BoxRequest& r) {
            boxes.push_back(r.text);
            return IDOK;
        });
        SetVoxEntry(&makeFakeVox);
        g_FakeLog.calls.clear();
    }
    void TearDown() override
    {
        bgm.Release();
        SetVoxEntry(&CreateVox);
        plat::setSharedMidiSynth(nullptr);
        plat::setMessageBoxResponder(nullptr);
        test::ReportFixture::TearDown();
    }
    void init() { ASSERT_EQ(bgm.Init(1, names.oggRows(), names.midiRows(), 5), 1); }
    int loads() const
    {
        int n = 0;
        for (const auto& c : g_FakeLog.calls) {
            n += c.rfind("Load", 0) == 0;
        }
        return n;
    }
};

struct RegisterCase {
    const char* path;
    int result;
    int type;
    const char* oggRow;
    const char* midiRow;
};

TEST_F(BgmFixture, RegistrationTakesTheBackEndFromTheExtension)
{
    init();
    const RegisterCase cases[] = {
        {"bgm\\Title.mid", 1, 2, "", "bgm\\Title.mid"},
        {"bgm\\Boss.MID", 1, 2, "", "bgm\\Boss.mid"},
        {"bgm\\Title.ogg", 1, 1, "bgm\\Title.ogg", ""},
        {"bgm\\Field.OGG", 1, 1, "bgm\\Field.OGG", ""},
        {"bgm\\Mixed.Ogg", 0, 0, "bgm\\Mixed.Ogg", "bgm\\Mixed.Ogg"},
        {"bgm\\Song.wav", 0, 0, "bgm\\Song.wav", "bgm\\Song.wav"},
        {"bgm\\NoExtension", 0, 0, "", ""},
        {"", 0, 0, "", ""},
    };
    for (const auto& c : cases) {
        names = NameTables();
        EXPECT_EQ(bgm.Register(2, c.path), c.result) << c.path;
        EXPECT_EQ(bgm.Type(2), c.type) << c.path;
        EXPECT_STREQ(names.oggRows()[2], c.oggRow) << c.path;
        EXPECT_STREQ(names.midiRows()[2], c.midiRow) << c.path;
    }
    EXPECT_TRUE(names.guardsIntact());
}

TEST_F(BgmFixture, RegistrationNeverWritesOutsideTheTables)
{
    init();
    const std::string longOgg = std::string(300, 'x') + ".ogg";
    const std::string longMid = std::string(261, 'y') + ".MID";
    EXPECT_EQ(bgm.Register(-1, "a.ogg"), 0);
    EXPECT_EQ(bgm.Register(5, "a.ogg"), 0);
    EXPECT_EQ(bgm.Register(1000000, "a.mid"), 0);
    EXPECT_EQ(bgm.Register(0, longOgg.c_str()), 0);
    EXPECT_EQ(bgm.Type(0), 0);
    EXPECT_EQ(bgm.Register(4, longMid.c_str()), 0);
    EXPECT_EQ(bgm.Register(3, nullptr), 0);
    EXPECT_TRUE(names.guardsIntact());
    // The longest path that fits a row still registers.
    const std::string fits = std::string(kBgmOggNameBytes - 5, 'z') + ".ogg";
    EXPECT_EQ(bgm.Register(4, fits.c_str()), 1);
    EXPECT_STREQ(names.oggRows()[4], fits.c_str());
    EXPECT_TRUE(names.guardsIntact());
}

TEST_F(BgmFixture, PlayingTheCurrentNumberAgainRestartsOnlyWhenForced)
{
    init();
    bgm.Register(0, "bgm\\Title.ogg");
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 1);
    EXPECT_EQ(bgm.Current(), 0);
    EXPECT_EQ(loads(), 1);
    EXPECT_NE(std::find(g_FakeLog.calls.begin(), g_FakeLog.calls.end(), "SetLoop 2147483647"),
              g_FakeLog.calls.end());
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 0), 1);
    EXPECT_EQ(loads(), 1) << "not restarted";
    EXPECT_EQ(bgm.Play(0, 0, 0, 0, 1), 1);
    EXPECT_EQ(loads(), 2) << "restarted";
    EXPECT_EQ(g_FakeLog.calls.back(), "Play");
    EXPECT_EQ(g_FakeLog.calls[g_FakeLog.calls.size() - 2], "SetLoop 0");
}

TEST_F(BgmFixture, AFailedPlaySilencesAndCanBeTriedAgain)
{
    init();
    bgm.Register(1, "bgm\\bad.ogg");
    bgm.Register(2, "bgm\\Good.ogg");
    EXPECT_EQ(bgm.Play(0, 2, 1, 0, 1), 1);
    g_FakeLog.calls.clear();
    EXPECT_EQ(bgm.Play(0, 1, 1, 0, 1), 0);
    EXPECT_EQ(bgm.Current(), -1);
    EXPECT_EQ(g_FakeLog.calls.front(), "Stop") << "the music before stops";
    EXPECT_EQ(bgm.Play(0, 1, 1, 0, 0), 0) << "tried again, not taken as playing";
    EXPECT_EQ(loads(), 2);
}

// An unknown extension is tried with the Ogg player first, then the MIDI
// player (which takes only "mid").
TEST_F(BgmFixture, UnknownExtensionsTryOggThenMidi)
{
    init();
    bgm.Register(0, "bgm\\Mixed.Ogg");
    EXPECT_EQ(bgm.Play(0, 0, 0, 0, 1), 1);
    EXPECT_EQ(g_FakeLog.calls[1], "Load bgm\\Mixed.Ogg");
    bgm.Register(1, "bgm\\bad.Mid");
    EXPECT_EQ(bgm.Play(0, 1, 0, 0, 1), 0) << "Ogg refuses it and MIDI wants \"mid\"";
}

TEST_F(BgmFixture, AfterAFailedSetUpEveryRequestIsRefusedHarmlessly)
{
    SetVoxEntry(nullptr);
    EXPECT_EQ(bgm.Init(1, names.oggRows(), names.midiRows(), 5), 0);
    EXPECT_EQ(boxes, std::vector<std::string>{Sjis("oggの初期化に失敗！")});
    EXPECT_EQ(bgm.Register(0, "bgm\\Title.ogg"), 0);
    EXPECT_EQ(bgm.Register(4, "bgm\\Stage.mid"), 0);
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 0);
    EXPECT_EQ(bgm.Play(0, 4, 1, 0, 1), 0);
    bgm.Stop();
    bgm.Release();
    EXPECT_TRUE(names.guardsIntact());
    EXPECT_STREQ(names.oggRows()[0], "");

    // Set up again with the library present, it works.
    SetVoxEntry(&makeFakeVox);
    init();
    EXPECT_EQ(bgm.Register(0, "bgm\\Title.ogg"), 1);
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 1);
}

// A library that makes no players leaves the Ogg numbers silent.
TEST_F(BgmFixture, WithoutOggPlayersOggNumbersFail)
{
    SetVoxEntry(&makeNoVox);
    drainPosted();
    init();
    EXPECT_EQ(boxes.size(), 1u) << "the lack of memory is told";
    auto posted = drainPosted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].msg, WM_CLOSE);
    EXPECT_EQ(bgm.Register(0, "bgm\\Title.ogg"), 1);
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 0);
    EXPECT_EQ(bgm.Current(), -1);
}

TEST_F(BgmFixture, NothingPlaysWhileNotSetUp)
{
    EXPECT_EQ(bgm.Register(0, "bgm\\Title.ogg"), 0);
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 1) << "the music goes on, whatever it is";
    bgm.Stop();
    EXPECT_TRUE(g_FakeLog.calls.empty());
    // Null tables are refused too.
    ASSERT_EQ(bgm.Init(1, nullptr, nullptr, 5), 1);
    EXPECT_EQ(bgm.Register(0, "a.ogg"), 0);
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 0);
}

TEST_F(BgmFixture, OutOfRangeNumbersAndChannelsAreRefused)
{
    init();
    bgm.Register(0, "bgm\\Title.ogg");
    EXPECT_EQ(bgm.Play(0, 5, 1, 0, 1), 0);
    EXPECT_EQ(bgm.Play(0, -7, 1, 0, 1), 0);
    EXPECT_EQ(bgm.Play(1, 0, 1, 0, 1), 0);
    EXPECT_EQ(bgm.Play(-1, 0, 1, 0, 1), 0);
    EXPECT_TRUE(names.guardsIntact());
}

float peakOf(std::size_t frames)
{
    std::vector<float> out(frames * 2);
    plat::audioMixer().render(out.data(), frames);
    float p = 0;
    for (float v : out) {
        p = std::max(p, std::fabs(v));
    }
    return p;
}

// The real back ends: an Ogg file heard in the mix, then a MIDI file taking
// its place, then silence.
TEST_F(BgmFixture, OggAndMidiTakeTurnsInTheMix)
{
    SetVoxEntry(&CreateVox);
    const Bytes tone = test::readBytes(test::buildDataPath("tone_stereo_44100.ogg"));
    ASSERT_FALSE(tone.empty());
    dir_.write("bgm/Title.ogg", std::string(tone.begin(), tone.end()));
    test::SmfTrack track;
    track.event(0, {0xC0, 0}).event(0, {0x90, 60, 100}).end(960);
    const Bytes song = test::smfFile(0, 96, {track});
    dir_.write("bgm/Stage.mid", std::string(song.begin(), song.end()));
    init();
    ASSERT_EQ(bgm.Register(0, "bgm\\title.ogg"), 1);
    ASSERT_EQ(bgm.Register(4, "bgm\\STAGE.MID"), 1);

    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 1);
    EXPECT_GT(peakOf(4410), 0.4f) << "the Ogg tone";
    // Looping: still heard after its one second.
    peakOf(44100);
    EXPECT_GT(peakOf(4410), 0.4f);

    EXPECT_EQ(bgm.Play(0, 4, 1, 0, 1), 1);
    EXPECT_EQ(bgm.Current(), 4);
    const float midiOnly = peakOf(4410);
    EXPECT_FLOAT_EQ(midiOnly, test::RecordingSynth::kLevel) << "only the synthesiser's note";
    ASSERT_FALSE(synth->events().empty());
    EXPECT_EQ(synth->events()[1].bytes, (Bytes{0x90, 60, 100}));

    bgm.Stop();
    EXPECT_EQ(peakOf(4410), 0.0f);
    EXPECT_EQ(bgm.Current(), 4) << "Stop keeps the number";
    EXPECT_EQ(bgm.Play(0, 4, 1, 0, 0), 1) << "so the same number without force stays stopped";
    EXPECT_EQ(peakOf(4410), 0.0f);
}

// An Ogg file that decodes to no sound does not play: the manager learns
// it, and nothing is taken as playing.
TEST_F(BgmFixture, AnOggFileWithoutSoundDoesNotPlay)
{
    SetVoxEntry(&CreateVox);
    const auto pages =
        test::oggPages(test::readBytes(test::buildDataPath("tone_stereo_44100.ogg")));
    ASSERT_GE(pages.size(), 3u);
    const Bytes headersOnly = test::joinOgg({pages[0], pages[1]});
    dir_.write("bgm/Silent.ogg", std::string(headersOnly.begin(), headersOnly.end()));
    init();
    ASSERT_EQ(bgm.Register(0, "bgm\\Silent.ogg"), 1);
    EXPECT_EQ(bgm.Play(0, 0, 1, 0, 1), 0);
    EXPECT_EQ(bgm.Current(), -1);
}

// The whole road of MIDI music: file, player, stream, FluidSynth with the
// system's soundfont, heard in the mix.
TEST_F(BgmFixture, MidiMusicIsHeardThroughFluidSynth)
{
    plat::setSharedMidiSynth(nullptr);
    if (plat::sharedMidiSoundFont().empty()) {
        GTEST_SKIP() << "no General MIDI soundfont installed";
    }
    test::SmfTrack track;
    track.event(0, {0xC0, 0}).event(0, {0x90, 60, 110}).event(480, {0x80, 60, 0}).end(0);
    const Bytes song = test::smfFile(0, 96, {track});
    dir_.write("bgm/Title.mid", std::string(song.begin(), song.end()));
    init();
    ASSERT_EQ(bgm.Register(0, "bgm\\Title.mid"), 1);
    EXPECT_LT(peakOf(4410), 1e-3f) << "silent before the music starts";
    ASSERT_EQ(bgm.Play(0, 0, 0, 0, 1), 1);
    EXPECT_GT(peakOf(4410), 0.01f);
    bgm.Stop();
    peakOf(44100); // the reverb dies away
    EXPECT_LT(peakOf(4410), 1e-3f);
}

} // namespace
