#include "tests/analysis/temp_tree.h"

#include "tests/analysis/package_writer.h"

#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace lintara::fixtures {

namespace {

std::filesystem::path Relative(std::string_view utf8) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).make_preferred();
#else
    return std::filesystem::path(utf8);
#endif
}

} // namespace

std::filesystem::path MakeTemporaryFolder(std::string_view prefix) {
    static std::mt19937_64 random{std::random_device{}()};
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto folder = base / (std::string(prefix) + std::to_string(random() % 1000000000));
        std::error_code error;
        if (std::filesystem::create_directory(folder, error)) return folder;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempTree::TempTree() : root_(MakeTemporaryFolder("lintara-test-")) {}

TempTree::~TempTree() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

TreePath TempTree::operator/(std::string_view relative) const { return root_ / Relative(relative); }

TreePath TempTree::AddFile(std::string_view relative, std::string_view bytes) const {
    const auto path = root_ / Relative(relative);
    std::filesystem::create_directories(path.parent_path());
    WriteFile(path, bytes);
    return path;
}

TreePath TempTree::AddFolder(std::string_view relative) const {
    const auto path = root_ / Relative(relative);
    std::filesystem::create_directories(path);
    return path;
}

TreePath TempTree::AddSymlink(std::string_view relative, const std::filesystem::path& target) const {
    const auto path = root_ / Relative(relative);
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::create_symlink(target, path);
    return path;
}

TreePath TempTree::AddInstall(std::string_view relative) const {
    const auto install = relative.empty() ? root_ : root_ / Relative(relative);
    for (const char* folder : kContentFolderNames) std::filesystem::create_directories(install / folder);
    return install;
}

} // namespace lintara::fixtures
