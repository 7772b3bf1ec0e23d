#pragma once

#ifdef _WIN32

#include <optional>
#include <string>
#include <string_view>

namespace lintara::testing {

// A fresh key of the real registry, HKEY_CURRENT_USER\Software\LintaraTests\<unique>, under which
// a test lays the roots of its settings store. Removed with everything below it when destroyed.
// Keys are named by a root name ("user", "machine1", ...) and a key path below it, and are
// written in the registry's 32-bit view, as the store reads them.
class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    // The store root of this name, as StoreRoots takes it: "HKEY_CURRENT_USER\Software\...".
    std::string Root(std::string_view name) const;

    // Stores a value of any type with exactly these bytes, creating the key.
    void SetValue(std::string_view root, std::string_view keyPath, std::string_view name, unsigned long type,
                  std::string_view bytes) const;
    // Stores a string value: the text and its terminating zero byte.
    void SetString(std::string_view root, std::string_view keyPath, std::string_view name, std::string_view text) const;
    // The value's bytes, a string's terminating zero byte included; empty when key or value is absent.
    std::optional<std::string> Value(std::string_view root, std::string_view keyPath, std::string_view name) const;
    bool KeyExists(std::string_view root, std::string_view keyPath) const;
    void RemoveKey(std::string_view root, std::string_view keyPath) const;
    // Creates the root as a volatile key, under which the registry refuses to create the lasting
    // keys that the store creates.
    void MakeVolatile(std::string_view root) const;

private:
    std::string path_; // below HKEY_CURRENT_USER
};

} // namespace lintara::testing

#endif
