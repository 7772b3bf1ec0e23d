#include "cli/report.h"

#include "tests/cli/json_reader.h"

#include <gtest/gtest.h>

namespace lintara::cli {
namespace {

PackageReport Direct() {
    PackageReport report;
    report.path = "maps/a.ut2";
    report.read = true;
    report.rows = {{"core", "System", ""}, {"engine", "Missing", ""}, {"rocks", "Textures", ""}};
    return report;
}

PackageReport Closure() {
    PackageReport report;
    report.path = "a.ut2";
    report.read = true;
    report.rows = {{"engine", "System", ""},     {"rocks", "Textures", ""},       {"core", "System", "engine"},
                   {"xgame", "System", "engine"}, {"unrealgame", "Missing", "xgame"}};
    return report;
}

TEST(FormatTextTable, OnePackage) {
    EXPECT_EQ(FormatTextTable(Direct(), {}),
              "FileName  Status\n"
              "core      System\n"
              "engine    Missing\n"
              "rocks     Textures\n");
}

TEST(FormatTextTable, HeadingLineWithSeveralPackages) {
    ReportStyle style;
    style.severalPackages = true;
    EXPECT_EQ(FormatTextTable(Direct(), style),
              "maps/a.ut2:\n"
              "FileName  Status\n"
              "core      System\n"
              "engine    Missing\n"
              "rocks     Textures\n");
}

TEST(FormatTextTable, MissingOnlyKeepsExactlyMissing) {
    PackageReport report = Direct();
    report.rows.push_back({"stone", "missing", ""}); // not the status word: never produced, not kept
    ReportStyle style;
    style.missingOnly = true;
    EXPECT_EQ(FormatTextTable(report, style),
              "FileName  Status\n"
              "engine    Missing\n");
}

TEST(FormatTextTable, NoRowsGivesTheHeadingsAlone) {
    PackageReport report;
    report.path = "empty.utx";
    report.read = true;
    EXPECT_EQ(FormatTextTable(report, {}), "FileName  Status\n");
}

TEST(FormatTextTable, RecursiveAddsNeededByWithThePathForTheOwnDependencies) {
    ReportStyle style;
    style.recursive = true;
    EXPECT_EQ(FormatTextTable(Closure(), style),
              "FileName    Status    NeededBy\n"
              "engine      System    a.ut2\n"
              "rocks       Textures  a.ut2\n"
              "core        System    engine\n"
              "xgame       System    engine\n"
              "unrealgame  Missing   xgame\n");
}

TEST(FormatTextTable, NamesAreShownAsUtf8AndEscapedWithoutBreakingTheColumns) {
    PackageReport report;
    report.path = "dir\nname/p\\q.u"; // a path with a newline and a backslash
    report.read = true;
    report.rows = {{"tab\tname", "Missing", ""}, {"x\x81y", "System", ""}, {"\xE4rgerlich", "Maps", ""}};
    ReportStyle style;
    style.severalPackages = true;
#ifdef _WIN32
    const std::string shownPath = "dir\\nname/p\\q.u:\n"; // the backslash separates folders on Windows
#else
    const std::string shownPath = "dir\\nname/p\\\\q.u:\n";
#endif
    EXPECT_EQ(FormatTextTable(report, style),
              shownPath +
              "FileName   Status\n"
              "tab\\tname  Missing\n"
              "x\\x81y     System\n"
              "\xC3\xA4rgerlich  Maps\n");
}

TEST(FormatTsvLines, OneAndSeveralPackages) {
    EXPECT_EQ(FormatTsvLines(Direct(), {}), "core\tSystem\nengine\tMissing\nrocks\tTextures\n");
    ReportStyle several;
    several.severalPackages = true;
    EXPECT_EQ(FormatTsvLines(Direct(), several),
              "maps/a.ut2\tcore\tSystem\nmaps/a.ut2\tengine\tMissing\nmaps/a.ut2\trocks\tTextures\n");
    several.missingOnly = true;
    EXPECT_EQ(FormatTsvLines(Direct(), several), "maps/a.ut2\tengine\tMissing\n");
}

TEST(FormatTsvLines, RecursiveAddsNeededByEmptyForTheOwnDependencies) {
    ReportStyle style;
    style.recursive = true;
    EXPECT_EQ(FormatTsvLines(Closure(), style),
              "engine\tSystem\t\n"
              "rocks\tTextures\t\n"
              "core\tSystem\tengine\n"
              "xgame\tSystem\tengine\n"
              "unrealgame\tMissing\txgame\n");
}

TEST(FormatTsvLines, TabsAndNewlinesInNamesAndPathsCannotSplitALine) {
    PackageReport report;
    report.path = "a\tb.u";
    report.read = true;
    report.rows = {{"x\ty\nz", "Missing", "a\tb"}};
    ReportStyle style;
    style.severalPackages = true;
    style.recursive = true;
    EXPECT_EQ(FormatTsvLines(report, style), "a\\tb.u\tx\\ty\\nz\tMissing\ta\\tb\n");
}

TEST(FormatJsonObject, Dependencies) {
    EXPECT_EQ(FormatJsonObject(Direct(), {}),
              "  {\n"
              "    \"package\": \"maps/a.ut2\",\n"
              "    \"dependencies\": [\n"
              "      {\"name\": \"core\", \"status\": \"System\"},\n"
              "      {\"name\": \"engine\", \"status\": \"Missing\"},\n"
              "      {\"name\": \"rocks\", \"status\": \"Textures\"}\n"
              "    ],\n"
              "    \"error\": null\n"
              "  }");
}

TEST(FormatJsonObject, MissingOnlyAndNoneLeft) {
    ReportStyle style;
    style.missingOnly = true;
    PackageReport report = Direct();
    report.rows.erase(report.rows.begin() + 1);
    EXPECT_EQ(FormatJsonObject(report, style),
              "  {\n"
              "    \"package\": \"maps/a.ut2\",\n"
              "    \"dependencies\": [],\n"
              "    \"error\": null\n"
              "  }");
}

TEST(FormatJsonObject, ErrorsAreJoined) {
    PackageReport report;
    report.path = "bad\x81.u"; // not UTF-8: read as code page 1252
    report.errors = {"not a package: wrong tag"};
    EXPECT_EQ(FormatJsonObject(report, {}),
              "  {\n"
              "    \"package\": \"bad\\u0081.u\",\n"
              "    \"dependencies\": [],\n"
              "    \"error\": \"not a package: wrong tag\"\n"
              "  }");

    PackageReport partly = Closure();
    partly.errors = {"cannot follow core: /ut/System/Core.u: seek failed: Invalid argument",
                     "cannot follow xgame: /ut/System/XGame.u: not a package: wrong tag"};
    ReportStyle style;
    style.recursive = true;
    EXPECT_EQ(FormatJsonObject(partly, style),
              "  {\n"
              "    \"package\": \"a.ut2\",\n"
              "    \"dependencies\": [\n"
              "      {\"name\": \"engine\", \"status\": \"System\", \"needed_by\": null},\n"
              "      {\"name\": \"rocks\", \"status\": \"Textures\", \"needed_by\": null},\n"
              "      {\"name\": \"core\", \"status\": \"System\", \"needed_by\": \"engine\"},\n"
              "      {\"name\": \"xgame\", \"status\": \"System\", \"needed_by\": \"engine\"},\n"
              "      {\"name\": \"unrealgame\", \"status\": \"Missing\", \"needed_by\": \"xgame\"}\n"
              "    ],\n"
              "    \"error\": \"cannot follow core: /ut/System/Core.u: seek failed: Invalid argument; "
              "cannot follow xgame: /ut/System/XGame.u: not a package: wrong tag\"\n"
              "  }");
}

TEST(FormatJsonObject, NamesFromCodePage1252) {
    PackageReport report;
    report.path = "p.u";
    report.read = true;
    report.rows = {{"x\x81y", "Missing", ""}, {"\xE4rger", "System", "x\x81y"}};
    ReportStyle style;
    style.recursive = true;
    const std::string json = FormatJsonObject(report, style);
    EXPECT_NE(json.find("{\"name\": \"x\\u0081y\", \"status\": \"Missing\", \"needed_by\": null}"), std::string::npos);
    EXPECT_NE(json.find("{\"name\": \"\xC3\xA4rger\", \"status\": \"System\", \"needed_by\": \"x\\u0081y\"}"),
              std::string::npos);
    std::string error;
    const auto value = testjson::Parse(json, &error);
    ASSERT_TRUE(value.has_value()) << error;
    EXPECT_EQ(value->Find("dependencies")->array[1].Find("name")->string, "\xC3\xA4rger");
}

} // namespace
} // namespace lintara::cli
