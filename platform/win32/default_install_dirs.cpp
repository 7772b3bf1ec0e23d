#include "platform/default_install_dirs.h"

namespace lintara {

// The game's own installer offers C:\UT2004 by default. The probe keeps its trailing backslash,
// so that only a folder counts; the directory taken is written as earlier releases saved it.
std::vector<DefaultInstallDir> DefaultInstallDirs() { return {{"C:\\UT2004\\", "C:\\ut2004"}}; }

} // namespace lintara
