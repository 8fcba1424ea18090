#include "core/sound_request.h"

#include "platform/message_loop.h"
#include "shell/main_window.h"
#include "shell/request_messages.h"

void SendSeRequest(std::uint32_t slot)
{
    plat::sendMessage(g_MainWindow.m_hWnd, UM_SE, slot, 0);
}

void SendDataSeRequest(std::int16_t number)
{
    if (number == 0) return;
    SendSeRequest(static_cast<std::uint32_t>(number + 16));
}
