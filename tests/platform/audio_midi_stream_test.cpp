// The MIDI stream: queued event buffers play into the synthesiser at exact
// frames of the mix, follow tempo changes, pause, stop and notify.
#include <gtest/gtest.h>

#include <thread>

#include "platform/audio_midi_stream.h"
#include "support/recording_synth.h"
#include "support/sound_fixtures.h"

namespace {

using plat::MidiStream;
using plat::MidiStreamResult;
using test::Bytes;
using test::RecordingSynth;
using test::SynthEvent;

// Event records, as a player writes them.
struct Records {
    Bytes bytes;
    Records& record(std::uint32_t delta, std::uint32_t event)
    {
        test::putLe32(bytes, delta);
        test::putLe32(bytes, 0);
        test::putLe32(bytes, event);
        return *this;
    }
    Records& shortMsg(std::uint32_t delta, std::uint32_t message, std::uint32_t flags = 0)
    {
        return record(delta, plat::kMidiEventShort | flags | message);
    }
    Records& tempo(std::uint32_t delta, std::uint32_t microsPerQuarter)
    {
        return record(delta, plat::kMidiEventTempo | microsPerQuarter);
    }
    Records& sysex(std::uint32_t delta, const Bytes& message)
    {
        record(delta, plat::kMidiEventLong | static_cast<std::uint32_t>(message.size()));
        bytes.insert(bytes.end(), message.begin(), message.end());
        while (bytes.size() % 4 != 0) {
            bytes.push_back(0);
        }
        return *this;
    }
};

constexpr std::uint32_t noteOn(int key)
{
    return 0x90 | (static_cast<std::uint32_t>(key) << 8) | (100u << 16);
}
SynthEvent noteOnAt(std::uint64_t frame, int key)
{
    return {frame, {0x90, static_cast<std::uint8_t>(key), 100}};
}

struct StreamFixture : ::testing::Test {
    std::shared_ptr<RecordingSynth> synth = std::make_shared<RecordingSynth>();
    MidiStream stream{synth};

