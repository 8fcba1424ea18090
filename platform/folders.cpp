#include "platform/folders.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <vector>

#include <fcntl.h>

#include "platform/atomic_file.h"
#include "platform/path_resolver.h"
#include "platform/test_hook.h"
#include "platform/text_encoding.h"

namespace fs = std::filesystem;

namespace plat {
namespace {

detail::TestHook<bool(const fs::path&)> g_allowCopy;

// The kind in the names of the temporary folders of a copy.
constexpr std::string_view kCopyKind = "copy";

bool copyAllowed(const fs::path& source)
{
    const auto hook = g_allowCopy.get();
    return !hook || (*hook)(source);
}

fs::path orCurrent(const fs::path& path)
{
    return path.empty() ? fs::path(".") : path;
}

// The real absolute form of a path; the part that does not exist yet is
// taken as written.
std::optional<fs::path> realPath(const fs::path& path)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) return std::nullopt;
    fs::path real = fs::weakly_canonical(absolute, ec);
    if (ec) return std::nullopt;
    return real;
}

// Whether inner is outer or lies inside it, comparing the real paths. When
// either cannot be told, the careful answer is yes.
bool isWithin(const fs::path& inner, const fs::path& outer)
{
    const auto a = realPath(inner);
    const auto b = realPath(outer);
    if (!a || !b) return true;
    auto ai = a->begin();
    for (auto bi = b->begin(); bi != b->end(); ++bi, ++ai) {
        if (bi->empty()) continue; // a trailing separator
        if (ai == a->end() || *ai != *bi) return false;
    }
    return true;
}

// Copies every entry of source into the existing folder target, and syncs
// every copied file and folder (target too) to disk, so that the tree is
// whole on disk before it is renamed into place.
bool copyContents(const fs::path& source, const fs::path& target)
{
    std::error_code ec;
    std::vector<fs::path> folders{target};
    auto it = fs::recursive_directory_iterator(source,
                                               fs::directory_options::follow_directory_symlink, ec);
    for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
        const fs::path to = target / it->path().lexically_relative(source);
        const fs::file_status status = it->status(ec); // through links
        if (ec) return false;
        if (fs::is_directory(status)) {
            if (!fs::create_directory(to, ec) || ec) return false;
            folders.push_back(to);
        } else if (fs::is_regular_file(status)) {
            if (!copyAllowed(it->path())) return false;
            if (!fs::copy_file(it->path(), to, ec) || ec) return false;
            if (!syncFileToDisk(to)) return false;
        }
    }
    if (ec) return false;
    for (const fs::path& folder : folders) {
        syncFolderToDisk(folder);
    }
    return true;
}

// Renames from to to unless something appeared at to in the meantime.
bool renameNoReplace(const fs::path& from, const fs::path& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without the flag: check, then rename.
    std::error_code ec;
    if (fs::exists(fs::symlink_status(to, ec))) return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

} // namespace

bool pathExists(std::string_view sjisPath)
{
    return resolveExisting(sjisPath).has_value();
}

bool isFolder(std::string_view sjisPath)
{
    const auto path = resolveExisting(sjisPath);
    std::error_code ec;
    return path && fs::is_directory(*path, ec);
}

bool createFolder(std::string_view sjisPath)
{
    const auto path = resolveForCreate(sjisPath);
    if (!path) return false;
    std::error_code ec;
    fs::create_directories(*path, ec);
    return fs::is_directory(*path, ec);
}

bool copyFolderTree(std::string_view sjisSource, std::string_view sjisDestination)
{
    const auto source = resolveExisting(sjisSource);
    const auto destination = resolveForCreate(sjisDestination);
    std::error_code ec;
    if (!source || !destination || !fs::is_directory(*source, ec)) return false;
    if (fs::exists(fs::symlink_status(*destination, ec))) return false;
    const fs::path parent = orCurrent(destination->parent_path());
    if (!fs::is_directory(parent, ec)) return false;
    // A copy into the folder being copied would copy itself without end.
    if (isWithin(*destination, *source)) return false;

    const fs::path temp = temporarySibling(*destination, kCopyKind);
    if (!fs::create_directory(temp, ec) || ec) return false;

    if (copyContents(*source, temp) && renameNoReplace(temp, *destination)) {
        syncFolderToDisk(parent);
        return true;
    }
    fs::remove_all(temp, ec);
    return false;
}

std::size_t removeLeftoverCopies(std::string_view sjisDestination)
{
    const auto resolved = resolveForCreate(sjisDestination);
    if (!resolved) return 0;
    fs::path destination = *resolved;
    if (destination.filename().empty()) destination = destination.parent_path();
    const std::string target = destination.filename().string();
    std::error_code ec;
    std::vector<fs::path> leftovers;
    auto it = fs::directory_iterator(orCurrent(destination.parent_path()), ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code entry;
        if (temporarySiblingTarget(name, kCopyKind) == std::string_view(target) &&
            it->is_directory(entry) && !it->is_symlink(entry)) {
            leftovers.push_back(it->path());
        }
    }
    std::size_t removed = 0;
    for (const fs::path& path : leftovers) {
        fs::remove_all(path, ec);
        removed += ec ? 0 : 1;
    }
    return removed;
}

bool removeTree(std::string_view sjisPath)
{
    const auto path = resolveExisting(sjisPath);
    // Nothing there: done, when the path itself was a sound one.
    if (!path) return resolveForCreate(sjisPath).has_value();
    if (isWithin(".", *path)) return false;
    std::error_code ec;
    fs::remove_all(*path, ec);
    return !ec && !fs::exists(fs::symlink_status(*path, ec));
}

std::optional<fs::path> currentFolder()
{
    std::error_code ec;
    fs::path path = fs::current_path(ec);
    if (ec) return std::nullopt;
    return path;
}

std::optional<std::string> currentDirectorySjis()
{
    const auto path = currentFolder();
    if (!path) return std::nullopt;
    return utf8ToSjis(path->string());
}

void setFolderCopyFailureHook(std::function<bool(const fs::path& source)> allowCopy)
{
    g_allowCopy.set(std::move(allowCopy));
}

} // namespace plat
