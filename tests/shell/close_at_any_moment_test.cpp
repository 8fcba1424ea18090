// The program as a process of its own, closed at random moments of a played
// game on an X server of the test's own: by the window's close box, by
// Escape, by SIGTERM and by SIGINT. Each close ends the process promptly and
// in order (status 0, no signal), and every player file is whole after it:
// the bytes it had, or a new version that the game's own loaders read, and
// no temporary file left beside it.
//
// The moments are reached as a player reaches them, with keys pressed
// through the X server: the start-up, the question that makes data\ on a
// first start and the data being made after it, the title menu, the world
// map, a stage given on the command line being loaded, played and paused,
// and stages whose goal is where the hero starts: the results, the ranking
// name dialog, and the writing of the rankings and of the challenge
// progress; and a story slot being saved from the world map's save menu
// (the close comes as the file's temporary copy appears).
#include "data/ed_data.h"
#include "data/ed_option.h"
#include "data/ed_save_data.h"
#include "data/ed_stage.h"
#include "platform/atomic_file.h"
#include "scenes/rankings.h"
#include "shell/child_program.h"
#include "shell/running_game.h"
#include "support/close_bound.h"
#include "support/generated_game.h"
#include "support/own_x_server.h"
#include "support/temp_dir.h"
#include "support/test_data.h"
#include "support/x_player.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

using test::kCloseBoundMs;

enum class CloseBy { Box, Escape, Term, Interrupt };

const char* Name(CloseBy c)
{
    switch (c) {
    case CloseBy::Box:
        return "the close box";
    case CloseBy::Escape:
        return "Escape";
    case CloseBy::Term:
        return "SIGTERM";
    case CloseBy::Interrupt:
        return "SIGINT";
    }
    return "";
}

enum class Moment {
    StartUp,
    DataQuestion,
    DataCreation,
    TitleMenu,
    WorldMap,
    Loading,
    Play,
    Pause,
    Results,
    NameDialog,
    SavingRankings,
    SavingChallenge,
    SavingStory,
};

const char* Name(Moment m)
{
    constexpr const char* kNames[] = {"StartUp",    "DataQuestion",   "DataCreation",
                                      "TitleMenu",  "WorldMap",       "Loading",
                                      "Play",       "Pause",          "Results",
                                      "NameDialog", "SavingRankings", "SavingChallenge",
                                      "SavingStory"};
    return kNames[static_cast<int>(m)];
}

constexpr int kMoments = 13;
constexpr int kRounds = 100;

// The stage given on the command line, and the one that clears at once.
const char* const kStage = "data\\stg4\\Stage1.stg4";
const char* const kQuickStage = "data\\stg4\\Quick.stg4";

// How a player's file is read back: true when its bytes load cleanly.
using Loader = bool (*)(std::span<const std::uint8_t>);

bool LoadsAsProgress(std::span<const std::uint8_t> bytes)
{
    cSaveData record;
    return LoadFileBytes(record, bytes) == 1;
}

bool LoadsAsOptions(std::span<const std::uint8_t> bytes)
{
    cEdOption record;
    return LoadFileBytes(record, bytes) == 1;
}

bool LoadsAsRankings(std::span<const std::uint8_t> bytes)
{
    cEdRankSet record;
    return LoadFileBytes(record, bytes) == 1;
}

// The loader of a player's file by its name; null for other files.
Loader LoaderOf(const fs::path& file)
{
    const std::string name = file.filename().string();
    if (name == "Option.dat") return LoadsAsOptions;
    if (name == "Challenge.dat" || (name.rfind("Story", 0) == 0 && file.extension() == ".dat"))
        return LoadsAsProgress;
    if (file.extension() == ".rkg") return LoadsAsRankings;
    return nullptr;
}

