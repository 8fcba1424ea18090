#include "media/dd_mes_box.h"

#include "media/dd_dialog.h"
#include "media/dd_state.h"
#include "platform/message_box.h"

int DDMesBox(const char* text, const char* caption, std::uint32_t type)
{
    // The full-screen picture is a borderless window of the desktop's size,
    // so a box can appear over it without any change of display mode.
    DDSetDialogMode(1);
    const int shown =
        plat::messageBox(g_DDhWnd, text ? text : "", caption ? caption : "", type) != 0;
    DDSetDialogMode(0);
    return shown ? 1 : 0;
}
