#include "media/dd_mes_box.h"

#include "platform/message_box.h"
#include "shell/main_window.h"

int DDMesBox(const char* text, const char* caption, std::uint32_t type)
{
    // The full-screen picture is a borderless window of the desktop's size,
    // so a box can appear over it without any change of display mode.
    return plat::messageBox(g_MainWindow.m_hWnd, text ? text : "", caption ? caption : "", type) !=
                   0
               ? 1
               : 0;
}
