#pragma once

#include <optional>
#include <string>

namespace lintara {

// Where a package lies: the status word ("System", "Maps", "Textures", "Sounds", "StaticMeshes",
// "Animations", "Music" or "Missing") and, unless missing, the file that was found.
struct PackageLocation {
    std::string status;
    std::string path;

    bool IsMissing() const { return path.empty(); }
};

inline constexpr const char* kMissing = "Missing";

// Searches the seven content folders under the install directory, in order, for a file named
// as the package with any extension or none. Nothing is cached: every call searches afresh.
PackageLocation FindPackage(const std::string& installDir, const std::string& packageName);

// The status word alone.
std::string Locate(const std::string& installDir, const std::string& packageName);

// Whether the folder that the pattern names holds an entry matching its last component that
// counts: not "." or "..", and not a directory. On success, *found gets the entry's path.
bool MatchingFileExists(const std::string& pattern, std::string* found = nullptr);

} // namespace lintara
