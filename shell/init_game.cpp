#include "shell/init_game.h"

#include "core/checked_access.h"
#include "core/err_log.h"
#include "core/main_window_handle.h"
#include "core/message_box.h"
#include "core/path.h"
#include "core/report.h"
#include "core/request.h"
#include "core/request_messages.h"
#include "core/sjis_text.h"
#include "data/default_data.h"
#include "data/ed_database.h"
#include "data/ed_option.h"
#include "data/ed_palette.h"
#include "data/ed_save_data.h"
#include "data/ed_system.h"
#include "data/path_table.h"
#include "media/bgm.h"
#include "media/bitmap_table.h"
#include "media/dd_init.h"
#include "media/ds_sound.h"
#include "media/font.h"
#include "platform/clock.h"
#include "platform/game_window.h"
#include "platform/input.h"
#include "platform/path_resolver.h"
#include "scenes/frame_step.h"
#include "scenes/free_play.h"
#include "scenes/game_play.h"
#include "scenes/hbt_palette.h"
#include "scenes/input_session.h"
#include "scenes/key_config.h"
#include "scenes/menu_music.h"
#include "scenes/play_pause.h"
#include "scenes/replay_keys.h"
#include "scenes/replay_start.h"
#include "scenes/scene_mgr.h"
#include "shell/app_state.h"
#include "shell/boot_dialog.h"
#include "shell/init_graphics.h"
#include "shell/name_dialog.h"
#include "shell/start_up_failure.h"
#include "shell/system_ini.h"
#include "world/input_state.h"
#include "world/start_up_data.h"
#include "world/world_services.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

// How making data\ from default\ (when it is missing) ended.
enum class DataFolder { Ready, Refused, Failed };

DataFolder MakeDataFolder()
{
    g_DataVersion = kDataVersion;
    g_StripCR = 1;
    // Copies and saves cut short by a crash or a kill leave their temporary
    // files behind; none of them is a file the player made.
    RemoveLeftoverTemporaries();
    bool refused = false;
    if (CreateDefaultData(g_hMainWnd, &refused)) return DataFolder::Ready;
    return refused ? DataFolder::Refused : DataFolder::Failed;
}

bool ReadGameFolder()
{
    CreateGameFolders();
    return LoadDatabaseAtStartUp() && LoadSystemAtStartUp();
}

void ReadSystemIni()
{
    DefaultSystemIni(g_SystemIni, g_System.vSysOption);
    if (!LoadSystemIni("System.ini", g_SystemIni, g_System.vSysOption)) {
        ReportBox("%s", Sjis("System.ini の読み込みに失敗しました！"));
        DefaultSystemIni(g_SystemIni, g_System.vSysOption);
    }
    g_ShowFps = g_SystemIni.ShowFps;
}

void SetUpInput()
{
    for (InputState& state : g_InputState)
        InitJoyButtonMasks(state);
    if (!LoadKeyConfig(g_PathTable[PATH_KEY_CONFIG], g_KeyConfig)) DefaultKeyConfig(g_KeyConfig);
}

// The 17 system sounds, then the Sound table's records from 1 on.
void FillSoundSlots()
{
    const std::size_t n = 16 + g_Database.Sound.size();
    g_Sounds.assign(n, DSSOUNDDATA{});
    g_SoundTable.assign(n, DSSOUNDINFO{});
    for (std::size_t slot = 0; slot < n; ++slot) {
        DSSOUNDINFO& info = VecAt(g_SoundTable, static_cast<int>(slot));
        if (slot < 17) {
            info.strFile = VecAt(g_System.vSeName, static_cast<int>(slot));
        } else {
            info.strFile = VecAt(g_Database.Sound, static_cast<int>(slot - 16)).m_FileName;
        }
        info.nCopies = 1;
        info.nVolume = 0;
        info.nFlag = 1;
    }
}

