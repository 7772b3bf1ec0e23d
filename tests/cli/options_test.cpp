#include "cli/options.h"

#include <gtest/gtest.h>

namespace lintara::cli {
namespace {

using Args = std::vector<std::string>;

TEST(ParseArguments, DefaultsWithOnePackage) {
    const ParsedArguments parsed = ParseArguments({"Map.ut2"});
    ASSERT_EQ(parsed.error, "");
    const Options& o = parsed.options;
    EXPECT_FALSE(o.utDir.has_value());
    EXPECT_FALSE(o.missingOnly);
    EXPECT_EQ(o.format, OutputFormat::Text);
    EXPECT_FALSE(o.recursive);
    EXPECT_FALSE(o.help);
    EXPECT_EQ(o.packages, Args{"Map.ut2"});
}

TEST(ParseArguments, EveryOptionInBothSpellings) {
    struct Case {
        Args arguments;
        std::optional<std::string> utDir;
        OutputFormat format;
        Args packages;
    };
    const Case cases[] = {
        {{"--ut-dir", "/games/UT2004", "a.u"}, "/games/UT2004", OutputFormat::Text, {"a.u"}},
        {{"--ut-dir=/games/UT2004", "a.u"}, "/games/UT2004", OutputFormat::Text, {"a.u"}},
        {{"--ut-dir=", "a.u"}, "", OutputFormat::Text, {"a.u"}},          // used as given, even empty
        {{"--ut-dir", "a=b", "a.u"}, "a=b", OutputFormat::Text, {"a.u"}}, // '=' only splits the option itself
        {{"--format", "tsv", "a.u"}, std::nullopt, OutputFormat::Tsv, {"a.u"}},
        {{"--format=json", "a.u"}, std::nullopt, OutputFormat::Json, {"a.u"}},
        {{"--format=json", "--format", "text", "a.u"}, std::nullopt, OutputFormat::Text, {"a.u"}}, // the last wins
        {{"a.u", "--format", "tsv", "b.u"}, std::nullopt, OutputFormat::Tsv, {"a.u", "b.u"}},     // options anywhere
        {{"--", "--format", "-x"}, std::nullopt, OutputFormat::Text, {"--format", "-x"}},          // after --, paths
        {{"-", "b.u"}, std::nullopt, OutputFormat::Text, {"-", "b.u"}},                            // "-" is a path
    };
    for (const Case& c : cases) {
        const ParsedArguments parsed = ParseArguments(c.arguments);
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        EXPECT_EQ(parsed.error, "");
        EXPECT_EQ(parsed.options.utDir, c.utDir);
        EXPECT_EQ(parsed.options.format, c.format);
        EXPECT_EQ(parsed.options.packages, c.packages);
    }
}

TEST(ParseArguments, Flags) {
    const ParsedArguments parsed = ParseArguments({"--recursive", "x.u", "--missing-only"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.options.recursive);
    EXPECT_TRUE(parsed.options.missingOnly);
    EXPECT_EQ(parsed.options.packages, Args{"x.u"});
}

TEST(ParseArguments, UsageErrors) {
    struct Case {
        Args arguments;
        std::string error;
    };
    const Case cases[] = {
        {{}, "no package given"},
        {{"--ut-dir", "/ut"}, "no package given"},
        {{"--", }, "no package given"},
        {{"--frmat=json", "a.u"}, "unknown option '--frmat'"},
        {{"-x", "a.u"}, "unknown option '-x'"},
        {{"a.u", "--ut-dir"}, "option '--ut-dir' needs a value"},
        {{"a.u", "--format"}, "option '--format' needs a value"},
        {{"--format", "xml", "a.u"}, "unknown format 'xml' (use text, tsv or json)"},
        {{"--format=JSON", "a.u"}, "unknown format 'JSON' (use text, tsv or json)"},
        {{"--recursive=yes", "a.u"}, "option '--recursive' takes no value"},
        {{"--missing-only=1", "a.u"}, "option '--missing-only' takes no value"},
        {{"--bad", "--worse", "a.u"}, "unknown option '--bad'"}, // the first error is told
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        EXPECT_EQ(ParseArguments(c.arguments).error, c.error);
    }
}

TEST(ParseArguments, HelpWinsOverErrors) {
    for (const Args& arguments : {Args{"--help"}, Args{"-h"}, Args{"--bad", "--help"}, Args{"--format", "xml", "-h"}}) {
        const ParsedArguments parsed = ParseArguments(arguments);
        SCOPED_TRACE(::testing::PrintToString(arguments));
        EXPECT_EQ(parsed.error, "");
        EXPECT_TRUE(parsed.options.help);
    }
}

TEST(HelpText, ExplainsOptionsFormatsAndExitStatus) {
    const std::string help = HelpText();
    for (const char* part : {"--ut-dir DIR", "--missing-only", "--format", "--recursive", "text", "tsv", "json",
                             "needed_by", "NeededBy", "\\xHH", "\\u0081", "standard error", "Exit status", "0  ",
                             "1  ", "2  "})
        EXPECT_NE(help.find(part), std::string::npos) << part;
}

} // namespace
} // namespace lintara::cli
