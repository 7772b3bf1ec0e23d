#include "tests/settings/install_dir_fixture.h"

#include <string>
#include <vector>

namespace lintara {
namespace {

using testing::ReadFile;
using testing::ScriptedDialog;
using Message = ScriptedDialog::Message;

const Message kCriticalError{"SHGetMalloc() failed when trying to prompt user for UT2004 Install Directory!",
                             "Critical Error"};
const Message kCannotSave{"Stashmind was unable to save your settings to the registry or to a file - you will need "
                          "to find this directory again the next time you run Stashmind!",
                          "Cannot Save Settings"};
const std::vector<std::string> kOnePrompt{"Please select your UT2004 install directory"};

class InstallDirSettingsTest : public testing::InstallDirFixture {
protected:
    // Every source gives a different directory.
    void GiveEverySource() {
        GiveUserKey("UTPath=/deleted/since\n");
        GiveSettingsFile("ut_dir=/from/settings/file\r\n");
        GiveGameKey("Folder=/from/game/key\n");
        sandbox.MakeFolder("share/OldUnreal/UT2004");
        sandbox.MakeFolder("games/ut2004");
        dialog.WillChoose("/from/prompt");
    }
};

TEST_F(InstallDirSettingsTest, TheUserKeyComesFirstAndNothingIsSaved) {
    GiveEverySource();
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::UserKey);
    // Taken as it is: nothing tests that the folder still exists.
    EXPECT_EQ(installDir, "/deleted/since");
    EXPECT_TRUE(dialog.prompts.empty());
    EXPECT_TRUE(dialog.messages.empty());
    EXPECT_EQ(ReadFile(UserKeyFile()), "UTPath=/deleted/since\n");
    EXPECT_EQ(ReadFile(SettingsFile()), "ut_dir=/from/settings/file\r\n");
}

TEST_F(InstallDirSettingsTest, TheSettingsFileComesSecondAndIsNotCopiedIntoTheUserKey) {
    GiveEverySource();
    GiveUserKey("# no UTPath here\nOther=1\n");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::SettingsFile);
    EXPECT_EQ(installDir, "/from/settings/file");
    EXPECT_EQ(ReadFile(UserKeyFile()), "# no UTPath here\nOther=1\n");
    EXPECT_EQ(ReadFile(SettingsFile()), "ut_dir=/from/settings/file\r\n");
    EXPECT_TRUE(dialog.prompts.empty());
}

TEST_F(InstallDirSettingsTest, TheGameKeyComesThirdAndIsSavedInTheUserKeyOnly) {
    GiveEverySource();
    std::filesystem::remove(UserKeyFile());
    std::filesystem::remove(SettingsFile());
    GiveGameKey("Folder=D:\\Games\\UT2004\n");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::GameKey);
    EXPECT_EQ(installDir, "D:\\Games\\UT2004");
    EXPECT_EQ(ReadFile(UserKeyFile()), "UTPath=D:\\Games\\UT2004\n");
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
    EXPECT_EQ(ReadFile(GameKeyFile()), "Folder=D:\\Games\\UT2004\n");
    EXPECT_TRUE(dialog.prompts.empty());

    // Every later run stops at the user key.
    GiveGameKey("Folder=/changed/since\n");
    installDir.clear();
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::UserKey);
    EXPECT_EQ(installDir, "D:\\Games\\UT2004");
}

TEST_F(InstallDirSettingsTest, TheDefaultPlacesComeFourthInTheirOrder) {
    sandbox.MakeFolder("games/ut2004");
    sandbox.WriteFile("share/OldUnreal/UT2004", "a file where the folder would be");
    dialog.WillChoose("/from/prompt");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::DefaultLocation);
    EXPECT_EQ(installDir, sandbox.Path("games/ut2004"));
    EXPECT_EQ(ReadFile(UserKeyFile()), "UTPath=" + sandbox.Path("games/ut2004") + "\n");
    EXPECT_FALSE(std::filesystem::exists(SettingsFile()));
    EXPECT_TRUE(dialog.prompts.empty());

    std::filesystem::remove(UserKeyFile());
    std::filesystem::remove(sandbox.Path("share/OldUnreal/UT2004"));
    sandbox.MakeFolder("share/OldUnreal/UT2004");
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::DefaultLocation);
    EXPECT_EQ(installDir, sandbox.Path("share/OldUnreal/UT2004"));
}