bool SetUpSoundAndMusic()
{
    SetUpMusic();
    FillSoundSlots();
    if (!DS_Init(g_hMainWnd, 22050, 8, 1)) {
        ErrLog(Sjis("DS_Init失敗！"));
        return StartUpStepFailed("DS_Init", Sjis("サウンドの初期化に失敗しました！"));
    }
    DSLoadSounds(g_Sounds, g_SoundTable, SeVolumeAttenuation(g_Option.nSeVolume));
    return true;
}

// What the running stage asks of the program above the world.
void ConnectWorld()
{
    LiveServiceHooks hooks;
    hooks.playMusic = [](std::int32_t number) {
        SendRequest(UM_BGM, 4, static_cast<std::intptr_t>(number));
    };
    // Keys and the clock that seeds a stage go through the session, which
    // records or plays them back when asked to.
    hooks.keyDown = [](int vk) { return SessionKeyDown(vk, plat::keyDown(vk) ? 1 : 0); };
    hooks.nowMs = [] { return SessionClock(plat::timeMs()); };
    hooks.checkReplayKeys = [] { return CheckReplayKeys(); };
    hooks.runPauseWait = [] { RunPauseThread(); };
    SetLiveServiceHooks(std::move(hooks));
    g_AppActiveQuery = [] { return g_AppActive != 0; };
    g_RestartFreePlay = [] { return StartFreePlay(g_LastStagePath.c_str(), 0); };
    g_AskRankingName = [](std::string& name) {
        // The dialog edits the name while the game thread waits here.
        g_RankingNameTarget = &name;
        const struct Unbind {
            ~Unbind() { g_RankingNameTarget = nullptr; }
        } unbind;
        SendRequest(UM_NAMEDLG, 0, 0, &g_NameDlgDone);
    };
}

// RT_PLAY_INPUT=<file> plays a recorded session of input back instead of
// the devices; else RT_RECORD_INPUT=<file> records this one into the file
// when the program ends. A file that cannot be played back, or written,
// ends the start-up.
bool StartInputSession()
{
    if (const char* play = std::getenv("RT_PLAY_INPUT"); play && *play) {
        std::string error;
        if (!StartSessionPlayback(play, error))
            return StartUpStepFailed("RT_PLAY_INPUT",
                                     std::string(Sjis("入力の記録を再生できません：\n")) + error);
        Report("input played back from %s", play);
        return true;
    }
    if (const char* record = std::getenv("RT_RECORD_INPUT"); record && *record) {
        std::string error;
        if (!StartSessionRecording(record, error))
            return StartUpStepFailed("RT_RECORD_INPUT",
                                     std::string(Sjis("入力を記録できません：\n")) + error);
        Report("input recorded into %s", record);
    }
    return true;
}

// The file given at start-up, as the program starts the game on it.
void PlayAtOnce(std::int32_t kind, std::int32_t mode, std::int32_t resultsOn)
{
    g_SceneMgr.m_PlayKind = kind;
    g_SceneMgr.m_ResultsOn = resultsOn;
    g_SceneMgr.g_PlayMode = mode;
    g_SceneMgr.g_CurScene = SCENE_GAME_PLAY;
    g_SceneMgr.g_PrevScene = SCENE_TITLE;
}

// A replay given at start-up plays at once; one that does not read is said
// and the game begins at the title menu.
void ArrangeDirectReplay(std::string path)
{
    g_SystemIni.FreeStage.clear();
    if (!LoadReplayFile(path)) return;
    PlayAtOnce(PLAYKIND_REPLAY, PLAYMODE_REPLAY,
               VecAt(g_System.vModeFlags, PLAYKIND_REPLAY).bRanking);
}

