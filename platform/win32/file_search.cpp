#include "platform/file_search.h"

#include <windows.h>

namespace lintara {

struct FileSearch::State {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::string folder;       // the pattern up to its last separator, which it keeps
    WIN32_FIND_DATAA pending{}; // the entry that FindFirstFileA gave, not yet handed out
    bool hasPending = false;
    ~State() {
        if (handle != INVALID_HANDLE_VALUE) ::FindClose(handle);
    }
};

FileSearch::FileSearch(std::unique_ptr<State> state) : state_(std::move(state)) {}
FileSearch::FileSearch(FileSearch&&) noexcept = default;
FileSearch& FileSearch::operator=(FileSearch&&) noexcept = default;
FileSearch::~FileSearch() = default;

std::optional<FileSearch> FileSearch::Start(const std::string& pattern) {
    if (pattern.empty()) return std::nullopt;
    auto state = std::make_unique<State>();
    state->handle = ::FindFirstFileA(pattern.c_str(), &state->pending);
    if (state->handle == INVALID_HANDLE_VALUE) return std::nullopt;
    state->hasPending = true;
    const std::size_t separator = pattern.find_last_of("\\/");
    if (separator != std::string::npos) state->folder = pattern.substr(0, separator + 1);
    return FileSearch(std::move(state));
}

std::optional<FoundEntry> FileSearch::Next() {
    WIN32_FIND_DATAA data{};
    if (state_->hasPending) {
        data = state_->pending;
        state_->hasPending = false;
    } else if (!::FindNextFileA(state_->handle, &data)) {
        return std::nullopt;
    }
    return FoundEntry{data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
}

std::string FileSearch::PathOf(const FoundEntry& entry) const { return state_->folder + entry.name; }

} // namespace lintara
