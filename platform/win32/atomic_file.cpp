#include "platform/atomic_file.h"

#include <windows.h>

namespace lintara {

namespace {

bool WriteAll(HANDLE file, std::string_view content) {
    while (!content.empty()) {
        const DWORD ask = content.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(content.size());
        DWORD written = 0;
        if (!::WriteFile(file, content.data(), ask, &written, nullptr) || written == 0) return false;
        content.remove_prefix(written);
    }
    return true;
}

// Creates a new, empty file with a name of its own beside the target; INVALID_HANDLE_VALUE
// when that fails.
HANDLE CreateTemporaryBeside(const std::string& folder, const std::string& name, std::string& tempPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + name + "." + std::to_string(::GetCurrentProcessId()) + "." + std::to_string(attempt) + ".tmp";
        const HANDLE file = ::CreateFileA(tempPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

bool ReplaceFileContent(const std::string& path, std::string_view content) {
    if (path.empty()) return false;
    const std::size_t separator = path.find_last_of("\\/");
    const std::string folder = separator == std::string::npos ? "" : path.substr(0, separator + 1);
    const std::string name = separator == std::string::npos ? path : path.substr(separator + 1);
    if (name.empty()) return false;

    const DWORD existing = ::GetFileAttributesA(path.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY)) return false;
    // A read-only file is left as it is. Windows' MoveFileEx refuses to replace it; Wine's does not.
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_READONLY)) return false;

    std::string tempPath;
    const HANDLE file = CreateTemporaryBeside(folder, name, tempPath);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(file, content) && ::FlushFileBuffers(file);
    ok = ::CloseHandle(file) && ok;
    // An existing file keeps its hidden, system and archive attributes; its access rights, like a
    // new file's, are those that the folder gives.
    if (ok && existing != INVALID_FILE_ATTRIBUTES) {
        const DWORD kept = existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
        ok = ::SetFileAttributesA(tempPath.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL);
    }
    ok = ok && ::MoveFileExA(tempPath.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        ::DeleteFileA(tempPath.c_str());
        return false;
    }
    return true;
}

} // namespace lintara
