#include "platform/wildcard_match.h"

#include <algorithm>
#include <optional>

namespace lintara {

namespace {

constexpr char32_t kInvalidByteBase = 0x110000; // above every code point

char32_t Fold(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    switch (c) {
    case 0x0160: return 0x0161; // S with caron
    case 0x0152: return 0x0153; // OE
    case 0x017D: return 0x017E; // Z with caron
    case 0x0178: return 0x00FF; // Y with diaeresis
    default: return c;
    }
}

// Decodes UTF-8 into case-folded code points. A byte that does not begin a valid, shortest
// sequence becomes a value of its own above every code point, so it only ever equals itself.
void Decode(std::string_view s, std::vector<char32_t>& out) {
    out.clear();
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        if (b0 < 0x80) {
            out.push_back(Fold(b0));
            ++i;
            continue;
        }
        const std::size_t length = (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
        char32_t c = length == 2 ? (b0 & 0x1F) : length == 3 ? (b0 & 0x0F) : (b0 & 0x07);
        bool valid = length != 0 && i + length <= s.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            valid = (b & 0xC0) == 0x80;
            c = (c << 6) | (b & 0x3F);
        }
        if (valid) {
            constexpr char32_t kShortest[5] = {0, 0, 0x80, 0x800, 0x10000};
            valid = c >= kShortest[length] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
        }
        if (valid) {
            out.push_back(Fold(c));
            i += length;
        } else {
            out.push_back(kInvalidByteBase + b0);
            ++i;
        }
    }
}

bool SameAt(const std::vector<char32_t>& run, const char32_t* text) {
    for (std::size_t i = 0; i < run.size(); ++i)
        if (run[i] != '?' && run[i] != text[i]) return false;
    return true;
}

} // namespace

WildcardPattern::WildcardPattern(std::string_view pattern) {
    std::vector<char32_t> p;
    Decode(pattern, p);
    alternatives_.push_back(Compile(p));
    // "abc.*" also finds "abc": the extension wildcard matches no extension at all.
    if (p.size() >= 2 && p[p.size() - 2] == '.' && p.back() == '*') {
        p.resize(p.size() - 2);
        alternatives_.push_back(Compile(p));
    }
}

WildcardPattern::Alternative WildcardPattern::Compile(const std::vector<char32_t>& pattern) {
    Alternative alternative;
    Run run;
    for (std::size_t i = 0; i <= pattern.size(); ++i) {
        if (i < pattern.size() && pattern[i] != '*') {
            run.chars.push_back(pattern[i]);
            continue;
        }
        const std::size_t length = run.chars.size();
        const std::size_t words = (length + 63) / 64;
        run.any.assign(words, 0);
        for (std::size_t j = 0; j < length; ++j)
            if (run.chars[j] == '?') run.any[j / 64] |= std::uint64_t{1} << (j % 64);
        for (std::size_t j = 0; j < length; ++j) {
            const char32_t c = run.chars[j];
            if (c == '?') continue;
            auto it = std::find_if(run.index.begin(), run.index.end(), [&](auto& e) { return e.first == c; });
            if (it == run.index.end()) {
                run.index.emplace_back(c, run.masks.size());
                run.masks.insert(run.masks.end(), run.any.begin(), run.any.end());
                it = run.index.end() - 1;
            }
            run.masks[it->second + j / 64] |= std::uint64_t{1} << (j % 64);
        }
        std::sort(run.index.begin(), run.index.end());
        alternative.runs.push_back(std::move(run));
        run = Run{};
    }
    return alternative;
}

namespace {

// The first place in [from, to) where the run fits, by shift-and: bit j of the state says that
// the last j + 1 characters read match the run's first j + 1.
template <class Run>
std::optional<std::size_t> Find(const Run& run, const std::vector<char32_t>& text, std::size_t from, std::size_t to) {
    const std::size_t length = run.chars.size();
    const std::size_t words = run.any.size();
    std::vector<std::uint64_t> state(words, 0);
    const std::uint64_t last = std::uint64_t{1} << ((length - 1) % 64);
    for (std::size_t t = from; t < to; ++t) {
        const auto it = std::lower_bound(run.index.begin(), run.index.end(), text[t],
                                         [](const auto& entry, char32_t c) { return entry.first < c; });
        const std::uint64_t* mask =
            (it != run.index.end() && it->first == text[t]) ? &run.masks[it->second] : run.any.data();
        std::uint64_t carry = 1;
        for (std::size_t w = 0; w < words; ++w) {
            const std::uint64_t next = state[w] >> 63;
            state[w] = ((state[w] << 1) | carry) & mask[w];
            carry = next;
        }
        if (state[words - 1] & last) return t + 1 - length;
    }
    return std::nullopt;
}

} // namespace

// The first run must start the name and the last must end it; each run between them takes its
// earliest place after the one before. The earliest place never loses a match, so nothing is
// ever tried twice.
bool WildcardPattern::Matches(const Alternative& alternative, const std::vector<char32_t>& name) {
    const auto& runs = alternative.runs;
    if (runs.size() == 1) return name.size() == runs[0].chars.size() && SameAt(runs[0].chars, name.data());

    const auto& first = runs.front().chars;
    const auto& last = runs.back().chars;
    if (first.size() + last.size() > name.size()) return false;
    if (!SameAt(first, name.data()) || !SameAt(last, name.data() + name.size() - last.size())) return false;

    std::size_t from = first.size();
    const std::size_t to = name.size() - last.size();
    for (std::size_t r = 1; r + 1 < runs.size(); ++r) {
        if (runs[r].chars.empty()) continue;
        const auto at = Find(runs[r], name, from, to);
        if (!at) return false;
        from = *at + runs[r].chars.size();
    }
    return true;
}

bool WildcardPattern::Matches(std::string_view name) const {
    Decode(name, scratch_);
    for (const auto& alternative : alternatives_)
        if (Matches(alternative, scratch_)) return true;
    return false;
}

bool WildcardMatch(std::string_view pattern, std::string_view name) { return WildcardPattern(pattern).Matches(name); }

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    std::vector<char32_t> x, y;
    Decode(a, x);
    Decode(b, y);
    return x == y;
}

} // namespace lintara
