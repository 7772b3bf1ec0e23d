#pragma once

#include "settings/install_dir_settings.h"
#include "tests/settings/sandbox.h"
#include "tests/settings/scripted_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace lintara::testing {

// Every source of the install directory in a sandbox: the user root "config", the machine roots
// "xdg1" and "xdg2", the default places "share/OldUnreal/UT2004/" and "games/ut2004/", and the
// current directory "work", which holds the settings file.
class InstallDirFixture : public ::testing::Test {
protected:
    InstallDirFixture() {
        sandbox.MakeFolder("work");
        std::filesystem::current_path(sandbox.Path("work"));
    }

    InstallDirSettings Settings() {
        return InstallDirSettings(installDir, dialog,
                                  SettingsStore(StoreRoots{sandbox.Path("config"), {sandbox.Path("xdg1"), sandbox.Path("xdg2")}}),
                                  {{sandbox.Path("share/OldUnreal/UT2004/"), sandbox.Path("share/OldUnreal/UT2004")},
                                   {sandbox.Path("games/ut2004/"), sandbox.Path("games/ut2004")}});
    }

    // Runs LoadInstallDir as the dialog does, on a fresh InstallDirSettings.
    bool Load(InstallDirSource* source = nullptr) { return Settings().LoadInstallDir(source); }

    std::string UserKeyFile() const { return sandbox.Path("config/Korvel/Lintara.conf"); }
    std::string GameKeyFile() const { return sandbox.Path("xdg1/Unreal Technology/Installed Apps/UT2004.conf"); }
    std::string SettingsFile() const { return sandbox.Path("work/LintaraSettings.ini"); }

    void GiveUserKey(std::string_view text) { sandbox.WriteFile("config/Korvel/Lintara.conf", text); }
    void GiveGameKey(std::string_view text) {
        sandbox.WriteFile("xdg1/Unreal Technology/Installed Apps/UT2004.conf", text);
    }
    void GiveSettingsFile(std::string_view bytes) { sandbox.WriteFile("work/LintaraSettings.ini", bytes); }

    // The user key can no longer be created: its root is a regular file. This holds for root too.
    void BreakUserKey() { sandbox.WriteFile("config", "not a folder"); }
    // The settings file can no longer be read or written: the current directory is removed.
    void BreakCurrentDirectory() {
        sandbox.MakeFolder("work/gone");
        std::filesystem::current_path(sandbox.Path("work/gone"));
        std::filesystem::remove(sandbox.Path("work/gone"));
    }

    Sandbox sandbox;
    ScriptedDialog dialog;
    std::string installDir; // the dialog's, empty when the dialog is built
};

} // namespace lintara::testing
