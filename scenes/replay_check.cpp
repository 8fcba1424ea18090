#include "scenes/replay_check.h"

#include "core/report.h"
#include "data/replay_log.h"
#include "world/state_hash.h"

void cReplayCheck::Recorded(cReplayLog& log, const cRunningStage& stage)
{
    log.m_Sync.NoteFrame(HashStageState(stage));
}

void cReplayCheck::Played(const cReplayLog& log, const cRunningStage& stage,
                          const std::string& replayPath)
{
    using SyncFile = cReplayLog::SyncFile;
    if (log.m_SyncFile != SyncFile::kRead) {
        if (log.m_SyncFile != SyncFile::kNone && !m_Reported) {
            Report("%s beside %s: the replay plays unchecked",
                   log.m_SyncFile == SyncFile::kDamaged ? "a damaged state summary"
                                                        : "the state summary of another replay",
                   replayPath.c_str());
            m_Reported = true;
        }
        return;
    }
    const std::int64_t frame = log.m_Played;
    const std::int64_t last = log.m_Sync.Frames();
    if (frame <= m_LastPlayed && m_LastPlayed < last)
        OutOfSync(replayPath, m_LastPlayed, "started over after");
    m_LastPlayed = frame;
    const auto expected = log.m_Sync.Expected(frame);
    if (!expected) return;
    if (*expected != HashStageState(stage)) {
        OutOfSync(replayPath, frame, "left the recorded states at");
        return;
    }
    ++m_Matched;
    if (frame == last) ++m_Completed;
}

void cReplayCheck::OutOfSync(const std::string& replayPath, std::int64_t frame, const char* what)
{
    if (m_OutOfSyncAt == 0) m_OutOfSyncAt = frame;
    if (m_Reported) return;
    Report("replay %s is out of sync: it %s frame %lld", replayPath.c_str(), what,
           static_cast<long long>(frame));
    m_Reported = true;
}