TEST_F(InstallDirSettingsTest, ThePromptComesLastAndTheChosenFolderIsSavedAsGiven) {
    for (const std::string chosen : {"/mnt/games/UT2004", "E:\\", "/"}) {
        std::filesystem::remove(UserKeyFile());
        dialog = ScriptedDialog();
        dialog.WillChoose(chosen);
        installDir.clear();
        InstallDirSource source{};
        EXPECT_TRUE(Load(&source));
        EXPECT_EQ(source, InstallDirSource::Prompt);
        EXPECT_EQ(installDir, chosen);
        EXPECT_EQ(dialog.prompts, kOnePrompt);
        EXPECT_TRUE(dialog.messages.empty());
        EXPECT_EQ(ReadFile(UserKeyFile()), "UTPath=" + chosen + "\n");
        EXPECT_FALSE(std::filesystem::exists(SettingsFile()));

        installDir.clear();
        EXPECT_TRUE(Load(&source));
        EXPECT_EQ(source, InstallDirSource::UserKey);
        EXPECT_EQ(installDir, chosen);
        EXPECT_EQ(dialog.prompts.size(), 1u);
    }
}

TEST_F(InstallDirSettingsTest, ACancelledPromptSavesAndShowsNothing) {
    dialog.WillCancel();
    InstallDirSource source = InstallDirSource::Prompt;
    EXPECT_FALSE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::None);
    EXPECT_EQ(installDir, "");
    EXPECT_EQ(dialog.prompts, kOnePrompt);
    EXPECT_TRUE(dialog.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(sandbox.Path("config")));
    EXPECT_TRUE(sandbox.List("work").empty());
}

TEST_F(InstallDirSettingsTest, APromptThatCannotBeShownReportsACriticalError) {
    dialog.WillBeUnavailable();
    InstallDirSource source{};
    EXPECT_FALSE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::None);
    EXPECT_EQ(installDir, "");
    EXPECT_EQ(dialog.messages, std::vector<Message>{kCriticalError});
    EXPECT_FALSE(std::filesystem::exists(sandbox.Path("config")));
    EXPECT_TRUE(sandbox.List("work").empty());
}

TEST_F(InstallDirSettingsTest, AnInterruptedSettingsFileLeavesItsValueWhenEverythingElseFails) {
    GiveSettingsFile("ut_dir=D:\\UT2004\r\n\r\n");
    dialog.WillCancel();
    EXPECT_FALSE(Load());
    EXPECT_EQ(installDir, "D:\\UT2004");
    EXPECT_EQ(dialog.prompts, kOnePrompt);
    EXPECT_FALSE(std::filesystem::exists(UserKeyFile()));
}

TEST_F(InstallDirSettingsTest, EmptyValuesCountAsFound) {
    GiveUserKey("UTPath=\n");
    GiveGameKey("Folder=/from/game/key\n");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::UserKey);
    EXPECT_EQ(installDir, "");
    EXPECT_EQ(ReadFile(UserKeyFile()), "UTPath=\n");

    std::filesystem::remove(UserKeyFile());
    GiveGameKey("Folder=\n");
    installDir = "stale";
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::GameKey);
    EXPECT_EQ(installDir, "");
    EXPECT_EQ(ReadFile(UserKeyFile()), "UTPath=\n");
    EXPECT_TRUE(dialog.prompts.empty());
}

TEST_F(InstallDirSettingsTest, AUserKeyValueTooLongToReadIsReplacedWhenSaving) {
    GiveUserKey("# kept\nUTPath=/" + std::string(259, 'x') + "\n");
    GiveGameKey("Folder=/from/game/key\n");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::GameKey);
    EXPECT_EQ(installDir, "/from/game/key");
    EXPECT_EQ(ReadFile(UserKeyFile()), "# kept\nUTPath=/from/game/key\n");
}

TEST_F(InstallDirSettingsTest, StoreValuesUpTo259BytesAreRead) {
    const std::string longest = "/" + std::string(258, 'x');
    GiveGameKey("Folder=" + longest + "\n");
    EXPECT_TRUE(Settings().ReadGameKey());
    EXPECT_EQ(installDir, longest);
    GiveGameKey("Folder=" + longest + "x\n");
    installDir = "kept";
    EXPECT_FALSE(Settings().ReadGameKey());
    EXPECT_EQ(installDir, "kept");
    EXPECT_FALSE(Settings().ReadUserKey());
    EXPECT_EQ(installDir, "kept");
}

