#include "core/path.h"

#include <vector>

#include "core/dbcs.h"
#include "core/format.h"
#include "platform/folders.h"
#include "platform/path_resolver.h"
#include "platform/text_encoding.h"

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Position of the last separator of a path, walking its characters so that a
// trail byte of a double-byte character is never taken for one; npos when
// there is none.
std::size_t LastSeparator(std::string_view path)
{
    std::size_t last = std::string_view::npos;
    for (std::size_t i = 0; i < path.size();) {
        if (i + 1 < path.size() && IsDBCSPair(path.data() + i)) {
            i += 2;
            continue;
        }
        if (IsSeparator(path[i])) last = i;
        ++i;
    }
    return last;
}

// Position of the "." that starts the extension: the last one after the last
// separator (0x2E is never a trail byte); npos when there is none.
std::size_t ExtensionDot(std::string_view path)
{
    const std::size_t separator = LastSeparator(path);
    const std::size_t start = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t dot = path.rfind('.');
    return dot != std::string_view::npos && dot >= start ? dot : std::string_view::npos;
}

// The components of a path with "." dropped and ".." taking the one before
// it away (never above the start). Separators inside double-byte characters
// do not split.
std::vector<std::string> NormalComponents(std::string_view path)
{
    std::vector<std::string> components;
    std::string current;
    auto finish = [&] {
        if (current == "..") {
            if (!components.empty()) components.pop_back();
        } else if (!current.empty() && current != ".") {
            components.push_back(current);
        }
        current.clear();
    };
    for (std::size_t i = 0; i < path.size();) {
        if (i + 1 < path.size() && IsDBCSPair(path.data() + i)) {
            current.append(path.substr(i, 2));
            i += 2;
            continue;
        }
        if (IsSeparator(path[i])) {
            finish();
        } else {
            current += path[i];
        }
        ++i;
    }
    finish();
    return components;
}

} // namespace

int PathToRelative(std::string& path)
{
    if (path.size() > kMaxPathBytes) return 0;
    if (!plat::isAbsoluteGamePath(path)) return 1;
    // An absolute path without a separator first names a drive ("C:\..."),
    // which is never the game folder's.
    if (!IsSeparator(path[0])) return 0;
    const auto current = plat::currentFolder();
    if (!current) return 0;

    // Compare in the machine's own spelling, component by component.
    std::vector<std::string> folder;
    for (const auto& part : *current) {
        const std::string name = part.string();
        if (!name.empty() && name != "/") folder.push_back(name);
    }
    const std::vector<std::string> components = NormalComponents(path);
    if (components.size() < folder.size()) return 0;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (plat::sjisToUtf8Exact(components[i]) != folder[i]) return 0;
    }

    std::string relative = ".";
    for (std::size_t i = folder.size(); i < components.size(); ++i) {
        relative += '\\';
        relative += components[i];
    }
    if (relative.size() > kMaxPathBytes) return 0;
    path = std::move(relative);
    return 1;
}

int PathToRelativeStr(std::string& path)
{
    return PathToRelative(path);
}

int PathToAbsolute(std::string& path)
{
    if (path.size() > kMaxPathBytes) return 0;
    if (plat::isAbsoluteGamePath(path)) return 1;
    if (path.empty()) return 0;
    const auto current = plat::currentDirectorySjis();
    if (!current) return 0;

    // Joined before they are normalised, so that ".." climbs out of the
    // current folder's own components (never above the root).
    std::string joined = *current;
    joined += '/';
    joined += path;
    const std::vector<std::string> components = NormalComponents(joined);
    std::string absolute;
    for (const auto& component : components) {
        absolute += '/';
        absolute += component;
    }
    const bool endsWithSeparator = LastSeparator(path) + 1 == path.size();
    if (components.empty() || endsWithSeparator) absolute += '/';
    if (absolute.size() > kMaxPathBytes) return 0;
    path = std::move(absolute);
    return 1;
}

void PathStripDir(std::string& path)
{
    const std::size_t separator = LastSeparator(path);
    if (separator != std::string::npos) path.erase(0, separator + 1);
}

int PathReplaceExt(std::string& out, std::string_view path, const char* ext)
{
    if (path.size() > kMaxPathBytes) {
        out.clear();
        return 0;
    }
    const std::size_t dot = ExtensionDot(path);
    if (dot == std::string_view::npos) {
        out.assign(path);
        return 0;
    }
    std::string result(path.substr(0, ext ? dot + 1 : dot));
    if (ext) result += ext;
    if (result.size() > kMaxPathBytes) {
        out.clear();
        return 0;
    }
    out = std::move(result);
    return 1;
}

int PathGetExt(std::string& out, std::string_view path)
{
    const std::size_t dot = ExtensionDot(path);
    if (dot == std::string_view::npos) {
        out.clear();
        return 0;
    }
    out.assign(path.substr(dot + 1));
    return 1;
}

int PathAddSuffix(std::string& out, std::string_view path, int a, int b)
{
    const std::string copy(path);
    const std::size_t dot = ExtensionDot(copy);
    std::string result;
    if (dot != std::string::npos) {
        FormatStr(result, "%s_%d%d.%s", copy.substr(0, dot).c_str(), a, b, copy.c_str() + dot + 1);
    }
    if (dot == std::string::npos || result.size() > kMaxPathBytes) {
        out = copy;
        return 0;
    }
    out = std::move(result);
    return 1;
}

int FindNewestNumbered(std::string& out, std::string_view path, const char* ext)
{
    if (path.empty()) return 0;
    std::string base;
    PathReplaceExt(base, path, ext); // without an extension, the path itself
    if (base.empty() || base.size() + 4 > kMaxPathBytes) return 0; // "_" and three digits
    // One listing of the folder answers all 1000 names.
    const std::size_t separator = LastSeparator(base);
    const std::size_t fileStart = separator == std::string::npos ? 0 : separator + 1;
    const plat::FolderLookup folder(std::string_view(base).substr(0, fileStart));
    std::string name;
    for (int number = 999; number >= 0; --number) {
        FormatStr(name, "%s_%03d", base.c_str() + fileStart, number);
        if (folder.contains(name)) {
            out = base.substr(0, fileStart) + name;
            return 1;
        }
    }
    return 0;
}

int FindNewestNumberedStr(std::string& out, std::string_view path, const char* ext)
{
    return FindNewestNumbered(out, path, ext);
}
