#pragma once

#include <filesystem>
#include <string>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace lintara::fixtures {

// A path of a test file. It converts to the std::string that the code under test takes, in the
// encoding of the platform's file functions, also on Windows, where std::filesystem::path itself
// converts only to a wide string.
class TreePath : public std::filesystem::path {
public:
    TreePath() = default;
    TreePath(std::filesystem::path path) : std::filesystem::path(std::move(path)) {}
    operator std::string() const { return string(); }

#ifdef _WIN32
    // The path in the ANSI code page, as the system's ANSI functions take it. (The C++ library's
    // own conversion of a wide path does not use that code page.)
    std::string string() const {
        const std::wstring& wide = native();
        if (wide.empty()) return {};
        const int size = static_cast<int>(wide.size());
        const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
        std::string ansi(static_cast<std::size_t>(bytes), '\0');
        ::WideCharToMultiByte(CP_ACP, 0, wide.data(), size, ansi.data(), bytes, nullptr, nullptr);
        return ansi;
    }
#endif
};

} // namespace lintara::fixtures
