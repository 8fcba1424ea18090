// The MIDI stream player: a file's events reach the synthesiser at the right
// frames of the mix, through buffer refills, tempo changes, pauses, stops
// and loops; the player's thread ends with it.
#include <gtest/gtest.h>

#include <thread>

#include "core/format.h"
#include "media/midi_player.h"
#include "platform/audio_device.h"
#include "platform/audio_mixer.h"
#include "platform/window_messages.h"
#include "support/recording_synth.h"
#include "support/report_fixture.h"
#include "support/sound_fixtures.h"
#include "support/temp_dir.h"

namespace {

using test::Bytes;
using test::RecordingSynth;
using test::smfFile;
using test::SmfTrack;
using test::SynthEvent;

constexpr std::size_t kBlock = 512;

// At 96 ticks per quarter and the default 500000 us per quarter.
std::uint64_t frameAt(std::uint64_t tick, std::uint64_t micros = 500000)
{
    return tick * micros * 44100 / (1000000ull * 96);
}

SynthEvent note(std::uint64_t frame, int key)
{
    return {frame, {0x90, static_cast<std::uint8_t>(key), 100}};
}

struct PlayerFixture : ::testing::Test {
    std::shared_ptr<RecordingSynth> synth = std::make_shared<RecordingSynth>();
    test::TempDir dir;
    test::ScopedCurrentDir here{dir.path()};

    PlayerFixture()
    {
        plat::setManualAudioRendering(true);
        plat::setSharedMidiSynth(synth);
    }
    ~PlayerFixture() override { plat::setSharedMidiSynth(nullptr); }

    std::string writeSong(const Bytes& file, const std::string& name = "song.mid")
    {
        dir.write(name, std::string(file.begin(), file.end()));
        return name;
    }

    // Renders the mix block by block, letting the player's thread act
    // between blocks as the device's callback rhythm would.
    void render(cMidi& player, std::size_t frames)
    {
        std::vector<float> out(kBlock * 2);
        for (std::size_t done = 0; done < frames; done += kBlock) {
            plat::audioMixer().render(out.data(), kBlock);
            player.WaitCallbacks();
        }
    }

    std::vector<SynthEvent> notes() const
    {
        std::vector<SynthEvent> on;
        for (auto& e : synth->events()) {
            if (!e.bytes.empty() && (e.bytes[0] & 0xF0) == 0x90) {
                on.push_back(e);
            }
        }
        return on;
    }
};

SmfTrack threeNotes()
{
    SmfTrack t;
    t.event(0, {0x90, 60, 100}).event(96, {0x90, 62, 100}).event(96, {0x90, 64, 100}).end(96);
    return t;
}

TEST_F(PlayerFixture, ASongInOneBufferPlaysAndStopsAtItsEnd)
{
    cMidi player(writeSong(smfFile(0, 96, {threeNotes()})).c_str());
    ASSERT_TRUE(player.HasImage());
    EXPECT_EQ(player.State(), 0);
    render(player, 2048);
    EXPECT_TRUE(synth->events().empty()) << "nothing plays before Play";

    const std::uint64_t start = synth->frame();
    player.Play(0);
    EXPECT_EQ(player.State(), 1);
    render(player, frameAt(400));
    EXPECT_EQ(notes(), (std::vector<SynthEvent>{note(start, 60), note(start + frameAt(96), 62),
                                                note(start + frameAt(192), 64)}));
    // The end record stopped the player and rewound it.
    EXPECT_EQ(player.State(), 0);
}

TEST_F(PlayerFixture, ALoopingSongStartsAgainAtTheBlockAfterItsEnd)
{
    cMidi player(writeSong(smfFile(0, 96, {threeNotes()})).c_str());
    const std::uint64_t start = synth->frame();
    player.Play(1);
    render(player, 2 * frameAt(288) + 4 * kBlock);
    // The end (tick 288) is seen in the block holding it; the stream starts
    // again with the next block.
    const std::uint64_t end = start + frameAt(288);
    const std::uint64_t again = (end / kBlock + 1) * kBlock;
    auto got = notes();
    ASSERT_GE(got.size(), 6u);
    EXPECT_EQ(got[3], note(again, 60));
    EXPECT_EQ(got[4], note(again + frameAt(96), 62));
    EXPECT_EQ(got[5], note(again + frameAt(192), 64));
    EXPECT_EQ(player.State(), 1);
}

TEST_F(PlayerFixture, TempoChangesOfTheFileTakeEffect)
{
    SmfTrack conductor;
    conductor.tempo(0, 250000).tempo(96, 1000000).end(0);
    SmfTrack notesTrack;
    notesTrack.event(48, {0x90, 60, 100}).event(96, {0x90, 62, 100}).end(0);
    cMidi player(writeSong(smfFile(1, 96, {conductor, notesTrack})).c_str());
    const std::uint64_t start = synth->frame();
    player.Play(0);
    render(player, 3 * 44100);
    const std::uint64_t tick96 = frameAt(96, 250000);
    EXPECT_EQ(notes(), (std::vector<SynthEvent>{note(start + frameAt(48, 250000), 60),
                                                note(start + tick96 + frameAt(48, 1000000), 62)}));
}

// Thousands of events need several buffers; they play without a gap.
TEST_F(PlayerFixture, LongSongsRefillTheBuffersInTime)
{
    SmfTrack t;
    for (int i = 0; i < 5000; ++i) {
        t.event(i == 0 ? 0 : 2, {0x90, static_cast<std::uint8_t>(i % 128), 100});
    }
    t.end(0);
    cMidi player(writeSong(smfFile(0, 96, {t})).c_str());
    const std::uint64_t start = synth->frame();
    player.Play(0);
    render(player, frameAt(2 * 5000) + kBlock);
    auto got = notes();
    ASSERT_EQ(got.size(), 5000u);
    for (std::size_t i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i], note(start + frameAt(2 * i), static_cast<int>(i % 128))) << i;
    }
}

