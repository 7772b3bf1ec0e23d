#include "cli/install_dir.h"

namespace lintara::cli {

std::optional<std::string> ResolveInstallDir(const Options& options, std::string* whyNot) {
    if (options.utDir) return options.utDir;
    if (whyNot) *whyNot = "no install directory: give the game's folder with --ut-dir DIR";
    return std::nullopt;
}

} // namespace lintara::cli
