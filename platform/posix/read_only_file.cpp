#include "platform/read_only_file.h"

#include "platform/file_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lintara {

namespace {

OpenFailure FailureOf(int error) {
    OpenFailure failure;
    failure.osError = error;
    failure.message = std::strerror(error);
    switch (error) {
    case ENOENT:
    case ENOTDIR: failure.kind = OpenFailure::Kind::NotFound; break;
    case EACCES:
    case EPERM: failure.kind = OpenFailure::Kind::AccessDenied; break;
    case EISDIR: failure.kind = OpenFailure::Kind::IsDirectory; break;
    case ETXTBSY:
    case EBUSY: failure.kind = OpenFailure::Kind::InUse; break;
    default: failure.kind = OpenFailure::Kind::Other; break;
    }
    return failure;
}

} // namespace

std::optional<ReadOnlyFile> ReadOnlyFile::Open(const std::string& path, OpenFailure* whyNot) {
    // Non-blocking, so that a named pipe cannot stall the open; only regular files are read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (whyNot) *whyNot = FailureOf(errno);
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int statError = errno;
        const bool statFailed = info.st_mode == 0;
        ::close(fd);
        if (whyNot) {
            if (statFailed) {
                *whyNot = FailureOf(statError);
            } else if (S_ISDIR(info.st_mode)) {
                *whyNot = FailureOf(EISDIR);
            } else {
                *whyNot = FailureOf(EINVAL);
                whyNot->message = "Not a regular file";
            }
        }
        return std::nullopt;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return ReadOnlyFile(fd, static_cast<std::uint64_t>(info.st_size));
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept : handle_(other.handle_), size_(other.size_) {
    other.handle_ = -1;
}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        size_ = other.size_;
        other.handle_ = -1;
    }
    return *this;
}

ReadOnlyFile::~ReadOnlyFile() { Close(); }

void ReadOnlyFile::Close() noexcept {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = -1;
}

void ReadOnlyFile::Seek(std::int32_t position) {
    if (::lseek(static_cast<int>(handle_), static_cast<off_t>(position), SEEK_SET) < 0)
        throw FileError(FileError::Operation::Seek, errno, std::strerror(errno));
}

std::size_t ReadOnlyFile::Read(std::uint8_t* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(static_cast<int>(handle_), buffer + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileError(FileError::Operation::Read, errno, std::strerror(errno));
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

} // namespace lintara
