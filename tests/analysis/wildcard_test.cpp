#include "platform/wildcard_match.h"

#include <gtest/gtest.h>

#include <string>

namespace lintara {
namespace {

struct MatchCase {
    std::string pattern;
    std::string name;
    bool matches;
};

class WildcardTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(WildcardTest, MatchesAsTheWindowsFileSearch) {
    EXPECT_EQ(WildcardMatch(GetParam().pattern, GetParam().name), GetParam().matches)
        << GetParam().pattern << " against " << GetParam().name;
}

std::string Long(std::size_t n, std::size_t at, char c) {
    std::string run;
    for (std::size_t i = 0; i < n; ++i) run += static_cast<char>('a' + i % 23);
    run[at] = c;
    return run;
}

INSTANTIATE_TEST_SUITE_P(
    PackageNames, WildcardTest,
    ::testing::Values(MatchCase{"abc.*", "abc", true}, MatchCase{"abc.*", "abc.utx", true},
                      MatchCase{"abc.*", "ABC.UTX", true}, MatchCase{"abc.*", "Abc.u", true},
                      MatchCase{"abc.*", "abc.utx.bak", true}, MatchCase{"abc.*", "abc.", true},
                      MatchCase{"abc.*", "abc..", true}, MatchCase{"abc.*", "abc2.utx", false},
                      MatchCase{"abc.*", "abc_old.ut2", false}, MatchCase{"abc.*", "abcd", false},
                      MatchCase{"abc.*", "ab", false}, MatchCase{"abc.*", "xabc.utx", false},
                      MatchCase{"abc.*", ".abc", false}, MatchCase{"abc.*", "ab.utx", false},
                      MatchCase{"aw-2004particles.*", "AW-2004Particles.utx", true},
                      MatchCase{"a.b.*", "a.b", true}, MatchCase{"a.b.*", "a.b.c", true},
                      MatchCase{"a.b.*", "aXb", false}, MatchCase{"abc", "ABC", true},
                      MatchCase{"abc", "abc.u", false}));

INSTANTIATE_TEST_SUITE_P(
    Wildcards, WildcardTest,
    ::testing::Values(MatchCase{"*", "anything.at.all", true}, MatchCase{"*.*", "abc", true},
                      MatchCase{"*.*", "a.b", true}, MatchCase{"?", "a", true}, MatchCase{"?", "ab", false},
                      MatchCase{"a?c.*", "abc.u", true}, MatchCase{"a?c.*", "AXC", true},
                      MatchCase{"a?c.*", "ac.u", false}, MatchCase{"a?c.*", "abbc.u", false},
                      MatchCase{"a*c.*", "ac.u", true}, MatchCase{"a*c.*", "abbbc.utx", true},
                      MatchCase{"a*c.*", "abd.u", false}, MatchCase{"abc*", "abcdef", true},
                      MatchCase{"abc*", "abxdef", false}, MatchCase{"*ab*ab*", "abab", true},
                      MatchCase{"*ab*ab*", "aba", false}, MatchCase{"*ab*ab*", "xxabyyabzz", true},
                      MatchCase{"a**b", "ab", true}, MatchCase{"*x", "abx", true}, MatchCase{"*x", "xab", false},
                      MatchCase{"x*y*z", "xyz", true}, MatchCase{"x*y*z", "xzy", false},
                      MatchCase{"*aab", "aaab", true}, MatchCase{"*?b", "b", false}, MatchCase{"*?b", "ab", true},
                      // Runs longer than one 64-bit word of the bit-parallel scan.
                      MatchCase{"*" + Long(70, 66, '?') + "*", "xx" + Long(70, 66, 'Q') + "yy", true},
                      MatchCase{"*" + Long(70, 66, '?') + "*", "xx" + Long(70, 3, 'Q') + "yy", false},
                      MatchCase{"*" + Long(130, 0, '?') + "*.*", "z" + Long(130, 0, 'a') + "a" + Long(130, 0, 'b') + ".u", true},
                      MatchCase{"*" + Long(130, 0, '?') + "*.*", "z" + Long(130, 129, 'a') + ".u", false}));

// Names are UTF-8; letters of code page 1252 match in either case, other bytes only themselves.
INSTANTIATE_TEST_SUITE_P(
    Letters, WildcardTest,
    ::testing::Values(MatchCase{"\xC3\xA4rger.*", "\xC3\x84rger.utx", true},         // ärger, Ärger.utx
                      MatchCase{"\xC3\x84RGER.*", "\xC3\xA4rger.u", true},            // ÄRGER, ärger.u
                      MatchCase{"\xC5\x93uvre.*", "\xC5\x92uvre.u", true},            // œuvre, Œuvre.u
                      MatchCase{"\xC5\xA1.*", "\xC5\xA0.u", true},                    // š, Š.u
                      MatchCase{"\xC5\xBE.*", "\xC5\xBD.u", true},                    // ž, Ž.u
                      MatchCase{"\xC3\xBF.*", "\xC5\xB8.u", true},                    // ÿ, Ÿ.u
                      MatchCase{"\xC3\x9F.*", "SS.u", false},                         // ß is no SS
                      MatchCase{"\xC3\x97.*", "\xC3\xB7.u", false},                   // × is no ÷
                      MatchCase{"?rger.*", "\xC3\x84rger.u", true},                   // one character, two bytes
                      MatchCase{"??rger.*", "\xC3\x84rger.u", false},
                      MatchCase{"\xC4rger.*", "\xC4rger.u", true},                    // a stray byte matches itself
                      MatchCase{"\xC4rger.*", "\xE4rger.u", false},
                      MatchCase{"\xC4rger.*", "\xC3\x84rger.u", false},
                      MatchCase{"?rger.*", "\xC4rger.u", true}));

TEST(WildcardPattern, TheWorstPatternsTakeOneScanPerRun) {
    // A backtracking matcher takes time exponential in the runs here; a placement of each run at
    // its earliest place does not.
    const std::string as(100000, 'a');
    const WildcardPattern pattern("*a*a*a*a*a*b");
    EXPECT_FALSE(pattern.Matches(as));
    EXPECT_TRUE(pattern.Matches(as + "b"));
    EXPECT_FALSE(pattern.Matches("aaaab"));
    EXPECT_TRUE(pattern.Matches("aaaaab"));

    const WildcardPattern question("*?*?*?*?*?*?*?*?*x");
    EXPECT_FALSE(question.Matches(as));
    EXPECT_TRUE(question.Matches(as + "x"));

    const WildcardPattern longRun("*" + std::string(200, 'a') + "b*");
    EXPECT_FALSE(longRun.Matches(as));
    EXPECT_TRUE(longRun.Matches(as + "b"));
}

TEST(WildcardPattern, OnePatternMatchesManyNames) {
    const WildcardPattern pattern("rocks.*");
    const struct {
        const char* name;
        bool matches;
    } names[] = {{"Rocks.utx", true}, {"rocksalt.utx", false}, {"ROCKS", true}, {"rock.utx", false},
                 {"Rocks.usx", true}, {"\xC3\x84rger.utx", false}};
    for (int round = 0; round < 2; ++round)
        for (const auto& n : names) EXPECT_EQ(pattern.Matches(n.name), n.matches) << n.name;
}

TEST(SameNameIgnoringCase, ComparesWholeNamesByTheSameLetters) {
    EXPECT_TRUE(SameNameIgnoringCase("Maps", "maps"));
    EXPECT_TRUE(SameNameIgnoringCase("StaticMeshes", "STATICMESHES"));
    EXPECT_TRUE(SameNameIgnoringCase("\xC3\x84rger", "\xC3\xA4RGER"));
    EXPECT_FALSE(SameNameIgnoringCase("Maps", "Map"));
    EXPECT_FALSE(SameNameIgnoringCase("a?", "ab"));
    EXPECT_FALSE(SameNameIgnoringCase("a*", "abc"));
    EXPECT_FALSE(SameNameIgnoringCase("\xC4", "\xE4"));
}

} // namespace
} // namespace lintara
