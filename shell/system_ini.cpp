#include "shell/system_ini.h"

#include "core/checked_access.h"
#include "data/ed_system_items.h"
#include "platform/path_resolver.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

SYSTEMINI g_SystemIni;

namespace {

constexpr int kMaxLines = 10000;
constexpr std::size_t kMaxToken = 2047; // a key or a value; longer ones fail the read
// The most lines, each at most a key and a value, with their ends.
constexpr std::size_t kMaxFileBytes = kMaxLines * (2 * kMaxToken + 4);

// The number at the start of a value, as the C library's atoi reads it
// (leading blanks, a sign, digits; 0 without any), held to the int range.
std::int32_t LeadingNumber(const std::string& text)
{
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<std::int32_t>(value);
}

std::int32_t* IntField(SYSTEMINI& s, int i)
{
    std::int32_t* const fields[] = {&s.Direct3D, &s.WindowMode, &s.Bpp, &s.VSync, &s.ShowFps};
    return fields[i];
}

// The file's bytes, read one at a time.
struct Bytes {
    std::string_view text;
    std::size_t at = 0;
    int get() { return at < text.size() ? static_cast<unsigned char>(text[at++]) : EOF; }
};

enum class Line { Pair, NoPair, Done, Failed };

// Reads one line's key and value; NoPair for a line without '=', Done at
// "Exit" or a NUL in a key.
Line ReadLine(Bytes& in, std::string& key, std::string& value)
{
    key.clear();
    value.clear();
    for (;;) {
        const int c = in.get();
        if (c == EOF) return Line::Failed;
        if (c == '\0') return Line::Done;
        if (c == '\n') return key == "Exit" ? Line::Done : Line::NoPair;
        if (c == '=') break;
        if (c == '\r' || c == ' ' || c == '\t') continue;
        if (key.size() >= kMaxToken) return Line::Failed;
        key.push_back(static_cast<char>(c));
    }
    for (;;) {
        const int c = in.get();
        if (c == EOF) return Line::Failed;
        if (c == ' ' || c == '\t' || c == '/' || c == '\n' || c == '\0') break;
        if (value.size() >= kMaxToken) return Line::Failed;
        value.push_back(static_cast<char>(c));
    }
    return Line::Pair;
}

} // namespace

void DefaultSystemIni(SYSTEMINI& settings, const std::vector<cEdSysOption>& options)
{
    for (int i = 0; i < 5; ++i)
        *IntField(settings, i) = VecAt(options, i).nValue;
    settings.FreeStage = VecAt(options, 5).strText;
}

int LoadSystemIni(const char* path, SYSTEMINI& settings, const std::vector<cEdSysOption>& options)
{
    const auto file = plat::resolveExisting(path ? path : "");
    if (!file) return 0;
    std::ifstream in(*file, std::ios::binary);
    std::error_code ec;
    const auto size = std::filesystem::file_size(*file, ec);
    if (!in || ec) return 0;
    // Past the most bytes that the lines read can hold, nothing is read.
    std::string text(std::min<std::uintmax_t>(size, kMaxFileBytes), '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return ReadSystemIni(text, settings, options);
}

int ReadSystemIni(std::string_view text, SYSTEMINI& settings,
                  const std::vector<cEdSysOption>& options)
{
    Bytes in{text};
    std::string key, value;
    for (int line = 0; line < kMaxLines; ++line) {
        const Line read = ReadLine(in, key, value);
        if (read == Line::Failed) return 0;
        if (read == Line::Done) return 1;
        if (read == Line::NoPair) continue;
        for (int i = 0; i < 6 && i < static_cast<int>(options.size()); ++i) {
            if (options[static_cast<std::size_t>(i)].strName != key) continue;
            if (i < 5) {
                *IntField(settings, i) = LeadingNumber(value);
            } else if (value.size() > 1 && value.size() <= kMaxFreeStage) {
                settings.FreeStage = value;
            }
            break;
        }
    }
    return 1;
}
