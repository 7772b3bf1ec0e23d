#pragma once

#include <memory>
#include <optional>
#include <string>

namespace lintara {

// One entry that a file search yields.
struct FoundEntry {
    std::string name;      // the entry's name, without its folder
    bool isDirectory = false;
};

// A search of one folder for the entries whose names match the last component of a pattern, as
// the Windows file search does it: letter case ignored, "*" any run of characters, "?" any one,
// and a trailing ".*" that also matches a name without extension. Backslash and slash both
// separate components. Closed when destroyed.
class FileSearch {
public:
    // Starts the search. Empty when it cannot be started: the folder is absent, not accessible
    // or the pattern is malformed.
    static std::optional<FileSearch> Start(const std::string& pattern);

    FileSearch(FileSearch&&) noexcept;
    FileSearch& operator=(FileSearch&&) noexcept;
    ~FileSearch();

    // The next matching entry, in the order the file system gives them; empty at the end.
    std::optional<FoundEntry> Next();

    // The path of an entry that this search yielded, as the platform's file functions take it.
    std::string PathOf(const FoundEntry& entry) const;

private:
    struct State;
    explicit FileSearch(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

} // namespace lintara
