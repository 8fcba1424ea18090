#pragma once
// The replay log: the player's input of every frame of one attempt at a
// stage, with the random seed of the stage start. Playing the log back from
// that seed, on the same stage and progress, unfolds the same game.
//
// Each frame gives two 16-bit words: the direction bits (1 left, 2 right,
// 4 up, 8 down) and the button bits. Each word is kept as its own run-length
// stream: InputsA lists the distinct consecutive direction words and RunsA
// how many frames each lasted; InputsB and RunsB do the same for the
// buttons. The two streams run independently (a run of one may end inside a
// run of the other); both add up to the number of frames recorded.
//
// Body of a log in a file (after the record base's layout):
//   int32 1, int32 nSeed, int32 0 (one member, no strings)
//   uint32 n, n uint16 of InputsA;  uint32 n, n uint16 of InputsB
//   uint32 n, n int32 of RunsA;     uint32 n, n int32 of RunsB
// A body whose streams do not each hold as many runs as values, whose runs
// are not all at least 1 frame, or whose streams cover different numbers of
// frames is damaged: loading it fails.
//
// The log also remembers, in memory only, the file of the stage that it was
// recorded on (Start). A replay is written only when the log belongs to the
// stage being saved with it, so a log can never be paired with a stage it
// was not played on. Beside it goes the summary of the states the log led
// to (replay_sync.h), written and read with the replay in a file of its own.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/ed_data.h"
#include "data/replay_sync.h"

class cEdStage;
class cSaveData;

class cReplayLog : public cEdData {
public:
    std::vector<std::uint16_t> InputsA; // distinct consecutive direction words
    std::vector<std::uint16_t> InputsB; // distinct consecutive button words
    std::vector<std::int32_t> RunsA;    // frames of each entry of InputsA
    std::vector<std::int32_t> RunsB;    // frames of each entry of InputsB
    std::int32_t nSeed = 0;             // random seed of the stage start (stored)
    // Playback position: the entry of each stream being played, and the
    // frames of it already played. The stage set-up sets all four to 0 to
    // rewind the log.
    std::int32_t nPosA = 0;
    std::int32_t nPosB = 0;
    std::int32_t nStepA = 0;
    std::int32_t nStepB = 0;
    // The file of the stage the log was recorded on (not stored).
    std::string m_StageFile;
    // Frames played back since the log was last rewound (not stored).
    std::int64_t m_Played = 0;
    // The states the log leads to: noted frame by frame while it is
    // recorded, read from the summary beside a replay file when one is read.
    cReplaySync m_Sync;
    // What was found beside the replay file last read.
    enum class SyncFile { kNone, kRead, kDamaged, kForeign };
    SyncFile m_SyncFile = SyncFile::kNone;

    cReplayLog();
    cReplayLog(const cReplayLog& src);
    // Copies the streams, the seed, the stage and the summary; the playback
    // position of this log stays as it was.
    cReplayLog& operator=(const cReplayLog& src);

    void RegisterMembers(int version) override;
    // Reads a log body; the playback position is left as it is. A damaged
    // body (see above) fails the reader.
    void Load(plat::ByteReader& f) override;
    void Save(ByteWriter& f) override;

    // An empty log: seed 0, no frames, position 0, no stage, no summary.
    void Clear();
    // Back to the first frame for playing it again.
    void Rewind();
    // Begins the log of a new attempt: cleared, with the attempt's seed and
    // the file of the stage being played.
    void Start(std::int32_t seed, std::string_view stageFile);
    // Whether the log was recorded on the stage of that file.
    bool RecordedOn(std::string_view stageFile) const;
    // Whether the log can be saved as a replay of the stage of that file: it
    // holds at least one frame, is well formed and was recorded on that
    // stage. The F1/F2 keys warn instead of asking for a file otherwise.
    bool CanBeSavedFor(std::string_view stageFile) const;

    // Appends one frame: the direction word and the button word.
    void Record(std::uint16_t direction, std::uint16_t buttons);
    // Gives the next frame's two words and returns 0; returns 1, and leaves
    // the words as they are, when the log has ended (at once for an empty
    // log). Never reads outside the streams, whatever their contents.
    // Counts the frames played in m_Played.
    int Next(std::uint16_t& direction, std::uint16_t& buttons);

    // Writes a replay file: the data version, the stage as it was at the
    // attempt's start (the settings of stageAtStart with the palette and
    // placed objects of stage, and the end code), this log, and the progress
    // at the attempt's start. Refused (0, nothing written) when the log is
    // empty or was not recorded on that stage; 0 also when the file cannot be
    // written, in which case an older file of that name stays as it was.
    // 1 when written. The summary goes beside it when the log has one of all
    // its frames; a summary that cannot be written is said in the run
    // report (the replay then plays unchecked).
    int SaveReplay(const char* path, cEdStage& stage, cEdStage& stageAtStart, cSaveData& progress);
    // Reads a replay file into the live stage, its settings copy, this log
    // and (from files of version 173 on) the progress record. All four are
    // changed only when the whole file reads cleanly and its log holds at
    // least one frame; otherwise 0 and nothing changes. 1 when read. The
    // summary beside the file is read too (m_SyncFile says how it went): one
    // that is damaged or belongs to another log is not used.
    int LoadReplay(const char* path, cEdStage& stage, cEdStage& stageAtStart, cSaveData& progress);
    // The same over a replay file's bytes already in memory.
    int LoadReplayBytes(std::span<const std::uint8_t> bytes, cEdStage& stage,
                        cEdStage& stageAtStart, cSaveData& progress);

    // The number of frames recorded (of the direction stream).
    std::int64_t FrameCount() const;
    // Whether the streams are well formed (see the header comment).
    bool IsConsistent() const;

private:
    void SaveSync(std::string_view replayPath) const;
    void LoadSync(std::string_view replayPath);
    int LoadReplayStream(ReadStream& file, cEdStage& stage, cEdStage& stageAtStart,
                         cSaveData& progress);
};

// The log of the current attempt (recorded, and also the one played back)
// and the log of the previous attempt.
extern cReplayLog g_ReplayLog;
extern cReplayLog g_ReplayLog2;
