// Reading a large stage: 200 by 100 placed blocks and 500 characters with
// flows, conditions and commands, most of them inheriting from the stage's
// palette. Reports the megabytes of stage file read per second, for the
// record read from memory and for the whole load of a stage file on the
// loader thread.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/ed_data.h"
#include "data/ed_palette.h"
#include "data/ed_stage.h"
#include "data/stage_load.h"

namespace {

namespace fs = std::filesystem;

cEdFlow SampleFlow(int trigger)
{
    cEdFlow flow;
    flow.m_Trigger = static_cast<std::int8_t>(trigger);
    flow.m_Conds.resize(2);
    flow.m_Conds[0].m_Kind = 7;
    flow.m_KeyConds.resize(1);
    cEdCommand move;
    move.m_Kind = 2;
    move.m_Time = 10;
    MakeMovePart(move.m_Move);
    cEdCommand shot;
    shot.m_Kind = 11;
    MakeShotPart(shot.m_Shot);
    cEdCommand status;
    status.m_Kind = 22;
    status.m_Params.assign(18, 1);
    flow.m_Commands = {move, shot, status};
    return flow;
}

std::vector<std::uint8_t> LargeStageFile()
{
    cEdStage stage;
    stage.nWidth = 200;
    stage.nHeight = 100;
    stage.PaletteBlocks.resize(10, NoneBlock());
    for (int i = 1; i < 10; ++i) {
        stage.PaletteBlocks[static_cast<std::size_t>(i)].nGraphicNo = static_cast<std::int16_t>(i);
        stage.PaletteBlocks[static_cast<std::size_t>(i)].strName = "block";
    }
    stage.PaletteCharas.resize(6, NoneChara());
    for (int i = 1; i < 6; ++i) {
        cEdChara& c = stage.PaletteCharas[static_cast<std::size_t>(i)];
        c.nGraphicNo = 1;
        c.strName = "enemy";
        c.Flows = {SampleFlow(0), SampleFlow(7), SampleFlow(3)};
    }
    stage.PaletteCharas[1].nOperator = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            cEdBlock block = NoneBlock();
            block.nX = static_cast<std::int16_t>(x);
            block.nY = static_cast<std::int16_t>(y);
            block.nPaletteKind = 2;
            block.nPaletteIndex = static_cast<std::int16_t>(1 + (x + y) % 9);
            block.InheritFlags.assign(11, 1);
            stage.PlacedBlocks.push_back(block);
        }
    }
    for (int i = 0; i < 500; ++i) {
        cEdChara chara = NoneChara();
        chara.nX = static_cast<std::int16_t>(i % 200);
        chara.nY = static_cast<std::int16_t>(i / 200);
        chara.nPaletteKind = 2;
        chara.nPaletteIndex = static_cast<std::int16_t>(1 + i % 5);
        chara.InheritFlags.assign(37, 1);
        stage.PlacedCharas.push_back(chara);
    }
    return SaveToBytes(stage);
}

const std::vector<std::uint8_t>& StageBytes()
{
    static const std::vector<std::uint8_t> bytes = LargeStageFile();
    return bytes;
}

// The stage record read from a file image in memory.
void ReadStageRecord(benchmark::State& state)
{
    const auto& bytes = StageBytes();
    for (auto _ : state) {
        cEdStage stage;
        auto file = OpenReadBytes(bytes);
        if (!LoadStageRecord(stage, file->in)) state.SkipWithError("the stage did not load");
        benchmark::DoNotOptimize(stage.PlacedBlocks.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

// The whole load of a stage file: newest numbered file, end-code check, the
// read on the loader thread, the hero check and the copy of its settings.
void LoadStageFile(benchmark::State& state)
{
    const auto& bytes = StageBytes();
    std::string pattern = (fs::temp_directory_path() / "rt-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    const fs::path root = pattern;
    std::ofstream(root / "Big.stg4_000", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    const fs::path previous = fs::current_path();
    fs::current_path(root);
    for (auto _ : state) {
        if (!LoadStage("Big.stg4", 1, &g_StageAtStart)) state.SkipWithError("no load");
    }
    fs::current_path(previous);
    fs::remove_all(root);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(ReadStageRecord)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(LoadStageFile)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
