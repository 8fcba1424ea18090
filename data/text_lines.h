#pragma once
// Reading the small line-based text files the game keeps beside its own
// (a replay's state summary, a recorded session): lines and whole numbers.

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

// Takes the next line off text (without its line feed and a carriage
// return before it); false when no text is left.
inline bool NextLine(std::string_view& text, std::string_view& line)
{
    if (text.empty()) return false;
    const std::size_t end = text.find('\n');
    line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    return true;
}

// The whole of text as a number in the base; nothing when any of it is not.
template <class T> std::optional<T> WholeNumber(std::string_view text, int base = 10)
{
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return value;
}