// A stage of the bundled game (a file of default\stg4\) with its goal
// moved to where the hero starts, so that it clears as soon as it is
// played; empty when the stage has no hero or no goal.
std::vector<std::uint8_t> QuickStageBytes(const std::string& file)
{
    const std::vector<std::uint8_t> bytes =
        test::readBytes(test::generatedGamePath() / "default/stg4" / file);
    cEdStage stage;
    if (LoadFileBytes(stage, bytes) != 1) return {};
    const int hero = stage.FindHero();
    if (hero < 0) return {};
    const cEdChara& h = stage.PlacedCharas[static_cast<std::size_t>(hero)];
    int goals = 0;
    for (cEdItem& item : stage.PlacedItems) {
        const bool clears =
            std::any_of(item.Commands.begin(), item.Commands.end(),
                        [](const cEdCommand& c) { return c.m_ListKind != 0 && c.m_Kind == 2; });
        if (!clears) continue;
        item.nX = h.nX;
        item.nY = h.nY;
        ++goals;
    }
    return goals ? SaveToBytes(stage) : std::vector<std::uint8_t>{};
}

void WriteBytes(const fs::path& path, std::span<const std::uint8_t> bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// The stage files that clear at once: the quick stage of free play, and
// the first challenge (a chain of two stages) in place of its own.
std::map<std::string, std::vector<std::uint8_t>> QuickStages()
{
    return {{"Quick.stg4_001", QuickStageBytes("Stage1.stg4_001")},
            {"c01-1.stg4_001", QuickStageBytes("c01-1.stg4_001")},
            {"c01-2.stg4_001", QuickStageBytes("c01-2.stg4_001")}};
}

// A fresh copy of the bundled game for one round, with a player's files
// from an earlier play: options, a story slot, the challenge progress and
// the rankings of the quick stage.
class RoundFolder {
public:
    RoundFolder(bool withData, int rankMode,
                const std::map<std::string, std::vector<std::uint8_t>>& quickStages)
    {
        test::copyGeneratedGame(dir.path());
        dataGiven_ = withData;
        if (withData) {
            fs::copy(dir / "default", dir / "data", fs::copy_options::recursive);
            for (const auto& [file, bytes] : quickStages)
                WriteBytes(dir / "data/stg4" / file, bytes);
        }
        cEdOption options;
        options.nRankMode = rankMode;
        options.strRegName = "abc";
        Seed("user_data/Option.dat", SaveToBytes(options));
        cSaveData progress;
        progress.nScore = 1234;
        progress.nSlot = 0;
        Seed("user_data/story/Story01.dat", SaveToBytes(progress));
        progress.nSlot = -1;
        Seed("user_data/challenge/Challenge.dat", SaveToBytes(progress));
        cEdRankSet rankings;
        InsertRank(rankings.m_Tables[RANK_SCORE], "old", 10);
        Seed("user_data/free/Quick.rkg", SaveToBytes(rankings));
        fs::create_directories(dir / "user_data/rpl4");
    }

    // Every player file is whole: its old bytes or a version that loads;
    // no temporary file is left anywhere in the folder; data\, when the
    // program made it, is a whole copy of default\.
    void ExpectPlayerFilesWhole() const
    {
        for (const auto& [relative, old] : seeded_)
            EXPECT_TRUE(fs::is_regular_file(dir / relative)) << relative << " is gone";
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir.path())) {
            const std::string name = e.path().filename().string();
            const std::string relative = fs::relative(e.path(), dir.path()).generic_string();
            EXPECT_FALSE(plat::temporarySiblingTarget(name, plat::kTemporaryFileKind).has_value() ||
                         plat::temporarySiblingTarget(name, "copy").has_value())
                << "a temporary file is left: " << relative;
            const Loader loads = LoaderOf(e.path());
            if (!e.is_regular_file() || !loads || relative.rfind("user_data/", 0) != 0) continue;
            const std::vector<std::uint8_t> bytes = test::readBytes(e.path());
            const auto old = seeded_.find(relative);
            if (old != seeded_.end() && old->second == bytes) continue;
            EXPECT_TRUE(loads(bytes)) << relative << " is torn (" << bytes.size() << " bytes)";
        }
        if (dataGiven_ || !fs::exists(dir / "data")) return;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir / "default")) {
            if (!e.is_regular_file()) continue;
            const fs::path copy = dir / "data" / fs::relative(e.path(), dir / "default");
            EXPECT_EQ(test::readBytes(copy), test::readBytes(e.path()))
                << copy << " is not a whole copy";
        }
    }

    // Whether a player file was written anew.
    bool Rewritten(const std::string& relative) const
    {
        return test::readBytes(dir / relative) != seeded_.at(relative);
    }

    test::TempDir dir;

