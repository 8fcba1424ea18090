#include "data/replay_sync.h"

#include <charconv>

#include "core/path.h"
#include "data/text_lines.h"

namespace {

constexpr std::string_view kHeader = "replay-sync 1";

// "<key> <number>"; nothing when the line is not that.
template <class T> std::optional<T> KeyedNumber(std::string_view line, std::string_view key)
{
    if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != ' ')
        return std::nullopt;
    return WholeNumber<T>(line.substr(key.size() + 1));
}

} // namespace

void cReplaySync::Clear()
{
    *this = cReplaySync();
}

void cReplaySync::NoteFrame(std::uint64_t hash)
{
    ++m_Frames;
    if (m_Frames % kInterval == 0) m_Every.push_back(hash);
    m_Last = hash;
}

std::optional<std::uint64_t> cReplaySync::Expected(std::int64_t frame) const
{
    if (frame < 1 || frame > m_Frames) return std::nullopt;
    if (frame == m_Frames) return m_Last;
    if (frame % kInterval != 0) return std::nullopt;
    return m_Every[static_cast<std::size_t>(frame / kInterval - 1)];
}

std::string cReplaySync::ToText(std::int32_t seed) const
{
    std::string text(kHeader);
    text += "\nseed " + std::to_string(seed) + "\nframes " + std::to_string(m_Frames) + "\n";
    for (std::int64_t frame = 1; frame <= m_Frames; ++frame) {
        const auto hash = Expected(frame);
        if (!hash) continue;
        char digits[17];
        const auto [end, ec] = std::to_chars(digits, digits + 16, *hash, 16);
        const std::string hex(digits, end);
        text += std::to_string(frame) + " " + std::string(16 - hex.size(), '0') + hex + "\n";
    }
    return text;
}

std::optional<cReplaySync> cReplaySync::FromText(std::string_view text, std::int32_t& seed)
{
    std::string_view line;
    if (!NextLine(text, line) || line != kHeader) return std::nullopt;
    if (!NextLine(text, line)) return std::nullopt;
    const auto fileSeed = KeyedNumber<std::int32_t>(line, "seed");
    if (!NextLine(text, line)) return std::nullopt;
    const auto frames = KeyedNumber<std::int64_t>(line, "frames");
    if (!fileSeed || !frames || *frames < 1) return std::nullopt;

    // The checkpoints must be exactly those of a log of that many frames.
    // Each needs a line of its own, so a count beyond the text ends at the
    // text's end.
    cReplaySync sync;
    std::int64_t frame = 0;
    while (frame < *frames) {
        frame = std::min(frame + kInterval, *frames);
        if (!NextLine(text, line)) return std::nullopt;
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos) return std::nullopt;
        const auto at = WholeNumber<std::int64_t>(line.substr(0, space));
        const std::string_view hex = line.substr(space + 1);
        const auto hash = hex.size() == 16 ? WholeNumber<std::uint64_t>(hex, 16) : std::nullopt;
        if (!at || *at != frame || !hash) return std::nullopt;
        if (frame % kInterval == 0) sync.m_Every.push_back(*hash);
        sync.m_Last = *hash;
    }
    if (NextLine(text, line) && !(line.empty() && text.empty())) return std::nullopt;
    sync.m_Frames = *frames;
    seed = *fileSeed;
    return sync;
}

std::string ReplaySyncPath(std::string_view replayPath)
{
    std::string path;
    if (!PathReplaceExt(path, replayPath, "sync")) {
        if (path.empty()) return {};
        path += ".sync";
    }
    return path;
}
