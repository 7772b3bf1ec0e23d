// The install directory as the dialog and the checker load it: this machine's store, settings
// file and default places, placed by the environment.
#include "cli/install_dir.h"
#include "cli/run.h"
#include "settings/load_install_dir.h"

#include "tests/settings/sandbox.h"
#include "tests/settings/scripted_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace lintara {
namespace {

using testing::ReadFile;
using testing::Sandbox;
using testing::ScopedEnvironment;
using testing::ScriptedDialog;

class ThisMachineTest : public ::testing::Test {
protected:
    ThisMachineTest() { std::filesystem::current_path(sandbox.MakeFolder("work")); }

    struct Shown {
        int status;
        std::string out;
        std::string err;
    };
    Shown ShowUtDir() {
        std::ostringstream out, err;
        const int status = cli::Run({"--show-ut-dir"}, out, err);
        return {status, out.str(), err.str()};
    }

    std::string UserKeyFile() const { return sandbox.Path("config/Korvel/Lintara.conf"); }
    std::string GameKeyFile() const { return sandbox.Path("xdg/Unreal Technology/Installed Apps/UT2004.conf"); }

    Sandbox sandbox;
    ScopedEnvironment home{"HOME", sandbox.Path("home").c_str()};
    ScopedEnvironment config{"XDG_CONFIG_HOME", sandbox.Path("config").c_str()};
    ScopedEnvironment configDirs{"XDG_CONFIG_DIRS", (sandbox.Path("elsewhere") + ":" + sandbox.Path("xdg")).c_str()};
};

TEST_F(ThisMachineTest, TheDialogsEntryWalksTheSourcesInTurn) {
    ScriptedDialog dialog;
    std::string installDir;
    EXPECT_EQ(LoadInstallDirOnThisMachine(installDir, dialog), InstallDirSource::None);
    EXPECT_EQ(dialog.prompts, std::vector<std::string>{"Please select your UT2004 install directory"});

    sandbox.MakeFolder("home/.local/share/OldUnreal/UT2004");
    EXPECT_EQ(LoadInstallDirOnThisMachine(installDir, dialog), InstallDirSource::DefaultLocation);
    EXPECT_EQ(installDir, sandbox.Path("home/.local/share/OldUnreal/UT2004"));
    EXPECT_EQ(ReadFile(UserKeyFile()), "UTPath=" + installDir + "\n");
    EXPECT_EQ(LoadInstallDirOnThisMachine(installDir, dialog), InstallDirSource::UserKey);

    std::filesystem::remove(UserKeyFile());
    sandbox.WriteFile("xdg/Unreal Technology/Installed Apps/UT2004.conf", "Folder=/opt/ut2004\n");
    EXPECT_EQ(LoadInstallDirOnThisMachine(installDir, dialog), InstallDirSource::GameKey);
    EXPECT_EQ(installDir, "/opt/ut2004");

    std::filesystem::remove(UserKeyFile());
    sandbox.WriteFile("work/LintaraSettings.ini", "ut_dir=/srv/ut2004\r\n");
    EXPECT_EQ(LoadInstallDirOnThisMachine(installDir, dialog), InstallDirSource::SettingsFile);
    EXPECT_EQ(installDir, "/srv/ut2004");
    EXPECT_FALSE(std::filesystem::exists(UserKeyFile()));

    dialog.WillChoose("/chosen");
    std::filesystem::remove(sandbox.Path("work/LintaraSettings.ini"));
    std::filesystem::remove(GameKeyFile());
    std::filesystem::remove(sandbox.Path("home/.local/share/OldUnreal/UT2004"));
    EXPECT_EQ(LoadInstallDirOnThisMachine(installDir, dialog), InstallDirSource::Prompt);
    EXPECT_EQ(ReadFile(UserKeyFile()), "UTPath=/chosen\n");
    EXPECT_TRUE(dialog.messages.empty());
}

TEST_F(ThisMachineTest, ShowUtDirNamesTheSourceThatGaveTheDirectory) {
    Shown shown = ShowUtDir();
    EXPECT_EQ(shown.status, 2);
    EXPECT_EQ(shown.out, "");
    EXPECT_EQ(shown.err.rfind("lintara-check: no install directory: give the game's folder with --ut-dir DIR\n", 0), 0u);
    EXPECT_NE(shown.err.find("  UTPath=DIR\nin " + UserKeyFile() + ","), std::string::npos) << shown.err;

    sandbox.WriteFile("xdg/Unreal Technology/Installed Apps/UT2004.conf", "Folder=/opt/ut2004\n");
    shown = ShowUtDir();
    EXPECT_EQ(shown.status, 0);
    EXPECT_EQ(shown.out, "/opt/ut2004\nfrom the game key (Folder in " + GameKeyFile() + ")\n");
    EXPECT_EQ(shown.err, "");

    // Found in the game key, it was saved as the dialog saves it.
    shown = ShowUtDir();
    EXPECT_EQ(shown.out, "/opt/ut2004\nfrom the user key (UTPath in " + UserKeyFile() + ")\n");

    std::filesystem::remove(UserKeyFile());
    sandbox.WriteFile("work/LintaraSettings.ini", "ut_dir=/srv/ut2004\r\n");
    shown = ShowUtDir();
    EXPECT_EQ(shown.out, "/srv/ut2004\nfrom the settings file (" + sandbox.Path("work/LintaraSettings.ini") + ")\n");

    std::filesystem::remove(sandbox.Path("work/LintaraSettings.ini"));
    std::filesystem::remove(GameKeyFile());
    sandbox.MakeFolder("home/.local/share/OldUnreal/UT2004");
    shown = ShowUtDir();
    EXPECT_EQ(shown.out, sandbox.Path("home/.local/share/OldUnreal/UT2004") + "\nfrom the default location\n");
}

TEST_F(ThisMachineTest, TheCheckerUsesWhatTheSourcesGiveAndNeverAsks) {
    std::string whyNot;
    EXPECT_EQ(cli::ResolveInstallDir(cli::Options{}, &whyNot), std::nullopt);
    EXPECT_EQ(whyNot, "no install directory: give the game's folder with --ut-dir DIR");
    // Where the dialog would be left with an interrupted settings file's value, the checker has none.
    sandbox.WriteFile("work/LintaraSettings.ini", "ut_dir=/srv/ut2004\r\n\r\n");
    EXPECT_EQ(cli::ResolveInstallDir(cli::Options{}, &whyNot), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(sandbox.Path("config")));

    sandbox.WriteFile("config/Korvel/Lintara.conf", "UTPath=/from/user/key\n");
    EXPECT_EQ(cli::ResolveInstallDir(cli::Options{}, &whyNot), "/from/user/key");
    cli::Options given;
    given.utDir = "/given";
    EXPECT_EQ(cli::ResolveInstallDir(given, &whyNot), "/given");
}

} // namespace
} // namespace lintara
