// The player's files as they come from disk: options, progress records
// (story slots, Challenge.dat), replay logs, whole replay files and the
// state summaries beside them. The first byte chooses the kind, the rest is
// the file. Nothing may crash, hang or read past its input; a record that
// loads saves to bytes that load again and save the same, a loaded log
// plays back within its length, and a summary that reads writes the same
// summary back.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "data/ed_option.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "data/replay_log.h"
#include "data/replay_sync.h"
#include "round_trip.h"

namespace {

void playToTheEnd(cReplayLog& log)
{
    std::uint16_t direction = 0;
    std::uint16_t buttons = 0;
    std::int64_t frames = 0;
    while (log.Next(direction, buttons) == 0)
        ++frames;
    Require(frames == log.FrameCount());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    switch (data[0] % 5) {
    case 0: {
        cEdOption options;
        FuzzRecordFile(options, file);
        break;
    }
    case 1: {
        cSaveData progress;
        FuzzRecordFile(progress, file);
        break;
    }
    case 2: {
        cReplayLog log;
        if (FuzzRecordFile(log, file)) playToTheEnd(log);
        break;
    }
    case 3: {
        cEdStage stage;
        cEdStage atStart;
        cReplayLog log;
        cSaveData progress;
        if (log.LoadReplayBytes(file, stage, atStart, progress)) {
            Require(log.FrameCount() > 0);
            playToTheEnd(log);
        }
        break;
    }
    case 4: {
        const std::string_view text(reinterpret_cast<const char*>(file.data()), file.size());
        std::int32_t seed = 0;
        const auto sync = cReplaySync::FromText(text, seed);
        if (sync) {
            std::int32_t again = 0;
            Require(cReplaySync::FromText(sync->ToText(seed), again) == sync && again == seed);
        }
        break;
    }
    }
    return 0;
}
