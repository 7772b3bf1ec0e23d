#include "platform/settings_store.h"

#include "platform/atomic_file.h"
#include "platform/file_error.h"
#include "platform/posix/home_folder.h"
#include "platform/posix/key_file.h"
#include "platform/read_only_file.h"

#include <cerrno>
#include <new>
#include <stdlib.h>
#include <sys/stat.h>

namespace lintara {

namespace {

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

bool SameAsciiText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The file, relative to a root folder, that holds a key: "SOFTWARE\Korvel\Lintara" is held by
// "Korvel/Lintara.conf", since the root folders already hold software settings only. Empty for
// a path that names no key, or that would lead out of the root.
std::string KeyFile(const std::string& keyPath) {
    std::string file;
    std::size_t start = 0;
    bool first = true;
    while (start <= keyPath.size()) {
        std::size_t end = keyPath.find('\\', start);
        if (end == std::string::npos) end = keyPath.size();
        const std::string component = keyPath.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == "." || component == ".." ||
            component.find('/') != std::string::npos)
            return {};
        if (first && SameAsciiText(component, "SOFTWARE") && end < keyPath.size()) {
            first = false;
            continue;
        }
        first = false;
        file = file.empty() ? component : file + "/" + component;
    }
    return file.empty() ? file : file + ".conf";
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

// The whole content of an existing file; empty when it cannot be read.
std::optional<std::string> ReadWhole(const std::string& path) {
    auto file = ReadOnlyFile::Open(path);
    if (!file) return std::nullopt;
    try {
        std::string text(static_cast<std::size_t>(file->Size()), '\0');
        const std::size_t read = file->Read(reinterpret_cast<std::uint8_t*>(text.data()), text.size());
        text.resize(read);
        return text;
    } catch (const FileError&) {
        return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

// Creates the folder and the folders above it that are absent.
bool MakeFolders(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string part = folder.substr(0, slash);
        struct stat info {};
        if (::stat(part.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) return false;
        } else if (errno != ENOENT || (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)) {
            return false;
        }
        if (slash == std::string::npos) return true;
    }
}

// Whether a value of this name can be written as a line that reads back under the same name.
bool IsWritableName(const std::string& name) {
    if (name.empty() || name.front() == '#' || name.front() == ';') return false;
    if (name.front() == ' ' || name.front() == '\t' || name.back() == ' ' || name.back() == '\t') return false;
    return name.find_first_of(std::string_view("=\n\r\0", 4)) == std::string::npos;
}

} // namespace

struct SettingsKey::State {
    std::string path;       // the file that holds the key
    bool writable = false;
    std::string text;       // the file's content, as last read or written
};

SettingsKey::SettingsKey(std::unique_ptr<State> state) : state_(std::move(state)) {}
SettingsKey::SettingsKey(SettingsKey&&) noexcept = default;
SettingsKey& SettingsKey::operator=(SettingsKey&&) noexcept = default;
SettingsKey::~SettingsKey() = default;

SettingsStore SettingsStore::ForThisUser() {
    StoreRoots roots;
    roots.user = FolderFromEnvironment("XDG_CONFIG_HOME");
    if (roots.user.empty()) {
        const std::string home = HomeFolder();
        if (!home.empty()) roots.user = Join(home, ".config");
    }
    if (const char* dirs = ::getenv("XDG_CONFIG_DIRS")) {
        const std::string list = dirs;
        std::size_t start = 0;
        while (start <= list.size()) {
            std::size_t end = list.find(':', start);
            if (end == std::string::npos) end = list.size();
            std::string folder = list.substr(start, end - start);
            start = end + 1;
            while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
            if (folder.starts_with('/')) roots.machine.push_back(folder);
        }
    }
    if (roots.machine.empty()) roots.machine.push_back("/etc/xdg");
    return SettingsStore(std::move(roots));
}

std::optional<SettingsKey> SettingsStore::OpenKey(Root root, const std::string& keyPath) const {
    const std::string file = KeyFile(keyPath);
    if (file.empty()) return std::nullopt;
    const std::vector<std::string> userFolders{roots_.user};
    for (const std::string& folder : root == Root::User ? userFolders : roots_.machine) {
        if (folder.empty()) continue;
        const std::string path = Join(folder, file);
        if (!Exists(path)) continue;
        // The first folder that holds the key gives it, readable or not.
        auto text = ReadWhole(path);
        if (!text) return std::nullopt;
        auto state = std::make_unique<SettingsKey::State>();
        state->path = path;
        state->text = std::move(*text);
        return SettingsKey(std::move(state));
    }
    return std::nullopt;
}

std::optional<SettingsKey> SettingsStore::CreateUserKey(const std::string& keyPath) const {
    const std::string file = KeyFile(keyPath);
    if (file.empty() || roots_.user.empty()) return std::nullopt;
    const std::string path = Join(roots_.user, file);
    if (!MakeFolders(path.substr(0, path.rfind('/')))) return std::nullopt;
    auto state = std::make_unique<SettingsKey::State>();
    state->path = path;
    state->writable = true;
    if (Exists(path)) {
        auto text = ReadWhole(path);
        if (!text) return std::nullopt;
        state->text = std::move(*text);
    }
    return SettingsKey(std::move(state));
}

std::string SettingsStore::KeyLocation(Root root, const std::string& keyPath) const {
    const std::string file = KeyFile(keyPath);
    if (root == Root::User) return Join(roots_.user, file);
    for (const std::string& folder : roots_.machine)
        if (!folder.empty() && Exists(Join(folder, file))) return Join(folder, file);
    return Join(roots_.machine.empty() ? std::string() : roots_.machine.front(), file);
}

std::optional<std::string> SettingsKey::QueryValue(const std::string& name, std::size_t capacity) const {
    auto value = key_file::FindValue(state_->text, name);
    if (!value) return std::nullopt;
    value->push_back('\0');
    if (value->size() > capacity) return std::nullopt;
    return value;
}

bool SettingsKey::SetStringValue(const std::string& name, const std::string& text) {
    if (!state_->writable || !IsWritableName(name) || text.find('\0') != std::string::npos) return false;
    // Start from the file as it is now, so that lines written since the key was opened stay.
    std::string current;
    if (Exists(state_->path)) {
        auto read = ReadWhole(state_->path);
        if (!read) return false;
        current = std::move(*read);
    }
    std::string updated = key_file::WithValue(current, name, text);
    if (!ReplaceFileContent(state_->path, updated)) return false;
    state_->text = std::move(updated);
    return true;
}

} // namespace lintara
