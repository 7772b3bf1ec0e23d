#pragma once

#include <string>
#include <vector>

namespace lintara {

// A place where an installer of the game puts it by default: the path whose presence is tested,
// and the install directory taken when it is present.
struct DefaultInstallDir {
    std::string probe;
    std::string dir;
};

// This platform's default places, in the order they are tried. On POSIX: the community
// installer's ~/.local/share/OldUnreal/UT2004/, then the original Linux installer's
// /usr/local/games/ut2004/, each taken without its trailing slash.
std::vector<DefaultInstallDir> DefaultInstallDirs();

} // namespace lintara
