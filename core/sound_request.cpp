#include "core/sound_request.h"

#include "core/request.h"
#include "core/request_messages.h"

void SendSeRequest(std::uint32_t slot)
{
    SendRequest(UM_SE, slot, 0);
}

void SendDataSeRequest(std::int16_t number)
{
    if (number == 0) return;
    SendSeRequest(static_cast<std::uint32_t>(number + 16));
}
