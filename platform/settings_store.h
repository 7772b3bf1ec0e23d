#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lintara {

// Where the two roots of a settings store lie. On POSIX they are folders: `user` holds the user's
// keys, and a machine-wide key is taken from the first folder of `machine` that holds it.
struct StoreRoots {
    std::string user;
    std::vector<std::string> machine;
};

class SettingsKey;

// A store of named text values, grouped in keys that a root and a backslash-separated key path
// name, such as "SOFTWARE\Korvel\Lintara": the registry on Windows; on POSIX one file of
// `Name=value` lines per key, "<root>/Korvel/Lintara.conf" for that path. The user root is per
// user and can be written; the machine root is machine-wide and only ever read.
class SettingsStore {
public:
    enum class Root { User, Machine };

    // The store of the user running the program: on POSIX the user root is $XDG_CONFIG_HOME
    // (~/.config when unset) and the machine roots are the folders of $XDG_CONFIG_DIRS
    // (/etc/xdg when unset).
    static SettingsStore ForThisUser();

    explicit SettingsStore(StoreRoots roots) : roots_(std::move(roots)) {}

    // Opens an existing key for reading only. Empty when it is absent or cannot be read.
    std::optional<SettingsKey> OpenKey(Root root, const std::string& keyPath) const;

    // Opens a key of the user root for writing, creating it and every key above it that is
    // absent. Empty when that fails.
    std::optional<SettingsKey> CreateUserKey(const std::string& keyPath) const;

    // Where the key lies, for messages: on POSIX the file that holds it or would hold it.
    std::string KeyLocation(Root root, const std::string& keyPath) const;

private:
    StoreRoots roots_;
};

// An open key of a settings store. Closed when destroyed.
class SettingsKey {
public:
    SettingsKey(SettingsKey&&) noexcept;
    SettingsKey& operator=(SettingsKey&&) noexcept;
    ~SettingsKey();

    // The value's bytes as stored, a string value's terminating zero byte included. Empty when
    // the value is absent, cannot be read, or holds more than `capacity` bytes.
    std::optional<std::string> QueryValue(const std::string& name, std::size_t capacity) const;

    // Stores the text as a string value. The text may hold any byte but the zero byte. False
    // when the key was opened for reading only, the text holds a zero byte, or the store could
    // not be written; the value stored before then stays as it was.
    bool SetStringValue(const std::string& name, const std::string& text);

private:
    friend class SettingsStore;
    struct State;
    explicit SettingsKey(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

} // namespace lintara
