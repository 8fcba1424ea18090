#include "platform/instance_lock.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace plat {

InstanceLock::~InstanceLock()
{
    release();
}

fs::path InstanceLock::lockFilePath(std::string_view name)
{
    std::string file(name);
    for (char& c : file) {
        if (c == '/' || c == '\0') c = '_';
    }
    std::error_code ec;
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir && *runtimeDir && fs::is_directory(runtimeDir, ec)) {
        return fs::path(runtimeDir) / (file + ".lock");
    }
    // The temporary folder is shared by every user: the user id in the name
    // keeps one user's lock from stopping another's program.
    fs::path temp = fs::temp_directory_path(ec);
    if (ec) temp = "/tmp";
    return temp / (file + "-" + std::to_string(::getuid()) + ".lock");
}

InstanceLockResult InstanceLock::acquire(std::string_view name)
{
    release();
    const fs::path path = lockFilePath(name);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return InstanceLockResult::Failed;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? InstanceLockResult::AlreadyRunning : InstanceLockResult::Failed;
    }
    fd_ = fd;
    return InstanceLockResult::Acquired;
}

void InstanceLock::release()
{
    if (fd_ < 0) return;
    // The file stays: removing it would let a third copy lock a new file
    // while a second one still waits on the old.
    ::close(fd_);
    fd_ = -1;
}

} // namespace plat
