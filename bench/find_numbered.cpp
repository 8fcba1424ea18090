// The newest-numbered-file search over a stage folder of realistic size: the
// series searched for has few numbers, so most of the 1000 names are missing.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/path.h"

namespace {

namespace fs = std::filesystem;

// A game folder with 50 stages of 4 numbered versions each.
class StageFolder {
public:
    StageFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "rt-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        root_ = pattern;
        fs::create_directories(root_ / "data" / "stg4");
        for (int stage = 0; stage < 50; ++stage) {
            for (int version = 0; version < 4; ++version) {
                const std::string name =
                    "Stage" + std::to_string(stage) + ".stg4_00" + std::to_string(version);
                std::ofstream(root_ / "data" / "stg4" / name) << "x";
            }
        }
        previous_ = fs::current_path();
        fs::current_path(root_);
    }
    ~StageFolder()
    {
        fs::current_path(previous_);
        fs::remove_all(root_);
    }

private:
    fs::path root_;
    fs::path previous_;
};

void FindNewestStage(benchmark::State& state, const char* path)
{
    const StageFolder folder;
    std::string out;
    for (auto _ : state)
        benchmark::DoNotOptimize(FindNewestNumbered(out, path, "stg4"));
}

BENCHMARK_CAPTURE(FindNewestStage, same_case, "data\\stg4\\Stage7.stg4")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindNewestStage, other_case, "DATA\\STG4\\stage7.stg4")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindNewestStage, missing, "data\\stg4\\None.stg4")->Unit(benchmark::kMillisecond);

} // namespace