    void render(std::size_t frames)
    {
        std::vector<float> out(frames * 2);
        stream.mix(out.data(), frames);
    }
};

// At 96 ticks per quarter and 500000 us per quarter a tick is 229.6875 frames.
TEST_F(StreamFixture, EventsPlayAtTheFramesOfTheirTicks)
{
    stream.setTimeDivision(96);
    ASSERT_EQ(stream.out(0, Records{}
                                .shortMsg(0, noteOn(60))
                                .shortMsg(96, noteOn(62))
                                .shortMsg(1, noteOn(64))
                                .bytes),
              MidiStreamResult::Ok);
    stream.restart();
    render(30000);
    EXPECT_EQ(synth->events(),
              (std::vector<SynthEvent>{noteOnAt(0, 60), noteOnAt(22050, 62), noteOnAt(22279, 64)}));
}

TEST_F(StreamFixture, TempoChangesMoveTheLaterEvents)
{
    stream.setTimeDivision(96);
    // From tick 96 on a quarter lasts 250000 us: 96 ticks are 11025 frames.
    stream.out(0, Records{}
                      .tempo(96, 250000)
                      .shortMsg(96, noteOn(60))
                      .tempo(0, 1000000)
                      .shortMsg(48, noteOn(61))
                      .bytes);
    stream.restart();
    render(60000);
    EXPECT_EQ(synth->events(),
              (std::vector<SynthEvent>{noteOnAt(33075, 60), noteOnAt(33075 + 22050, 61)}));
}

TEST_F(StreamFixture, SmpteDivisionCountsTicksPerSecond)
{
    // 25 frames per second, 40 ticks per frame: 1000 ticks a second.
    stream.setTimeDivision(static_cast<std::uint16_t>((0x100 - 25) << 8 | 40));
    stream.out(0, Records{}.tempo(0, 100000).shortMsg(500, noteOn(60)).bytes);
    stream.restart();
    render(30000);
    EXPECT_EQ(synth->events(), std::vector<SynthEvent>{noteOnAt(22050, 60)});
}

TEST_F(StreamFixture, PauseHoldsThePositionAndSilences)
{
    stream.setTimeDivision(96);
    stream.out(0, Records{}.shortMsg(96, noteOn(60)).bytes);
    stream.restart();
    render(1000);
    stream.pause();
    EXPECT_FALSE(stream.isRunning());
    EXPECT_EQ(synth->soundOffs(), 1);
    render(5000);
    stream.restart();
    render(30000);
    EXPECT_EQ(synth->events(), std::vector<SynthEvent>{noteOnAt(22050 + 5000, 60)});
}

TEST_F(StreamFixture, StopDropsBuffersAndStartsAgainFromTickZero)
{
    stream.setTimeDivision(96);
    stream.out(0, Records{}.tempo(0, 250000).shortMsg(96, noteOn(60)).bytes);
    stream.out(1, Records{}.shortMsg(96, noteOn(61)).bytes);
    stream.restart();
    render(1000);
    stream.stop();
    EXPECT_FALSE(stream.isQueued(0));
    EXPECT_FALSE(stream.isQueued(1));
    render(1000);
    // The default tempo again, counted from the restart.
    stream.out(0, Records{}.shortMsg(96, noteOn(62)).bytes);
    stream.restart();
    render(30000);
    EXPECT_EQ(synth->events(), std::vector<SynthEvent>{noteOnAt(2000 + 22050, 62)});
}

TEST_F(StreamFixture, BuffersPlayInTurnAndNotifyWhenAsked)
{
    stream.setTimeDivision(96);
    stream.out(
        7,
        Records{}.shortMsg(0, noteOn(60)).shortMsg(96, noteOn(61), plat::kMidiEventCallback).bytes);
    stream.out(8, Records{}.shortMsg(96, noteOn(62)).bytes);
    EXPECT_EQ(stream.out(7, Records{}.shortMsg(0, noteOn(1)).bytes), MidiStreamResult::StillQueued);
    stream.restart();
    render(22050);
    EXPECT_TRUE(stream.isQueued(7));
    render(1);
    // The buffer is done by the time its notice arrives.
    EXPECT_FALSE(stream.isQueued(7));
    plat::MidiStreamNotice notice;
    ASSERT_TRUE(stream.waitNotice(notice));
    EXPECT_EQ(notice.buffer, 7);
    EXPECT_EQ(notice.event, plat::kMidiEventCallback | noteOn(61));
    stream.noticeHandled();
    stream.waitIdle();
    render(30000);
    EXPECT_EQ(synth->events().back(), noteOnAt(44100, 62));
    EXPECT_FALSE(stream.isQueued(8));
}

TEST_F(StreamFixture, SystemExclusiveMessagesPassWhole)
{
    const Bytes gmReset{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
    stream.out(0, Records{}.sysex(0, gmReset).shortMsg(0, noteOn(60)).bytes);
    stream.restart();
    render(10);
    EXPECT_EQ(synth->events(), (std::vector<SynthEvent>{{0, gmReset}, noteOnAt(0, 60)}));
}

TEST_F(StreamFixture, MalformedBuffersAreRefused)
{
    const Bytes good = Records{}.shortMsg(0, noteOn(60)).bytes;
    Bytes shortRecord(good.begin(), good.end() - 1);
    Bytes longPastEnd = Records{}.sysex(0, Bytes(8, 0x11)).bytes;
    longPastEnd.resize(longPastEnd.size() - 4);
    for (const Bytes& bad : {shortRecord, longPastEnd}) {
        EXPECT_EQ(stream.out(0, bad), MidiStreamResult::BadBuffer);
        EXPECT_FALSE(stream.isQueued(0));
    }
    stream.close();
    EXPECT_EQ(stream.out(0, good), MidiStreamResult::Closed);
}

TEST_F(StreamFixture, StopDropsPendingNotices)
{
    stream.out(0, Records{}.shortMsg(0, noteOn(60), plat::kMidiEventCallback).bytes);
    stream.restart();
    render(10);
    stream.stop();
    stream.waitIdle(); // returns: nothing is left to handle
    std::thread waiter([&] {
        plat::MidiStreamNotice notice;
        EXPECT_FALSE(stream.waitNotice(notice));
    });
    stream.close();
    waiter.join();
}

} // namespace
