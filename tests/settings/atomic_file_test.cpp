#include "platform/atomic_file.h"

#include "tests/settings/sandbox.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace lintara {
namespace {

using testing::ReadFile;
using testing::Sandbox;
namespace fs = std::filesystem;

TEST(ReplaceFileContentTest, CreatesOrReplacesTheWholeFile) {
    Sandbox sandbox;
    ASSERT_TRUE(ReplaceFileContent("settings.ini", "first\r\n"));
    EXPECT_EQ(ReadFile("settings.ini"), "first\r\n");
    ASSERT_TRUE(ReplaceFileContent(sandbox.Path("settings.ini"), "second"));
    EXPECT_EQ(ReadFile("settings.ini"), "second");
    ASSERT_TRUE(ReplaceFileContent("settings.ini", ""));
    EXPECT_EQ(ReadFile("settings.ini"), "");
    EXPECT_EQ(sandbox.List(""), std::vector<std::string>{"settings.ini"});
}

#ifndef _WIN32
using testing::FileSizeLimit;

TEST(ReplaceFileContentTest, KeepsTheFilePermissions) {
    Sandbox sandbox;
    const std::string path = sandbox.WriteFile("settings.ini", "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFileContent(path, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(ReplaceFileContentTest, ALinkedFileIsReplacedWhereItLies) {
    Sandbox sandbox;
    const std::string target = sandbox.WriteFile("dotfiles/Lintara.conf", "old");
    fs::create_symlink(target, sandbox.Path("Lintara.conf"));
    ASSERT_TRUE(ReplaceFileContent("Lintara.conf", "new"));
    EXPECT_TRUE(fs::is_symlink(sandbox.Path("Lintara.conf")));
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(sandbox.List("dotfiles"), std::vector<std::string>{"Lintara.conf"});
}

TEST(ReplaceFileContentTest, FailuresLeaveTheOldFileAndNothingBesideIt) {
    Sandbox sandbox;
    sandbox.WriteFile("settings.ini", "old content");
    {
        FileSizeLimit fullDisk(4);
        EXPECT_FALSE(ReplaceFileContent("settings.ini", "new content"));
    }
    EXPECT_EQ(ReadFile("settings.ini"), "old content");

    sandbox.MakeFolder("folder.ini");
    EXPECT_FALSE(ReplaceFileContent("folder.ini", "x"));
    sandbox.WriteFile("plain", "a file");
    EXPECT_FALSE(ReplaceFileContent("plain/settings.ini", "x"));
    EXPECT_FALSE(ReplaceFileContent("absent/settings.ini", "x"));
    EXPECT_FALSE(ReplaceFileContent("", "x"));
    EXPECT_EQ(sandbox.List(""), (std::vector<std::string>{"folder.ini", "plain", "settings.ini"}));
    EXPECT_TRUE(sandbox.List("folder.ini").empty());
}

#endif

#ifdef _WIN32
TEST(ReplaceFileContentTest, KeepsTheHiddenAttributeAndLeavesAReadOnlyFile) {
    Sandbox sandbox;
    const std::string hidden = sandbox.WriteFile("hidden.ini", "old");
    ASSERT_TRUE(::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(ReplaceFileContent(hidden, "new"));
    EXPECT_EQ(ReadFile(hidden), "new");
    EXPECT_EQ(::GetFileAttributesA(hidden.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));

    // A read-only file is not replaced, and nothing is left beside it.
    const std::string readOnly = sandbox.WriteFile("settings.ini", "old content");
    ASSERT_TRUE(::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(ReplaceFileContent("settings.ini", "new content"));
    EXPECT_EQ(ReadFile(readOnly), "old content");
    EXPECT_EQ(sandbox.List(""), (std::vector<std::string>{"hidden.ini", "settings.ini"}));
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);

    sandbox.MakeFolder("folder.ini");
    EXPECT_FALSE(ReplaceFileContent("folder.ini", "x"));
    EXPECT_FALSE(ReplaceFileContent("absent\\settings.ini", "x"));
    EXPECT_FALSE(ReplaceFileContent("", "x"));
    EXPECT_TRUE(sandbox.List("folder.ini").empty());
}
#else
TEST(ReplaceFileContentTest, FailsInACurrentDirectoryThatWasRemoved) {
    Sandbox sandbox;
    sandbox.MakeFolder("gone");
    fs::current_path(sandbox.Path("gone"));
    fs::remove(sandbox.Path("gone"));
    EXPECT_FALSE(ReplaceFileContent("settings.ini", "x"));
}

#endif

} // namespace
} // namespace lintara
