#include "tests/settings/registry_sandbox.h"

#ifdef _WIN32

#include <windows.h>

#include <random>
#include <stdexcept>

namespace lintara::testing {

namespace {

constexpr REGSAM kView = KEY_WOW64_32KEY;

std::string Join(std::string_view a, std::string_view b) { return std::string(a) + "\\" + std::string(b); }

} // namespace

RegistrySandbox::RegistrySandbox() {
    static std::mt19937_64 random{std::random_device{}()};
    path_ = "Software\\LintaraTests\\" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(random() % 1000000000);
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | kView,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the test key " + path_);
    ::RegCloseKey(key);
}

RegistrySandbox::~RegistrySandbox() {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    ::RegDeleteKeyExA(HKEY_CURRENT_USER, path_.c_str(), kView, 0);
}

std::string RegistrySandbox::Root(std::string_view name) const { return "HKEY_CURRENT_USER\\" + Join(path_, name); }

void RegistrySandbox::SetValue(std::string_view root, std::string_view keyPath, std::string_view name,
                               unsigned long type, std::string_view bytes) const {
    HKEY key = nullptr;
    const std::string path = Join(Join(path_, root), keyPath);
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS | kView,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the key " + path);
    const LONG result = ::RegSetValueExA(key, std::string(name).c_str(), 0, type,
                                         reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS) throw std::runtime_error("cannot set a value of " + path);
}

void RegistrySandbox::SetString(std::string_view root, std::string_view keyPath, std::string_view name,
                                std::string_view text) const {
    SetValue(root, keyPath, name, REG_SZ, std::string(text) + '\0');
}

std::optional<std::string> RegistrySandbox::Value(std::string_view root, std::string_view keyPath,
                                                  std::string_view name) const {
    HKEY key = nullptr;
    const std::string path = Join(Join(path_, root), keyPath);
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ | kView, &key) != ERROR_SUCCESS) return std::nullopt;
    std::string bytes(65536, '\0');
    DWORD size = static_cast<DWORD>(bytes.size());
    const LONG result =
        ::RegQueryValueExA(key, std::string(name).c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS) return std::nullopt;
    bytes.resize(size);
    return bytes;
}

bool RegistrySandbox::KeyExists(std::string_view root, std::string_view keyPath) const {
    HKEY key = nullptr;
    const std::string path = Join(Join(path_, root), keyPath);
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ | kView, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

void RegistrySandbox::RemoveKey(std::string_view root, std::string_view keyPath) const {
    ::RegDeleteTreeA(HKEY_CURRENT_USER, Join(Join(path_, root), keyPath).c_str());
    ::RegDeleteKeyExA(HKEY_CURRENT_USER, Join(Join(path_, root), keyPath).c_str(), kView, 0);
}

void RegistrySandbox::MakeVolatile(std::string_view root) const {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, Join(path_, root).c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                          KEY_ALL_ACCESS | kView, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create a volatile key");
    ::RegCloseKey(key);
}

} // namespace lintara::testing

#endif