TEST_F(PlayerFixture, OtherMetaEventsKeepTheTimesOfLaterEvents)
{
    SmfTrack t;
    t.event(0, {0x90, 60, 100})
        .meta(30, 0x01, {'t', 'e', 'x', 't'})
        .event(66, {0x90, 62, 100})
        .end(0);
    cMidi player(writeSong(smfFile(0, 96, {t})).c_str());
    const std::uint64_t start = synth->frame();
    player.Play(0);
    render(player, frameAt(200));
    EXPECT_EQ(notes(), (std::vector<SynthEvent>{note(start, 60), note(start + frameAt(96), 62)}));
}

TEST_F(PlayerFixture, SystemExclusiveReachesTheSynthesiser)
{
    SmfTrack t;
    t.sysex(0, 0xF0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).event(10, {0x90, 60, 100}).end(0);
    cMidi player(writeSong(smfFile(0, 96, {t})).c_str());
    const std::uint64_t start = synth->frame();
    player.Play(0);
    render(player, frameAt(100));
    ASSERT_FALSE(synth->events().empty());
    EXPECT_EQ(synth->events()[0], (SynthEvent{start, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}}));
}

// A system-exclusive message longer than a buffer can never be sent; it is
// left out and the song goes on with its time.
TEST_F(PlayerFixture, AnOversizedSystemExclusiveDoesNotStallTheSong)
{
    Bytes huge(30000, 0x11);
    huge.back() = 0xF7;
    SmfTrack t;
    t.event(0, {0x90, 60, 100}).sysex(48, 0xF0, huge).event(48, {0x90, 62, 100}).end(0);
    cMidi player(writeSong(smfFile(0, 96, {t})).c_str());
    const std::uint64_t start = synth->frame();
    player.Play(0);
    render(player, frameAt(200));
    EXPECT_EQ(notes(), (std::vector<SynthEvent>{note(start, 60), note(start + frameAt(96), 62)}));
    for (const auto& e : synth->events()) {
        EXPECT_NE(e.bytes[0], 0xF0);
    }
    EXPECT_EQ(player.State(), 0) << "the song reached its end";
}

