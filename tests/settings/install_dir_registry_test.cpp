// Finding and saving the install directory on Windows, with the store in the real registry.
#include "platform/default_install_dirs.h"
#include "platform/file_presence.h"
#include "tests/settings/install_dir_fixture.h"

#include <windows.h>

#include <string>
#include <vector>

namespace lintara {
namespace {

using testing::ReadFile;
using testing::ScriptedDialog;
using Message = ScriptedDialog::Message;
using namespace std::string_literals;

const Message kCannotSave{"Stashmind was unable to save your settings to the registry or to a file - you will need "
                          "to find this directory again the next time you run Stashmind!",
                          "Cannot Save Settings"};

using InstallDirRegistryTest = testing::InstallDirFixture;

TEST_F(InstallDirRegistryTest, TheSourcesComeInTheirOrder) {
    GiveUserValue("D:\\deleted\\since");
    GiveSettingsFile("ut_dir=D:\\from\\settings\\file\r\n");
    GiveGameValue("D:\\from\\game\\key");
    sandbox.MakeFolder("games/ut2004");
    dialog.WillChoose("D:\\from\\prompt");
    InstallDirSource source{};

    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::UserKey);
    EXPECT_EQ(installDir, "D:\\deleted\\since");

    registry.RemoveKey(userRoot, kUserKeyPath);
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::SettingsFile);
    EXPECT_EQ(installDir, "D:\\from\\settings\\file");
    EXPECT_EQ(UserValue(), std::nullopt); // not copied into the user key

    std::filesystem::remove(SettingsFile());
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::GameKey);
    EXPECT_EQ(installDir, "D:\\from\\game\\key");
    EXPECT_EQ(UserValue(), "D:\\from\\game\\key");
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

    registry.RemoveKey(userRoot, kUserKeyPath);
    registry.RemoveKey("machine1", kGameKeyPath);
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::DefaultLocation);
    EXPECT_EQ(installDir, sandbox.Path("games/ut2004"));
    EXPECT_EQ(UserValue(), sandbox.Path("games/ut2004"));

    registry.RemoveKey(userRoot, kUserKeyPath);
    std::filesystem::remove(sandbox.Path("games/ut2004"));
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::Prompt);
    EXPECT_EQ(UserValue(), "D:\\from\\prompt");
    EXPECT_TRUE(dialog.messages.empty());
}

TEST_F(InstallDirRegistryTest, AUtPathOfOver260BytesCountsAsAbsentAndIsReplacedWhenSaving) {
    GiveUserValue("D:\\" + std::string(257, 'x')); // 261 bytes with its terminator
    GiveGameValue("D:\\from\\game\\key");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::GameKey);
    EXPECT_EQ(UserValue(), "D:\\from\\game\\key");

    GiveUserValue("D:\\" + std::string(256, 'x')); // 260 bytes: still read
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::UserKey);
    EXPECT_EQ(installDir, "D:\\" + std::string(256, 'x'));
}

TEST_F(InstallDirRegistryTest, ANonStringValueIsReadAsText) {
    const struct {
        DWORD type;
        std::string bytes;
        std::string installDir;
    } cases[] = {
        {REG_BINARY, "D:\\UT2004", "D:\\UT2004"},
        {REG_BINARY, "D:\\UT\0rest"s, "D:\\UT"},
        {REG_EXPAND_SZ, "%SystemDrive%\\UT2004\0"s, "%SystemDrive%\\UT2004"},
        {REG_MULTI_SZ, "D:\\A\0D:\\B\0\0"s, "D:\\A"},
        {REG_DWORD, "D:\\\0"s, "D:\\"},
        {REG_NONE, "", ""},
    };
    for (const auto& c : cases) {
        registry.SetValue(userRoot, kUserKeyPath, kUserValueName, c.type, c.bytes);
        installDir = "previous";
        EXPECT_TRUE(Settings().ReadUserKey()) << c.type;
        EXPECT_EQ(installDir, c.installDir) << c.type;
        registry.SetValue("machine1", kGameKeyPath, kGameValueName, c.type, c.bytes);
        installDir = "previous";
        EXPECT_TRUE(Settings().ReadGameKey()) << c.type;
        EXPECT_EQ(installDir, c.installDir) << c.type;
    }
}

