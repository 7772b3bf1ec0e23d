// The lookup's name matcher: the input is a package name (code page 1252, as the package holds
// it), a zero byte, and the name of a folder entry (bytes as the file system gives them).
//
// The pattern is built as the lookup builds it, the package name and ".*", and searched for by
// its last component. The matcher's answer must be the one that a plain matcher gives, which
// tries every way of placing the "*" wildcards; and the pattern must match itself.
#include "fuzz/scratch.h"
#include "platform/code_page.h"
#include "platform/wildcard_match.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using lintara::fuzz::Fail;

constexpr char32_t kByteOfItsOwn = 0x110000;

char32_t Folded(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
    if (c == 0x160 || c == 0x152 || c == 0x17D) return c + 1; // S and Z with caron, OE
    if (c == 0x178) return 0xFF;                              // Y with diaeresis
    return c;
}

// The characters of a UTF-8 name, folded; a byte that starts no valid, shortest sequence is a
// character of its own that only equals itself.
std::vector<char32_t> Characters(std::string_view name) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < name.size();) {
        const auto b = static_cast<unsigned char>(name[i]);
        std::size_t length = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
        char32_t c = length == 1 ? b : length == 2 ? b & 0x1F : length == 3 ? b & 0x0F : b & 0x07;
        if (length > 1 && i + length > name.size()) length = 0;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(name[i + k]);
            if ((next & 0xC0) != 0x80) length = 0;
            c = c << 6 | (next & 0x3F);
        }
        const bool shortest = length < 3 || (length == 3 && c >= 0x800) || (length == 4 && c >= 0x10000);
        if (length == 0 || !shortest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            out.push_back(kByteOfItsOwn + b);
            ++i;
        } else {
            out.push_back(Folded(c));
            i += length;
        }
    }
    return out;
}

// Every placement of the "*" wildcards, by dynamic programming over pattern and name.
bool MatchesEveryWay(const std::vector<char32_t>& pattern, const std::vector<char32_t>& name) {
    std::vector<char> row(name.size() + 1, 0), next(name.size() + 1, 0);
    row[0] = 1; // the empty pattern matches the empty name
    for (const char32_t p : pattern) {
        next.assign(name.size() + 1, 0);
        if (p == '*') {
            next[0] = row[0];
            for (std::size_t j = 1; j <= name.size(); ++j) next[j] = row[j] || next[j - 1];
        } else {
            for (std::size_t j = 1; j <= name.size(); ++j)
                next[j] = row[j - 1] && (p == '?' || p == name[j - 1]);
        }
        row.swap(next);
    }
    return row[name.size()] != 0;
}

bool PlainMatch(std::string_view pattern, std::string_view name) {
    std::vector<char32_t> p = Characters(pattern);
    const std::vector<char32_t> n = Characters(name);
    if (MatchesEveryWay(p, n)) return true;
    // "abc.*" also matches "abc".
    if (p.size() >= 2 && p[p.size() - 2] == '.' && p.back() == '*') {
        p.resize(p.size() - 2);
        return MatchesEveryWay(p, n);
    }
    return false;
}

// The last component of the pattern, which the folder search matches entry names against.
std::string_view LastComponent(std::string_view pattern) {
    const std::size_t separator = pattern.find_last_of("/\\");
    return separator == std::string_view::npos ? pattern : pattern.substr(separator + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const lintara::fuzz::SplitInput input = lintara::fuzz::SplitAtZero(data, size);
    const std::string built = lintara::AnsiToFileName(input.first) + ".*";
    const std::string_view pattern = LastComponent(built);
    const lintara::WildcardPattern compiled(pattern);

    const std::string_view entry = input.split ? input.second : input.first;
    if (compiled.Matches(entry) != PlainMatch(pattern, entry)) Fail("the matcher and the plain matcher disagree");
    if (lintara::WildcardMatch(pattern, entry) != compiled.Matches(entry)) Fail("a one-off match differs");
    if (!compiled.Matches(pattern)) Fail("the pattern does not match itself");
    // Letter case does not count: the package name's own spelling in UTF-8 matches as a file.
    std::string lower(input.first);
    lintara::LowerCaseAnsi(lower);
    const std::string lowerFile = lintara::AnsiToFileName(lower);
    if (lowerFile.find_first_of("/\\") == std::string::npos && !compiled.Matches(lowerFile + ".u"))
        Fail("the package's lower-cased file name does not match");
    return 0;
}
