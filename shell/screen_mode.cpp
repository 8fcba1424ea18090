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
    // Our renderer shows any of its depths in a window as well as full
    // screen, whatever the desktop's depth. Eight bits are the surface back
    // end's palette mode, for games drawn in the palette.
    const bool valid = m.bpp == 16 || m.bpp == 32 || (m.bpp == 8 && !direct3d && !fullColour);
    if (!valid) m.error = Sjis("画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！");
    return m;
}
