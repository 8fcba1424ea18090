#pragma once
// Writing a player's file so that it is never half-written: the bytes go to
// a temporary file in the same folder, every write is checked, the file is
// flushed to disk and then renamed over the old one. Until commit() succeeds
// the old file stays as it was; a writer destroyed without a commit removes
// its temporary file.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Starts writing the file named by a game path (see path_resolver.h).
    // False when the path cannot be resolved, its folder does not exist, it
    // names something other than a file, or no temporary file can be made.
    bool open(std::string_view sjisPath);
    // Appends bytes; false (and the writer failed) when they could not all be written.
    bool write(const void* data, std::size_t count);
    // Flushes, syncs and renames over the target. False when anything failed
    // on the way, in which case the target is untouched. Ends the writing
    // either way; a replaced file keeps its permissions.
    bool commit();
    bool failed() const { return failed_; }

private:
    void discard();

    int fd_ = -1;
    bool failed_ = false;
    std::filesystem::path target_;
    std::filesystem::path temp_;
};

// A name for a temporary file or folder beside target that no other writer
// of this process uses: the target's name, hidden, with the kind, the
// process id and a running number (".Option.dat.tmp-4711-0").
std::filesystem::path temporarySibling(const std::filesystem::path& target, std::string_view kind);

// The kind in the names of an AtomicFile's temporary files.
inline constexpr std::string_view kTemporaryFileKind = "tmp";

// The name of the target when a file name is exactly one that
// temporarySibling gives for that kind (a dot, the target's name, a dot, the
// kind, a dash, digits, a dash, digits); nothing otherwise.
std::optional<std::string_view> temporarySiblingTarget(std::string_view fileName,
                                                       std::string_view kind);

// Removes the temporary files that writers killed in an earlier run left
// behind: the plain files named as temporarySibling names them with
// kTemporaryFileKind, in the folder (a game path) and its subfolders; links
// are not followed and nothing else is touched. For the start-up, before
// anything is written. The number of files removed.
std::size_t removeLeftoverTemporaryFiles(std::string_view sjisFolder);

// Syncs a written file to disk; false when it cannot be opened or synced.
bool syncFileToDisk(const std::filesystem::path& file);
// Syncs a folder's entries to disk, so that files created or renamed in it
// stay after a power loss; best effort, since some file systems cannot.
void syncFolderToDisk(const std::filesystem::path& folder);

// Test hook: while set, every sync of a file or folder to disk (of an
// AtomicFile and of a folder copy) tells it the path first; a file's sync
// fails (as a failing disk would) when it returns false. Pass nullptr to
// remove it.
void setSyncHook(std::function<bool(const std::filesystem::path& path)> allowSync);

// Test hook: while set, every write of an AtomicFile asks it first and fails
// (as a full disk would) when it returns false. Pass nullptr to remove it.
void setAtomicWriteFailureHook(std::function<bool(const std::filesystem::path& target)> allowWrite);

} // namespace plat
