#include "data/stage_load.h"

#include <fstream>
#include <memory>
#include <string>

#include "core/err_log.h"
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
#include "shell/main_window.h"

namespace {

// The first version whose end code guards the file.
constexpr int kFirstCheckedVersion = 174;

// The stage the loader thread has read, until LoadStage takes it. Only the
// loader writes it, and only while the caller waits for the loader to end.
std::shared_ptr<cEdStage> s_LoadedStage;

void CloseMainWindow()
{
    plat::postMessage(g_hMainWnd, WM_CLOSE, 0, 0);
}

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
    if (ends.first < kFirstCheckedVersion) return 1;
    if (ends.hasLast && ends.last == STAGE_END_CODE) return 1;
    const std::string name(path);
    ErrBoxF(Sjis("ステージファイル %s が破損しています！"), name.c_str());
    CloseMainWindow();
    return 0;
}

unsigned LoadStageThread(void* /*unused*/)
{
    auto file = OpenRead(g_Stage.strFileName);
    if (!file) return 0;
    auto stage = std::make_shared<cEdStage>();
    if (!LoadStageRecord(*stage, file->in)) return 0;
    s_LoadedStage = std::move(stage);
    g_Stage.bLoaded = 1;
    return 1;
}

int LoadStage(std::string_view path, int versioned, cEdStage* out)
{
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
    s_LoadedStage.reset();
    if (thLoad.Start(&LoadStageThread, nullptr)) {
        if (!PumpUntilLoaded()) {
            s_LoadedStage.reset();
            return 0;
        }
        thLoad.Exit();
    }
    std::shared_ptr<cEdStage> loaded = std::move(s_LoadedStage);
    if (g_Stage.bLoaded == 0 || !loaded) {
        ErrBoxF(Sjis("ステージファイル %s の読み込みに失敗しました！"),
                g_Stage.strFileName.c_str());
        return 0;
    }
    g_Stage.bLoaded = 0;
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
