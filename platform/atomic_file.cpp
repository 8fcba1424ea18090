#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/path_resolver.h"
#include "platform/test_hook.h"

namespace fs = std::filesystem;

namespace plat {
namespace {

detail::TestHook<bool(const fs::path&)> g_allowWrite;
detail::TestHook<bool(const fs::path&)> g_allowSync;

bool writeAllowed(const fs::path& target)
{
    const auto hook = g_allowWrite.get();
    return !hook || (*hook)(target);
}

bool syncAllowed(const fs::path& path)
{
    const auto hook = g_allowSync.get();
    return !hook || (*hook)(path);
}

// Syncs an open file, named by path for the test hook.
bool syncDescriptor(int fd, const fs::path& path)
{
    return syncAllowed(path) && ::fsync(fd) == 0;
}

} // namespace

bool syncFileToDisk(const fs::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = syncDescriptor(fd, file);
    return ::close(fd) == 0 && synced;
}

void syncFolderToDisk(const fs::path& folder)
{
    const fs::path path = folder.empty() ? fs::path(".") : folder;
    syncAllowed(path);
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

AtomicFile::~AtomicFile()
{
    discard();
}

bool AtomicFile::open(std::string_view sjisPath)
{
    discard();
    failed_ = true;
    const auto target = resolveForCreate(sjisPath);
    if (!target) return false;

    // The folder must exist already, and the target may not be a folder.
    std::error_code ec;
    const fs::path folder = target->parent_path();
    if (!fs::is_directory(folder.empty() ? fs::path(".") : folder, ec)) return false;
    struct stat old {};
    const bool replacing = ::stat(target->c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) return false;

    for (unsigned attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        // A name left behind by an earlier process is skipped by the
        // exclusive create.
        fs::path temp = temporarySibling(*target, kTemporaryFileKind);
        fd_ = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            temp_ = std::move(temp);
        } else if (errno != EEXIST) {
            return false;
        }
    }
    if (fd_ < 0) return false;
    // A replaced file keeps its permissions.
    if (replacing) ::fchmod(fd_, old.st_mode & 07777);
    target_ = *target;
    failed_ = false;
    return true;
}

bool AtomicFile::write(const void* data, std::size_t count)
{
    if (failed_ || fd_ < 0) {
        failed_ = true;
        return false;
    }
    if (count == 0) return true;
    if (!writeAllowed(target_)) {
        failed_ = true;
        return false;
    }
    const auto* bytes = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t n = ::write(fd_, bytes, count);
        if (n < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            return false;
        }
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::commit()
{
    if (failed_ || fd_ < 0) {
        discard();
        failed_ = true;
        return false;
    }
    const bool synced = syncDescriptor(fd_, temp_);
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!synced || !closed || ::rename(temp_.c_str(), target_.c_str()) != 0) {
        discard();
        failed_ = true;
        return false;
    }
    temp_.clear();
    syncFolderToDisk(target_.parent_path());
    return true;
}

void AtomicFile::discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

fs::path temporarySibling(const fs::path& target, std::string_view kind)
{
    static std::atomic<unsigned> counter{0};
    std::string name = ".";
    name += target.filename().string();
    name += '.';
    name += kind;
    name += '-';
    name += std::to_string(::getpid());
    name += '-';
    name += std::to_string(counter++);
    return target.parent_path() / name;
}

std::optional<std::string_view> temporarySiblingTarget(std::string_view name, std::string_view kind)
{
    // From the end: digits, a dash, digits, a dash, the kind, a dot.
    auto takeNumber = [&name] {
        std::size_t digits = 0;
        while (digits < name.size() && name[name.size() - 1 - digits] >= '0' &&
               name[name.size() - 1 - digits] <= '9') {
            ++digits;
        }
        name.remove_suffix(digits);
        return digits > 0;
    };
    auto takeSuffix = [&name](std::string_view suffix) {
        if (!name.ends_with(suffix)) return false;
        name.remove_suffix(suffix.size());
        return true;
    };
    if (!takeNumber() || !takeSuffix("-") || !takeNumber() || !takeSuffix("-") ||
        !takeSuffix(kind) || !takeSuffix(".")) {
        return std::nullopt;
    }
    // What is left is the dot and the target's name.
    if (name.size() < 2 || name.front() != '.') return std::nullopt;
    return name.substr(1);
}

std::size_t removeLeftoverTemporaryFiles(std::string_view sjisFolder)
{
    const auto folder = resolveExisting(sjisFolder);
    std::error_code ec;
    if (!folder || !fs::is_directory(*folder, ec)) return 0;
    std::vector<fs::path> leftovers;
    auto it = fs::recursive_directory_iterator(*folder, ec);
    for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
        std::error_code entry;
        if (it->is_regular_file(entry) && !it->is_symlink(entry) &&
            temporarySiblingTarget(it->path().filename().string(), kTemporaryFileKind)) {
            leftovers.push_back(it->path());
        }
    }
    std::size_t removed = 0;
    for (const fs::path& path : leftovers) {
        removed += ::unlink(path.c_str()) == 0 ? 1 : 0;
    }
    return removed;
}

void setSyncHook(std::function<bool(const fs::path& path)> allowSync)
{
    g_allowSync.set(std::move(allowSync));
}

void setAtomicWriteFailureHook(std::function<bool(const fs::path& target)> allowWrite)
{
    g_allowWrite.set(std::move(allowWrite));
}

} // namespace plat
