#include "platform/file_presence.h"

#include <windows.h>

namespace lintara {

bool PathExists(const std::string& path) {
    if (path.empty()) return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    // Some versions of the system accept "file.txt\" for the file; a separator names a folder.
    const char last = path.back();
    if ((last == '\\' || last == '/') && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    return true;
}

} // namespace lintara
