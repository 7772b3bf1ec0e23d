#include "platform/default_install_dirs.h"

#include "platform/posix/home_folder.h"

namespace lintara {

std::vector<DefaultInstallDir> DefaultInstallDirs() {
    std::vector<DefaultInstallDir> dirs;
    const std::string home = HomeFolder();
    if (!home.empty()) {
        const std::string dir = (home == "/" ? "" : home) + "/.local/share/OldUnreal/UT2004";
        dirs.push_back({dir + "/", dir});
    }
    dirs.push_back({"/usr/local/games/ut2004/", "/usr/local/games/ut2004"});
    return dirs;
}

} // namespace lintara
