// The whole program running the bundled game at its 60 frames a second,
// its first stage started directly, for a minute: played (the tests' demo
// player at the keys) or standing in the pause menu. Run it under Xvfb with
// SDL's x11 video driver (scripts/bench.sh does) to measure the program as
// a player runs it; each run reports
//   cpu_own       CPU time of the program's own threads as a fraction of
//                 one core (the threads of a software OpenGL driver that
//                 stands in for a GPU under Xvfb left out),
//   cpu_main, cpu_game, cpu_other   the same for the main thread, the game
//                 thread and the rest of the program's own threads,
//   cpu_gl        the software OpenGL driver's threads,
//   rss_mb        resident memory at the end, rss_peak_mb its peak,
//   fps           frames handed to the window per second,
//   interval_p50_ms, interval_p99_ms, interval_max_ms   the intervals
//                 between frames handed to the window (16.7 ms is the
//                 60 Hz frame), and jitter_p99_ms: p99 minus 16.7 ms.
// A sanitized build runs each phase for two seconds only: there the program
// only has to work.

#include <benchmark/benchmark.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "media/dd_output.h"
#include "platform/game_window.h"
#include "platform/input.h"
#include "platform/message_box.h"
#include "scenes/game_play.h"
#include "scenes/scene_table.h"
#include "shell/app_state.h"
#include "shell/entry.h"
#include "support/demo_bot.h"
#include "support/generated_game.h"
#include "support/sanitized_build.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "world/input_state.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kSeconds = test::kSanitizedBuild ? 2 : 60;
// From the start to the stage's play: the fade and the start display.
constexpr double kWarmUpSeconds = 3;
constexpr double kFrameMs = 1000.0 / 60;

long ThreadId()
{
    return static_cast<long>(syscall(SYS_gettid));
}

// What the bench watches inside the running program.
struct Probe {
    bool pause = false; // stand in the pause menu
    std::atomic<long> gameThread{0};
    std::atomic<bool> timing{false};
    std::mutex lock;
    std::vector<Clock::time_point> presents;
    test::DemoBot bot;
};

Probe* g_Probe = nullptr;

void Hold(int vk, bool down)
{
    if (plat::keyDown(vk) != down) plat::setKeyDown(vk, down);
}

// The game's own play scene, with the player at the keys and the frames
// handed to the window timed.
class MeasuredPlay : public cGamePlay {
public:
    void Run() override
    {
        Probe& probe = *g_Probe;
        if (probe.gameThread == 0) {
            probe.gameThread = ThreadId();
            DDSetFrameSink([](const std::uint32_t* xrgb, int w, int h) {
                if (g_Probe->timing) {
                    const std::lock_guard lock(g_Probe->lock);
                    g_Probe->presents.push_back(Clock::now());
                }
                plat::presentToGameWindow(xrgb, w, h);
            });
        }
        if (probe.pause) {
            Hold(plat::VK_SPACE, m_Phase == PHASE_PLAY);
        } else if (m_Phase == PHASE_PLAY) {
            const InputFrame keys = probe.bot.Decide(*this);
            Hold(plat::VK_RIGHT, keys.m_Dir & kDirRight);
            Hold(plat::VK_LEFT, keys.m_Dir & kDirLeft);
            Hold('Z', keys.m_Buttons & 1);
            Hold('X', keys.m_Buttons & 2);
        }
        cGamePlay::Run();
    }
};

std::unique_ptr<cScene> MakeMeasuredPlay()
{
    return std::make_unique<MeasuredPlay>();
}

struct ThreadTime {
    std::string name;
    double seconds = 0;
};

// Every thread of the process: its name and its CPU time so far.
std::map<long, ThreadTime> ThreadTimes()
{
    std::map<long, ThreadTime> times;
    const double tick = static_cast<double>(sysconf(_SC_CLK_TCK));
    std::error_code ec;
    for (const auto& task : fs::directory_iterator("/proc/self/task", ec)) {
        std::ifstream stat(task.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const std::size_t open = line.find('('), close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 2));
        std::string field;
        std::vector<std::string> fields;
        while (rest >> field)
            fields.push_back(field);
        if (fields.size() < 13) continue;
        // After the name: state is field 3, utime 14 and stime 15.
        const double ticks = std::stod(fields[11]) + std::stod(fields[12]);
        times[std::stol(task.path().filename().string())] = {
            line.substr(open + 1, close - open - 1), ticks / tick};
    }
    return times;
}

