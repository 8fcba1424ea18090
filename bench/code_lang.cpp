// ExecCode per call: texts as authors typically write them, and long texts
// of repeated statements and groups (5,000 characters, and a range of
// lengths to show that the time grows linearly with the length).
#include <benchmark/benchmark.h>

#include <string>

#include "data/ed_save_data.h"
#include "world/code_lang.h"
#include "world/random.h"
#include "world/running_stage.h"
#include "world/world_services.h"

namespace {

class QuietServices : public cWorldServices {
public:
    void ErrorBox(const char*) override {}
    void RequestClose() override {}
};

// A stage with the player and a computer character that targets it.
struct BenchWorld {
    QuietServices services;
    cRunningStage stage;
    cNpcObj* runner = nullptr;

    BenchWorld()
    {
        SetWorldServices(&services);
        g_RunStage = &stage;
        cPlayerObj player;
        player.m_Def.nMaxHP = 100;
        player.m_Hp = 100;
        stage.Player.push_back(player);
        cNpcObj npc;
        npc.m_ObjNo = 1;
        npc.m_Operator = 1;
        npc.m_Def.nMaxHP = 500;
        npc.m_Hp = 500;
        npc.m_TargetNo = 2;
        runner = &stage.AddChara(npc);
        npc.m_ObjNo = 2;
        npc.m_TargetNo = -1;
        stage.AddChara(npc);
        g_Progress.vCommonVar.assign(kCommonVars, 0);
        SeedRandom(1);
    }
    ~BenchWorld()
    {
        g_RunStage = nullptr;
        SetWorldServices(nullptr);
    }
};

// Statements repeated up to the length.
std::string LongText(std::size_t length)
{
    const std::string statement = "v1 = v1 + ( v2 * 3 ) - rand(1, 6) S4 = ( C2 + ( tg.hp / 7 ) ) ";
    std::string text;
    while (text.size() + statement.size() <= length)
        text += statement;
    text.append(length - text.size(), ' ');
    return text;
}

void ExecText(benchmark::State& state, const std::string& text)
{
    BenchWorld world;
    for (auto _ : state)
        benchmark::DoNotOptimize(ExecCode(text, *world.runner));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void ExecCodeTypical(benchmark::State& state, const char* text)
{
    ExecText(state, text);
}

void ExecCodeLong(benchmark::State& state)
{
    const std::string text = LongText(static_cast<std::size_t>(state.range(0)));
    ExecText(state, text);
    state.SetComplexityN(state.range(0));
}

BENCHMARK_CAPTURE(ExecCodeTypical, increment, "v1 = v1 + 1");
BENCHMARK_CAPTURE(ExecCodeTypical, heal, "hp = hp + 10");
BENCHMARK_CAPTURE(ExecCodeTypical, dice, "S3 = rand(1, 6)");
BENCHMARK_CAPTURE(ExecCodeTypical, damage_target, "tg.hp = tg.hp - ( power - tg.def )");
BENCHMARK_CAPTURE(ExecCodeTypical, two_statements, "C10 = C10 + S2 * 2 pl.v2 = my.v2 = 3");
BENCHMARK(ExecCodeLong)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ExecCodeLong)
    ->RangeMultiplier(4)
    ->Range(500, 128000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

} // namespace
