#include "shell/init_graphics.h"

#include "core/err_log.h"
#include "core/format.h"
#include "core/main_window_handle.h"
#include "core/message_box.h"
#include "core/report.h"
#include "core/sjis_text.h"
#include "data/ed_system.h"
#include "data/font_faces.h"
#include "media/bitmap_table.h"
#include "media/dd_bitmap.h"
#include "media/dd_init.h"
#include "media/dd_output.h"
#include "media/dd_palette.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "platform/game_window.h"
#include "scenes/frame_step.h"
#include "scenes/scene_mgr.h"
#include "shell/app_state.h"
#include "shell/screen_mode.h"
#include "shell/start_up_failure.h"
#include "shell/system_ini.h"

#include <algorithm>

namespace {

// "%s の読み込みに失敗！" for a picture the graphics set-up needs.
std::string PictureFailed(const std::string& name)
{
    std::string message;
    FormatStr(message, Sjis("%s の読み込みに失敗！"), name.c_str());
    return message;
}

bool InitBackEnd(int direct3d, const SYSTEMINI& s)
{
    const int vsync = s.VSync != 0 ? 1 : 0;
    return DDInit(direct3d, g_hMainWnd, 640, 480, s.Bpp, vsync, g_Windowed, 1, 60, vsync,
                  g_BitmapSD.data(), g_BitmapTable.data(), BITMAP_COUNT, 0) != 0;
}

// The palette picture's colours, and the transparent colour: the palette's
// own, or the system data's colour in full-colour games. At 16 bits that
// colour must be known before any 24-bit picture is loaded, or its black
// would turn transparent.
bool SetUpPalette()
{
    if (!g_D3DState && !lpDDPalette) return true;
    if (!DDLoadPaletteFromFile(g_Palette.data(), g_BitmapTable[0].name.c_str())) {
        ErrLog(Sjis("DDLoadPaletteFromFile失敗"));
        return StartUpStepFailed("DDLoadPaletteFromFile", PictureFailed(g_BitmapTable[0].name));
    }
    g_ScreenPalette = g_Palette;
    const bool fullColour = g_System.nColourMode != 0;
    if (!fullColour || g_DDBpp == 16) {
        if (!DDSetTransmitFromFile(g_BitmapTable[0].name.c_str())) {
            ErrLog(Sjis("DDSetTransmit失敗"));
            return StartUpStepFailed("DDSetTransmit", PictureFailed(g_BitmapTable[0].name));
        }
    }
    if (fullColour && g_DDBpp == 16) {
        std::uint8_t* key16 = g_D3DState ? g_D3DState->key16 : g_DDrawState->key16;
        key16[0] = g_System.byKeyB;
        key16[1] = g_System.byKeyG;
        key16[2] = g_System.byKeyR;
    } else if (fullColour) {
        DDSetTransmit(g_System.byKeyR, g_System.byKeyG, g_System.byKeyB);
    }
    return true;
}

bool SetUpFonts()
{
    const int face = std::clamp(g_System.nFontFace, 0, kFontFaceCount - 1);
    for (FONTDEF& def : g_FontDef)
        def.setFace(g_FontFaceNames[face]);
    const std::string fontsFailed = Sjis("フォントの作成に失敗しました！");
    if (!CreateFonts(g_Fonts.data(), g_FontDef.data(), 4))
        return StartUpStepFailed("CreateFonts", fontsFailed);
    g_Fonts[1].m_Symbol = g_System.bFontSymbols;
    g_Fonts[1].m_Centre = g_System.bFontCentred;
    if (!CreateDigitStrips(g_DigitSD.data(), g_DigitBmp.data(), 4, g_Fonts.data(),
                           g_FontDef.data()))
        return StartUpStepFailed("CreateDigitStrips", fontsFailed);
    return true;
}

} // namespace

bool SetUpGraphics(SYSTEMINI& s)
{
    const ScreenMode mode = DecideScreenMode(s.Direct3D, s.WindowMode, s.Bpp, s.VSync,
                                             g_System.nColourMode != 0, plat::desktopBpp());
    if (mode.error) {
        ErrBoxF("%s", mode.error);
        return StartUpStepFailed("screen mode");
    }
    g_Windowed = mode.windowed;
    s.Bpp = mode.bpp;
    s.VSync = mode.vsync;
    plat::setGameWindowTitle(g_System.strTitle);
    if (!plat::showGameWindow(!g_Windowed, s.VSync != 0, false)) {
        ErrBox(Sjis("ウインドウが生成出来ません！"));
        return StartUpStepFailed("the window cannot be shown");
    }
    // The mouse has nothing to do over the full-screen game.
    if (!g_Windowed) plat::showCursor(false);
    DDSetFrameSink(plat::presentToGameWindow);

    bool ready = InitBackEnd(s.Direct3D, s);
    if (!ready && s.Direct3D != 0) {
        // The texture back end cannot start: the surface back end, with the
        // same window, depth and sync.
        DDUninit();
        s.Direct3D = 0;
        ready = InitBackEnd(0, s);
    }
    if (!ready) {
        ErrLog(Sjis("DDInit失敗"));
        return StartUpStepFailed("DDInit", Sjis("画面の初期化に失敗しました！"));
    }
    if (g_D3DState) {
        g_D3DState->textureFailText = Sjis(
            "テクスチャの作成に失敗しました！\nビデオカードの性能が十分ではないかもしれません。"
            "\nSystem.iniファイルで「Direct3D=0」に変更してDirect3Dを無効にすれば改善される"
            "可能性があります。");
        LinkSharedTextures();
    }
    ReportDisplay();
    ErrLog(Sjis("DDInit成功"));
    if (!SetUpPalette()) return false;
    if (!g_D3DState) {
        // Our display always refreshes at the frame rate; copying presents
        // the frame without waiting for a flip when sync is off.
        g_DDBltPresent = g_Windowed || s.VSync == 0 ? 1 : 0;
    }
    const int debugBitmap[] = {1};
    if (!DDLoadBitmaps(g_BitmapSD.data(), debugBitmap, 1))
        return StartUpStepFailed("DDLoadBitmaps");
    return SetUpFonts();
}

void ReleaseGraphics()
{
    if (g_DDSetUp) {
        if (g_Windowed)
            DDUninitWindow();
        else
            DDUninit();
    }
    g_DDSetUp = 0;
    g_DDReady = 0;
    DDSetFrameSink(nullptr);
}
