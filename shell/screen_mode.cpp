#include "shell/screen_mode.h"

#include "core/sjis_text.h"

ScreenMode DecideScreenMode(int direct3d, int windowMode, int bpp, int vsync, int fullColour,
                            int desktopBpp)
{
    ScreenMode m;
    if (direct3d) {
        m.windowed = windowMode != 0 ? 1 : 0;
        m.vsync = vsync >= 2 ? 1 : vsync;
    } else if (windowMode != 0) {
        m.windowed = 1;
        m.vsync = 0;
    } else {
        // Automatic vertical sync is off for the surface back end's full
        // screen on every system this runs on.
        m.windowed = 0;
        m.vsync = vsync >= 2 ? 0 : vsync;
    }
    m.bpp = bpp;
    if (m.bpp == 0) {
        if (m.windowed)
            m.bpp = desktopBpp;
        else
            m.bpp = direct3d || fullColour ? 32 : 8;
    }
    bool valid = false;
    if (m.bpp == 16 || m.bpp == 32)
        valid = !m.windowed || m.bpp == desktopBpp;
    else if (m.bpp == 8)
        valid = !direct3d && !m.windowed && !fullColour;
    if (valid) return m;
    if (m.windowed && (m.bpp == 16 || m.bpp == 32)) {
        m.error =
            Sjis("画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を"
                 "合わせて下さい！");
    } else {
        m.error = Sjis("画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！");
    }
    return m;
}
