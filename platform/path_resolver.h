#pragma once
// Game paths are Windows paths in Shift-JIS: backslash separators (a 0x5C
// byte can also be the trail byte of a double-byte character) and names that
// match whatever their case. The resolver turns one into a real path of this
// machine: the bytes are converted from CP932 to UTF-8 first, then split on
// the separators, then each component is matched case-insensitively against
// the folder it lies in (a name that exists as written wins over one that
// differs only by case). A relative path is taken from the current folder
// (the game folder) and may never climb out of it; the result is then
// relative too ("." for the game folder itself). A path ends at a NUL byte,
// and one written with a separator at its end must name a folder.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace plat {

// The real path of an existing file or folder, or nothing when some
// component does not exist, the path cannot be converted, or ".." would
// leave the game folder.
std::optional<std::filesystem::path> resolveExisting(std::string_view sjisPath);

// The real path at which a file or folder of that name is to be created:
// the components that exist are matched as above, the rest are taken as
// written. Nothing when the path cannot be converted or leaves the game
// folder.
std::optional<std::filesystem::path> resolveForCreate(std::string_view sjisPath);

// Whether an absolute game path is meant rather than one relative to the
// game folder: one that starts with a separator, or a Windows drive form
// ("C:\..."), which the resolver refuses because drives do not exist here.
bool isAbsoluteGamePath(std::string_view sjisPath);

// Many names looked up in one folder with a single listing of it, for
// searches that try hundreds of names. The listing is taken when the object
// is made.
class FolderLookup {
public:
    // The folder is a game path; empty means the game folder. A folder that
    // does not exist contains nothing.
    explicit FolderLookup(std::string_view sjisFolder);
    // Whether an entry of that name (no separators) exists, whatever its case.
    bool contains(std::string_view sjisName) const;

private:
    std::unordered_set<std::u32string> foldedNames_; // each name with its case folded
};

} // namespace plat
