// The replay log: recording into run-length streams, playing back, its body
// in a file, and logs that are damaged or do not hang together.

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "data/replay_log.h"
#include "file_bytes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Words = std::vector<std::uint16_t>;
using Runs = std::vector<std::int32_t>;
using test::FileBytes;

cReplayLog recorded(const Words& directions, const Words& buttons)
{
    cReplayLog log;
    for (std::size_t i = 0; i < directions.size(); ++i)
        log.Record(directions[i], buttons[i]);
    return log;
}

// Plays the log to its end; the pairs of words it gave.
std::vector<std::pair<std::uint16_t, std::uint16_t>> playAll(cReplayLog& log)
{
    std::vector<std::pair<std::uint16_t, std::uint16_t>> frames;
    std::uint16_t direction = 0;
    std::uint16_t buttons = 0;
    while (log.Next(direction, buttons) == 0) {
        frames.emplace_back(direction, buttons);
        if (frames.size() > 10000) break; // a log that never ends is a fault
    }
    return frames;
}

TEST(ReplayLog, RecordingKeepsEachWordAsRunsOfDistinctValues)
{
    struct Case {
        Words directions, buttons;
        Words inputsA, inputsB;
        Runs runsA, runsB;
    };
    const std::vector<Case> cases = {
        {{0, 0, 0, 2, 2, 0}, {0, 0, 0, 0, 0, 0}, {0, 2, 0}, {0}, {3, 2, 1}, {6}},
        // Buttons change every frame while the direction never does.
        {{8, 8, 8, 8}, {1, 2, 1, 2}, {8}, {1, 2, 1, 2}, {4}, {1, 1, 1, 1}},
        // The streams' runs end at different frames.
        {{1, 1, 2, 2, 2}, {0, 4, 4, 4, 0}, {1, 2}, {0, 4, 0}, {2, 3}, {1, 3, 1}},
        {{}, {}, {}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        const cReplayLog log = recorded(c.directions, c.buttons);
        EXPECT_EQ(log.InputsA, c.inputsA);
        EXPECT_EQ(log.RunsA, c.runsA);
        EXPECT_EQ(log.InputsB, c.inputsB);
        EXPECT_EQ(log.RunsB, c.runsB);
        EXPECT_EQ(log.FrameCount(), static_cast<std::int64_t>(c.directions.size()));
    }
}

TEST(ReplayLog, PlaybackGivesEveryRecordedFrameThenEnds)
{
    const Words directions = {0, 0, 0, 2, 2, 0, 5, 5};
    const Words buttons = {0, 3, 3, 3, 0, 0, 0, 128};
    cReplayLog log = recorded(directions, buttons);
    const auto frames = playAll(log);
    ASSERT_EQ(frames.size(), directions.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].first, directions[i]) << "frame " << i;
        EXPECT_EQ(frames[i].second, buttons[i]) << "frame " << i;
    }
    // At the end the words are left as they were, and the log stays ended.
    std::uint16_t direction = 77;
    std::uint16_t button = 88;
    EXPECT_EQ(log.Next(direction, button), 1);
    EXPECT_EQ(direction, 77);
    EXPECT_EQ(button, 88);

    // Rewinding, as the stage set-up does, plays it again from the start.
    log.nPosA = log.nPosB = log.nStepA = log.nStepB = 0;
    EXPECT_EQ(playAll(log), frames);
}

TEST(ReplayLog, EmptyLogEndsAtOnce)
{
    cReplayLog log;
    std::uint16_t direction = 0;
    std::uint16_t buttons = 0;
    EXPECT_EQ(log.Next(direction, buttons), 1);
}

TEST(ReplayLog, PlaybackOfAMalformedLogStaysInsideItsStreams)
{
    struct Case {
        const char* what;
        Words inputsA, inputsB;
        Runs runsA, runsB;
        std::int32_t pos;
        std::size_t frames;
    };
    const std::vector<Case> cases = {
        {"fewer runs than values", {1, 2, 3}, {0}, {1}, {5}, 0, 1},
        {"more runs than values", {1}, {0, 4}, {1, 1, 1}, {1, 1}, 0, 1},
        {"runs of zero and below count one frame", {1, 2}, {0, 4}, {0, -5}, {1, 1}, 0, 2},
        {"negative position", {1}, {0}, {3}, {3}, -2, 0},
        {"position past the end", {1}, {0}, {3}, {3}, 9, 0},
    };
    for (const Case& c : cases) {
        cReplayLog log;
        log.InputsA = c.inputsA;
        log.InputsB = c.inputsB;
        log.RunsA = c.runsA;
        log.RunsB = c.runsB;
        log.nPosA = log.nPosB = c.pos;
        EXPECT_EQ(playAll(log).size(), c.frames) << c.what;
    }
}

TEST(ReplayLog, AssignmentCopiesTheLogButNotThePlaybackPosition)
{
    cReplayLog source = recorded({1, 1, 2}, {0, 0, 0});
    source.Start(1234, "data\\stg4\\a.stg4_001");
    source.Record(1, 0);
    source.Record(2, 4);
    source.nPosA = 1;

    cReplayLog copy;
    copy.nStepB = 5;
    copy = source;
    EXPECT_EQ(copy.InputsA, source.InputsA);
    EXPECT_EQ(copy.RunsB, source.RunsB);
    EXPECT_EQ(copy.nSeed, 1234);
    EXPECT_TRUE(copy.RecordedOn("data\\stg4\\a.stg4_001"));
    EXPECT_EQ(copy.nPosA, 0);
    EXPECT_EQ(copy.nStepB, 5);
}

