#pragma once
// Keeps a second copy of the program from running: the first copy holds an
// exclusive lock on a file named after the program in the user's runtime
// folder ($XDG_RUNTIME_DIR, or the temporary folder with the user id in the
// name). The system releases the lock when the process ends, however it
// ends, so a crash never leaves the program locked out.

#include <filesystem>
#include <string_view>

namespace plat {

enum class InstanceLockResult { Acquired, AlreadyRunning, Failed };

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock of the given name (UTF-8; a separator in it becomes
    // '_'). AlreadyRunning when another holder has it, Failed when the lock
    // file cannot be opened.
    InstanceLockResult acquire(std::string_view name);
    // Gives the lock up; also done by the destructor.
    void release();
    bool held() const { return fd_ >= 0; }

    // The file that a lock of that name uses.
    static std::filesystem::path lockFilePath(std::string_view name);

private:
    int fd_ = -1;
};

} // namespace plat
