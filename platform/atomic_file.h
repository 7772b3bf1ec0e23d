#pragma once

#include <string>
#include <string_view>

namespace lintara {

// Replaces the whole content of a file, creating it when absent, so that a reader only ever
// sees the old content or the new one: the new content goes to a temporary file beside it, is
// flushed to disk, and then takes the file's place in one step. An existing file keeps its
// permissions. False when any step fails; the file is then as it was and nothing is left beside
// it. A relative path resolves against the current directory.
bool ReplaceFileContent(const std::string& path, std::string_view content);

} // namespace lintara
