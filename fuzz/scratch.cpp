#include "fuzz/scratch.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <stdexcept>
#include <sys/mman.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace lintara::fuzz {

namespace {

void WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("cannot write the input's file");
        done += static_cast<std::size_t>(n);
    }
}

// The folder made for this run, removed when the process exits.
std::string& MadeFolder() {
    static std::string folder;
    return folder;
}

void RemoveMadeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(MadeFolder(), ignored);
}

std::string MakeScratchFolder() {
    if (const char* given = std::getenv("LINTARA_FUZZ_SCRATCH"); given && *given) {
        std::filesystem::create_directories(given);
        return given;
    }
    std::error_code error;
    const std::filesystem::path parent =
        std::filesystem::is_directory("/dev/shm", error) ? std::filesystem::path("/dev/shm")
                                                          : std::filesystem::temp_directory_path();
    std::string pattern = (parent / "lintara-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) Fail("cannot create a scratch folder");
    MadeFolder() = pattern;
    std::atexit(RemoveMadeFolder);
    return pattern;
}

} // namespace

MemoryFile::MemoryFile() {
    fd_ = ::memfd_create("lintara-fuzz-input", MFD_CLOEXEC);
    if (fd_ < 0) Fail("memfd_create failed");
    path_ = "/proc/self/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
    if (fd_ >= 0) ::close(fd_);
}

void MemoryFile::Replace(const std::uint8_t* data, std::size_t size) {
    if (::ftruncate(fd_, 0) != 0) Fail("cannot empty the input's file");
    WriteAll(fd_, data, size);
}

const std::string& ScratchFolder() {
    static const std::string folder = MakeScratchFolder();
    return folder;
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) Fail("cannot create a file in the scratch folder");
    WriteAll(fd, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    ::close(fd);
}

std::string ReadWholeFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail("cannot open a file in the scratch folder");
    std::string content;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) Fail("cannot read a file in the scratch folder");
        if (n == 0) break;
        content.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return content;
}

SplitInput SplitAtZero(const std::uint8_t* data, std::size_t size) {
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = all.find('\0');
    if (zero == std::string_view::npos) return {all, {}, false};
    return {all.substr(0, zero), all.substr(zero + 1), true};
}

void Fail(const char* what) {
    std::fprintf(stderr, "lintara fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace lintara::fuzz
