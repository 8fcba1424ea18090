#include "platform/path_resolver.h"

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <vector>

#include "platform/text_encoding.h"

namespace fs = std::filesystem;

namespace plat {
namespace {

// A game path taken apart after its conversion to UTF-8.
struct SplitPath {
    bool absolute = false;
    bool mustBeFolder = false; // written with a separator at its end
    std::vector<std::string> components;
};

bool isDriveForm(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// Converts and splits a game path; nothing when it cannot be converted or
// names a drive, which does not exist here. The path ends at a NUL byte, as
// the game's C strings do.
std::optional<SplitPath> split(std::string_view sjisPath)
{
    if (const auto nul = sjisPath.find('\0'); nul != std::string_view::npos) {
        sjisPath = sjisPath.substr(0, nul);
    }
    if (sjisPath.empty() || isDriveForm(sjisPath)) return std::nullopt;
    // Converting first keeps a 0x5C trail byte inside its character.
    const auto utf8 = sjisToUtf8Exact(sjisPath);
    if (!utf8) return std::nullopt;

    SplitPath result;
    result.absolute = isAbsoluteGamePath(sjisPath);
    std::string component;
    for (const char c : *utf8) {
        if (c == '\\' || c == '/') {
            if (!component.empty()) result.components.push_back(std::move(component));
            component.clear();
        } else {
            component += c;
        }
    }
    if (!component.empty()) {
        result.components.push_back(std::move(component));
    } else {
        result.mustBeFolder = true;
    }
    return result;
}

// Folds the letters that Windows treats as equal whatever their case, among
// the characters a Shift-JIS name can hold: Latin (half- and full-width and
// Latin-1), Greek, Cyrillic and the Roman numerals.
char32_t foldCase(char32_t c)
{
    if (c >= U'A' && c <= U'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
    if (c >= 0x2160 && c <= 0x216F) return c + 16;
    return c;
}

std::u32string folded(std::string_view utf8)
{
    std::u32string out = utf8CodePoints(utf8);
    for (char32_t& c : out)
        c = foldCase(c);
    return out;
}

bool entryExists(const fs::path& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// The real name of the entry of folder that matches name: the name itself
// when it exists as written, otherwise the first, in byte order, of the
// entries equal to it but for case.
std::optional<std::string> matchEntry(const fs::path& folder, const std::string& name)
{
    if (entryExists(folder / name)) return name;
    const std::u32string wanted = folded(name);
    std::optional<std::string> best;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
         !ec && it != end; it.increment(ec)) {
        std::string candidate = it->path().filename().string();
        // Folding never changes a character's UTF-8 length.
        if (candidate.size() != name.size() || folded(candidate) != wanted) continue;
        if (!best || candidate < *best) best = std::move(candidate);
    }
    return best;
}

bool isExistingFolder(const fs::path& path)
{
    std::error_code ec;
    return fs::is_directory(path.empty() ? fs::path(".") : path, ec);
}

enum class Mode { Existing, ForCreate };

std::optional<fs::path> resolve(std::string_view sjisPath, Mode mode)
{
    const auto parts = split(sjisPath);
    if (!parts) return std::nullopt;

    // The components matched so far; a relative path starts at the game folder.
    std::vector<std::string> matched;
    auto current = [&] {
        fs::path p = parts->absolute ? fs::path("/") : fs::path();
        for (const auto& c : matched)
            p /= c;
        return p;
    };
    // How many of the last matched components do not exist (only when
    // creating): they are always the last ones.
    std::size_t missing = 0;

    for (const auto& component : parts->components) {
        if (component == ".") continue;
        if (component == "..") {
            if (!matched.empty()) {
                matched.pop_back();
                if (missing > 0) --missing;
            } else if (!parts->absolute) {
                return std::nullopt; // would leave the game folder
            }
            continue;
        }
        if (missing == 0) {
            if (auto real = matchEntry(current(), component)) {
                matched.push_back(std::move(*real));
                continue;
            }
            if (mode == Mode::Existing) return std::nullopt;
        }
        matched.push_back(component);
        ++missing;
    }

    fs::path result = current();
    if (result.empty()) result = ".";
    if (mode == Mode::Existing && parts->mustBeFolder && !isExistingFolder(result))
        return std::nullopt;
    return result;
}

} // namespace

std::optional<fs::path> resolveExisting(std::string_view sjisPath)
{
    return resolve(sjisPath, Mode::Existing);
}

std::optional<fs::path> resolveForCreate(std::string_view sjisPath)
{
    return resolve(sjisPath, Mode::ForCreate);
}

FolderLookup::FolderLookup(std::string_view sjisFolder)
{
    const auto folder =
        sjisFolder.empty() ? std::optional<fs::path>(".") : resolveExisting(sjisFolder);
    if (!folder) return;
    std::error_code ec;
    for (fs::directory_iterator it(*folder, ec), end; !ec && it != end; it.increment(ec)) {
        foldedNames_.insert(folded(it->path().filename().string()));
    }
}

bool FolderLookup::contains(std::string_view sjisName) const
{
    if (const auto nul = sjisName.find('\0'); nul != std::string_view::npos) {
        sjisName = sjisName.substr(0, nul);
    }
    const auto utf8 = sjisToUtf8Exact(sjisName);
    if (!utf8 || utf8->find_first_of("\\/") != std::string::npos) return false;
    return foldedNames_.contains(folded(*utf8));
}

bool isAbsoluteGamePath(std::string_view sjisPath)
{
    if (sjisPath.empty()) return false;
    return sjisPath[0] == '/' || sjisPath[0] == '\\' || isDriveForm(sjisPath);
}

} // namespace plat
