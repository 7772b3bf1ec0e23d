#include "tests/settings/install_dir_fixture.h"

#include <string>
#include <vector>

namespace lintara {
namespace {

using testing::ReadFile;

using SettingsFileTest = testing::InstallDirFixture;

// UTF-16 little-endian, as a Windows editor saves "Unicode" text.
std::string Utf16(std::string_view text, bool byteOrderMark) {
    std::string wide = byteOrderMark ? std::string("\xff\xfe", 2) : std::string();
    for (const char c : text) {
        wide += c;
        wide += '\0';
    }
    return wide;
}

TEST_F(SettingsFileTest, ReadingFollowsTheFileRules) {
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::optional<std::string> content; // none: no file
        bool result;
        std::string installDir;
    } cases[] = {
        {"absent", std::nullopt, false, ""},
        {"empty", "", false, ""},
        {"one line", "ut_dir=C:\\Games\\UT2004\r\n", true, "C:\\Games\\UT2004"},
        {"key in upper case", "UT_DIR=C:\\Games\\UT2004\r\n", false, ""},
        {"no CR LF at all", "ut_dir=C:\\Games\\UT2004", false, ""},
        {"LF line ends", "ut_dir=C:\\Games\\UT2004\n", false, ""},
        {"blank before =", "ut_dir = D:\\UT2004\r\n", false, ""},
        {"blank after =", "ut_dir= D:\\UT2004\r\n", true, " D:\\UT2004"},
        {"value holds =", "ut_dir=A=B\r\n", true, "A=B"},
        {"other key first", "other=1\r\nut_dir=D:\\UT2004\r\n", true, "D:\\UT2004"},
        {"empty key passed over", "=x\r\nut_dir=D:\\UT2004\r\n", true, "D:\\UT2004"},
        {"last one wins", "ut_dir=A\r\nut_dir=B\r\n", true, "B"},
        {"last one empty", "ut_dir=A\r\nut_dir=\r\n", false, ""},
        {"section header first", "[Settings]\r\nut_dir=D:\\UT2004\r\n", false, ""},
        {"empty line after the value", "ut_dir=D:\\UT2004\r\n\r\n", false, "D:\\UT2004"},
        {"line without = after the value", "ut_dir=D:\\UT2004\r\nbroken\r\nut_dir=E:\\\r\n", false, "D:\\UT2004"},
        {"final line without CR LF unread", "ut_dir=A\r\nut_dir=B", true, "A"},
        {"final line without = unread", "ut_dir=A\r\n[broken", true, "A"},
        {"lone CR inside the value", "ut_dir=A\rB\r\n", true, "A\rB"},
        {"zero byte ends the text", "ut_dir=A\r\n\0ut_dir=B\r\n"s, true, "A"},
        {"zero byte before the CR LF", "ut_dir=A\0\r\n"s, false, ""},
        {"UTF-16 with byte-order mark", Utf16("ut_dir=D:\\UT2004\r\n", true), false, ""},
        {"UTF-16 without byte-order mark", Utf16("ut_dir=D:\\UT2004\r\n", false), false, ""},
        {"UTF-8 byte-order mark", "\xef\xbb\xbfut_dir=D:\\UT2004\r\n", false, ""},
        {"8-bit text kept as bytes", "ut_dir=D:\\Spiele\\\xdc" "ber\r\n", true, "D:\\Spiele\\\xdc" "ber"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(SettingsFile());
        if (c.content) GiveSettingsFile(*c.content);
        installDir = "previous";
        EXPECT_EQ(Settings().ReadSettingsFile(), c.result) << c.name;
        EXPECT_EQ(installDir, c.installDir) << c.name;
    }
}

TEST_F(SettingsFileTest, AFolderInItsPlaceIsNotRead) {
    sandbox.MakeFolder("work/LintaraSettings.ini");
    installDir = "previous";
    EXPECT_FALSE(Settings().ReadSettingsFile());
    EXPECT_EQ(installDir, "");
}

TEST_F(SettingsFileTest, TheWrittenFileHoldsOneLineAndReadsBack) {
    GiveSettingsFile("ut_dir=old\r\nother=lost\r\n");
    for (const std::string dir : {"D:\\Games\\UT2004", "/home/me/UT2004", "E:\\", " leading blank", "trailing blank ",
                                  "a=b", "D:\\Spiele\\\xdc" "ber"}) {
        installDir = dir;
        ASSERT_TRUE(Settings().WriteSettingsFile()) << dir;
        EXPECT_EQ(ReadFile(SettingsFile()), "ut_dir=" + dir + "\r\n");
        EXPECT_EQ(ReadFile(SettingsFile())->size(), dir.size() + 9);
        installDir = "something else";
        EXPECT_TRUE(Settings().ReadSettingsFile()) << dir;
        EXPECT_EQ(installDir, dir);
    }
    EXPECT_EQ(sandbox.List("work"), std::vector<std::string>{"LintaraSettings.ini"});
}

TEST_F(SettingsFileTest, AnEmptyDirectoryIsWrittenButDoesNotReadBack) {
    ASSERT_TRUE(Settings().WriteSettingsFile());
    EXPECT_EQ(ReadFile(SettingsFile()), "ut_dir=\r\n");
    EXPECT_FALSE(Settings().ReadSettingsFile());
    EXPECT_EQ(installDir, "");
}

#ifndef _WIN32
TEST_F(SettingsFileTest, AFailedWriteKeepsTheOldFile) {
    GiveSettingsFile("ut_dir=/old\r\n");
    installDir = "/a/new/and/longer/directory";
    {
        testing::FileSizeLimit fullDisk(8);
        EXPECT_FALSE(Settings().WriteSettingsFile());
    }
    EXPECT_EQ(ReadFile(SettingsFile()), "ut_dir=/old\r\n");
    EXPECT_EQ(sandbox.List("work"), std::vector<std::string>{"LintaraSettings.ini"});
    EXPECT_TRUE(Settings().ReadSettingsFile());
    EXPECT_EQ(installDir, "/old");
}

#endif

TEST_F(SettingsFileTest, NoCurrentDirectoryMeansNoSettingsFile) {
    BreakCurrentDirectory();
    installDir = "/a";
    EXPECT_FALSE(Settings().WriteSettingsFile());
    EXPECT_FALSE(Settings().ReadSettingsFile());
}

} // namespace
} // namespace lintara
