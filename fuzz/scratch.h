#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lintara::fuzz {

// A file that lives in memory only, whose whole content each input replaces. Path() names it as
// the file functions take a path, so that the code under test opens it like any other file.
class MemoryFile {
public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    void Replace(const std::uint8_t* data, std::size_t size);
    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

// The folder where a fuzz target keeps the files it writes: $LINTARA_FUZZ_SCRATCH when set, else
// a fresh folder in /dev/shm (or the temporary folder) that is removed when the process exits.
// The same folder for the whole run; it is created on the first call.
const std::string& ScratchFolder();

// Replaces the file's content with the bytes, creating it when absent.
void WriteWholeFile(const std::string& path, std::string_view bytes);

// The whole content of a file; stops the run when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The input as text, and split in two at the first zero byte: everything when there is none.
struct SplitInput {
    std::string_view first;
    std::string_view second;
    bool split = false;
};
SplitInput SplitAtZero(const std::uint8_t* data, std::size_t size);

// Stops the run with a message that libFuzzer reports as a crash, the input saved beside it.
[[noreturn]] void Fail(const char* what);

} // namespace lintara::fuzz
