#pragma once

#include <string>

namespace lintara {

// Whether the path names something that exists, a file or a folder. A path that ends in a
// separator names a folder only.
bool PathExists(const std::string& path);

} // namespace lintara
