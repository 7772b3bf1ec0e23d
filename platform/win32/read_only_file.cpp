#include "platform/read_only_file.h"

#include "platform/file_error.h"
#include "platform/win32/windows_error.h"

#include <windows.h>

#include <algorithm>
#include <limits>

namespace lintara {

namespace {

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

OpenFailure FailureOf(DWORD error) {
    OpenFailure failure;
    failure.osError = static_cast<int>(error);
    failure.message = WindowsErrorText(error);
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY: failure.kind = OpenFailure::Kind::NotFound; break;
    case ERROR_ACCESS_DENIED: failure.kind = OpenFailure::Kind::AccessDenied; break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: failure.kind = OpenFailure::Kind::InUse; break;
    default: failure.kind = OpenFailure::Kind::Other; break;
    }
    return failure;
}

} // namespace

std::optional<ReadOnlyFile> ReadOnlyFile::Open(const std::string& path, OpenFailure* whyNot) {
    // Read access only, and no sharing: while the file is open nobody else may open it, and a
    // file that another program holds open cannot be opened here.
    const HANDLE handle = path.empty() ? INVALID_HANDLE_VALUE
                                       : ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = path.empty() ? ERROR_FILE_NOT_FOUND : ::GetLastError();
        if (whyNot) {
            *whyNot = FailureOf(error);
            // A folder cannot be opened as a file; the system says only "access denied".
            const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
            if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
                (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                whyNot->kind = OpenFailure::Kind::IsDirectory;
                whyNot->message = "Is a folder";
            }
        }
        return std::nullopt;
    }
    // Only files on disk are read: a device such as CON or a pipe could stall the reads.
    LARGE_INTEGER size{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileSizeEx(handle, &size)) {
        const DWORD error = ::GetLastError();
        const bool onDisk = ::GetFileType(handle) == FILE_TYPE_DISK;
        ::CloseHandle(handle);
        if (whyNot) {
            *whyNot = FailureOf(onDisk ? error : ERROR_INVALID_FUNCTION);
            if (!onDisk) whyNot->message = "Not a regular file";
        }
        return std::nullopt;
    }
    return ReadOnlyFile(reinterpret_cast<std::intptr_t>(handle), static_cast<std::uint64_t>(size.QuadPart));
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
    if (AsHandle(handle_) != INVALID_HANDLE_VALUE) ::CloseHandle(AsHandle(handle_));
    handle_ = -1;
}

void ReadOnlyFile::Seek(std::int32_t position) {
    // Windows refuses a negative position with ERROR_NEGATIVE_SEEK; Wine with another code, so
    // the refusal is made here, the same on both.
    if (position < 0)
        throw FileError(FileError::Operation::Seek, ERROR_NEGATIVE_SEEK, WindowsErrorText(ERROR_NEGATIVE_SEEK));
    LARGE_INTEGER distance{};
    distance.QuadPart = position;
    if (!::SetFilePointerEx(AsHandle(handle_), distance, nullptr, FILE_BEGIN)) {
        const DWORD error = ::GetLastError();
        throw FileError(FileError::Operation::Seek, static_cast<int>(error), WindowsErrorText(error));
    }
}

std::size_t ReadOnlyFile::Read(std::uint8_t* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const DWORD ask = static_cast<DWORD>(std::min<std::size_t>(size - done, std::numeric_limits<DWORD>::max()));
        DWORD got = 0;
        if (!::ReadFile(AsHandle(handle_), buffer + done, ask, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_HANDLE_EOF) break;
            throw FileError(FileError::Operation::Read, static_cast<int>(error), WindowsErrorText(error));
        }
        if (got == 0) break;
        done += got;
    }
    return done;
}

} // namespace lintara