TEST_F(InstallDirRegistryTest, EmptyValuesCountAsFound) {
    GiveUserValue("");
    GiveGameValue("D:\\from\\game\\key");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::UserKey);
    EXPECT_EQ(installDir, "");

    registry.RemoveKey(userRoot, kUserKeyPath);
    GiveGameValue("");
    installDir = "stale";
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::GameKey);
    EXPECT_EQ(installDir, "");
    EXPECT_EQ(UserValue(), "");
}

// The settings file lies in the current directory, whatever that is when it is read or written.
TEST_F(InstallDirRegistryTest, TheSettingsFileIsTheOneInTheCurrentDirectory) {
    BreakUserKey();
    GiveGameValue("D:\\Games\\UT2004");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::GameKey);
    EXPECT_EQ(ReadFile(SettingsFile()), "ut_dir=D:\\Games\\UT2004\r\n");
    EXPECT_EQ(sandbox.List("work"), std::vector<std::string>{"LintaraSettings.ini"});
    EXPECT_FALSE(registry.KeyExists(userRoot, kUserKeyPath));

    registry.RemoveKey("machine1", kGameKeyPath);
    installDir.clear();
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::SettingsFile);
    EXPECT_EQ(installDir, "D:\\Games\\UT2004");

    // Elsewhere there is no settings file.
    std::filesystem::current_path(sandbox.MakeFolder("elsewhere"));
    installDir.clear();
    EXPECT_FALSE(Settings().ReadSettingsFile());
    std::filesystem::current_path(sandbox.Path("work"));
}

TEST_F(InstallDirRegistryTest, AChosenFolderThatCannotBeSavedIsReportedAndAskedForAgain) {
    BreakUserKey();
    BreakCurrentDirectory();
    dialog.WillChoose("E:\\");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::Prompt);
    EXPECT_EQ(installDir, "E:\\"); // a drive root keeps its backslash
    EXPECT_EQ(dialog.messages, std::vector<Message>{kCannotSave});
    installDir.clear();
    EXPECT_FALSE(Load(&source));
    EXPECT_EQ(dialog.prompts.size(), 2u);
}

// The default location is C:\UT2004\, tested with its trailing backslash, taken as C:\ut2004.
TEST(DefaultInstallDir, IsTheInstallersOwnFolder) {
    const std::vector<DefaultInstallDir> dirs = DefaultInstallDirs();
    ASSERT_EQ(dirs.size(), 1u);
    EXPECT_EQ(dirs[0].probe, "C:\\UT2004\\");
    EXPECT_EQ(dirs[0].dir, "C:\\ut2004");
    if (PathExists("C:\\UT2004")) GTEST_SKIP() << "this machine has C:\\UT2004";
    if (!::CreateDirectoryA("C:\\UT2004", nullptr)) GTEST_SKIP() << "C:\\UT2004 cannot be made here";
    EXPECT_TRUE(PathExists(dirs[0].probe));
    ::RemoveDirectoryA("C:\\UT2004");
    EXPECT_FALSE(PathExists(dirs[0].probe));
}

TEST(FilePresence, AFolderOrAFileExistsButASeparatorNamesAFolderOnly) {
    testing::Sandbox sandbox;
    const std::string file = sandbox.WriteFile("file.txt", "x");
    const std::string folder = sandbox.MakeFolder("folder");
    EXPECT_TRUE(PathExists(file));
    EXPECT_FALSE(PathExists(file + "\\"));
    EXPECT_TRUE(PathExists(folder));
    EXPECT_TRUE(PathExists(folder + "\\"));
    EXPECT_TRUE(PathExists(folder + "/"));
    EXPECT_FALSE(PathExists(sandbox.Path("absent")));
    EXPECT_FALSE(PathExists(""));
}

} // namespace
} // namespace lintara
