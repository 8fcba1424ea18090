// Replay files: the stage at an attempt's start, the attempt's input log and
// the progress at its start, in one file of user_data\rpl4\.
//
// Layout (little-endian):
//   int32 data version
//   the stage body as a stage file holds it, with its end code
//   the log body (replay_log.h)
//   the progress record's body (files of version 173 and later)

#include <utility>
#include <vector>

#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/replay_log.h"

namespace {

// Files up to this version end after the log.
constexpr int kLastVersionWithoutProgress = 172;

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
    return CloseFile(file);
}

int cReplayLog::LoadReplay(const char* path, cEdStage& stage, cEdStage& stageAtStart,
                           cSaveData& progress)
{
    auto file = OpenRead(path ? path : "");
    if (!file) return 0;
    return LoadReplayStream(*file, stage, stageAtStart, progress);
}

int cReplayLog::LoadReplayBytes(std::span<const std::uint8_t> bytes, cEdStage& stage,
                                cEdStage& stageAtStart, cSaveData& progress)
{
    auto file = OpenReadBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    return LoadReplayStream(*file, stage, stageAtStart, progress);
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
