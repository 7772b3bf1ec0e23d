#pragma once

#include "tests/analysis/tree_path.h"

#include <filesystem>
#include <string_view>

namespace lintara::fixtures {

// The content folders of a game installation, in the order the lookup searches them.
inline constexpr const char* kContentFolderNames[] = {"System",       "Maps",       "Textures", "Sounds",
                                                      "StaticMeshes", "Animations", "Music"};

// A fresh folder under the system's temporary folder, removed with everything in it when
// destroyed. Relative paths use "/" and are UTF-8: on POSIX the bytes stay as they are, on
// Windows the names are the Unicode names they spell (so "\xC3\x84rger" is the file that the
// ANSI functions call "\xC4rger" in code page 1252). The paths given back use the platform's
// own separator.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    TreePath operator/(std::string_view relative) const;

    // Creates a file with these bytes, and the folders above it.
    TreePath AddFile(std::string_view relative, std::string_view bytes = {}) const;
    // Creates a folder and the folders above it.
    TreePath AddFolder(std::string_view relative) const;
    // Creates a symbolic link to the target (which need not exist), and the folders above it.
    TreePath AddSymlink(std::string_view relative, const std::filesystem::path& target) const;
    // Creates the seven content folders under `relative` (the tree's root when empty), as a game
    // installation has them; returns the install folder.
    TreePath AddInstall(std::string_view relative = {}) const;

private:
    std::filesystem::path root_;
};

// A fresh, empty folder under the system's temporary folder, whose name begins with the prefix.
std::filesystem::path MakeTemporaryFolder(std::string_view prefix);

} // namespace lintara::fixtures
