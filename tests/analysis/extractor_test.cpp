#include "analysis/dependency_extractor.h"
#include "tests/analysis/package_writer.h"
#include "tests/analysis/temp_tree.h"

#include <gtest/gtest.h>

#include <vector>

namespace lintara {
namespace {

using fixtures::PackageWriter;
using fixtures::TempTree;

NameTable Table(const std::vector<std::string>& texts) {
    NameTable table(static_cast<std::uint32_t>(texts.size()));
    for (const auto& text : texts) table.Append(text, 0);
    return table;
}

// Names: 0 "Package", 1 "Rocks", 2 "Engine", 3 "" (N = 4), and variants for the outer cases.
struct ImportCase {
    const char* what;
    std::vector<std::string> names;
    ImportEntry entry; // class package, class name, outer, object name
    bool counts;
};

class ImportTest : public ::testing::TestWithParam<ImportCase> {};

TEST_P(ImportTest, TellsATopLevelPackageImport) {
    EXPECT_EQ(IsTopLevelPackageImport(GetParam().entry, Table(GetParam().names)), GetParam().counts);
}

const std::vector<std::string> kNames = {"Package", "Rocks", "Engine", ""};
const std::vector<std::string> kEmptyFirst = {"", "Package", "Rocks", "Engine"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportTest,
    ::testing::Values(
        ImportCase{"PackageAtTheTop", kNames, {0, 0, 0, 1}, true},
        ImportCase{"ClassLowerCase", {"package", "Rocks"}, {0, 0, 0, 1}, false},
        ImportCase{"ClassUpperCase", {"PACKAGE", "Rocks"}, {0, 0, 0, 1}, false},
        ImportCase{"ClassPlural", {"Packages", "Rocks"}, {0, 0, 0, 1}, false},
        ImportCase{"ClassWithABlank", {"Package ", "Rocks"}, {0, 0, 0, 1}, false},
        ImportCase{"OtherClass", {"Texture", "Rocks"}, {0, 0, 0, 1}, false},
        ImportCase{"OtherClassAnyOuter", {"Texture", "Rocks", ""}, {0, 0, -3, 1}, false},
        ImportCase{"OuterMinus1NamesANonEmptyName", kNames, {0, 0, -1, 1}, false},
        ImportCase{"OuterMinus1NamesAnEmptyName", kEmptyFirst, {0, 1, -1, 2}, true},
        ImportCase{"OuterMinus3NamesANonEmptyName", kNames, {0, 0, -3, 1}, false},
        ImportCase{"OuterMinus3NamesAnEmptyName", {"Package", "Rocks", "", "Engine"}, {0, 0, -3, 1}, true},
        ImportCase{"OuterMinus4NamesTheEmptyLastName", kNames, {0, 0, -4, 1}, true},
        ImportCase{"OuterMinus5PastTheNameTable", kNames, {0, 0, -5, 1}, true},
        ImportCase{"OuterMostNegative", kNames, {0, 0, INT32_MIN, 1}, true},
        ImportCase{"OuterPositive", kNames, {0, 0, 3, 1}, true},
        ImportCase{"OuterLargestPositive", kNames, {0, 0, INT32_MAX, 1}, true},
        ImportCase{"ClassIndexMinus1", kNames, {0, -1, 0, 1}, false},
        ImportCase{"ClassIndexN", kNames, {0, 4, 0, 1}, false},
        ImportCase{"ClassIndexMostNegative", kNames, {0, INT32_MIN, 0, 1}, false},
        ImportCase{"ObjectIndexN", kNames, {0, 0, 0, 4}, false},
        ImportCase{"ObjectIndexNegative", kNames, {0, 0, 0, -2}, false},
        ImportCase{"ObjectNameEmpty", kNames, {0, 0, 0, 3}, false},
        ImportCase{"ObjectIsPackageItself", kNames, {0, 0, 0, 0}, true},
        ImportCase{"ClassPackageOutOfRange", kNames, {-77, 0, 0, 2}, true},
        ImportCase{"ClassPackageHuge", kNames, {INT32_MAX, 0, 0, 2}, true}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(ImportTest, OuterNamesAnEntryOfTheNameTableNotOfTheImportTable) {
    // Outer -3 points at name 2; import 2 is itself a package import, which plays no part.
    for (const bool nameTwoEmpty : {false, true}) {
        PackageWriter w;
        w.AddName("Package");
        w.AddName("Rocks");
        w.AddName(nameTwoEmpty ? "" : "Stone");
        w.AddName("Engine");
        w.AddImport({0, 0, -3, 1}); // Rocks, outer -3
        w.AddImport({0, 0, 0, 3});  // Engine
        w.AddImport({0, 0, 0, 3});  // import 2: Engine again
        TempTree tree;
        DependencySet set;
        CollectDependencies(w.WriteTo(tree / "p.u"), set);
        EXPECT_EQ(set, (nameTwoEmpty ? DependencySet{"engine", "rocks"} : DependencySet{"engine"}));
    }
}

TEST(ImportTest, OuterPastTheNameTableCountsWhateverTheImportTableHolds) {
    PackageWriter w; // N = 4
    w.AddName("Package");
    w.AddName("Rocks");
    w.AddName("Texture");
    w.AddName("Stone");
    w.AddImport({0, 2, 0, 3});  // a texture
    w.AddImport({0, 2, 0, 3});
    w.AddImport({0, 2, 0, 3});
    w.AddImport({0, 2, 0, 3});
    w.AddImport({0, 0, -5, 1}); // k = 4
    TempTree tree;
    DependencySet set;
    CollectDependencies(w.WriteTo(tree / "p.u"), set);
    EXPECT_EQ(set, DependencySet{"rocks"});
}

fixtures::TreePath WritePackageImports(const TempTree& tree, const std::vector<std::string>& names) {
    PackageWriter w;
    for (const auto& name : names) w.AddPackageImport(name);
    return w.WriteTo(tree / "p.u");
}

TEST(CollectDependencies, InsertsEachPackageOnceLowerCased) {
    TempTree tree;
    DependencySet set;
    CollectDependencies(WritePackageImports(tree, {"Rocks", "ROCKS", "rocks", "Engine"}), set);
    EXPECT_EQ(set, (DependencySet{"engine", "rocks"}));
}

TEST(CollectDependencies, TheSetIsInByteOrder) {
    TempTree tree;
    DependencySet set;
    CollectDependencies(WritePackageImports(tree, {"\xC4rger", "Stone", "rockset", "Rocks", "Zebra", "~tilde"}), set);
    EXPECT_EQ(std::vector<std::string>(set.begin(), set.end()),
              (std::vector<std::string>{"rocks", "rockset", "stone", "zebra", "~tilde", "\xE4rger"}));
}

TEST(CollectDependencies, LowerCasesInCodePage1252) {
    TempTree tree;
    DependencySet set;
    CollectDependencies(WritePackageImports(tree, {"\xC4\xD6\xDC-2004_Pack!", "\x8A\x8C\x8E\x9F\xD7\xDF"}), set);
    EXPECT_EQ(set, (DependencySet{"\xE4\xF6\xFC-2004_pack!", "\x9A\x9C\x9E\xFF\xD7\xDF"}));
}

TEST(CollectDependencies, EmptiesTheSetFirstEvenWhenTheFileDoesNotOpen) {
    TempTree tree;
    DependencySet set{"left", "over"};
    const ReadOutcome outcome = CollectDependencies((tree / "nothing.u").string(), set);
    EXPECT_TRUE(set.empty());
    EXPECT_EQ(outcome.kind, ReadOutcome::Kind::CannotOpen);

    set = {"left"};
    CollectDependencies(WritePackageImports(tree, {"Rocks"}), set);
    EXPECT_EQ(set, DependencySet{"rocks"});
}

TEST(CollectDependencies, OtherClassesOnlyLeaveTheSetEmptyAsANonPackageDoes) {
    PackageWriter w;
    const std::int32_t texture = w.Name("Texture");
    const std::int32_t rocks = w.Name("Rocks");
    w.AddImport({0, texture, 0, rocks});
    w.AddImport({0, w.Name("Class"), 0, w.Name("Package")});
    TempTree tree;
    DependencySet set{"x"};
    EXPECT_EQ(CollectDependencies(w.WriteTo(tree / "p.u"), set).kind, ReadOutcome::Kind::Read);
    EXPECT_TRUE(set.empty());

    set = {"x"};
    EXPECT_EQ(CollectDependencies(tree.AddFile("text.u", std::string(100, 'x')), set).kind,
              ReadOutcome::Kind::WrongTag);
    EXPECT_TRUE(set.empty());
}

TEST(CollectDependencies, TheEntriesPastTheEndCountOnceLikeAnyOther) {
    // Name 0 is "Package": an all-zero import (past the end of the file) is the package Package.
    PackageWriter w;
    w.AddName("Package");
    w.AddName("Rocks");
    w.AddImport({0, 0, 0, 1});
    w.importCount = 0xFFFFFFFF;
    TempTree tree;
    DependencySet set;
    CollectDependencies(w.WriteTo(tree / "p.u"), set);
    EXPECT_EQ(set, (DependencySet{"package", "rocks"}));
}

} // namespace
} // namespace lintara