private:
    void Seed(const std::string& relative, const std::vector<std::uint8_t>& bytes)
    {
        WriteBytes(dir / relative, bytes);
        seeded_[relative] = bytes;
    }

    std::map<std::string, std::vector<std::uint8_t>> seeded_;
    bool dataGiven_ = false; // data\ was not the program's to make
};

// Watches a folder for files made or opened in it.
class FolderWatch {
public:
    explicit FolderWatch(const fs::path& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (fd_ >= 0) inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_OPEN);
    }
    ~FolderWatch()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Whether a file whose name begins with `prefix` has been made since
    // the last look.
    bool Made(const std::string& prefix) { return Seen(IN_CREATE, prefix); }
    // Whether a file whose name begins with `prefix` has been opened since
    // the last look.
    bool Opened(const std::string& prefix) { return Seen(IN_OPEN, prefix); }

private:
    bool Seen(std::uint32_t mask, const std::string& prefix)
    {
        alignas(inotify_event) char buffer[4096];
        bool seen = false;
        ssize_t n = 0;
        while (fd_ >= 0 && (n = ::read(fd_, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if ((event->mask & mask) && event->len > 0 &&
                    std::string(event->name).rfind(prefix, 0) == 0)
                    seen = true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return seen;
    }

    int fd_;
};

// The X server's software GL driver, which SDL loads and unloads again at
// its shutdown: unloaded, it leaves memory behind that the leak check of
// the sanitized program would report. Loaded with the program, it stays.
std::string KeptGlDriver()
{
    for (const char* driver :
         {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "/usr/lib/dri/swrast_dri.so"})
        if (fs::exists(driver)) return driver;
    return "";
}

// One round: the program started in its folder, the player at its window.
class Round {
public:
    Round(const RoundFolder& folder, const std::string& display, test::XPlayer& player,
          std::vector<std::string> args)
        : folder_(folder), player_(player),
          program_(folder.dir.path(),
                   {{"XDG_RUNTIME_DIR", folder.dir.path().string()},
                    {"SDL_VIDEODRIVER", "x11"},
                    {"DISPLAY", display},
                    {"LD_PRELOAD", KeptGlDriver()}},
                   std::move(args))
    {
    }

    bool Started() const { return program_.started(); }
    bool Running() { return !program_.wait(0).ended; }
    std::string Errors() const { return program_.errors(); }

    // Waits until the program takes the close signals (its first step).
    bool WaitForSignalHandlers()
    {
        const std::string status = "/proc/" + std::to_string(program_.pid()) + "/status";
        constexpr unsigned long long kClose = (1ull << (SIGINT - 1)) | (1ull << (SIGTERM - 1));
        return WaitUntil([&] {
            std::ifstream in(status);
            std::string line;
            while (std::getline(in, line))
                if (line.rfind("SigCgt:", 0) == 0)
                    return (std::stoull(line.substr(7), nullptr, 16) & kClose) == kClose;
            return false;
        });
    }

    // Waits for a window of the program other than `other`; 0 when none came.
    unsigned long WaitForWindow(unsigned long other = 0)
    {
        unsigned long found = 0;
        WaitUntil([&] {
            for (unsigned long w : player_.windows())
                if (w != other) found = w;
            return found != 0;
        });
        return found;
    }

    // Waits until the program has said something on its standard error.
    bool WaitForSaying(const std::string& text)
    {
        return WaitUntil([&] { return Errors().find(text) != std::string::npos; });
    }

    // Presses and releases a key at the program's topmost window.
    void Press(unsigned long keysym, milliseconds held = milliseconds(100))
    {
        const std::vector<unsigned long> windows = player_.windows();
        if (!windows.empty()) player_.focus(windows.back());
        player_.key(keysym, true);
        std::this_thread::sleep_for(held);
        player_.key(keysym, false);
    }

    // Closes the program the given way; false when it had ended already.
    bool Close(CloseBy how)
    {
        if (!Running()) return false;
        switch (how) {
        case CloseBy::Box:
        case CloseBy::Escape: {
            const unsigned long window = WaitForWindow();
            if (!window) return false;
            closedAt_ = Clock::now();
            if (how == CloseBy::Box) {
                player_.askToClose(window);
            } else {
                player_.focus(window);
                player_.key(test::XPlayer::kEscape, true);
                player_.key(test::XPlayer::kEscape, false);
            }
            break;
        }
        case CloseBy::Term:
            closedAt_ = Clock::now();
            ::kill(program_.pid(), SIGTERM);
            break;
        case CloseBy::Interrupt:
            closedAt_ = Clock::now();
            ::kill(program_.pid(), SIGINT);
            break;
        }
        // Measured once the close is sent, so as not to delay it.
        loadAtClose_ = test::MachineLoad();
        return true;
    }

    // Waits for the end after the close and checks it.
    void ExpectPromptOrderlyEnd()
    {
        const test::ChildEnd end = program_.wait(20);
        const long tookMs = static_cast<long>(
            std::chrono::duration_cast<milliseconds>(Clock::now() - closedAt_).count());
        ASSERT_TRUE(end.ended) << "the program ran on after the close\n"
                               << Errors() << folder_.dir.read("Report_Game.txt");
        const double load = std::max({1.0, loadAtClose_, test::MachineLoad()});
        EXPECT_LT(tookMs, kCloseBoundMs * load) << "the machine's load: " << load;
        EXPECT_EQ(end.signal, 0) << "ended by a signal\n" << Errors();
        EXPECT_EQ(end.status, 0) << Errors() << folder_.dir.read("Report_Game.txt");
        EXPECT_EQ(Errors().find("Sanitizer"), std::string::npos) << Errors();
    }

private:
    static bool WaitUntil(const std::function<bool()>& done, int seconds = 60)
    {
        const auto limit = Clock::now() + std::chrono::seconds(seconds);
        while (!done()) {
            if (Clock::now() > limit) return false;
            std::this_thread::sleep_for(milliseconds(2));
        }
        return true;
    }

    const RoundFolder& folder_;
    test::XPlayer& player_;
    test::ChildProgram program_;
    Clock::time_point closedAt_;
    double loadAtClose_ = 1.0;
};

class CloseAtAnyMoment : public ::testing::TestWithParam<Moment> {
protected:
    // Sleeps a random time between two bounds, in milliseconds.
    void Wait(int fromMs, int toMs)
    {
        std::this_thread::sleep_for(
            milliseconds(std::uniform_int_distribution(fromMs, toMs)(random)));
    }
    // Gives the program the time a step takes it, longer on a busy machine.
    static void Lead(int ms)
    {
        const double load = std::max(1.0, test::MachineLoad());
        std::this_thread::sleep_for(milliseconds(static_cast<long>(ms * load)));
    }
    // Presses keys, each held and let go for a few frames so that every
    // press counts, and again and again until `done` (asked after each
    // round of presses); false when it was not within three minutes (a
    // busy machine plays the sanitized program slowly).
    static bool PressUntil(Round& run, const std::vector<unsigned long>& keysyms,
                           const std::function<bool()>& done)
    {
        const auto limit = Clock::now() + std::chrono::seconds(180);
        do {
            if (Clock::now() > limit || !run.Running()) return false;
            for (unsigned long keysym : keysyms) {
                run.Press(keysym, milliseconds(50));
                Lead(100);
            }
        } while (!done());
        return true;
    }
    static bool PressUntilMade(Round& run, FolderWatch& watch, unsigned long keysym,
                               const std::string& prefix)
    {
        return PressUntil(run, {keysym}, [&] { return watch.Made(prefix); });
    }

    std::mt19937 random{2811u + static_cast<unsigned>(GetParam())};
};

// The question's text as the program writes it to its standard error.
const char* const kDataQuestion = "デフォルトデータを作成しますか";

TEST_P(CloseAtAnyMoment, EndsTheProcessPromptlyAndLeavesThePlayersFilesWhole)
{
    const Moment moment = GetParam();
    test::OwnXServer server;
    if (server.display().empty()) GTEST_SKIP() << "Xvfb cannot be started";
    test::XPlayer player(server.display());
    if (!player.ready()) GTEST_SKIP() << "no XTest at the X server";
    const auto quickStages = QuickStages();
    for (const auto& [file, bytes] : quickStages)
        ASSERT_FALSE(bytes.empty()) << file << " has no hero or no goal";

    const int index = static_cast<int>(moment);
    const int rounds = kRounds / kMoments + (index < kRounds % kMoments ? 1 : 0);
    for (int round = 0; round < rounds; ++round) {
        // The four closes take turns, each moment starting with another.
        CloseBy how = static_cast<CloseBy>((round + index) % 4);
        // Escape in the name dialog is the dialog's own: it leaves the
        // name unentered and the game goes on.
        if (moment == Moment::NameDialog && how == CloseBy::Escape) how = CloseBy::Box;
        SCOPED_TRACE(std::string(Name(moment)) + " round " + std::to_string(round) +
                     ", closed by " + Name(how));

        const bool withData = moment != Moment::DataQuestion && moment != Moment::DataCreation;
        const bool quick = moment == Moment::Results || moment == Moment::NameDialog ||
                           moment == Moment::SavingRankings;
        RoundFolder folder(withData,
                           moment == Moment::NameDialog ? RANKMODE_AUTO_ASK : RANKMODE_AUTO_FIXED,
                           quickStages);
        std::vector<std::string> args;
        if (moment == Moment::Loading || moment == Moment::Play || moment == Moment::Pause)
            args = {kStage};
        if (quick) args = {kQuickStage};
        std::optional<FolderWatch> watch;
        if (moment == Moment::SavingRankings) watch.emplace(folder.dir / "user_data/free");
        if (moment == Moment::SavingChallenge) watch.emplace(folder.dir / "user_data/challenge");
        if (moment == Moment::SavingStory) watch.emplace(folder.dir / "user_data/story");
        // The title scene reads its picture as it starts.
        FolderWatch pictures(folder.dir / "bmp");

        Round run(folder, server.display(), player, args);
        ASSERT_TRUE(run.Started());
        auto titleShown = [&] {
            const auto limit = Clock::now() + std::chrono::seconds(60);
            while (!pictures.Opened("Title.bmp")) {
                if (Clock::now() > limit || !run.Running()) return false;
                std::this_thread::sleep_for(milliseconds(2));
            }
            return true;
        };
        const bool windowed = how == CloseBy::Box || how == CloseBy::Escape;
        switch (moment) {
        case Moment::StartUp:
            // Right after the program takes the signals, or its window shows.
            if (windowed) {
                ASSERT_NE(run.WaitForWindow(), 0u) << run.Errors();
            } else {
                ASSERT_TRUE(run.WaitForSignalHandlers());
            }
            Wait(0, 300);
            break;
        case Moment::DataQuestion:
            ASSERT_TRUE(run.WaitForSaying(kDataQuestion)) << run.Errors();
            ASSERT_NE(run.WaitForWindow(), 0u);
            Wait(0, 1000);
            break;
        case Moment::DataCreation: {
            // Yes (the default button), then data\ is made and the game read.
            ASSERT_TRUE(run.WaitForSaying(kDataQuestion)) << run.Errors();
            const unsigned long question = run.WaitForWindow();
            ASSERT_NE(question, 0u);
            std::this_thread::sleep_for(milliseconds(300));
            run.Press(test::XPlayer::kReturn);
            if (windowed) ASSERT_NE(run.WaitForWindow(question), 0u) << run.Errors();
            Wait(0, 1500);
            break;
        }
        case Moment::TitleMenu:
            ASSERT_TRUE(titleShown()) << run.Errors();
            Wait(0, 3000);
            break;
        case Moment::WorldMap:
            // The first item of the title menu starts the story on the map.
            ASSERT_TRUE(titleShown()) << run.Errors();
            Lead(1500);
            run.Press(test::XPlayer::kZ);
            Wait(300, 3000);
            break;
        case Moment::Loading:
            ASSERT_NE(run.WaitForWindow(), 0u) << run.Errors();
            Wait(0, 800);
            break;
        case Moment::Play:
            ASSERT_NE(run.WaitForWindow(), 0u) << run.Errors();
            Lead(1500);
            run.Press(test::XPlayer::kRight,
                      milliseconds(std::uniform_int_distribution(0, 2000)(random)));
            break;
        case Moment::Pause:
            ASSERT_NE(run.WaitForWindow(), 0u) << run.Errors();
            Lead(2500);
            run.Press(test::XPlayer::kSpace);
            Wait(100, 1500);
            break;
        case Moment::Results:
            ASSERT_NE(run.WaitForWindow(), 0u) << run.Errors();
            Wait(1000, 5000);
            break;
        case Moment::NameDialog:
            // The results' confirm asks for the name.
            ASSERT_NE(run.WaitForWindow(), 0u) << run.Errors();
            Lead(4000);
            run.Press(test::XPlayer::kZ);
            Wait(300, 1500);
            break;
        case Moment::SavingRankings:
            // The results' confirm registers the ranking; the close comes
            // as the rankings' temporary file appears.
            ASSERT_NE(run.WaitForWindow(), 0u) << run.Errors();
            ASSERT_TRUE(PressUntilMade(run, *watch, test::XPlayer::kZ, ".Quick.rkg."))
                << "the rankings were never written\n"
                << run.Errors();
            Wait(0, 20);
            break;
        case Moment::SavingChallenge:
            // The title's third item opens the challenges (their progress
            // is read); the first one is played through, and its last
            // results' confirm writes the challenge progress.
            ASSERT_TRUE(titleShown()) << run.Errors();
            Lead(1500);
            run.Press(test::XPlayer::kDown);
            Lead(200);
            run.Press(test::XPlayer::kDown);
            ASSERT_TRUE(PressUntil(run, {test::XPlayer::kZ}, [&] {
                return watch->Opened("Challenge.dat");
            })) << "the challenges were never opened";
            ASSERT_TRUE(PressUntilMade(run, *watch, test::XPlayer::kZ, ".Challenge.dat."))
                << "the challenge progress was never written\n"
                << run.Errors();
            Wait(0, 20);
            break;
        case Moment::SavingStory: {
            // The title's second item lists the slots (they are read), and
            // slot 1 continues its play (it is read again) on the world
            // map; there the second button opens the save menu, whose first
            // item lists the slots (read once more); the question on the
            // slot starts on "no", so the answer is the item above.
            ASSERT_TRUE(titleShown()) << run.Errors();
            using test::XPlayer;
            Lead(1500);
            run.Press(XPlayer::kDown);
            ASSERT_TRUE(PressUntil(run, {XPlayer::kZ}, [&] { return watch->Opened("Story01"); }))
                << "the slots were never listed";
            ASSERT_TRUE(PressUntil(run, {XPlayer::kZ}, [&] { return watch->Opened("Story01"); }))
                << "slot 1 was never read";
            Lead(2500);
            run.Press(XPlayer::kX);
            Lead(1500);
            ASSERT_TRUE(PressUntil(run, {XPlayer::kZ}, [&] { return watch->Opened("Story01"); }))
                << "the save menu never listed the slots";
            ASSERT_TRUE(PressUntil(run, {XPlayer::kZ, XPlayer::kUp, XPlayer::kZ},
                                   [&] { return watch->Made(".Story"); }))
                << "no story slot was ever written\n"
                << run.Errors();
            Wait(0, 20);
            break;
        }
        }
        ASSERT_TRUE(run.Close(how)) << "the program ended before the close\n" << run.Errors();
        run.ExpectPromptOrderlyEnd();
        folder.ExpectPlayerFilesWhole();
        if (HasFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Moments, CloseAtAnyMoment,
    ::testing::Values(Moment::StartUp, Moment::DataQuestion, Moment::DataCreation,
                      Moment::TitleMenu, Moment::WorldMap, Moment::Loading, Moment::Play,
                      Moment::Pause, Moment::Results, Moment::NameDialog, Moment::SavingRankings,
                      Moment::SavingChallenge, Moment::SavingStory),
    [](const ::testing::TestParamInfo<Moment>& info) { return std::string(Name(info.param)); });

} // namespace
