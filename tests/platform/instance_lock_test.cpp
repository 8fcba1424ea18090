#include "platform/instance_lock.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

using test::ScopedEnv;

// What another process gets when it asks for the lock.
plat::InstanceLockResult acquireInChild(const std::string& name)
{
    const pid_t child = ::fork();
    if (child == 0) {
        plat::InstanceLock lock;
        ::_exit(static_cast<int>(lock.acquire(name)));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<plat::InstanceLockResult>(WEXITSTATUS(status));
}

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo)
{
    test::TempDir runtime;
    ScopedEnv env("XDG_RUNTIME_DIR", runtime.path().string());
    const std::string name = "quenholt-ゲーム";

    plat::InstanceLock first;
    ASSERT_EQ(first.acquire(name), plat::InstanceLockResult::Acquired);
    EXPECT_TRUE(first.held());
    EXPECT_EQ(acquireInChild(name), plat::InstanceLockResult::AlreadyRunning);
    plat::InstanceLock second;
    EXPECT_EQ(second.acquire(name), plat::InstanceLockResult::AlreadyRunning);
    EXPECT_FALSE(second.held());
    EXPECT_EQ(second.acquire("another program"), plat::InstanceLockResult::Acquired);

    first.release();
    EXPECT_FALSE(first.held());
    EXPECT_EQ(acquireInChild(name), plat::InstanceLockResult::Acquired);
    {
        plat::InstanceLock third;
        EXPECT_EQ(third.acquire(name), plat::InstanceLockResult::Acquired);
    }
    EXPECT_EQ(first.acquire(name), plat::InstanceLockResult::Acquired);
}

TEST(InstanceLock, LockFileLivesInTheRuntimeFolderOrTheTemporaryOne)
{
    test::TempDir runtime;
    {
        ScopedEnv env("XDG_RUNTIME_DIR", runtime.path().string());
        EXPECT_EQ(plat::InstanceLock::lockFilePath("a/b"), runtime / "a_b.lock");
    }
    const fs::path inTemp =
        fs::temp_directory_path() / ("a_b-" + std::to_string(::getuid()) + ".lock");
    {
        ScopedEnv env("XDG_RUNTIME_DIR", std::nullopt);
        EXPECT_EQ(plat::InstanceLock::lockFilePath("a/b"), inTemp);
    }
    ScopedEnv env("XDG_RUNTIME_DIR", (runtime / "missing").string());
    EXPECT_EQ(plat::InstanceLock::lockFilePath("a/b"), inTemp);
}

} // namespace