TEST_F(PlayerFixture, PauseResumesWhereItStood)
{
    cMidi player(writeSong(smfFile(0, 96, {threeNotes()})).c_str());
    player.Stop(1);
    EXPECT_EQ(player.State(), 0) << "pausing a stopped player does nothing";
    const std::uint64_t start = synth->frame();
    player.Play(0);
    render(player, 8 * kBlock);
    player.Stop(1);
    EXPECT_EQ(player.State(), 2);
    render(player, 100 * kBlock);
    player.Play(0);
    EXPECT_EQ(player.State(), 1);
    render(player, frameAt(300) + 100 * kBlock);
    auto got = notes();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1], note(start + frameAt(96) + 100 * kBlock, 62));
}

TEST_F(PlayerFixture, StopRewindsToTheFirstEvent)
{
    cMidi player(writeSong(smfFile(0, 96, {threeNotes()})).c_str());
    player.Play(0);
    render(player, frameAt(100));
    player.Stop(0);
    EXPECT_EQ(player.State(), 0);
    render(player, 10 * kBlock);
    synth->clearEvents();
    const std::uint64_t again = synth->frame();
    player.Play(0);
    render(player, frameAt(300));
    EXPECT_EQ(notes(), (std::vector<SynthEvent>{note(again, 60), note(again + frameAt(96), 62),
                                                note(again + frameAt(192), 64)}));
}

// Players are made and destroyed while the mix runs on another thread and
// their songs loop quickly; each one's thread must end with it.
TEST_F(PlayerFixture, PlayersEndWithTheirThreadsWhileTheMixRuns)
{
    SmfTrack t;
    t.event(0, {0x90, 60, 100}).end(1);
    const std::string path = writeSong(smfFile(0, 96, {t}));
    std::atomic<bool> done{false};
    std::thread mixer([&] {
        std::vector<float> out(64 * 2);
        while (!done) {
            plat::audioMixer().render(out.data(), 64);
        }
    });
    for (int i = 0; i < 50; ++i) {
        auto player = std::make_shared<cMidi>(path.c_str());
        player->Play(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(i % 3));
        if (i % 2) {
            player->Stop(1);
        }
    }
    done = true;
    mixer.join();
}

TEST_F(PlayerFixture, AFileThatDoesNotLoadGivesASilentPlayer)
{
    dir.write("bad.mid", "MThd but nothing else");
    for (const char* path : {"bad.mid", "missing.mid"}) {
        cMidi player(path);
        EXPECT_FALSE(player.HasImage());
        player.Play(1);
        player.Stop(1);
        EXPECT_EQ(player.State(), 0);
    }
}

struct FillFixture : ::testing::Test {
    cMidi packer{""}; // no image: only its packing is used
    MIDIBUFFER header;

    FillFixture() { header.lpData.assign(24000, 0); }

