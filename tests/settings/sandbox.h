#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lintara::testing {

// A fresh folder under the system's temporary folder that is also the current directory while
// the sandbox lives. Removed with everything in it, and the previous current directory restored,
// when destroyed.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // The sandbox's absolute path, without a trailing separator.
    const std::string& Root() const { return root_; }
    // An absolute path inside the sandbox. The relative path uses "/"; on Windows the path given
    // back uses backslashes throughout.
    std::string Path(std::string_view relative) const;

    // Creates a file with these bytes (replacing one that exists), and the folders above it.
    std::string WriteFile(std::string_view relative, std::string_view bytes) const;
    // Creates a folder and the folders above it.
    std::string MakeFolder(std::string_view relative) const;

    // The names in the folder, sorted.
    std::vector<std::string> List(std::string_view relative) const;

private:
    std::string root_;
    std::string previousDirectory_;
};

// The whole content of a file; empty when it cannot be read.
std::optional<std::string> ReadFile(const std::string& path);

#ifndef _WIN32
// While it lives, writing a regular file beyond `bytes` fails (with EFBIG), as on a full disk.
// This holds for root too, for whom permissions do not stop a write.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    unsigned long previousSoft_ = 0;
    void (*previousHandler_)(int) = nullptr;
};
#endif

// Sets (or, given no value, removes) an environment variable while it lives.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

} // namespace lintara::testing
