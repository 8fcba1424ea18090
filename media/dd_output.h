#pragma once
// Where finished frames go. The back ends hand every shown frame (the
// presented back buffer, the flipped or copied primary surface) to one sink,
// already converted to 0x00RRGGBB pixels; the shell connects the sink to the
// platform presenter, tests to a recorder. Without a sink frames are dropped.
// Handing a frame over never waits for the display: the frame step's own
// pacing sets the game's speed, with or without vertical sync.

#include <cstdint>
#include <functional>

#include "media/dd_pixels.h"

using DDFrameSink = std::function<void(const std::uint32_t* xrgb, int width, int height)>;

void DDSetFrameSink(DDFrameSink sink);

// Converts a frame and hands it to the sink. An 8-bit frame takes its
// colours from the palette (256 entries, channels 0 to 255).
void DDSendFrame(const DDPixels& frame, const DDPALENTRY* palette);

// The frame converted to 0x00RRGGBB, row after row.
void DDFrameToXrgb(const DDPixels& frame, const DDPALENTRY* palette, std::uint32_t* out);
