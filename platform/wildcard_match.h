#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace lintara {

// A name pattern of the Windows file search, compiled once and matched against many file names:
// letter case is ignored (ASCII and the letters of code page 1252), "*" matches any run of
// characters, "?" any one character, and a pattern that ends in ".*" also matches the name
// without the dot and extension ("abc.*" matches "abc", "abc.utx" and "abc.utx.bak", not "abcd").
//
// Pattern and names are UTF-8; a byte that is not part of a valid UTF-8 sequence stands for
// itself. Matching never backtracks: the runs between two "*" are placed in turn, each at its
// earliest place, by a bit-parallel scan that looks at every character of the name once per run.
class WildcardPattern {
public:
    explicit WildcardPattern(std::string_view pattern);

    bool Matches(std::string_view name) const;

private:
    // One run of the pattern between two "*", with its shift-and tables.
    struct Run {
        std::vector<char32_t> chars; // "?" stands for any character
        std::vector<std::pair<char32_t, std::size_t>> index; // character -> offset in masks, sorted
        std::vector<std::uint64_t> masks;
        std::vector<std::uint64_t> any; // the positions that hold "?"
    };
    struct Alternative {
        std::vector<Run> runs; // one run: no "*" at all
    };
    static Alternative Compile(const std::vector<char32_t>& pattern);
    static bool Matches(const Alternative& alternative, const std::vector<char32_t>& name);

    std::vector<Alternative> alternatives_; // the name matches when one of them does
    mutable std::vector<char32_t> scratch_;
};

// One-off match of a name against a pattern.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Whether two UTF-8 names are the same but for letter case, by the same rules.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

} // namespace lintara
