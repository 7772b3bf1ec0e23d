// The whole checker run in this process: arguments in, report, messages and exit status out.
#include "cli/display_text.h"
#include "cli/run.h"

#include "tests/analysis/package_writer.h"
#include "tests/cli/cli_test_support.h"
#include "tests/cli/json_reader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace lintara::clitest {
namespace {

constexpr const char* kTryHelp = "Try 'lintara-check --help' for more information.\n";

class RunTest : public ::testing::Test {
protected:
    fixtures::TempTree tree;
    const std::string ut = tree.AddInstall("ut").string();
    const std::string core = AddPackage(tree, "ut/System/Core.u", {});
    const std::string rocks = AddPackage(tree, "ut/Textures/Rocks.utx", {"Core"});
    // Imports core, engine (which the install lacks) and rocks, in another order and case.
    const std::string map = AddPackage(tree, "maps/Map.ut2", {"Rocks", "Core", "ENGINE", "core"});
    const std::string full = AddPackage(tree, "maps/Full.ut2", {"Core", "Rocks"});
};

TEST_F(RunTest, TextTable) {
    const RunResult r = RunChecker({"--ut-dir", ut, map});
    EXPECT_EQ(r.out,
              "FileName  Status\n"
              "core      System\n"
              "engine    Missing\n"
              "rocks     Textures\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);
}

TEST_F(RunTest, TsvLines) {
    const RunResult r = RunChecker({"--format", "tsv", "--ut-dir", ut, map});
    EXPECT_EQ(r.out, "core\tSystem\nengine\tMissing\nrocks\tTextures\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);
}

TEST_F(RunTest, JsonArray) {
    const RunResult r = RunChecker({"--format=json", "--ut-dir=" + ut, map});
    EXPECT_EQ(r.out,
              "[\n"
              "  {\n"
              "    \"package\": " + cli::JsonString(map) + ",\n"
              "    \"dependencies\": [\n"
              "      {\"name\": \"core\", \"status\": \"System\"},\n"
              "      {\"name\": \"engine\", \"status\": \"Missing\"},\n"
              "      {\"name\": \"rocks\", \"status\": \"Textures\"}\n"
              "    ],\n"
              "    \"error\": null\n"
              "  }\n"
              "]\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);
}

TEST_F(RunTest, NothingMissingExitsZero) {
    const std::string noImports = AddPackage(tree, "maps/Empty.ut2", {}); // counts of 0: no error
    for (const char* format : {"text", "tsv", "json"}) {
        const RunResult r = RunChecker({"--format", format, "--ut-dir", ut, full, noImports});
        SCOPED_TRACE(format);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.status, 0);
    }
    EXPECT_EQ(RunChecker({"--ut-dir", ut, noImports}).out, "FileName  Status\n");
}

TEST_F(RunTest, MissingOnlyFiltersRowsButNotTheExitStatus) {
    RunResult r = RunChecker({"--missing-only", "--ut-dir", ut, map});
    EXPECT_EQ(r.out, "FileName  Status\nengine    Missing\n");
    EXPECT_EQ(r.status, 1);

    r = RunChecker({"--missing-only", "--format", "tsv", "--ut-dir", ut, map, full});
    EXPECT_EQ(r.out, map + "\tengine\tMissing\n");
    EXPECT_EQ(r.status, 1);

    r = RunChecker({"--missing-only", "--ut-dir", ut, full});
    EXPECT_EQ(r.out, "FileName  Status\n");
    EXPECT_EQ(r.status, 0);
}

TEST_F(RunTest, SeveralPackagesInTheOrderGiven) {
    RunResult r = RunChecker({"--ut-dir", ut, full, map});
    EXPECT_EQ(r.out, full + ":\n"
                            "FileName  Status\n"
                            "core      System\n"
                            "rocks     Textures\n"
                            "\n" +
                         map + ":\n"
                               "FileName  Status\n"
                               "core      System\n"
                               "engine    Missing\n"
                               "rocks     Textures\n");
    EXPECT_EQ(r.status, 1);

    r = RunChecker({"--format", "tsv", "--ut-dir", ut, full, map});
    EXPECT_EQ(r.out, full + "\tcore\tSystem\n" + full + "\trocks\tTextures\n" + map + "\tcore\tSystem\n" + map +
                         "\tengine\tMissing\n" + map + "\trocks\tTextures\n");

    r = RunChecker({"--format", "json", "--ut-dir", ut, full, map, full});
    const auto value = testjson::Parse(r.out);
    ASSERT_TRUE(value.has_value()) << r.out;
    ASSERT_EQ(value->array.size(), 3u);
    EXPECT_EQ(value->array[0].Find("package")->string, full);
    EXPECT_EQ(value->array[1].Find("package")->string, map);
    EXPECT_EQ(value->array[2].Find("package")->string, full);
    EXPECT_EQ(value->array[1].Find("dependencies")->array.size(), 3u);
}

TEST_F(RunTest, InputsThatCannotBeCheckedGoToStandardErrorAndTheOthersStillPrint) {
    const std::string absent = (tree / "maps/Absent.ut2").string();
    const std::string folder = tree.AddFolder("maps/Folder.ut2").string();
    const std::string shortFile = tree.AddFile("maps/Short.ut2", "\xC1\x83\x2A\x9E").string();
    const std::string text = tree.AddFile("maps/Notes.txt", std::string(64, 'x')).string();
    fixtures::PackageWriter seekFails;
    seekFails.AddPackageImport("Core");
    seekFails.nameOffset = 0x80000000;
    const std::string seek = seekFails.WriteTo(tree / "maps/Seek.ut2").string();
    const std::vector<std::string> inputs = {map, absent, folder, shortFile, text, seek, full};
    const std::string expectedErr =
        "lintara-check: " + absent + ": cannot open: " + NoSuchFileText() + "\n"
        "lintara-check: " + folder + ": cannot open: " + IsAFolderText() + "\n"
        "lintara-check: " + shortFile + ": not a package: shorter than the 36-byte header\n"
        "lintara-check: " + text + ": not a package: wrong tag\n"
        "lintara-check: " + seek + ": seek failed: " + SeekRefusedText() + "\n";

    std::vector<std::string> arguments = {"--ut-dir", ut};
    arguments.insert(arguments.end(), inputs.begin(), inputs.end());
    RunResult r = RunChecker(arguments);
    EXPECT_EQ(r.err, expectedErr);
    EXPECT_EQ(r.out, map + ":\n"
                           "FileName  Status\n"
                           "core      System\n"
                           "engine    Missing\n"
                           "rocks     Textures\n"
                           "\n" +
                         full + ":\n"
                                "FileName  Status\n"
                                "core      System\n"
                                "rocks     Textures\n");
    EXPECT_EQ(r.status, 2); // wins over the missing engine

    arguments.insert(arguments.begin(), "--format=json");
    r = RunChecker(arguments);
    EXPECT_EQ(r.err, expectedErr);
    EXPECT_EQ(r.status, 2);
    std::string error;
    const auto value = testjson::Parse(r.out, &error);
    ASSERT_TRUE(value.has_value()) << error;
    ASSERT_EQ(value->array.size(), inputs.size());
    const std::optional<std::string> errors[] = {std::nullopt,
                            "cannot open: " + NoSuchFileText(),
                            "cannot open: " + IsAFolderText(),
                            "not a package: shorter than the 36-byte header",
                            "not a package: wrong tag",
                            "seek failed: " + SeekRefusedText(),
                            std::nullopt};
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const testjson::Value& element = value->array[i];
        EXPECT_EQ(element.Find("package")->string, inputs[i]);
        if (errors[i]) {
            EXPECT_EQ(element.Find("error")->string, *errors[i]);
            EXPECT_TRUE(element.Find("dependencies")->array.empty());
        } else {
            EXPECT_EQ(element.Find("error")->kind, testjson::Value::Kind::Null);
        }
    }

    // Without anything missing in the others, an unreadable input still gives 2.
    r = RunChecker({"--format", "tsv", "--ut-dir", ut, full, absent});
    EXPECT_EQ(r.out, full + "\tcore\tSystem\n" + full + "\trocks\tTextures\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(RunChecker({"--ut-dir", ut, absent}).status, 2);
}

TEST_F(RunTest, RecursiveClosureInEachFormat) {
    // engine <-> xgame is a cycle; rocks needs core too, but engine needed it first.
    AddPackage(tree, "ut/System/Engine.u", {"Core", "XGame"});
    AddPackage(tree, "ut/System/XGame.u", {"Engine", "UnrealGame", "Rocks"});
    const std::string root = AddPackage(tree, "maps/Root.ut2", {"Rocks", "Engine"});

    RunResult r = RunChecker({"--recursive", "--ut-dir", ut, root});
    EXPECT_EQ(r.out,
              "FileName    Status    NeededBy\n"
              "engine      System    " + root + "\n"
              "rocks       Textures  " + root + "\n"
              "core        System    engine\n"
              "xgame       System    engine\n"
              "unrealgame  Missing   xgame\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);

    r = RunChecker({"--recursive", "--format", "tsv", "--ut-dir", ut, root});
    EXPECT_EQ(r.out,
              "engine\tSystem\t\n"
              "rocks\tTextures\t\n"
              "core\tSystem\tengine\n"
              "xgame\tSystem\tengine\n"
              "unrealgame\tMissing\txgame\n");

    r = RunChecker({"--recursive", "--format", "json", "--missing-only", "--ut-dir", ut, root});
    EXPECT_EQ(r.out,
              "[\n"
              "  {\n"
              "    \"package\": " + cli::JsonString(root) + ",\n"
              "    \"dependencies\": [\n"
              "      {\"name\": \"unrealgame\", \"status\": \"Missing\", \"needed_by\": \"xgame\"}\n"
              "    ],\n"
              "    \"error\": null\n"
              "  }\n"
              "]\n");
    EXPECT_EQ(r.status, 1);

    // Once the install has it, nothing is missing in the whole closure.
    AddPackage(tree, "ut/System/UnrealGame.u", {"Core"});
    EXPECT_EQ(RunChecker({"--recursive", "--ut-dir", ut, root}).status, 0);
}

TEST_F(RunTest, RecursiveDependencyThatCannotBeReadIsReportedAndGivesTwo) {
    tree.AddFile("ut/System/Engine.int", "[Public]\nObject=(Name=Engine.GameEngine,Class=Class)\n"); // the only engine.* file: no package
    const std::string root = AddPackage(tree, "maps/Root.ut2", {"Engine", "Rocks"});
    const RunResult r = RunChecker({"--recursive", "--format", "tsv", "--ut-dir", ut, root});
    EXPECT_EQ(r.out, "engine\tSystem\t\nrocks\tTextures\t\ncore\tSystem\trocks\n");
    EXPECT_EQ(r.err, "lintara-check: " + root + ": cannot follow engine: " + Below(ut, "/System/Engine.int") +
                         ": not a package: wrong tag\n");
    EXPECT_EQ(r.status, 2);
}

TEST_F(RunTest, NamesConvertedFromCodePage1252) {
    // 0xC4 is upper-case A with diaeresis, lower-cased to 0xE4; 0x81 is undefined in 1252.
    const std::string odd = AddPackage(tree, "maps/Odd.ut2", {"\xC4rgerlich", "X\x81Y", "Tab\tName"});
    RunResult r = RunChecker({"--ut-dir", ut, odd});
    EXPECT_EQ(r.out,
              "FileName   Status\n"
              "tab\\tname  Missing\n"
              "x\\x81y     Missing\n"
              "\xC3\xA4rgerlich  Missing\n");

    r = RunChecker({"--format", "tsv", "--ut-dir", ut, odd});
    EXPECT_EQ(r.out, "tab\\tname\tMissing\nx\\x81y\tMissing\n\xC3\xA4rgerlich\tMissing\n");

    r = RunChecker({"--format", "json", "--ut-dir", ut, odd});
    EXPECT_NE(r.out.find("{\"name\": \"tab\\tname\", \"status\": \"Missing\"},\n"
                         "      {\"name\": \"x\\u0081y\", \"status\": \"Missing\"},\n"
                         "      {\"name\": \"\xC3\xA4rgerlich\", \"status\": \"Missing\"}\n"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(testjson::Parse(r.out).has_value());
}

TEST_F(RunTest, FoundUnderTheName1252GivesOnDisk) {
    // The file name on disk is UTF-8; the package name is code page 1252.
    AddPackage(tree, "ut/Sounds/\xC3\x84rger.uax", {});
    const std::string needs = AddPackage(tree, "maps/Needs.ut2", {"\xC4rger"});
    EXPECT_EQ(RunChecker({"--format", "tsv", "--ut-dir", ut, needs}).out, "\xC3\xA4rger\tSounds\n");
}

TEST_F(RunTest, ReportThatCannotBeWrittenGivesTwo) {
    std::ostringstream err;
    std::ostream broken(nullptr); // every write fails
    EXPECT_EQ(cli::Run({"--ut-dir", ut, full}, broken, err), 2);
    EXPECT_EQ(err.str(), "lintara-check: cannot write the report to standard output\n");
}

TEST(Run, UsageErrors) {
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{}, "no package given"},
        {{"--ut-dir", "/ut"}, "no package given"},
        {{"--format", "xml", "--ut-dir", "/ut", "a.u"}, "unknown format 'xml' (use text, tsv or json)"},
        {{"--nope", "a.u"}, "unknown option '--nope'"},
        {{"a.u", "--ut-dir"}, "option '--ut-dir' needs a value"},
        {{"--bad\nline", "a.u"}, "unknown option '--bad\\nline'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const RunResult r = RunChecker(c.arguments);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "lintara-check: " + c.message + "\n" + kTryHelp);
    }
}

TEST(Run, HelpGoesToStandardOutput) {
    const RunResult r = RunChecker({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("Usage: lintara-check", 0), 0u);
}

} // namespace
} // namespace lintara::clitest
