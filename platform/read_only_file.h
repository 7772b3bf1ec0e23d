#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace lintara {

// Why a file could not be opened for reading.
struct OpenFailure {
    enum class Kind { NotFound, AccessDenied, IsDirectory, InUse, Other };
    Kind kind = Kind::Other;
    int osError = 0;
    std::string message; // the operating system's text, e.g. "No such file or directory"
};

// An existing file opened for reading only, shared with no other opener where the platform
// supports that. Closed when destroyed.
class ReadOnlyFile {
public:
    // The path is used unchanged; a relative one resolves against the current directory.
    static std::optional<ReadOnlyFile> Open(const std::string& path, OpenFailure* whyNot = nullptr);

    ReadOnlyFile(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile();

    // The file's size when it was opened.
    std::uint64_t Size() const { return size_; }

    // Moves to an absolute position. A position beyond the end is accepted (reads there deliver
    // nothing); a negative one is refused with FileError(Seek).
    void Seek(std::int32_t position);

    // Reads up to `size` bytes at the current position and returns how many were read: fewer at
    // the end of the file, none at or beyond it. Any other failure throws FileError(Read).
    std::size_t Read(std::uint8_t* buffer, std::size_t size);

private:
    ReadOnlyFile(std::intptr_t handle, std::uint64_t size) : handle_(handle), size_(size) {}
    void Close() noexcept;

    std::intptr_t handle_ = -1;
    std::uint64_t size_ = 0;
};

} // namespace lintara
