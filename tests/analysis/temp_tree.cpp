#include "tests/analysis/temp_tree.h"

#include "tests/analysis/package_writer.h"

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace lintara::fixtures {

TempTree::TempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lintara-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    root_ = pattern;
}

TempTree::~TempTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

std::filesystem::path TempTree::AddFile(std::string_view relative, std::string_view bytes) const {
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    WriteFile(path, bytes);
    return path;
}

std::filesystem::path TempTree::AddFolder(std::string_view relative) const {
    const auto path = root_ / relative;
    std::filesystem::create_directories(path);
    return path;
}

std::filesystem::path TempTree::AddSymlink(std::string_view relative, const std::filesystem::path& target) const {
    const auto path = root_ / relative;
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::create_symlink(target, path);
    return path;
}

std::filesystem::path TempTree::AddInstall(std::string_view relative) const {
    const auto install = relative.empty() ? root_ : root_ / relative;
    for (const char* folder : kContentFolderNames) std::filesystem::create_directories(install / folder);
    return install;
}

} // namespace lintara::fixtures
