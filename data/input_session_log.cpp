#include "data/input_session_log.h"

#include <charconv>

#include "data/text_lines.h"

namespace {

constexpr std::string_view kHeader = "input-session 1";
constexpr std::string_view kEnd = "end";
// A run longer than this is written as several.
constexpr std::uint32_t kMaxRun = 1u << 30;

// FNV-1a over the records, each with its line feed.
std::uint64_t Hash(std::uint64_t hash, std::string_view line)
{
    for (const char c : line) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    hash ^= '\n';
    return hash * 1099511628211ull;
}
constexpr std::uint64_t kHashStart = 14695981039346656037ull;

std::string Hex16(std::uint64_t value)
{
    char digits[17];
    const auto [end, ec] = std::to_chars(digits, digits + 16, value, 16);
    const std::string hex(digits, end);
    return std::string(16 - hex.size(), '0') + hex;
}

// The line's words separated by single blanks.
std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    while (!line.empty()) {
        const std::size_t blank = line.find(' ');
        words.push_back(line.substr(0, blank));
        line.remove_prefix(blank == std::string_view::npos ? line.size() : blank + 1);
    }
    return words;
}

std::string NameHex(std::string_view name)
{
    if (name.empty()) return "-";
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 15];
    }
    return hex;
}

std::optional<std::string> NameFromHex(std::string_view hex)
{
    if (hex == "-") return std::string();
    if (hex.empty() || hex.size() % 2 != 0) return std::nullopt;
    std::string name;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const auto byte = WholeNumber<std::uint8_t>(hex.substr(i, 2), 16);
        if (!byte) return std::nullopt;
        name += static_cast<char>(*byte);
    }
    return name;
}

std::vector<std::string> Records(const cInputSessionLog& log)
{
    std::vector<std::string> records;
    const auto& polls = log.m_Polls;
    for (std::size_t i = 0; i < polls.size();) {
        std::size_t run = 1;
        while (i + run < polls.size() && polls[i + run] == polls[i] && run < kMaxRun)
            ++run;
        const SessionPoll& p = polls[i];
        records.push_back("p " + std::to_string(run) + " " + std::to_string(p.m_Dir) + " " +
                          std::to_string(p.m_DirCode) + " " + std::to_string(p.m_Buttons) + " " +
                          std::to_string(p.m_Keys));
        i += run;
    }
    for (const std::uint32_t clock : log.m_Clocks)
        records.push_back("c " + std::to_string(clock));
    for (const std::string& name : log.m_Names)
        records.push_back("n " + NameHex(name));
    return records;
}

// One record into the log; false when it is not one.
bool ReadRecord(std::string_view line, cInputSessionLog& log)
{
    const std::vector<std::string_view> w = Words(line);
    if (w.size() == 6 && w[0] == "p") {
        const auto run = WholeNumber<std::uint32_t>(w[1]);
        const auto dir = WholeNumber<std::uint16_t>(w[2]);
        const auto code = WholeNumber<std::uint16_t>(w[3]);
        const auto buttons = WholeNumber<std::uint16_t>(w[4]);
        const auto keys = WholeNumber<std::uint16_t>(w[5]);
        if (!run || *run < 1 || *run > kMaxRun || !dir || !code || *code < 1 || *code > 9 ||
            !buttons || !keys || !log.m_Clocks.empty() || !log.m_Names.empty())
            return false;
        log.m_Polls.insert(log.m_Polls.end(), *run, SessionPoll{*dir, *code, *buttons, *keys});
        return true;
    }
    if (w.size() == 2 && w[0] == "c") {
        const auto clock = WholeNumber<std::uint32_t>(w[1]);
        if (!clock || !log.m_Names.empty()) return false;
        log.m_Clocks.push_back(*clock);
        return true;
    }
    if (w.size() == 2 && w[0] == "n") {
        auto name = NameFromHex(w[1]);
        if (!name) return false;
        log.m_Names.push_back(std::move(*name));
        return true;
    }
    return false;
}

} // namespace

std::string cInputSessionLog::ToText() const
{
    const std::vector<std::string> records = Records(*this);
    std::uint64_t hash = kHashStart;
    for (const std::string& record : records)
        hash = Hash(hash, record);
    std::string text(kHeader);
    text += "\npolls " + std::to_string(m_Polls.size()) + " clocks " +
            std::to_string(m_Clocks.size()) + " names " + std::to_string(m_Names.size()) +
            " check " + Hex16(hash) + "\n";
    for (const std::string& record : records)
        text += record + "\n";
    text += std::string(kEnd) + "\n";
    return text;
}

std::optional<cInputSessionLog> cInputSessionLog::FromText(std::string_view text,
                                                           std::string& error)
{
    std::string_view line;
    if (!NextLine(text, line) || line != kHeader) {
        error = "line 1: not an input session of this version (\"" + std::string(kHeader) +
                "\" expected)";
        return std::nullopt;
    }
    const std::vector<std::string_view> counts =
        NextLine(text, line) ? Words(line) : std::vector<std::string_view>();
    const bool countsRead = counts.size() == 8 && counts[0] == "polls" && counts[2] == "clocks" &&
                            counts[4] == "names" && counts[6] == "check" && counts[7].size() == 16;
    const auto polls = countsRead ? WholeNumber<std::uint64_t>(counts[1]) : std::nullopt;
    const auto clocks = countsRead ? WholeNumber<std::uint64_t>(counts[3]) : std::nullopt;
    const auto names = countsRead ? WholeNumber<std::uint64_t>(counts[5]) : std::nullopt;
    const auto check = countsRead ? WholeNumber<std::uint64_t>(counts[7], 16) : std::nullopt;
    if (!polls || !clocks || !names || !check) {
        error = "line 2: the counts and the check are missing or damaged";
        return std::nullopt;
    }
    cInputSessionLog log;
    std::uint64_t hash = kHashStart;
    int number = 2;
    bool ended = false;
    while (NextLine(text, line)) {
        ++number;
        if (line == kEnd) {
            ended = true;
            break;
        }
        // Each record adds at most a run of polls: a count beyond the file
        // is found out before the file's end.
        if (!ReadRecord(line, log) || log.m_Polls.size() > *polls) {
            error = "line " + std::to_string(number) + ": not a record, or out of order";
            return std::nullopt;
        }
        hash = Hash(hash, line);
    }
    if (!ended || !text.empty()) {
        error = ended ? "text after the end" : "the file ends before its last record";
        return std::nullopt;
    }
    if (log.m_Polls.size() != *polls || log.m_Clocks.size() != *clocks ||
        log.m_Names.size() != *names) {
        error = "the records do not match the counts on line 2";
        return std::nullopt;
    }
    if (hash != *check) {
        error = "the records do not match the check on line 2 (the file was changed)";
        return std::nullopt;
    }
    return log;
}
