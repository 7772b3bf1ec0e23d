// The built lintara-check program, run as a user runs it.
#include "tests/cli/cli_test_support.h"
#include "tests/cli/json_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace lintara::clitest {
namespace {

class ProgramTest : public ::testing::Test {
protected:
    fixtures::TempTree tree;
    const std::string ut = tree.AddInstall("ut").string();
    const std::string core = AddPackage(tree, "ut/System/Core.u", {});
    const std::string engine = AddPackage(tree, "ut/System/Engine.u", {"Core"});
    const std::string map = AddPackage(tree, "Map.ut2", {"Engine", "Core", "XGame"});
};

TEST_F(ProgramTest, PrintsTheTableAndExitsOneWhenSomethingIsMissing) {
    const RunResult r = RunProgram(tree, {"--ut-dir", ut, map});
    EXPECT_EQ(r.out,
              "FileName  Status\n"
              "core      System\n"
              "engine    System\n"
              "xgame     Missing\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);
}

TEST_F(ProgramTest, ExitsZeroWhenNothingIsMissing) {
    const RunResult r = RunProgram(tree, {"--recursive", "--format", "tsv", "--ut-dir", ut, engine});
    EXPECT_EQ(r.out, "core\tSystem\t\n");
    EXPECT_EQ(r.status, 0);
}

TEST_F(ProgramTest, UnreadableInputOnStandardErrorOthersStillPrintExitTwo) {
    const std::string absent = (tree / "Absent.u").string();
    const RunResult r = RunProgram(tree, {"--format", "tsv", "--ut-dir", ut, absent, map});
    EXPECT_EQ(r.err, "lintara-check: " + absent + ": cannot open: " + NoSuchFileText() + "\n");
    EXPECT_EQ(r.out, map + "\tcore\tSystem\n" + map + "\tengine\tSystem\n" + map + "\txgame\tMissing\n");
    EXPECT_EQ(r.status, 2);
}

TEST_F(ProgramTest, UsageErrorsAndHelp) {
    RunResult r = RunProgram(tree, {});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "lintara-check: no package given\nTry 'lintara-check --help' for more information.\n");

    r = RunProgram(tree, {"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out.rfind("Usage: lintara-check", 0), 0u);
    EXPECT_NE(r.out.find("Exit status"), std::string::npos);
}

#ifdef _WIN32
// Text output on Windows ends its lines with CR LF, as a console and Notepad show them.
TEST_F(ProgramTest, LinesEndWithCrLfOnWindows) {
    const RunResult r = RunProgram(tree, {"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.rawOut.find("Exit status:\r\n"), std::string::npos);
    for (std::size_t at = r.rawOut.find('\n'); at != std::string::npos; at = r.rawOut.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && r.rawOut[at - 1] == '\r') << "a bare line feed at " << at;
    EXPECT_NE(r.out.find("HKEY_CURRENT_USER\\SOFTWARE\\Korvel\\"), std::string::npos);
    EXPECT_EQ(r.out.find("XDG"), std::string::npos);
}
#endif

TEST_F(ProgramTest, WithoutUtDirAndNoSourceNothingIsCheckedOrSaved) {
    // The user's settings are out of reach (see RunProgram); the machine-wide default is not.
#ifdef _WIN32
    const char* machineDefault = "C:\\UT2004";
#else
    const char* machineDefault = "/usr/local/games/ut2004";
#endif
    if (std::filesystem::exists(machineDefault)) GTEST_SKIP() << "this machine has " << machineDefault;
    const RunResult r = RunProgram(tree, {map});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "lintara-check: no install directory: give the game's folder with --ut-dir DIR\n"
                     "Try 'lintara-check --help' for more information.\n");
    EXPECT_FALSE(std::filesystem::exists(tree / "home"));
    EXPECT_FALSE(std::filesystem::exists(tree / "LintaraSettings.ini"));
}

// Every file of the corpus in one json run: the output is valid JSON, lists each file in the order
// given, and finds the dependency sets that the corpus's README gives.
TEST_F(ProgramTest, CorpusAsJson) {
    const std::filesystem::path corpus = LINTARA_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus))
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 32u);

    std::vector<std::string> arguments = {"--format", "json", "--ut-dir", ut};
    arguments.insert(arguments.end(), files.begin(), files.end());
    const RunResult r = RunProgram(tree, arguments);

    std::string error;
    const auto value = testjson::Parse(r.out, &error);
    ASSERT_TRUE(value.has_value()) << error;
    ASSERT_EQ(value->kind, testjson::Value::Kind::Array);
    ASSERT_EQ(value->array.size(), files.size());

    const std::set<std::string> statusWords = {"System", "Maps",       "Textures", "Sounds",
                                               "StaticMeshes", "Animations", "Music", "Missing"};
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> found; // by path in the corpus
    std::size_t unreadable = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const testjson::Value& element = value->array[i];
        ASSERT_EQ(element.Find("package")->string, files[i]);
        const std::string relative = std::filesystem::path(files[i]).lexically_relative(corpus).generic_string();
        const testjson::Value* fileError = element.Find("error");
        ASSERT_NE(fileError, nullptr);
        if (relative == "README.md" || relative == "MANIFEST.tsv") {
            EXPECT_EQ(fileError->string, "not a package: wrong tag") << relative;
            ++unreadable;
            continue;
        }
        EXPECT_EQ(fileError->kind, testjson::Value::Kind::Null) << relative << ": " << fileError->string;
        auto& rows = found[relative];
        for (const testjson::Value& dependency : element.Find("dependencies")->array) {
            rows.emplace_back(dependency.Find("name")->string, dependency.Find("status")->string);
            EXPECT_TRUE(statusWords.count(rows.back().second)) << rows.back().second;
        }
        EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end())) << relative;
    }
    EXPECT_EQ(unreadable, 2u);
    EXPECT_EQ(r.status, 2); // the two files that are no package
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2);

    using Rows = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(found["100GPing100__ut2004-heal-link-gun/System/HealLinkGun.u"],
              (Rows{{"core", "System"}, {"engine", "System"}, {"unrealgame", "Missing"}, {"xgame", "Missing"},
                    {"xweapons", "Missing"}}));
    EXPECT_EQ(found["GrantSorenson__LumpysInvasionServer-1.0/Maps/ParticleExamples.ut2"],
              (Rows{{"aw-2004particles", "Missing"}, {"engine", "System"}, {"epicparticles", "Missing"},
                    {"onslaught", "Missing"}}));
    EXPECT_EQ(found["adrak0__ut99/Sounds/DMatch.uax"], (Rows{{"core", "System"}, {"engine", "System"}}));
    EXPECT_EQ(found["HeffersonMan__UT2004/Textures/Animated.utx"], Rows{});
    EXPECT_GE(found["supersonic1999__UT2004-Command-And-Conquer/compiled/CommandAndConquer.u"].size(), 50u);
}

} // namespace
} // namespace lintara::clitest
