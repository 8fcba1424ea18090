// Reading standard MIDI files into the merged single-track image.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <tuple>

#include "core/format.h"
#include "core/sjis_text.h"
#include "media/midi_data.h"
#include "support/report_fixture.h"
#include "support/sound_fixtures.h"
#include "support/temp_dir.h"

namespace {

using test::Bytes;
using test::smfChunk;
using test::smfFile;
using test::smfHeader;
using test::SmfTrack;

struct ImageEvent {
    std::uint64_t time;
    Bytes bytes; // status and data
    bool operator==(const ImageEvent&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ImageEvent& e)
{
    os << "{" << e.time << ":";
    for (auto b : e.bytes) {
        os << " " << std::hex << int(b) << std::dec;
    }
    return os << "}";
}

// Decodes an image's events with their absolute times. Every event must
// carry its status byte.
std::vector<ImageEvent> imageEvents(const Bytes& image)
{
    if (image.size() < kMidiImageHeaderBytes) {
        ADD_FAILURE() << "no image";
        return {};
    }
    const std::uint32_t length =
        (image[18] << 24) | (image[19] << 16) | (image[20] << 8) | image[21];
    EXPECT_EQ(length, image.size() - kMidiImageHeaderBytes);
    std::vector<ImageEvent> events;
    std::uint64_t time = 0;
    std::size_t pos = kMidiImageHeaderBytes;
    while (pos < image.size()) {
        std::uint32_t delta = 0;
        const int n = ReadVarLen(std::span(image).subspan(pos), delta);
        pos += static_cast<std::size_t>(n);
        if (n == 0 || pos >= image.size()) {
            ADD_FAILURE() << "an event cut short at " << pos;
            break;
        }
        time += delta;
        const std::uint8_t status = image[pos];
        EXPECT_TRUE(status & 0x80) << "status byte at " << pos;
        std::size_t size = 1;
        if (status >= 0xC0 && status <= 0xDF) {
            size = 2;
        } else if (status == 0xF0 || status == 0xF7 || status == 0xFF) {
            const std::size_t at = std::min(pos + (status == 0xFF ? 2 : 1), image.size());
            std::uint32_t len = 0;
            const int m = ReadVarLen(std::span(image).subspan(at), len);
            size = at - pos + static_cast<std::size_t>(m) + len;
        } else {
            size = 3;
        }
        if (size > image.size() - pos) {
            ADD_FAILURE() << "an event cut short at " << pos;
            break;
        }
        events.push_back({time, Bytes(image.begin() + static_cast<std::ptrdiff_t>(pos),
                                      image.begin() + static_cast<std::ptrdiff_t>(pos + size))});
        pos += size;
    }
    return events;
}

const Bytes kEnd{0xFF, 0x2F, 0x00};

std::vector<std::uint8_t> convert(const Bytes& file)
{
    cMidiData data;
    return data.Init(file);
}

struct VarLenCase {
    std::uint32_t value;
    Bytes bytes;
};

TEST(MidiVarLen, WritesAndReadsEachLength)
{
    const VarLenCase cases[] = {
        {0, {0x00}},
        {0x40, {0x40}},
        {0x7F, {0x7F}},
        {0x80, {0x81, 0x00}},
        {0x2000, {0xC0, 0x00}},
        {0x3FFF, {0xFF, 0x7F}},
        {0x4000, {0x81, 0x80, 0x00}},
        {0x1FFFFF, {0xFF, 0xFF, 0x7F}},
        {0x200000, {0x81, 0x80, 0x80, 0x00}},
        {0x0FFFFFFF, {0xFF, 0xFF, 0xFF, 0x7F}},
    };
    for (const auto& c : cases) {
        std::uint8_t out[4] = {};
        const int n = WriteVarLen(out, c.value);
        EXPECT_EQ(Bytes(out, out + n), c.bytes) << c.value;
        std::uint32_t back = 1;
        EXPECT_EQ(ReadVarLen(c.bytes, back), static_cast<int>(c.bytes.size())) << c.value;
        EXPECT_EQ(back, c.value);
    }
}

TEST(MidiVarLen, RefusesWhatCannotBeAQuantity)
{
    std::uint32_t value = 0;
    EXPECT_EQ(ReadVarLen(Bytes{0x81, 0x80, 0x80, 0x80, 0x00}, value), 0) << "five bytes";
    EXPECT_EQ(ReadVarLen(Bytes{0x81, 0x80}, value), 0) << "cut short";
    EXPECT_EQ(ReadVarLen(Bytes{}, value), 0) << "nothing";
    std::uint8_t out[4];
    EXPECT_EQ(WriteVarLen(out, 0x10000000), 0);
}

TEST(MidiConvert, FormatZeroKeepsItsEventsEachWithItsStatus)
{
    // Running status: the second and third notes leave out their status byte.
    SmfTrack track;
    track.event(0, {0xC0, 0x05})
        .event(0, {0x90, 60, 100})
        .event(96, {62, 100})
        .event(0, {64, 90})
        .meta(10, 0x01, {'h', 'i'})
        .event(0, {0xB0, 7, 100})
        .event(5, {10, 64})
        .end(20);
    auto image = convert(smfFile(0, 480, {track}));
    ASSERT_FALSE(image.empty());
    // The header: format 0, one track, the file's division.
    EXPECT_EQ(Bytes(image.begin(), image.begin() + 18),
              (Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'}));
    EXPECT_EQ(imageEvents(image), (std::vector<ImageEvent>{
                                      {0, {0xC0, 0x05}},
                                      {0, {0x90, 60, 100}},
                                      {96, {0x90, 62, 100}},
                                      {96, {0x90, 64, 90}},
                                      {106, {0xFF, 0x01, 0x02, 'h', 'i'}},
                                      {106, {0xB0, 7, 100}},
                                      {111, {0xB0, 10, 64}},
                                      {131, kEnd},
                                  }));
}

TEST(MidiConvert, TracksMergeInTimeOrderLowerTrackFirstOnTies)
{
    SmfTrack conductor;
    conductor.tempo(0, 400000).tempo(96, 300000).end(0);
    SmfTrack a;
    a.event(0, {0x90, 60, 100}).event(96, {0x80, 60, 0}).end(0);
    SmfTrack b;
    b.event(0, {0x91, 48, 100}).event(48, {0x81, 48, 0}).event(48, {0x91, 50, 100}).end(0);
    auto image = convert(smfFile(1, 96, {conductor, a, b}));
    EXPECT_EQ(imageEvents(image), (std::vector<ImageEvent>{
                                      {0, {0xFF, 0x51, 3, 0x06, 0x1A, 0x80}},
                                      {0, {0x90, 60, 100}},
                                      {0, {0x91, 48, 100}},
                                      {48, {0x81, 48, 0}},
                                      {96, {0xFF, 0x51, 3, 0x04, 0x93, 0xE0}},
                                      {96, {0x80, 60, 0}},
                                      {96, {0x91, 50, 100}},
                                      {96, kEnd},
                                  }));
}

TEST(MidiConvert, OneEndAtTheTimeOfTheLongestTrack)
{
    SmfTrack shortTrack;
    shortTrack.event(0, {0x90, 60, 100}).end(10);
    SmfTrack longTrack;
    longTrack.event(5, {0x91, 62, 100}).end(500);
    SmfTrack emptyTrack;
    emptyTrack.end(0);
    auto image = convert(smfFile(1, 96, {shortTrack, longTrack, emptyTrack}));
    EXPECT_EQ(imageEvents(image), (std::vector<ImageEvent>{
                                      {0, {0x90, 60, 100}},
                                      {5, {0x91, 62, 100}},
                                      {505, kEnd},
                                  }));
}

TEST(MidiConvert, SystemExclusiveAndOtherStatusesKeepTheirBytes)
{
    SmfTrack track;
    track.sysex(0, 0xF0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
        .sysex(1, 0xF7, {0x01, 0x02})
        .event(1, {0xE0, 0x00, 0x40})
        .event(1, {0xD0, 0x30})
        .end(0);
    auto image = convert(smfFile(0, 96, {track}));
    EXPECT_EQ(imageEvents(image), (std::vector<ImageEvent>{
                                      {0, {0xF0, 5, 0x7E, 0x7F, 0x09, 0x01, 0xF7}},
                                      {1, {0xF7, 2, 0x01, 0x02}},
                                      {2, {0xE0, 0x00, 0x40}},
                                      {3, {0xD0, 0x30}},
                                      {3, kEnd},
                                  }));
}

TEST(MidiConvert, SystemMessagesAreSkippedByTheirLengthKeepingTheRunningStatus)
{
    // Each system common or real-time message between two notes of one
    // running status: its data bytes go with it, its delta time counts.
    SmfTrack track;
    track.event(0, {0x90, 60, 100})
        .event(10, {0xF1, 0x12})
        .event(0, {62, 100})
        .event(5, {0xF2, 0x01, 0x02})
        .event(0, {0xF3, 0x05})
        .event(0, {0xF4})
        .event(0, {0xF5})
        .event(0, {0xF6})
        .event(0, {0xF8})
        .event(0, {0xFA})
        .event(0, {0xFE})
        .event(5, {64, 90})
        .end(0);
    EXPECT_EQ(imageEvents(convert(smfFile(0, 96, {track}))), (std::vector<ImageEvent>{
                                                                 {0, {0x90, 60, 100}},
                                                                 {10, {0x90, 62, 100}},
                                                                 {20, {0x90, 64, 90}},
                                                                 {20, kEnd},
                                                             }));
}

TEST(MidiConvert, ChunksOfOtherTypesAreSkippedByTheirLength)
{
    SmfTrack a;
    a.event(0, {0x90, 60, 100}).end(10);
    SmfTrack b;
    b.event(5, {0x91, 62, 100}).end(0);
    Bytes file = smfHeader(1, 2, 96);
    for (const Bytes& chunk :
         {smfChunk("XFIH", {'M', 'T', 'r', 'k', 0, 0}), smfChunk("MTrk", a.bytes),
          smfChunk("abcd", {}), smfChunk("MTrk", b.bytes), smfChunk("XFKM", {1, 2, 3})}) {
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    EXPECT_EQ(imageEvents(convert(file)), (std::vector<ImageEvent>{
                                              {0, {0x90, 60, 100}},
                                              {5, {0x91, 62, 100}},
                                              {10, kEnd},
                                          }));
}

TEST(MidiConvert, BytesAfterATracksEndEventInsideItsChunkAreSkipped)
{
    SmfTrack a;
    a.event(0, {0x90, 60, 100}).end(10);
    a.bytes.insert(a.bytes.end(), {0x00, 0x00, 0x00});
    SmfTrack b;
    b.event(5, {0x91, 62, 100}).end(0);
    EXPECT_EQ(imageEvents(convert(smfFile(1, 96, {a, b}))), (std::vector<ImageEvent>{
                                                                {0, {0x90, 60, 100}},
                                                                {5, {0x91, 62, 100}},
                                                                {10, kEnd},
                                                            }));
}

TEST(MidiConvert, TheTrackEndsAtItsEndEventNotItsChunkLength)
{
    SmfTrack track;
    track.event(0, {0x90, 60, 100}).end(4);
    Bytes file = smfFile(0, 96, {track});
    file[21] = 0x7F; // a chunk length far past the end
    auto image = convert(file);
    EXPECT_EQ(imageEvents(image), (std::vector<ImageEvent>{{0, {0x90, 60, 100}}, {4, kEnd}}));
}

// Each refusal leaves its line, with the file's name, in the run report.
class MidiReport : public test::ReportFixture {
protected:
    // The report is written in UTF-8.
    std::string expected(const char* utf8Format, const char* name)
    {
        std::string line;
        FormatStr(line, utf8Format, name);
        return line;
    }
    std::vector<std::string> load(const Bytes& file)
    {
        dir_.write("song.mid", std::string(file.begin(), file.end()));
        cMidiData data("song.mid");
        EXPECT_FALSE(data.HasImage());
        auto lines = reportLines();
        std::ofstream("report.txt", std::ios::trunc).close();
        return lines;
    }
};

TEST_F(MidiReport, HeadersItCannotPlayAreRefusedWithTheirLine)
{
    SmfTrack track;
    track.end();
    const Bytes good = smfFile(1, 96, {track});
    auto with = [&](std::size_t at, std::uint8_t value) {
        Bytes b = good;
        b[at] = value;
        return b;
    };
    const char* notSmf4 = "Midi %s Init 標準MIDIでない(4)";
    const char* notSmf6 = "Midi %s Init 標準MIDIでない(6)";
    const char* damaged = "Midi %s Init ファイルが壊れています";
    const std::vector<std::tuple<const char*, Bytes, const char*>> cases = {
        {"not MThd", with(0, 'X'), notSmf4},
        {"header length 7", with(7, 7), notSmf6},
        {"format 2", with(9, 2), "Midi %s Init 対応フォーマットが2でない"},
        {"format 3", with(9, 3), "Midi %s Init 対応フォーマットが0または1でない"},
        {"no MTrk", with(14, 'X'), notSmf4},
        {"empty", {}, notSmf4},
        {"three bytes", Bytes(good.begin(), good.begin() + 3), notSmf4},
        {"header cut short", Bytes(good.begin(), good.begin() + 12), damaged},
        {"track cut short", Bytes(good.begin(), good.end() - 1), damaged},
    };
    for (const auto& [what, bytes, line] : cases) {
        EXPECT_EQ(load(bytes), std::vector<std::string>{expected(line, "song.mid")}) << what;
    }
    EXPECT_FALSE(convert(good).empty());
}

TEST_F(MidiReport, ADataByteBeforeAnyStatusIsADamagedFile)
{
    SmfTrack track;
    track.bytes = {0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00};
    EXPECT_EQ(
        load(smfFile(0, 96, {track})),
        std::vector<std::string>{expected("Midi %s Init ファイルが壊れています", "song.mid")});
}

TEST_F(MidiReport, AFileThatCannotBeOpenedIsReported)
{
    cMidiData data("bgm\\none.mid");
    EXPECT_FALSE(data.HasImage());
    EXPECT_EQ(reportLines(), std::vector<std::string>{
                                 expected("Midi %s Create ファイルが開けません", "bgm\\none.mid")});
}

TEST(MidiConvert, RefusesDamagedTracksWithoutReadingPastTheEnd)
{
    SmfTrack noEnd;
    noEnd.event(0, {0x90, 60, 100});
    SmfTrack longSysex;
    longSysex.bytes = {0x00, 0xF0, 0x90, 0x00, 0x01}; // claims 2048 bytes
    SmfTrack longMeta;
    longMeta.bytes = {0x00, 0xFF, 0x01, 0x20, 'a'};
    SmfTrack endlessDelta;
    endlessDelta.bytes = {0x81, 0x81, 0x81, 0x81, 0x00, 0x90, 1, 1};
    SmfTrack noteCut;
    noteCut.bytes = {0x00, 0x90, 60};
    SmfTrack dataFirst;
    dataFirst.bytes = {0x00, 60, 100, 0x00, 0xFF, 0x2F, 0x00};
    SmfTrack statusInNote;
    statusInNote.event(0, {0x90, 60, 0x85}).end();
    SmfTrack statusInRunningNote;
    statusInRunningNote.event(0, {0x90, 60, 100}).event(0, {62, 0x90}).end();
    SmfTrack statusInProgram;
    statusInProgram.event(0, {0xC0, 0x85}).end();
    SmfTrack statusInSystem;
    statusInSystem.event(0, {0xF2, 0x01, 0x90}).end();
    const Bytes twoTracks = smfFile(1, 96, {SmfTrack{}.end(), SmfTrack{}.end()});
    Bytes noTracks = smfFile(0, 96, {});
    noTracks.insert(noTracks.end(), {'M', 'T', 'r', 'k', 0, 0, 0, 0});
    Bytes foreignPastTheEnd = smfHeader(0, 1, 96);
    foreignPastTheEnd.insert(foreignPastTheEnd.end(), {'X', 'F', 'I', 'H', 0, 0, 1, 0});

    std::vector<std::pair<const char*, Bytes>> cases = {
        {"no end event", smfFile(0, 96, {noEnd})},
        {"sysex past the end", smfFile(0, 96, {longSysex})},
        {"meta past the end", smfFile(0, 96, {longMeta})},
        {"endless delta", smfFile(0, 96, {endlessDelta})},
        {"note cut short", smfFile(0, 96, {noteCut})},
        {"data byte before any status", smfFile(0, 96, {dataFirst})},
        {"status byte in a note", smfFile(0, 96, {statusInNote})},
        {"status byte in a running-status note", smfFile(0, 96, {statusInRunningNote})},
        {"status byte in a program change", smfFile(0, 96, {statusInProgram})},
        {"status byte in a system message", smfFile(0, 96, {statusInSystem})},
        {"other chunk past the end", foreignPastTheEnd},
        {"missing second track", Bytes(twoTracks.begin(), twoTracks.end() - 12)},
        {"no tracks", noTracks},
    };
    for (const auto& [name, bytes] : cases) {
        EXPECT_TRUE(convert(bytes).empty()) << name;
    }
}

TEST(MidiCreate, ReadsGamePaths)
{
    test::TempDir dir;
    test::ScopedCurrentDir here(dir.path());
    SmfTrack track;
    track.event(0, {0x90, 60, 100}).end(96);
    const Bytes file = smfFile(0, 96, {track});
    dir.write("bgm/Title.mid", std::string(file.begin(), file.end()));
    cMidiData found("bgm\\TITLE.MID");
    EXPECT_TRUE(found.HasImage());
    EXPECT_EQ(found.FileName(), "bgm\\TITLE.MID");
    cMidiData missing("bgm\\none.mid");
    EXPECT_FALSE(missing.HasImage());
}

} // namespace
