#include "tests/settings/sandbox.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace lintara::testing {

namespace fs = std::filesystem;

namespace {

fs::path MakeTemporaryFolder() {
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path folder = fs::temp_directory_path() / ("lintara-settings-" + std::to_string(random() % 1000000000));
        std::error_code error;
        if (fs::create_directory(folder, error)) return folder;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

} // namespace

Sandbox::Sandbox() {
    root_ = fs::canonical(MakeTemporaryFolder()).string();
    previousDirectory_ = fs::current_path().string();
    fs::current_path(root_);
}

Sandbox::~Sandbox() {
    std::error_code ignored;
    fs::current_path(previousDirectory_, ignored);
    fs::remove_all(root_, ignored);
}

std::string Sandbox::Path(std::string_view relative) const {
#ifdef _WIN32
    std::string path = root_ + "\\" + std::string(relative);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
#else
    return root_ + "/" + std::string(relative);
#endif
}

std::string Sandbox::WriteFile(std::string_view relative, std::string_view bytes) const {
    const fs::path path = Path(relative);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

std::string Sandbox::MakeFolder(std::string_view relative) const {
    const fs::path path = Path(relative);
    fs::create_directories(path);
    return path.string();
}

std::vector<std::string> Sandbox::List(std::string_view relative) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Path(relative))) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

#ifndef _WIN32
FileSizeLimit::FileSizeLimit(unsigned long bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    previousSoft_ = limit.rlim_cur;
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) throw std::runtime_error("cannot limit the file size");
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previousSoft_;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler_);
}

#endif

namespace {

void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    ::_putenv_s(name, value ? value : ""); // an empty value removes the variable
#else
    if (value)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
#endif
}

} // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) previous_ = old;
    SetEnvironment(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironment(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

} // namespace lintara::testing