TEST(ReplayLog, StartBeginsAnEmptyLogForOneStage)
{
    cReplayLog log = recorded({1, 2}, {3, 4});
    log.nPosA = 2;
    log.Start(-7, "data\\stg4\\b.stg4_002");
    EXPECT_EQ(log.nSeed, -7);
    EXPECT_TRUE(log.InputsA.empty());
    EXPECT_TRUE(log.RunsB.empty());
    EXPECT_EQ(log.nPosA, 0);
    EXPECT_TRUE(log.RecordedOn("data\\stg4\\b.stg4_002"));
    EXPECT_FALSE(log.RecordedOn("data\\stg4\\c.stg4_002"));

    log.Clear();
    EXPECT_EQ(log.nSeed, 0);
    EXPECT_FALSE(log.RecordedOn("data\\stg4\\b.stg4_002"));
}

TEST(ReplayLog, OnlyAWellFormedLogOfTheSameStageCanBeSaved)
{
    const char* stage = "data\\stg4\\b.stg4_002";
    cReplayLog log;
    log.Start(1, stage);
    EXPECT_FALSE(log.CanBeSavedFor(stage)); // no frame yet
    log.Record(1, 0);
    EXPECT_TRUE(log.CanBeSavedFor(stage));
    EXPECT_FALSE(log.CanBeSavedFor("data\\stg4\\c.stg4_002"));
    log.RunsB.push_back(1);
    EXPECT_FALSE(log.CanBeSavedFor(stage));
}

TEST(ReplayLog, BodyIsTheSeedRecordAndFourCountedStreams)
{
    cReplayLog log = recorded({0, 0, 0, 2, 2, 0}, {1, 1, 1, 1, 1, 1});
    log.nSeed = 0x12345678;
    const Bytes expected = FileBytes()
                               .i32(511)
                               .i32(1)
                               .i32(0x12345678)
                               .i32(0)
                               .i32(3)
                               .i16(0)
                               .i16(2)
                               .i16(0)
                               .i32(1)
                               .i16(1)
                               .i32(3)
                               .i32(3)
                               .i32(2)
                               .i32(1)
                               .i32(1)
                               .i32(6);
    EXPECT_EQ(SaveToBytes(log), expected);

    cReplayLog loaded;
    loaded.nPosA = 2;
    ASSERT_EQ(LoadFileBytes(loaded, expected), 1);
    EXPECT_EQ(loaded.nSeed, 0x12345678);
    EXPECT_EQ(loaded.InputsA, log.InputsA);
    EXPECT_EQ(loaded.RunsA, log.RunsA);
    EXPECT_EQ(loaded.InputsB, log.InputsB);
    EXPECT_EQ(loaded.RunsB, log.RunsB);
    EXPECT_EQ(loaded.nPosA, 2); // the position is not part of the body
    EXPECT_EQ(SaveToBytes(loaded), expected);
}

TEST(ReplayLog, DamagedBodiesFailAndLeaveTheLogAsItWas)
{
    auto body = [](Words inputsA, Words inputsB, Runs runsA, Runs runsB) {
        FileBytes b;
        b.i32(511).i32(1).i32(9).i32(0);
        b.i32(static_cast<std::int32_t>(inputsA.size()));
        for (auto w : inputsA)
            b.i16(static_cast<std::int16_t>(w));
        b.i32(static_cast<std::int32_t>(inputsB.size()));
        for (auto w : inputsB)
            b.i16(static_cast<std::int16_t>(w));
        b.i32(static_cast<std::int32_t>(runsA.size()));
        for (auto r : runsA)
            b.i32(r);
        b.i32(static_cast<std::int32_t>(runsB.size()));
        for (auto r : runsB)
            b.i32(r);
        return Bytes(b);
    };
    const Bytes good = body({1, 2}, {0}, {2, 3}, {5});
    std::vector<std::pair<const char*, Bytes>> cases = {
        {"more runs than values", body({1}, {0}, {2, 3}, {5})},
        {"fewer runs than values", body({1, 2}, {0}, {5}, {5})},
        {"a run of zero frames", body({1, 2}, {0}, {5, 0}, {5})},
        {"a negative run", body({1, 2}, {0}, {6, -1}, {5})},
        {"streams of different lengths in frames", body({1, 2}, {0}, {2, 3}, {6})},
        {"a count past the end", FileBytes().i32(511).i32(1).i32(9).i32(0).i32(0x7FFFFFFF)},
        {"two members", FileBytes().i32(511).i32(2).i32(9).i32(9).i32(0)},
        {"a string", FileBytes().i32(511).i32(1).i32(9).i32(1).i32(1)},
    };
    for (std::size_t cut = 0; cut < good.size(); ++cut) {
        cases.emplace_back("truncated", Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
    }
    const cReplayLog before = recorded({4, 4, 8}, {0, 1, 1});
    for (const auto& [what, bytes] : cases) {
        cReplayLog log = before;
        EXPECT_EQ(LoadFileBytes(log, bytes), 0) << what << ", " << bytes.size() << " bytes";
        EXPECT_EQ(log.InputsA, before.InputsA) << what;
        EXPECT_EQ(log.RunsB, before.RunsB) << what;
        EXPECT_EQ(log.nSeed, before.nSeed) << what;
    }
    cReplayLog log;
    EXPECT_EQ(LoadFileBytes(log, good), 1);
    EXPECT_EQ(log.FrameCount(), 5);
}

} // namespace
