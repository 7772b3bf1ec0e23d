#include "platform/file_presence.h"

#include <sys/stat.h>

namespace lintara {

bool PathExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

} // namespace lintara