TEST_F(InstallDirSettingsTest, WhenTheUserKeyCannotBeWrittenTheSettingsFileTakesTheDirectory) {
    BreakUserKey();
    GiveGameKey("Folder=D:\\Games\\UT2004\n");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::GameKey);
    EXPECT_EQ(ReadFile(SettingsFile()), "ut_dir=D:\\Games\\UT2004\r\n");
    EXPECT_TRUE(dialog.messages.empty());

    installDir.clear();
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::SettingsFile);
    EXPECT_EQ(installDir, "D:\\Games\\UT2004");
}

TEST_F(InstallDirSettingsTest, AChosenFolderSavedInTheSettingsFileShowsNoMessage) {
    BreakUserKey();
    dialog.WillChoose("/from/prompt");
    EXPECT_TRUE(Load());
    EXPECT_EQ(ReadFile(SettingsFile()), "ut_dir=/from/prompt\r\n");
    EXPECT_TRUE(dialog.messages.empty());
}

TEST_F(InstallDirSettingsTest, AChosenFolderThatCannotBeSavedIsReportedAndAskedForAgain) {
    BreakUserKey();
    BreakCurrentDirectory();
    dialog.WillChoose("/from/prompt");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::Prompt);
    EXPECT_EQ(installDir, "/from/prompt");
    EXPECT_EQ(dialog.messages, std::vector<Message>{kCannotSave});

    // The next run asks again.
    installDir.clear();
    EXPECT_FALSE(Load(&source));
    EXPECT_EQ(dialog.prompts.size(), 2u);
    EXPECT_EQ(dialog.messages.size(), 1u);
}

TEST_F(InstallDirSettingsTest, AFoundDirectoryThatCannotBeSavedIsNotReported) {
    BreakUserKey();
    BreakCurrentDirectory();
    GiveGameKey("Folder=/from/game/key\n");
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::GameKey);
    std::filesystem::remove(GameKeyFile());
    sandbox.MakeFolder("games/ut2004");
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::DefaultLocation);
    EXPECT_TRUE(dialog.messages.empty());
    EXPECT_TRUE(dialog.prompts.empty());
}

// The user key only takes what ReadUserKey can give back; a longer folder goes to the settings
// file, which has no length limit, instead of being lost without a word.
TEST_F(InstallDirSettingsTest, AFolderTooLongForTheUserKeyIsSavedInTheSettingsFile) {
    const std::string chosen = "/" + std::string(300, 'x');
    dialog.WillChoose(chosen);
    InstallDirSource source{};
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::Prompt);
    EXPECT_FALSE(std::filesystem::exists(UserKeyFile()));
    EXPECT_EQ(ReadFile(SettingsFile()), "ut_dir=" + chosen + "\r\n");
    EXPECT_TRUE(dialog.messages.empty());

    installDir.clear();
    EXPECT_TRUE(Load(&source));
    EXPECT_EQ(source, InstallDirSource::SettingsFile);
    EXPECT_EQ(installDir, chosen);
}

TEST_F(InstallDirSettingsTest, WritingTheUserKeyKeepsItsOtherLines) {
    GiveUserKey("# mine\r\nTheme=dark\r\nUTPath=/old\r\n");
    installDir = "/new";
    EXPECT_TRUE(Settings().WriteUserKey());
    EXPECT_EQ(ReadFile(UserKeyFile()), "# mine\r\nTheme=dark\r\nUTPath=/new\r\n");
    installDir = std::string(259, 'y');
    EXPECT_TRUE(Settings().WriteUserKey());
    installDir += 'y';
    EXPECT_FALSE(Settings().WriteUserKey());
    EXPECT_EQ(ReadFile(UserKeyFile()), "# mine\r\nTheme=dark\r\nUTPath=" + std::string(259, 'y') + "\r\n");
}

TEST_F(InstallDirSettingsTest, AFailedUserKeyWriteKeepsTheOldValue) {
    GiveUserKey("UTPath=/old\n");
    installDir = "/a/new/and/much/longer/value";
    {
        testing::FileSizeLimit fullDisk(12);
        EXPECT_FALSE(Settings().WriteUserKey());
    }
    EXPECT_EQ(ReadFile(UserKeyFile()), "UTPath=/old\n");
    EXPECT_EQ(sandbox.List("config/Korvel"), std::vector<std::string>{"Lintara.conf"});
    EXPECT_TRUE(Settings().ReadUserKey());
    EXPECT_EQ(installDir, "/old");
}

} // namespace
} // namespace lintara