// The stage given at start-up: its newest numbered file, or the file of
// that very name, plays at once in free play. A name that finds no file is
// said, and the game begins at the title menu.
bool ArrangeDirectStart()
{
    if (g_SystemIni.FreeStage.empty()) return true;
    if (IsReplayPath(g_SystemIni.FreeStage)) {
        ArrangeDirectReplay(g_SystemIni.FreeStage);
        return true;
    }
    std::string path;
    FindNewestNumbered(path, g_SystemIni.FreeStage, g_ExtTable[EXT_STAGE]);
    const int versioned = path.empty() ? 0 : 1;
    if (!versioned) path = g_SystemIni.FreeStage;
    std::error_code ec;
    const auto file = plat::resolveExisting(path);
    if (!file || !std::filesystem::is_regular_file(*file, ec)) {
        ReportLog(Sjis("「%s」の読み込みに失敗しました！"), path.c_str());
        ErrBoxF(Sjis("「%s」の読み込みに失敗しました！"), path.c_str());
        g_SystemIni.FreeStage.clear();
        return true;
    }
    g_SystemIni.FreeStage = path;
    g_DirectStart = 1;
    // The loader has said why a stage cannot be played.
    if (!StartFreePlay(path.c_str(), versioned))
        return StartUpStepFailed("the stage given at start-up");
    g_Progress.bChainStage = 0;
    PlayAtOnce(PLAYKIND_FREE, PLAYMODE_FREE, 1);
    return true;
}

} // namespace

bool InitGame(const std::string& commandLine, bool& quitByPlayer)
{
    quitByPlayer = false;
    // The player may close the window while the game is being read: the
    // start-up then stops at its next step.
    auto closed = [&quitByPlayer] {
        if (!plat::windowCloseAsked() && !g_CloseAtStartUp) return false;
        Report("start-up ended: the window was closed");
        quitByPlayer = true;
        return true;
    };
    if (closed()) return false;
    InitBitmapTable();
    InitDigitBmp();
    InitFontDef();
    const DataFolder data = MakeDataFolder();
    // A close while the question is up ends the program as any close does,
    // and declining the data folder is the player's choice, not a fault.
    if (closed()) return false;
    if (data == DataFolder::Refused) {
        Report("start-up ended: the player chose not to make the data folder");
        quitByPlayer = true;
        return false;
    }
    if (data == DataFolder::Failed) {
        ReportBox("%s",
                  Sjis("「data」フォルダの作成に失敗…\n「default」フォルダに問題がある可能性が"
                       "あります。"));
        return false;
    }
    if (!ReadGameFolder() || closed()) return false;
    ReadSystemIni();
    if (closed()) return false;
    if (g_SystemIni.Direct3D >= 2) {
        if (!AskBackEnd(g_SystemIni)) {
            quitByPlayer = true;
            return false;
        }
    }
    // The command line is the stage to play, whole, quotes and all.
    if (!commandLine.empty()) g_SystemIni.FreeStage = commandLine;
    g_SceneMgr.m_FrameRate = 60;
    g_SceneMgr.m_FadeStep = 10;
    for (InputState& state : g_InputState)
        SetAutoRepeat(state, 18, 6);
    if (closed() || !SetUpGraphics(g_SystemIni) || closed()) return false;
    SetUpInput();
    // A player without options plays with the defaults.
    LoadFile(g_Option, g_PathTable[PATH_OPTION]);
    if (g_DDBpp == 8 && !LoadHbtPalette(g_Option.nPalette))
        return StartUpStepFailed("LoadHbtPalette");
    if (!SetUpSoundAndMusic() || closed()) return false;
    if (!LoadWorldMapAtStartUp()) return false;
    if (!LoadCommonPaletteAtStartUp()) return false;
    ConnectWorld();
    if (!StartInputSession()) return false;
    return ArrangeDirectStart() && !closed();
}

void UnInitGame()
{
    std::string sessionError;
    if (!EndInputSession(sessionError)) {
        std::fprintf(stderr, "%s\n", sessionError.c_str());
        Report("%s", sessionError.c_str());
    }
    DSUninit();
    g_Bgm.Release();
    DestroyScenes();
    ReleaseGameFonts();
    ReleaseGraphics();
}
