#include "core/string_helpers.h"

#include <cstring>
#include <limits>

namespace {

std::int32_t LengthToNul(const std::string& s)
{
    const std::size_t length = std::strlen(s.c_str());
    constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(length < kMax ? length : kMax);
}

} // namespace

std::int32_t SyncStrLen(std::string& s)
{
    s.resize(std::strlen(s.c_str()));
    return LengthToNul(s);
}

std::string SubStrClamp(const std::string& s, std::int32_t start, std::int32_t count)
{
    const std::int32_t length = LengthToNul(s);
    if (start < 0) {
        // Signed 32-bit arithmetic that wraps, as the comparisons below expect.
        count = static_cast<std::int32_t>(static_cast<std::uint32_t>(count) +
                                          static_cast<std::uint32_t>(start));
        start = 0;
    } else if (start > length) {
        return {};
    }
    if (count == 0) return {};
    if (static_cast<std::int64_t>(start) + count > length) count = -1;
    // The text ends at its first NUL, so "to the end" stops there.
    const auto available = static_cast<std::size_t>(length - start);
    const std::size_t take = count < 0 ? available : static_cast<std::size_t>(count);
    return s.substr(static_cast<std::size_t>(start), take);
}
