#pragma once

#include "cli/options.h"

#include <optional>
#include <ostream>
#include <string>

namespace lintara::cli {

// The install directory that the packages are checked against: the one that --ut-dir gives, or
// else the one that the dialog would load, from the same sources in the same order, saved when
// the dialog would save it. The checker's folder prompt asks nothing: it is always cancelled.
// Empty when there is none; then *whyNot tells the user what to do.
std::optional<std::string> ResolveInstallDir(const Options& options, std::string* whyNot);

// --show-ut-dir: prints the install directory that ResolveInstallDir gives and the source it came
// from, or, on `err`, that no source gave one and how to set one. Returns the exit status: 0 when
// one was found, 2 otherwise.
int ShowInstallDir(const Options& options, std::ostream& out, std::ostream& err);

} // namespace lintara::cli
