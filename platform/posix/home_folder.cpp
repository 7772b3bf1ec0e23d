#include "platform/posix/home_folder.h"

#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

namespace lintara {

namespace {

std::string WithoutTrailingSlashes(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

} // namespace

std::string FolderFromEnvironment(const char* name) {
    const char* value = ::getenv(name);
    if (!value || value[0] != '/') return {};
    return WithoutTrailingSlashes(value);
}

std::string HomeFolder() {
    std::string home = FolderFromEnvironment("HOME");
    if (!home.empty()) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0] == '/')
        return WithoutTrailingSlashes(entry->pw_dir);
    return {};
}

} // namespace lintara
