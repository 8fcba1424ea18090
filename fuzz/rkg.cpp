// A rankings file as it comes from disk. Nothing may crash, hang or read past
// its input; a set that loads has five tables of 20 places and saves to
// bytes that load again and save the same.
#include <cstddef>
#include <cstdint>
#include <span>

#include "round_trip.h"
#include "scenes/rankings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    cEdRankSet set;
    if (!FuzzRecordFile(set, std::span<const std::uint8_t>(data, size))) return 0;
    Require(set.m_Tables.size() == static_cast<std::size_t>(kRankKinds));
    for (const cEdRankTable& table : set.m_Tables)
        Require(table.m_Entries.size() == static_cast<std::size_t>(kRankPlaces));
    return 0;
}
