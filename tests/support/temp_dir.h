#pragma once
// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes away. Tests that touch files work inside one.

#include <filesystem>
#include <string>

namespace test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Path of an entry inside the folder (forward slashes, native).
    std::filesystem::path operator/(const std::string& relative) const { return path_ / relative; }

    // Writes bytes to a file inside the folder, creating the folders on the way.
    void write(const std::string& relative, const std::string& bytes) const;
    // Reads a whole file inside the folder; empty when it does not exist.
    std::string read(const std::string& relative) const;

private:
    std::filesystem::path path_;
};

// Makes the process's current directory a given folder for the lifetime of
// the object, and restores the previous one afterwards.
class ScopedCurrentDir {
public:
    explicit ScopedCurrentDir(const std::filesystem::path& dir);
    ~ScopedCurrentDir();
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ScopedCurrentDir& operator=(const ScopedCurrentDir&) = delete;

private:
    std::filesystem::path previous_;
};

}  // namespace test
