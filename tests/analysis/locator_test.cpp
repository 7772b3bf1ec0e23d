#include "analysis/package_locator.h"
#include "platform/wildcard_match.h"
#include "tests/analysis/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace lintara {
namespace {

using fixtures::TempTree;

// The path with "/" as the platform's own separator: the found path keeps the separators of the
// package name, which may hold a "/".
std::string WithNativeSeparators(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

// An install tree with the seven content folders, and what else a case puts into it.
struct LocateCase {
    const char* what;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    std::vector<std::pair<std::string, std::string>> links; // link -> target, relative to the link
    std::vector<std::string> removed;                       // content folders taken away
    std::string package;                                    // as a dependency set holds it (code page 1252)
    std::string status;
    std::string found; // the file found, relative to the install folder
};

class LocateTest : public ::testing::TestWithParam<LocateCase> {
protected:
    void SetUp() override {
#ifdef _WIN32
        if (!GetParam().links.empty()) GTEST_SKIP() << "symbolic links are not made on Windows";
#endif
        install_ = tree_.AddInstall("UT2004");
        for (const auto& r : GetParam().removed) std::filesystem::remove_all(install_ / r);
        for (const auto& f : GetParam().folders) tree_.AddFolder("UT2004/" + f);
        for (const auto& f : GetParam().files) tree_.AddFile("UT2004/" + f);
        for (const auto& [link, target] : GetParam().links) tree_.AddSymlink("UT2004/" + link, target);
    }
    TempTree tree_;
    std::filesystem::path install_;
};

TEST_P(LocateTest, FindsTheFirstContentFolderThatHoldsTheFile) {
    const auto location = FindPackage(install_.string(), GetParam().package);
    EXPECT_EQ(location.status, GetParam().status);
    EXPECT_EQ(Locate(install_.string(), GetParam().package), GetParam().status);
    if (GetParam().found.empty()) EXPECT_TRUE(location.IsMissing());
    else EXPECT_EQ(WithNativeSeparators(location.path), (tree_ / ("UT2004/" + GetParam().found)).string());
}

// The install folder with a trailing separator, or written with backslashes, finds the same.
TEST_P(LocateTest, TheInstallFolderMayEndInASeparatorOrUseBackslashes) {
    std::string backslashed = install_.string();
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    for (const std::string& dir : {install_.string() + "/", install_.string() + "\\", backslashed, backslashed + "\\"})
        EXPECT_EQ(Locate(dir, GetParam().package), GetParam().status) << dir;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocateTest,
    ::testing::Values(
        LocateCase{"MapsBeforeTextures", {"Maps/abc.ut2", "Textures/abc.utx"}, {}, {}, {}, "abc", "Maps", "Maps/abc.ut2"},
        LocateCase{"SystemBeforeAll", {"Music/abc.umx", "Maps/abc.ut2", "System/abc.u"}, {}, {}, {}, "abc", "System", "System/abc.u"},
        LocateCase{"EachFolder", {"Animations/abc.ukx"}, {}, {}, {}, "abc", "Animations", "Animations/abc.ukx"},
        LocateCase{"LastFolder", {"Music/abc.umx"}, {}, {}, {}, "abc", "Music", "Music/abc.umx"},
        LocateCase{"StaticMeshes", {"StaticMeshes/abc.usx"}, {}, {}, {}, "abc", "StaticMeshes", "StaticMeshes/abc.usx"},
        LocateCase{"ExtensionIsNotCompared", {"Textures/abc.ut2"}, {}, {}, {}, "abc", "Textures", "Textures/abc.ut2"},
        LocateCase{"NoExtension", {"Sounds/abc"}, {}, {}, {}, "abc", "Sounds", "Sounds/abc"},
        LocateCase{"SeveralDots", {"Sounds/abc.utx.bak"}, {}, {}, {}, "abc", "Sounds", "Sounds/abc.utx.bak"},
        LocateCase{"Nowhere", {"Maps/other.ut2"}, {}, {}, {}, "abc", "Missing", ""},
        LocateCase{"FoldersDoNotCount", {"Music/abc.umx"}, {"Maps/abc", "Maps/abc.utx", "System/abc.u"}, {}, {}, "abc", "Music", "Music/abc.umx"},
        LocateCase{"OnlyAFolder", {}, {"Textures/abc"}, {}, {}, "abc", "Missing", ""},
        LocateCase{"ALongerNameIsAnother", {"Textures/abc2.utx", "Textures/abc_old.ut2", "Maps/abcd"}, {}, {}, {}, "abc", "Missing", ""},
        LocateCase{"LetterCaseIgnored", {"Textures/ABC.UTX"}, {}, {}, {}, "abc", "Textures", "Textures/ABC.UTX"},
        LocateCase{"MixedCase", {"Maps/CTF-Face3.ut2"}, {}, {}, {}, "ctf-face3", "Maps", "Maps/CTF-Face3.ut2"},
        LocateCase{"AbsentFolderPassedOver", {"Textures/abc.utx"}, {}, {}, {"System", "Maps"}, "abc", "Textures", "Textures/abc.utx"},
        LocateCase{"NoFoldersAtAll", {}, {}, {}, {"System", "Maps", "Textures", "Sounds", "StaticMeshes", "Animations", "Music"}, "abc", "Missing", ""},
        LocateCase{"LinkToAFile", {"Textures/real.bin"}, {}, {{"Maps/abc.ut2", "../Textures/real.bin"}}, {}, "abc", "Maps", "Maps/abc.ut2"},
        LocateCase{"DanglingLinkDoesNotCount", {"Sounds/abc.uax"}, {}, {{"Maps/abc.ut2", "nowhere.ut2"}}, {}, "abc", "Sounds", "Sounds/abc.uax"},
        LocateCase{"LinkToAFolderDoesNotCount", {}, {"Elsewhere"}, {{"Maps/abc.ut2", "../Elsewhere"}}, {}, "abc", "Missing", ""},
        LocateCase{"LinkedContentFolder", {"Elsewhere/abc.utx"}, {}, {{"Textures", "Elsewhere"}}, {"Textures"}, "abc", "Textures", "Textures/abc.utx"},
        LocateCase{"HighBytesMatchUtf8Names", {"Textures/\xC3\x84rger.utx"}, {}, {}, {}, "\xE4rger", "Textures", "Textures/\xC3\x84rger.utx"},
        LocateCase{"UpperCaseHighBytes", {"Textures/\xC3\x84rger.utx"}, {}, {}, {}, "\xC4rger", "Textures", "Textures/\xC3\x84rger.utx"},
        LocateCase{"HighBytesInEitherCase", {"Maps/\xC3\xA4rger.ut2"}, {}, {}, {}, "\xE4rger", "Maps", "Maps/\xC3\xA4rger.ut2"},
        LocateCase{"Cp1252LettersBeyondLatin1", {"Sounds/\xC5\x92uvre.uax"}, {}, {}, {}, "\x9Cuvre", "Sounds", "Sounds/\xC5\x92uvre.uax"},
        LocateCase{"StarKeepsItsMeaning", {"Maps/abcdef.ut2"}, {}, {}, {}, "ab*", "Maps", "Maps/abcdef.ut2"},
        LocateCase{"QuestionMarkKeepsItsMeaning", {"Maps/abc.ut2"}, {}, {}, {}, "a?c", "Maps", "Maps/abc.ut2"},
        LocateCase{"BackslashSeparates", {"Maps/sub/abc.ut2"}, {}, {}, {}, "sub\\abc", "Maps", "Maps/sub/abc.ut2"},
        LocateCase{"SlashSeparates", {"Maps/sub/abc.ut2"}, {}, {}, {}, "sub/abc", "Maps", "Maps/sub/abc.ut2"}),
    [](const auto& info) { return std::string(info.param.what); });

// Steam's installation spells some content folders in lower case.
TEST(Locate, FindsContentFoldersWhateverTheirLetterCase) {
    TempTree tree;
    tree.AddFile("UT2004/system/Core.u");
    tree.AddFile("UT2004/maps/CTF-Face3.ut2");
    tree.AddFile("UT2004/TEXTURES/Rocks.utx");
    tree.AddFile("UT2004/staticMESHES/Trees.usx");
    const std::string install = (tree / "UT2004").string();
    EXPECT_EQ(Locate(install, "core"), "System");
    EXPECT_EQ(Locate(install, "ctf-face3"), "Maps");
    EXPECT_EQ(Locate(install, "rocks"), "Textures");
    EXPECT_EQ(Locate(install, "trees"), "StaticMeshes");
    EXPECT_EQ(Locate(install + "/", "trees"), "StaticMeshes");
#ifndef _WIN32
    // (On Windows the path keeps the folder's spelling in the pattern, the lookup's own.)
    EXPECT_EQ(FindPackage(install, "ctf-face3").path, (tree / "UT2004/maps/CTF-Face3.ut2").string());
#endif
    EXPECT_EQ(Locate(install, "missing"), "Missing");
}

#ifndef _WIN32
// Only a file system that tells letter case apart can hold both "maps" and "Maps".
TEST(Locate, TheExactlySpelledFolderComesFirst) {
    TempTree tree;
    tree.AddFile("UT2004/maps/abc.ut2");
    tree.AddFolder("UT2004/Maps");
    tree.AddFile("UT2004/Textures/abc.utx");
    EXPECT_EQ(Locate((tree / "UT2004").string(), "abc"), "Textures");
}
#endif

TEST(Locate, SearchesAfreshEachTime) {
    TempTree tree;
    const std::string install = tree.AddInstall("UT2004").string();
    EXPECT_EQ(Locate(install, "abc"), "Missing");
    tree.AddFile("UT2004/Sounds/abc.uax");
    EXPECT_EQ(Locate(install, "abc"), "Sounds");
    tree.AddFile("UT2004/Maps/abc.ut2");
    EXPECT_EQ(Locate(install, "abc"), "Maps");
    std::filesystem::remove(tree / "UT2004/Maps/abc.ut2");
    std::filesystem::remove(tree / "UT2004/Sounds/abc.uax");
    EXPECT_EQ(Locate(install, "abc"), "Missing");
}

TEST(Locate, AnInstallFolderThatIsNoInstallationGivesMissing) {
    TempTree tree;
    tree.AddFile("NotAGame/abc.ut2");
    for (const std::string& dir : {(tree / "NotAGame").string(), (tree / "Absent").string(), tree.AddFile("file").string()})
        EXPECT_EQ(Locate(dir, "abc"), "Missing") << dir;
}

TEST(Locate, AnEmptyInstallFolderSearchesTheRoot) {
    // The patterns then start at the root folder, where no content folder lies on this machine.
    for (const auto& entry : std::filesystem::directory_iterator("/"))
        for (const char* folder : fixtures::kContentFolderNames)
            if (SameNameIgnoringCase(entry.path().filename().string(), folder))
                GTEST_SKIP() << entry.path() << " lies at the root";
    EXPECT_EQ(Locate("", "bin"), "Missing");
    EXPECT_EQ(Locate("", "abc"), "Missing");
}

TEST(Locate, ARelativeInstallFolderResolvesAgainstTheCurrentFolder) {
    TempTree tree;
    tree.AddInstall("UT2004");
    tree.AddFile("UT2004/Maps/abc.ut2");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(tree.Root());
    const std::string status = Locate("UT2004", "abc");
    const std::string dotted = Locate(".\\UT2004\\", "abc");
    std::filesystem::current_path(before);
    EXPECT_EQ(status, "Maps");
    EXPECT_EQ(dotted, "Maps");
}

TEST(MatchingFileExists, CountsFilesOnly) {
    TempTree tree;
    tree.AddFolder("only-folders/a");
    tree.AddFolder("only-folders/b.u");
    tree.AddFile("mixed/a.u");
    tree.AddFolder("mixed/b");
    tree.AddFile("hidden/.abc");
    EXPECT_FALSE(MatchingFileExists((tree / "only-folders").string() + "/*"));
    EXPECT_FALSE(MatchingFileExists((tree / "only-folders").string() + "/*.*"));
    EXPECT_FALSE(MatchingFileExists((tree / "only-folders").string() + "/."));
    EXPECT_FALSE(MatchingFileExists((tree / "only-folders").string() + "/.."));
    EXPECT_TRUE(MatchingFileExists((tree / "mixed").string() + "/*"));
    EXPECT_FALSE(MatchingFileExists((tree / "mixed").string() + "/b.*"));
    EXPECT_TRUE(MatchingFileExists((tree / "hidden").string() + "/.abc.*"));
    std::string found;
    EXPECT_TRUE(MatchingFileExists((tree / "mixed").string() + "\\A.*", &found));
    EXPECT_EQ(found, (tree / "mixed/a.u").string());
}

TEST(MatchingFileExists, PatternsThatCannotBeSearchedFindNothing) {
    TempTree tree;
    tree.AddFile("dir/abc.u");
    const std::string dir = (tree / "dir").string();
    EXPECT_TRUE(MatchingFileExists(dir + "/abc.*"));
    EXPECT_FALSE(MatchingFileExists(dir + "/"));                          // no name to match
    EXPECT_FALSE(MatchingFileExists(dir + "/absent/abc.*"));              // no such folder
    EXPECT_FALSE(MatchingFileExists(dir + "/abc.u/abc.*"));               // a file as the folder
    EXPECT_FALSE(MatchingFileExists(dir + "/" + std::string(5000, 'x') + "/abc.*")); // too long
    EXPECT_FALSE(MatchingFileExists(""));
}

} // namespace
} // namespace lintara
