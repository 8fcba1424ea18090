// Feeds a stage file or a common palette file to its loader. The first byte
// picks the kind (even: stage, odd: common palette), the rest is the file.
// Loading must never crash, hang or allocate without bound; a file that
// loads must save and load again to the same bytes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "data/ed_palette.h"
#include "data/ed_stage.h"
#include "round_trip.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

int loadStage(cEdStage& stage, const Bytes& file)
{
    auto stream = OpenReadBytes(file);
    return LoadStageRecord(stage, stream->in);
}

void fuzzStage(std::span<const std::uint8_t> file)
{
    cEdStage stage;
    if (!loadStage(stage, Bytes(file.begin(), file.end()))) return;
    stage.FindHero();
    const Bytes saved = SaveToBytes(stage);
    cEdStage again;
    Require(loadStage(again, saved) == 1);
    Require(SaveToBytes(again) == saved);

    // The copy kept at the stage start, and a replay snapshot made from both.
    cEdStage atStart;
    atStart.CopySettingsFrom(stage);
    ByteWriter replay;
    replay.writeI32(g_DataVersion);
    stage.SaveForReplay(replay, atStart);
    cEdStage fromReplay;
    Require(loadStage(fromReplay, replay.take()) == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) return 0;
    g_StripCR = 1;
    const std::span<const std::uint8_t> file(data + 1, size - 1);
    if (data[0] % 2 == 0) {
        fuzzStage(file);
    } else {
        cEdPalette palette;
        FuzzRecordFile(palette, file);
    }
    return 0;
}
