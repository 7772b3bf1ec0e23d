#include "platform/file_search.h"

#include "platform/wildcard_match.h"

#include <dirent.h>
#include <sys/stat.h>

#include <vector>

namespace lintara {

namespace {

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

// The folder as it lies on disk: each component that does not exist as written is looked up
// among its parent's entries without regard to letter case, as on Windows.
std::optional<std::string> ResolveFolder(const std::string& folder) {
    if (IsDirectory(folder.empty() ? "." : folder)) return folder;
    std::string resolved = folder.starts_with('/') ? "/" : "";
    std::size_t start = 0;
    while (start <= folder.size()) {
        std::size_t end = folder.find('/', start);
        if (end == std::string::npos) end = folder.size();
        const std::string component = folder.substr(start, end - start);
        start = end + 1;
        if (component.empty()) continue;
        std::string exact = Join(resolved, component);
        if (!IsDirectory(exact.empty() ? "." : exact)) {
            DIR* dir = ::opendir(resolved.empty() ? "." : resolved.c_str());
            if (!dir) return std::nullopt;
            exact.clear();
            while (const dirent* entry = ::readdir(dir)) {
                const std::string candidate = Join(resolved, entry->d_name);
                if (SameNameIgnoringCase(component, entry->d_name) && IsDirectory(candidate)) {
                    exact = candidate;
                    break;
                }
            }
            ::closedir(dir);
            if (exact.empty()) return std::nullopt;
        }
        resolved = exact;
    }
    return resolved;
}

} // namespace

struct FileSearch::State {
    DIR* dir = nullptr;
    std::string folder;  // as opened; empty for the current directory
    std::optional<WildcardPattern> pattern; // the last component of the pattern
    ~State() {
        if (dir) ::closedir(dir);
    }
};

FileSearch::FileSearch(std::unique_ptr<State> state) : state_(std::move(state)) {}
FileSearch::FileSearch(FileSearch&&) noexcept = default;
FileSearch& FileSearch::operator=(FileSearch&&) noexcept = default;
FileSearch::~FileSearch() = default;

std::optional<FileSearch> FileSearch::Start(const std::string& pattern) {
    std::string path = pattern;
    for (char& c : path)
        if (c == '\\') c = '/';
    const std::size_t slash = path.rfind('/');
    auto state = std::make_unique<State>();
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) return std::nullopt;
    state->pattern.emplace(name);
    const std::string folder = slash == std::string::npos ? "" : slash == 0 ? "/" : path.substr(0, slash);
    const auto resolved = ResolveFolder(folder);
    if (!resolved) return std::nullopt;
    state->folder = *resolved;
    state->dir = ::opendir(state->folder.empty() ? "." : state->folder.c_str());
    if (!state->dir) return std::nullopt;
    return FileSearch(std::move(state));
}

std::optional<FoundEntry> FileSearch::Next() {
    while (const dirent* entry = ::readdir(state_->dir)) {
        if (!state_->pattern->Matches(entry->d_name)) continue;
        FoundEntry found{entry->d_name, entry->d_type == DT_DIR};
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            // A link counts as what it points to; one that points nowhere is no entry at all.
            struct stat info {};
            if (::stat(Join(state_->folder, found.name).c_str(), &info) != 0) continue;
            found.isDirectory = S_ISDIR(info.st_mode);
        }
        return found;
    }
    return std::nullopt;
}

std::string FileSearch::PathOf(const FoundEntry& entry) const { return Join(state_->folder, entry.name); }

} // namespace lintara
