#include "core/sound_request.h"

#include "core/main_window_handle.h"
#include "core/request_messages.h"
#include "platform/message_loop.h"

void SendSeRequest(std::uint32_t slot)
{
    plat::sendMessage(g_hMainWnd, UM_SE, slot, 0);
}

void SendDataSeRequest(std::int16_t number)
{
    if (number == 0) return;
    SendSeRequest(static_cast<std::uint32_t>(number + 16));
}
