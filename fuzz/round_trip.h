#pragma once
// The property that the data fuzz targets hold every record file to: a file
// that loads saves to bytes that load again and save to the very same bytes.
// A broken property aborts, which the fuzzer reports as a finding.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "data/ed_data.h"

// Aborts unless the condition holds.
inline void Require(bool condition)
{
    if (!condition) std::abort();
}

// A record that loaded saves to bytes that load again and save the same.
template <class T> void CheckRoundTrip(T& record)
{
    const std::vector<std::uint8_t> saved = SaveToBytes(record);
    T again;
    Require(LoadFileBytes(again, saved) == 1);
    Require(SaveToBytes(again) == saved);
}

// Loads a record file and, when it loads, checks its round trip. Whether it
// loaded.
template <class T> bool FuzzRecordFile(T& record, std::span<const std::uint8_t> file)
{
    if (!LoadFileBytes(record, file)) return false;
    CheckRoundTrip(record);
    return true;
}