    std::uint32_t word(std::size_t record, int index) const
    {
        const std::uint8_t* p =
            header.lpData.data() + record * 12 + static_cast<std::size_t>(index) * 4;
        return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
};

// Events from an image's track: notes of 3 bytes with a 1-byte delta.
Bytes noteEvents(int count)
{
    Bytes b;
    for (int i = 0; i < count; ++i) {
        b.insert(b.end(), {0x01, 0x90, 60, 100});
    }
    return b;
}

TEST_F(FillFixture, AFullBufferEndsWithACallbackBeforeTheEventThatDoesNotFit)
{
    const Bytes source = noteEvents(2500);
    const int used = packer.FillBuffer(source, header);
    EXPECT_EQ(header.dwBytesRecorded, 24000u);
    EXPECT_EQ(used, 2000 * 4);
    EXPECT_EQ(word(0, 2), 0x00643C90u);
    EXPECT_EQ(word(1999, 2), plat::kMidiEventCallback | 0x00643C90u);
}

TEST_F(FillFixture, MetaEventsAfterTheLastRecordAreReadAgainWithTheNextBuffer)
{
    // 1999 notes, a text event, then a sysex that no longer fits.
    Bytes source = noteEvents(1999);
    source.insert(source.end(), {0x05, 0xFF, 0x01, 0x01, 'x'});
    source.insert(source.end(), {0x07, 0xF0, 0x08, 1, 2, 3, 4, 5, 6, 7, 0xF7});
    const int used = packer.FillBuffer(source, header);
    EXPECT_EQ(used, 1999 * 4) << "the text event's delta belongs to the next buffer";
    const int rest =
        packer.FillBuffer(std::span(source).subspan(static_cast<std::size_t>(used)), header);
    EXPECT_EQ(rest, 5 + 11);
    EXPECT_EQ(header.dwBytesRecorded, 12u + 12u);
    EXPECT_EQ(word(0, 0), 12u) << "both deltas";
    EXPECT_EQ(word(0, 2), plat::kMidiEventCallback | plat::kMidiEventLong | 9u);
    EXPECT_EQ(header.lpData[12], 0xF0);
    EXPECT_EQ(header.lpData[13], 1);
    EXPECT_EQ(header.lpData[20], 0xF7);
}

TEST_F(FillFixture, TheEndRecordEndsTheBufferWithoutAnExtraCallback)
{
    Bytes source{0x00, 0x90, 60,   100,  0x10, 0xFF, 0x51, 0x03, 0x07, 0xA1,
                 0x20, 0x20, 0xFF, 0x2F, 0x00, 0x00, 0x90, 1,    1};
    const int used = packer.FillBuffer(source, header);
    EXPECT_EQ(used, 15);
    EXPECT_EQ(header.dwBytesRecorded, 36u);
    EXPECT_EQ(word(0, 2), 0x00643C90u);
    EXPECT_EQ(word(1, 2), plat::kMidiEventTempo | 500000u);
    EXPECT_EQ(word(2, 0), 0x20u);
    EXPECT_EQ(word(2, 2), kMidiEndOfSongEvent);
}

class MidiSetFixture : public test::ReportFixture {
protected:
    void SetUp() override
    {
        test::ReportFixture::SetUp();
        plat::setManualAudioRendering(true);
        plat::setSharedMidiSynth(synth);
        const Bytes file = smfFile(0, 96, {threeNotes()});
        dir_.write("a.mid", std::string(file.begin(), file.end()));
        dir_.write("b.MID", std::string(file.begin(), file.end()));
    }
    void TearDown() override
    {
        set.Clear();
        plat::setSharedMidiSynth(nullptr);
        test::ReportFixture::TearDown();
    }
    std::shared_ptr<RecordingSynth> synth = std::make_shared<RecordingSynth>();
    cMidiSet set;
};

TEST_F(MidiSetFixture, PlaysOnlyLowerCaseMid)
{
    set.Resize(1);
    EXPECT_EQ(set.Play(0, "b.MID", 0), 0);
    EXPECT_EQ(set.Play(0, "a", 0), 0);
    EXPECT_EQ(set.Play(0, "missing.mid", 0), 0);
    EXPECT_NE(set.Player(0), nullptr) << "the failed player stays in its entry";
    EXPECT_EQ(set.Play(0, "a.mid", 1), 1);
    auto first = set.Player(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->State(), 1);
    set.StopAll(1);
    EXPECT_EQ(first->State(), 2);
    // A new request replaces every player.
    EXPECT_EQ(set.Play(0, "a.mid", 0), 1);
    EXPECT_NE(set.Player(0), first);
}

TEST_F(MidiSetFixture, AChannelThatDoesNotExistIsReportedAndChannelZeroPlays)
{
    set.Resize(1);
    drainPosted();
    EXPECT_EQ(set.Play(3, "a.mid", 0), 1);
    ASSERT_NE(set.Player(0), nullptr);
    EXPECT_EQ(set.Player(0)->State(), 1);
    std::string line;
    FormatStr(line, "err V[%d] ( %d , %d )", 3, 1,
              static_cast<int>(sizeof(std::shared_ptr<cMidi>)));
    EXPECT_EQ(reportLines(), std::vector<std::string>{line});
    auto posted = drainPosted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].msg, WM_CLOSE);
}

// Without a soundfont MIDI music is silent, and the run report says so once.
TEST_F(MidiSetFixture, ASilentSynthesiserIsReportedOnce)
{
    plat::setSharedMidiSynth(synth, "");
    set.Resize(1);
    EXPECT_EQ(set.Play(0, "a.mid", 0), 1);
    EXPECT_EQ(set.Play(0, "a.mid", 0), 1);
    const auto lines = reportLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("SoundFont"), std::string::npos);
}

} // namespace
