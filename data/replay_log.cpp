#include "data/replay_log.h"

#include <limits>

cReplayLog g_ReplayLog;
cReplayLog g_ReplayLog2;

namespace {

// Appends one frame of value to a run-length stream. A run that has reached
// the largest count starts a new entry of the same value (after years of
// frames), which plays back the same.
void appendFrame(std::vector<std::uint16_t>& values, std::vector<std::int32_t>& runs,
                 std::uint16_t value)
{
    if (!values.empty() && values.size() == runs.size() && values.back() == value &&
        runs.back() < std::numeric_limits<std::int32_t>::max()) {
        ++runs.back();
        return;
    }
    values.push_back(value);
    runs.push_back(1);
}

// Takes the next frame of a stream into value; false at its end. A stream
// whose two vectors differ in length ends at the shorter one; a run shorter
// than one frame counts as one.
bool nextFrame(const std::vector<std::uint16_t>& values, const std::vector<std::int32_t>& runs,
               std::int32_t& pos, std::int32_t& step, std::uint16_t& value)
{
    const std::size_t length = std::min(values.size(), runs.size());
    if (pos < 0 || static_cast<std::size_t>(pos) >= length) return false;
    value = values[static_cast<std::size_t>(pos)];
    if (step < 0) step = 0;
    ++step;
    if (step >= runs[static_cast<std::size_t>(pos)]) {
        step = 0;
        ++pos;
    }
    return true;
}

// The frames a stream covers; -1 when it is not well formed.
std::int64_t streamFrames(const std::vector<std::uint16_t>& values,
                          const std::vector<std::int32_t>& runs)
{
    if (values.size() != runs.size()) return -1;
    std::int64_t frames = 0;
    for (const std::int32_t run : runs) {
        if (run < 1) return -1;
        frames += run;
    }
    return frames;
}

} // namespace

cReplayLog::cReplayLog()
{
    Clear();
}

cReplayLog::cReplayLog(const cReplayLog& src) : cEdData(src)
{
    *this = src;
}

cReplayLog& cReplayLog::operator=(const cReplayLog& src)
{
    if (&src == this) return *this;
    cEdData::operator=(src);
    InputsA = src.InputsA;
    InputsB = src.InputsB;
    RunsA = src.RunsA;
    RunsB = src.RunsB;
    nSeed = src.nSeed;
    m_StageFile = src.m_StageFile;
    m_Sync = src.m_Sync;
    m_SyncFile = src.m_SyncFile;
    return *this;
}

void cReplayLog::RegisterMembers(int /*version*/)
{
    ClearMemberTables();
    AddField4(&nSeed, 1);
}

void cReplayLog::Load(plat::ByteReader& f)
{
    cEdData::Load(f);
    LoadValues(InputsA, f);
    LoadValues(InputsB, f);
    LoadValues(RunsA, f);
    LoadValues(RunsB, f);
    if (!f.failed() && !IsConsistent()) f.fail();
}

void cReplayLog::Save(ByteWriter& f)
{
    cEdData::Save(f);
    SaveValues(InputsA, f);
    SaveValues(InputsB, f);
    SaveValues(RunsA, f);
    SaveValues(RunsB, f);
}

void cReplayLog::Clear()
{
    cEdData::Clear();
    InputsA.clear();
    InputsB.clear();
    RunsA.clear();
    RunsB.clear();
    Rewind();
    m_StageFile.clear();
    m_Sync.Clear();
    m_SyncFile = SyncFile::kNone;
}

void cReplayLog::Rewind()
{
    nPosA = nPosB = nStepA = nStepB = 0;
    m_Played = 0;
}

void cReplayLog::Start(std::int32_t seed, std::string_view stageFile)
{
    Clear();
    nSeed = seed;
    m_StageFile = stageFile;
}

bool cReplayLog::RecordedOn(std::string_view stageFile) const
{
    return m_StageFile == stageFile;
}

bool cReplayLog::CanBeSavedFor(std::string_view stageFile) const
{
    return !InputsA.empty() && IsConsistent() && RecordedOn(stageFile);
}

void cReplayLog::Record(std::uint16_t direction, std::uint16_t buttons)
{
    appendFrame(InputsA, RunsA, direction);
    appendFrame(InputsB, RunsB, buttons);
}

int cReplayLog::Next(std::uint16_t& direction, std::uint16_t& buttons)
{
    const std::size_t lengthA = std::min(InputsA.size(), RunsA.size());
    const std::size_t lengthB = std::min(InputsB.size(), RunsB.size());
    if (nPosA < 0 || static_cast<std::size_t>(nPosA) >= lengthA || nPosB < 0 ||
        static_cast<std::size_t>(nPosB) >= lengthB) {
        return 1;
    }
    nextFrame(InputsA, RunsA, nPosA, nStepA, direction);
    nextFrame(InputsB, RunsB, nPosB, nStepB, buttons);
    ++m_Played;
    return 0;
}

std::int64_t cReplayLog::FrameCount() const
{
    std::int64_t frames = 0;
    for (const std::int32_t run : RunsA)
        frames += run;
    return frames;
}

bool cReplayLog::IsConsistent() const
{
    const std::int64_t framesA = streamFrames(InputsA, RunsA);
    return framesA >= 0 && framesA == streamFrames(InputsB, RunsB);
}
