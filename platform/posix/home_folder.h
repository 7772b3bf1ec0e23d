#pragma once

#include <string>

namespace lintara {

// The user's home folder, without a trailing slash: $HOME when it holds an absolute path, else
// the one the user database gives. Empty when neither does.
std::string HomeFolder();

// The value of an environment variable that names a folder, without a trailing slash. Empty when
// it is unset, empty or a relative path, which the XDG rules ignore.
std::string FolderFromEnvironment(const char* name);

} // namespace lintara
