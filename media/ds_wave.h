#pragma once
// Reading of PCM WAV files for the sound effects: the RIFF "WAVE" form with
// its "fmt " chunk (at most its first 20 bytes are kept) and the "data"
// chunk that follows it. Only plain PCM (format tag 1) loads.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/audio_pcm.h"

// The format area of a WAV file: the PCM format, then the size of the extra
// bytes that some writers add (18-byte "fmt " chunks).
struct DSWAVEFORMAT {
    std::uint16_t wFormatTag = 0;
    std::uint16_t nChannels = 0;
    std::uint32_t nSamplesPerSec = 0;
    std::uint32_t nAvgBytesPerSec = 0;
    std::uint16_t nBlockAlign = 0;
    std::uint16_t wBitsPerSample = 0;
    std::uint16_t cbSize = 0;
};

// A loaded WAV file: its format and its sample bytes.
struct DSWAVE {
    DSWAVEFORMAT fmt;
    std::vector<std::uint8_t> data;
};

inline constexpr std::uint16_t kWaveFormatPcm = 1;

// Reads a WAV file from its bytes. False when it is not RIFF/WAVE, lacks a
// "fmt " chunk or a "data" chunk after it, is not PCM, or a chunk it needs
// runs past the end.
bool DSParseWave(std::span<const std::uint8_t> bytes, DSWAVE& wave);

// Reads the WAV file of a game path. False when it cannot be read or parsed.
bool DSLoadWave(const char* fileName, DSWAVE& wave);

// The samples converted for the mixer; null when the layout is not one a
// sound buffer takes (8 or 16 bits, one or two channels, whole frames of
// them per block, a rate the mixer takes).
std::shared_ptr<const plat::PcmData> DSWaveToPcm(const DSWAVE& wave);

// Frees the sample data.
void DSFreeWave(DSWAVE& wave);
