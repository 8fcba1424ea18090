#include "media/dd_dialog.h"

#include "media/dd_render.h"
#include "media/dd_state.h"

int DDSetDialogMode(int on)
{
    if (g_DDWindowed) return 1;
    if (g_D3DState && on) DDEndScene();
    return 1;
}
