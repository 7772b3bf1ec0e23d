#pragma once

#include "cli/options.h"

#include <optional>
#include <string>

namespace lintara::cli {

// The install directory that the packages are checked against: the one that --ut-dir gives.
// Empty when there is none; then *whyNot tells the user what to do.
std::optional<std::string> ResolveInstallDir(const Options& options, std::string* whyNot);

} // namespace lintara::cli
