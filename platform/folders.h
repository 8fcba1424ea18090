#pragma once
// Folder operations on game paths (Shift-JIS, backslashes, matched whatever
// their case; see path_resolver.h).

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

// Whether a file or folder of that name exists.
bool pathExists(std::string_view sjisPath);

// Whether a folder of that name exists.
bool isFolder(std::string_view sjisPath);

// Creates the folder, and any missing folder above it. True when the folder
// exists afterwards.
bool createFolder(std::string_view sjisPath);

// Copies the folder source, with everything in it, to destination, which
// must not exist yet and whose parent folder must. The copy is made in a
// hidden temporary folder beside the destination and renamed into place at
// the end, so an interrupted or failed copy leaves nothing at the
// destination; every copied file and folder is synced to disk before the
// rename, so that a power loss never leaves a destination with empty files
// (a file that cannot be synced fails the copy). Files and folders are
// copied (a link as what it points to);
// other kinds of entries are left out. False when anything failed.
bool copyFolderTree(std::string_view sjisSource, std::string_view sjisDestination);

// Removes the hidden temporary folders, with everything in them, that
// copies to the destination (a game path) interrupted in an earlier run
// left beside it: the folders named for it as copyFolderTree names them,
// and nothing else. For the start-up, before anything is copied. The number
// of folders removed.
std::size_t removeLeftoverCopies(std::string_view sjisDestination);

// Removes the file or folder with everything in it. True when nothing is
// left at the path. Refuses (false) the game folder and the folders above it.
bool removeTree(std::string_view sjisPath);

// The current folder (the game folder) as this machine names it; nothing when
// it cannot be read.
std::optional<std::filesystem::path> currentFolder();

// The current folder as a Shift-JIS path; nothing when it cannot be read or
// holds a character that Shift-JIS cannot write.
std::optional<std::string> currentDirectorySjis();

// Test hook: while set, the folder copy asks it before each file it copies
// and fails (as a full disk would) when it returns false. Pass nullptr to
// remove it.
void setFolderCopyFailureHook(std::function<bool(const std::filesystem::path& source)> allowCopy);

} // namespace plat
