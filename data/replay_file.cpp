// Replay files: the stage at an attempt's start, the attempt's input log and
// the progress at its start, in one file of user_data\rpl4\.
//
// Layout (little-endian):
//   int32 data version
//   the stage body as a stage file holds it, with its end code
//   the log body (replay_log.h)
//   the progress record's body (files of version 173 and later)
// and beside it the log's state summary (replay_sync.h).

#include <utility>
#include <vector>

#include "core/report.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/replay_log.h"
#include "platform/atomic_file.h"
#include "platform/byte_reader.h"

namespace {

// Files up to this version end after the log.
constexpr int kLastVersionWithoutProgress = 172;

// A summary holds a line of at most 38 bytes per 60 frames: this is years.
constexpr std::size_t kMaxSyncFileBytes = std::size_t{64} << 20;

} // namespace

int cReplayLog::SaveReplay(const char* path, cEdStage& stage, cEdStage& stageAtStart,
                           cSaveData& progress)
{
    if (!CanBeSavedFor(stage.strFileName)) return 0;
    auto file = OpenWrite(path ? path : "");
    if (!file) return 0;
    stage.SaveForReplay(file->out, stageAtStart);
    Save(file->out);
    progress.Save(file->out);
    if (!CloseFile(file)) return 0;
    SaveSync(path);
    return 1;
}

int cReplayLog::LoadReplay(const char* path, cEdStage& stage, cEdStage& stageAtStart,
                           cSaveData& progress)
{
    auto file = OpenRead(path ? path : "");
    if (!file) return 0;
    if (!LoadReplayStream(*file, stage, stageAtStart, progress)) return 0;
    LoadSync(path);
    return 1;
}

int cReplayLog::LoadReplayBytes(std::span<const std::uint8_t> bytes, cEdStage& stage,
                                cEdStage& stageAtStart, cSaveData& progress)
{
    auto file = OpenReadBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    if (!LoadReplayStream(*file, stage, stageAtStart, progress)) return 0;
    m_Sync.Clear();
    m_SyncFile = SyncFile::kNone;
    return 1;
}

// A log that was not recorded here (read from a file) has no summary of
// all its frames: then none is written, and an older summary of that name
// stays, to be found foreign to this replay when it is read.
void cReplayLog::SaveSync(std::string_view replayPath) const
{
    const std::string path = ReplaySyncPath(replayPath);
    if (path.empty() || m_Sync.Frames() != FrameCount()) return;
    const std::string text = m_Sync.ToText(nSeed);
    plat::AtomicFile file;
    if (file.open(path) && file.write(text.data(), text.size()) && file.commit()) return;
    Report("%s could not be written: the replay will play unchecked", path.c_str());
}

void cReplayLog::LoadSync(std::string_view replayPath)
{
    m_Sync.Clear();
    m_SyncFile = SyncFile::kNone;
    const std::string path = ReplaySyncPath(replayPath);
    if (path.empty()) return;
    const plat::FileBytes file = plat::readGameFile(path, kMaxSyncFileBytes);
    if (file.error == plat::ReadError::NotFound) return;
    std::int32_t seed = 0;
    const auto sync =
        file ? cReplaySync::FromText(
                   {reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()}, seed)
             : std::nullopt;
    if (!sync) {
        m_SyncFile = SyncFile::kDamaged;
        return;
    }
    if (seed != nSeed || sync->Frames() != FrameCount()) {
        m_SyncFile = SyncFile::kForeign;
        return;
    }
    m_Sync = *sync;
    m_SyncFile = SyncFile::kRead;
}

int cReplayLog::LoadReplayStream(ReadStream& file, cEdStage& stage, cEdStage& stageAtStart,
                                 cSaveData& progress)
{
    const int version = g_FileVersion;
    plat::ByteReader& f = file.in;
    if (f.failed()) return 0;

    cEdStage newStage;
    if (!LoadStageRecord(newStage, f)) return 0;
    cReplayLog newLog(*this);
    newLog.Load(f);
    if (f.failed() || newLog.InputsA.empty()) return 0;
    cSaveData newProgress(progress);
    if (version > kLastVersionWithoutProgress) {
        newProgress.Load(f);
        if (f.failed()) return 0;
    }

    cEdStage newStageAtStart;
    newStageAtStart.CopySettingsFrom(newStage);
    stage = std::move(newStage);
    stageAtStart = std::move(newStageAtStart);
    *this = newLog;
    m_StageFile = stage.strFileName;
    progress = std::move(newProgress);
    return 1;
}
