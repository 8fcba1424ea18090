#pragma once
// Sound effects asked for by the game thread: the main window plays them
// on the main thread while the caller waits in the send.

#include <cstdint>

// Sends UM_SE with the slot to the main window and returns once the main
// thread has started the sound. Slots 0 to 16 are the system sounds; slot
// 16 + k is record k of the Sound table.
void SendSeRequest(std::uint32_t slot);

// The sound of a Sound-table number: nothing for 0, else slot number + 16.
void SendDataSeRequest(std::int16_t number);
