#include "platform/settings_store.h"

#include <windows.h>

namespace lintara {

namespace {

// Every key is opened in the 32-bit view of the registry, where the game's 32-bit installer
// wrote its key and where earlier 32-bit releases of this program kept theirs.
constexpr REGSAM kView = KEY_WOW64_32KEY;

// A store root: a root key of the registry and the path below it under which the store's keys
// lie (empty for the root key itself).
struct RootKey {
    HKEY key = nullptr;
    std::string prefix;
};

std::optional<RootKey> ParseRoot(const std::string& root) {
    const std::size_t separator = root.find('\\');
    const std::string name = root.substr(0, separator);
    RootKey parsed;
    if (name == "HKEY_CURRENT_USER" || name == "HKCU") parsed.key = HKEY_CURRENT_USER;
    else if (name == "HKEY_LOCAL_MACHINE" || name == "HKLM") parsed.key = HKEY_LOCAL_MACHINE;
    else return std::nullopt;
    if (separator != std::string::npos) parsed.prefix = root.substr(separator + 1);
    return parsed;
}

// Whether the key path names a key: not empty, and no component of it empty.
bool IsKeyPath(const std::string& keyPath) {
    if (keyPath.empty() || keyPath.front() == '\\' || keyPath.back() == '\\') return false;
    return keyPath.find("\\\\") == std::string::npos;
}

std::string SubKey(const RootKey& root, const std::string& keyPath) {
    return root.prefix.empty() ? keyPath : root.prefix + "\\" + keyPath;
}

} // namespace

struct SettingsKey::State {
    HKEY key = nullptr;
    bool writable = false;
    ~State() {
        if (key) ::RegCloseKey(key);
    }
};

SettingsKey::SettingsKey(std::unique_ptr<State> state) : state_(std::move(state)) {}
SettingsKey::SettingsKey(SettingsKey&&) noexcept = default;
SettingsKey& SettingsKey::operator=(SettingsKey&&) noexcept = default;
SettingsKey::~SettingsKey() = default;

SettingsStore SettingsStore::ForThisUser() { return SettingsStore(StoreRoots{"HKEY_CURRENT_USER", {"HKEY_LOCAL_MACHINE"}}); }

std::optional<SettingsKey> SettingsStore::OpenKey(Root root, const std::string& keyPath) const {
    if (!IsKeyPath(keyPath)) return std::nullopt;
    const std::vector<std::string> user{roots_.user};
    for (const std::string& rootText : root == Root::User ? user : roots_.machine) {
        const auto parsed = ParseRoot(rootText);
        if (!parsed) continue;
        // Read access only, also for the user key: reading asks for nothing more.
        HKEY key = nullptr;
        const LONG result = ::RegOpenKeyExA(parsed->key, SubKey(*parsed, keyPath).c_str(), 0, KEY_QUERY_VALUE | kView, &key);
        if (result == ERROR_FILE_NOT_FOUND) continue;
        if (result != ERROR_SUCCESS) return std::nullopt; // the first root that holds the key gives it
        auto state = std::make_unique<SettingsKey::State>();
        state->key = key;
        return SettingsKey(std::move(state));
    }
    return std::nullopt;
}

std::optional<SettingsKey> SettingsStore::CreateUserKey(const std::string& keyPath) const {
    const auto parsed = ParseRoot(roots_.user);
    if (!parsed || !IsKeyPath(keyPath)) return std::nullopt;
    HKEY key = nullptr;
    const LONG result = ::RegCreateKeyExA(parsed->key, SubKey(*parsed, keyPath).c_str(), 0, nullptr,
                                          REG_OPTION_NON_VOLATILE, KEY_QUERY_VALUE | KEY_SET_VALUE | kView,
                                          nullptr, &key, nullptr);
    if (result != ERROR_SUCCESS) return std::nullopt;
    auto state = std::make_unique<SettingsKey::State>();
    state->key = key;
    state->writable = true;
    return SettingsKey(std::move(state));
}

std::string SettingsStore::KeyLocation(Root root, const std::string& keyPath) const {
    if (root == Root::User) return roots_.user + "\\" + keyPath;
    return (roots_.machine.empty() ? std::string() : roots_.machine.front()) + "\\" + keyPath;
}

std::optional<std::string> SettingsKey::QueryValue(const std::string& name, std::size_t capacity) const {
    if (capacity > MAXDWORD) capacity = MAXDWORD;
    std::string bytes(capacity, '\0');
    DWORD size = static_cast<DWORD>(capacity);
    DWORD type = 0; // whatever type the value has, its bytes are given
    const LONG result = ::RegQueryValueExA(state_->key, name.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(bytes.data()), &size);
    if (result != ERROR_SUCCESS || size > capacity) return std::nullopt;
    bytes.resize(size);
    return bytes;
}

bool SettingsKey::SetStringValue(const std::string& name, const std::string& text) {
    if (!state_->writable || text.find('\0') != std::string::npos || text.size() >= MAXDWORD) return false;
    // A string value: the text and its terminating zero byte.
    return ::RegSetValueExA(state_->key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

} // namespace lintara