double StatusMb(const char* key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0) return std::stod(line.substr(std::strlen(key))) / 1024.0;
    return 0;
}

double Percentile(std::vector<double> values, double p)
{
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(at, values.size() - 1)];
}

// Arguments: 0 playing, 1 paused.
void BM_RunningGame(benchmark::State& state)
{
    test::ScopedEnv binary("RT_BINARY_DIR", RT_BINARY_DIR);
    test::TempDir dir;
    test::copyGeneratedGame(dir.path());
    fs::copy(dir / "default", dir / "data", fs::copy_options::recursive);
    test::ScopedCurrentDir cwd(dir.path());
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", dir.path().string());
    plat::setMessageBoxResponder([](const plat::BoxRequest&) { return IDYES; });
    Probe probe;
    probe.pause = state.range(0) == 1;
    g_Probe = &probe;
    const auto ownPlay = g_SceneFactories[SCENE_GAME_PLAY];
    g_SceneFactories[SCENE_GAME_PLAY] = MakeMeasuredPlay;

    for (auto _ : state) {
        std::atomic<bool> returned{false};
        std::map<long, ThreadTime> before, after;
        double wall = 0;
        long driverThread = 0;
        std::thread driver([&] {
            driverThread = ThreadId();
            while (!returned && g_Initialised.load() != 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            std::this_thread::sleep_for(std::chrono::duration<double>(kWarmUpSeconds));
            probe.timing = true;
            before = ThreadTimes();
            const auto start = Clock::now();
            std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds));
            after = ThreadTimes();
            wall = std::chrono::duration<double>(Clock::now() - start).count();
            probe.timing = false;
            while (!returned) {
                plat::requestWindowClose();
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
        std::string stage = "data\\stg4\\Stage1.stg4";
        char program[] = "quenholt";
        char* argv[] = {program, stage.data()};
        const double rss = StatusMb("VmRSS:"); // before the program: the bench's own
        const int status = GameMain(2, argv);
        returned = true;
        driver.join();
        if (status != 0 || wall <= 0) {
            state.SkipWithError("the game did not run");
            break;
        }
        double own = 0, main = 0, game = 0, gl = 0;
        for (const auto& [tid, end] : after) {
            const auto start = before.find(tid);
            const double used = end.seconds - (start != before.end() ? start->second.seconds : 0);
            if (tid == driverThread) continue;
            if (end.name.rfind("llvmpipe", 0) == 0) {
                gl += used;
                continue;
            }
            own += used;
            if (tid == getpid()) main += used;
            if (tid == probe.gameThread) game += used;
        }
        state.counters["cpu_own"] = own / wall;
        state.counters["cpu_main"] = main / wall;
        state.counters["cpu_game"] = game / wall;
        state.counters["cpu_other"] = (own - main - game) / wall;
        state.counters["cpu_gl"] = gl / wall;
        state.counters["rss_mb"] = StatusMb("VmRSS:");
        state.counters["rss_peak_mb"] = StatusMb("VmHWM:");
        state.counters["rss_before_mb"] = rss;
        std::vector<double> intervals;
        for (std::size_t i = 1; i < probe.presents.size(); ++i)
            intervals.push_back(
                std::chrono::duration<double, std::milli>(probe.presents[i] - probe.presents[i - 1])
                    .count());
        state.counters["fps"] = static_cast<double>(probe.presents.size()) / wall;
        state.counters["interval_p50_ms"] = Percentile(intervals, 0.50);
        state.counters["interval_p99_ms"] = Percentile(intervals, 0.99);
        state.counters["interval_max_ms"] = Percentile(intervals, 1.0);
        state.counters["jitter_p99_ms"] = Percentile(intervals, 0.99) - kFrameMs;
    }
    g_SceneFactories[SCENE_GAME_PLAY] = ownPlay;
    g_Probe = nullptr;
    plat::setMessageBoxResponder(nullptr);
}
BENCHMARK(BM_RunningGame)
    ->ArgName("paused")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace
