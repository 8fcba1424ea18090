#include "data/stage_load.h"

#include <atomic>
#include <fstream>
#include <memory>
#include <string>

#include "core/err_log.h"
#include "core/main_window_handle.h"
#include "core/message_box.h"
#include "core/path.h"
#include "core/sjis_text.h"
#include "core/thread.h"
#include "data/ed_stage.h"
#include "platform/byte_reader.h"
#include "platform/clock.h"
#include "platform/message_loop.h"
#include "platform/path_resolver.h"
#include "platform/window_messages.h"

namespace {

// One load handed to the loader thread: the file to read, and what it read.
// The caller touches it only before the start and after the loader's end.
struct LoadJob {
    std::string fileName;
    std::shared_ptr<cEdStage> stage;
};

// The job of the last load started. It outlives its loader thread, even one
// that a caller leaving by a quit no longer waits for.
std::shared_ptr<LoadJob> s_Job;

// Set when the last load ended because a quit reached its caller.
std::atomic<bool> s_Cancelled{false};

// Set while a load runs: a load asked for while another is under way (a
// message served during the load may ask for one) is refused.
std::atomic<bool> s_Loading{false};

class LoadingFlag {
public:
    LoadingFlag() : m_Taken(!s_Loading.exchange(true)) {}
    ~LoadingFlag()
    {
        if (m_Taken) s_Loading = false;
    }
    LoadingFlag(const LoadingFlag&) = delete;
    LoadingFlag& operator=(const LoadingFlag&) = delete;
    bool taken() const { return m_Taken; }

private:
    bool m_Taken;
};

// Serves the calling thread's messages until the loader thread has ended.
// False when a quit reached the caller meanwhile: the load is abandoned,
// the loader stopped, and the quit handed back to the caller's own loop.
bool PumpUntilLoaded()
{
    for (;;) {
        plat::Thread* loader = thLoad.m_hThread.load();
        if (!loader || loader->finished()) return true;
        plat::Message msg;
        if (plat::peekMessage(msg, true)) {
            if (msg.msg == WM_QUIT) {
                ErrLog("msg.message == WM_QUIT");
                thLoad.Exit();
                plat::postQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            plat::dispatchMessage(msg);
            continue;
        }
        // The quit request also posts WM_QUIT; a request that comes between
        // the peek and the sleep is taken here, before the sleep would throw.
        if (plat::quitRequested()) {
            ErrLog("msg.message == WM_QUIT");
            thLoad.Exit();
            return false;
        }
        plat::sleepMs(1);
    }
}

// The first and the last four bytes of a file, as little-endian values.
struct FileEnds {
    std::int32_t first = 0;
    std::int32_t last = 0;
    bool hasLast = false; // the file holds more than its first four bytes
};

// Reads only the two ends of a file; false when it cannot be opened or holds
// less than its version.
bool ReadFileEnds(std::string_view path, FileEnds& ends)
{
    const auto real = plat::resolveExisting(path);
    if (!real) return false;
    std::ifstream in(*real, std::ios::binary);
    std::uint8_t bytes[4];
    if (!in.read(reinterpret_cast<char*>(bytes), 4)) return false;
    plat::ByteReader(bytes).readI32(ends.first);
    in.seekg(0, std::ios::end);
    const auto size = static_cast<std::streamoff>(in.tellg());
    if (size < 8) return true;
    in.seekg(size - 4);
    if (!in.read(reinterpret_cast<char*>(bytes), 4)) return true;
    plat::ByteReader(bytes).readI32(ends.last);
    ends.hasLast = true;
    return true;
}

} // namespace

int CheckStageFile(std::string_view path)
{
    FileEnds ends;
    if (!ReadFileEnds(path, ends)) return 1;
    g_FileVersion = ends.first;
    if (ends.first < kFirstCheckedStageVersion) return 1;
    if (ends.hasLast && ends.last == STAGE_END_CODE) return 1;
    const std::string name(path);
    ErrBoxF(Sjis("ステージファイル %s が破損しています！"), name.c_str());
    CloseMainWindow();
    return 0;
}

unsigned LoadStageThread(void* job)
{
    auto& load = *static_cast<LoadJob*>(job);
    auto file = OpenRead(load.fileName);
    if (!file) return 0;
    auto stage = std::make_shared<cEdStage>();
    if (!LoadStageRecord(*stage, file->in)) return 0;
    load.stage = std::move(stage);
    return 1;
}

bool StageLoadCancelled()
{
    return s_Cancelled;
}

int LoadStage(std::string_view path, int versioned, cEdStage* out)
{
    s_Cancelled = false;
    const LoadingFlag loading;
    if (!loading.taken()) {
        const std::string name(path);
        ErrBoxF(Sjis("ステージファイル %s の読み込みに失敗しました！"), name.c_str());
        return 0;
    }
    g_Stage.bVersioned = versioned;
    if (versioned != 0) {
        std::string found;
        if (!FindNewestNumberedStr(found, path, "stg4")) return 0;
        g_Stage.strFileName = found;
    } else {
        g_Stage.strFileName.assign(path);
    }
    PathToRelativeStr(g_Stage.strFileName);
    if (!CheckStageFile(g_Stage.strFileName)) return 0;

    g_Stage.bLoaded = 0;
    std::shared_ptr<cEdStage> loaded;
    // A loader that ended without being waited for is reclaimed before its
    // job is replaced; one still running keeps its job and refuses the start.
    if (thLoad.m_hThread && thLoad.m_hThread.load()->finished()) thLoad.Wait();
    if (!thLoad.m_hThread) {
        s_Job = std::make_shared<LoadJob>();
        s_Job->fileName = g_Stage.strFileName;
        if (thLoad.Start(&LoadStageThread, s_Job.get())) {
            if (!PumpUntilLoaded()) {
                s_Cancelled = true;
                return 0;
            }
            thLoad.Exit();
            loaded = std::move(s_Job->stage);
        }
    }
    if (!loaded) {
        ErrBoxF(Sjis("ステージファイル %s の読み込みに失敗しました！"),
                g_Stage.strFileName.c_str());
        return 0;
    }
    if (loaded->HasHero() == 0) {
        ErrBox(Sjis("主人公が配置されていないのでプレイできません！"));
        CloseMainWindow();
        return 0;
    }
    loaded->strFileName = g_Stage.strFileName;
    loaded->bVersioned = g_Stage.bVersioned;
    loaded->bLoaded = 1;
    g_Stage = std::move(*loaded);
    if (out) out->CopySettingsFrom(g_Stage);
    return 1;
}
