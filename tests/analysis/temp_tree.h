#pragma once

#include <filesystem>
#include <string_view>

namespace lintara::fixtures {

// The content folders of a game installation, in the order the lookup searches them.
inline constexpr const char* kContentFolderNames[] = {"System",       "Maps",       "Textures", "Sounds",
                                                      "StaticMeshes", "Animations", "Music"};

// A fresh folder under the system's temporary folder, removed with everything in it when
// destroyed. Relative paths use "/" and are taken as bytes (UTF-8 names stay as they are).
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path operator/(std::string_view relative) const { return root_ / relative; }

    // Creates a file with these bytes, and the folders above it.
    std::filesystem::path AddFile(std::string_view relative, std::string_view bytes = {}) const;
    // Creates a folder and the folders above it.
    std::filesystem::path AddFolder(std::string_view relative) const;
    // Creates a symbolic link to the target (which need not exist), and the folders above it.
    std::filesystem::path AddSymlink(std::string_view relative, const std::filesystem::path& target) const;
    // Creates the seven content folders under `relative` (the tree's root when empty), as a game
    // installation has them; returns the install folder.
    std::filesystem::path AddInstall(std::string_view relative = {}) const;

private:
    std::filesystem::path root_;
};

} // namespace lintara::fixtures
