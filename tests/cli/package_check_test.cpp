#include "cli/package_check.h"

#include "tests/analysis/package_writer.h"
#include "tests/cli/cli_test_support.h"

#include <gtest/gtest.h>

namespace lintara::cli {

void PrintTo(const DependencyRow& row, std::ostream* os) {
    *os << "{" << ::testing::PrintToString(row.name) << ", " << row.status << ", "
        << ::testing::PrintToString(row.neededBy) << "}";
}
bool operator==(const DependencyRow& a, const DependencyRow& b) {
    return a.name == b.name && a.status == b.status && a.neededBy == b.neededBy;
}

namespace {

using clitest::AddPackage;
using clitest::Below;
using clitest::IsAFolderText;
using clitest::NoSuchFileText;
using clitest::SeekRefusedText;
using Rows = std::vector<DependencyRow>;

class PackageCheckTest : public ::testing::Test {
protected:
    fixtures::TempTree tree;
    const std::string ut = tree.AddInstall("ut").string();
};

TEST_F(PackageCheckTest, DirectDependenciesInSetOrderWithTheirStatus) {
    AddPackage(tree, "ut/System/Core.u", {});
    AddPackage(tree, "ut/System/Engine.u", {"Core"}); // not followed without `recursive`
    AddPackage(tree, "ut/Music/Beat.umx", {});
    const std::string map = AddPackage(tree, "Map.ut2", {"Engine", "beat", "Zzz", "CORE"});
    const PackageReport report = CheckPackage(map, ut, false);
    EXPECT_TRUE(report.read);
    EXPECT_TRUE(report.errors.empty());
    EXPECT_EQ(report.rows, (Rows{{"beat", "Music", ""}, {"core", "System", ""}, {"engine", "System", ""},
                                 {"zzz", "Missing", ""}}));
    EXPECT_TRUE(report.HasMissing());
}

TEST_F(PackageCheckTest, RecursiveClosureIsBreadthFirstEachOnceAndCyclesEnd) {
    // The root lies in the install itself, and xgame needs it back: that cycle ends too.
    const std::string root = AddPackage(tree, "ut/Maps/Root.ut2", {"XGame", "Engine"});
    AddPackage(tree, "ut/System/Engine.u", {"Core", "Engine"}); // needs itself
    AddPackage(tree, "ut/System/XGame.u", {"Engine", "Root", "Fonts", "Core"});
    AddPackage(tree, "ut/System/Core.u", {});
    AddPackage(tree, "ut/Textures/Fonts.utx", {"Core", "GUI"});
    const PackageReport report = CheckPackage(root, ut, true);
    EXPECT_TRUE(report.errors.empty());
    EXPECT_EQ(report.rows, (Rows{{"engine", "System", ""},
                                 {"xgame", "System", ""},
                                 {"core", "System", "engine"}, // xgame needs it too, but engine came first
                                 {"fonts", "Textures", "xgame"},
                                 {"root", "Maps", "xgame"},
                                 {"gui", "Missing", "fonts"}}));
}

TEST_F(PackageCheckTest, RecursiveWithoutMissingDependencies) {
    AddPackage(tree, "ut/System/Core.u", {});
    AddPackage(tree, "ut/System/Engine.u", {"Core"});
    const PackageReport report = CheckPackage(AddPackage(tree, "M.ut2", {"Engine"}), ut, true);
    EXPECT_EQ(report.rows, (Rows{{"engine", "System", ""}, {"core", "System", "engine"}}));
    EXPECT_FALSE(report.HasMissing());
}

TEST_F(PackageCheckTest, InstalledPackageIsFoundBesideFilesOfTheSameName) {
    // A real System folder holds Core.int, Core.dll and others beside Core.u; whichever one the
    // lookup met first, the package among them is read.
    for (const char* other : {"ut/System/XGame.int", "ut/System/XGame.dll", "ut/System/XGame.det"})
        tree.AddFile(other, "not a package, but long enough to hold a header......");
    AddPackage(tree, "ut/System/XGame.u", {"Engine"});
    DependencySet dependencies;
    std::string whyNot;
    const PackageLocation lookedUp{"System", (tree / "ut/System/XGame.int").string()};
    ASSERT_TRUE(ReadInstalledDependencies(ut, "xgame", lookedUp, dependencies, &whyNot)) << whyNot;
    EXPECT_EQ(dependencies, DependencySet{"engine"});

    const PackageReport report = CheckPackage(AddPackage(tree, "M.ut2", {"XGame"}), ut, true);
    EXPECT_TRUE(report.errors.empty());
    EXPECT_EQ(report.rows, (Rows{{"xgame", "System", ""}, {"engine", "Missing", "xgame"}}));
}

TEST_F(PackageCheckTest, DependencyFileThatCannotBeReadIsRecordedAndTheRestFollowed) {
    tree.AddFile("ut/System/Broken.int", "[Public]\n");
    fixtures::PackageWriter seekFails;
    seekFails.AddPackageImport("Hidden");
    seekFails.importOffset = 0x80000000;
    seekFails.WriteTo(tree / "ut/Textures/Faulty.utx");
    AddPackage(tree, "ut/System/Good.u", {"Core"});
    const PackageReport report = CheckPackage(AddPackage(tree, "M.ut2", {"Broken", "Faulty", "Good"}), ut, true);
    EXPECT_TRUE(report.read);
    EXPECT_EQ(report.rows, (Rows{{"broken", "System", ""}, {"faulty", "Textures", ""}, {"good", "System", ""},
                                 {"core", "Missing", "good"}}));
    EXPECT_EQ(report.errors,
              (std::vector<std::string>{"cannot follow broken: " + Below(ut, "/System/Broken.int") + ": not a package: shorter than the 36-byte header",
                                        "cannot follow faulty: " + Below(ut, "/Textures/Faulty.utx") + ": seek failed: " + SeekRefusedText()}));
}

TEST_F(PackageCheckTest, InputsThatAreNoPackageOrCannotBeRead) {
    fixtures::PackageWriter seekFails;
    seekFails.AddPackageImport("Core");
    seekFails.nameOffset = 0x80000000;
    fixtures::PackageWriter bigEndianTag;
    bigEndianTag.tag = 0xC1832A9E;
    bigEndianTag.AddPackageImport("Core");
    struct Case {
        std::string path;
        std::string error;
    };
    const Case cases[] = {
        {(tree / "Absent.u").string(), "cannot open: " + NoSuchFileText()},
        {tree.AddFolder("Folder.u").string(), "cannot open: " + IsAFolderText()},
        {"", "cannot open: " + NoSuchFileText()},
        {tree.AddFile("Short.u", std::string(35, '\0')).string(), "not a package: shorter than the 36-byte header"},
        {bigEndianTag.WriteTo(tree / "Tag.u").string(), "not a package: wrong tag"},
        {seekFails.WriteTo(tree / "Seek.u").string(), "seek failed: " + SeekRefusedText()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        for (bool recursive : {false, true}) {
            const PackageReport report = CheckPackage(c.path, ut, recursive);
            EXPECT_EQ(report.path, c.path);
            EXPECT_FALSE(report.read);
            EXPECT_TRUE(report.rows.empty());
            EXPECT_EQ(report.errors, std::vector<std::string>{c.error});
        }
    }
}

TEST_F(PackageCheckTest, ZeroCountsAreAPackageWithoutDependencies) {
    fixtures::PackageWriter names; // names but no imports
    names.AddName("Core");
    fixtures::PackageWriter imports; // an import count but no names
    imports.AddRawImports(std::string(4, '\0'));
    for (const std::string& path : {names.WriteTo(tree / "A.u").string(), imports.WriteTo(tree / "B.u").string()}) {
        const PackageReport report = CheckPackage(path, ut, true);
        EXPECT_TRUE(report.read);
        EXPECT_TRUE(report.rows.empty());
        EXPECT_TRUE(report.errors.empty());
        EXPECT_FALSE(report.HasMissing());
    }
}

} // namespace
} // namespace lintara::cli
